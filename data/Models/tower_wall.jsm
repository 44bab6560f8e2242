// Tower walls: unlit, both sides, crisp texels.
cull none; light no;
layer 0; image Models\ tower_wall.tga; magfilter point; minfilter point; mipfilter none;
