#include <gtest/gtest.h>

#include "engine/math/Noise.h"
#include "simulation/tests/kit/KitRandom.h"

namespace {

// The kit's random source gives the game's draws the values a test asks for.
TEST(KitRandomTest, LowerUpperSequenceAndSeed) {
  simkit::KitRandom random;
  random.UseLower();
  EXPECT_EQ(Noise_RandomFloatInRange(10.0f, 0.0f), 0.0f);
  random.UseUpper();
  EXPECT_EQ(Noise_RandomIntInRange(-4, 7), 7);
  random.UseSequence({0.25, 0.5});
  EXPECT_EQ(Noise_RandomFloatInRange(0.0f, 8.0f), 2.0f);
  EXPECT_EQ(Noise_RandomFloatInRange(0.0f, 8.0f), 4.0f);
  EXPECT_EQ(Noise_RandomFloatInRange(0.0f, 8.0f), 2.0f);
  random.UseSeed(3);
  const float a = Noise_RandomFloatInRange(0.0f, 1.0f);
  random.UseSeed(3);
  EXPECT_EQ(Noise_RandomFloatInRange(0.0f, 1.0f), a);
}

}  // namespace
