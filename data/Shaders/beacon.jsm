// A runway beacon flare: its colour adds to what is behind it.
additive; depthwrite no; cull none; light no;
layer 0; imagehq Textures\ glow.tga; addressu clamp; addressv clamp; suckme4;
