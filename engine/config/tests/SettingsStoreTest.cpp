#include "engine/config/SettingsStore.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string ValueOf(const SettingsStore& store, std::string_view key) {
  const std::string_view* value = store.Find(key);
  return value ? std::string(*value) : std::string("<missing>");
}

TEST(SettingsStore, KeysAreFoundExactlyWhateverTheirSections) {
  // Keys are grouped by what stands before their first "|"; none of that may
  // change which key is which.
  struct Case {
    const char* name;
    std::string key;
    std::string value;
  };
  const Case cases[] = {
      {"plain", "app|width", "800"},
      {"same name, other section", "sound|width", "stereo"},
      {"section is a prefix of another", "app2|width", "wide"},
      {"no bar", "width", "bare"},
      {"a section's name alone", "app", "section alone"},
      {"empty section", "|width", "empty section"},
      {"empty name", "app|", "empty name"},
      {"two bars", "app|width|x", "deeper"},
      {"bar first of two", "app|width|", "trailing"},
      {"empty key", "", "nothing"},
  };
  SettingsStore store;
  for (const Case& c : cases) store.Set(c.key, c.value);
  ASSERT_EQ(store.Size(), std::size(cases));
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(ValueOf(store, cases[i].key), cases[i].value) << cases[i].name;
    EXPECT_EQ(store.Entries()[i].first, cases[i].key) << cases[i].name << ": first-insertion order";
  }
  EXPECT_EQ(ValueOf(store, "app|height"), "<missing>") << "known section, unknown name";
  EXPECT_EQ(ValueOf(store, "video|width"), "<missing>") << "unknown section";
  EXPECT_EQ(ValueOf(store, "APP|width"), "<missing>") << "the store itself does not fold case";
}

TEST(SettingsStore, SetNoCaseStoresWhatSetStoresUnderTheFoldedKey) {
  // One store filled through SetNoCase, one through Set with the key folded
  // by hand: the same entries in the same order, whichever way a key is
  // stored or replaced later.
  struct Case {
    const char* name;
    std::string section;
    std::string setting;
    std::string value;
  };
  const Case cases[] = {
      {"plain", "Graphics", "Width", "800"},
      {"same section, name of every fold length", "Graphics", "Abc", "3"},
      {"four letters", "Graphics", "WxYz", "4"},
      {"seven letters", "Graphics", "Name_12", "7"},
      {"eight letters", "Graphics", "NAME_123", "8"},
      {"long name", "Graphics", "A_Rather_Long_Setting_Name_Q", "28"},
      {"section differing only by case", "GRAPHICS", "Height", "600"},
      {"replaced through another spelling", "graphics", "WIDTH", "1024"},
      {"other section", "Sound", "width", "stereo"},
      {"back to an earlier section", "GrApHiCs", "Depth", "32"},
      {"section a prefix of another", "Graph", "width", "narrow"},
      {"empty section", "", "Early", "0"},
      {"empty name", "Sound", "", "unnamed"},
      {"empty value", "Sound", "Mute", ""},
      {"bar inside the section", "Grp|Sub", "Name", "deep"},
      {"same key from the section side", "GRP", "sub|name", "deeper"},
      {"bar inside the name", "Sound", "Left|Right", "pan"},
      {"replaced with a longer value", "sound", "MUTE", "a value longer than before"},
  };
  SettingsStore byParts, byKey;
  for (const Case& c : cases) {
    byParts.SetNoCase(c.section, c.setting, c.value);
    std::string key = c.section + "|" + c.setting;
    for (char& ch : key) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    byKey.Set(key, c.value);
    ASSERT_EQ(byParts.Size(), byKey.Size()) << c.name;
    const std::string_view* stored = byParts.Find(key);
    ASSERT_NE(stored, nullptr) << c.name;
    EXPECT_EQ(*stored, c.value) << c.name;
  }
  for (size_t i = 0; i < byKey.Size(); ++i) {
    EXPECT_EQ(byParts.Entries()[i].first, byKey.Entries()[i].first) << "entry " << i;
    EXPECT_EQ(byParts.Entries()[i].second, byKey.Entries()[i].second) << "entry " << i;
  }
  EXPECT_EQ(ValueOf(byParts, "graphics|width"), "1024");
  EXPECT_EQ(ValueOf(byParts, "grp|sub|name"), "deeper");

  // Each path replaces what the other stored.
  byParts.Set("graphics|name_12", "by key");
  byParts.SetNoCase("SOUND", "LEFT|RIGHT", "by parts");
  EXPECT_EQ(byParts.Size(), byKey.Size());
  EXPECT_EQ(ValueOf(byParts, "graphics|name_12"), "by key");
  EXPECT_EQ(ValueOf(byParts, "sound|left|right"), "by parts");

  // Keys Set stored with capitals are not the folded keys SetNoCase stores.
  SettingsStore mixed;
  mixed.Set("APP|Width", "as given");
  mixed.Set("app|Width", "section folded");
  mixed.SetNoCase("App", "Width", "all folded");
  ASSERT_EQ(mixed.Size(), 3u);
  EXPECT_EQ(ValueOf(mixed, "APP|Width"), "as given");
  EXPECT_EQ(ValueOf(mixed, "app|Width"), "section folded");
  EXPECT_EQ(ValueOf(mixed, "app|width"), "all folded");

  // A cleared store has no groups left, whatever section came last.
  byParts.Clear();
  byParts.SetNoCase("SOUND", "Volume", "7");
  ASSERT_EQ(byParts.Size(), 1u);
  EXPECT_EQ(byParts.Entries()[0].first, "sound|volume");
  EXPECT_EQ(ValueOf(byParts, "sound|volume"), "7");
}

TEST(SettingsStore, ReplacingValuesKeepsPlaceAndReadsBackExactly) {
  SettingsStore store;
  store.Set("a|first", "1");
  store.Set("a|k", "medium value");
  store.Set("b|other", "x");
  // Shorter, empty, longer, then shorter again: each one reads back whole.
  for (const std::string value : {"short", "", "a value longer than any before it", "mid", "medium value!"}) {
    store.Set("a|k", value);
    EXPECT_EQ(ValueOf(store, "a|k"), value);
    EXPECT_EQ(ValueOf(store, "a|first"), "1");
    EXPECT_EQ(ValueOf(store, "b|other"), "x");
  }
  ASSERT_EQ(store.Size(), 3u);
  EXPECT_EQ(store.Entries()[1].first, "a|k");

  // A value may be set from a part of itself.
  const std::string_view current = *store.Find("a|k");
  store.Set("a|k", current.substr(7));
  EXPECT_EQ(ValueOf(store, "a|k"), "value!");
  store.Set("a|k", *store.Find("a|k"));
  EXPECT_EQ(ValueOf(store, "a|k"), "value!");
}

TEST(SettingsStore, ManySectionsAndAClearedStore) {
  SettingsStore store;
  store.Reserve(4000);
  for (int s = 0; s < 100; ++s)
    for (int n = 0; n < 40; ++n)
      store.Set("section" + std::to_string(s) + "|name_" + std::to_string(n), std::to_string(s * 40 + n));
  // Revisit sections out of order.
  for (int s = 99; s >= 0; s -= 7) store.Set("section" + std::to_string(s) + "|name_0", "again");
  ASSERT_EQ(store.Size(), 4000u);
  for (int s = 0; s < 100; ++s) {
    for (int n = 0; n < 40; ++n) {
      const std::string expected = (n == 0 && (99 - s) % 7 == 0) ? "again" : std::to_string(s * 40 + n);
      ASSERT_EQ(ValueOf(store, "section" + std::to_string(s) + "|name_" + std::to_string(n)), expected);
    }
  }
  store.Clear();
  EXPECT_TRUE(store.Empty());
  EXPECT_EQ(ValueOf(store, "section0|name_0"), "<missing>");
  store.Set("section0|name_0", "fresh");
  EXPECT_EQ(ValueOf(store, "section0|name_0"), "fresh");
}

}  // namespace
