#include "game/KV9GamePlot.h"

#include "engine/entity/EntityManager.h"
#include "engine/services/GlobalWrapper.h"
#include "game/KV9GameManager.h"
#include "game/world/TerrainManager.h"
#include "simulation/GameScenario.h"

cKV9_GamePlot::cKV9_GamePlot(cEntity_Manager* manager)
    : cEntity_GamePlot(manager, kEntityType_Base), game_(manager, "cKV9_GamePlot") {
  SetTable(game_.Table());
  SetWorld(this);
}

CoreStatus cKV9_GamePlot::BuildWorld() { return cEntity_GamePlot::BuildWorld(); }

CoreStatus cKV9_GamePlot::ClearWorld() {
  cEntity_GamePlot::ClearWorld();
  return status::Ok;
}

void cKV9_GamePlot::SetGridSize(int32_t cells, int32_t second) {
  if (cells < 1 || second < 1 || cells > 0xFFFF || second > 0xFFFF) return;
  SetDimensions(static_cast<uint16_t>(cells), static_cast<uint16_t>(second));
}

void cKV9_GamePlot::OnCursorMessageA() { game_.Missing("plot reaction to the pointer entering a widget"); }

void cKV9_GamePlot::OnCursorMessageB() { game_.Missing("plot reaction to the pointer leaving the widgets"); }

void cKV9_GamePlot::SetGameViewActive(bool active) {
  if (active) {
    ClearTaggedMesh();
    ResumeClock();
    UpdateMiniMap();
  } else {
    BuildTaggedMesh();
    PauseClock();
  }
}

float cKV9_GamePlot::GetLandPrice() {
  cKV9_GlobalWrapper* t = game_.Table();
  cEntity_GameScenario* scenario = t ? game_.Live(t->scenario) : nullptr;
  return scenario ? scenario->GetLandPrice() : 0.0f;
}

std::string cKV9_GamePlot::GetPlotTexture() {
  cKV9_GlobalWrapper* t = game_.Table();
  cEntity_GameScenario* scenario = t ? game_.Live(t->scenario) : nullptr;
  return scenario ? scenario->GetPlotTexture() : std::string();
}

float cKV9_GamePlot::GetHeightAt(float x, float z) {
  cKV9_GameManager* manager = game_.GameManager();
  auto* terrain =
      manager ? dynamic_cast<cEntity_TerrainManager*>(game_.Live(manager->GetTerrainManagerEntity())) : nullptr;
  // The terrain's grid runs -64..64 over the world's -640..640.
  return terrain ? terrain->GetHeightAt(x / 10.0f, z / 10.0f) : GetOriginY();
}
