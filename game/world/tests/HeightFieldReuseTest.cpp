// One generator making field after field of different sizes gives each the
// heights a plain diamond-square over a fresh zeroed grid gives it: nothing
// of an earlier field is left in a later one, and the default displacement
// is worked out as the pointer would.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/math/Noise.h"
#include "game/world/HeightFieldGenerator.h"

namespace {

float HalfDisplacement(float r, int32_t step, int32_t size) {
  return r * static_cast<float>(step) / static_cast<float>(size) * 0.25f;
}

// The whole (size + 1)^2 grid of finished heights, computed the plain way.
std::vector<float> PlainField(const TerrainParams& p, int32_t* gridSide) {
  int32_t size = 1;
  while (size < std::max({p.width, p.height, 1})) size <<= 1;
  const int32_t n = size + 1;
  *gridSide = n;
  HeightDisplacementFn shift = p.displacement ? p.displacement : DefaultHeightDisplacement;
  std::vector<float> g(static_cast<size_t>(n) * n, 0.0f);
  auto at = [&](int32_t a, int32_t b) -> float& { return g[static_cast<size_t>(b) * n + a]; };
  at(0, 0) = p.corners[0];
  at(size, 0) = p.corners[1];
  at(0, size) = p.corners[2];
  at(size, size) = p.corners[3];
  auto place = [&](int32_t a, int32_t b, float total, int used, int32_t step) {
    const uint32_t v = static_cast<uint32_t>(size) * static_cast<uint32_t>(a) + static_cast<uint32_t>(b) +
                       static_cast<uint32_t>(p.seed);
    at(a, b) = (used ? total / static_cast<float>(used) : 0.0f) +
               shift(Noise_IntegerNoise(static_cast<int32_t>(v), -1), step, size);
  };
  for (int32_t step = size, half = size / 2; half > 0; step = half, half /= 2) {
    for (int32_t a = half; a < n; a += step) {
      for (int32_t b = half; b < n; b += step) {
        float total = 0.0f;
        int used = 0;
        const bool left = a - half >= 0, right = a + half <= size, up = b - half >= 0, down = b + half <= size;
        if (left && up) total += at(a - half, b - half), ++used;
        if (left && down) total += at(a - half, b + half), ++used;
        if (right && up) total += at(a + half, b - half), ++used;
        if (right && down) total += at(a + half, b + half), ++used;
        place(a, b, total, used, step);
      }
    }
    bool offsetRow = true;
    for (int32_t a = 0; a < n; a += half, offsetRow = !offsetRow) {
      for (int32_t b = offsetRow ? half : 0; b < n; b += step) {
        float total = 0.0f;
        int used = 0;
        if (b - half >= 0) total += at(a, b - half), ++used;
        if (b + half <= size) total += at(a, b + half), ++used;
        if (a - half >= 0) total += at(a - half, b), ++used;
        if (a + half <= size) total += at(a + half, b), ++used;
        place(a, b, total, used, step);
      }
    }
  }
  for (float& v : g) {
    v = v * (p.maximum - p.minimum) + p.minimum;
    if (v < p.minimum) v = p.minimum;
    if (v > p.maximum) v = p.maximum;
  }
  return g;
}

TEST(HeightFieldReuse, EveryFieldMatchesAPlainDiamondSquareWhateverCameBefore) {
  struct Case {
    const char* name;
    int32_t width, height, seed;
    HeightDisplacementFn displacement;
  } cases[] = {
      {"the game's block", 128, 128, 31337, nullptr},
      {"narrow and short", 9, 3, 7, nullptr},
      {"one cell", 1, 1, 2, nullptr},
      {"wide, own displacement", 100, 60, -5, HalfDisplacement},
      {"the game's block again", 128, 128, 4, nullptr},
      {"tall", 5, 33, 99, nullptr},
  };
  HeightFieldGenerator generator;
  for (const Case& c : cases) {
    TerrainParams p;
    p.width = c.width;
    p.height = c.height;
    p.seed = c.seed;
    p.corners[0] = 0.4f;
    p.corners[1] = 0.7f;
    p.corners[2] = 0.35f;
    p.corners[3] = 0.65f;
    p.minimum = 0.1f;
    p.maximum = 0.9f;
    p.displacement = c.displacement;
    std::vector<float> heights(static_cast<size_t>(c.width) * c.height, -1.0f);
    float* buffer = heights.data();
    ASSERT_EQ(generator.Generate(&p, &buffer), 0) << c.name;
    int32_t n = 0;
    const std::vector<float> plain = PlainField(p, &n);
    ASSERT_EQ(generator.GridCount(), n) << c.name;
    int differing = 0;
    for (int32_t b = 0; b < n; ++b) {
      for (int32_t a = 0; a < n; ++a) {
        const float want = plain[static_cast<size_t>(b) * n + a];
        const bool inBuffer = a < c.width && b < c.height;
        const float got = inBuffer ? heights[static_cast<size_t>(b) * c.width + a] : generator.GetExtra(a, b);
        if (got != want) ++differing;
      }
    }
    EXPECT_EQ(differing, 0) << c.name;
  }
}

}  // namespace
