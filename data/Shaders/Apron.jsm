// Aprons: concrete slabs, one a cell.
layer 0; image Textures\ apron.tga; addressu wrap; addressv wrap;
