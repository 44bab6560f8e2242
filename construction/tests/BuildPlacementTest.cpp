// The building hand through mouse packets on the road world: strips of
// road, taxiway and apron, the preview that follows the cursor, commits with
// their build sounds, Shift placement, cancel and turn, double clicks, and
// demolition with its dialog and removal drags.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "construction/GamePlot.h"
#include "construction/tests/HandWorld.h"
#include "scene/KV9InputManager.h"

namespace handtest {
namespace {

TEST(BuildPlacementTest, RoadDragsLayTheLongerAxisFromTheAnchor) {
  struct Case {
    const char* name;
    int x0, y0, x1, y1;
    const char* drawn;  // rows 8..14 of columns 8..14
  };
  const Case cases[] = {
      {"wider than tall keeps the anchor row", 10, 10, 14, 12,
       "......./......./..-----/......./......./......./......."},
      {"taller than wide keeps the anchor column", 10, 10, 12, 14,
       "......./......./..|..../..|..../..|..../..|..../..|...."},
      {"a square drag runs along y", 10, 10, 13, 13,
       "......./......./..|..../..|..../..|..../..|..../......."},
      {"a drag back toward -x starts at the pointer", 14, 10, 10, 10,
       "......./......./..-----/......./......./......./......."},
      {"press and release on one cell lays it alone", 11, 11, 11, 11,
       "......./......./......./...o.../......./......./......."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HandWorld w;
    ASSERT_NE(w.Select(static_cast<simkit::FakeType*>(w.buildings.GetBuildingType(4, 0, 1))), nullptr);
    w.Drag(c.x0, c.y0, c.x1, c.y1);
    EXPECT_EQ(w.roads.Draw(8, 8, 14, 14), c.drawn);
    // The road stays in hand for the next strip.
    EXPECT_NE(w.buildings.GetPlacementObject(), nullptr);
    EXPECT_FALSE(w.hand().IsDragging());
  }
}

TEST(BuildPlacementTest, TaxiwayAndApronStripsMarkTheirCells) {
  struct Case {
    const char* name;
    uint16_t id;
    uint32_t content;
  };
  for (const Case& c : {Case{"taxiway", 1, 0xF4}, Case{"apron", 2, 0xF8}}) {
    SCOPED_TRACE(c.name);
    HandWorld w;
    ASSERT_NE(w.Select(static_cast<simkit::FakeType*>(w.buildings.GetBuildingType(4, c.id, 1))), nullptr);
    w.Drag(20, 5, 20, 9);
    auto& plot = w.roads.world.plot;
    for (int y = 5; y <= 9; ++y) EXPECT_EQ(plot.GetCellWord(y * plot.width + 20), c.content) << y;
    EXPECT_EQ(plot.GetCellWord(10 * plot.width + 20), 0xFFu);
    EXPECT_EQ(plot.GetCellWord(5 * plot.width + 21), 0xFFu);
  }
}

TEST(BuildPlacementTest, ARoadTheCashCannotPayIsDiscarded) {
  HandWorld w;
  ASSERT_NE(w.Select(static_cast<simkit::FakeType*>(w.buildings.GetBuildingType(4, 0, 1))), nullptr);
  w.SetCash(25.0);  // two cells at 10 each, not five
  w.Drag(10, 10, 14, 10);
  EXPECT_EQ(w.roads.Draw(9, 10, 15, 10), ".......");
  EXPECT_DOUBLE_EQ(w.roads.Cash(), 25.0);
}

TEST(BuildPlacementTest, TheStripPreviewFollowsTheDragAndShrinksBackOnRelease) {
  HandWorld w;
  BOInstance* road = w.Select(static_cast<simkit::FakeType*>(w.buildings.GetBuildingType(4, 0, 1)));
  ASSERT_NE(road, nullptr);
  auto& plot = w.roads.world.plot;
  w.Send(Press(), 3, 4);
  w.Send(Hold(), 9, 5);
  EXPECT_TRUE(w.hand().IsDragging());
  EXPECT_EQ(plot.GetAreaPreview().x, 3);
  EXPECT_EQ(plot.GetAreaPreview().y, 4);
  EXPECT_EQ(plot.GetAreaPreview().w, 7);
  EXPECT_EQ(plot.GetAreaPreview().h, 1);
  EXPECT_EQ(w.hand().GetPreviewWidth(), 7);
  EXPECT_EQ(w.hand().GetPreviewLength(), 1);
  EXPECT_NE(w.hand().GetPreviewMesh(), nullptr);
  EXPECT_EQ(road->x, 3);
  EXPECT_EQ(road->y, 4);
  w.Send(Release(), 9, 5);
  EXPECT_EQ(plot.GetAreaPreview().x, 9);
  EXPECT_EQ(plot.GetAreaPreview().y, 5);
  EXPECT_EQ(plot.GetAreaPreview().w, 1);
  EXPECT_EQ(plot.GetAreaPreview().h, 1);
  // A plain move afterwards follows the pointer again.
  w.Send(Move(), 12, 13);
  EXPECT_EQ(road->x, 12);
  EXPECT_EQ(road->y, 13);
  EXPECT_EQ(plot.GetAreaPreview().x, 12);
  EXPECT_EQ(plot.GetAreaPreview().y, 13);
  EXPECT_EQ(plot.GetAreaPreview().w, 1);
}

TEST(BuildPlacementTest, ABuildingPreviewFollowsTheCursorAndShowsTheTest) {
  HandWorld w;
  simkit::FakeType* shed = w.buildings.Define(1, "Shed", 2, 3);
  BOInstance* object = w.Select(shed);
  ASSERT_NE(object, nullptr);
  auto& plot = w.roads.world.plot;
  EXPECT_FALSE(plot.GetHighlightVisible());
  EXPECT_TRUE(plot.GetBuildingGridVisible());
  w.buildings.refused.insert({7, 7});
  struct Step {
    int x, y;
    bool valid;
  };
  for (const Step& s : {Step{5, 6, true}, Step{7, 7, false}, Step{8, 7, true}}) {
    w.Send(Move(), s.x, s.y);
    EXPECT_EQ(object->x, s.x);
    EXPECT_EQ(object->y, s.y);
    EXPECT_EQ(plot.GetPreviewObject(), object);
    EXPECT_EQ(plot.IsPreviewValid(), s.valid) << s.x << "," << s.y;
    // Raised above the ground so the plot's overlays do not hide it.
    EXPECT_FLOAT_EQ(object->world.m[3][1], plot.GetGroundHeight() + 0.02f);
  }
}

TEST(BuildPlacementTest, ACommitChargesNothingOnARefusedCellAndEndsPlacementOnAValidOne) {
  HandWorld w;
  simkit::FakeType* shed = w.buildings.Define(1, "Shed", 2, 2);
  ASSERT_NE(w.Select(shed), nullptr);
  w.buildings.refused.insert({4, 4});
  w.Send(Press(), 4, 4);
  EXPECT_TRUE(w.buildings.commits.empty());
  EXPECT_TRUE(w.roads.world.audio.calls.empty());
  w.Send(Press(), 6, 6);
  ASSERT_EQ(w.buildings.commits, std::vector<std::string>{"Shed 1 at 6,6"});
  EXPECT_EQ(w.buildings.GetPlacementObject(), nullptr);
  EXPECT_EQ(w.buildings.GetInstanceAt(7, 7), shed->instances.back().get());
  // Lowered back onto the ground once placed.
  EXPECT_FLOAT_EQ(shed->instances.back()->world.m[3][1], w.roads.world.plot.GetGroundHeight());
  EXPECT_EQ(w.menu->calls.back(), "refresh info");
  EXPECT_TRUE(w.roads.world.plot.GetHighlightVisible());
}

TEST(BuildPlacementTest, TheBuildSoundFollowsTheFootprintArea) {
  struct Case {
    const char* name;
    uint16_t w, l;
    const char* sound;
  };
  const Case cases[] = {
      {"36 cells", 6, 6, "Sounds\\INT_buildsm.wav"},
      {"37 cells", 37, 1, "Sounds\\INT_buildmed.wav"},
      {"144 cells", 12, 12, "Sounds\\INT_buildmed.wav"},
      {"145 cells", 29, 5, "Sounds\\INT_buildlg.wav"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HandWorld w;
    simkit::FakeType* type = w.buildings.Define(1, "Block", c.w, c.l);
    type->SetSound("Hum");
    ASSERT_NE(w.Select(type), nullptr);
    w.Send(Press(), 1, 1);
    const std::string root = w.table().entityManager->GetResourcePath();
    const std::vector<std::string> expected{"play " + root + c.sound + " once 0", "building Hum"};
    EXPECT_EQ(w.roads.world.audio.calls, expected);
  }
}

TEST(BuildPlacementTest, ShiftKeepsPlacingWhileTheCashExceedsTheCost) {
  struct Case {
    const char* name;
    bool shift;
    double cash;
    bool placing;
  };
  const Case cases[] = {
      {"shift and more cash than the cost", true, 1001.0, true},
      {"shift and exactly the cost", true, 1000.0, false},
      {"no shift", false, 1e6, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HandWorld w;
    cKV9_InputManager input;
    input.shiftHeld = c.shift ? 1 : 0;
    w.table().inputManager = &input;
    simkit::FakeType* shed = w.buildings.Define(1, "Shed", 1, 1);
    shed->buildCost = 1000.0f;
    w.SetCash(c.cash);
    BOInstance* first = w.Select(shed);
    w.Send(Press(), 9, 9);
    BOInstance* next = w.buildings.GetPlacementObject();
    EXPECT_EQ(next != nullptr, c.placing);
    if (next) {
      EXPECT_NE(next, first);
      EXPECT_EQ(next->x, 9);
      EXPECT_EQ(next->y, 9);
    }
    // The placed one stays placed either way.
    EXPECT_EQ(w.buildings.GetInstanceAt(9, 9), first);
    w.table().inputManager = nullptr;
  }
}

TEST(BuildPlacementTest, RightPressCancelsAndMiddlePressTurns) {
  HandWorld w;
  simkit::FakeType* shed = w.buildings.Define(1, "Shed", 2, 3);
  BOInstance* object = w.Select(shed);
  ASSERT_NE(object, nullptr);
  w.Send(MiddlePress(), 5, 5);
  EXPECT_EQ(object->rotation, 3);
  // The same event again is a repeat and is dropped.
  w.Send(MiddlePress(), 5, 5);
  EXPECT_EQ(object->rotation, 3);
  w.Send(MiddlePress(), 6, 5);
  EXPECT_EQ(object->rotation, 2);
  w.buildings.demolishMode = 1;
  const double cash = w.roads.Cash();
  w.Send(RightPress(), 6, 5);
  EXPECT_EQ(w.buildings.GetPlacementObject(), nullptr);
  EXPECT_EQ(w.buildings.demolishMode, 0);
  EXPECT_TRUE(w.buildings.commits.empty());
  EXPECT_DOUBLE_EQ(w.roads.Cash(), cash);
}

TEST(BuildPlacementTest, RoadsDoNotTurn) {
  HandWorld w;
  BOInstance* road = w.Select(static_cast<simkit::FakeType*>(w.buildings.GetBuildingType(4, 0, 1)));
  ASSERT_NE(road, nullptr);
  w.Send(MiddlePress(), 5, 5);
  EXPECT_EQ(road->rotation, 0);
}

TEST(BuildPlacementTest, ASecondClickWithinTheTimeIsADoubleClick) {
  HandWorld w;
  simkit::FakeType* shed = w.buildings.Define(1, "Shed", 2, 2);
  simkit::FakeInstance* a = w.buildings.Stand(shed, 10, 10);
  simkit::FakeInstance* b = w.buildings.Stand(shed, 20, 20);
  struct Step {
    const char* name;
    int x, y;
    uint32_t time;
    BOInstance* last;
    uint32_t lastTime;
  };
  const Step steps[] = {
      {"first click", 10, 10, 100, a, 100},
      {"second click 9999 later is a double click", 11, 11, 10099, a, 100},
      {"a click 10000 after the first is a new first click", 10, 11, 10100, a, 10100},
      {"another building", 20, 20, 10200, b, 10200},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    w.Send(Press(s.time), s.x, s.y);
    w.Send(Release(), s.x, s.y);
    EXPECT_EQ(w.hand().LastClicked(), s.last);
    EXPECT_EQ(w.hand().LastClickTime(), s.lastTime);
  }
}

TEST(BuildPlacementTest, DemolishingALargeBuildingWaitsForTheDialog) {
  HandWorld w;
  auto& scenes = w.roads.world.widgets.visibleScenes;
  simkit::FakeType* terminal = w.buildings.Define(5, "Terminal", 4, 4);
  simkit::FakeType* shed = w.buildings.Define(1, "Shed", 2, 2);
  w.buildings.Stand(terminal, 30, 30);
  w.buildings.Stand(shed, 40, 40);
  w.buildings.demolishMode = 1;

  w.Send(Press(), 31, 31);
  EXPECT_TRUE(scenes["scnDemolishDlg"]);
  EXPECT_TRUE(w.buildings.removals.empty());
  w.hand().CancelDemolish();
  EXPECT_FALSE(scenes["scnDemolishDlg"]);
  EXPECT_NE(w.buildings.GetInstanceAt(31, 31), nullptr);
  // Accepting with nothing held does nothing.
  w.hand().AcceptDemolish();
  EXPECT_TRUE(w.buildings.removals.empty());

  w.Send(Release(), 31, 31);
  w.Send(Press(), 32, 32);
  EXPECT_TRUE(scenes["scnDemolishDlg"]);
  w.hand().AcceptDemolish();
  EXPECT_FALSE(scenes["scnDemolishDlg"]);
  EXPECT_EQ(w.buildings.removals, std::vector<std::string>{"Terminal"});
  EXPECT_EQ(w.buildings.GetInstanceAt(31, 31), nullptr);

  // A small building goes at once.
  w.Send(Press(), 40, 40);
  EXPECT_EQ(w.buildings.removals, (std::vector<std::string>{"Terminal", "Shed"}));
}

TEST(BuildPlacementTest, RemovalDragsTakeOutTheRectangleOfTheirKind) {
  struct Case {
    const char* name;
    uint16_t id;  // the pavement type laid first
    uint32_t content;
  };
  for (const Case& c : {Case{"road", 0, 0xF1}, Case{"taxiway", 1, 0xF4}, Case{"apron", 2, 0xF8}}) {
    SCOPED_TRACE(c.name);
    HandWorld w;
    ASSERT_NE(w.Select(static_cast<simkit::FakeType*>(w.buildings.GetBuildingType(4, c.id, 1))), nullptr);
    w.Drag(10, 20, 20, 20);
    w.hand().SetPlacementObject(nullptr, true);
    auto& plot = w.roads.world.plot;
    ASSERT_EQ(plot.GetCellWord(20 * plot.width + 12), c.content);
    ASSERT_TRUE(w.hand().EnterDemolishMode());
    w.Send(Press(), 12, 20);
    EXPECT_TRUE(w.hand().IsRemovalDragging());
    w.Send(Hold(), 15, 21);
    // The preview spans anchor to pointer: lower corner and distances.
    EXPECT_EQ(plot.GetHighlightRect().x, 12);
    EXPECT_EQ(plot.GetHighlightRect().y, 20);
    EXPECT_EQ(plot.GetHighlightRect().w, 3);
    EXPECT_EQ(plot.GetHighlightRect().h, 1);
    w.Send(Release(), 15, 21);
    EXPECT_FALSE(w.hand().IsRemovalDragging());
    for (int x = 10; x <= 20; ++x) {
      const bool removed = x >= 12 && x <= 15;
      EXPECT_EQ(plot.GetCellWord(20 * plot.width + x), removed ? 0xFFu : c.content) << x;
    }
  }
}

TEST(BuildPlacementTest, EventsOnLandNotOwnedAreDropped) {
  HandWorld w;
  simkit::FakeType* shed = w.buildings.Define(1, "Shed", 1, 1);
  ASSERT_NE(w.Select(shed), nullptr);
  auto& plot = w.roads.world.plot;
  plot.cells[5 * plot.width + 5].content = 0;
  w.Send(Press(), 5, 5);
  w.Send(Press(), -1, 3);
  w.Send(Press(), 3, plot.height);
  EXPECT_TRUE(w.buildings.commits.empty());
}

TEST(BuildPlacementTest, TheFixedLandViewDrawsNoPavement) {
  struct Case {
    const char* name;
    uint8_t fixedView;
    bool drawn;
  };
  for (const Case& c : {Case{"game view", 0, true}, Case{"land view", 1, false}}) {
    SCOPED_TRACE(c.name);
    HandWorld w;
    ASSERT_TRUE(w.roads.Place(5, 5, 4, 1));
    ASSERT_TRUE(w.roads.taxiways->AddTaxiway(5, 9, 4, 1));
    w.roads.world.camera->fixedView = c.fixedView;
    auto& draws = w.roads.world.renderer.draws;
    draws.clear();
    w.roads.roads->Draw(nullptr);
    EXPECT_EQ(!draws.empty(), c.drawn);
    draws.clear();
    w.roads.taxiways->Draw(nullptr);
    EXPECT_EQ(!draws.empty(), c.drawn);
  }
}

}  // namespace
}  // namespace handtest
