#include "construction/GameNeighbours.h"

#include "engine/entity/ActionFactory.h"
#include "engine/frame/BaseCamera.h"
#include "engine/frame/BaseCursor.h"
#include "engine/frame/GameManager.h"
#include "engine/services/GlobalWrapper.h"
#include "scene/SceneCamera.h"
#include "scene/SceneCursor.h"
#include "simulation/ActionBuildMenu.h"
#include "simulation/SimulationServices.h"

SceneCamera* SceneCameraOf(cKV9_GlobalWrapper* table) {
  cGameManager* game = GameManagerOf(table);
  return game ? dynamic_cast<SceneCamera*>(game->GetCamera()) : nullptr;
}

SceneCursor* SceneCursorOf(cKV9_GlobalWrapper* table) {
  cGameManager* game = GameManagerOf(table);
  return game ? dynamic_cast<SceneCursor*>(game->GetCursor()) : nullptr;
}

ActionBuildMenu* BuildMenuOf(cKV9_GlobalWrapper* table) {
  if (!table || !table->actionFactory) return nullptr;
  return dynamic_cast<ActionBuildMenu*>(table->actionFactory->GetAction("BuildMenu"));
}
