#pragma once
// A building manager whose data table readers are the real ones unless a
// test asks to see only the calls, and whose flat placement model is a
// recorded renderer plane; every other operation is the manager's own. It
// also notes the runway set-up and the availability notices it passes on.
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
  void SetUpRunways(const std::vector<RunwayInstance*>& list) override {
    restoredRunways = list.size();
    cEntity_BuildingManager::SetUpRunways(list);
  }
  void NotifyTypeAvailable(OID word, bool available) override {
    notices.emplace_back(word, available);
    cEntity_BuildingManager::NotifyTypeAvailable(word, available);
  }

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
