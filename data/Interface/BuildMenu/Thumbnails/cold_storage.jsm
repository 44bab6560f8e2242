// Build-menu button.
cull none; light no;
layer 0; image Interface\BuildMenu\Thumbnails\ cold_storage.tga; addressu clamp; addressv clamp;
