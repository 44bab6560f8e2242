// Build-menu button.
cull none; light no;
layer 0; image Interface\BuildMenu\Thumbnails\ warehouse.tga; addressu clamp; addressv clamp;
