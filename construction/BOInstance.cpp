#include "construction/BOInstance.h"

#include "construction/BuildingManager.h"
#include "construction/PathFinder.h"
#include "construction/TaxiwayAccessNodes.h"
#include "engine/services/GlobalWrapper.h"
#include "simulation/SimulationServices.h"

namespace {

cPathFinder* PathFinderOf(cEntity_BuildingManager* manager) {
  cKV9_GlobalWrapper* table = GameTableOf(manager);
  return table ? table->pathFinder : nullptr;
}

}  // namespace

bool BOInstance::AddTaxiwayAccessNodes(cEntity_BuildingManager* manager) {
  std::vector<TaxiwayAccessCell> cells;
  GetTaxiwayAccessCells(cells);
  cPathFinder* finder = PathFinderOf(manager);
  if (!finder) return !cells.empty();
  return ::AddTaxiwayAccessNodes(*finder, cells);
}

void BOInstance::RemoveTaxiwayAccessNodes(cEntity_BuildingManager* manager) {
  std::vector<TaxiwayAccessCell> cells;
  GetTaxiwayAccessCells(cells);
  if (cPathFinder* finder = PathFinderOf(manager)) ::RemoveTaxiwayAccessNodes(*finder, cells);
}
