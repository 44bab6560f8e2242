#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "engine/math/Noise.h"
#include "platform/Random.h"

namespace {

int64_t g_now = 0;
int64_t FixedClock() { return g_now; }
int64_t CountingClock() { return g_now++; }

// Installs a test clock and a known generator state for the scope.
struct RandomScope {
  NoiseClock previous;
  explicit RandomScope(NoiseClock clock, int64_t start = 1000) {
    g_now = start;
    previous = Noise_SetClock(clock);
    platform::SRand(1);
  }
  ~RandomScope() { Noise_SetClock(previous); }
};

TEST(Noise, IntegerNoiseMatchesHandComputedLatticeValues) {
  // n = 0: m = 2^31 - 771171059, result 1 - m / 2^30.
  EXPECT_NEAR(Noise_IntegerNoise(0, -1), -0.2817909839f, 1e-6f);
  EXPECT_NEAR(Noise_IntegerNoise(1, -1), -0.2263730513f, 1e-6f);
  EXPECT_NEAR(Noise_IntegerNoise(2, -1), 0.2936328808f, 1e-6f);
  EXPECT_NEAR(Noise_IntegerNoise(-1, -1), 0.9001262886f, 1e-6f);
  EXPECT_NEAR(Noise_IntegerNoise(12345, -1), -0.8928926485f, 1e-6f);
  // Each step of y shifts the lattice by 57; huge inputs wrap without fault.
  EXPECT_EQ(Noise_IntegerNoise(5, -1), Noise_IntegerNoise(5 - 57, 1));
  EXPECT_EQ(Noise_IntegerNoise(0, 2), Noise_IntegerNoise(114, 0));
  EXPECT_EQ(Noise_IntegerNoise(INT32_MAX, INT32_MAX), Noise_IntegerNoise(INT32_MAX, INT32_MAX));
}

TEST(Noise, IntegerNoiseStaysInRangeAndSpreads) {
  int negatives = 0;
  for (int32_t x = -5000; x < 5000; ++x) {
    const float v = Noise_IntegerNoise(x, 7);
    ASSERT_GE(v, -1.0f);
    ASSERT_LE(v, 1.0f);
    if (v < 0) ++negatives;
  }
  EXPECT_GT(negatives, 4000);
  EXPECT_LT(negatives, 6000);
}

TEST(Noise, SmoothingAndInterpolationFollowTheirFormulas) {
  EXPECT_FLOAT_EQ(Noise_SmoothedNoise1D(1, 2),
                  Noise_IntegerNoise(1, -1) / 2 + (Noise_IntegerNoise(0, -1) + Noise_IntegerNoise(2, -1)) / 4);
  EXPECT_FLOAT_EQ(Noise_SmoothedNoise1D(INT32_MAX, 2),
                  Noise_IntegerNoise(INT32_MAX, -1) / 2 +
                      (Noise_IntegerNoise(INT32_MAX - 1, -1) + Noise_IntegerNoise(INT32_MIN, -1)) / 4);

  // On evenly spaced values the cubic is the straight line.
  EXPECT_FLOAT_EQ(Noise_CubicInterpolate(0, 1, 2, 3, 0.5f), 1.5f);
  EXPECT_FLOAT_EQ(Noise_CubicInterpolate(4, -1, 7, 2, 0), -1);
  EXPECT_FLOAT_EQ(Noise_CubicInterpolate(4, -1, 7, 2, 1), 7);
  // P = 5, Q = -5, R = 0, S = 0 at t = 0.5: 5/8 - 5/4.
  EXPECT_FLOAT_EQ(Noise_CubicInterpolate(0, 0, 0, 5, 0.5f), -0.625f);

  EXPECT_NEAR(Noise_CosineInterpolate(2, 4, 0.5f), 3, 1e-5);
  EXPECT_FLOAT_EQ(Noise_CosineInterpolate(2, 4, 0), 2);
  EXPECT_NEAR(Noise_CosineInterpolate(2, 4, 1), 4, 1e-5);
}

TEST(Noise, InterpolatedNoiseBlendsSmoothedLatticeValues) {
  EXPECT_FLOAT_EQ(Noise_InterpolatedNoise1D(3.0f, false), Noise_SmoothedNoise1D(3, 2));
  EXPECT_FLOAT_EQ(Noise_InterpolatedNoise1D(3.0f, true), Noise_SmoothedNoise1D(3, 2));
  EXPECT_NEAR(Noise_InterpolatedNoise1D(3.5f, false), (Noise_SmoothedNoise1D(3, 2) + Noise_SmoothedNoise1D(4, 2)) / 2,
              1e-5);
  // Truncation towards zero: -2.5 lies at t = -0.5 from lattice point -2, and
  // the cosine weight at -0.5 is again one half.
  EXPECT_NEAR(Noise_InterpolatedNoise1D(-2.5f, false),
              (Noise_SmoothedNoise1D(-2, 2) + Noise_SmoothedNoise1D(-1, 2)) / 2, 1e-5);
  const float v0 = Noise_SmoothedNoise1D(2, 2), v1 = Noise_SmoothedNoise1D(3, 2);
  const float v2 = Noise_SmoothedNoise1D(4, 2), v3 = Noise_SmoothedNoise1D(5, 2);
  EXPECT_FLOAT_EQ(Noise_InterpolatedNoise1D(3.25f, true), Noise_CubicInterpolate(v0, v1, v2, v3, 0.25f));
  // Repeatable, and defined far outside the 32-bit lattice.
  EXPECT_EQ(Noise_InterpolatedNoise1D(17.3f, true), Noise_InterpolatedNoise1D(17.3f, true));
  EXPECT_TRUE(std::isfinite(Noise_InterpolatedNoise1D(1e20f, true)));
  EXPECT_TRUE(std::isfinite(Noise_InterpolatedNoise1D(-3e9f, false)));
  EXPECT_EQ(Noise_InterpolatedNoise1D(NAN, false), 0.0f);
  EXPECT_EQ(Noise_InterpolatedNoise1D(INFINITY, true), 0.0f);
}

TEST(Random, DrawsSeedFromClockModuloTheFifteenBitRand) {
  RandomScope scope(FixedClock, 1000);
  // The generator's first value from seed 1 is 41: seed = 1000 mod 42 = 34.
  EXPECT_FLOAT_EQ(Noise_RandomFloat(), Noise_IntegerNoise(34, -1) * 3.4028235e38f);
  // Next value 18467: seed = 1000 mod 18468 = 1000.
  EXPECT_EQ(Noise_RandomInt(), static_cast<int32_t>(static_cast<double>(Noise_IntegerNoise(1000, -1)) * 2147483648.0));
}

TEST(Random, EqualBoundsReturnWithoutDrawing) {
  RandomScope scope(FixedClock);
  EXPECT_EQ(Noise_RandomFloatInRange(3, 3), 3);
  EXPECT_EQ(Noise_RandomIntInRange(-8, -8), -8);
  EXPECT_EQ(platform::Rand(), 41);  // still the generator's first value
}

TEST(Random, BoundsInEitherOrderDrawTheSameValue) {
  for (int64_t start : {0, 77, 123456789}) {
    float a, b;
    int32_t c, d;
    { RandomScope s(FixedClock, start); a = Noise_RandomFloatInRange(5, 1); c = Noise_RandomIntInRange(9, -4); }
    { RandomScope s(FixedClock, start); b = Noise_RandomFloatInRange(1, 5); d = Noise_RandomIntInRange(-4, 9); }
    EXPECT_EQ(a, b);
    EXPECT_EQ(c, d);
    EXPECT_GE(a, 1);
    EXPECT_LE(a, 5);
  }
}

TEST(Random, IntRangeZeroOneFollowsTheSignOfTheNoise) {
  for (int64_t start = 0; start < 200; start += 7) {
    float r;
    { RandomScope s(FixedClock, start); r = Noise_IntegerNoise(Noise_RandomInt(), -1); }
    RandomScope s(FixedClock, start);
    EXPECT_EQ(Noise_RandomIntInRange(0, 1), r < 0 ? 0 : 1) << "clock " << start;
  }
}

TEST(Random, IntRangesRoundByTruncationAfterAddingAHalf) {
  RandomScope scope(CountingClock, 1'700'000'000);
  std::map<int, int> counts;
  for (int i = 0; i < 40000; ++i) {
    const int v = Noise_RandomIntInRange(0, 10);
    ASSERT_GE(v, 0);
    ASSERT_LE(v, 10);
    ++counts[v];
  }
  EXPECT_EQ(counts.size(), 11u);
  // The ends are half as likely as the inner values.
  EXPECT_LT(counts[0], counts[5] * 3 / 4);
  EXPECT_LT(counts[10], counts[5] * 3 / 4);

  // A range across zero never gives its low end, and 0 comes up about twice
  // as often as its neighbours.
  counts.clear();
  for (int i = 0; i < 40000; ++i) {
    const int v = Noise_RandomIntInRange(-10, 30);
    ASSERT_GE(v, -9);
    ASSERT_LE(v, 30);
    ++counts[v];
  }
  EXPECT_GT(counts[0], counts[1] * 3 / 2);
  EXPECT_GT(counts[0], counts[-1] * 3 / 2);

  // The full 32-bit range converts without overflow.
  for (int i = 0; i < 1000; ++i) {
    const float f = Noise_RandomFloatInRange(-1e30f, 1e30f);
    ASSERT_TRUE(std::isfinite(f));
    (void)Noise_RandomIntInRange(INT32_MIN, INT32_MAX);
  }
}

}  // namespace

namespace {

// Answers the bounds it was given, so the test sees what the draw passed on.
class BoundsSource : public NoiseSource {
 public:
  float FloatInRange(float lo, float hi) override {
    calls.emplace_back(lo, hi);
    return hi;
  }
  int32_t IntInRange(int32_t lo, int32_t hi) override {
    calls.emplace_back(static_cast<float>(lo), static_cast<float>(hi));
    return lo;
  }
  std::vector<std::pair<float, float>> calls;
};

TEST(Random, AReplacedSourceGetsTheOrderedBoundsUntilItIsRemoved) {
  BoundsSource source;
  EXPECT_EQ(Noise_SetSource(&source), nullptr);
  EXPECT_EQ(Noise_RandomFloatInRange(5.0f, -1.0f), 5.0f);
  EXPECT_EQ(Noise_RandomIntInRange(9, 2), 2);
  EXPECT_EQ(Noise_RandomFloatInRange(3.0f, 3.0f), 3.0f);  // equal bounds draw nothing
  EXPECT_EQ(source.calls, (std::vector<std::pair<float, float>>{{-1.0f, 5.0f}, {2.0f, 9.0f}}));
  EXPECT_EQ(Noise_SetSource(nullptr), &source);
  const float drawn = Noise_RandomFloatInRange(0.0f, 1.0f);
  EXPECT_GE(drawn, 0.0f);
  EXPECT_LE(drawn, 1.0f);
  EXPECT_EQ(source.calls.size(), 2u);
}

}  // namespace
