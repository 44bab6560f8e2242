// A baggage terminal object standing in the terminal.
cull none; light no;
layer 0; image Interface\TerminalObjects\ baggage.tga; addressu clamp; addressv clamp;
