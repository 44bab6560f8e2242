#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "construction/ConstructionSpawns.h"
#include "construction/tests/PlotFixture.h"
#include "engine/files/SerializeRecord.h"

namespace {

using plottest::PlotTest;

TEST_F(PlotTest, ANewPlotIsUnownedWithTheClockStopped) {
  EXPECT_EQ(plot.GetWidth(), 640);
  EXPECT_FLOAT_EQ(plot.GetCellSize(), 0.4f);
  EXPECT_FLOAT_EQ(plot.GetViewCellSize(), 6.4f);
  EXPECT_FLOAT_EQ(plot.GetOriginX(), -128.0f);
  EXPECT_EQ(sim.Clock().speed, 0.0f);
  for (uint32_t i = 0; i < 128 * 128; ++i) ASSERT_EQ(plot.GetMiniMapPixels()[i], 0x11000000u);
  EXPECT_EQ(plot.GetCellWord(640 * 640), 0u);
  EXPECT_EQ(plot.GetCellRecord(640 * 640), nullptr);
  plot.SetFineGrid(true);
  EXPECT_EQ(plot.GetViewGridWidth(), 640);
  EXPECT_FLOAT_EQ(plot.GetViewCellSize(), 0.4f);
  plot.SetSelectionSize(0);
  EXPECT_EQ(plot.GetSelectionSize(), 1);
  plot.SetSelectionSize(13);
  EXPECT_EQ(plot.GetSelectionSize(), 12);
  plot.AdjustSelectionSize(-20);
  EXPECT_EQ(plot.GetSelectionSize(), 1);
}

TEST_F(PlotTest, APurchaseOnAnEdgeSetsTheRoadEntrance) {
  struct Case {
    const char* name;
    int32_t x0, y0, x1, y1;
    uint16_t entranceX, entranceY;
  };
  const Case cases[] = {
      {"left edge", 0, 5, 1, 6, 0, 88},
      {"right edge", 38, 10, 39, 10, 639, 168},
      {"top edge", 10, 0, 12, 1, 184, 0},
      {"bottom edge", 20, 39, 20, 39, 328, 639},
      {"no edge", 10, 10, 11, 11, 0xFFFF, 0xFFFF},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    plot.ClearWorld();
    plot.SetEntranceCell(0xFFFF, 0xFFFF);
    ASSERT_EQ(plot.BuildWorld(), 0);
    const double before = Cash();
    Buy(c.x0, c.y0, c.x1, c.y1);
    const uint32_t blocks = static_cast<uint32_t>((c.x1 - c.x0 + 1) * (c.y1 - c.y0 + 1));
    EXPECT_DOUBLE_EQ(before - Cash(), world.price * blocks);
    EXPECT_EQ(plot.GetEntranceX(), c.entranceX);
    EXPECT_EQ(plot.GetEntranceY(), c.entranceY);
    EXPECT_EQ(BlockCell(static_cast<uint32_t>(c.x0), static_cast<uint32_t>(c.y0)), 0xFFu);
    // The block's mini-map pixels are owned land, the one beside it is not.
    EXPECT_EQ(Pixel(static_cast<uint32_t>(c.x0) * 16 / 5, static_cast<uint32_t>(c.y0) * 16 / 5), 0x33000000u);
    EXPECT_EQ(plot.GetTransactionCount(), 1);
  }
}

TEST_F(PlotTest, LaterPurchasesMustTouchOwnedLandAlongAnEdge) {
  Buy(10, 10, 10, 10);
  struct Case {
    const char* name;
    int32_t x, y;
    cEntity_GamePlot::LandMode mode;
  };
  const Case cases[] = {
      {"two blocks away", 12, 10, cEntity_GamePlot::LandMode::Greyed},
      {"diagonal corner only", 11, 11, cEntity_GamePlot::LandMode::Greyed},
      {"edge neighbour", 11, 10, cEntity_GamePlot::LandMode::Purchasing},
      {"above", 10, 9, cEntity_GamePlot::LandMode::Purchasing},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    plot.BeginPurchaseSelection(c.x, c.y);
    EXPECT_EQ(plot.GetLandMode(), c.mode);
    plot.ClearPurchaseState();
  }
  // A greyed selection buys nothing on release.
  const double before = Cash();
  plot.BeginPurchaseSelection(12, 12);
  plot.PurchaseSelection();
  EXPECT_DOUBLE_EQ(Cash(), before);
  EXPECT_FALSE(plot.IsOwned(12 * 40 + 12));
  // A rectangle over owned land charges only the new blocks.
  Buy(10, 10, 11, 10);
  EXPECT_DOUBLE_EQ(before - Cash(), world.price);
}

TEST_F(PlotTest, LandDearerThanTheCashIsGreyed) {
  world.price = static_cast<float>(Cash() * 2.0);
  plot.BeginPurchaseSelection(3, 3);
  EXPECT_EQ(plot.GetLandMode(), cEntity_GamePlot::LandMode::Greyed);
}

TEST_F(PlotTest, SalesAreRefusedOverTheEntranceAndBuiltCells) {
  Buy(0, 5, 2, 5);  // entrance at (0, 88), in block (0, 5)
  plot.SetCell(5 * 16 * 640 + 2 * 16 + 4, 0x10, 0xFF, false, nullptr, false);  // a building cell in block (2, 5)
  const double before = Cash();
  EXPECT_FALSE(Sell(0, 5, 0, 5));
  EXPECT_TRUE(sim.widgets.visibleScenes["scnInvalidSaleDialog"]);
  EXPECT_FALSE(Sell(2, 5, 2, 5));
  EXPECT_TRUE(sim.widgets.visibleScenes["scnOccupiedDialog"]);
  EXPECT_TRUE(plot.IsOwned(5 * 40 + 2));
  EXPECT_DOUBLE_EQ(Cash(), before);
  ASSERT_TRUE(Sell(1, 5, 1, 5));
  EXPECT_FALSE(sim.widgets.visibleScenes["scnSaleDialog"]);  // hidden once sold
  EXPECT_FALSE(plot.IsOwned(5 * 40 + 1));
  EXPECT_EQ(BlockCell(1, 5), 0u);
  EXPECT_EQ(Pixel(16 * 1 / 5 + 1, 5 * 16 / 5 + 1), 0x11000000u);
  EXPECT_DOUBLE_EQ(Cash() - before, world.price);
}

TEST_F(PlotTest, UndoRevertsSalesAndPurchases) {
  Buy(0, 5, 1, 5);
  const double afterPurchase = Cash();
  ASSERT_TRUE(Sell(1, 5, 1, 5));
  const double afterSale = Cash();
  EXPECT_DOUBLE_EQ(afterSale - afterPurchase, world.price);
  plot.UndoTransaction();  // the sale: charged again, cells owned and empty
  EXPECT_TRUE(plot.IsOwned(5 * 40 + 1));
  EXPECT_EQ(BlockCell(1, 5), 0xFFu);
  EXPECT_DOUBLE_EQ(Cash(), afterPurchase);
  const double beforeUndo = Cash();
  plot.UndoTransaction();  // the purchase: refunded, entrance unset, posts gone
  EXPECT_FALSE(plot.IsOwned(5 * 40));
  EXPECT_FALSE(plot.HasEntrance());
  EXPECT_TRUE(plot.GetCorners().empty());
  EXPECT_DOUBLE_EQ(Cash() - beforeUndo, 2.0 * world.price);
  EXPECT_EQ(plot.GetTransactionCount(), 0);
  EXPECT_EQ(BlockCell(0, 5), 0u);
  EXPECT_EQ(Pixel(1, 5 * 16 / 5 + 1), 0x11000000u);
  plot.UndoTransaction();  // nothing left
  EXPECT_EQ(plot.GetUndoDepth(), 0u);
}

TEST_F(PlotTest, UndoingAPurchaseThatWasBuiltOnIsRefused) {
  Buy(0, 5, 1, 5);
  plot.SetCell(5 * 16 * 640 + 20, 0xF1, 0xFF, false, nullptr, false);  // road in block (1, 5)
  const double before = Cash();
  plot.UndoTransaction();
  EXPECT_TRUE(sim.widgets.visibleScenes["scnOccupiedDialog"]);
  EXPECT_TRUE(plot.IsOwned(5 * 40 + 1));
  EXPECT_TRUE(plot.HasEntrance());
  EXPECT_DOUBLE_EQ(Cash(), before);
  EXPECT_EQ(plot.GetUndoDepth(), 1u);
}

TEST_F(PlotTest, CommitNeedsTheEntranceAndRoomForTheStartRunway) {
  Buy(10, 10, 10, 10);
  EXPECT_FALSE(plot.CommitTransactions());
  EXPECT_TRUE(sim.widgets.visibleScenes["scnInvalidLandDialog"]);
  Buy(10, 9, 10, 9);
  Buy(10, 0, 10, 8);  // reaches the top edge: entrance set
  ASSERT_TRUE(plot.HasEntrance());
  EXPECT_TRUE(plot.CommitTransactions());
  EXPECT_EQ(plot.GetUndoDepth(), 0u);
  plot.UndoTransaction();
  EXPECT_TRUE(plot.IsOwned(10 * 40 + 10));
}

TEST_F(PlotTest, CommitWithoutRoomForTheRunwayIsRefused) {
  Buy(0, 0, 0, 0);  // one block: the runway needs 1 x 2
  EXPECT_FALSE(plot.HasEnoughLand());
  EXPECT_FALSE(plot.CommitTransactions());
  EXPECT_TRUE(sim.widgets.visibleScenes["scnInsufficientLandDialog"]);
  Buy(1, 0, 1, 0);  // 2 x 1 holds it turned
  EXPECT_TRUE(plot.HasEnoughLand());
}

TEST_F(PlotTest, ThePauseKeepsTheSpeedThatRan) {
  plot.ResumeClock();
  sim.Clock().SetSpeed(3);
  plot.PauseClock();
  EXPECT_EQ(sim.Clock().speed, 0.0f);
  EXPECT_EQ(plot.GetSavedSpeedCode(), 3);
  plot.ResumeClock();
  EXPECT_EQ(sim.Clock().speed, 3.0f);
}

TEST_F(PlotTest, CornerCodesOfOwnedShapes) {
  struct Case {
    const char* name;
    std::vector<std::pair<int, int>> blocks;
    int x, y;
    std::vector<uint8_t> codes;
  };
  const Case cases[] = {
      {"lone block", {{5, 5}}, 5, 5, {0, 1, 2, 3}},
      {"middle of a 3 x 1 strip", {{5, 5}, {6, 5}, {7, 5}}, 6, 5, {}},
      {"end of a 3 x 1 strip", {{5, 5}, {6, 5}, {7, 5}}, 5, 5, {0, 3}},
      {"bend of an L: outer bottom-left and inner top-right", {{5, 5}, {5, 6}, {6, 6}}, 5, 6, {3, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint16_t> bitmap(100, 0);
    for (auto [bx, by] : c.blocks) bitmap[(by * 40 + bx) / 16] |= static_cast<uint16_t>(1u << ((by * 40 + bx) % 16));
    bool codes[8];
    plot.GetCornerCodes(c.x, c.y, codes, bitmap);
    std::vector<uint8_t> got;
    for (uint8_t i = 0; i < 8; ++i)
      if (codes[i]) got.push_back(i);
    EXPECT_EQ(got, c.codes);
    EXPECT_EQ(plot.IsCornerCandidate(c.x, c.y, bitmap), !c.codes.empty());
  }
  // Buying a strip leaves posts on its two end blocks only.
  Buy(5, 5, 7, 5);
  for (const CornerBlock& post : plot.GetCorners()) EXPECT_NE(post.x, 6);
  EXPECT_EQ(plot.GetCorners().size(), 4u);
}

TEST_F(PlotTest, PaintingBuildingsRaisesAndRemovalOverwrites) {
  cBuildableObject* road = buildings.Define<cBuildableObject>(kClass_Road, "Road", 1, 5, 5);
  cParkingFacility* lot = buildings.Define<cParkingFacility>(kClass_Parking, "Lot", 1, 5, 5);
  BOInstance* r = buildings.Place(road, 50, 50);
  BOInstance* p = buildings.Place(lot, 50, 50);
  plot.PaintInstanceOnMiniMap(r, true);
  plot.PaintInstanceOnMiniMap(p, true);
  EXPECT_EQ(Pixel(10, 10), cEntity_GamePlot::kPalette[kClass_Road]);
  plot.PaintInstanceOnMiniMap(p, false);
  EXPECT_EQ(Pixel(10, 10), 0x33000000u);
}

TEST_F(PlotTest, TheDefaultPlotSavesAndLoadsBack) {
  Buy(0, 5, 2, 6);
  SerialBlock blob;
  uint32_t n = 0;
  ASSERT_TRUE(plot.Save(&blob, &n));
  const uint32_t corners = static_cast<uint32_t>(plot.GetCorners().size());
  EXPECT_EQ(n, 8u + 400 + 6 * corners + 65536);
  cEntity_GamePlot loaded(nullptr);
  ASSERT_TRUE(loaded.LoadFromBlob(blob.get(), n));
  EXPECT_TRUE(loaded.IsOwned(5 * 40 + 2));
  EXPECT_EQ(loaded.GetCorners().size(), corners);
  SerialBlock again;
  uint32_t m = 0;
  ASSERT_TRUE(loaded.Save(&again, &m));
  ASSERT_EQ(m, n);
  EXPECT_TRUE(std::equal(blob.get(), blob.get() + n, again.get()));

  cEntity_GamePlot fresh(nullptr);
  fresh.SetDimensions(40, 16);
  fresh.BuildMiniMap();
  ASSERT_TRUE(fresh.Save(&again, &m));
  EXPECT_EQ(m, 8u + 400 + 65536);
}

TEST_F(PlotTest, CorruptPlotBlobsAreRefusedAndChangeNothing) {
  struct Case {
    const char* name;
    void (*write)(SaveRecordWriter& out);
  };
  const Case cases[] = {
      {"too short", [](SaveRecordWriter& out) { out.PutU16(2); }},
      {"side under 5 cells", [](SaveRecordWriter& out) {
         out.PutU16(2);
         out.PutU16(2);
       }},
      {"side over 1023 cells", [](SaveRecordWriter& out) {
         out.PutU16(64);
         out.PutU16(16);
       }},
      {"corner count beyond the end", [](SaveRecordWriter& out) {
         out.PutU16(2);
         out.PutU16(5);
         out.PutU16(0);
         out.PutU16(0);
         out.PutU32(1000);
       }},
      {"corner outside the plot", [](SaveRecordWriter& out) {
         out.PutU16(2);
         out.PutU16(5);
         out.PutU16(0);
         out.PutU16(0);
         out.PutU32(1);
         out.PutU16(2);
         out.PutU16(0);
         out.PutU8(0);
         out.PutU8(0);
         for (int i = 0; i < 4; ++i) out.PutU32(0);
       }},
      {"corner code 8", [](SaveRecordWriter& out) {
         out.PutU16(2);
         out.PutU16(5);
         out.PutU16(0);
         out.PutU16(0);
         out.PutU32(1);
         out.PutU16(0);
         out.PutU16(0);
         out.PutU8(8);
         out.PutU8(0);
         for (int i = 0; i < 4; ++i) out.PutU32(0);
       }},
      {"mini-map cut off", [](SaveRecordWriter& out) {
         out.PutU16(2);
         out.PutU16(5);
         out.PutU16(0);
         out.PutU16(0);
         out.PutU32(0);
         out.PutU32(0);
       }},
  };
  Buy(0, 5, 0, 5);
  const size_t corners = plot.GetCorners().size();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SaveRecordWriter out;
    c.write(out);
    EXPECT_FALSE(plot.LoadFromBlob(out.Data(), static_cast<uint32_t>(out.Size())));
    EXPECT_EQ(plot.GetBlockCountX(), 40);
    EXPECT_TRUE(plot.IsOwned(5 * 40));
    EXPECT_EQ(plot.GetCorners().size(), corners);
  }
}

// The bitmap of owned blocks given, on the 40 x 40 block grid.
std::vector<uint16_t> Owned(const std::vector<std::pair<int, int>>& blocks) {
  std::vector<uint16_t> bitmap(100, 0);
  for (auto [bx, by] : blocks) bitmap[(by * 40 + bx) / 16] |= static_cast<uint16_t>(1u << ((by * 40 + bx) % 16));
  return bitmap;
}

TEST_F(PlotTest, FenceWalksFollowTheRingClockwise) {
  struct Step {
    int x, y;
    uint8_t code;
  };
  struct Case {
    const char* name;
    std::vector<std::pair<int, int>> blocks;
    Step start;
    std::vector<Step> turns;
  };
  const Case cases[] = {
      {"lone block", {{5, 5}}, {4, 4, 0}, {{6, 4, 1}, {6, 6, 2}, {4, 6, 3}, {4, 4, 0}}},
      {"3 x 1 strip", {{5, 5}, {6, 5}, {7, 5}}, {4, 4, 0}, {{8, 4, 1}, {8, 6, 2}, {4, 6, 3}, {4, 4, 0}}},
      {"L shape",
       {{5, 5}, {5, 6}, {6, 6}},
       {4, 4, 0},
       {{6, 4, 1}, {6, 5, 5}, {7, 5, 1}, {7, 7, 2}, {4, 7, 3}, {4, 4, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<uint16_t> bitmap = Owned(c.blocks);
    int x = c.start.x, y = c.start.y;
    uint8_t code = c.start.code;
    for (const Step& turn : c.turns) {
      int nx = 0, ny = 0;
      uint8_t next = static_cast<uint8_t>(code & 3);
      ASSERT_TRUE(plot.TraceFenceRun(x, y, &nx, &ny, &next, bitmap));
      EXPECT_EQ(nx, turn.x);
      EXPECT_EQ(ny, turn.y);
      EXPECT_EQ(next, turn.code);
      x = nx;
      y = ny;
      code = next;
    }
  }
  int nx = 0, ny = 0;
  uint8_t bad = 4;
  EXPECT_FALSE(plot.TraceFenceRun(4, 4, &nx, &ny, &bad, Owned({{5, 5}})));
  uint8_t lonely = 0;
  EXPECT_FALSE(plot.TraceFenceRun(20, 20, &nx, &ny, &lonely, Owned({{5, 5}})));
}

TEST_F(PlotTest, TheFenceLeavesTheEntranceOpen) {
  Buy(0, 5, 0, 5);  // entrance at (0, 88): the left edge of block (0, 5)
  plot.BuildFenceMesh();
  const std::vector<FenceRun>& runs = plot.GetFenceRuns();
  ASSERT_EQ(runs.size(), 4u);
  EXPECT_FALSE(runs[0].gap);
  EXPECT_EQ(runs[0].x1, 1);
  EXPECT_EQ(runs[0].y1, 4);
  EXPECT_TRUE(runs[3].gap);
  EXPECT_EQ(runs[3].x1, -1);
  EXPECT_EQ(runs[3].y1, 5);
  auto* fence = dynamic_cast<fake3d::FakeMesh*>(plot.GetMesh(cEntity_GamePlot::kMesh_Fence));
  ASSERT_NE(fence, nullptr);
  EXPECT_EQ(fence->Name(), "polymesh_Fence");
  EXPECT_EQ(fence->vertexCount, 3u * 4);  // the gap run draws nothing
}

TEST_F(PlotTest, OverlaysMarkerAndLeadIn) {
  EXPECT_EQ(plot.GetMesh(cEntity_GamePlot::kMesh_Markers), nullptr);
  plot.BuildMarkers();
  EXPECT_EQ(plot.GetMesh(cEntity_GamePlot::kMesh_Markers), nullptr);  // no entrance, no marker
  Buy(0, 5, 0, 5);
  auto* owned = dynamic_cast<fake3d::FakeMesh*>(plot.GetMesh(cEntity_GamePlot::kMesh_Purchased));
  ASSERT_NE(owned, nullptr);
  EXPECT_EQ(owned->Name(), "polymesh_GamePlot_PurchasedMesh");
  ASSERT_EQ(owned->vertexCount, 4u);  // one block, one quad
  EXPECT_EQ(owned->indexCount, 6u);
  EXPECT_FLOAT_EQ(owned->vertices[0].x, -128.0f);
  EXPECT_FLOAT_EQ(owned->vertices[2].x - owned->vertices[0].x, 6.4f);
  Buy(1, 5, 3, 6);  // owned land of 4 x 1 and 3 x 1 below: two quads
  owned = dynamic_cast<fake3d::FakeMesh*>(plot.GetMesh(cEntity_GamePlot::kMesh_Purchased));
  EXPECT_EQ(owned->vertexCount, 8u);
  plot.BuildMarkers();
  auto* marker = dynamic_cast<fake3d::FakeMesh*>(plot.GetMesh(cEntity_GamePlot::kMesh_Markers));
  ASSERT_NE(marker, nullptr);
  EXPECT_EQ(marker->vertexCount, 5u);
  EXPECT_EQ(marker->indexCount, 12u);
  plot.BuildRoadLeadInMesh();
  auto* road = dynamic_cast<fake3d::FakeMesh*>(plot.GetMesh(cEntity_GamePlot::kMesh_RoadLeadIn));
  ASSERT_NE(road, nullptr);
  EXPECT_EQ(road->vertexCount, 44u);
  EXPECT_EQ(road->indexCount, 126u);
  EXPECT_LT(road->vertices[43].x, road->vertices[0].x);  // out of the plot to the west
  renderer.draws.clear();
  plot.DrawTranslucent(nullptr, &renderer);
  ASSERT_EQ(renderer.draws.size(), 1u);
  EXPECT_EQ(renderer.draws[0].resource, road);
}

}  // namespace

namespace {

TEST(GamePlotSpawnTest, TheSpawnMakesTheNamedPlot) {
  SpawnGamePlot spawn;
  EXPECT_EQ(spawn.GetName(), "SPN::KV9:GAMEPLOT");
  std::unique_ptr<cEntity_Base> made(spawn.Create(0, 0, nullptr, std::string()));
  auto* plot = dynamic_cast<cEntity_GamePlot*>(made.get());
  ASSERT_NE(plot, nullptr);
  EXPECT_EQ(plot->cEntity_Base::GetName(), "GamePlot");
  EXPECT_EQ(plot->cCore_Base_InputSocket::GetName(), "GamePlot");
  EXPECT_EQ(plot->GetWidth(), 640);
}

}  // namespace
