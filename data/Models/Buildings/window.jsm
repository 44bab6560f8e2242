// Rows of windows on a light facade. Layer 0: the picture times the vertex colour; layer 1: the red
// tint, off unless a preview asks for it.
layer 0; image Models\Buildings\ window.tga; suckme2;
layer 1; image Models\Buildings\ tint_red.tga; suckme3;
