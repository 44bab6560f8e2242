// The simulation's widget requests on the GUI service's real widget tree.
#include <gtest/gtest.h>

#include "engine/files/StringHolder.h"
#include "game/GuiSimulationWidgets.h"
#include "game/tests/GameTestWorld.h"
#include "gui/core/GUIMLTextBox.h"
#include "gui/core/GUIScene.h"
#include "gui/core/GUIStaticText.h"
#include "gui/core/GUIWorld.h"
#include "gui/plugin/GUI.h"

namespace gametest {
namespace {

TEST(GuiSimulationWidgets, LabelsScenesAndTextBoxes) {
  GameWorld w;
  GUI gui;
  gui.SetEntityManagerRef(&w.table.entityManager);
  cEntity_Manager* em = w.table.entityManager;
  // Made here, so deleted here (children first).
  auto* label = new GUIStaticText(em);
  auto* box = new GUIMLTextBox(em);
  auto* scene = new GUIScene(em);
  auto* world = new GUIWorld(em);
  label->SetName("sttIGTemp");
  box->SetName("mltBody");
  scene->SetName("scnNotice");
  world->SetName("TheWorld");
  scene->AddChild(box, true);
  world->AddChild(scene, true);
  world->AddChild(label, true);
  gui.SetWorld(world);
  w.table.SetGUI(&gui);

  SimulationWidgets* before = GetSimulationWidgets();
  {
    GuiSimulationWidgets widgets(&w.table);
    ASSERT_EQ(GetSimulationWidgets(), &widgets);
    StringHolder* holder = nullptr;
    StringHolder::Get(holder) = "21 C";
    widgets.BindText("STTIGTEMP", holder);
    EXPECT_EQ(label->GetText(), "21 C");
    *holder->text = "22 C";
    EXPECT_EQ(label->GetText(), "22 C");
    label->UnbindText();
    StringHolder::Release(holder);

    widgets.ShowScene("scnNotice", false);
    EXPECT_EQ(*scene->IsVisiblePtr(), 0);
    widgets.ShowScene("scnNotice", true);
    EXPECT_EQ(*scene->IsVisiblePtr(), 1);
    widgets.SetMultiLineText("scnNotice", "mltBody", "Runway closed");
    EXPECT_EQ(box->GetText(), "Runway closed");
    // Widgets that do not exist change nothing.
    widgets.ShowScene("scnMissing", true);
    widgets.SetMultiLineText("scnNotice", "mltMissing", "x");
    widgets.BindText("sttMissing", nullptr);
    widgets.SetSliderValue("sldSpeed", 3);
  }
  EXPECT_EQ(GetSimulationWidgets(), before);
  w.table.SetGUI(nullptr);
  gui.SetWorld(nullptr);
  world->RemoveAllChildren();
  scene->RemoveAllChildren();
  delete box;
  delete scene;
  delete label;
  delete world;
}

}  // namespace
}  // namespace gametest
