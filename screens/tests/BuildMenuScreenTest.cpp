// The build-menu screen and the demolish dialog on the real GUI over the
// building hand's road world: opening and closing the panel, categories
// and their item buttons, the info texts, selecting a type for placement,
// road placement, and the dialog's two words.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "construction/tests/HandWorld.h"
#include "gui/core/GUIScrollBar.h"
#include "gui/core/tests/GUITestKit.h"
#include "screens/ActionDemolishDialog.h"
#include "screens/BuildMenuScreen.h"

namespace {

constexpr CoreStatus kNotHandled = static_cast<CoreStatus>(0x80150003);

struct ScreenWorld : handtest::HandWorld {
  ScreenWorld() : HandWorld(false) {
    panel = kit.Make<GUIScene>(GUIKIND_SCENE, "scnBuildMenu", nullptr, 0, 0, 0);
    for (int i = 0; i < 4; ++i)
      kit.Make<GUIButton>(GUIKIND_BUTTON, "btnBMObject" + std::to_string(i), panel, 0, -1.0f * i, 0);
    kit.Make<GUIScrollBar>(GUIKIND_SCROLLBAR, "sbBMBuildings", panel, 0, 0, 0);
    for (const char* text : {"sttBMCategory", "sttBMName", "sttBMDimensions", "sttBMBuildCost"})
      kit.Make<GUIStaticText>(GUIKIND_STATICTEXT, text, panel, 0, 0, 0);
    kit.Make<GUIStatic>(GUIKIND_STATIC, "stcBMHighlight", panel, 0, 0, 0)->SetVisible(0);
    for (const char* button : {"btnBMCStorageFacilities", "btnIGBuildMenu", "btnIGDestroy", "btnIGInfo",
                               "btnIGContracts", "btnIGPurchaseLand", "btnIGMessages", "btnIGGameDialog"})
      kit.Make<GUIButton>(GUIKIND_BUTTON, button, nullptr, 0, 0, 0);
    table().gui = &kit.gui;
    screen = new BuildMenuScreen(&table());
    table().actionFactory->RegisterAction(screen, false);
    slide = new guitest::Recorder("MultiAction");
    table().actionFactory->RegisterAction(slide, false);
  }
  ~ScreenWorld() {
    buildings.SetPlacementObject(nullptr, true);
    table().gui = nullptr;
  }

  CoreStatus Say(const std::string& words, cEntity_Base* target = nullptr) { return screen->Execute(target, 0, words); }
  GUIEntity* Widget(const std::string& name) { return kit.gui.FindEntity(name); }
  bool Visible(const std::string& name) { return *Widget(name)->IsVisiblePtr() != 0; }
  bool Enabled(const std::string& name) { return *Widget(name)->IsEnabledPtr() != 0; }
  std::string Text(const std::string& name) { return static_cast<GUIStaticText*>(Widget(name))->GetText(); }
  // `n` types of the category, reached unless told.
  std::vector<simkit::FakeType*> Types(uint8_t cls, uint8_t category, int n, uint32_t tech = 0) {
    std::vector<simkit::FakeType*> made;
    for (int i = 0; i < n; ++i) {
      simkit::FakeType* type = buildings.Define(cls, "Type" + std::to_string(++made_), 2, 3);
      type->SetCategory(category);
      type->techLevel = tech;
      type->SetThumbnail("thumb.jsm");
      made.push_back(type);
    }
    return made;
  }

  int made_ = 0;
  guitest::Kit kit;
  GUIEntity* panel = nullptr;
  BuildMenuScreen* screen = nullptr;   // owned by the action factory
  guitest::Recorder* slide = nullptr;  // owned by the action factory
};

TEST(BuildMenuScreenTest, TogglingSlidesThePanelOnceAtATime) {
  ScreenWorld w;
  w.Types(1, 0, 2);
  EXPECT_EQ(w.Say("ToggleMenu"), 0);
  EXPECT_EQ(w.screen->currentCategory, 0u);
  EXPECT_EQ(w.screen->open, 1);
  EXPECT_TRUE(w.screen->moving);
  EXPECT_FALSE(w.Enabled("btnIGContracts"));
  ASSERT_EQ(w.slide->log.size(), 1u);
  EXPECT_EQ(w.slide->log[0], "scnBuildMenu|1 MoveWidget -4.453125 0.0 0.0 4.453125;BuildMenu SetMoving false");
  EXPECT_EQ(w.roads.world.audio.calls.back(),
            "play " + w.table().entityManager->GetResourcePath() + "Sounds\\INT_ddown.wav once 0");
  // Ignored while the panel still moves.
  EXPECT_EQ(w.Say("ToggleMenu"), 0);
  EXPECT_EQ(w.slide->log.size(), 1u);
  EXPECT_EQ(w.Say("SetMoving false"), 0);
  EXPECT_FALSE(w.screen->moving);
  EXPECT_EQ(w.Say("ToggleMenu"), 0);
  EXPECT_EQ(w.screen->open, 0);
  EXPECT_TRUE(w.Enabled("btnIGContracts"));
  EXPECT_EQ(w.slide->log.back(), "scnBuildMenu|1 MoveWidget 4.453125 0.0 0.0 4.453125;BuildMenu SetMoving false");
}

TEST(BuildMenuScreenTest, SetMovingReadsItsValueToTheNextBar) {
  struct Case {
    const char* words;
    CoreStatus answer;
    bool moving;
  };
  const Case cases[] = {
      {"SetMoving TRUE", 0, true},  {"SetMoving 1", 0, true},       {"SetMoving true|more", 0, true},
      {"SetMoving true ", 0, false}, {"setmoving false", 0, false}, {"SetMoving", kNotHandled, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words);
    ScreenWorld w;
    EXPECT_EQ(w.Say(c.words), c.answer);
    EXPECT_EQ(w.screen->moving, c.moving);
  }
}

TEST(BuildMenuScreenTest, ItemButtonsShowTheScrolledWindowOfTheCategory) {
  struct Case {
    const char* name;
    int count;
    int32_t scroll;  // the scroll bar's value after showing; -1: as shown
    std::vector<int> shown;  // item index on buttons 0-3, -1 hidden
  };
  const Case cases[] = {
      {"two items", 2, -1, {0, 1, -1, -1}},
      {"ten items at the top", 10, -1, {0, 1, 2, 3}},
      {"ten items scrolled to the end", 10, 0, {7, 8, 9, -1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScreenWorld w;
    std::vector<simkit::FakeType*> types = w.Types(9, 6, c.count);
    w.Types(9, 6, 2, 16);  // past the flags: never listed
    w.screen->ShowCategory(6, true);
    EXPECT_EQ(w.Text("sttBMCategory"), "Emergency Services");
    EXPECT_EQ(w.screen->items.size(), static_cast<size_t>(c.count));
    if (c.scroll >= 0) {
      w.screen->scrollValue[6] = c.scroll;
      EXPECT_EQ(w.Say("Update"), 0);
    }
    for (int i = 0; i < 4; ++i) {
      const std::string button = "btnBMObject" + std::to_string(i);
      EXPECT_EQ(w.Visible(button), c.shown[i] >= 0) << button;
      if (c.shown[i] < 0) continue;
      EXPECT_EQ(w.Say("MouseOver " + std::to_string(i)), 0);
      EXPECT_EQ(w.Text("sttBMName"), types[c.shown[i]]->name) << button;
    }
  }
}

TEST(BuildMenuScreenTest, TheStorageCategoryWaitsForAReachedStorageType) {
  ScreenWorld w;
  w.Types(7, 3, 1, 4);
  w.hand().EnterDemolishMode();
  EXPECT_EQ(w.Say("ActivateCategory 3"), 0);
  EXPECT_EQ(w.screen->currentCategory, BuildMenuScreen::kNoCategory);
  EXPECT_EQ(w.buildings.demolishMode, 0);
  EXPECT_EQ(w.Say("ToggleMenu"), 0);
  EXPECT_FALSE(w.Enabled("btnBMCStorageFacilities"));
  w.buildings.techFlags[4] = true;
  EXPECT_EQ(w.Say("ActivateCategory 3"), 0);
  EXPECT_EQ(w.screen->currentCategory, 3u);
  EXPECT_EQ(w.Text("sttBMCategory"), "Storage Facilities");
}

TEST(BuildMenuScreenTest, InfoTextsFollowTheHoverUnlessAnObjectIsInHand) {
  ScreenWorld w;
  simkit::FakeType* type = w.Types(10, 2, 1)[0];
  type->buildCost = 1234.5f;
  w.screen->ShowCategory(2, true);
  EXPECT_EQ(w.Say("MouseOver 0"), 0);
  EXPECT_EQ(w.Text("sttBMName"), type->name);
  EXPECT_EQ(w.Text("sttBMDimensions"), "2 x 3");
  EXPECT_EQ(w.Text("sttBMBuildCost"), "$1234.50");
  EXPECT_EQ(w.Say("MouseExit"), 0);
  EXPECT_EQ(w.Text("sttBMName"), "");
  EXPECT_EQ(w.Say("MouseOver 0"), 0);
  ASSERT_EQ(w.Say("SelectObject 0", w.Widget("btnBMObject0")), 0);
  EXPECT_EQ(w.Say("MouseExit"), 0);
  EXPECT_EQ(w.Text("sttBMName"), type->name);
  EXPECT_EQ(w.Say("ShowInfo 0"), kNotHandled);
}

TEST(BuildMenuScreenTest, SelectingAnItemPutsANewObjectInHand) {
  ScreenWorld w;
  std::vector<simkit::FakeType*> types = w.Types(8, 4, 4);
  w.screen->ShowCategory(4, true);
  w.hand().EnterDemolishMode();
  ASSERT_EQ(w.Say("SelectObject 3", w.Widget("btnBMObject3")), 0);
  BOInstance* object = w.buildings.GetPlacementObject();
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->GetType(), types[3]);
  EXPECT_EQ(w.buildings.demolishMode, 0);
  EXPECT_TRUE(w.Visible("stcBMHighlight"));
  EXPECT_FLOAT_EQ(w.Widget("stcBMHighlight")->GetPositionY(), w.Widget("btnBMObject3")->GetPositionY() - 0.078125f);
  // Below the preview until the cursor brings it onto the plot.
  EXPECT_LT(object->world.m[3][1], -200.0f);
  struct Refusal {
    const char* words;
  };
  for (const Refusal& r : {Refusal{"SelectObject 4"}, Refusal{"SelectObject"}, Refusal{"SelectBuilding 8 0 1"},
                           Refusal{"SetHelp x"}, Refusal{"ClearHelp"}, Refusal{""}}) {
    EXPECT_EQ(w.Say(r.words), kNotHandled) << r.words;
  }
  w.buildings.refuseSelection = true;
  EXPECT_EQ(w.Say("SelectObject 0"), kNotHandled);
}

TEST(BuildMenuScreenTest, RoadPlacementShowsTransportationWithARoadInHand) {
  ScreenWorld w;
  w.screen->StartRoadPlacement();
  EXPECT_EQ(w.screen->currentCategory, 5u);
  BOInstance* road = w.buildings.GetPlacementObject();
  ASSERT_NE(road, nullptr);
  EXPECT_EQ(road->GetType()->GetName(), "Road");
}

TEST(DemolishDialogTest, AcceptDemolishesAndCancelKeeps) {
  ScreenWorld w;
  ActionDemolishDialog dialog(&w.table());
  simkit::FakeType* terminal = w.buildings.Define(5, "Terminal", 3, 3);
  w.buildings.Stand(terminal, 20, 20);
  w.buildings.demolishMode = 1;
  w.Send(handtest::Press(), 21, 21);
  EXPECT_EQ(dialog.Execute(nullptr, 0, "CancelDemolish"), 0);
  EXPECT_TRUE(w.buildings.removals.empty());
  EXPECT_EQ(dialog.Execute(nullptr, 0, "Unknown"), kNotHandled);
  w.Send(handtest::Release(), 21, 21);
  w.Send(handtest::Press(), 20, 21);
  EXPECT_EQ(dialog.Execute(nullptr, 0, "AcceptDemolish"), 0);
  EXPECT_EQ(w.buildings.removals, std::vector<std::string>{"Terminal"});
  EXPECT_FALSE(w.roads.world.widgets.visibleScenes["scnDemolishDlg"]);
}

}  // namespace
