// Case-blind comparison and hashing read names a word at a time, the last
// bytes with loads that overlap: every length and every place of a
// difference must give the byte-by-byte answer, whatever lies around the name.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "base/StringUtil.h"

namespace {

// `name` in the middle of other bytes, so a load past its ends would show.
struct Embedded {
  std::string storage;
  std::string_view view;
  Embedded(std::string_view name, char around, size_t before) {
    storage.assign(before, around);
    storage += name;
    storage.append(16, around);
    view = std::string_view(storage).substr(before, name.size());
  }
};

TEST(StringUtilTest, WordAtATimeComparisonAndHashingMatchByteByByte) {
  const std::string letters = "MainCamera_Forward|Section12";
  for (size_t length = 0; length <= letters.size(); ++length) {
    const std::string mixed = letters.substr(0, length);
    const std::string lower = str::ToLower(mixed);
    for (size_t before = 0; before < 9; ++before) {
      const Embedded a(mixed, 'Q', before), b(lower, 'z', 8 - before);
      EXPECT_TRUE(str::EqualsNoCase(a.view, b.view)) << mixed;
      EXPECT_TRUE(str::SameBytes(Embedded(lower, '#', before).view, b.view)) << mixed;
      EXPECT_EQ(str::SameBytes(a.view, b.view), mixed == lower) << mixed;
      EXPECT_TRUE(str::EqualsLowered(b.view, a.view)) << mixed;
      EXPECT_EQ(str::EqualsLowered(a.view, b.view), mixed == lower) << mixed << ": the kept side is not folded";
      EXPECT_EQ(str::HashNoCase(a.view), str::HashNoCase(b.view)) << mixed;
      EXPECT_EQ(str::HashBytes(Embedded(lower, '#', before).view), str::HashBytes(b.view)) << mixed;
    }
    // A difference at any place, the last bytes included, is seen; letters
    // fold, the bytes 0x20 apart from other characters do not.
    for (size_t at = 0; at < length; ++at) {
      std::string other = lower;
      other[at] = other[at] == '|' ? '\\' : (other[at] == '_' ? '\x7f' : static_cast<char>(other[at] ^ 0x01));
      const Embedded a(mixed, 'Q', at % 8), b(other, 'z', 0);
      EXPECT_FALSE(str::EqualsNoCase(a.view, b.view)) << mixed << " / " << other;
      EXPECT_FALSE(str::SameBytes(Embedded(lower, 'Q', at % 8).view, b.view)) << lower << " / " << other;
      EXPECT_FALSE(str::EqualsLowered(b.view, a.view)) << mixed << " / " << other;
      EXPECT_EQ(str::EqualsNoCase(a.view, b.view), str::CompareNoCase(a.view, b.view) == 0);
      EXPECT_NE(str::HashBytes(lower), str::HashBytes(other)) << other;
    }
  }
  EXPECT_FALSE(str::SameBytes("ab", "abc"));
  EXPECT_FALSE(str::EqualsNoCase("@", "`"));
  EXPECT_FALSE(str::EqualsNoCase("[", "{"));
  EXPECT_FALSE(str::EqualsNoCase("setting", "settings"));
}

// CopyLower writes whole words that overlap at the end: every length must
// come out folded, and the bytes on either side of the copy untouched,
// whether it copies elsewhere or folds in place.
TEST(StringUtilTest, CopyLowerFoldsEveryLengthWithinItsBounds) {
  const std::string letters = "MainCamera_Forward|Section12@[`{";
  for (size_t length = 0; length <= letters.size(); ++length) {
    const std::string mixed = letters.substr(0, length);
    std::string expected = mixed;
    for (char& c : expected) c = str::ToLowerChar(c);
    for (size_t before = 0; before < 9; ++before) {
      std::string out(before, '#');
      out.append(length, '?');
      out.append(9, '#');
      str::CopyLower(out.data() + before, Embedded(mixed, 'Q', 8 - before).view);
      EXPECT_EQ(out, std::string(before, '#') + expected + std::string(9, '#')) << mixed;

      std::string inPlace = std::string(before, 'Q') + mixed + "QQQQQQQQQ";
      str::CopyLower(inPlace.data() + before, std::string_view(inPlace).substr(before, length));
      EXPECT_EQ(inPlace, std::string(before, 'Q') + expected + "QQQQQQQQQ") << mixed;
    }
  }
}

}  // namespace
