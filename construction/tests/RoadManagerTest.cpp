// The road network: placement, charging, joins, splits and junctions, the
// path graph and entrance flood, demolition, the mesh and the save.
#include <gtest/gtest.h>

#include <cstring>

#include "construction/tests/RoadWorld.h"
#include "engine/files/SerializeRecord.h"
#include "engine/entity/EntityManager.h"

using roadtest::RoadWorld;

namespace {

// A column of the drawing: rows y0..y1 at column x.
std::string Column(RoadWorld& w, int x, int y0, int y1) {
  std::string text;
  for (int y = y0; y <= y1; ++y) text += w.Draw(x, y, x, y);
  return text;
}

std::vector<uint8_t> SaveRoads(cEntity_RoadManager& roads) {
  SerialBlock bytes;
  uint32_t n = 0;
  EXPECT_TRUE(roads.Save(&bytes, &n));
  return std::vector<uint8_t>(bytes.get(), bytes.get() + n);
}

}  // namespace

TEST(RoadManager, RunAcrossAPerpendicularRoadLeavesTheCrossingAsAFourWayJunction) {
  RoadWorld w;
  const double cash = w.Cash();
  ASSERT_TRUE(w.Place(5, 0, 1, 10));
  ASSERT_TRUE(w.Place(0, 5, 10, 1));

  EXPECT_EQ(w.Draw(0, 5, 9, 5), "-----+----");
  EXPECT_EQ(Column(w, 5, 0, 9), "|||||+||||");
  EXPECT_EQ(w.roads->GetSections().size(), 5u);
  // Ten cells, then nine: the crossed cell is not paid twice.
  EXPECT_DOUBLE_EQ(w.Cash(), cash - 100.0 - 90.0);
  // Every plot cell under the roads is road (owned, bits 1-3 cleared).
  EXPECT_EQ(w.world.plot.cells[5 * 64 + 5].content, 0xF1u);
  EXPECT_EQ(w.world.plot.cells[5 * 64 + 5].object, w.roads->GetSectionAt(5, 5));
  // The crossing shows the four-way quarter of the junction texture.
  const RenderVertex* quad = w.roads->GetSectionAt(5, 5)->quad;
  EXPECT_EQ((std::vector<float>{quad[0].u, quad[0].v, quad[1].u, quad[1].v, quad[2].u, quad[2].v, quad[3].u, quad[3].v}),
            (std::vector<float>{0, 0.5f, 0.5f, 0.5f, 0.5f, 0, 0, 0}));

  // Nodes on the junction and the four dead ends, each linked straight to
  // the junction over the node-less runs.
  EXPECT_EQ(w.Draw(0, 5, 9, 5, true), "*----*---*");
  cPathNode* junction = w.finder.GetNodeAt(5, 5);
  ASSERT_NE(junction, nullptr);
  EXPECT_EQ(junction->neighbours[0], w.finder.GetNodeAt(5, 0));
  EXPECT_EQ(junction->neighbours[1], w.finder.GetNodeAt(9, 5));
  EXPECT_EQ(junction->neighbours[2], w.finder.GetNodeAt(5, 9));
  EXPECT_EQ(junction->neighbours[3], w.finder.GetNodeAt(0, 5));
  EXPECT_EQ(w.finder.GetNodeAt(0, 5)->neighbours[1], junction);
}

TEST(RoadManager, EveryNewCellIsPaidForAndARefusedPlacementCostsNothing) {
  struct Case {
    const char* name;
    double cash;
    uint16_t width;     // of a drag along x from (0, 5)
    uint16_t unownedX;  // 0xFFFF: every cell owned
    bool roadType;      // the "Road" building type exists
    bool placed;
  };
  const Case cases[] = {
      {"price equal to the cash", 50.0, 5, 0xFFFF, true, true},
      {"price above the cash", 49.5, 5, 0xFFFF, true, false},
      {"one cell not owned", 1000.0, 5, 3, true, false},
      {"a single cell is paid too", 10.0, 1, 0xFFFF, true, true},
      {"a single cell above the cash", 9.0, 1, 0xFFFF, true, false},
      {"no road type to price it", 1000.0, 5, 0xFFFF, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RoadWorld w(c.roadType);
    w.SetCash(c.cash);
    if (c.unownedX != 0xFFFF) w.world.plot.cells[5 * 64 + c.unownedX].content = 0;
    EXPECT_EQ(w.Place(0, 5, c.width, 1), c.placed);
    EXPECT_DOUBLE_EQ(w.Cash(), c.placed ? c.cash - 10.0 * c.width : c.cash);
    EXPECT_EQ(w.roads->GetSectionAt(0, 5) != nullptr, c.placed);
    EXPECT_EQ(w.world.plot.cells[5 * 64].content, c.placed ? 0xF1u : 0xFFu);
  }
  // The managers re-lay road they took up for nothing.
  RoadWorld w;
  w.SetCash(0.0);
  ASSERT_TRUE(w.roads->PlaceRoad(7, 7, 1, 1, false));
  w.roads->FinishRoadPlacement();
  EXPECT_EQ(w.Draw(7, 7, 7, 7), "o");
}

TEST(RoadManager, PiecesLaidOnAnEndJoinTheRoadInsteadOfStartingASection) {
  RoadWorld w;
  ASSERT_TRUE(w.Place(0, 5, 5, 1));
  ASSERT_TRUE(w.Place(5, 5, 1, 1));  // one cell beyond the end
  ASSERT_EQ(w.roads->GetSections().size(), 1u);
  EXPECT_EQ(w.roads->GetSections()[0]->width, 6);
  ASSERT_TRUE(w.Place(6, 5, 3, 1));  // a run beyond the end
  ASSERT_EQ(w.roads->GetSections().size(), 1u);
  EXPECT_EQ(w.roads->GetSections()[0]->width, 9);
  EXPECT_EQ(w.Draw(0, 5, 9, 5, true), "*-------*.");

  ASSERT_TRUE(w.Place(20, 0, 1, 4));
  ASSERT_TRUE(w.Place(20, 4, 1, 1));  // one cell beyond the last cell of a run along y
  RoadSection* run = w.roads->GetSectionAt(20, 0);
  ASSERT_NE(run, nullptr);
  EXPECT_EQ(run->length, 5);
  EXPECT_EQ(w.roads->GetSectionAt(20, 4), run);
}

TEST(RoadManager, ParallelRoadsMayTouchAtOneCellButNotRunAlongside) {
  RoadWorld w;
  ASSERT_TRUE(w.Place(0, 5, 5, 1));
  const double cash = w.Cash();
  EXPECT_FALSE(w.Place(0, 6, 5, 1));
  EXPECT_DOUBLE_EQ(w.Cash(), cash);
  EXPECT_EQ(w.Draw(0, 6, 5, 6), "......");

  ASSERT_TRUE(w.Place(4, 6, 5, 1));
  EXPECT_EQ(w.Draw(0, 5, 8, 6), "----+..../....+----");

  // Three road cells around a free one: a fourth would close a square.
  RoadWorld v;
  ASSERT_TRUE(v.Place(0, 0, 2, 1));
  ASSERT_TRUE(v.Place(0, 1, 1, 1));
  EXPECT_FALSE(v.Place(1, 1, 1, 1));
  EXPECT_EQ(v.Draw(0, 0, 1, 1), "+-/|.");
}

TEST(RoadManager, DemolitionSplitsTheRoadAndReclassifiesTheJunctionsAround) {
  RoadWorld w;
  ASSERT_TRUE(w.Place(0, 5, 10, 1));
  const double cash = w.Cash();
  w.roads->RemoveRoadAt(5, 5);
  EXPECT_EQ(w.roads->GetSections().size(), 2u);
  EXPECT_EQ(w.Draw(0, 5, 9, 5, true), "*---*.*--*");
  EXPECT_EQ(w.finder.GetNodeAt(0, 5)->neighbours[1], w.finder.GetNodeAt(4, 5));
  EXPECT_DOUBLE_EQ(w.Cash(), cash);  // neither charged nor refunded
  EXPECT_EQ(w.world.plot.cells[5 * 64 + 5].content, 0xFFu);

  RoadWorld v;
  ASSERT_TRUE(v.Place(5, 0, 1, 10));
  ASSERT_TRUE(v.Place(0, 5, 10, 1));
  v.roads->RemoveRoadAt(6, 5);
  EXPECT_EQ(v.Draw(0, 5, 9, 5), "-----+.---");
  EXPECT_EQ(Column(v, 5, 0, 9), "|||||+||||");
  // The junction is now a T open to the right: the T quarter, turned.
  const RoadSection* junction = v.roads->GetSectionAt(5, 5);
  ASSERT_EQ(junction->kind, RoadJunction);
  EXPECT_FLOAT_EQ(junction->quad[0].u, 1.0f);
  EXPECT_FLOAT_EQ(junction->quad[0].v, 0.5f);
  EXPECT_FLOAT_EQ(junction->quad[2].u, 0.5f);
  EXPECT_FLOAT_EQ(junction->quad[2].v, 0.0f);
}

TEST(RoadManager, TheEntranceFloodReachesBuildingsFacingAJunction) {
  RoadWorld w;
  auto* type = w.world.buildings.AddType(1, 0, 1);
  auto* building = w.world.buildings.Place(type);
  building->roadAccess.push_back(RoadAccessCell{9, 4, 2});  // faces the road below it
  auto* stranded = w.world.buildings.Place(type);
  stranded->roadAccess.push_back(RoadAccessCell{30, 4, 2});

  w.roads->SetEntranceCell(0, 5);
  ASSERT_TRUE(w.Place(28, 5, 5, 1));
  ASSERT_TRUE(w.Place(0, 5, 10, 1));
  EXPECT_EQ(w.Draw(0, 5, 9, 5), "+--------+");
  EXPECT_EQ(w.roads->GetEntranceNode(), w.finder.GetNodeAt(0, 5));
  EXPECT_EQ(w.finder.GetNodeAt(9, 5)->buildings[0], building);
  EXPECT_EQ(building->roadConnections, 1u);
  EXPECT_EQ(stranded->roadConnections, 0u);
  EXPECT_TRUE(w.roads->IsConnectedRoadCell(4, 5));
  EXPECT_FALSE(w.roads->IsConnectedRoadCell(29, 5));
  // The road leading in from outside the plot counts beside the entrance.
  EXPECT_TRUE(w.roads->HasRoadAt(-1, 5));
  EXPECT_FALSE(w.roads->HasRoadAt(-1, 6));
}

TEST(RoadManager, TheModelHoldsOneQuadPerSectionWithJunctionsOnTheSecondMaterial) {
  RoadWorld w;
  ASSERT_TRUE(w.Place(5, 0, 1, 10));
  ASSERT_TRUE(w.Place(0, 5, 10, 1));
  auto* model = static_cast<fake3d::FakeModel*>(w.roads->GetModel());
  ASSERT_NE(model, nullptr);
  EXPECT_EQ(model->Name(), "polymesh_Roads");
  EXPECT_EQ(model->partCount, 2);
  ASSERT_EQ(model->vertices.size(), 20u);
  ASSERT_EQ(model->indices.size(), 30u);
  const auto& sections = w.roads->GetSections();
  for (size_t i = 0; i < sections.size(); ++i) {
    const uint16_t base = static_cast<uint16_t>(4 * i);
    const std::vector<uint16_t> quad(model->indices.begin() + 6 * i, model->indices.begin() + 6 * i + 6);
    EXPECT_EQ(quad, (std::vector<uint16_t>{base, uint16_t(base + 3), uint16_t(base + 2), uint16_t(base + 2),
                                           uint16_t(base + 1), base}));
    EXPECT_EQ(model->indexParts[6 * i], sections[i]->kind == RoadJunction ? 1 : 0);
  }
  // A run along x of width 4 from cell (6, 5): unit cells, ground height.
  const RoadSection* run = w.roads->GetSectionAt(7, 5);
  EXPECT_FLOAT_EQ(run->quad[1].x, 10.0f);
  EXPECT_FLOAT_EQ(run->quad[1].z, 6.0f);
  EXPECT_FLOAT_EQ(run->quad[1].y, 0.5f);
  EXPECT_FLOAT_EQ(run->quad[1].u, 4.0f);
  EXPECT_EQ(model->log.back(), "shader 1 " + w.world.table.entityManager->GetResourcePath() +
                                   "Shaders\\roadintersections.jsm");
}

TEST(RoadManager, ASavedNetworkComesBackWithItsIdsAndNodes) {
  RoadWorld a;
  a.roads->SetEntranceCell(5, 0);
  ASSERT_TRUE(a.Place(5, 0, 1, 10));
  ASSERT_TRUE(a.Place(0, 5, 10, 1));
  const std::vector<uint8_t> roads = SaveRoads(*a.roads);
  ASSERT_EQ(roads.size(), 8u + 24u * a.roads->GetSections().size());
  SerialBlock graph;
  uint32_t graphSize = 0;
  ASSERT_TRUE(a.finder.Save(&graph, &graphSize));

  RoadWorld b;
  ASSERT_TRUE(b.finder.LoadFromBlob(graph.get(), graphSize));
  b.finder.Start();
  ASSERT_TRUE(b.roads->LoadFromBlob(roads.data(), static_cast<uint32_t>(roads.size())));
  b.roads->BuildWorld();
  EXPECT_EQ(b.Draw(0, 0, 9, 9, true), a.Draw(0, 0, 9, 9, true));
  ASSERT_EQ(b.roads->GetSections().size(), a.roads->GetSections().size());
  for (size_t i = 0; i < a.roads->GetSections().size(); ++i) {
    const RoadSection* x = a.roads->GetSections()[i];
    const RoadSection* y = b.roads->GetSections()[i];
    EXPECT_EQ(y->id, x->id);
    EXPECT_EQ(y->kind, x->kind);
    EXPECT_EQ(y->startNode ? b.finder.GetNodeAt(y->startNode->x, y->startNode->y) : nullptr, y->startNode);
    EXPECT_EQ(!y->startNode, !x->startNode);
    EXPECT_EQ(!y->endNode, !x->endNode);
  }
  EXPECT_EQ(b.roads->GetEntranceNode(), b.finder.GetNodeAt(5, 0));
  EXPECT_EQ(SaveRoads(*b.roads), roads);
  EXPECT_EQ(b.world.plot.cells[5 * 64 + 2].content, 0xF1u);
}

TEST(RoadManager, BadRoadRecordsAreRefusedAndNothingIsHalfBuilt) {
  auto record = [](uint16_t x, uint16_t y, uint16_t w, uint16_t l, uint8_t kind) {
    SaveRecordWriter out;
    roadtest::PutSectionRecord(out, 7, x, y, w, l, kind);
    return roadtest::Bytes(out);
  };
  auto blob = [](uint32_t count, std::vector<std::vector<uint8_t>> records, size_t trailing = 0) {
    std::vector<uint8_t> out = {0xFF, 0xFF, 0xFF, 0xFF, uint8_t(count), uint8_t(count >> 8), 0, 0};
    for (auto& r : records) out.insert(out.end(), r.begin(), r.end());
    out.resize(out.size() + trailing, 0);
    return out;
  };
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    bool accepted;  // by the load; built or not is checked below
  };
  const Case cases[] = {
      {"short header", {1, 2, 3, 4, 5}, false},
      {"count above the records", blob(2, {record(1, 1, 3, 1, RoadAlongX)}), false},
      {"bytes left over", blob(1, {record(1, 1, 3, 1, RoadAlongX)}, 5), false},
      {"unknown kind", blob(1, {record(1, 1, 1, 1, 7)}), false},
      {"wide junction", blob(1, {record(1, 1, 2, 1, RoadJunction)}), false},
      {"zero width", blob(1, {record(1, 1, 0, 1, RoadAlongY)}), false},
      {"run along x two rows high", blob(1, {record(1, 1, 3, 2, RoadAlongX)}), false},
      {"off the plot", blob(1, {record(62, 1, 5, 1, RoadAlongX)}), true},
      {"overlapping sections", blob(2, {record(1, 1, 3, 1, RoadAlongX), record(2, 1, 1, 1, RoadJunction)}), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RoadWorld w;
    EXPECT_EQ(w.roads->LoadFromBlob(c.bytes.data(), static_cast<uint32_t>(c.bytes.size())), c.accepted);
    w.roads->BuildWorld();
    EXPECT_TRUE(w.roads->GetSections().empty());
    EXPECT_EQ(w.world.plot.cells[1 * 64 + 2].content, 0xFFu);
  }
}
