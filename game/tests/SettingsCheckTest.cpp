// Settings read from "base.cfg" and then "KV9.cfg" are checked against what
// the options screens offer; a value they could not have written falls back
// to the first start's value with one log line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "engine/config/ConfigManager.h"
#include "game/SettingsCheck.h"
#include "platform/DebugOutput.h"

namespace {

size_t Lines(const std::string& text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')); }

TEST(SettingsCheck, OutOfRangeValuesFallBackToTheFirstStartWithOneLineEach) {
  struct Case {
    const char* name;
    const char* section;
    const char* key;
    const char* base;    // from "base.cfg" (null: not there)
    const char* player;  // from "KV9.cfg"
    const char* kept;    // what the settings hold afterwards
  } cases[] = {
      {"a volume that is a word", "App", "SoundVolume", "200", "loud", "200"},
      {"a volume far below zero", "App", "MusicVolume", "160", "-999999999999", "160"},
      {"a volume above 255", "App", "MusicVolume", "160", "256", "160"},
      {"a volume in range", "App", "MusicVolume", "160", "255", "255"},
      {"no volume at first start: the screens' default", "App", "MusicVolume", nullptr, "loud", "190"},
      {"an ambient limit far too high", "App", "AmbientLimit", "15", "100000000", "15"},
      {"an ambient limit in range", "App", "AmbientLimit", "15", "40", "40"},
      {"a texture size that is no square", "Graphics", "TextureSize", "512 512", "99999 3", "512 512"},
      {"a texture size that is no power of two", "Graphics", "TextureSize", "512 512", "300 300", "512 512"},
      {"a texture size offered", "Graphics", "TextureSize", "512 512", "1024 1024", "1024 1024"},
      {"a resolution too small to use", "Graphics", "Resolution", nullptr, "12 34", "800 600"},
      {"a resolution larger than offered", "Graphics", "Resolution", nullptr, "5000 4000", "800 600"},
      {"a resolution offered", "Graphics", "Resolution", nullptr, "1024 768", "1024 768"},
      {"a switch that is neither", "App", "Autosave", "true", "maybe", "true"},
      {"a switch in capitals", "Autoslow", "NeverSlow", "false", "TRUE", "TRUE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cCore_ConfigManager config;
    SettingsCheck check(800, 600);
    if (c.base) config.SetValue(c.section, c.key, c.base);
    platform::ScopedDebugCapture log;
    EXPECT_EQ(check.Check(config, "base.cfg"), 0);
    config.SetValue(c.section, c.key, c.player);
    const bool refused = std::string(c.kept) != c.player;
    EXPECT_EQ(check.Check(config, "KV9.cfg"), refused ? 1 : 0);
    std::string value;
    ASSERT_TRUE(config.GetString(c.section, c.key, value));
    EXPECT_EQ(value, c.kept);
    EXPECT_EQ(Lines(log.Text()), refused ? 1u : 0u) << log.Text();
    if (refused) {
      EXPECT_TRUE(log.Contains("KV9.cfg")) << log.Text();
      EXPECT_TRUE(log.Contains(c.player)) << log.Text();
    }
  }
}

// A bad value in "base.cfg" itself falls back to the program's default,
// which then is the first-start value a bad "KV9.cfg" falls back to.
TEST(SettingsCheck, ABadFirstStartValueFallsBackToTheProgramsDefault) {
  cCore_ConfigManager config;
  SettingsCheck check(1024, 768);
  config.SetValue("App", "SoundVolume", "x");
  config.SetValue("Graphics", "TextureSize", "3 3");
  config.SetValue("Graphics", "Resolution", "1 1");
  EXPECT_EQ(check.Check(config, "base.cfg"), 3);
  EXPECT_EQ(check.FirstStart("App", "SoundVolume"), "190");
  EXPECT_EQ(check.FirstStartTextureSize(), 512);
  EXPECT_EQ(check.FirstStart("Graphics", "Resolution"), "1024 768");
  config.SetValue("App", "SoundVolume", "999");
  EXPECT_EQ(check.Check(config, "KV9.cfg"), 1);
  std::string value;
  ASSERT_TRUE(config.GetString("App", "SoundVolume", value));
  EXPECT_EQ(value, "190");
}

// The settings file the game ships sets each key once per section: a key
// set twice silently takes the second value.
TEST(SettingsCheck, BaseCfgSetsNoKeyTwice) {
  std::ifstream in(std::string(GAME_DATA_DIR) + "base.cfg", std::ios::binary);
  ASSERT_TRUE(in.good());
  auto lower = [](std::string s) {
    for (char& ch : s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return s;
  };
  std::string section;
  std::set<std::string> seen;
  std::string line;
  int settings = 0;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string keyword, name;
    words >> keyword >> name;
    if (!name.empty() && name.back() == ';') name.pop_back();
    if (keyword == "settings") section = lower(name);
    if (keyword != "setting") continue;
    ++settings;
    EXPECT_TRUE(seen.insert(section + "|" + lower(name)).second) << "set twice: " << section << " " << name;
  }
  EXPECT_GT(settings, 20);
}

}  // namespace
