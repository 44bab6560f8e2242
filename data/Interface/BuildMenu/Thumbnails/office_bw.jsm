// Build-menu button shown greyed while the item cannot be built.
cull none; light no;
layer 0; image Interface\BuildMenu\Thumbnails\ office_bw.tga; addressu clamp; addressv clamp;
