// The weather readout's icon: a sun on a clear sky.
alphablend; depthwrite no; cull none; light no;
layer 0; image Interface\InGame\WeatherIcons\ sunny.tga; addressu clamp; addressv clamp;
