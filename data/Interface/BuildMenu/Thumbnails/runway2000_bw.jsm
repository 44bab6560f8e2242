// Build-menu button shown greyed while the item cannot be built.
cull none; light no;
layer 0; image Interface\BuildMenu\Thumbnails\ runway2000_bw.tga; addressu clamp; addressv clamp;
