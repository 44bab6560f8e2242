// The build menu and the demolish dialog in a new game on the in-game rig:
// B opens the menu, a category's item button takes the road into the hand
// and Escape puts it down; a terminal placed by a click on a cell, clicked
// in demolish mode, asks first: CANCEL keeps it and DEMOLISH removes it.
#include <gtest/gtest.h>

#include <string>

#include "construction/BuildableObject.h"
#include "construction/BuildingManager.h"
#include "construction/BuildingInstances.h"
#include "construction/BuildPlacement.h"
#include "construction/tests/MousePackets.h"
#include "game/GameCamera.h"
#include "game/KV9GamePlot.h"
#include "engine/math/JVector.h"
#include "gui/core/GUIEntity.h"
#include "platform/Clock.h"
#include "platform/window/KeyCodes.h"
#include "screens/tests/InGameRig.h"
#include "simulation/StatManager.h"

namespace ingame {
namespace {

using platform::DIK_B;
using platform::DIK_DELETE;
using platform::DIK_ESCAPE;

constexpr const char* kLocation = "Harrow Bay";
constexpr float kPanelOpenX = 20.0f - 4.453125f;
// A cell on the bought land, in view of the camera: the terminal's corner.
constexpr int32_t kTerminalX = 10, kTerminalY = 8;

class BuildMenuRig : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(rig.StartNewGame(kLocation)) << rig.Failure();
    buildings = rig.Table().buildingManager;
    ASSERT_NE(buildings, nullptr);
    ASSERT_NE(rig.Table().statManager, nullptr);
    // The land purchase screen is not there yet: blocks x 0-2, y 0-3 are
    // bought through the plot itself and, as that screen's end would, the
    // camera leaves the new game's fixed view and the plot picks single
    // cells again; the camera is then aimed at the bought land.
    cKV9_GamePlot* plot = rig.Plot();
    ASSERT_NE(plot, nullptr);
    plot->BeginPurchaseSelection(0, 0);
    plot->ExtendPurchaseSelection(2, 3);
    plot->PurchaseSelection();
    ASSERT_TRUE(plot->CommitTransactions());
    cEntity_GameCamera* camera = rig.World().manager->GetGameCamera();
    ASSERT_NE(camera, nullptr);
    camera->LeaveFixedView(true, true);
    plot->SetFineGrid(true);
    float x0 = 0, z0 = 0, x1 = 0, z1 = 0;
    ASSERT_TRUE(plot->GetCellWorldRect(12, 16, &x0, &z0, &x1, &z1, true));
    camera->SetTarget(JVector((x0 + x1) * 0.5f, plot->GetOriginY(), (z0 + z1) * 0.5f));
    camera->UpdateView();
    rig.Frames(10);
  }

  double Cash() { return rig.Table().statManager->block.cash; }
  float PanelX() { return rig.Widget("scnBuildMenu")->GetPositionX(); }
  std::string InHand() {
    BOInstance* object = buildings->GetPlacementObject();
    return object && object->GetType() ? object->GetType()->GetName() : "";
  }
  // Opens the category and takes the item of that name from its buttons.
  void TakeFromMenu(const char* category, const std::string& item) {
    ASSERT_TRUE(rig.ClickWidget(category));
    for (int i = 0; i < 4; ++i) {
      const std::string button = "btnBMObject" + std::to_string(i);
      if (!rig.Visible(button)) continue;
      ASSERT_TRUE(rig.HoverWidget(button));
      if (rig.Text("sttBMName") != item) continue;
      ASSERT_TRUE(rig.ClickWidget(button));
      ASSERT_EQ(InHand(), item);
      return;
    }
    FAIL() << "no item button shows " << item;
  }
  InGameRig rig;
  cEntity_BuildingManager* buildings = nullptr;
};

TEST_F(BuildMenuRig, BOpensTheMenuAndAnItemButtonPutsTheRoadInHand) {
  EXPECT_TRUE(rig.Visible("scnInGame"));
  EXPECT_FALSE(rig.Visible("scnLoading"));
  EXPECT_FLOAT_EQ(PanelX(), 20.0f) << "closed, out of sight";

  rig.Key(DIK_B);
  rig.Frames(90);
  EXPECT_FLOAT_EQ(PanelX(), kPanelOpenX) << "slid in by its width";
  EXPECT_TRUE(rig.Visible("scnBuildMenu"));

  TakeFromMenu("btnBMCTransportation", "Road");
  EXPECT_EQ(rig.Text("sttBMCategory"), buildings->GetCategoryName(5));
  EXPECT_TRUE(rig.Visible("stcBMHighlight"));
  // The category's name is drawn in the next frame.
  bool drawn = false;
  for (const fake3d::DrawCall& call : rig.NextFrameDraws()) drawn = drawn || call.text == rig.Text("sttBMCategory");
  EXPECT_TRUE(drawn);

  // Escape puts the road down; B slides the panel out again.
  rig.Key(DIK_ESCAPE);
  EXPECT_EQ(InHand(), "");
  rig.Key(DIK_B);
  rig.Frames(90);
  EXPECT_FLOAT_EQ(PanelX(), 20.0f);
}

// The terminal goes down by a click on a cell. In demolish mode the camera,
// ahead of the plot in the input manager's mouse list, takes every packet
// that is not part of a placement, so the click on the terminal is handed to
// the building hand here as the plot hands its cells on; the dialog's two
// buttons are clicked on screen.
TEST_F(BuildMenuRig, ATerminalIsDemolishedOnlyThroughTheDialog) {
  rig.Key(DIK_B);
  rig.Frames(90);
  TakeFromMenu("btnBMCAirsideNavigation", "Terminal");
  const double cash = Cash();
  ASSERT_TRUE(rig.ClickCell(kTerminalX, kTerminalY));
  BOInstance* terminal = buildings->GetInstanceAt(kTerminalX, kTerminalY);
  ASSERT_NE(terminal, nullptr);
  EXPECT_EQ(terminal->GetType()->GetName(), "Terminal");
  EXPECT_LT(Cash(), cash);
  rig.Key(DIK_ESCAPE);
  rig.Key(DIK_B);  // the panel slides out of the way
  rig.Frames(90);
  rig.Key(DIK_DELETE);
  ASSERT_TRUE(buildings->demolishMode);

  const auto clickTerminal = [&] {
    rig.Plot()->Placement().OnCursorInput(handtest::Press(platform::GetTickCount()), kTerminalX + 1, kTerminalY + 1);
    rig.Plot()->Placement().OnCursorInput(handtest::Release(), kTerminalX + 1, kTerminalY + 1);
    rig.Frames(2);
  };
  clickTerminal();
  EXPECT_TRUE(rig.Visible("scnDemolishDlg"));
  EXPECT_EQ(buildings->GetInstanceAt(kTerminalX, kTerminalY), terminal) << "nothing goes before the answer";
  ASSERT_TRUE(rig.ClickWidget("btnDDCancel"));
  EXPECT_FALSE(rig.Visible("scnDemolishDlg"));
  EXPECT_EQ(buildings->GetInstanceAt(kTerminalX, kTerminalY), terminal);
  EXPECT_TRUE(buildings->demolishMode) << "demolish mode stays on";

  clickTerminal();
  ASSERT_TRUE(rig.Visible("scnDemolishDlg"));
  ASSERT_TRUE(rig.ClickWidget("btnDDAccept"));
  EXPECT_FALSE(rig.Visible("scnDemolishDlg"));
  EXPECT_EQ(buildings->GetInstanceAt(kTerminalX, kTerminalY), nullptr);
}

}  // namespace
}  // namespace ingame
