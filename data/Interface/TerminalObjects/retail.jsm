// A retail terminal object standing in the terminal.
cull none; light no;
layer 0; image Interface\TerminalObjects\ retail.tga; addressu clamp; addressv clamp;
