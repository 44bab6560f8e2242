// The graphics start-up of the library manager against the test renderer:
// the display settings it reads, the mode and depth-format search, every
// failure with its message, the capability threshold and the display-mode
// restart.
#include <cstring>

#include "LibraryManagerTestUtil.h"
#include "engine/services/Core3D.h"

namespace {

using plugintest::Rig;
constexpr uint32_t kGraphics = cCore_LibraryManager::kGraphics;

using Pairs = std::vector<std::pair<const char*, const char*>>;

class LibraryManagerGraphicsTest : public Rig {
 protected:
  // Sets only the renderer switches of one case, and gives it its own
  // configuration: the rig's paths and version window, an 800 x 600 window,
  // then the case's "Graphics" settings.
  void PrepareCase(const Pairs& switches, const Pairs& settings, cCore_ConfigManager* caseConfig) {
    for (const char* name : plugintest::kSwitches) unsetenv(name);
    for (const auto& [name, value] : switches) Switch(name, value);
    for (const char* key : {"library_path", "resource_path", "MaxVersion", "MinVersion"}) {
      std::string value;
      config.GetString("App", key, value);
      caseConfig->SetValue("App", key, value);
    }
    caseConfig->SetWindowSize(800, 600);
    caseConfig->SetWindowed(true);
    for (const auto& [name, value] : settings) caseConfig->SetValue("Graphics", name, value);
  }
};

struct FailureCase {
  const char* name;
  Pairs switches;
  Pairs settings;  // section "Graphics"
  const char* message;  // null: fails without a message
};

TEST_F(LibraryManagerGraphicsTest, EveryStartFailureShowsItsMessageAndEmptiesTheSlot) {
  const FailureCase cases[] = {
      {"renderer does not start", {{"FAKE_GFX_INIT", "0"}}, {}, nullptr},
      {"no adapter", {{"FAKE_GFX_ADAPTERS", "0"}}, {}, cCore_LibraryManager::kNoAdapterMessage},
      {"size without a mode", {}, {{"fullscreen", "true"}, {"resolution", "1152 864"}}, cCore_LibraryManager::kNoModeMessage},
      {"no standard size of 32 or 16 bits",
       {{"FAKE_GFX_MODES", "1024,768,8,8,8,0,0;640,480,5,5,5,0,0"}},
       {{"fullscreen", "1"}, {"resolution", "1024 768"}},
       cCore_LibraryManager::kNoModeMessage},
      {"no desktop mode and no full-screen mode",
       {{"FAKE_GFX_DESKTOP", "-1"}},
       {{"resolution", "1152 864"}},
       cCore_LibraryManager::kNoModeMessage},
      {"no depth format", {{"FAKE_GFX_DEPTHS", "none"}}, {}, cCore_LibraryManager::kNoPixelFormatMessage},
      {"device creation fails", {{"FAKE_GFX_CREATE", "0"}}, {}, cCore_LibraryManager::kNoPixelFormatMessage},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    cCore_ConfigManager caseConfig;
    PrepareCase(c.switches, c.settings, &caseConfig);
    cCore_GlobalWrapper caseTable;
    cCore_LibraryManager caseManager;
    messages.clear();
    capture.Clear();
    EXPECT_EQ(caseManager.Init(kGraphics, &caseConfig, &caseTable), status::Fail);
    EXPECT_EQ(caseTable.graphics, nullptr);
    if (c.message) {
      ASSERT_EQ(messages.size(), 1u);
      EXPECT_EQ(messages[0], c.message);
      EXPECT_TRUE(Logged("gfx Shutdown"));  // rolled back
      EXPECT_TRUE(Logged("gfx FreeModeList"));
    } else {
      EXPECT_TRUE(messages.empty());
    }
    caseTable.ClearConfigOptions();
    caseManager.Shutdown(&caseTable);
  }
  EXPECT_EQ(std::string(cCore_LibraryManager::kNoAdapterMessage),
            "[cCore_LibraryManager::LoadGraphics] Unable to find a graphics adapter.  Quitting.");
  EXPECT_EQ(std::string(cCore_LibraryManager::kNoModeMessage),
            "[cLibraryHandler::ServiceInitGraphics] Unable to find a valid mode for adapter 0.  Quitting.");
  EXPECT_EQ(std::string(cCore_LibraryManager::kNoPixelFormatMessage),
            "[cLibraryHandler::ServiceInitGraphics] Unable to find a suitable pixel format, graphics init failed.\n");
}

struct ModeCase {
  const char* name;
  Pairs switches;
  Pairs settings;
  const char* device;  // the block the device is created from
  bool windowedAllowed;
};

TEST_F(LibraryManagerGraphicsTest, ChoosesTheModeAndDepthFormat) {
  const char* kModes = "1024,768,8,8,8,0,8;800,600,5,6,5,0,0;800,600,8,8,8,0,8;640,480,5,6,5,0,0";
  const ModeCase cases[] = {
      // A window shares the desktop mode, also when that is mode 0.
      {"window in desktop mode 0", {{"FAKE_GFX_MODES", kModes}}, {},
       "windowed=1 800x600 bits=8.8.8.0.8 depth=24/8/0 ms=0 bb=1", true},
      {"window in desktop mode 3", {{"FAKE_GFX_MODES", kModes}, {"FAKE_GFX_DESKTOP", "3"}}, {},
       "windowed=1 800x600 bits=5.6.5.0.0 depth=24/8/0 ms=0 bb=1", true},
      // No desktop mode: full screen, and a window is no longer allowed.
      {"no desktop mode", {{"FAKE_GFX_MODES", kModes}, {"FAKE_GFX_DESKTOP", "-1"}}, {},
       "windowed=0 800x600 bits=8.8.8.0.8 depth=24/8/0 ms=0 bb=1", false},
      {"desktop mode past the list", {{"FAKE_GFX_MODES", kModes}, {"FAKE_GFX_DESKTOP", "4"}}, {},
       "windowed=0 800x600 bits=8.8.8.0.8 depth=24/8/0 ms=0 bb=1", false},
      // Full screen prefers 32 bits, then 16, from the configured size down.
      {"full screen 32 bits", {{"FAKE_GFX_MODES", kModes}}, {{"fullscreen", "TRUE"}},
       "windowed=0 800x600 bits=8.8.8.0.8 depth=24/8/0 ms=0 bb=1", true},
      {"full screen 16 bits", {{"FAKE_GFX_MODES", kModes}}, {{"fullscreen", "1"}, {"resolution", "640 480"}},
       "windowed=0 640x480 bits=5.6.5.0.0 depth=24/8/0 ms=0 bb=1", true},
      {"size missing, next size down", {{"FAKE_GFX_MODES", "800,600,5,6,5,0,0;640,480,8,8,8,0,8"}},
       {{"fullscreen", "true"}, {"resolution", "1024 768"}},
       "windowed=0 1024x768 bits=5.6.5.0.0 depth=24/8/0 ms=0 bb=1", true},
      {"more colour bits replace the first match",
       {{"FAKE_GFX_MODES", "800,600,4,4,4,4,16;800,600,8,8,8,8,0;800,600,8,8,8,0,8"}},
       {{"fullscreen", "true"}},
       "windowed=0 800x600 bits=8.8.8.8.0 depth=24/8/0 ms=0 bb=1", true},
      // Any other value of "fullscreen" keeps a window.
      {"fullscreen yes is a window", {{"FAKE_GFX_MODES", kModes}}, {{"fullscreen", "yes"}},
       "windowed=1 800x600 bits=8.8.8.0.8 depth=24/8/0 ms=0 bb=1", true},
      // Depth formats in their fixed order.
      {"depth order", {{"FAKE_GFX_MODES", kModes}, {"FAKE_GFX_DEPTHS", "16/0/0,15/1/0"}}, {},
       "windowed=1 800x600 bits=8.8.8.0.8 depth=15/1/0 ms=0 bb=1", true},
      // A window whose depth test fails is tried anyway, and then falls back to
      // no device: covered by the failure cases; here the desktop test passes.
  };
  for (const ModeCase& c : cases) {
    SCOPED_TRACE(c.name);
    cCore_ConfigManager caseConfig;
    PrepareCase(c.switches, c.settings, &caseConfig);
    cCore_GlobalWrapper caseTable;
    cCore_LibraryManager caseManager;
    capture.Clear();
    ASSERT_EQ(caseManager.Init(kGraphics, &caseConfig, &caseTable), status::Ok);
    EXPECT_NE(caseTable.graphics, nullptr);
    EXPECT_EQ(LastCreateDevice(), c.device);
    EXPECT_EQ(caseConfig.IsWindowedAllowed(), c.windowedAllowed);
    // The block that started is kept for a later restart.
    EXPECT_EQ(0, std::memcmp(caseConfig.GetSavedDisplaySettings(), caseConfig.GetDisplaySettings(),
                             sizeof(DisplaySettings)));
    EXPECT_LT(LineIndex("gfx CreateDevice"), LineIndex("gfx RenderFrame"));
    caseTable.ClearConfigOptions();
    caseManager.Shutdown(&caseTable);
  }
}

TEST_F(LibraryManagerGraphicsTest, ReadsTheResolutionAndMetricsSettings) {
  struct ResolutionCase {
    const char* value;
    int32_t width, height;
  };
  const ResolutionCase cases[] = {
      {"1024 768", 1024, 768}, {"  640   480 ", 640, 480}, {"1024", 800, 600}, {"0 600", 800, 600},
      {"800 0", 800, 600},     {"-5 600", 800, 600},        {"wide tall", 800, 600}, {"", 800, 600},
  };
  for (const ResolutionCase& c : cases) {
    SCOPED_TRACE(c.value);
    config.SetWindowSize(800, 600);
    config.SetValue("Graphics", "resolution", c.value);
    cCore_GlobalWrapper caseTable;
    cCore_LibraryManager caseManager;
    ASSERT_EQ(caseManager.Init(kGraphics, &config, &caseTable), status::Ok);
    EXPECT_EQ(config.GetWidth(), c.width);
    EXPECT_EQ(config.GetHeight(), c.height);
    caseTable.ClearConfigOptions();
    caseManager.Shutdown(&caseTable);
  }

  config.SetValue("Graphics", "metrics", "1");
  config.SetValue("Graphics", "metric_placement", "5");
  capture.Clear();
  ASSERT_EQ(manager.Init(kGraphics, &config, &table), status::Ok);
  EXPECT_TRUE(Logged("gfx ApplyConfig gfx_metrics=true"));
  EXPECT_TRUE(Logged("gfx ApplyConfig gfx_metric_placement=5"));
  CoreBaseConfigMap* options = nullptr;
  table.graphics->GetConfig(&options);
  ASSERT_NE(options, nullptr);
  ASSERT_EQ(options->count("gfx_metric_placement"), 1u);
  const CoreBaseConfig& placement = *options->at("gfx_metric_placement");
  EXPECT_EQ(placement.defaultValue, "0");
  EXPECT_EQ(placement.type, "int");
  EXPECT_EQ(placement.description, "Metric Placement");
  EXPECT_EQ(placement.max_range, "7");
}

TEST_F(LibraryManagerGraphicsTest, MinimumCapabilitiesNeedBothValuesAtLeast0xFFFF) {
  struct CapsCase {
    const char* caps;
    bool meets;
  };
  const CapsCase cases[] = {
      {"0,65535,65535,0", true}, {"0,0x10000,0xFFFFFFFF,0", true}, {"0,65534,65535,0", false},
      {"0,65535,65534,0", false}, {"0,0,0,0", false},
  };
  for (const CapsCase& c : cases) {
    SCOPED_TRACE(c.caps);
    Switch("FAKE_GFX_CAPS", c.caps);
    cCore_GlobalWrapper caseTable;
    cCore_LibraryManager caseManager;
    ASSERT_EQ(caseManager.Init(kGraphics, &config, &caseTable), status::Ok);
    EXPECT_EQ(MeetsMinimumGraphicsCapabilities(caseTable.graphics), c.meets);
    caseTable.ClearConfigOptions();
    caseManager.Shutdown(&caseTable);
  }
  EXPECT_FALSE(MeetsMinimumGraphicsCapabilities(nullptr));
}

TEST_F(LibraryManagerGraphicsTest, ToggleRestartsOnlyTheDeviceInTheOtherMode) {
  ASSERT_EQ(manager.Init(plugintest::kGameMask, &config, &table), status::Ok);
  Core3D* graphics = table.graphics;
  const size_t libraries = manager.GetLibraries().size();
  const size_t classes = manager.GetClasses().size();
  capture.Clear();

  ASSERT_EQ(config.ToggleDisplayMode(&table), status::Ok);
  EXPECT_EQ(table.graphics, graphics);  // the same module, a new device
  EXPECT_FALSE(config.IsWindowed());
  EXPECT_EQ(LastCreateDevice(), "windowed=0 800x600 bits=8.8.8.0.8 depth=24/8/0 ms=0 bb=1");
  EXPECT_FALSE(Logged("gfx Init"));
  EXPECT_FALSE(Logged("snd Start"));
  // The rescan recognised every library it already held.
  EXPECT_EQ(manager.GetLibraries().size(), libraries);
  EXPECT_EQ(manager.GetClasses().size(), classes);

  ASSERT_EQ(config.ToggleDisplayMode(&table), status::Ok);
  EXPECT_TRUE(config.IsWindowed());
  EXPECT_TRUE(messages.empty());
}

TEST_F(LibraryManagerGraphicsTest, AFailedToggleReturnsToThePreviousMode) {
  config.SetValue("Graphics", "fullscreen", "true");
  ASSERT_EQ(manager.Init(plugintest::kGameMask, &config, &table), status::Ok);
  const DisplaySettings before = *config.GetDisplaySettings();
  ASSERT_FALSE(config.IsWindowed());

  // Windows stop working: going to a window fails, the full-screen mode is
  // started again, and nobody is told.
  Switch("FAKE_GFX_WINDOWED", "0");
  capture.Clear();
  EXPECT_EQ(config.ToggleDisplayMode(&table), 1);
  ASSERT_NE(table.graphics, nullptr);
  EXPECT_FALSE(config.IsWindowed());
  EXPECT_EQ(0, std::memcmp(&before, config.GetDisplaySettings(), sizeof(DisplaySettings)));
  EXPECT_EQ(LastCreateDevice(), "windowed=0 800x600 bits=8.8.8.0.8 depth=24/8/0 ms=0 bb=1");
  EXPECT_TRUE(messages.empty());

  // Now the device cannot be made at all: the message is shown once and the
  // slot is left empty so the program quits.
  Switch("FAKE_GFX_CREATE", "0");
  EXPECT_EQ(config.ToggleDisplayMode(&table), status::Fail);
  EXPECT_EQ(table.graphics, nullptr);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], cCore_LibraryManager::kNoPixelFormatMessage);
}

}  // namespace
