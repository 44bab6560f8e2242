#include "engine/image/ImageFilters.h"

#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;
}

double FilterBox(double t) { return (t >= -0.5 && t < 0.5) ? 1.0 : 0.0; }

double FilterTriangle(double t) { return (t >= -1.0 && t < 1.0) ? 1.0 - std::fabs(t) : 0.0; }

double FilterBell(double t) {
  if (t >= -1.5 && t < -0.5) return 0.5 * (t + 1.5) * (t + 1.5);
  if (t >= -0.5 && t < 0.5) return 0.75 - t * t;
  if (t >= 0.5 && t < 1.5) return 0.5 * (t - 1.5) * (t - 1.5);
  return 0.0;
}

double FilterBSpline(double t) {
  if (t >= -2.0 && t < -1.0) return (2.0 + t) * (2.0 + t) * (2.0 + t) / 6.0;
  if (t >= -1.0 && t < 0.0) return (4.0 - 6.0 * t * t - 3.0 * t * t * t) / 6.0;
  if (t >= 0.0 && t < 1.0) return (4.0 - 6.0 * t * t + 3.0 * t * t * t) / 6.0;
  if (t >= 1.0 && t < 2.0) return (2.0 - t) * (2.0 - t) * (2.0 - t) / 6.0;
  return 0.0;
}

double FilterCubic(double t) {
  const double t2 = t * t, t3 = t2 * t;
  if (t >= -2.0 && t < -1.0) return 0.5 * (t3 + 5.0 * t2 + 8.0 * t + 4.0);
  if (t >= -1.0 && t < 0.0) return 0.5 * (2.0 - 5.0 * t2 - 3.0 * t3);
  if (t >= 0.0 && t < 1.0) return 0.5 * (3.0 * t3 - 5.0 * t2 + 2.0);
  if (t >= 1.0 && t < 2.0) return 0.5 * (-t3 + 5.0 * t2 - 8.0 * t + 4.0);
  return 0.0;
}

double FilterGaussian(double t) { return std::sqrt(2.0 / kPi) * std::exp(-2.0 * t * t); }

double FilterSinc(double t) {
  if (t == 0.0) return 1.0;
  return std::sin(kPi * t) / (kPi * t);
}

double FilterBessel(double t) {
  if (t == 0.0) return kPi / 4.0;
  if (std::isnan(t)) return t;
  // J1 is odd, so J1(pi t) / (2 t) is even; the library's J1 takes x >= 0.
  const double a = std::fabs(t);
  return std::cyl_bessel_j(1.0, kPi * a) / (2.0 * a);
}
