// The sky around the terrain: unlit, seen from inside, the gradient running
// from the zenith down to the haze at the horizon.
light no; cull none; depthwrite no;
layer 0; image Textures\Sky\ sky.tga; addressv clamp;
