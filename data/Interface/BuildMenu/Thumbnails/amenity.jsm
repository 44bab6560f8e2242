// Build-menu button.
cull none; light no;
layer 0; image Interface\BuildMenu\Thumbnails\ amenity.tga; addressu clamp; addressv clamp;
