// The radar dish: light grey with a dark rim. Layer 0: the picture times the vertex colour; layer 1: the red
// tint, off unless a preview asks for it.
layer 0; image Models\Buildings\ radar.tga; suckme2;
layer 1; image Models\Buildings\ tint_red.tga; suckme3;
