// Signal red of the fire station and the emergency vehicles. Layer 0: the picture times the vertex colour; layer 1: the red
// tint, off unless a preview asks for it.
layer 0; image Models\Vehicles\ red.tga; suckme2;
layer 1; image Models\Vehicles\ tint_red.tga; suckme3;
