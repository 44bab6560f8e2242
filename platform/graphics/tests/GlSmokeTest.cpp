#include "GlFixture.h"

namespace {
using namespace gltest;

TEST_F(GlDeviceTest, ClearsAndDrawsAQuad) {
  ASSERT_EQ(dev_->Clear(0, nullptr, gfx::D3DCLEAR_TARGET, 0xFF204060, 1.0f, 0), 0);
  ASSERT_EQ(Quad(10, 10, 20, 20, 0.5f, 0xFFFF8000), 0);
  const auto px = Pixels();
  EXPECT_EQ(px[15 * kSize + 15], 0xFFFF8000u);
  EXPECT_EQ(px[10 * kSize + 10], 0xFFFF8000u);
  EXPECT_EQ(px[19 * kSize + 19], 0xFFFF8000u);
  EXPECT_EQ(px[9 * kSize + 10], 0xFF204060u);
  EXPECT_EQ(px[20 * kSize + 19], 0xFF204060u);
  EXPECT_EQ(px[10 * kSize + 20], 0xFF204060u);
  EXPECT_EQ(px[0], 0xFF204060u);
}

}  // namespace
