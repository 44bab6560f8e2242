// The weather readout's icon: a cloud with rain falling from it.
alphablend; depthwrite no; cull none; light no;
layer 0; image Interface\InGame\WeatherIcons\ rain.tga; addressu clamp; addressv clamp;
