// Status icon turning over a building; drawn unlit, above everything near it.
alphablend; depthwrite no; cull none; light no;
layer 0; image Interface\Icons\ construction_icon.tga; addressu clamp; addressv clamp;
