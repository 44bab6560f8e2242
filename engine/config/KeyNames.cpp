#include "engine/config/KeyNames.h"

#include "base/StringUtil.h"

namespace {

struct KeyName {
  std::string_view name;  // its length known, so a lookup measures no name
  uint8_t code;
};

constexpr KeyName kKeyNames[] = {
    {"ESC", 1},        {"1", 2},          {"2", 3},          {"3", 4},          {"4", 5},
    {"5", 6},          {"6", 7},          {"7", 8},          {"8", 9},          {"9", 10},
    {"0", 11},         {"minus", 12},     {"=", 13},         {"Q", 16},         {"W", 17},
    {"E", 18},         {"R", 19},         {"T", 20},         {"Y", 21},         {"U", 22},
    {"I", 23},         {"O", 24},         {"P", 25},         {"[", 26},         {"]", 27},
    {"RET", 28},       {"A", 30},         {"S", 31},         {"D", 32},         {"F", 33},
    {"G", 34},         {"H", 35},         {"J", 36},         {"K", 37},         {"L", 38},
    {";", 39},         {"'", 40},         {"\\", 43},        {"Z", 44},         {"X", 45},
    {"C", 46},         {"V", 47},         {"B", 48},         {"N", 49},         {"M", 50},
    {",", 51},         {".", 52},         {"/", 53},         {"*", 55},         {" ", 57},
    {"subtract", 74},  {"+", 78},         {"uparrow", 200},  {"leftarrow", 203}, {"rightarrow", 205},
    {"downarrow", 208},
};

constexpr KeyName kModifierNames[] = {
    {"ctrl", keymod::RightCtrl | keymod::LeftCtrl},
    {"rctrl", keymod::RightCtrl},
    {"lctrl", keymod::LeftCtrl},
    {"alt", keymod::RightAlt | keymod::LeftAlt},
    {"ralt", keymod::RightAlt},
    {"lalt", keymod::LeftAlt},
};

template <size_t N>
uint8_t Find(const KeyName (&table)[N], std::string_view name) {
  for (const KeyName& entry : table) {
    if (str::EqualsNoCase(entry.name, name)) return entry.code;
  }
  return 0;
}

}  // namespace

uint8_t KeyNameToScanCode(std::string_view name) { return Find(kKeyNames, name); }

std::string ScanCodeToKeyName(uint8_t code) {
  for (const KeyName& entry : kKeyNames) {
    if (entry.code != code) continue;
    std::string name(entry.name);
    if (name.size() == 1) str::ToLowerInPlace(name);
    return name;
  }
  return "ERROR_UNKNOWN_KEY";
}

uint8_t KeyModifierNameToBits(std::string_view name) { return Find(kModifierNames, name); }
