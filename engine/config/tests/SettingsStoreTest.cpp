#include "engine/config/SettingsStore.h"

#include <gtest/gtest.h>

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
