#include "construction/BuildingManager.h"

#include <algorithm>

#include "base/StringUtil.h"
#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingInstances.h"
#include "construction/GamePlot.h"
#include "construction/PathFinder.h"
#include "construction/TerminalItem.h"
#include "engine/config/ConfigManager.h"
#include "engine/frame/BaseCamera.h"
#include "engine/frame/GameManager.h"
#include "engine/math/JMatrix.h"
#include "engine/services/C3DModel.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"
#include "scene/AudioManager.h"
#include "scene/SceneCamera.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationServices.h"

cEntity_BuildingManager::cEntity_BuildingManager(cEntity_Manager* owner, uint32_t typeWord)
    : cEntity_Base(owner, typeWord),
      categories_{"Scenery",           "Public Services",    "Airport Support",   "Storage Facilities",
                  "Airside Navigation", "Transportation",     "Emergency Services"} {
  table_ = GameTableOf(this);
  if (table_ && table_->configManager) {
    float rate = 0.0f;
    if (table_->configManager->GetFloat("App", "BaseRateOfDecay", rate)) baseRateOfDecay = rate;
  }
}

cEntity_BuildingManager::~cEntity_BuildingManager() {
  for (auto& group : terminalObjects) {
    for (TerminalItem* item : group) delete item;
    group.clear();
  }
  delete placement_;
  placement_ = nullptr;
  DeleteTypes();
}

void cEntity_BuildingManager::DeleteTypes() {
  for (auto& list : types_) {
    for (BOLevels& levels : list) {
      for (cBuildableObject*& type : levels.levels) {
        delete type;
        type = nullptr;
      }
    }
  }
}

CoreStatus cEntity_BuildingManager::Exit() {
  Reset();
  DeleteTypes();
  for (C3DModel*& model : statusModels) {
    if (!model) continue;
    if (table_ && table_->graphics) {
      table_->graphics->ReleaseResource(model);
    } else {
      model->Release();
    }
    model = nullptr;
  }
  return cEntity_Base::Exit();
}

std::string cEntity_BuildingManager::GetCategoryName(uint8_t category) {
  return category < categories_.size() ? categories_[category] : std::string();
}

uint16_t cEntity_BuildingManager::GetCategoryTypeCount(uint8_t category) {
  return category < kCategoryCount ? categoryCounts_[category] : 0;
}

cBuildableObject* cEntity_BuildingManager::GetBuildingType(uint8_t classCode, uint16_t id, uint8_t level) {
  if (classCode >= kBuildingClassCount || level >= kBuildingLevelCount) return nullptr;
  if (id >= types_[classCode].size()) return nullptr;
  return types_[classCode][id].levels[level];
}

uint16_t cEntity_BuildingManager::GetTypeIdCount(uint8_t classCode) {
  return classCode < kBuildingClassCount ? static_cast<uint16_t>(types_[classCode].size()) : 0;
}

const std::string* cEntity_BuildingManager::GetTypeName(uint8_t classCode, uint16_t id) {
  if (classCode >= kBuildingClassCount || id >= typeNames_[classCode].size()) return nullptr;
  return &typeNames_[classCode][id];
}

uint16_t cEntity_BuildingManager::FindTypeIndexByName(uint8_t classCode, const std::string& name) {
  if (classCode >= kBuildingClassCount) return kInvalidTypeId;
  std::vector<std::string>& names = typeNames_[classCode];
  for (size_t i = 0; i < names.size(); ++i) {
    if (str::EqualsNoCase(names[i], name)) return static_cast<uint16_t>(i);
  }
  names.push_back(name);
  return static_cast<uint16_t>(names.size() - 1);
}

bool cEntity_BuildingManager::RegisterType(cBuildableObject* type) {
  if (!type) return false;
  const uint8_t classCode = type->GetClass();
  const uint16_t id = type->GetId();
  const uint8_t level = type->GetLevel();
  // 8191 is where SetId holds an id that does not fit: every such type would
  // share it, so none is taken.
  if (classCode >= kBuildingClassCount || id >= kInvalidTypeId) return false;
  std::vector<BOLevels>& list = types_[classCode];
  if (id < list.size() && list[id].levels[level]) return false;
  if (id >= list.size()) list.resize(static_cast<size_t>(id) + 1);
  list[id].levels[level] = type;
  const uint8_t category = type->GetCategory();
  if (category < kCategoryCount) ++categoryCounts_[category];
  if (!type->GetOwner()) type->SetOwner(this);
  type->UpdateFootprintBounds();
  return true;
}

cBuildableObject* cEntity_BuildingManager::FindTypeByName(const std::string& name, uint8_t level) {
  if (level >= kBuildingLevelCount) return nullptr;
  for (auto& list : types_) {
    for (BOLevels& levels : list) {
      cBuildableObject* type = levels.levels[level];
      if (type && str::EqualsNoCase(type->GetName(), name)) return type;
    }
  }
  return nullptr;
}

uint32_t cEntity_BuildingManager::GetInstanceCountOfType(OID word) {
  cBuildableObject* type = GetBuildingType(OidClass(word), OidId(word), OidLevel(word));
  return type ? type->GetInstanceCount() : 0;
}

void cEntity_BuildingManager::InitClassNames() {
  classNames_ = {"Object",   "Building", "Amenity", "Parking",            "Road",     "Terminal",    "Administration",
                 "Storage",  "Runway",   "Emergency Services", "Security", "Service", "Organization"};
}

bool cEntity_BuildingManager::GetTechFlag(uint32_t index) {
  return index < kTechnologyFlagCount && technologyFlags[index] != 0;
}

const std::vector<BOInstance*>& cEntity_BuildingManager::GetTerminals() { return terminals; }

void cEntity_BuildingManager::GetRoadAccessCells(BOInstance* instance, std::vector<RoadAccessCell>& out) {
  out.clear();
  const std::vector<RAStruct>* points =
      instance && instance->GetType() ? instance->GetType()->GetRoadAccessPoints() : nullptr;
  if (!points) return;
  for (const RAStruct& point : *points) {
    const FootprintRect turned = RotateRect(FootprintRect{point.x, point.y, 1, 1}, instance->rotation);
    RoadAccessCell cell;
    cell.x = static_cast<uint16_t>(turned.x + instance->x);
    cell.y = static_cast<uint16_t>(turned.y + instance->y);
    // The points turn the way RotateRect turns cells: a quarter turn takes
    // a point facing -y to one facing -x, one direction step back.
    cell.direction = static_cast<uint8_t>((point.direction + 4 - (instance->rotation & 3)) & 3);
    out.push_back(cell);
  }
}

TerminalItem* cEntity_BuildingManager::FindTerminalObject(const std::string& name) {
  for (auto& group : terminalObjects) {
    for (TerminalItem* item : group) {
      if (item && str::EqualsNoCase(item->name, name)) return item;
    }
  }
  return nullptr;
}

TerminalInstance* cEntity_BuildingManager::FindTerminalInstanceOfType(uint32_t word) {
  for (BOInstance* terminal : terminals) {
    if (terminal->word == word) return dynamic_cast<TerminalInstance*>(terminal);
  }
  cBuildableObject* type = GetBuildingType(OidClass(word), OidId(word), OidLevel(word));
  if (!type) return nullptr;
  for (BOInstance* instance : type->PlacedInstances()) {
    if (instance->word == word) return dynamic_cast<TerminalInstance*>(instance);
  }
  return nullptr;
}

BOInstance* cEntity_BuildingManager::GetInstanceAt(int32_t x, int32_t y) {
  cEntity_GamePlot* plot = table_ ? table_->gamePlot : nullptr;
  if (!plot || x < 0 || y < 0 || x >= plot->GetWidth() || y >= plot->GetHeight()) return nullptr;
  const PlotCell* cell = plot->GetCellRecord(static_cast<uint32_t>(y) * plot->GetWidth() + x);
  if (!cell || !cell->object || ((cell->content >> 4) & 0xF) >= kClass_None) return nullptr;
  return static_cast<BOInstance*>(cell->object);
}

CoreStatus cEntity_BuildingManager::LoadDataTables() {
  InitClassNames();
  LoadBaseBuildings("BaseBuildings.kvb");
  LoadTerminalObjects("TerminalObjects.kvb");
  LoadAmbientVehicles("AmbientVehicles.kvb");
  SetUpStatusModels();
  return 0;
}

void cEntity_BuildingManager::SetPlacementObject(BOInstance* object, bool destroy) {
  if (placement_ && placement_ != object && destroy) delete placement_;
  placement_ = object;
}

void cEntity_BuildingManager::SetPlacementPosition(BOInstance* object, uint16_t x, uint16_t y) {
  if (!object) return;
  object->x = x;
  object->y = y;
  JMatrix m = JMatrix::Identity();
  JMath_MatrixRotateY(m, 1.5707963f * static_cast<float>(object->rotation & 3));
  float wx = 0.0f, wz = 0.0f, wy = 0.0f;
  cEntity_GamePlot* plot = table_ ? table_->gamePlot : nullptr;
  if (plot) {
    plot->GetCellCentre(x, y, &wx, &wz);
    wy = plot->GetGroundHeight();
  }
  JMath_MatrixTranslate(m, wx, wy, wz);
  object->world = m;
}

CoreStatus cEntity_BuildingManager::Reset() {
  cSimulation_Clock* clock = GameClockOf(table_);
  if (clock) clock->UnregisterTimeObject(this);
  eventMask = 0;
  SetPlacementObject(nullptr, true);
  ClearAllInstances();
  modelUseFlag = 0;
  return 0;
}

void cEntity_BuildingManager::ClearAllInstances() {
  for (uint32_t g = 0; g < kStatusGroupCount; ++g) {
    while (!statusGroups[g].empty()) {
      if (statusModels[g]) statusModels[g]->RemoveInstance(&statusGroups[g].front()->iconMatrix);
      statusGroups[g].erase(statusGroups[g].begin());
    }
  }
  // No road node may keep naming a building that is about to go.
  if (cPathFinder* finder = table_ ? table_->pathFinder : nullptr) {
    for (cPathNode* node = finder->GetNodeListHead(); node; node = node->next)
      for (BOInstance*& side : node->buildings) side = nullptr;
  }
  for (BOInstance* instance : placed) {
    if (hooks.onBuildingRemoved) hooks.onBuildingRemoved(instance);
    instance->SetOnFire(false, table_);
    if (modelUseFlag) RemoveModelUse(instance);
    if (table_ && table_->audioManager) table_->audioManager->RemoveBuildingSounds(instance);
  }
  for (auto& list : types_)
    for (BOLevels& levels : list)
      for (cBuildableObject* type : levels.levels)
        if (type) type->ClearInstances(true);
  terminals.clear();
  runways.clear();
  adminBuildings.clear();
  amenities.clear();
  maintenanceServices.clear();
  controlTowers.clear();
  placed.clear();
  modelUses.clear();
}

CoreStatus cEntity_BuildingManager::Render(C3DPass* pass, Core3D* renderer) {
  if (!renderer) return 0;
  if (cGameManager* game = GameManagerOf(table_)) {
    auto* camera = dynamic_cast<SceneCamera*>(game->GetCamera());
    if (camera && camera->suppressDrawing) return 0;
  }
  for (auto& list : types_) {
    for (BOLevels& levels : list) {
      for (cBuildableObject* type : levels.levels) {
        if (!type || type->GetInstanceCount() == 0 || !type->GetModelObject()) continue;
        const JMatrix identity = JMatrix::Identity();
        renderer->DrawModel(pass, type->GetModelObject(), &identity);
      }
    }
  }
  if (placement_ && placement_->GetType() && placement_->GetType()->GetThumbnailObject())
    renderer->DrawModel(pass, placement_->GetType()->GetThumbnailObject(), &placement_->world);
  for (uint32_t g = 0; g < kStatusGroupCount; ++g) {
    if (statusGroups[g].empty() || !statusModels[g]) continue;
    const JMatrix identity = JMatrix::Identity();
    renderer->DrawModel(pass, statusModels[g], &identity);
  }
  return 0;
}
