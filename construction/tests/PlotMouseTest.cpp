// The plot's mouse handler: the pick onto the ground, the plot's strict
// edges, the highlight, the right click that opens a building's screen, and
// the hand-over to the building hand or, in the land view, to the land
// purchase.
#include <gtest/gtest.h>

#include <string>

#include "construction/GamePlot.h"
#include "construction/tests/HandWorld.h"

namespace handtest {
namespace {

TEST(PlotMouseTest, OnlyPointsStrictlyInsideThePlotAreOnIt) {
  // The plot's default geometry: 256 x 256 world units over 40 x 40 view
  // cells of 6.4, its origin at (0, 0).
  struct Case {
    const char* name;
    float x, z;
    bool on;
    int32_t cx, cz;
  };
  const Case cases[] = {
      {"inside", 100.0f, 13.0f, true, 15, 2},
      {"on the low x edge", 0.0f, 50.0f, false, 0, 7},
      {"on the high x edge", 256.0f, 50.0f, false, 39, 7},
      {"on the low z edge", 50.0f, 0.0f, false, 7, 0},
      {"on the high z edge", 50.0f, 256.0f, false, 7, 39},
      {"just inside the high corner", 255.9f, 255.9f, true, 39, 39},
      {"far outside is clamped", -1e30f, 1e30f, false, 0, 39},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cEntity_GamePlot plot(nullptr, kEntityType_Base);
    int32_t cx = -1, cz = -1;
    EXPECT_EQ(plot.WorldPointToViewCell(c.x, c.z, &cx, &cz), c.on);
    EXPECT_EQ(cx, c.cx);
    EXPECT_EQ(cz, c.cz);
  }
}

struct MouseWorld : HandWorld {
  MouseWorld() {
    table().clientRect = platform::RECT{0, 0, 800, 600};
    cEntity_BaseCamera* camera = roads.world.camera;
    // A view looking straight down on the plot from above world (100, 100).
    camera->cEntity_BaseCamera::AttachView(&roads.world.renderer, &table().clientRect);
    camera->cEntity_BaseCamera::SetUp(JVector(0.0f, 0.0f, 1.0f));
    camera->cEntity_BaseCamera::SetPosition(JVector(100.0f, 50.0f, 100.0f));
    camera->cEntity_BaseCamera::SetTarget(JVector(100.0f, 0.0f, 100.0f));
    camera->cEntity_BaseCamera::UpdateView();
  }
  CoreStatus Mouse(MousePacket packet, int32_t x = 400, int32_t y = 300) {
    packet.x = x;
    packet.y = y;
    last = packet;
    return roads.world.plot.OnMouse(&last);
  }
  MousePacket last;
};

TEST(PlotMouseTest, ThePointerPicksTheCellBeneathItAndMovesTheHighlight) {
  MouseWorld w;
  auto& plot = w.roads.world.plot;
  EXPECT_EQ(w.Mouse(Move()), 0);
  EXPECT_TRUE(plot.IsOverPlot());
  EXPECT_TRUE(plot.GetHover());
  int32_t cx = 0, cz = 0;
  ASSERT_TRUE(plot.PickCell(&cx, &cz));
  EXPECT_EQ(cx, 15);  // 100 / 6.4
  EXPECT_EQ(cz, 15);
  EXPECT_EQ(plot.GetHighlightRect().x, 15);
  EXPECT_EQ(plot.GetHighlightRect().y, 15);
  EXPECT_EQ(plot.GetHighlightRect().w, 1);
  EXPECT_EQ(plot.GetHighlightRect().h, 1);
  // With an object in hand the highlight stays where it was.
  ASSERT_NE(w.Select(w.buildings.Define(1, "Shed", 1, 1)), nullptr);
  EXPECT_EQ(w.Mouse(Move(), 0, 0), 0);
  EXPECT_EQ(plot.GetHighlightRect().x, 15);
  // The object follows the picked cell through the hand.
  BOInstance* object = w.buildings.GetPlacementObject();
  EXPECT_FALSE(object->x == 15 && object->y == 15);
  EXPECT_EQ(w.Mouse(Move()), 0);
  EXPECT_EQ(w.buildings.GetPlacementObject()->x, 15);
  EXPECT_EQ(w.buildings.GetPlacementObject()->y, 15);
}

TEST(PlotMouseTest, ARightReleaseOverABuildingOpensItsScreen) {
  struct Case {
    const char* name;
    uint8_t classCode;
    bool building;
    const char* scene;
  };
  const Case cases[] = {
      {"a terminal", 5, true, "scnTerminal"},
      {"another building", 1, true, "scnObjectProperties"},
      {"empty ground", 1, false, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MouseWorld w;
    BOInstance* standing = nullptr;
    if (c.building) standing = w.buildings.Stand(w.buildings.Define(c.classCode, "Block", 3, 3), 14, 14);
    EXPECT_EQ(w.Mouse(Packet(0, 1, 2)), 0);
    auto& scenes = w.roads.world.widgets.visibleScenes;
    EXPECT_EQ(w.roads.world.plot.selectedBuilding, standing);
    EXPECT_EQ(scenes["scnTerminal"], c.scene && std::string(c.scene) == "scnTerminal");
    EXPECT_EQ(scenes["scnObjectProperties"], c.scene && std::string(c.scene) == "scnObjectProperties");
    // The packet goes on showing only the right button released.
    EXPECT_EQ(w.last.pressed, 0);
    EXPECT_EQ(w.last.held, 0);
    EXPECT_EQ(w.last.released, 2);
  }
}

TEST(PlotMouseTest, TheLandViewSendsTheButtonToTheLandPurchase) {
  MouseWorld w;
  w.roads.world.camera->fixedView = 1;
  auto& plot = w.roads.world.plot;
  simkit::FakeType* shed = w.buildings.Define(1, "Shed", 1, 1);
  ASSERT_NE(w.Select(shed), nullptr);
  EXPECT_EQ(w.Mouse(Press()), 0);
  EXPECT_TRUE(plot.IsPurchaseDragActive());
  // Nothing reached the building hand.
  EXPECT_TRUE(w.buildings.commits.empty());
  EXPECT_EQ(w.Mouse(Hold(), 500, 300), 0);
  EXPECT_TRUE(plot.IsPurchaseDragActive());
  EXPECT_EQ(w.Mouse(Release(), 500, 300), 0);
  EXPECT_FALSE(plot.IsPurchaseDragActive());
}

}  // namespace
}  // namespace handtest
