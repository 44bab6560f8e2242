// Snow over the terrain: blended over it, its alpha the snow cover the
// weather lays down.
alphablend; depthwrite no; cull none;
layer 0; image Textures\Terrain\ snowfield.tga;
