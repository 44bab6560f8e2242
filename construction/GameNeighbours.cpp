#include "construction/GameNeighbours.h"

#include "engine/entity/ActionFactory.h"
#include "engine/frame/GameManager.h"
#include "engine/services/GlobalWrapper.h"
#include "game/GameCamera.h"
#include "game/GameCursor.h"
#include "screens/ActionBuildMenu.h"
#include "simulation/SimulationServices.h"

cEntity_GameCamera* GameCameraOf(cKV9_GlobalWrapper* table) {
  cGameManager* game = GameManagerOf(table);
  return game ? dynamic_cast<cEntity_GameCamera*>(game->GetCamera()) : nullptr;
}

cEntity_GameCursor* GameCursorOf(cKV9_GlobalWrapper* table) {
  cGameManager* game = GameManagerOf(table);
  return game ? dynamic_cast<cEntity_GameCursor*>(game->GetCursor()) : nullptr;
}

ActionBuildMenu* BuildMenuOf(cKV9_GlobalWrapper* table) {
  if (!table || !table->actionFactory) return nullptr;
  return dynamic_cast<ActionBuildMenu*>(table->actionFactory->GetAction("BuildMenu"));
}
