// Turning a building type into a placed building: selection, the footprint
// test, the commit into lists, plot cells and networks, removal, and the
// demolish mode of the cursor.
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingInstances.h"
#include "construction/BuildingManager.h"
#include "construction/Facilities.h"
#include "construction/GamePlot.h"
#include "construction/TaxiwayManager.h"
#include "construction/TerminalInstance.h"
#include "engine/entity/EntityModel.h"
#include "engine/frame/BaseCursor.h"
#include "engine/frame/BaseCamera.h"
#include "engine/frame/GameManager.h"
#include "engine/services/C3DModel.h"
#include "engine/services/GlobalWrapper.h"
#include "scene/AudioManager.h"
#include "scene/SceneCamera.h"
#include "simulation/BusinessContract.h"
#include "simulation/ContractManager.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationServices.h"
#include "simulation/StatManager.h"

namespace {

template <typename T>
void EraseFrom(std::vector<T>& list, T item) {
  auto it = std::find(list.begin(), list.end(), item);
  if (it != list.end()) list.erase(it);
}

// The footprint rectangles of the instance's rotation, moved to its cell, as
// the taxiway manager takes them; cells off the grid's origin side dropped.
std::vector<CellRect> FootprintOnGrid(BOInstance* instance) {
  std::vector<CellRect> out;
  FootprintRecord footprint;
  instance->CallTypeFootprintCells(&footprint);
  for (uint8_t i = 0; i < footprint.count && footprint.rects; ++i) {
    const FootprintRect& r = footprint.rects[i];
    const int32_t x = instance->x + r.x;
    const int32_t y = instance->y + r.y;
    if (x < 0 || y < 0) continue;
    out.push_back(CellRect{static_cast<uint16_t>(x), static_cast<uint16_t>(y), r.w, r.l});
  }
  return out;
}

// Hours of construction: the type's build time in days times 24, held at
// the 16-bit counter's top rather than wrapped to a short build.
uint16_t ConstructionHours(cBuildableObject* type) {
  const uint32_t hours = type->GetBuildTime() * 24u;
  return static_cast<uint16_t>(std::min<uint32_t>(hours, 0xFFFF));
}

}  // namespace

BOInstance* cEntity_BuildingManager::SelectBuildingType(uint8_t classCode, uint16_t id, uint8_t level) {
  cBuildableObject* type = GetBuildingType(classCode, id, level);
  if (!type) return nullptr;
  if (!type->ReserveInstanceSerial()) return nullptr;
  BOInstance* instance = type->CreateInstance();
  if (!instance) return nullptr;
  instance->rotation = 0;
  SetPlacementPosition(instance, 0, 0);
  return instance;
}

bool cEntity_BuildingManager::CanPlaceAt(BOInstance* object, uint16_t x, uint16_t y) {
  cEntity_GamePlot* plot = table_ ? table_->gamePlot : nullptr;
  if (!object || !object->GetType() || !plot) return false;
  FootprintRecord footprint;
  object->CallTypeFootprintCells(&footprint);
  const int32_t width = plot->GetWidth();
  for (uint8_t i = 0; i < footprint.count && footprint.rects; ++i) {
    const FootprintRect& r = footprint.rects[i];
    for (int32_t j = 0; j < r.l; ++j) {
      for (int32_t k = 0; k < r.w; ++k) {
        // 16-bit arithmetic: a cell left of or above the origin wraps to a
        // large value and is refused like one past the far edge.
        const int16_t cx = static_cast<int16_t>(x + r.x + k);
        const int16_t cy = static_cast<int16_t>(y + r.y + j);
        if (cx < 0 || cy < 0 || cx >= width || cy >= width) return false;
        const uint32_t flags = plot->GetCellWord(static_cast<uint32_t>(cy) * static_cast<uint32_t>(width) +
                                                 static_cast<uint32_t>(cx));
        if (!(flags & (2 | 4 | 8))) return false;
      }
    }
  }
  return true;
}

uint8_t cEntity_BuildingManager::CheckPlacementAt(int32_t x, int32_t y) {
  BOInstance* building = GetInstanceAt(x, y);
  if (!building) return 4;
  std::vector<RoadAccessCell> cells;
  GetRoadAccessCells(building, cells);
  for (const RoadAccessCell& cell : cells) {
    if (cell.x == x && cell.y == y) return cell.direction & 3;
  }
  return 5;
}

void cEntity_BuildingManager::FinishPlacement(BOInstance* object, uint8_t) {
  if (!object || !object->GetType()) return;
  cBuildableObject* type = object->GetType();
  cKV9_GlobalWrapper* table = table_;
  cEntity_GamePlot* plot = table ? table->gamePlot : nullptr;
  if (object == GetPlacementObject()) SetPlacementObject(nullptr, false);

  object->constructionTimeLeft = buildTimeMode ? ConstructionHours(type) : 1;
  type->AddInstance(object);
  if (type->GetModelObject()) type->GetModelObject()->AddInstance(&object->world);

  if (cEntity_TaxiwayManager* taxiways = table ? table->taxiwayManager : nullptr) {
    const std::vector<CellRect> cells = FootprintOnGrid(object);
    taxiways->CutTaxiwayUnderFootprint(cells);
    taxiways->CutApronUnderFootprint(cells);
  }
  if (plot) {
    FootprintRecord footprint;
    object->CallTypeFootprintCells(&footprint);
    plot->MarkFootprint(footprint, static_cast<uint32_t>(object->y) * plot->GetWidth() + object->x,
                        static_cast<uint32_t>(OidClass(object->word)) << 4, 0xFF, false, object, true);
    plot->PaintInstanceOnMiniMap(object, true);
  }

  CountTaxiwayContacts(object);
  LinkRoadAccess(object);
  object->AddTaxiwayAccessNodes(this);

  if (OidClass(object->word) == kClass_Terminal) {
    if (auto* terminal = dynamic_cast<TerminalInstance*>(object)) {
      LinkTaxiwayAccessNodes(terminal);
      std::string today;
      if (cSimulation_Clock* clock = GameClockOf(table)) clock->GetShortDateText(today);
      terminal->PlaceDefaultItems(this, today);
    }
  }
  if (OidClass(object->word) == kClass_Amenity) {
    cBusinessContract* business = type->GetBusinessContract();
    auto* amenity = dynamic_cast<AmenityInstance*>(object);
    if (business && amenity) {
      amenities.push_back(amenity);
      business->placed = 1;
      RefreshBuildMenu();
    }
  }

  statusGroups[kIcon_Construction].push_back(object);
  BuildIconMatrix(object, 0.0f);
  if (statusModels[kIcon_Construction]) statusModels[kIcon_Construction]->AddInstance(&object->iconMatrix);

  uint8_t animation = 0;
  if (PlayDefaultAnimation(object, &animation)) AddModelUse(object, animation);
  if (table && table->statManager) table->statManager->ChargeBuildingCost(object);
  if (hooks.activateAmbientRecords) hooks.activateAmbientRecords();
}

void cEntity_BuildingManager::RemoveInstance(BOInstance* instance) {
  if (!instance) return;
  cKV9_GlobalWrapper* table = table_;
  cBuildableObject* type = instance->GetType();
  if (hooks.onBuildingRemoved) hooks.onBuildingRemoved(instance);
  instance->SetOnFire(false, table);
  if (auto* amenity = dynamic_cast<AmenityInstance*>(instance)) EraseFrom(amenities, amenity);
  if (instance->owner && hooks.releaseFromAdmin) hooks.releaseFromAdmin(instance);
  if (type) {
    type->RemoveInstance(instance);
    if (type->GetModelObject()) type->GetModelObject()->RemoveInstance(&instance->world);
  }
  if (cEntity_GamePlot* plot = table ? table->gamePlot : nullptr) {
    FootprintRecord footprint;
    instance->CallTypeFootprintCells(&footprint);
    plot->MarkFootprint(footprint, static_cast<uint32_t>(instance->y) * plot->GetWidth() + instance->x, 0xFF, 0,
                        true, nullptr, true);
    plot->PaintInstanceOnMiniMap(instance, false);
  }
  if (table && table->statManager) table->statManager->OnBuildingsChanged(instance);

  const bool built = instance->constructionTimeLeft == 0;
  if (built) {
    instance->Demolish(table);
    EraseFrom(placed, instance);
  }
  for (uint32_t kind = 0; kind < kStatusGroupCount; ++kind) {
    auto it = std::find(statusGroups[kind].begin(), statusGroups[kind].end(), instance);
    if (it == statusGroups[kind].end()) continue;
    statusGroups[kind].erase(it);
    if (statusModels[kind]) statusModels[kind]->RemoveInstance(&instance->iconMatrix);
  }

  UnlinkRoadAccess(instance);
  instance->RemoveTaxiwayAccessNodes(this);
  // The road and path nodes may still name the building: they must not
  // point at it once it is gone.
  if (cPathFinder* finder = table ? table->pathFinder : nullptr) {
    for (cPathNode* node = finder->GetNodeListHead(); node; node = node->next)
      for (BOInstance*& side : node->buildings)
        if (side == instance) side = nullptr;
  }
  // The kind lists the demolition of a finished building cleans; one still
  // under construction may be in none of them, but make sure.
  if (auto* terminal = dynamic_cast<TerminalInstance*>(instance)) RemoveFromTerminals(terminal);
  if (auto* runway = dynamic_cast<RunwayInstance*>(instance)) RemoveFromRunways(runway);
  if (auto* admin = dynamic_cast<AdminInstance*>(instance)) RemoveFromAdmin(admin);
  if (auto* service = dynamic_cast<ServiceInstance*>(instance)) RemoveFromMaintenance(service);
  if (auto* tower = dynamic_cast<OrgInstance*>(instance)) RemoveFromControlTowers(tower);

  const uint8_t classCode = OidClass(instance->word);
  if (classCode == kClass_Runway || classCode == kClass_Terminal) RefreshRunwayStates();
  if (modelUseFlag) RemoveModelUse(instance);
  if (table && table->audioManager) table->audioManager->RemoveBuildingSounds(instance);
  if (GetPlacementObject() == instance) SetPlacementObject(nullptr, false);
  delete instance;
}

bool cEntity_BuildingManager::EnterDemolishMode() {
  if (demolishMode) return false;
  SetPlacementObject(nullptr, true);
  if (cGameManager* game = GameManagerOf(table_)) {
    if (auto* cursor = dynamic_cast<cEntity_BaseModel*>(game->GetCursor())) cursor->SelectModel(1);
  }
  demolishMode = 1;
  return true;
}

bool cEntity_BuildingManager::LeaveDemolishMode() {
  if (!demolishMode) return false;
  demolishMode = 0;
  if (cGameManager* game = GameManagerOf(table_)) {
    if (auto* cursor = dynamic_cast<cEntity_BaseModel*>(game->GetCursor())) cursor->SelectModel(0);
    if (auto* camera = dynamic_cast<SceneCamera*>(game->GetCamera())) {
      camera->fixedView = 0;
      camera->secondFlag = 1;
    }
  }
  return true;
}

void cEntity_BuildingManager::RotatePlacementObject(BOInstance* object) {
  if (!object || OidClass(object->word) == kClass_Road) return;
  object->rotation = object->rotation == 0 ? 3 : static_cast<uint8_t>(object->rotation - 1);
  SetPlacementPosition(object, object->x, object->y);
}
