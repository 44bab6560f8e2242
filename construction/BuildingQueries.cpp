// What the other managers and the screens ask about placed buildings:
// iteration, road cells, random picks, counts by owner, the technology
// level, and a few small commands (contract release, mass placement, the
// per-kind list removals).
#include <algorithm>

#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingInstances.h"
#include "construction/BuildingManager.h"
#include "construction/GamePlot.h"
#include "engine/entity/ActionFactory.h"
#include "engine/math/Noise.h"
#include "engine/services/GlobalWrapper.h"
#include "simulation/ActionBuildMenu.h"
#include "simulation/Contract.h"
#include "simulation/SimulationServices.h"

namespace {

template <typename T, typename U>
void EraseFirst(std::vector<T>& list, U* item) {
  auto it = std::find(list.begin(), list.end(), item);
  if (it != list.end()) list.erase(it);
}

BOInstance* PickAmong(const std::vector<BOInstance*>& candidates) {
  if (candidates.empty()) return nullptr;
  const int32_t last = static_cast<int32_t>(candidates.size()) - 1;
  return candidates[static_cast<size_t>(Noise_RandomIntInRange(0, last))];
}

}  // namespace

bool cEntity_BuildingManager::NextInstance(BOInstance** out) {
  for (;;) {
    if (cursorClass >= kBuildingClassCount || cursorId >= GetTypeIdCount(cursorClass)) return false;
    cBuildableObject* type = GetBuildingType(cursorClass, cursorId, cursorLevel);
    if (type && cursorIndex < type->GetOperatingInstanceCount()) {
      if (out) *out = type->GetOperatingInstance(cursorIndex);
      ++cursorIndex;
      return true;
    }
    cursorIndex = 0;
    switch (cursorMode) {
      case 4:
        if (++cursorLevel >= kBuildingLevelCount) {
          cursorLevel = 0;
          ++cursorId;
        }
        break;
      case 5:
        if (++cursorLevel >= kBuildingLevelCount) return false;
        break;
      default:
        return false;
    }
  }
}

BOInstance* cEntity_BuildingManager::FindInstanceByRoadCell(int32_t x, int32_t y) {
  BOInstance* building = GetInstanceAt(x, y);
  if (!building) return nullptr;
  std::vector<RoadAccessCell> cells;
  GetRoadAccessCells(building, cells);
  for (const RoadAccessCell& cell : cells) {
    if (cell.x == x && cell.y == y) return building;
  }
  return nullptr;
}

BOInstance* cEntity_BuildingManager::FindBuildingByRoadCell(int32_t x, int32_t y) {
  static constexpr int32_t kStepX[4] = {0, 1, 0, -1};
  static constexpr int32_t kStepY[4] = {-1, 0, 1, 0};
  std::vector<RoadAccessCell> cells;
  for (BOInstance* instance : placed) {
    if (!instance->GetType() || !instance->GetType()->HasRoadAccess()) continue;
    GetRoadAccessCells(instance, cells);
    for (const RoadAccessCell& cell : cells) {
      if (cell.x + kStepX[cell.direction & 3] == x && cell.y + kStepY[cell.direction & 3] == y) return instance;
    }
  }
  return nullptr;
}

bool cEntity_BuildingManager::HasRoadAccessAt(int32_t x, int32_t y, uint8_t direction, BOInstance** out) {
  BOInstance* building = GetInstanceAt(x, y);
  if (out) *out = building;
  if (!building) return false;
  std::vector<RoadAccessCell> cells;
  GetRoadAccessCells(building, cells);
  for (const RoadAccessCell& cell : cells) {
    if (cell.x == x && cell.y == y && cell.direction == direction) return true;
  }
  return false;
}

BOInstance* cEntity_BuildingManager::PickRandomInstanceWithFlags(int32_t mask) {
  std::vector<BOInstance*> candidates;
  for (BOInstance* instance : placed) {
    auto* type = dynamic_cast<cBuilding*>(instance->GetType());
    if (type && (type->ambient.flags & mask)) candidates.push_back(instance);
  }
  return PickAmong(candidates);
}

BOInstance* cEntity_BuildingManager::PickRandomRoadAccessInstance() {
  std::vector<BOInstance*> candidates;
  for (BOInstance* instance : placed) {
    if (dynamic_cast<cRoadAccessObject*>(instance->GetType())) candidates.push_back(instance);
  }
  return PickAmong(candidates);
}

uint32_t cEntity_BuildingManager::CountInstancesOfType(uint32_t word, cContract* contract) {
  const uint8_t classCode = OidClass(word);
  const uint16_t id = OidId(word);
  // An id past the class's types counts nothing rather than reading past it.
  if (classCode >= kBuildingClassCount || id >= GetTypeIdCount(classCode)) return 0;
  uint32_t count = 0;
  for (uint8_t level = OidLevel(word); level < kBuildingLevelCount; ++level) {
    cBuildableObject* type = GetBuildingType(classCode, id, level);
    if (!type) continue;
    for (BOInstance* instance : type->OperatingInstances())
      if (instance->owner == contract) ++count;
  }
  return count;
}

uint32_t cEntity_BuildingManager::CountInstancesFromLevel1(uint32_t word, cContract* contract) {
  if (OidId(word) >= GetTypeIdCount(OidClass(word))) return 0;
  return CountInstancesOfType(OidWithLevel(word, 1), contract);
}

uint32_t cEntity_BuildingManager::CountInstancesFromLevel1B(uint32_t word, cContract* contract) {
  return CountInstancesFromLevel1(word, contract);
}

uint32_t cEntity_BuildingManager::CountClassInstances(uint32_t word, cContract* contract) {
  uint32_t count = 0;
  const uint16_t ids = GetTypeIdCount(OidClass(word));
  for (uint16_t id = 0; id < ids; ++id) count += CountInstancesFromLevel1(OidWithId(word, id), contract);
  return count;
}

uint32_t cEntity_BuildingManager::CountClassInstancesB(uint32_t word, cContract* contract) {
  return CountClassInstances(word, contract);
}

uint8_t cEntity_BuildingManager::GetTechLevel() {
  uint8_t level = 0;
  while (level + 1 < static_cast<int>(kTechnologyFlagCount) && technologyFlags[level + 1]) ++level;
  return level;
}

void cEntity_BuildingManager::AnnounceTechLevel(uint8_t level) {
  if (level >= kTechnologyFlagCount) return;
  technologyFlags[level] = 1;
  std::string body = "You may now construct the following items:\n";
  for (uint8_t c = 0; c < kBuildingClassCount; ++c) {
    for (uint16_t id = 0; id < GetTypeIdCount(c); ++id) {
      for (uint8_t slot = 0; slot < kBuildingLevelCount; ++slot) {
        cBuildableObject* type = GetBuildingType(c, id, slot);
        if (type && type->GetTechLevel() == level) body += type->GetName() + "\n";
      }
    }
  }
  PostNotice(table_, FormatText("You have achieved tech level %d!", static_cast<int>(level)), body);
}

void cEntity_BuildingManager::AddTechRequirement(uint8_t level, OID word) {
  if (level < kTechnologyFlagCount) typeWordGroups[level].listA.push_back(word);
}

void cEntity_BuildingManager::RefreshBuildMenu() {
  if (!table_ || !table_->actionFactory) return;
  if (auto* menu = dynamic_cast<ActionBuildMenu*>(table_->actionFactory->GetAction("BuildMenu")))
    menu->ShowCategory(menu->currentCategory, true);
}

void cEntity_BuildingManager::ReleaseContractBuildings(cContract* contract) {
  if (!contract) return;
  for (std::vector<BOInstance*>* list : {&placed, &statusGroups[kIcon_Construction]}) {
    for (BOInstance* instance : *list) {
      if (instance->owner != contract) continue;
      instance->owner = nullptr;
      if (hooks.releaseFromAdmin) hooks.releaseFromAdmin(instance);
    }
  }
  if (contract->kind == 1) contract->buildingWord = 0;
}

void cEntity_BuildingManager::MassDrop(uint32_t rounds, uint16_t xStep, uint16_t yStep) {
  cEntity_GamePlot* plot = table_ ? table_->gamePlot : nullptr;
  if (!plot) return;
  const uint32_t n = plot->GetWidth();
  uint32_t x = 0, y = 0;
  bool stopped = n == 0;
  // One step of the cursor along the rows; false once it passed the last row.
  auto advance = [&](uint32_t by) {
    x += by;
    if (x >= n) {
      y += static_cast<uint32_t>(yStep) + 1;
      x = 0;
    }
    return y < n;
  };
  for (uint32_t round = 0; round < rounds && !stopped; ++round) {
    for (uint8_t c = 0; c < kBuildingClassCount && !stopped; ++c) {
      if (c == kClass_Road) continue;
      for (uint16_t id = 0; id < GetTypeIdCount(c) && !stopped; ++id) {
        for (uint8_t level = 0; level < kBuildingLevelCount && !stopped; ++level) {
          BOInstance* object = SelectBuildingType(c, id, level);
          if (!object) continue;
          while (!CanPlaceAt(object, static_cast<uint16_t>(x), static_cast<uint16_t>(y))) {
            if (!advance(1)) {
              stopped = true;
              break;
            }
          }
          if (stopped) {
            // Not placed: the selected object is no one's and goes.
            delete object;
            break;
          }
          SetPlacementPosition(object, static_cast<uint16_t>(x), static_cast<uint16_t>(y));
          FinishPlacement(object, c);
          if (!advance(xStep)) stopped = true;
        }
      }
    }
  }
  plot->UpdateMiniMap();
}

void cEntity_BuildingManager::RemoveFromTerminals(BOInstance* instance) { EraseFirst(terminals, instance); }
void cEntity_BuildingManager::RemoveFromRunways(RunwayInstance* instance) { EraseFirst(runways, instance); }
void cEntity_BuildingManager::RemoveFromAdmin(AdminInstance* instance) { EraseFirst(adminBuildings, instance); }
void cEntity_BuildingManager::RemoveFromMaintenance(ServiceInstance* instance) {
  EraseFirst(maintenanceServices, instance);
}
void cEntity_BuildingManager::RemoveFromControlTowers(OrgInstance* instance) { EraseFirst(controlTowers, instance); }
