// Build-menu button.
cull none; light no;
layer 0; image Interface\BuildMenu\Thumbnails\ terminal_medium.tga; addressu clamp; addressv clamp;
