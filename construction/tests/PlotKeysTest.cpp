// The plot's in-game shortcuts: every key, its Ctrl form and its key-up
// packet, on the road world with the real GUI holding the scenes the keys
// toggle and a recording build-menu action.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "construction/GamePlot.h"
#include "construction/tests/HandWorld.h"
#include "engine/config/ConfigManager.h"
#include "gui/core/tests/GUITestKit.h"
#include "platform/Paths.h"
#include "platform/tests/ScratchDir.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationServices.h"

namespace handtest {
namespace {

constexpr CoreStatus kNotHandled = static_cast<CoreStatus>(0x80004005);
constexpr uint8_t kCtrl = eKeyMod_LeftCtrl;

// A renderer that writes a screenshot as an empty file, so the next free
// name moves on.
class ShotRenderer : public fake3d::FakeCore3D {
 public:
  bool SaveScreenshot(const std::string& fileName) override {
    saved.push_back(fileName);
    std::ofstream(fileName, std::ios::binary).flush();
    platform::ClearPathCache();
    return true;
  }
  std::vector<std::string> saved;
};

struct KeyWorld : HandWorld {
  KeyWorld() {
    for (const char* name : {"scnMap", "scnConsole", "btnIGBuildMenu", "btnBMCScenery", "btnBMCPublicServices",
                             "btnBMCAirportSupport", "btnBMCStorageFacilities", "btnBMCAirsideNavigation",
                             "btnBMCTransportation", "btnBMCEmergencyServices"}) {
      GUIEntity* made = kit.Make<GUIScene>(GUIKIND_SCENE, name, nullptr, 0, 0, 0);
      made->SetVisible(0);
    }
    table().gui = &kit.gui;
    shed = buildings.Define(1, "Shed", 2, 2);
  }
  ~KeyWorld() { table().gui = nullptr; }

  CoreStatus Key(uint8_t scan, uint8_t modifiers = 0, uint32_t released = 0) {
    KeyboardPacket packet;
    packet.scanCode = scan;
    packet.modifiers = modifiers;
    packet.released = released;
    return roads.world.plot.OnKey(&packet);
  }
  bool Visible(const char* scene) { return *kit.gui.FindEntity(scene)->IsVisiblePtr() != 0; }
  cEntity_GameCamera& Camera() { return *roads.world.camera; }
  cSimulation_Clock& Clock() { return *GameClockOf(&table()); }

  guitest::Kit kit;
  simkit::FakeType* shed = nullptr;
};

TEST(PlotKeysTest, EveryShortcutAndItsCtrlForm) {
  struct Case {
    const char* name;
    uint8_t scan;
    uint8_t modifiers;
    uint32_t released;
    std::function<void(KeyWorld&)> setup;
    CoreStatus answer;
    std::function<void(KeyWorld&)> check;
  };
  auto none = [](KeyWorld&) {};
  auto inHand = [](KeyWorld& w) { w.Select(w.shed); };
  auto menuOpen = [](KeyWorld& w) { w.menu->open = 1; };
  const Case cases[] = {
      {"a key-up packet is never handled", 0x01, 0, 1, inHand, kNotHandled,
       [](KeyWorld& w) { EXPECT_NE(w.buildings.GetPlacementObject(), nullptr); }},
      {"Ctrl+1 hides the grid lines", 0x02, kCtrl, 0, none, 0,
       [](KeyWorld& w) { EXPECT_FALSE(w.roads.world.plot.GetGridLinesVisible()); }},
      {"right Ctrl+1 shows them again", 0x02, eKeyMod_RightCtrl, 0,
       [](KeyWorld& w) { w.roads.world.plot.SetGridLinesVisible(false); }, 0,
       [](KeyWorld& w) { EXPECT_TRUE(w.roads.world.plot.GetGridLinesVisible()); }},
      {"1 alone is not a shortcut", 0x02, 0, 0, none, kNotHandled,
       [](KeyWorld& w) { EXPECT_TRUE(w.roads.world.plot.GetGridLinesVisible()); }},
      {"Ctrl+pad plus zooms in", 0x4E, kCtrl, 0, none, 0, none},
      {"Ctrl+pad minus zooms out", 0x4A, kCtrl, 0, none, 0, none},
      {"pad plus alone is the camera's", 0x4E, 0, 0, none, kNotHandled, none},
      {"Esc drops the object in hand", 0x01, 0, 0, inHand, 0,
       [](KeyWorld& w) {
         EXPECT_EQ(w.buildings.GetPlacementObject(), nullptr);
         EXPECT_FALSE(w.roads.world.widgets.visibleScenes["scnGameDialog"]);
       }},
      {"Esc leaves demolish mode", 0x01, 0, 0, [](KeyWorld& w) { w.hand().EnterDemolishMode(); }, 0,
       [](KeyWorld& w) {
         EXPECT_EQ(w.buildings.demolishMode, 0);
         EXPECT_FALSE(w.roads.world.widgets.visibleScenes["scnGameDialog"]);
       }},
      {"Esc with nothing going on opens the game menu", 0x01, 0, 0, none, 0,
       [](KeyWorld& w) { EXPECT_TRUE(w.roads.world.widgets.visibleScenes["scnGameDialog"]); }},
      {"Ctrl+Esc acts like Esc", 0x01, kCtrl, 0, none, 0,
       [](KeyWorld& w) { EXPECT_TRUE(w.roads.world.widgets.visibleScenes["scnGameDialog"]); }},
      {"Esc in the land view ends a purchase drag", 0x01, 0, 0,
       [](KeyWorld& w) {
         w.Camera().fixedView = 1;
         w.roads.world.plot.BeginPurchaseSelection(1, 1);
       },
       0,
       [](KeyWorld& w) {
         EXPECT_FALSE(w.roads.world.plot.IsPurchaseDragActive());
         EXPECT_FALSE(w.roads.world.widgets.visibleScenes["scnGameDialog"]);
       }},
      {"Tab turns the object in hand", 0x0F, 0, 0, inHand, 0,
       [](KeyWorld& w) { EXPECT_EQ(w.buildings.GetPlacementObject()->rotation, 3); }},
      {"M shows the map", 0x32, 0, 0, none, 0, [](KeyWorld& w) { EXPECT_TRUE(w.Visible("scnMap")); }},
      {"Ctrl+M acts like M", 0x32, kCtrl, 0, none, 0, [](KeyWorld& w) { EXPECT_TRUE(w.Visible("scnMap")); }},
      {"M hides a shown map", 0x32, 0, 0, [](KeyWorld& w) { w.kit.gui.FindEntity("scnMap")->SetVisible(1); }, 0,
       [](KeyWorld& w) { EXPECT_FALSE(w.Visible("scnMap")); }},
      {"M at a screen 640 wide is not handled", 0x32, 0, 0,
       [](KeyWorld& w) { w.roads.world.config.SetWindowSize(640, 480); }, kNotHandled,
       [](KeyWorld& w) { EXPECT_FALSE(w.Visible("scnMap")); }},
      {"the grave accent shows the console", 0x29, 0, 0, none, 0,
       [](KeyWorld& w) { EXPECT_TRUE(w.Visible("scnConsole")); }},
      {"the grave accent hides a shown console", 0x29, 0, 0,
       [](KeyWorld& w) { w.kit.gui.FindEntity("scnConsole")->SetVisible(1); }, 0,
       [](KeyWorld& w) { EXPECT_FALSE(w.Visible("scnConsole")); }},
      {"B toggles the build menu", 0x30, 0, 0, none, 0,
       [](KeyWorld& w) { EXPECT_EQ(w.menu->calls, std::vector<std::string>{"ToggleMenu from btnIGBuildMenu"}); }},
      {"B in the land view is used without effect", 0x30, 0, 0, [](KeyWorld& w) { w.Camera().fixedView = 1; }, 0,
       [](KeyWorld& w) { EXPECT_TRUE(w.menu->calls.empty()); }},
      {"R leaves demolish mode and starts a road", 0x13, 0, 0, [](KeyWorld& w) { w.hand().EnterDemolishMode(); }, 0,
       [](KeyWorld& w) {
         EXPECT_EQ(w.buildings.demolishMode, 0);
         EXPECT_EQ(w.menu->calls.back(), "road placement");
       }},
      {"F9 is used without effect", 0x43, 0, 0, none, 0, [](KeyWorld& w) { EXPECT_TRUE(w.menu->calls.empty()); }},
      {"F11 is used without effect", 0x57, 0, 0, none, 0, [](KeyWorld& w) { EXPECT_TRUE(w.menu->calls.empty()); }},
      {"Delete enters demolish mode and drops the object", 0xD3, 0, 0, inHand, 0,
       [](KeyWorld& w) {
         EXPECT_EQ(w.buildings.demolishMode, 1);
         EXPECT_EQ(w.buildings.GetPlacementObject(), nullptr);
       }},
      {"[ stops the clock by key", 0x1A, 0, 0, none, 0,
       [](KeyWorld& w) {
         EXPECT_EQ(w.Clock().speed, 0.0f);
         EXPECT_EQ(w.Clock().keyPause, 1);
       }},
      {"] runs it at normal speed again", 0x1B, 0, 0,
       [](KeyWorld& w) {
         w.Clock().SetSpeed(0);
         w.Clock().keyPause = 1;
       },
       0,
       [](KeyWorld& w) {
         EXPECT_EQ(w.Clock().speed, 1.0f);
         EXPECT_EQ(w.Clock().keyPause, 0);
       }},
      {"S with the menu open shows scenery", 0x1F, 0, 0, menuOpen, 0,
       [](KeyWorld& w) { EXPECT_EQ(w.menu->calls.back(), "ActivateCategory 0 from btnBMCScenery"); }},
      {"P shows public services", 0x19, 0, 0, menuOpen, 0,
       [](KeyWorld& w) { EXPECT_EQ(w.menu->calls.back(), "ActivateCategory 1 from btnBMCPublicServices"); }},
      {"A shows airport support", 0x1E, 0, 0, menuOpen, 0,
       [](KeyWorld& w) { EXPECT_EQ(w.menu->calls.back(), "ActivateCategory 2 from btnBMCAirportSupport"); }},
      {"F shows storage", 0x21, 0, 0, menuOpen, 0,
       [](KeyWorld& w) { EXPECT_EQ(w.menu->calls.back(), "ActivateCategory 3 from btnBMCStorageFacilities"); }},
      {"N shows airside navigation", 0x31, 0, 0, menuOpen, 0,
       [](KeyWorld& w) { EXPECT_EQ(w.menu->calls.back(), "ActivateCategory 4 from btnBMCAirsideNavigation"); }},
      {"T shows transportation", 0x14, 0, 0, menuOpen, 0,
       [](KeyWorld& w) { EXPECT_EQ(w.menu->calls.back(), "ActivateCategory 5 from btnBMCTransportation"); }},
      {"E shows emergency services", 0x12, 0, 0, menuOpen, 0,
       [](KeyWorld& w) { EXPECT_EQ(w.menu->calls.back(), "ActivateCategory 6 from btnBMCEmergencyServices"); }},
      {"Ctrl+T acts like T", 0x14, kCtrl, 0, menuOpen, 0,
       [](KeyWorld& w) { EXPECT_EQ(w.menu->calls.back(), "ActivateCategory 5 from btnBMCTransportation"); }},
      {"T with the menu closed is the camera's", 0x14, 0, 0, none, kNotHandled,
       [](KeyWorld& w) { EXPECT_TRUE(w.menu->calls.empty()); }},
      {"a key with no shortcut is not handled", 0x10, 0, 0, menuOpen, kNotHandled,
       [](KeyWorld& w) { EXPECT_TRUE(w.menu->calls.empty()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    KeyWorld w;
    c.setup(w);
    w.menu->calls.clear();
    EXPECT_EQ(w.Key(c.scan, c.modifiers, c.released), c.answer);
    c.check(w);
  }
}

TEST(PlotKeysTest, F5WritesTheFirstFreeScreenShotName) {
  struct Case {
    const char* name;
    std::vector<const char*> present;
    const char* written;
  };
  const Case cases[] = {
      {"none yet", {}, "ScreenShot1.bmp"},
      {"after two", {"ScreenShot1.bmp", "ScreenShot2.bmp"}, "ScreenShot3.bmp"},
      {"a gap is filled first", {"ScreenShot2.bmp"}, "ScreenShot1.bmp"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    KeyWorld w;
    ScratchDir dir;
    for (const char* file : c.present) dir.Write(file, "");
    platform::ClearPathCache();
    ShotRenderer renderer;
    w.table().SetGraphics(&renderer);
    const std::string root = w.table().entityManager->GetResourcePath();
    w.table().entityManager->SetResourcePath(dir.Root().string() + "/");
    EXPECT_EQ(w.Key(0x3F), 0);
    ASSERT_EQ(renderer.saved.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(dir.File(c.written))) << renderer.saved[0];
    for (const char* file : c.present) EXPECT_NE(renderer.saved[0], dir.File(file));
    w.table().entityManager->SetResourcePath(root);
    w.table().SetGraphics(&w.roads.world.renderer);
  }
}

}  // namespace
}  // namespace handtest
