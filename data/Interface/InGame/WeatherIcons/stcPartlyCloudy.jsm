// The weather readout's icon: a sun half behind a cloud.
alphablend; depthwrite no; cull none; light no;
layer 0; image Interface\InGame\WeatherIcons\ partlycloudy.tga; addressu clamp; addressv clamp;
