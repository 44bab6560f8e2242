// The cell grid lines over the plot: faint, never hiding what is below.
alphablend; depthwrite no; cull none; light no;
layer 0; image Textures\ gridline.tga;
