// Build-menu button.
cull none; light no;
layer 0; image Interface\BuildMenu\Thumbnails\ terminal_large.tga; addressu clamp; addressv clamp;
