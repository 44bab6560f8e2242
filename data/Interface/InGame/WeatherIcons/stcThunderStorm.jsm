// The weather readout's icon: a dark cloud with a bolt of lightning.
alphablend; depthwrite no; cull none; light no;
layer 0; image Interface\InGame\WeatherIcons\ thunderstorm.tga; addressu clamp; addressv clamp;
