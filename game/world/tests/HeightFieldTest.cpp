#include <gtest/gtest.h>

#include <cfloat>
#include <vector>

#include "game/world/KV9HFGen.h"

namespace {

TerrainParams Block(int32_t width, int32_t height, int32_t seed) {
  TerrainParams p;
  p.width = width;
  p.height = height;
  p.seed = seed;
  p.corners[0] = 0.2f;
  p.corners[1] = 0.8f;
  p.corners[2] = 0.4f;
  p.corners[3] = 0.6f;
  p.minimum = 0.0f;
  p.maximum = 1.0f;
  p.roughness = 0.6f;
  return p;
}

struct Field {
  explicit Field(const TerrainParams& p) : params(p), heights(static_cast<size_t>(p.width * p.height)) {}
  CoreStatus Generate() {
    float* b = heights.data();
    return gen.Generate(&params, &b);
  }
  TerrainParams params;
  std::vector<float> heights;
  cKV9HFGen gen;
};

TEST(HeightField, SizesFromTheBlock) {
  struct Case {
    const char* name;
    int32_t width, height, size;
  } cases[] = {{"100 by 60 rounds up", 100, 60, 128}, {"a power of two stays", 128, 128, 128}, {"zero gives one", 0, 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TerrainParams p = Block(c.width, c.height, 7);
    cKV9HFGen gen;
    gen.Configure(&p);
    EXPECT_EQ(gen.Size(), c.size);
    EXPECT_EQ(gen.GridCount(), c.size + 1);
  }
}

TEST(HeightField, GenerateIsRepeatableAndSeeded) {
  Field a(Block(128, 128, 42)), b(Block(128, 128, 42)), c(Block(128, 128, 43));
  ASSERT_EQ(a.Generate(), 0);
  ASSERT_EQ(b.Generate(), 0);
  ASSERT_EQ(c.Generate(), 0);
  EXPECT_EQ(a.heights, b.heights);
  // The corners are fixed; every generated cell moves with the seed except
  // where both fields were clamped to the same end of the range.
  for (size_t i = 1; i < a.heights.size(); ++i) {
    if (a.heights[i] == c.heights[i]) {
      EXPECT_TRUE(a.heights[i] == 0.0f || a.heights[i] == 1.0f) << i;
    }
  }
  EXPECT_NE(a.heights, c.heights);
  for (float h : a.heights) {
    EXPECT_GE(h, 0.0f);
    EXPECT_LE(h, 1.0f);
  }
}

TEST(HeightField, CellAccessAndRefusals) {
  Field f(Block(128, 128, 5));
  ASSERT_EQ(f.Generate(), 0);
  float* b = f.heights.data();
  // Outside an operation the buffer is not referenced: GetAt refuses.
  EXPECT_EQ(f.gen.GetAt(0, 0), FLT_MAX);
  const float lo[2] = {0.0f, 0.0f}, hi[2] = {1.0f, 1.0f};
  EXPECT_NE(f.gen.AverageHeight(&f.params, &b, lo, hi), FLT_MAX);
  EXPECT_EQ(f.heights[0], 0.2f);  // corner (0, 0)
  float* none = nullptr;
  EXPECT_EQ(f.gen.Generate(nullptr, &b), static_cast<CoreStatus>(0x80004005));
  EXPECT_EQ(f.gen.Generate(&f.params, &none), static_cast<CoreStatus>(0x80004005));
  EXPECT_EQ(f.gen.AverageHeight(&f.params, &none, lo, hi), FLT_MAX);
  EXPECT_EQ(f.gen.FlattenRect(&f.params, &none, lo, hi, 0.5f, 20, 255), static_cast<CoreStatus>(0x80004005));
}

TEST(HeightField, AverageOverAnEmptyAreaIsTheFailureMark) {
  Field f(Block(128, 128, 5));
  ASSERT_EQ(f.Generate(), 0);
  float* b = f.heights.data();
  const float lo[2] = {0.5f, 0.5f}, hi[2] = {0.5f, 0.9f};
  EXPECT_EQ(f.gen.AverageHeight(&f.params, &b, lo, hi), FLT_MAX);
}

TEST(HeightField, FlattenSetsTheAreaAndBlendsTheBorder) {
  Field f(Block(128, 128, 99));
  ASSERT_EQ(f.Generate(), 0);
  float* b = f.heights.data();
  const float lo[2] = {0.38f, 0.38f}, hi[2] = {0.62f, 0.62f};
  const float h = f.gen.AverageHeight(&f.params, &b, lo, hi);
  ASSERT_NE(h, FLT_MAX);
  const std::vector<float> before = f.heights;
  ASSERT_EQ(f.gen.FlattenRect(&f.params, &b, lo, hi, h, 20, 255), 0);
  // 0.38 * 128 = 48.64 -> 48; 0.62 * 128 = 79.36 -> 79.
  for (int z = 49; z <= 78; ++z)
    for (int x = 49; x <= 78; ++x) ASSERT_EQ(f.heights[static_cast<size_t>(z * 128 + x)], h) << x << "," << z;
  // The blend runs from the flat edge to the terrain 20 cells out: the cell
  // beside the edge is near h, the far end is untouched.
  EXPECT_NEAR(f.heights[64 * 128 + 47], h, 0.05f);
  EXPECT_EQ(f.heights[64 * 128 + 28], before[64 * 128 + 28]);
  EXPECT_EQ(f.heights[64 * 128 + 10], before[64 * 128 + 10]);
}

TEST(HeightField, ShapingOperationsStayInRange) {
  Field f(Block(128, 128, 3));
  ASSERT_EQ(f.Generate(), 0);
  float* b = f.heights.data();
  const float lo[2] = {0.1f, 0.2f}, hi[2] = {0.6f, 0.3f};
  EXPECT_EQ(f.gen.RaiseRect(&f.params, &b, lo, hi, 0.3f, 5), 0);
  EXPECT_EQ(f.gen.LevelStrip(&f.params, &b, lo, hi, 5), 0);
  // Across the strip every cell is level.
  for (int x = 13; x < 76; ++x) EXPECT_EQ(f.heights[26 * 128 + x], f.heights[30 * 128 + x]) << x;
  EXPECT_EQ(f.gen.LimitStripSlope(&f.params, &b, lo, hi, 0.01f, false, 5), 0);
  EXPECT_EQ(f.gen.RoughenByEdgeDistance(&f.params, &b, lo, hi, 0x0F, 1.0f), 0);
  for (float h : f.heights) {
    ASSERT_GE(h, 0.0f);
    ASSERT_LE(h, 1.0f);
  }
  float* none = nullptr;
  EXPECT_LT(f.gen.RaiseRect(&f.params, &none, lo, hi, 0.3f, 5), 0);
  EXPECT_LT(f.gen.LevelStrip(nullptr, &b, lo, hi, 5), 0);
}

}  // namespace
