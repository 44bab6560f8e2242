// Build-menu button.
cull none; light no;
layer 0; image Interface\BuildMenu\Thumbnails\ tower.tga; addressu clamp; addressv clamp;
