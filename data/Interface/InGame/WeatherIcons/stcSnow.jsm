// The weather readout's icon: a cloud with snowflakes below it.
alphablend; depthwrite no; cull none; light no;
layer 0; image Interface\InGame\WeatherIcons\ snow.tga; addressu clamp; addressv clamp;
