#include <gtest/gtest.h>

#include <cmath>

#include "engine/image/ImageFilters.h"

namespace {

TEST(ImageFilters, KernelsMatchHandComputedValues) {
  struct Case { const char* name; double (*kernel)(double); double t; double value; };
  const Case cases[] = {
      {"box inside", FilterBox, -0.5, 1.0},        {"box edge", FilterBox, 0.5, 0.0},
      {"triangle", FilterTriangle, 0.25, 0.75},    {"triangle edge", FilterTriangle, -1.0, 0.0},
      {"bell centre", FilterBell, 0.0, 0.75},      {"bell side", FilterBell, 1.0, 0.125},
      {"bell left", FilterBell, -1.0, 0.125},      {"bell outside", FilterBell, 1.5, 0.0},
      {"bspline centre", FilterBSpline, 0.0, 4.0 / 6.0}, {"bspline one", FilterBSpline, 1.0, 1.0 / 6.0},
      {"bspline minus one", FilterBSpline, -1.0, 1.0 / 6.0}, {"bspline outside", FilterBSpline, 2.0, 0.0},
      {"cubic centre", FilterCubic, 0.0, 1.0},     {"cubic one", FilterCubic, 1.0, 0.0},
      {"cubic minus one", FilterCubic, -1.0, 0.0}, {"cubic half", FilterCubic, 0.5, 0.5625},
      {"cubic lobe", FilterCubic, -1.5, -0.0625},
      {"gaussian centre", FilterGaussian, 0.0, 0.7978845608},
      {"gaussian one", FilterGaussian, 1.0, 0.7978845608 * std::exp(-2.0)},
      {"sinc centre", FilterSinc, 0.0, 1.0},       {"sinc half", FilterSinc, 0.5, 2.0 / M_PI},
      {"sinc one", FilterSinc, 1.0, 0.0},
      {"bessel centre", FilterBessel, 0.0, M_PI / 4.0}, {"bessel half", FilterBessel, 0.5, 0.5668240889},
      {"bessel one", FilterBessel, 1.0, 0.1423076716}, {"bessel even", FilterBessel, -1.0, 0.1423076716},
  };
  for (const Case& c : cases) EXPECT_NEAR(c.kernel(c.t), c.value, 1e-9) << c.name;
}

TEST(ImageFilters, InterpolatingKernelsSumToOneOverIntegerShifts) {
  for (double (*kernel)(double) : {FilterBox, FilterTriangle, FilterBell, FilterBSpline, FilterCubic}) {
    for (double offset : {0.0, 0.3, 0.75}) {
      double sum = 0;
      for (int k = -3; k <= 3; ++k) sum += kernel(offset + k);
      EXPECT_NEAR(sum, 1.0, 1e-12) << "offset " << offset;
    }
  }
}

}  // namespace
