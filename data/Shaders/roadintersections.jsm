// Junctions: each quad shows one quarter of the atlas, turned to its roads.
layer 0; image Textures\ roadjunctions.tga; addressu clamp; addressv clamp;
