#include "renderer/formats/ResampleFilters.h"

#include <cmath>
#include <numbers>

namespace {

double BoxKernel(double x) { return (x >= -0.5 && x < 0.5) ? 1.0 : 0.0; }

double TriangleKernel(double x) {
  if (x >= -1.0 && x < 0.0) return x + 1.0;
  if (x >= 0.0 && x < 1.0) return 1.0 - x;
  return 0.0;
}

double QuadraticKernel(double x) {
  if (x < -1.5) return 0.0;
  if (x < -0.5) return 0.5 * (x + 1.5) * (x + 1.5);
  if (x < 0.5) return 0.75 - x * x;
  if (x < 1.5) return 0.5 * (x - 1.5) * (x - 1.5);
  return 0.0;
}

double CubicKernel(double x) {  // cubic B-spline
  if (x < -2.0) return 0.0;
  if (x < -1.0) return (x + 2.0) * (x + 2.0) * (x + 2.0) / 6.0;
  if (x < 0.0) return ((-6.0 - 3.0 * x) * x * x + 4.0) / 6.0;
  if (x < 1.0) return ((3.0 * x - 6.0) * x * x + 4.0) / 6.0;
  if (x < 2.0) return (2.0 - x) * (2.0 - x) * (2.0 - x) / 6.0;
  return 0.0;
}

double CatromKernel(double x) {  // Catmull-Rom
  if (x < -2.0) return 0.0;
  if (x < -1.0) return 0.5 * (((5.0 + x) * x + 8.0) * x + 4.0);
  if (x < 0.0) return 0.5 * ((-5.0 - 3.0 * x) * x * x + 2.0);
  if (x < 1.0) return 0.5 * ((3.0 * x - 5.0) * x * x + 2.0);
  if (x < 2.0) return 0.5 * (((5.0 - x) * x - 8.0) * x + 4.0);
  return 0.0;
}

double GaussianKernel(double x) { return std::exp(-2.0 * x * x) * std::sqrt(2.0 / std::numbers::pi); }

double SincKernel(double x) {
  if (x == 0.0) return 1.0;
  const double px = std::numbers::pi * x;
  return std::sin(px) / px;
}

double BesselKernel(double x) {
  if (x == 0.0) return std::numbers::pi / 4.0;
  // J1 is odd, so J1(pi x) / (2x) is even: evaluate on |x|.
  const double a = std::fabs(x);
  return std::cyl_bessel_j(1.0, std::numbers::pi * a) / (2.0 * a);
}

const ResampleFilter kFilters[] = {
    {"Point", BoxKernel, 0.0, true, true},
    {"Box", BoxKernel, 0.5, true, true},
    {"Triangle", TriangleKernel, 1.0, true, true},
    {"Quadratic", QuadraticKernel, 1.5, false, true},
    {"Cubic", CubicKernel, 2.0, false, true},
    {"Catrom", CatromKernel, 2.0, true, false},
    {"Gaussian", GaussianKernel, 1.25, false, true},
    {"Sinc", SincKernel, 4.0, true, false},
    {"Bessel", BesselKernel, 3.2383, false, false},
};
constexpr int kFilterCount = static_cast<int>(sizeof(kFilters) / sizeof(kFilters[0]));

}  // namespace

int ResampleFilterCount() { return kFilterCount; }

const ResampleFilter& GetResampleFilter(int position) {
  if (position < 0) position = 0;
  if (position >= kFilterCount) position = kFilterCount - 1;
  return kFilters[position];
}

int FindResampleFilter(std::string_view name) {
  for (int i = 0; i < kFilterCount; ++i)
    if (name == kFilters[i].name) return i;
  return 0;
}
