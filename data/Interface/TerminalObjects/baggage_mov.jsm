// A baggage terminal object being moved: see-through.
cull none; light no;
alphablend; depthwrite no;
layer 0; image Interface\TerminalObjects\ baggage.tga; addressu clamp; addressv clamp;
