// Taxiways: the texture repeats once a cell.
layer 0; image Textures\ taxiway.tga; addressu wrap; addressv wrap;
