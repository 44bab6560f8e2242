// The options screen through the real "main.gui": the configuration read
// into the widgets, the texture-size rows built from the device, the
// screen's state written back to the configuration, the managers and
// "KV9.cfg", and the autopause page.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "gui/core/GUIScrollBar.h"
#include "gui/core/GUIStaticText.h"
#include "platform/DebugOutput.h"
#include "platform/MessageBox.h"
#include "screens/ActionOptionsMenu.h"
#include "screens/ScreenCommand.h"
#include "screens/tests/FrontEndRig.h"

namespace frontend {
namespace {

constexpr int32_t kNot = screens::kNotHandled;

class OptionsMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fe.LoadMainMenu());
    options = ActionOptionsMenu::GetInstance();
    ASSERT_NE(options, nullptr);
    fe.config.SetWindowSize(640, 480);
  }
  std::string Setting(const char* section, const char* name) {
    std::string value;
    return fe.config.GetString(section, name, value) ? value : "<missing>";
  }
  void Check(const char* box, bool on) {
    if (auto* b = fe.Find<GUICheckBox>(box)) b->SetChecked(on);
  }
  GUIScrollBar* Bar(const char* name) { return fe.Find<GUIScrollBar>(name); }
  // The n of every texture row, top to bottom, and the checked one (-1).
  static std::vector<int> Rows(FrontEndRig& fe, int* checked) {
    std::vector<int> rows;
    *checked = -1;
    GUIEntity* group = fe.rig.gui.FindEntity("grpOMTexture");
    for (int32_t i = 0; group && i < group->GetChildCount(); ++i) {
      auto* box = dynamic_cast<GUICheckBox*>(group->GetChild(i));
      if (!box) continue;
      const int n = std::stoi(box->GetName().substr(std::string("chkOMTexture").size()));
      rows.push_back(n);
      if (box->IsChecked()) *checked = n;
    }
    return rows;
  }

  FrontEndRig fe;
  ActionOptionsMenu* options = nullptr;
};

TEST_F(OptionsMenu, LoadSettingsChoosesTheResolutionBox) {
  struct Case {
    const char* name;
    const char* stored;  // null: no entry
    int32_t windowWidth, windowHeight;
    const char* box;
    int32_t remembered;
  };
  const Case cases[] = {
      {"high", "1024 768", 640, 480, "chkOMHiRes", 1024},
      {"medium", "800 600", 640, 480, "chkOMMedRes", 800},
      {"other sizes show as low", "1280 1024", 640, 480, "chkOMLoRes", 640},
      {"no entry: the window's size", nullptr, 800, 600, "chkOMMedRes", 800},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FrontEndRig rig;
    ASSERT_TRUE(rig.LoadMainMenu());
    rig.config.SetWindowSize(c.windowWidth, c.windowHeight);
    if (c.stored) rig.config.SetValue("Graphics", "Resolution", c.stored);
    EXPECT_EQ(rig.Run("OptionsMenu", "LoadSettings"), 0);
    for (const char* box : {"chkOMHiRes", "chkOMMedRes", "chkOMLoRes"})
      EXPECT_EQ(rig.Checked(box), std::string(box) == c.box) << box;
    EXPECT_EQ(ActionOptionsMenu::GetInstance()->rememberedWidth, c.remembered);
  }
}

TEST_F(OptionsMenu, TextureRowsFollowTheDeviceAndTheSetting) {
  struct Case {
    const char* name;
    uint32_t maxTexture;
    const char* stored;  // null: no entry
    std::vector<int> rows;
    int checked;
    const char* firstLabel;
  };
  const Case cases[] = {
      {"2048 device, no entry", 2048, nullptr, {11, 10, 9, 8}, 8, "2048 x 2048"},
      {"stored 512", 2048, "512 512", {11, 10, 9, 8}, 9, "2048 x 2048"},
      {"stored size above the device", 1024, "4096 4096", {10, 9, 8}, 8, "1024 x 1024"},
      {"device below 256", 128, "256 256", {}, -1, nullptr},
      {"odd maximum heads the list", 3000, "3000 3000", {11, 10, 9, 8}, 11, "3000 x 3000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FrontEndRig rig;
    ASSERT_TRUE(rig.LoadMainMenu());
    rig.renderer.maxTexture = c.maxTexture;
    if (c.stored) rig.config.SetValue("Graphics", "TextureSize", c.stored);
    rig.Run("OptionsMenu", "LoadSettings");
    int checked = -1;
    const std::vector<int> rows = Rows(rig, &checked);
    GUIEntity* group = rig.rig.gui.FindEntity("grpOMTexture");
    ASSERT_NE(group, nullptr);
    for (size_t i = 0; i < rows.size(); ++i) {
      auto* box = dynamic_cast<GUICheckBox*>(group->FindChild("chkOMTexture" + std::to_string(rows[i])));
      ASSERT_NE(box, nullptr);
      EXPECT_FLOAT_EQ(box->GetPositionY(), 0.0390625f - 0.44921875f * static_cast<float>(i));
    }
    EXPECT_EQ(rows, c.rows);
    EXPECT_EQ(checked, c.checked);
    if (c.firstLabel) {
      auto* label = dynamic_cast<GUIStaticText*>(group->FindChild("sttOMTexture" + std::to_string(c.rows[0])));
      ASSERT_NE(label, nullptr);
      EXPECT_EQ(label->GetText(), c.firstLabel);
    }
    std::string stored;
    ASSERT_TRUE(rig.config.GetString("Graphics", "TextureSize", stored));
    EXPECT_EQ(stored, c.stored ? c.stored : "256 256");
    // A second load re-checks the rows and builds none.
    const int32_t children = group->GetChildCount();
    rig.Run("OptionsMenu", "LoadSettings");
    EXPECT_EQ(group->GetChildCount(), children);
  }
}

TEST_F(OptionsMenu, ApplySettingsWritesConfigurationManagersAndFile) {
  fe.config.SetValue("Graphics", "Resolution", "640 480");
  fe.config.SetValue("App", "MusicVolume", "100");
  fe.Run("OptionsMenu", "LoadSettings");
  EXPECT_EQ(fe.ambient->ambientLimit, 15);
  EXPECT_EQ(fe.audio->musicVolumes, std::vector<float>{100.0f / 255.0f});
  fe.ambient->ambientLimit = 22;
  Check("chkOMLoRes", false);
  Check("chkOMMedRes", true);
  Check("chkOMParticles", false);
  Check("chkOMSnow", false);
  if (auto* row = fe.Find<GUICheckBox>("chkOMTexture9")) row->Toggle();
  Bar("sbOMMusicVolume")->SetValue(0);
  Bar("sbOMSoundVolume")->SetValue(255);
  EXPECT_EQ(fe.Run("OptionsMenu", "ApplySettings"), 0);

  struct Entry {
    const char* section;
    const char* name;
    const char* value;
  };
  const Entry entries[] = {
      {"Graphics", "Resolution", "800 600"}, {"Graphics", "TextureSize", "512 512"},
      {"App", "HelperCharacter", "true"},    {"App", "Day\\NightCycle", "true"},
      {"App", "Particles", "false"},         {"App", "SnowAccumulation", "false"},
      {"App", "Autosave", "true"},           {"App", "MusicVolume", "0"},
      {"App", "SoundVolume", "255"},         {"App", "AmbientLimit", "22"},
  };
  const std::string file = fe.dir.Read("KV9.cfg");
  for (const Entry& e : entries) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(Setting(e.section, e.name), e.value);
    EXPECT_NE(file.find(e.value), std::string::npos);
  }
  EXPECT_EQ(fe.renderer.resets, std::vector<int32_t>{800});
  EXPECT_EQ(fe.config.GetWidth(), 800);
  EXPECT_EQ(options->rememberedWidth, 800);
  ASSERT_FALSE(fe.audio->musicVolumes.empty());
  ASSERT_FALSE(fe.audio->soundVolumes.empty());
  EXPECT_FLOAT_EQ(fe.audio->musicVolumes.back(), 0.0f);
  EXPECT_FLOAT_EQ(fe.audio->soundVolumes.back(), 1.0f);
  EXPECT_FALSE(fe.particles->IsEnabled());

  // The same choice again resets nothing; after a world clear it does.
  fe.Run("OptionsMenu", "ApplySettings");
  EXPECT_EQ(fe.renderer.resets.size(), 1u);
  options->Reset();
  fe.Run("OptionsMenu", "ApplySettings");
  EXPECT_EQ(fe.renderer.resets.size(), 2u);
}

TEST_F(OptionsMenu, AFailedDeviceResetKeepsTheOldSize) {
  fe.config.SetValue("Graphics", "Resolution", "640 480");
  fe.Run("OptionsMenu", "LoadSettings");
  Check("chkOMHiRes", true);
  fe.renderer.resetSucceeds = false;
  EXPECT_EQ(fe.Run("OptionsMenu", "ApplySettings"), 0);
  EXPECT_EQ(fe.config.GetWidth(), 640);
  EXPECT_EQ(fe.config.GetHeight(), 480);
  EXPECT_EQ(Setting("Graphics", "Resolution"), "640 480");
  EXPECT_EQ(options->rememberedWidth, 640);
  // The other settings are applied and saved all the same.
  EXPECT_EQ(Setting("App", "MusicVolume"), "190");
  EXPECT_NE(fe.dir.Read("KV9.cfg").find("musicvolume"), std::string::npos);
}

TEST_F(OptionsMenu, DefaultsGoOnTheScreenOnly) {
  fe.Run("OptionsMenu", "LoadSettings");
  Check("chkOMHelper", false);
  Bar("sbOMMusicVolume")->SetValue(3);
  EXPECT_EQ(fe.Run("OptionsMenu", "SetDefaultOptions"), kNot);
  // The first start's values: 800 x 600 and 512 x 512.
  EXPECT_FALSE(fe.Checked("chkOMHiRes"));
  EXPECT_TRUE(fe.Checked("chkOMMedRes"));
  EXPECT_FALSE(fe.Checked("chkOMLoRes"));
  int checked = -1;
  EXPECT_EQ(Rows(fe, &checked), (std::vector<int>{11, 10, 9, 8}));
  EXPECT_EQ(checked, 9);
  for (const char* box : {"chkOMHelper", "chkOMDayNight", "chkOMParticles", "chkOMSnow", "chkOMAutosave"})
    EXPECT_TRUE(fe.Checked(box)) << box;
  EXPECT_EQ(Bar("sbOMMusicVolume")->GetValue(), 190);
  EXPECT_EQ(Bar("sbOMSoundVolume")->GetValue(), 190);
  EXPECT_EQ(Setting("App", "HelperCharacter"), "<missing>");
}

// A "KV9.cfg" that cannot be written (a folder of that name here, as a
// read-only folder would refuse it too) is said to the player in a box, and
// ACCEPT leaves the options page open; the settings stay in use.
TEST_F(OptionsMenu, ASettingsFileThatCannotBeWrittenIsShownAndThePageStays) {
  std::filesystem::create_directories(fe.dir.File("KV9.cfg"));
  std::vector<std::string> boxes;
  auto previous = platform::SetMessageBoxHandler([&](const std::string& text, const std::string&, unsigned) {
    boxes.push_back(text);
    return int(platform::IDOK);
  });
  platform::ScopedDebugCapture quiet;
  EXPECT_EQ(fe.Run("MainMenu", "ClickButton1"), 0);  // OPTIONS
  Check("chkOMSnow", false);
  EXPECT_EQ(fe.Run("MainMenu", "ClickButton1"), 0);  // ACCEPT
  platform::SetMessageBoxHandler(std::move(previous));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("KV9.cfg"), std::string::npos) << boxes[0];
  EXPECT_TRUE(fe.Visible("scnOptionsMenu"));
  EXPECT_FALSE(fe.Visible("btnPMNew"));
  EXPECT_EQ(fe.Caption("btnMMButton1"), "ACCEPT");
  EXPECT_EQ(Setting("App", "SnowAccumulation"), "false");

  // Once the file can be written, ACCEPT saves and goes back to the top.
  std::filesystem::remove(fe.dir.File("KV9.cfg"));
  EXPECT_EQ(fe.Run("MainMenu", "ClickButton1"), 0);
  EXPECT_TRUE(fe.Visible("btnPMNew"));
  EXPECT_NE(fe.dir.Read("KV9.cfg").find("snowaccumulation"), std::string::npos);
}

// Each page's CANCEL undoes its own page only: leaving the events page,
// accepted or not, keeps the options page's changes not yet accepted; the
// events page's CANCEL puts its boxes and the event manager's switches
// back as the configuration holds them.
TEST_F(OptionsMenu, EachPagesCancelUndoesItsOwnPage) {
  fe.config.SetValue("Graphics", "Resolution", "640 480");
  fe.config.SetValue("Autoslow", "SlowOnSecurity", "false");
  EXPECT_EQ(fe.Run("MainMenu", "ClickButton1"), 0);  // OPTIONS
  Check("chkOMLoRes", false);
  Check("chkOMHiRes", true);
  Check("chkOMSnow", false);
  Bar("sbOMMusicVolume")->SetValue(42);
  EXPECT_EQ(fe.Run("MainMenu", "ClickButton3"), 0);  // EVENTS
  Check("chkAPSecurity", true);
  fe.Run("OptionsMenu", "ToggleSecurity");
  const int security = static_cast<int>(Happening::Security);
  EXPECT_EQ(fe.events->autoslow.happening[security], 1);
  EXPECT_EQ(fe.Run("MainMenu", "ClickButton3"), 0);  // CANCEL on the events page
  EXPECT_FALSE(fe.Checked("chkAPSecurity"));
  EXPECT_EQ(fe.events->autoslow.happening[security], 0);
  EXPECT_EQ(Setting("Autoslow", "SlowOnSecurity"), "false");
  // Back on the options page with its own changes.
  EXPECT_TRUE(fe.Visible("scnOptionsMenu"));
  EXPECT_TRUE(fe.Checked("chkOMHiRes"));
  EXPECT_FALSE(fe.Checked("chkOMSnow"));
  EXPECT_EQ(Bar("sbOMMusicVolume")->GetValue(), 42);

  // ACCEPT on the events page keeps them too.
  EXPECT_EQ(fe.Run("MainMenu", "ClickButton3"), 0);  // EVENTS
  Check("chkAPSecurity", true);
  fe.Run("OptionsMenu", "ToggleSecurity");
  EXPECT_EQ(fe.Run("MainMenu", "ClickButton1"), 0);  // ACCEPT on the events page
  EXPECT_EQ(Setting("Autoslow", "SlowOnSecurity"), "true");
  EXPECT_TRUE(fe.Checked("chkOMHiRes"));
  EXPECT_EQ(Bar("sbOMMusicVolume")->GetValue(), 42);

  // CANCEL on the options page stores none of them.
  EXPECT_EQ(fe.Run("MainMenu", "ClickButton4"), kNot);
  EXPECT_EQ(Setting("App", "MusicVolume"), "<missing>");
  EXPECT_EQ(Setting("Graphics", "Resolution"), "640 480");
}

const char* const kEventBoxes[] = {"chkAPPlaneLanding", "chkAPPlaneTakeoff", "chkAPVehicleArrive",
                                   "chkAPVehicleLeave", "chkAPEmergency",   "chkAPSecurity",
                                   "chkAPSafety",       "chkAPFlightDelay", "chkAPFlightCancel",
                                   "chkAPContractOffer", "chkAPContractRenew"};

TEST_F(OptionsMenu, AutopausePage) {
  auto enabled = [&](const char* box) { return fe.Find<GUICheckBox>(box)->IsEnabled(); };
  // An empty section: every box off, the event boxes usable.
  EXPECT_EQ(fe.Run("OptionsMenu", "LoadSettings"), 0);
  for (const char* box : kEventBoxes) {
    EXPECT_FALSE(fe.Checked(box)) << box;
    EXPECT_TRUE(enabled(box)) << box;
  }
  // Always slow greys the event boxes out; a later load in per-event mode
  // makes them usable again.
  fe.config.SetValue("Autoslow", "AlwaysSlow", "true");
  EXPECT_EQ(fe.Run("OptionsMenu", "LoadAutopauseSettings"), 0);
  EXPECT_TRUE(fe.Checked("chkAPAlwaysSlow"));
  EXPECT_FALSE(enabled("chkAPSafety"));
  fe.config.SetValue("Autoslow", "AlwaysSlow", "false");
  fe.Run("OptionsMenu", "LoadAutopauseSettings");
  EXPECT_TRUE(enabled("chkAPSafety"));

  // The masters exclude each other and switch the event manager at once.
  Check("chkAPNeverSlow", true);
  EXPECT_EQ(fe.Run("OptionsMenu", "ToggleNeverSlow"), 0);
  Check("chkAPAlwaysSlow", true);
  EXPECT_EQ(fe.Run("OptionsMenu", "ToggleAlwaysSlow"), 0);
  EXPECT_FALSE(fe.Checked("chkAPNeverSlow"));
  EXPECT_EQ(fe.events->autoslow.alwaysSlow, 1);
  EXPECT_EQ(fe.events->autoslow.neverSlow, 0);
  for (const char* box : kEventBoxes) EXPECT_FALSE(enabled(box)) << box;
  Check("chkAPAlwaysSlow", false);
  fe.Run("OptionsMenu", "ToggleAlwaysSlow");
  EXPECT_EQ(fe.events->autoslow.alwaysSlow, 0);
  for (const char* box : kEventBoxes) EXPECT_TRUE(enabled(box)) << box;

  // An event row's toggle sets its switch and writes nothing.
  Check("chkAPSecurity", true);
  EXPECT_EQ(fe.Run("OptionsMenu", "togglesecurity"), 0);
  EXPECT_EQ(fe.events->autoslow.happening[static_cast<int>(Happening::Security)], 1);
  EXPECT_EQ(Setting("Autoslow", "SlowOnSecurity"), "<missing>");

  // The defaults, then applied.
  EXPECT_EQ(fe.Run("OptionsMenu", "SetDefaultEvents"), kNot);
  EXPECT_EQ(fe.Run("OptionsMenu", "ApplyAutopauseSettings"), kNot);
  struct Stored {
    const char* name;
    const char* value;
  };
  const Stored stored[] = {
      {"AlwaysSlow", "false"},          {"NeverSlow", "false"},           {"SlowOnPlaneLanding", "true"},
      {"SlowOnPlaneTakeoff", "false"},  {"SlowOnVehicleArrive", "false"}, {"SlowOnVehicleLeave", "false"},
      {"SlowOnEmergency", "true"},      {"SlowOnSecurity", "true"},       {"SlowOnSafety", "true"},
      {"SlowOnFlightDelay", "false"},   {"SlowOnFlightCancel", "false"},  {"SlowOnContractOffer", "true"},
      {"SlowOnContractRenew", "true"},
  };
  for (const Stored& s : stored) EXPECT_EQ(Setting("Autoslow", s.name), s.value) << s.name;
}

TEST(OptionsMenuWithoutItsScreen, EveryCommandSkipsTheMissingWidgets) {
  FrontEndRig fe;  // no "main.gui": none of the widgets exist
  fe.config.SetWindowSize(640, 480);
  struct Case {
    const char* command;
    int32_t result;
  };
  const Case cases[] = {
      {"ApplySettings", 0},          {"ApplyAutopauseSettings", kNot}, {"SetDefaultEvents", kNot},
      {"SetDefaultOptions", kNot},   {"LoadSettings", 0},              {"LoadAutopauseSettings", 0},
      {"ToggleAlwaysSlow", 0},       {"ToggleNeverSlow", 0},           {"TogglePlaneLanding", 0},
      {"ToggleContractRenew", 0},    {"Sing", kNot},                   {"", kNot},
  };
  for (const Case& c : cases) {
    platform::ScopedDebugCapture capture;
    EXPECT_EQ(fe.Run("OptionsMenu", c.command), c.result) << c.command;
  }
  platform::ScopedDebugCapture capture;
  fe.Run("OptionsMenu", "ApplySettings");
  EXPECT_TRUE(capture.Contains("\"gOMResBoxes\" is missing")) << capture.Text();
}

}  // namespace
}  // namespace frontend
