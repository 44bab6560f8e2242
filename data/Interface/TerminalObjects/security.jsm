// A security terminal object standing in the terminal.
cull none; light no;
layer 0; image Interface\TerminalObjects\ security.tga; addressu clamp; addressv clamp;
