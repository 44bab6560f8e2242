#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/config/ConfigManager.h"
#include "engine/config/tests/ConfigTestFixture.h"
#include "platform/DebugOutput.h"

namespace {

using cfgtest::Written;

class ConfigManagerTest : public cfgtest::ConfigFixture<cCore_ConfigManager> {};

TEST_F(ConfigManagerTest, KeysIgnoreCaseValuesKeepIt) {
  config_.SetValue("Graphics", "FullScreen", "Yes Please");
  std::string value;
  EXPECT_TRUE(config_.GetString("GRAPHICS", "fullscreen", value));
  EXPECT_EQ(value, "Yes Please");
  EXPECT_NE(config_.GetStore().Find("graphics|fullscreen"), nullptr);

  std::string key = "Sound|MusicVolume";
  config_.SetValueByKey(key, "80");
  EXPECT_EQ(key, "sound|musicvolume");  // the caller's key is lower-cased in place
  int32_t volume = 0;
  EXPECT_TRUE(config_.GetInt("sound", "MUSICVOLUME", volume));
  EXPECT_EQ(volume, 80);

  config_.SetValue("graphics", "fullscreen", "no");  // replaces, keeps its place
  EXPECT_EQ(config_.GetStore().Size(), 2u);
  EXPECT_EQ(config_.GetStore().Entries()[0].second, "no");
}

TEST_F(ConfigManagerTest, AValueThatIsTheKeyItselfKeepsItsCase) {
  std::string both = "Misc|Name";
  config_.SetValueByKey(both, both);
  EXPECT_EQ(both, "misc|name");
  std::string value;
  EXPECT_TRUE(config_.GetString("misc", "name", value));
  EXPECT_EQ(value, "Misc|Name");
}

TEST_F(ConfigManagerTest, MissingSettingsLeaveTheOutValue) {
  bool b = true;
  int32_t i = 5;
  float f = 2.5f;
  std::string s = "keep";
  EXPECT_FALSE(config_.GetBool("a", "b", b));
  EXPECT_FALSE(config_.GetInt("a", "b", i));
  EXPECT_FALSE(config_.GetFloat("a", "b", f));
  EXPECT_FALSE(config_.GetString("a", "b", s));
  EXPECT_TRUE(b);
  EXPECT_EQ(i, 5);
  EXPECT_EQ(f, 2.5f);
  EXPECT_EQ(s, "keep");
}

TEST_F(ConfigManagerTest, BooleanIntegerAndFloatReadings) {
  struct BoolCase {
    const char* value;
    bool expected;
  };
  const BoolCase bools[] = {{"1", true},   {"true", true},  {"TRUE", true},   {"tRuE", true}, {"true ", false},
                            {" 1", false}, {"0", false},    {"yes", false},   {"", false},    {"11", false}};
  for (const BoolCase& c : bools) {
    config_.SetValue("b", "v", c.value);
    bool out = !c.expected;
    EXPECT_TRUE(config_.GetBool("b", "v", out));
    EXPECT_EQ(out, c.expected) << '"' << c.value << '"';
  }
  struct NumberCase {
    const char* value;
    int32_t i;
    float f;
  };
  const NumberCase numbers[] = {{"42", 42, 42.0f},     {"  -7px", -7, -7.0f}, {"+3.75", 3, 3.75f},
                                {"abc", 0, 0.0f},      {"", 0, 0.0f},         {"1e2", 1, 100.0f},
                                {"99999999999", INT32_MAX, 99999999999.0f}};
  for (const NumberCase& c : numbers) {
    config_.SetValue("n", "v", c.value);
    int32_t i = -1;
    float f = -1;
    EXPECT_TRUE(config_.GetInt("n", "v", i));
    EXPECT_TRUE(config_.GetFloat("n", "v", f));
    EXPECT_EQ(i, c.i) << c.value;
    EXPECT_FLOAT_EQ(f, c.f) << c.value;
  }
}

TEST_F(ConfigManagerTest, WriterFormatIsExact) {
  config_.SetValue("Graphics", "fullscreen", "true");
  config_.SetValue("App", "MaxVersion", "3");
  config_.SetValue("Graphics", "resolution", "C:\\games\\x");
  EXPECT_EQ(Written(config_),
            "settings App;\r\n"
            "\tsetting\tmaxversion\t\t\t\"3\";\r\n"
            "\r\n"
            "settings graphics;\r\n"
            "\tsetting\tfullscreen\t\t\t\"true\";\r\n"
            "\tsetting\tresolution\t\t\t\"C:\\\\games\\\\x\";\r\n"
            "\r\n");
}

TEST_F(ConfigManagerTest, EmptyStoreWritesTheAppSection) {
  EXPECT_EQ(Written(config_), "settings App;\r\n\r\n");
}

TEST_F(ConfigManagerTest, NamePaddingTabs) {
  struct Case {
    size_t length;
    int tabs;  // padding tabs, before the one tab that precedes the value
  };
  const Case cases[] = {{1, 3}, {7, 3}, {8, 2}, {15, 2}, {16, 1}, {23, 1}, {24, 0}, {40, 0}};
  for (const Case& c : cases) {
    cCore_ConfigManager config;
    const std::string name(c.length, 'n');
    config.SetValue("App", name, "v");
    const std::string expected = "settings App;\r\n\tsetting\t" + name + std::string(static_cast<size_t>(c.tabs), '\t') +
                                 "\t\"v\";\r\n\r\n";
    EXPECT_EQ(Written(config), expected) << c.length;
  }
}

TEST_F(ConfigManagerTest, SectionsComeOutInTheOrderTheyWereFirstStored) {
  const char* sections[] = {"zeta", "alpha", "Mid", "App"};
  for (int round = 0; round < 3; ++round) {
    for (const char* section : sections) config_.SetValue(section, "k" + std::to_string(round), "v");
  }
  const std::string text = Written(config_);
  const size_t app = text.find("settings App;");
  const size_t zeta = text.find("settings zeta;");
  const size_t alpha = text.find("settings alpha;");
  const size_t mid = text.find("settings mid;");
  ASSERT_NE(mid, std::string::npos);
  EXPECT_EQ(app, 0u);
  EXPECT_LT(app, zeta);
  EXPECT_LT(zeta, alpha);
  EXPECT_LT(alpha, mid);
  EXPECT_EQ(text.find("settings App;", 1), std::string::npos);
  // Within a section, settings keep their order too.
  EXPECT_LT(text.find("k0", zeta), text.find("k1", zeta));
  EXPECT_LT(text.find("k1", zeta), text.find("k2", zeta));
}

// Reads `text`, writes the store, reads that into a fresh manager: the two
// stores and the two written texts must match.
void ExpectRoundTrip(cCore_ConfigManager& first, const ScratchDir& dir) {
  const std::string once = Written(first);
  const std::string file = dir.Write("round.cfg", once);
  cCore_ConfigManager second;
  ASSERT_EQ(second.LoadConfig(file), status::Ok) << once;
  EXPECT_EQ(second.GetStore().Entries(), first.GetStore().Entries()) << once;
  EXPECT_EQ(Written(second), once);
}

TEST_F(ConfigManagerTest, ScriptRoundTrip) {
  const std::string file = dir_.Write("base.cfg",
                                      "// The engine's settings\r\n"
                                      "settings App {\r\n"
                                      "  setting library_path \"plugins\\\\\";\r\n"
                                      "  setting MinVersion \"1\"; setting MaxVersion \"3\";\r\n"
                                      "}\r\n"
                                      "settings Graphics;\n"
                                      "  setting fullscreen \"false\";\n"
                                      "  setting resolution \"1024 768\";\n"
                                      "settings Sound;\n"
                                      "  setting snd_dx8_disable_music \"0\";\n");
  ASSERT_EQ(config_.LoadConfig(file), status::Ok);
  ASSERT_EQ(config_.GetStore().Size(), 6u);
  std::string path;
  ASSERT_TRUE(config_.GetString("app", "library_path", path));
  EXPECT_EQ(path, "plugins\\");
  ExpectRoundTrip(config_, dir_);
}

TEST_F(ConfigManagerTest, AwkwardValuesAndNamesRoundTrip) {
  config_.SetValue("App", "path", "a\\b\\");
  config_.SetValue("App", "controls", "tab\there\nline\rcr\a\b\f\v");
  config_.SetValue("App", "punctuation", "; { } // /* */ '");
  config_.SetValue("App", "blanks", "  two  blanks  ");
  config_.SetValue("App", "empty", "");
  config_.SetValue("odd section", "odd name", "1");
  config_.SetValue("semi;colon", "brace", "2");
  config_.SetValue("x", "}", "3");
  config_.SetValue("x", "a//b", "4");
  config_.SetValue("", "no_section", "5");
  config_.SetValue("named", "", "no name");
  config_.SetValue("later", "value", "6");
  config_.SetValue("a|b", "c", "7");
  ExpectRoundTrip(config_, dir_);
}

TEST_F(ConfigManagerTest, UnwritableTextIsReportedAndCannotSpoilTheRest) {
  // Quote marks and NUL cannot be read back from a script; they are left out
  // so that the settings after them still read back.
  config_.SetValue("App", "quoted", "say \"hi\"");
  config_.SetValue("App", "nul", std::string("a\0b", 3));
  config_.SetValue("App", "after", "kept");
  std::string nameless = "nosection";
  config_.SetValueByKey(nameless, "lost");
  platform::ScopedDebugCapture capture;
  const std::string file = dir_.Write("odd.cfg", Written(config_));
  EXPECT_TRUE(capture.Contains("\"app|quoted\" holds quote marks"));
  EXPECT_TRUE(capture.Contains("\"nosection\" has no \"|\""));
  cCore_ConfigManager second;
  ASSERT_EQ(second.LoadConfig(file), status::Ok);
  std::string value;
  EXPECT_TRUE(second.GetString("App", "quoted", value));
  EXPECT_EQ(value, "say hi");
  EXPECT_TRUE(second.GetString("App", "nul", value));
  EXPECT_EQ(value, "ab");
  EXPECT_TRUE(second.GetString("App", "after", value));
  EXPECT_EQ(value, "kept");
}

TEST_F(ConfigManagerTest, SaveAndLoadThroughFiles) {
  config_.SetValue("Graphics", "resolution", "640 480");
  const std::string file = dir_.File("KV9.cfg");
  ASSERT_EQ(config_.SaveToFile(file), status::Ok);
  EXPECT_EQ(dir_.Read("KV9.cfg"), Written(config_));
  config_.SetValue("Graphics", "resolution", "800 600");
  ASSERT_EQ(config_.SaveConfig(file), status::Ok);  // replaces the whole file
  cCore_ConfigManager second;
  ASSERT_EQ(second.LoadConfig(dir_.File("kv9.CFG")), status::Ok);  // names resolve in any case
  std::string value;
  ASSERT_TRUE(second.GetString("graphics", "resolution", value));
  EXPECT_EQ(value, "800 600");

  platform::ScopedDebugCapture capture;
  EXPECT_EQ(config_.SaveConfig(dir_.File("no/such/dir/x.cfg")), status::Fail);
  EXPECT_TRUE(capture.Contains("[cCore_ConfigManager::SaveConfig]"));
}

TEST_F(ConfigManagerTest, DisplaySettingsBlock) {
  config_.SetAdapter(1);
  config_.SetWindowed(true);
  config_.SetWindowSize(1024, 768);
  config_.SetModeFormat(0, 8, 8, 8, 8);
  config_.SetDepthFormat(24, 8, 0);
  config_.SetMultiSampleType(4);
  config_.SetBackBufferCount(2);
  const int32_t expected[14] = {1, 1, 1024, 768, 0, 8, 8, 8, 8, 24, 8, 0, 4, 2};
  EXPECT_EQ(std::memcmp(config_.GetDisplaySettings(), expected, sizeof expected), 0);
  int32_t w = 0, h = 0;
  config_.GetWindowSize(w, h);
  EXPECT_EQ(w, 1024);
  EXPECT_EQ(h, 768);
  EXPECT_EQ(config_.GetWidth(), 1024);
  EXPECT_EQ(config_.GetHeight(), 768);
  EXPECT_TRUE(config_.IsWindowed());

  config_.SaveDisplaySettings();
  config_.SetWindowSize(640, 480);
  config_.SetWindowed(false);
  EXPECT_EQ(config_.GetSavedDisplaySettings()->width, 1024);
  config_.RestoreDisplaySettings();
  EXPECT_EQ(std::memcmp(config_.GetDisplaySettings(), expected, sizeof expected), 0);

  EXPECT_TRUE(config_.IsWindowedAllowed());
  EXPECT_EQ(config_.GetDesktopModeIndex(), -1);
  config_.SetDesktopModeIndex(3);
  EXPECT_EQ(config_.GetDesktopModeIndex(), 3);
  EXPECT_EQ(config_.GetGameManager(), nullptr);
  EXPECT_EQ(config_.GetParser()->GetConfigManager(), &config_);
}

TEST_F(ConfigManagerTest, ToggleDisplayMode) {
  std::vector<uint32_t> masks;
  auto* table = reinterpret_cast<cCore_GlobalWrapper*>(&masks);  // only passed through
  cCore_GlobalWrapper* seenTable = nullptr;

  // Without a way to restart the graphics nothing changes.
  config_.SetWindowed(true);
  EXPECT_EQ(config_.ToggleDisplayMode(table), status::Fail);
  EXPECT_TRUE(config_.IsWindowed());

  config_.SetServiceRestart([&](uint32_t mask, cCore_ConfigManager* config, cCore_GlobalWrapper* t) {
    EXPECT_EQ(config, &config_);
    seenTable = t;
    masks.push_back(mask);
    return CoreStatus{7};
  });
  EXPECT_EQ(config_.ToggleDisplayMode(table), 7);
  EXPECT_FALSE(config_.IsWindowed());
  EXPECT_EQ(seenTable, table);

  config_.SetWindowedAllowed(false);
  EXPECT_EQ(config_.ToggleDisplayMode(table), status::Fail);
  EXPECT_FALSE(config_.IsWindowed());

  config_.SetWindowedAllowed(true);
  EXPECT_EQ(config_.ToggleDisplayMode(table), 7);
  EXPECT_TRUE(config_.IsWindowed());
  EXPECT_EQ(masks, (std::vector<uint32_t>{8, 8}));
}

TEST_F(ConfigManagerTest, BaseManagerHasNoBindings) {
  EXPECT_FALSE(config_.Bind("camera_forward", "W"));
  EXPECT_EQ(config_.FindBindingByCommand("camera_forward"), nullptr);
  EXPECT_EQ(config_.FindBindingByName("x"), nullptr);
  EXPECT_EQ(config_.FindBindingByHandler(nullptr), nullptr);
  std::vector<std::string> a, b, c;
  config_.ListBindings(a, b, c);
  EXPECT_TRUE(a.empty() && b.empty() && c.empty());
  // A "bind" statement in a base configuration is refused, the rest is read.
  ASSERT_EQ(config_.GetParser()->ReadText("bind \"x\" \"W\"; setting a \"1\";", ConfigParser::StatementHandler::Settings),
            status::Ok);
  EXPECT_EQ(config_.GetStore().Size(), 1u);
}

}  // namespace
