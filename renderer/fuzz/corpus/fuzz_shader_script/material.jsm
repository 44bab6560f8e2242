depthwrite no; alphablend; cull none;
float #fade 1; sin #fade 4 0.5 0 0.5;
layer 0; image Textures\ glow.tga; addressu clamp; suckme3;
