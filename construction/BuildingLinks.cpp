// The links of placed buildings with the road and taxiway networks and the
// control towers, and the restore steps that make them again after a load.
#include <algorithm>
#include <limits>

#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingInstances.h"
#include "construction/BuildingManager.h"
#include "construction/Facilities.h"
#include "construction/GamePlot.h"
#include "construction/PathFinder.h"
#include "construction/RoadManager.h"
#include "construction/TaxiwayAccessNodes.h"
#include "construction/TerminalInstance.h"
#include "engine/math/Noise.h"
#include "engine/services/GlobalWrapper.h"

namespace {

constexpr int32_t kStepX[4] = {0, 1, 0, -1};
constexpr int32_t kStepY[4] = {-1, 0, 1, 0};

// The road cell a road access point leads onto.
void FrontCell(const RoadAccessCell& cell, int32_t* x, int32_t* y) {
  *x = cell.x + kStepX[cell.direction & 3];
  *y = cell.y + kStepY[cell.direction & 3];
}

uint8_t Saturated(uint32_t count) { return static_cast<uint8_t>(std::min<uint32_t>(count, 0xFF)); }

}  // namespace

// The number of contacts of non-road path nodes with the ring of cells
// around each footprint rectangle (a tile touching two rectangles counts
// twice).
static uint32_t TaxiwayContacts(BOInstance* instance, cEntity_GamePlot* plot, cPathFinder* finder) {
  if (!instance || !plot || !finder) return 0;
  FootprintRecord footprint;
  instance->CallTypeFootprintCells(&footprint);
  const int32_t w = plot->GetWidth();
  const int32_t h = plot->GetHeight();
  uint32_t contacts = 0;
  auto look = [&](int32_t cx, int32_t cy) {
    if (cx < 0 || cy < 0 || cx >= w || cy >= h) return;
    const cPathNode* node = finder->GetNodeAt(cx, cy);
    if (node && node->kind != kPathNode_Road) ++contacts;
  };
  for (uint8_t i = 0; i < footprint.count && footprint.rects; ++i) {
    const FootprintRect& r = footprint.rects[i];
    const int32_t x = instance->x + r.x;
    const int32_t y = instance->y + r.y;
    for (int32_t cx = x - 1; cx <= x + r.w; ++cx) {
      look(cx, y - 1);
      look(cx, y + r.l);
    }
    for (int32_t cy = y; cy < y + r.l; ++cy) {
      look(x - 1, cy);
      look(x + r.w, cy);
    }
  }
  return contacts;
}

bool cEntity_BuildingManager::LinkRoadAccess(BOInstance* instance) {
  cEntity_RoadManager* roads = table_ ? table_->roadManager : nullptr;
  cPathFinder* finder = table_ ? table_->pathFinder : nullptr;
  if (!instance || !roads) return true;
  std::vector<RoadAccessCell> cells;
  GetRoadAccessCells(instance, cells);
  for (const RoadAccessCell& cell : cells) {
    int32_t fx = 0, fy = 0;
    FrontCell(cell, &fx, &fy);
    RoadSection* section = roads->GetSectionAt(fx, fy);
    if (!section) continue;
    if (section->kind != RoadJunction) {
      // Re-formed with a junction facing the building; the flood that
      // follows counts the connection.
      roads->MakeJunctionAt(static_cast<uint16_t>(fx), static_cast<uint16_t>(fy));
      continue;
    }
    cPathNode* node = finder ? finder->GetNodeAt(fx, fy) : nullptr;
    if (!node) continue;
    roads->LinkJunctionBuildings(node);
    if (node->visited) instance->AddRoadConnection();
  }
  return true;
}

bool cEntity_BuildingManager::UnlinkRoadAccess(BOInstance* instance) {
  cEntity_RoadManager* roads = table_ ? table_->roadManager : nullptr;
  if (!instance || !roads) return true;
  std::vector<RoadAccessCell> cells;
  GetRoadAccessCells(instance, cells);
  bool changed = false;
  for (const RoadAccessCell& cell : cells) {
    int32_t fx = 0, fy = 0;
    FrontCell(cell, &fx, &fy);
    if (!roads->GetSectionAt(fx, fy)) continue;
    // The junction that served the building goes; the cell is laid again as
    // a plain piece (free: it was paid for) and classified afresh.
    roads->RemoveRoadAt(static_cast<uint16_t>(fx), static_cast<uint16_t>(fy));
    if (roads->PlaceRoad(static_cast<uint16_t>(fx), static_cast<uint16_t>(fy), 1, 1, false))
      roads->FinishRoadPlacement();
    changed = true;
  }
  if (changed) roads->RebuildRoadMesh();
  return true;
}

void cEntity_BuildingManager::LinkRoadAccessNodes(BOInstance* instance) {
  cPathFinder* finder = table_ ? table_->pathFinder : nullptr;
  if (!instance || !finder) return;
  std::vector<RoadAccessCell> cells;
  GetRoadAccessCells(instance, cells);
  for (const RoadAccessCell& cell : cells) {
    int32_t fx = 0, fy = 0;
    FrontCell(cell, &fx, &fy);
    cPathNode* node = finder->GetNodeAt(fx, fy);
    if (!node || node->kind != kPathNode_Road) continue;
    node->buildings[OppositeDirection(cell.direction & 3)] = instance;
    if (node->visited) instance->AddRoadConnection();
  }
}

void cEntity_BuildingManager::CountTaxiwayContacts(BOInstance* instance) {
  const uint32_t contacts =
      TaxiwayContacts(instance, table_ ? table_->gamePlot : nullptr, table_ ? table_->pathFinder : nullptr);
  for (uint32_t i = 0; i < contacts; ++i) instance->AddTaxiwayConnection();
}

void cEntity_BuildingManager::LinkTaxiwayAccessNodes(BOInstance* instance) {
  cPathFinder* finder = table_ ? table_->pathFinder : nullptr;
  if (!instance) return;
  std::vector<TaxiwayAccessCell> cells;
  instance->GetTaxiwayAccessCells(cells);
  auto centreNode = [&](const TaxiwayAccessCell& cell) -> cPathNode* {
    return finder ? finder->GetNodeAt(cell.x + cell.width / 2, cell.y + cell.length / 2) : nullptr;
  };
  if (auto* runway = dynamic_cast<RunwayInstance*>(instance)) {
    runway->node = cells.empty() ? nullptr : centreNode(cells[0]);
  } else if (auto* terminal = dynamic_cast<TerminalInstance*>(instance)) {
    if (!terminal->gates.empty()) return;
    for (const TaxiwayAccessCell& cell : cells)
      terminal->AddGate(centreNode(cell), static_cast<uint8_t>(Noise_RandomIntInRange(0, 23)));
    terminal->airplanes.assign(terminal->gates.size(), nullptr);
  }
}

void cEntity_BuildingManager::AssignControlTowers(const std::vector<RunwayInstance*>& buildings) {
  std::vector<OrgInstance*> pool;
  for (OrgInstance* tower : controlTowers) {
    auto* type = dynamic_cast<cOrganizationalFacility*>(tower->GetType());
    const int32_t capacity = type ? type->GetCapacity() : 0;
    for (int32_t i = 0; i < capacity; ++i) pool.push_back(tower);
  }
  for (RunwayInstance* runway : buildings) {
    auto* type = dynamic_cast<cRunway*>(runway->GetType());
    const uint8_t required = type ? type->requiredTowerLevel : 0;
    auto chosen = pool.end();
    for (auto it = pool.begin(); it != pool.end(); ++it) {
      const uint8_t level = OidLevel((*it)->word);
      if (level < required) continue;
      if (chosen == pool.end() || level < OidLevel((*chosen)->word)) chosen = it;
    }
    if (chosen == pool.end()) continue;
    OrgInstance* tower = *chosen;
    auto* towerType = dynamic_cast<cOrganizationalFacility*>(tower->GetType());
    const size_t capacity = towerType ? static_cast<size_t>(std::max(towerType->GetCapacity(), 0)) : 0;
    if (tower->runways.size() < capacity &&
        std::find(tower->runways.begin(), tower->runways.end(), runway) == tower->runways.end()) {
      tower->runways.push_back(runway);
      runway->tower = tower;
    }
    pool.erase(chosen);
  }
}

void cEntity_BuildingManager::RecountConnections() {
  cPathFinder* finder = table_ ? table_->pathFinder : nullptr;
  cEntity_GamePlot* plot = table_ ? table_->gamePlot : nullptr;
  std::vector<BOInstance*> all(placed.begin(), placed.end());
  all.insert(all.end(), statusGroups[kIcon_Construction].begin(), statusGroups[kIcon_Construction].end());
  // Road links as the flood counts them: one per building side of a node
  // the last flood reached.
  std::vector<std::pair<BOInstance*, uint32_t>> roadLinks;
  for (BOInstance* building : all) roadLinks.emplace_back(building, 0);
  std::sort(roadLinks.begin(), roadLinks.end());
  if (finder) {
    for (cPathNode* node = finder->GetNodeListHead(); node; node = node->next) {
      if (!node->visited) continue;
      for (BOInstance* side : node->buildings) {
        if (!side) continue;
        auto it = std::lower_bound(roadLinks.begin(), roadLinks.end(), std::make_pair(side, uint32_t{0}));
        if (it != roadLinks.end() && it->first == side) ++it->second;
      }
    }
  }
  for (BOInstance* building : all) {
    auto it = std::lower_bound(roadLinks.begin(), roadLinks.end(), std::make_pair(building, uint32_t{0}));
    building->roadConnections = Saturated(it->second);
    building->taxiwayConnections = Saturated(TaxiwayContacts(building, plot, finder));
    building->RefreshFunctional();
  }
}

// --- Restore steps -----------------------------------------------------------

void cEntity_BuildingManager::SetUpRestoredInstance(BOInstance* instance) {
  BuildIconMatrix(instance, 0.0f);
  CountTaxiwayContacts(instance);
}

void cEntity_BuildingManager::LinkRestoredInstance(BOInstance* instance) { LinkRoadAccessNodes(instance); }

void cEntity_BuildingManager::OnRestoredRunwayOrTerminal(BOInstance* instance) { LinkTaxiwayAccessNodes(instance); }

void cEntity_BuildingManager::OnRestoredAdmin(AdminInstance* admin) {
  // The administered list is rebuilt by the contracts' assignment after
  // the restore; the saved one would name buildings twice.
  if (admin) admin->administered.clear();
}

void cEntity_BuildingManager::SetUpRunways(const std::vector<RunwayInstance*>& list) { AssignControlTowers(list); }

void cEntity_BuildingManager::RefreshRunwayStates() { RecheckRunways(); }
