// Build-menu button.
cull none; light no;
layer 0; image Interface\BuildMenu\Thumbnails\ parking_garage.tga; addressu clamp; addressv clamp;
