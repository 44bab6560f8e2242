// Build-menu button.
cull none; light no;
layer 0; image Interface\BuildMenu\Thumbnails\ runway3500.tga; addressu clamp; addressv clamp;
