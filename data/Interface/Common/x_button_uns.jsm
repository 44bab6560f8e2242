// Texture-size check box, unchecked: unlit, two-sided, flat picture.
light no; cull none; depthwrite no;
layer 0; image Interface\Common\ x_button_uns.dds; magfilter point; minfilter point; mipfilter none;
