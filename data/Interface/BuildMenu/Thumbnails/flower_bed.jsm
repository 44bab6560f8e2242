// Build-menu button.
cull none; light no;
layer 0; image Interface\BuildMenu\Thumbnails\ flower_bed.tga; addressu clamp; addressv clamp;
