// Build-menu button.
cull none; light no;
layer 0; image Interface\BuildMenu\Thumbnails\ terminal_small.tga; addressu clamp; addressv clamp;
