#pragma once
// Resampling filter kernels: each maps a distance t (in source pixels) to a
// weight. The natural support radii are 0.5 (box), 1 (triangle), 1.5 (bell)
// and 2 (B-spline, cubic); the gaussian, sinc and Bessel kernels have no end
// of their own, so a resampler picks a cut-off for them.

double FilterBox(double t);
double FilterTriangle(double t);
double FilterBell(double t);
double FilterBSpline(double t);
double FilterCubic(double t);  // Catmull-Rom
double FilterGaussian(double t);
double FilterSinc(double t);
double FilterBessel(double t);
