// The terrain: one opaque layer. The game composes the layer's texture from
// the location's terrain textures when a world is built; the meadow stands in
// until then.
cull none;
layer 0; image Textures\Terrain\ meadow.tga;
