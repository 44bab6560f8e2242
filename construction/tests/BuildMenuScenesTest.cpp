// The build menu's per-category scenes on the real GUI: one scene per
// category, one button per type whose state follows its technology level,
// the thumbnail looks with their fallback, and the refresh after a level is
// reached.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "construction/tests/HandWorld.h"
#include "gui/core/tests/GUITestKit.h"

namespace handtest {
namespace {

struct MenuWorld : HandWorld {
  MenuWorld() {
    categories = kit.Make<GUIScene>(GUIKIND_SCENE, "scnBMCategories", nullptr, 0, 0, 0);
    recorder = kit.AddRecorder("BuildMenu");
    table().gui = &kit.gui;
  }
  ~MenuWorld() { table().gui = nullptr; }

  simkit::FakeType* Type(uint8_t cls, const char* name, uint8_t category, uint32_t tech, const char* thumb) {
    simkit::FakeType* type = buildings.Define(cls, name, 2, 2);
    type->SetCategory(category);
    type->techLevel = tech;
    type->SetThumbnail(thumb);
    return type;
  }
  GUIButton* Button(const char* scene, const char* name) {
    GUIEntity* found = categories->FindChild(scene);
    return found ? dynamic_cast<GUIButton*>(found->FindChild(name)) : nullptr;
  }
  std::string Root() { return table().entityManager->GetResourcePath(); }

  guitest::Kit kit;
  GUIEntity* categories = nullptr;
  guitest::Recorder* recorder = nullptr;
};

TEST(BuildMenuScenesTest, ButtonsFollowTheTechnologyLevels) {
  struct Case {
    const char* name;
    uint32_t tech;
    bool enabled;
  };
  const Case cases[] = {
      {"level 0 is always reached", 0, true},
      {"a level not yet reached", 3, false},
      {"the last flag", 15, false},
      {"past the sixteen flags", 16, false},
      {"far past them", 200, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MenuWorld w;
    w.Type(5, "Hall", 1, c.tech, "Interface\\Icons\\hall.jsm");
    EXPECT_EQ(w.hand().CreateBuildMenu(), 1);
    GUIButton* button = w.Button("scnBMPublic Services", "Level 1 Hall");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(*button->IsEnabledPtr() != 0, c.enabled);
    const int32_t state = c.enabled ? GUIBUTTON_NORMAL : GUIBUTTON_DISABLED;
    EXPECT_EQ(button->GetShader(), button->GetStateShader(state));
    EXPECT_FALSE(*button->IsVisiblePtr());
  }
}

TEST(BuildMenuScenesTest, OneHiddenSceneACategoryAndButtonsBoundToTheBuildMenu) {
  MenuWorld w;
  w.Type(0, "Tree", 0, 0, "tree.jsm");
  w.Type(8, "Strip", 4, 0, "strip.jsm");
  ASSERT_EQ(w.hand().CreateBuildMenu(), 1);
  // A second build replaces the first.
  ASSERT_EQ(w.hand().CreateBuildMenu(), 1);
  ASSERT_EQ(w.categories->GetChildCount(), 7);
  const char* names[] = {"scnBMScenery", "scnBMPublic Services", "scnBMAirport Support", "scnBMStorage Facilities",
                         "scnBMAirside Navigation", "scnBMTransportation", "scnBMEmergency Services"};
  for (int i = 0; i < 7; ++i) {
    GUIEntity* scene = w.categories->GetChild(i);
    EXPECT_EQ(scene->GetName(), names[i]);
    EXPECT_FALSE(*scene->IsVisiblePtr());
  }
  // The world's three pavement types have category 0 too.
  EXPECT_EQ(w.categories->FindChild("scnBMScenery")->GetChildCount(), 4);
  EXPECT_NE(w.Button("scnBMScenery", "Level 1 Tree"), nullptr);
  EXPECT_EQ(w.categories->FindChild("scnBMAirside Navigation")->GetChildCount(), 1);
  GUIButton* strip = w.Button("scnBMAirside Navigation", "Level 1 Strip");
  ASSERT_NE(strip, nullptr);
  strip->FireEvent(0, "mouse0_click");
  strip->FireEvent(0, "mouseover_enter");
  strip->FireEvent(0, "mouseover_exit");
  const std::vector<std::string> sent{"Level 1 Strip|SelectBuilding 8 0 1", "Level 1 Strip|SetHelp Level 1 Strip",
                                      "Level 1 Strip|ClearHelp"};
  EXPECT_EQ(w.recorder->log, sent);
}

TEST(BuildMenuScenesTest, AMissingThumbnailFallsBackToTheCommonButton) {
  MenuWorld w;
  const std::string root = w.Root();
  w.roads.world.renderer.refused.insert(root + "gone.jsm");
  w.roads.world.renderer.refused.insert(root + "shown_bw.jsm");
  w.Type(1, "Gone", 0, 0, "gone.jsm");
  w.Type(1, "Shown", 0, 0, "shown.jsm");
  ASSERT_EQ(w.hand().CreateBuildMenu(), 1);
  auto shaderName = [](C3DBaseShader* shader) {
    return shader ? shader->GetName() : std::string("none");
  };
  GUIButton* gone = w.Button("scnBMScenery", "Level 1 Gone");
  GUIButton* shown = w.Button("scnBMScenery", "Level 1 Shown");
  ASSERT_NE(gone, nullptr);
  ASSERT_NE(shown, nullptr);
  const std::string fallback = root + "Interface\\Common\\Button.jsm";
  EXPECT_EQ(shaderName(gone->GetStateShader(GUIBUTTON_NORMAL)), fallback);
  EXPECT_EQ(shaderName(gone->GetStateShader(GUIBUTTON_DISABLED)), root + "gone_bw.jsm");
  EXPECT_EQ(shaderName(shown->GetStateShader(GUIBUTTON_MOUSEOVER)), root + "shown.jsm");
  EXPECT_EQ(shaderName(shown->GetStateShader(GUIBUTTON_DISABLED)), fallback);
}

TEST(BuildMenuScenesTest, RefreshEnablesWhatANewLevelReachesAndRedrawsTheCategory) {
  MenuWorld w;
  w.Type(7, "Hangar", 3, 2, "hangar.jsm");
  ASSERT_EQ(w.hand().CreateBuildMenu(), 1);
  GUIButton* hangar = w.Button("scnBMStorage Facilities", "Level 1 Hangar");
  ASSERT_NE(hangar, nullptr);
  EXPECT_FALSE(*hangar->IsEnabledPtr());
  w.menu->currentCategory = 3;
  w.buildings.techFlags[2] = true;
  w.hand().RefreshBuildMenu();
  EXPECT_TRUE(*hangar->IsEnabledPtr());
  EXPECT_EQ(hangar->GetShader(), hangar->GetStateShader(GUIBUTTON_NORMAL));
  EXPECT_EQ(w.menu->calls, std::vector<std::string>{"show 3 forced"});
  w.buildings.techFlags[2] = false;
  w.hand().RefreshBuildMenu();
  EXPECT_FALSE(*hangar->IsEnabledPtr());
}

}  // namespace
}  // namespace handtest
