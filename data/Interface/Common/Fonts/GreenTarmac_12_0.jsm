// Green tooltip font, page 0: unlit and two-sided, over everything
// drawn before it, ink cut out by alpha with crisp texels.
light no; cull none; depthwrite no; depthread no;
alphatest; alpharef 128; alphafunc greater;
layer 0; image Interface\Common\Fonts\ GreenTarmac_12_0.tga; magfilter point; minfilter point; mipfilter none;
