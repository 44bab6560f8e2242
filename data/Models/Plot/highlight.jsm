// A see-through land overlay lying on the ground: drawn over it, both sides.
alphablend; depthwrite no; cull none; light no;
layer 0; image Models\Plot\ highlight.tga; addressu clamp; addressv clamp;
