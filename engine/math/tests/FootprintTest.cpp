#include <gtest/gtest.h>

#include "engine/math/Footprint.h"

namespace {

TEST(Footprint, RotationCodesMapRelativeCellsToAbsoluteCells) {
  struct Case { int code; int16_t x, y, w, l; };
  // Corner (1, 2), size 3 x 4, reference cell (10, 20).
  const Case cases[] = {
      {0, 11, 22, 3, 4},
      {1, 12, 17, 4, 3},  // y + a, c - w - x + 1
      {2, 7, 15, 3, 4},   // a - x - w + 1, c - y - l + 1
      {3, 5, 21, 4, 3},   // a - y - l + 1, x + c
      {4, 1, 2, 3, 4},    // unknown codes change nothing
      {-1, 1, 2, 3, 4},
  };
  for (const Case& c : cases) {
    int16_t x = 1, y = 2, w = 3, l = 4;
    RotateFootprint(c.code, 10, 20, x, y, w, l);
    EXPECT_EQ(x, c.x) << "code " << c.code;
    EXPECT_EQ(y, c.y) << "code " << c.code;
    EXPECT_EQ(w, c.w) << "code " << c.code;
    EXPECT_EQ(l, c.l) << "code " << c.code;
  }
}

TEST(Footprint, ArithmeticWrapsAtSixteenBits) {
  int16_t x = 1, y = 0, w = 1, l = 1;
  RotateFootprint(0, 32767, 0, x, y, w, l);
  EXPECT_EQ(x, -32768);
}

}  // namespace
