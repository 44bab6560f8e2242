// The building grid: one framed cell per texture repeat, see-through.
alphablend; depthwrite no; cull none; light no;
layer 0; image Models\Plot\ gridunit.tga;
