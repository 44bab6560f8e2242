#include "engine/math/Footprint.h"

#include <utility>

namespace {
int16_t S16(int v) { return static_cast<int16_t>(v); }  // modular in C++20
}  // namespace

void RotateFootprint(int32_t rotation, int16_t a, int16_t c, int16_t& x, int16_t& y, int16_t& w, int16_t& l) {
  const int16_t ox = x, oy = y, ow = w, ol = l;
  switch (rotation) {
    case 0:
      x = S16(ox + a);
      y = S16(oy + c);
      break;
    case 1:
      x = S16(oy + a);
      y = S16(c - ow - ox + 1);
      std::swap(w, l);
      break;
    case 2:
      x = S16(a - ox - ow + 1);
      y = S16(c - oy - ol + 1);
      break;
    case 3:
      x = S16(a - oy - ol + 1);
      y = S16(ox + c);
      std::swap(w, l);
      break;
    default:
      break;
  }
}
