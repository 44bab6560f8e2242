// Build-menu button.
cull none; light no;
layer 0; image Interface\BuildMenu\Thumbnails\ fire_station.tga; addressu clamp; addressv clamp;
