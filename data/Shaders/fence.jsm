// A chain-link fence: pixels below half alpha are cut out, the rest opaque.
alphatest; alpharef 128; alphafunc greater; cull none;
layer 0; image Textures\ fence.tga; magfilter point; minfilter point; mipfilter none;
