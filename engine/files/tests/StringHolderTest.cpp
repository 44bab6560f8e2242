#include <gtest/gtest.h>

#include "engine/files/StringHolder.h"

namespace {

TEST(StringHolder, CreatedOnFirstGetSharedAfterwardsAndFreedOnRelease) {
  StringHolder* holder = nullptr;
  std::string& text = StringHolder::Get(holder);
  ASSERT_NE(holder, nullptr);
  EXPECT_TRUE(text.empty());
  EXPECT_EQ(holder->uses, 1);
  text = "Loading terrain";
  // A second Get returns the same string and takes no further use.
  EXPECT_EQ(&StringHolder::Get(holder), &text);
  EXPECT_EQ(StringHolder::Get(holder), "Loading terrain");
  EXPECT_EQ(holder->uses, 1);
  StringHolder::Release(holder);
  EXPECT_EQ(holder, nullptr);
  StringHolder::Release(holder);  // nothing to release: no fault
  EXPECT_EQ(holder, nullptr);
}

}  // namespace
