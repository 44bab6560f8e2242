#include "game/KV9RoadManager.h"

#include "construction/GamePlot.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/GlobalWrapper.h"

cKV9_RoadManager::cKV9_RoadManager(cEntity_Manager* manager) : cEntity_RoadManager(manager, kEntityType_Base) {}

CoreStatus cKV9_RoadManager::LoadMaterials() {
  cEntity_RoadManager::LoadMaterials();
  return status::Ok;
}

CoreStatus cKV9_RoadManager::BuildWorld() {
  cEntity_RoadManager::BuildWorld();
  return status::Ok;
}

CoreStatus cKV9_RoadManager::Clear() {
  cEntity_RoadManager::Clear();
  return status::Ok;
}

float cKV9_RoadManager::GetEdgeEntryHeading() {
  uint16_t x = kNoCell;
  uint16_t y = kNoCell;
  // Without an entrance both words read as no cell, past every edge.
  GetEntranceCell(&x, &y);
  if (x == 0) return -270.0f;
  if (y == 0) return 0.0f;
  cEntity_Manager* entities = GetManager();
  auto* table = entities ? dynamic_cast<cKV9_GlobalWrapper*>(entities->GetGlobalWrapper()) : nullptr;
  cEntity_GamePlot* plot = table ? table->gamePlot : nullptr;
  if (plot && x + 1 >= plot->GetViewGridWidth()) return -90.0f;
  return -180.0f;
}
