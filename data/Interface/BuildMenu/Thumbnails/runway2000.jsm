// Build-menu button.
cull none; light no;
layer 0; image Interface\BuildMenu\Thumbnails\ runway2000.tga; addressu clamp; addressv clamp;
