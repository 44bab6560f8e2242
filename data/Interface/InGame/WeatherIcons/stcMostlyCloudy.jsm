// The weather readout's icon: two grey clouds.
alphablend; depthwrite no; cull none; light no;
layer 0; image Interface\InGame\WeatherIcons\ mostlycloudy.tga; addressu clamp; addressv clamp;
