#pragma once
// The named resampling kernels, addressed by position: "Point", "Box",
// "Triangle", "Quadratic", "Cubic", "Catrom", "Gaussian", "Sinc", "Bessel".
#include <string_view>

struct ResampleFilter {
  const char* name;
  double (*kernel)(double x);
  double support;   // radius of the kernel's window at scale 1
  bool cardinal;    // 1 at 0 and 0 at the other integers
  bool unitRange;   // stays within 0..1
};

int ResampleFilterCount();
// Positions outside the table clamp to its ends.
const ResampleFilter& GetResampleFilter(int position);
// Exact, case-sensitive name; an unknown name selects position 0 ("Point").
int FindResampleFilter(std::string_view name);
