// The handle volume to decibel table.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "sound/VolumeTable.h"

namespace {

TEST(VolumeTable, FixedRowsRiseSteadilyAndFollowTheCurve) {
  const struct {
    int index;
    int32_t value;
  } rows[] = {{0, -10000}, {1, -7678},  {2, -6830},  {3, -6299},  {10, -4642}, {16, -3977}, {32, -2988},
              {48, -2407}, {50, -2348}, {64, -1994}, {80, -1673}, {96, -1411}, {100, -1352}, {112, -1189},
              {127, -1008}, {128, -997}, {129, -985}, {144, -827}, {160, -675}, {176, -538}, {192, -413},
              {208, -297}, {224, -191}, {240, -91},  {254, -5},   {255, 0}};
  for (const auto& row : rows) EXPECT_EQ(VolumeTableEntry(row.index), row.value) << "index " << row.index;
  for (int i = 1; i < kVolumeTableSize; ++i) EXPECT_GT(VolumeTableEntry(i), VolumeTableEntry(i - 1)) << i;
  for (int i = 40; i < kVolumeTableSize; ++i)
    EXPECT_LE(std::abs(VolumeTableEntry(i) - 1000.0 * std::log2(i / 255.0)), 5.0) << i;
  // Below that the table lies above (flatter than) the curve.
  for (int i = 1; i < 40; ++i) EXPECT_GT(VolumeTableEntry(i), 1000.0 * std::log2(i / 255.0)) << i;
}

TEST(VolumeTable, VolumesPickTheirRow) {
  const struct {
    float volume;
    int index;
  } cases[] = {
      {0.5f, 127},  // 127.5 truncates
      {1.0f, 255},
      {2.0f, 255},
      {0.0f, 0},
      {-0.25f, 0},
      {-1e30f, 0},
      {std::numeric_limits<float>::quiet_NaN(), 0},
      {std::numeric_limits<float>::infinity(), 255},
      {1.0f / 255.0f, 1},
  };
  for (const auto& c : cases) EXPECT_EQ(VolumeTableIndex(c.volume), c.index) << c.volume;
  EXPECT_EQ(VolumeToHundredthsDb(0.5f), -1008);
  EXPECT_EQ(VolumeToHundredthsDb(2.0f), 0);
  EXPECT_EQ(VolumeToHundredthsDb(-3.0f), -10000);
  EXPECT_EQ(VolumeTableEntry(-5), -10000);
  EXPECT_EQ(VolumeTableEntry(900), 0);
}

}  // namespace
