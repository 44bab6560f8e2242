#pragma once
// The building hand on the road world: a building manager whose selection,
// placement test, commit and removal are the test's (types with footprints,
// refused cells, a record of commits and removals), the plot's hand and a
// recording build-menu action.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "construction/BuildPlacement.h"
#include "construction/tests/MousePackets.h"
#include "construction/tests/RoadWorld.h"
#include "engine/entity/ActionFactory.h"
#include "engine/entity/EntityManager.h"
#include "simulation/ActionBuildMenu.h"

namespace handtest {

class HandBuildings : public simkit::FakeBuildings {
 public:
  using simkit::FakeBuildings::FakeBuildings;

  // A named type of (class, level) with one w x l footprint rectangle.
  simkit::FakeType* Define(uint8_t classCode, const std::string& name, uint16_t w, uint16_t l, uint8_t level = 1) {
    simkit::FakeType* type = AddNamedType(classCode, name, level);
    type->SetWidth(w);
    type->SetLength(l);
    std::unique_ptr<FootprintRect[]> rects(new FootprintRect[1]);
    rects[0] = FootprintRect{0, 0, w, l};
    type->SetRects(1, std::move(rects));
    return type;
  }
  // A finished building of the type standing on its cells at (x, y).
  simkit::FakeInstance* Stand(simkit::FakeType* type, uint16_t x, uint16_t y) {
    simkit::FakeInstance* instance = Place(type);
    instance->x = x;
    instance->y = y;
    MarkStanding(instance, type);
    return instance;
  }

  BOInstance* SelectBuildingType(uint8_t classCode, uint16_t id, uint8_t level) override {
    auto* type = static_cast<simkit::FakeType*>(GetBuildingType(classCode, id, level));
    if (!type || refuseSelection) return nullptr;
    ++selections;
    return new simkit::FakeInstance(type);
  }
  bool CanPlaceAt(BOInstance*, uint16_t x, uint16_t y) override { return refused.count({x, y}) == 0; }
  void FinishPlacement(BOInstance* object, uint8_t classCode) override {
    auto* type = static_cast<simkit::FakeType*>(object->GetType());
    type->instances.emplace_back(static_cast<simkit::FakeInstance*>(object));
    MarkStanding(static_cast<simkit::FakeInstance*>(object), type);
    commits.push_back(type->name + " " + std::to_string(classCode) + " at " + std::to_string(object->x) + "," +
                      std::to_string(object->y));
  }
  void RemoveInstance(BOInstance* instance) override {
    removals.push_back(instance->GetType()->GetName());
    for (auto it = standing.begin(); it != standing.end();) {
      it = it->second == instance ? standing.erase(it) : std::next(it);
    }
    simkit::FakeBuildings::RemoveInstance(instance);
  }

  std::set<std::pair<uint16_t, uint16_t>> refused;
  bool refuseSelection = false;
  int selections = 0;
  std::vector<std::string> commits;
  std::vector<std::string> removals;

 private:
  void MarkStanding(simkit::FakeInstance* instance, simkit::FakeType* type) {
    for (uint16_t dy = 0; dy < type->GetLengthRotated(instance->rotation); ++dy)
      for (uint16_t dx = 0; dx < type->GetWidthRotated(instance->rotation); ++dx)
        standing[{instance->x + dx, instance->y + dy}] = instance;
  }
};

// The build-menu screen as the hand and the keys reach it.
class RecordingBuildMenu : public ActionBuildMenu {
 public:
  CoreStatus Execute(cEntity_Base* target, uintptr_t, const std::string& params) override {
    calls.push_back(params + (target ? " from " + target->GetName() : std::string()));
    return 0;
  }
  void ShowCategory(uint32_t category, bool force) override {
    calls.push_back("show " + std::to_string(category) + (force ? " forced" : ""));
  }
  void RefreshInfo() override { calls.push_back("refresh info"); }
  void StartRoadPlacement() override { calls.push_back("road placement"); }
  std::vector<std::string> calls;
};

struct HandWorld {
  // `recordMenu`: a recording build-menu action stands in for the screen.
  explicit HandWorld(bool recordMenu = true) : roads(false) {
    table().buildingManager = &buildings;
    roads.world.plot.SetTable(&table());
    buildings.SetTable(&table());
    buildings.Define(4, "Road", 1, 1)->buildCost = 10.0f;
    buildings.Define(4, "Taxiway", 1, 1)->buildCost = 5.0f;
    buildings.Define(4, "Apron", 1, 1)->buildCost = 3.0f;
    if (recordMenu) {
      menu = new RecordingBuildMenu();
      table().actionFactory->RegisterAction(menu, false);
    }
    SetCash(1e6);
  }
  ~HandWorld() {
    buildings.SetPlacementObject(nullptr, true);
    table().buildingManager = &roads.world.buildings;
  }

  cKV9_GlobalWrapper& table() { return roads.world.table; }
  cBuildPlacement& hand() { return roads.world.plot.Placement(); }
  void SetCash(double cash) { roads.SetCash(cash); }
  // Picks the type for placement as the build menu does.
  BOInstance* Select(simkit::FakeType* type) {
    BOInstance* object = buildings.SelectBuildingType(type->classCode, type->id, type->level);
    if (object) hand().SetPlacementObject(object, true);
    return object;
  }
  void Send(const MousePacket& packet, int32_t x, int32_t y) { hand().OnCursorInput(packet, x, y); }
  // A left-button drag from one cell to another.
  void Drag(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    Send(Press(), x0, y0);
    Send(Hold(), x1, y1);
    Send(Release(), x1, y1);
  }

  roadtest::RoadWorld roads;
  HandBuildings buildings{nullptr, kEntityType_Base};
  RecordingBuildMenu* menu = nullptr;  // owned by the action factory
};

}  // namespace handtest
