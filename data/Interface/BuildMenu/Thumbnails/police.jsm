// Build-menu button.
cull none; light no;
layer 0; image Interface\BuildMenu\Thumbnails\ police.tga; addressu clamp; addressv clamp;
