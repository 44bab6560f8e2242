#pragma once
// The road and the taxiway managers on the simulation test kit's world (64 x 64 owned cells,
// unit cells) with a real path finder, and the network drawn as text: one
// character a cell, '-' road along x, '|' along y, 'o' lone cell, '+'
// junction, '.' none; '*' marks a cell holding a path node.
#include <memory>
#include <string>
#include <vector>

#include "construction/PathFinder.h"
#include "construction/RoadManager.h"
#include "construction/TaxiwayManager.h"
#include "engine/files/SerializeRecord.h"
#include "engine/services/tests/FakeCore3D.h"
#include "simulation/StatManager.h"
#include "simulation/tests/kit/SimWorld.h"

namespace roadtest {

// One section record of the road manager's save, without path nodes.
inline void PutSectionRecord(SaveRecordWriter& out, uint32_t id, uint16_t x, uint16_t y, uint16_t w, uint16_t l,
                             uint8_t kind) {
  out.PutU32(id);
  out.PutU16(x);
  out.PutU16(y);
  out.PutU16(w);
  out.PutU16(l);
  out.PutU8(kind);
  out.PutBytes("\0\0\0", 3);
  out.PutU32(0xFFFFFFFFu);
  out.PutU32(0xFFFFFFFFu);
}

// The bytes a writer holds, handed out as a vector.
inline std::vector<uint8_t> Bytes(SaveRecordWriter& out) {
  SerialBlock bytes;
  uint32_t n = 0;
  out.Release(&bytes, &n);
  return std::vector<uint8_t>(bytes.get(), bytes.get() + n);
}

struct RoadWorld {
  explicit RoadWorld(bool withPavementTypes = true, uint16_t cellsAcross = 64) {
    world.plot.Resize(cellsAcross);
    finder.width = world.plot.width;
    finder.height = world.plot.height;
    finder.Start();
    world.table.pathFinder = &finder;
    roads = std::make_unique<cEntity_RoadManager>(world.table.entityManager, kEntityType_Base);
    world.table.roadManager = roads.get();
    taxiways = std::make_unique<cEntity_TaxiwayManager>(world.table.entityManager, kEntityType_Base);
    world.table.taxiwayManager = taxiways.get();
    if (withPavementTypes) {
      world.buildings.AddNamedType(4, "Road", 1)->buildCost = 10.0f;
      world.buildings.AddNamedType(4, "Taxiway", 1)->buildCost = 5.0f;
      world.buildings.AddNamedType(4, "Apron", 1)->buildCost = 3.0f;
    }
    roads->LoadMaterials();
    roads->BuildWorld();
    taxiways->BuildWorld();
  }
  ~RoadWorld() {
    world.table.roadManager = nullptr;
    world.table.taxiwayManager = nullptr;
    world.table.pathFinder = nullptr;
    roads.reset();
    taxiways.reset();
  }

  // Places and settles a drag the way the building manager does.
  bool Place(uint16_t x, uint16_t y, uint16_t w, uint16_t l) {
    if (!roads->PlaceRoad(x, y, w, l)) return false;
    roads->FinishRoadPlacement();
    return true;
  }
  double Cash() const { return world.stats->block.cash; }
  void SetCash(double cash) { world.stats->block.cash = cash; }

  // Rows y0..y1 of columns x0..x1 drawn as text, rows joined with '/'.
  std::string Draw(int x0, int y0, int x1, int y1, bool nodes = false) {
    std::string text;
    for (int y = y0; y <= y1; ++y) {
      if (y > y0) text += '/';
      for (int x = x0; x <= x1; ++x) {
        if (nodes && finder.GetNodeAt(x, y)) {
          text += '*';
          continue;
        }
        const RoadSection* s = roads->GetSectionAt(x, y);
        text += !s ? '.' : s->kind == RoadAlongX ? '-' : s->kind == RoadAlongY ? '|' : s->kind == RoadLoneCell ? 'o' : '+';
      }
    }
    return text;
  }

  simkit::SimWorld world;
  cPathFinder finder;
  std::unique_ptr<cEntity_RoadManager> roads;
  std::unique_ptr<cEntity_TaxiwayManager> taxiways;
};

}  // namespace roadtest
