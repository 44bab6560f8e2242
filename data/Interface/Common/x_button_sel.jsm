// Texture-size check box, checked: unlit, two-sided, flat picture.
light no; cull none; depthwrite no;
layer 0; image Interface\Common\ x_button_sel.dds; magfilter point; minfilter point; mipfilter none;
