#include "engine/entity/ActionManager.h"

#include "engine/entity/ActionBase.h"
#include "engine/entity/ActionFactory.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/entity/SpawnBase.h"

cActionManager::cActionManager(cEntity_Manager* manager) : table_(manager ? manager->GetGlobalWrapper() : nullptr) {}

cActionManager::~cActionManager() { ReleaseAll(); }

cAction_Factory* cActionManager::Factory() const { return table_ ? table_->actionFactory : nullptr; }

CoreStatus cActionManager::RegisterWithFactory() {
  cAction_Factory* factory = Factory();
  if (!factory) return status::Ok;
  for (cSpawn_Base* spawn : spawns_) factory->RegisterSpawn(spawn);
  for (cAction_Base* action : actions_) factory->RegisterAction(action, action->IsActive());
  return status::Ok;
}

CoreStatus cActionManager::ReleaseAll() {
  cAction_Factory* factory = Factory();
  for (cSpawn_Base* spawn : spawns_) {
    if (factory) factory->UnregisterSpawn(spawn);
    delete spawn;
  }
  spawns_.clear();
  // Deleted whatever the factory answers about holders: the owner ends them.
  for (cAction_Base* action : actions_) {
    if (factory) factory->UnregisterAction(action);
    delete action;
  }
  actions_.clear();
  return status::Ok;
}

void cActionManager::AddSpawn(cSpawn_Base* spawn) {
  if (spawn) spawns_.push_back(spawn);
}

void cActionManager::AddAction(cAction_Base* action) {
  if (action) actions_.push_back(action);
}
