// The plot fence: rails and posts, the gaps cut out.
alphatest; alpharef 128; alphafunc greater; cull none;
layer 0; image Models\Plot\ fence.tga; magfilter point; minfilter point; mipfilter none;
