// Taxiways and aprons: laying and pricing, the greedy cover, path nodes and
// building contacts, clearing a cell, cutting under a building, the save.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "construction/tests/RoadWorld.h"
#include "engine/files/SerializeRecord.h"

using roadtest::RoadWorld;
using Kind = cEntity_TaxiwayManager::Kind;

namespace {

using Cells = std::set<std::pair<int, int>>;

// The cells the sections of a kind cover; false when two sections overlap.
bool Covered(cEntity_TaxiwayManager& m, Kind kind, Cells* cells) {
  for (const auto& s : m.GetSections(kind)) {
    for (int y = s->y; y < s->y + s->length; ++y) {
      for (int x = s->x; x < s->x + s->width; ++x) {
        if (!cells->insert({x, y}).second) return false;
      }
    }
  }
  return true;
}

Cells Rect(int x, int y, int w, int l) {
  Cells cells;
  for (int cy = y; cy < y + l; ++cy) {
    for (int cx = x; cx < x + w; ++cx) cells.insert({cx, cy});
  }
  return cells;
}

std::vector<uint8_t> Saved(cEntity_TaxiwayManager& m) {
  SerialBlock bytes;
  uint32_t n = 0;
  if (!m.Save(&bytes, &n)) return {};
  return std::vector<uint8_t>(bytes.get(), bytes.get() + n);
}

}  // namespace

TEST(TaxiwayManager, FreeOwnedCellsAreLaidAsOneSectionAndLinkedAsNodes) {
  struct Case {
    const char* name;
    Kind kind;
    uint32_t content;
    uint8_t nodeKind;
    double price;
  };
  const Case cases[] = {
      {"taxiway", cEntity_TaxiwayManager::kTaxiway, 0xF4, kPathNode_Taxiway, 6 * 5.0},
      {"apron", cEntity_TaxiwayManager::kApron, 0xF8, kPathNode_Apron, 6 * 3.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RoadWorld w;
    const double cash = w.Cash();
    const bool laid = c.kind == cEntity_TaxiwayManager::kTaxiway ? w.taxiways->AddTaxiway(10, 20, 3, 2)
                                                                : w.taxiways->AddApron(10, 20, 3, 2);
    ASSERT_TRUE(laid);
    ASSERT_EQ(w.taxiways->GetSections(c.kind).size(), 1u);
    const PavementSection& s = *w.taxiways->GetSections(c.kind)[0];
    EXPECT_EQ((std::vector<int>{s.x, s.y, s.width, s.length}), (std::vector<int>{10, 20, 3, 2}));
    EXPECT_DOUBLE_EQ(w.Cash(), cash - c.price);
    // Quad: first cell's corner at texture (0, length), last cell's far corner.
    EXPECT_EQ((std::vector<float>{s.quad[0].x, s.quad[0].z, s.quad[0].u, s.quad[0].v}),
              (std::vector<float>{10, 20, 0, 2}));
    EXPECT_EQ((std::vector<float>{s.quad[2].x, s.quad[2].z, s.quad[2].u, s.quad[2].v}),
              (std::vector<float>{13, 22, 3, 0}));
    EXPECT_EQ(w.world.plot.cells[21 * 64 + 12].content, c.content);
    EXPECT_EQ(w.world.plot.cells[21 * 64 + 12].object, &s);
    cPathNode* corner = w.finder.GetNodeAt(10, 20);
    ASSERT_NE(corner, nullptr);
    EXPECT_EQ(corner->kind, c.nodeKind);
    EXPECT_EQ(corner->neighbours[1], w.finder.GetNodeAt(11, 20));
    EXPECT_EQ(corner->neighbours[2], w.finder.GetNodeAt(10, 21));
    EXPECT_EQ(w.finder.GetNodeAt(13, 20), nullptr);
    EXPECT_TRUE(w.taxiways->IsDrawn(c.kind));
    EXPECT_EQ(w.world.buildings.recounts, 1);
  }
}

TEST(TaxiwayManager, LayingIsRefusedAsAWholeAndCostsNothing) {
  struct Case {
    const char* name;
    double cash;
    bool unownedCorner;
    bool types;
    bool laid;
  };
  const Case cases[] = {
      {"price equal to the cash", 45.0, false, true, true},
      {"price above the cash", 44.0, false, true, false},
      {"one cell not owned", 1000.0, true, true, false},
      {"no type to price it", 1000.0, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RoadWorld w(c.types);
    w.SetCash(c.cash);
    if (c.unownedCorner) w.world.plot.cells[7 * 64 + 7].content = 0;
    EXPECT_EQ(w.taxiways->AddTaxiway(5, 5, 3, 3), c.laid);
    EXPECT_DOUBLE_EQ(w.Cash(), c.laid ? c.cash - 45.0 : c.cash);
    EXPECT_EQ(w.taxiways->GetSections(cEntity_TaxiwayManager::kTaxiway).size(), c.laid ? 1u : 0u);
    EXPECT_EQ(w.world.plot.cells[5 * 64 + 5].content, c.laid ? 0xF4u : 0xFFu);
  }
  // Nothing to lay on: a rectangle of road only.
  RoadWorld w;
  ASSERT_TRUE(w.Place(0, 30, 4, 1));
  EXPECT_FALSE(w.taxiways->AddTaxiway(0, 30, 4, 1));
}

TEST(TaxiwayManager, OccupiedCellsAreLeftOutAndTheRestCoveredWithoutOverlap) {
  struct Case {
    const char* name;
    int x, y, w, l;
    std::vector<std::pair<int, int>> taken;  // cells holding something else
  };
  const Case cases[] = {
      {"middle cell taken", 10, 10, 3, 3, {{11, 11}}},
      {"a taller region, a corner and an edge taken", 10, 10, 3, 6, {{10, 10}, {12, 13}}},
      {"a wide strip with a gap", 0, 40, 12, 2, {{5, 40}, {5, 41}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RoadWorld w;
    for (auto [x, y] : c.taken) w.world.plot.cells[size_t(y) * 64 + x] = PlotCell{0x50, &w};
    const double cash = w.Cash();
    ASSERT_TRUE(w.taxiways->AddTaxiway(uint16_t(c.x), uint16_t(c.y), uint16_t(c.w), uint16_t(c.l)));
    Cells expected = Rect(c.x, c.y, c.w, c.l);
    for (auto cell : c.taken) expected.erase(cell);
    Cells covered;
    ASSERT_TRUE(Covered(*w.taxiways, cEntity_TaxiwayManager::kTaxiway, &covered));
    EXPECT_EQ(covered, expected);
    EXPECT_GT(w.taxiways->GetSections(cEntity_TaxiwayManager::kTaxiway).size(), 1u);
    EXPECT_DOUBLE_EQ(w.Cash(), cash - 5.0 * double(expected.size()));
    for (auto [x, y] : c.taken) EXPECT_EQ(w.finder.GetNodeAt(x, y), nullptr);
  }
}

TEST(TaxiwayManager, BuildingsBesideNewPavementGainAContactPerCell) {
  RoadWorld w;
  auto* type = w.world.buildings.AddType(8, 0, 1);
  auto* runway = w.world.buildings.Place(type);
  w.world.buildings.standing[{13, 20}] = runway;  // right of the first row
  w.world.buildings.standing[{13, 21}] = runway;  // right of the second row
  w.world.buildings.standing[{30, 30}] = runway;  // far away
  ASSERT_TRUE(w.taxiways->AddTaxiway(10, 20, 3, 2));
  EXPECT_EQ(runway->taxiwayConnections, 2);
}

TEST(TaxiwayManager, ClearingACellKeepsTheRestPavedForFree) {
  RoadWorld w;
  ASSERT_TRUE(w.taxiways->AddTaxiway(10, 10, 5, 1));
  const double cash = w.Cash();
  PavementSection* section = w.taxiways->GetSections(cEntity_TaxiwayManager::kTaxiway)[0].get();
  w.taxiways->ClearTaxiwayCell(section, 12, 10);
  Cells covered;
  ASSERT_TRUE(Covered(*w.taxiways, cEntity_TaxiwayManager::kTaxiway, &covered));
  EXPECT_EQ(covered, (Cells{{10, 10}, {11, 10}, {13, 10}, {14, 10}}));
  EXPECT_DOUBLE_EQ(w.Cash(), cash);
  EXPECT_EQ(w.world.plot.cells[10 * 64 + 12].content, 0xFFu);
  EXPECT_EQ(w.world.plot.cells[10 * 64 + 12].object, nullptr);
  EXPECT_EQ(w.finder.GetNodeAt(12, 10), nullptr);
  ASSERT_NE(w.finder.GetNodeAt(11, 10), nullptr);
  EXPECT_EQ(w.finder.GetNodeAt(11, 10)->neighbours[1], nullptr);
  EXPECT_EQ(w.finder.GetNodeAt(11, 10)->neighbours[3], w.finder.GetNodeAt(10, 10));
}

TEST(TaxiwayManager, ABuildingPlacedOnPavementCutsItAndItsNodesOut) {
  RoadWorld w;
  ASSERT_TRUE(w.taxiways->AddTaxiway(10, 10, 4, 4));
  auto* type = w.world.buildings.AddType(7, 0, 1);
  auto* hangar = w.world.buildings.Place(type);
  // The building manager marks the building's cells, then cuts.
  for (auto [x, y] : Rect(12, 12, 2, 2)) {
    w.world.plot.cells[size_t(y) * 64 + x] = PlotCell{0x70, hangar};
    w.world.buildings.standing[{x, y}] = hangar;
  }
  const double cash = w.Cash();
  w.taxiways->CutTaxiwayUnderFootprint({CellRect{12, 12, 2, 2}});
  Cells expected = Rect(10, 10, 4, 4);
  for (auto cell : Rect(12, 12, 2, 2)) expected.erase(cell);
  Cells covered;
  ASSERT_TRUE(Covered(*w.taxiways, cEntity_TaxiwayManager::kTaxiway, &covered));
  EXPECT_EQ(covered, expected);
  EXPECT_DOUBLE_EQ(w.Cash(), cash);
  for (auto [x, y] : Rect(12, 12, 2, 2)) EXPECT_EQ(w.finder.GetNodeAt(x, y), nullptr);
  EXPECT_EQ(w.world.plot.cells[12 * 64 + 12].content, 0x70u);
  EXPECT_NE(w.finder.GetNodeAt(11, 12), nullptr);
}

TEST(TaxiwayManager, TheSaveHoldsTheRectanglesAndBuildsTheSameSections) {
  RoadWorld a;
  EXPECT_TRUE(Saved(*a.taxiways).empty());  // nothing laid: nothing saved
  ASSERT_TRUE(a.taxiways->AddTaxiway(10, 10, 3, 1));
  ASSERT_TRUE(a.taxiways->AddTaxiway(10, 20, 1, 4));
  const std::vector<uint8_t> twoTaxiways = Saved(*a.taxiways);
  EXPECT_EQ(twoTaxiways, (std::vector<uint8_t>{2, 0, 0, 0, 10, 0, 10, 0, 3, 0, 1, 0, 10, 0, 20, 0, 1, 0, 4, 0,
                                               0, 0, 0, 0}));
  ASSERT_TRUE(a.taxiways->AddApron(30, 30, 2, 2));
  const std::vector<uint8_t> saved = Saved(*a.taxiways);

  RoadWorld b;
  ASSERT_TRUE(b.taxiways->LoadFromBlob(saved.data(), uint32_t(saved.size())));
  b.taxiways->BuildWorld();
  EXPECT_EQ(Saved(*b.taxiways), saved);
  EXPECT_EQ(b.world.plot.cells[31 * 64 + 31].content, 0xF8u);
  EXPECT_NE(b.finder.GetNodeAt(31, 31), nullptr);
}

TEST(TaxiwayManager, BadPavementRecordsAreRefusedAndNothingIsHalfLaid) {
  auto blob = [](std::vector<uint32_t> words16) {
    // Little-endian u32 counts and u16 fields, given as 16-bit words.
    std::vector<uint8_t> out;
    for (uint32_t v : words16) {
      out.push_back(uint8_t(v));
      out.push_back(uint8_t(v >> 8));
    }
    return out;
  };
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    bool kept;
  };
  const Case cases[] = {
      {"short", {1, 0}, false},
      {"taxiway count above the records", blob({2, 0, 1, 1, 2, 2, 0, 0}), false},
      {"bytes left over", blob({1, 0, 1, 1, 2, 2, 0, 0, 7}), false},
      {"apron count above the records", blob({0, 0, 1, 0}), false},
      {"a rectangle off the plot", blob({1, 0, 62, 1, 5, 1, 0, 0}), true},
      {"a rectangle of no cells", blob({1, 0, 3, 3, 0, 1, 0, 0}), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RoadWorld w;
    EXPECT_EQ(w.taxiways->LoadFromBlob(c.bytes.data(), uint32_t(c.bytes.size())), c.kept);
    w.taxiways->BuildWorld();
    EXPECT_TRUE(w.taxiways->GetSections(cEntity_TaxiwayManager::kTaxiway).empty());
    EXPECT_EQ(w.world.plot.cells[1 * 64 + 62].content, 0xFFu);
  }
}
