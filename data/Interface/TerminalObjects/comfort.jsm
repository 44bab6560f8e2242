// A comfort terminal object standing in the terminal.
cull none; light no;
layer 0; image Interface\TerminalObjects\ comfort.tga; addressu clamp; addressv clamp;
