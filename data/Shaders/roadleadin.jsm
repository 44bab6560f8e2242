// The road leading into the plot from outside: asphalt repeated along it.
cull none;
layer 0; image Textures\ roadleadin.tga;
