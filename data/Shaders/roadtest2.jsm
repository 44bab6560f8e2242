// Straight road: one texture repeat per cell along the section.
layer 0; image Textures\ road.tga; addressu wrap; addressv wrap;
