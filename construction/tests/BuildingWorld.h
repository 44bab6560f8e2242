#pragma once
// The real building manager (its data tables answered by the test) on the
// road world: simulation test kit, real path finder, road and taxiway
// managers, the kit's plot, statistics, clock and PDA recorder. The manager
// has joined the clock as a new game does.
#include <memory>
#include <string>
#include <vector>

#include "construction/BOInstance.h"
#include "construction/tests/RoadWorld.h"
#include "construction/tests/TestBuildingManager.h"
#include "engine/services/tests/FakeCore3D.h"
#include "simulation/SimulationClock.h"

namespace buildtest {

// A building model with a "walk" and a "default" animation that records
// what is played and advanced.
class PlayRecordingModel : public fake3d::FakeModel {
 public:
  PlayRecordingModel() : fake3d::FakeModel(nullptr, 0, "animated") {}
  int32_t GetAnimationCount() override { return 2; }
  std::string GetAnimationName(int32_t index) override { return index == 1 ? "default" : "walk"; }
  void PlayAnimation(int32_t index, float, float, bool loop, bool) override {
    played.push_back(index);
    looping = loop;
  }
  void AdvanceAnimation(int32_t index, float dt) override { advanced.emplace_back(index, dt); }
  std::vector<int32_t> played;
  std::vector<std::pair<int32_t, float>> advanced;
  bool looping = false;
};

struct BuildingWorld {
  BuildingWorld() : roads(false) {
    manager.SetTable(&Table());
    Table().buildingManager = &manager;
    for (const char* name : {"Road", "Taxiway", "Apron"}) {
      manager.Define<cBuildableObject>(kClass_Road, name, 1, 1, 1)->SetBuildCost(1.0f);
    }
    manager.RestoreFromSave();
  }
  ~BuildingWorld() {
    manager.Reset();
    Table().buildingManager = nullptr;
  }

  cKV9_GlobalWrapper& Table() { return roads.world.table; }
  cSimulation_Clock& Clock() { return roads.world.Clock(); }
  double Cash() { return roads.Cash(); }

  // Selects, places and commits a building of the type at (x, y).
  BOInstance* Build(cBuildableObject* type, uint16_t x, uint16_t y, uint8_t rotation = 0) {
    BOInstance* object = manager.SelectBuildingType(type->GetClass(), type->GetId(), type->GetLevel());
    if (!object) return nullptr;
    object->rotation = rotation;
    manager.SetPlacementPosition(object, x, y);
    manager.FinishPlacement(object, type->GetClass());
    return object;
  }
  // Runs the hour step until nothing is under construction.
  void FinishConstruction() {
    for (int guard = 0; guard < 0x10000 && !manager.statusGroups[0].empty(); ++guard) manager.AdvanceConstruction();
  }
  BOInstance* BuildFinished(cBuildableObject* type, uint16_t x, uint16_t y, uint8_t rotation = 0) {
    BOInstance* b = Build(type, x, y, rotation);
    FinishConstruction();
    return b;
  }
  void Event(uint32_t flag, float delta = 0.0f) { manager.OnTime(0, 0, flag, delta); }
  // Subjects of the PDA messages posted so far.
  std::vector<std::string> Subjects() {
    std::vector<std::string> out;
    for (const auto& m : roads.world.pda->posted) out.push_back(m.subject);
    return out;
  }
  bool Listed(uint32_t kind, BOInstance* b) {
    const auto& list = manager.statusGroups[kind];
    return std::find(list.begin(), list.end(), b) != list.end();
  }

  roadtest::RoadWorld roads;
  TestBuildingManager manager{nullptr};
};

}  // namespace buildtest
