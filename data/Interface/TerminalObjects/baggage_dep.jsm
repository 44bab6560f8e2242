// A baggage terminal object being placed: tinted red where it cannot stand.
cull none; light no;
alphablend; depthwrite no;
layer 0; image Interface\TerminalObjects\ baggage.tga; addressu clamp; addressv clamp;
layer 1; image Interface\TerminalObjects\ deny.tga; suckme3;
