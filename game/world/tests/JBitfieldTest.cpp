#include "game/world/JBitfield.h"

#include <gtest/gtest.h>

TEST(JBitfield, SetTestAndBounds) {
  JBitfield bits;
  EXPECT_FALSE(bits.Set(0, true));  // nothing allocated
  EXPECT_EQ(bits.Create(20), 0);
  EXPECT_EQ(bits.GetCount(), 20u);
  EXPECT_TRUE(bits.Set(5, true));
  EXPECT_FALSE(bits.Set(5, true));
  EXPECT_TRUE(bits.Test(5));
  EXPECT_TRUE(bits.Set(19, true));
  EXPECT_TRUE(bits.Test(19));
  // Two words hold bits 0-31; past them nothing is set or read.
  EXPECT_TRUE(bits.Set(31, true));
  EXPECT_FALSE(bits.Set(32, true));
  EXPECT_FALSE(bits.Test(32));
  EXPECT_FALSE(bits.Set(0xFFFFFFFFu, true));
  EXPECT_TRUE(bits.Set(5, false));
  EXPECT_FALSE(bits.Set(5, false));
  bits.Clear();
  EXPECT_FALSE(bits.Test(19));
  EXPECT_EQ(bits.Create(0), 0);
  EXPECT_FALSE(bits.Test(0));
}
