// A checkin terminal object standing in the terminal.
cull none; light no;
layer 0; image Interface\TerminalObjects\ checkin.tga; addressu clamp; addressv clamp;
