// Status font, page 0: unlit and two-sided, over everything
// drawn before it, the ink and its outline blended by their coverage.
light no; cull none; depthwrite no; depthread no;
alphablend;
layer 0; image Interface\Common\Fonts\ Tarmac_12_0.tga; magfilter linear; minfilter linear; mipfilter none;
