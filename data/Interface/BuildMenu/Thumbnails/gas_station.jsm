// Build-menu button.
cull none; light no;
layer 0; image Interface\BuildMenu\Thumbnails\ gas_station.tga; addressu clamp; addressv clamp;
