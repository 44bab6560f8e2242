#include <gtest/gtest.h>

#include <string>

#include "engine/config/KeyNames.h"

namespace {

TEST(KeyNamesTest, EveryNameHasItsScanCode) {
  struct Case {
    const char* name;
    int code;
  };
  const Case cases[] = {
      {"ESC", 1},       {"1", 2},         {"9", 10},         {"0", 11},         {"minus", 12},
      {"=", 13},        {"Q", 16},        {"W", 17},         {"P", 25},         {"[", 26},
      {"]", 27},        {"RET", 28},      {"A", 30},         {"L", 38},         {";", 39},
      {"'", 40},        {"\\", 43},       {"Z", 44},         {"M", 50},         {",", 51},
      {".", 52},        {"/", 53},        {"*", 55},         {" ", 57},         {"subtract", 74},
      {"+", 78},        {"uparrow", 200}, {"leftarrow", 203}, {"rightarrow", 205}, {"downarrow", 208},
  };
  for (const Case& c : cases) EXPECT_EQ(KeyNameToScanCode(c.name), c.code) << '"' << c.name << '"';
}

TEST(KeyNamesTest, AllLettersAndDigitsMapToTheirRows) {
  const std::string rows[] = {"1234567890", "QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
  const int starts[] = {2, 16, 30, 44};
  for (int r = 0; r < 4; ++r) {
    for (size_t i = 0; i < rows[r].size(); ++i) {
      const std::string upper(1, rows[r][i]);
      const std::string lower(1, static_cast<char>(std::tolower(static_cast<unsigned char>(rows[r][i]))));
      EXPECT_EQ(KeyNameToScanCode(upper), starts[r] + static_cast<int>(i)) << upper;
      EXPECT_EQ(KeyNameToScanCode(lower), starts[r] + static_cast<int>(i)) << lower;
    }
  }
}

TEST(KeyNamesTest, NamesIgnoreCaseAndUnknownTextGivesZero) {
  EXPECT_EQ(KeyNameToScanCode("esc"), 1);
  EXPECT_EQ(KeyNameToScanCode("Ret"), 28);
  EXPECT_EQ(KeyNameToScanCode("UPARROW"), 200);
  EXPECT_EQ(KeyNameToScanCode("MINUS"), 12);
  for (const char* unknown : {"", "-", "  ", "shift", "F1", "lctrl-ESC", "ESC ", "escape", "10"}) {
    EXPECT_EQ(KeyNameToScanCode(unknown), 0) << '"' << unknown << '"';
  }
}

TEST(KeyNamesTest, ModifierNames) {
  EXPECT_EQ(KeyModifierNameToBits("ctrl"), 0x03);
  EXPECT_EQ(KeyModifierNameToBits("RCTRL"), 0x01);
  EXPECT_EQ(KeyModifierNameToBits("lctrl"), 0x02);
  EXPECT_EQ(KeyModifierNameToBits("Alt"), 0x30);
  EXPECT_EQ(KeyModifierNameToBits("ralt"), 0x10);
  EXPECT_EQ(KeyModifierNameToBits("lalt"), 0x20);
  EXPECT_EQ(KeyModifierNameToBits("shift"), 0);
  EXPECT_EQ(KeyModifierNameToBits(""), 0);
}

}  // namespace

TEST(ScanCodeToKeyName, NamesAsKeyEventsSpellThem) {
  struct Case {
    uint8_t code;
    const char* name;
  };
  const Case cases[] = {
      {1, "ESC"},       {2, "1"},          {11, "0"},          {12, "minus"},     {13, "="},
      {16, "q"},        {25, "p"},         {28, "RET"},        {30, "a"},         {38, "l"},
      {39, ";"},        {40, "'"},         {43, "\\"},         {44, "z"},         {50, "m"},
      {53, "/"},        {55, "*"},         {57, " "},          {74, "subtract"},  {78, "+"},
      {200, "uparrow"}, {203, "leftarrow"}, {205, "rightarrow"}, {208, "downarrow"}, {0, "ERROR_UNKNOWN_KEY"},
      {14, "ERROR_UNKNOWN_KEY"}, {29, "ERROR_UNKNOWN_KEY"}, {199, "ERROR_UNKNOWN_KEY"}, {255, "ERROR_UNKNOWN_KEY"},
  };
  for (const Case& c : cases) EXPECT_EQ(ScanCodeToKeyName(c.code), c.name) << int(c.code);
}
