#pragma once
// A building manager whose operations of the later parts (tables,
// placement, clock work, icons, technology) answer from the test: it records
// the calls the core makes into them.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "construction/BuildableObject.h"
#include "construction/BuildingInstances.h"
#include "construction/BuildingManager.h"
#include "construction/Facilities.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"

namespace buildtest {

class TestBuildingManager : public cEntity_BuildingManager {
 public:
  using cEntity_BuildingManager::cEntity_BuildingManager;

  int32_t OnTime(uint32_t, uint32_t, uint32_t, float) override { return 0; }
  // Table reading is the real one unless a test asks to see only the calls.
  bool LoadBaseBuildings(const std::string& name) override {
    return noteTables ? Note("tables " + name) : cEntity_BuildingManager::LoadBaseBuildings(name);
  }
  bool LoadTerminalObjects(const std::string& name) override {
    return noteTables ? Note("tables " + name) : cEntity_BuildingManager::LoadTerminalObjects(name);
  }
  bool LoadAmbientVehicles(const std::string& name) override {
    return noteTables ? Note("tables " + name) : cEntity_BuildingManager::LoadAmbientVehicles(name);
  }
  // The placement's flat model: a model of the renderer named after the
  // shader, recorded.
  C3DModel* BuildFootprintPlane(const std::string& shaderName) override {
    planes.push_back(shaderName);
    Core3D* renderer = Table() ? Table()->graphics : nullptr;
    return renderer ? renderer->CreateModel(0x28, "polymesh_plane_" + shaderName) : nullptr;
  }
  void SetUpStatusModels() override { Note("status models"); }
  BOInstance* SelectBuildingType(uint8_t, uint16_t, uint8_t) override { return nullptr; }
  bool CanPlaceAt(BOInstance*, uint16_t, uint16_t) override { return false; }
  uint8_t CheckPlacementAt(int32_t, int32_t) override { return 0xFF; }
  BOInstance* FindInstanceByRoadCell(int32_t, int32_t) override { return nullptr; }
  void RecountConnections() override {}
  void FinishPlacement(BOInstance*, uint8_t) override {}
  void RemoveInstance(BOInstance*) override {}
  void SetUpRestoredInstance(BOInstance*) override {}
  void LinkRestoredInstance(BOInstance*) override {}
  void OnRestoredRunwayOrTerminal(BOInstance*) override {}
  void OnRestoredAdmin(AdminInstance*) override {}
  void SetUpRunways(const std::vector<RunwayInstance*>& list) override { restoredRunways = list.size(); }
  void RefreshRunwayStates() override { Note("runway states"); }
  void UpdateInstanceParticles(BOInstance*, bool show) override { Note(show ? "icon on" : "icon off"); }
  void UpdateInstanceFireIcon(BOInstance*, bool) override {}
  void UpdateInstanceBreakdownIcon(BOInstance*, bool show) override { Note(show ? "damage on" : "damage off"); }
  int32_t PlayDefaultAnimation(BOInstance*) override { return 0; }
  void AddModelUse(int32_t) override {}
  void RemoveModelUse(BOInstance*) override {}
  void NotifyTypeAvailable(OID word, bool available) override { notices.emplace_back(word, available); }
  void ApplyEarthquakeDamage(int32_t) override {}
  uint32_t CountInstancesOfType(uint32_t, cContract*) override { return 0; }
  uint32_t CountInstancesFromLevel1(uint32_t, cContract*) override { return 0; }
  uint32_t CountInstancesFromLevel1B(uint32_t, cContract*) override { return 0; }
  uint32_t CountClassInstances(uint32_t, cContract*) override { return 0; }
  uint32_t CountClassInstancesB(uint32_t, cContract*) override { return 0; }
  void ReleaseContractBuildings(cContract*) override {}

  // A registered type of class T named `name` at (class, level) with one
  // w x l footprint rectangle at the anchor; owned by the manager.
  template <typename T = cBuilding>
  T* Define(uint8_t classCode, const std::string& name, uint8_t level, uint16_t w = 2, uint16_t l = 2) {
    auto* type = new T(this);
    type->SetName(name);
    type->SetClass(classCode);
    type->SetId(FindTypeIndexByName(classCode, name));
    type->SetLevel(level);
    std::unique_ptr<FootprintRect[]> rects(new FootprintRect[1]);
    rects[0] = FootprintRect{0, 0, w, l};
    type->SetRects(1, std::move(rects));
    if (!RegisterType(type)) {
      delete type;
      return nullptr;
    }
    return type;
  }
  // A finished instance of the type at (x, y), in the type's and the placed list.
  BOInstance* Place(cBuildableObject* type, uint16_t x, uint16_t y, uint8_t rotation = 0) {
    type->ReserveInstanceSerial();
    BOInstance* instance = type->CreateInstance();
    instance->rotation = rotation;
    SetPlacementPosition(instance, x, y);
    type->AddInstance(instance);
    placed.push_back(instance);
    return instance;
  }

  bool noteTables = false;
  std::vector<std::string> planes;
  std::vector<std::pair<OID, bool>> notices;
  std::vector<std::string> calls;
  size_t restoredRunways = 0;

 private:
  bool Note(const std::string& call) {
    calls.push_back(call);
    return true;
  }
};

}  // namespace buildtest
