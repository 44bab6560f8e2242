#pragma once
// The owner of a set of actions and spawns: it keeps them in two arrays,
// files them with the action factory of the global service table, and at
// the end unfiles and destroys them. The engine's built-in spawns and the
// game's actions and spawns are owned by managers of this kind.
#include <vector>

#include "base/Status.h"

class cAction_Base;
class cAction_Factory;
class cCore_GlobalWrapper;
class cEntity_Manager;
class cSpawn_Base;

class cActionManager {
 public:
  // The service table is taken from the entity manager.
  explicit cActionManager(cEntity_Manager* manager);
  // ReleaseAll.
  virtual ~cActionManager();
  cActionManager(const cActionManager&) = delete;
  cActionManager& operator=(const cActionManager&) = delete;

  // Files every owned spawn, then every owned action (with its own IsActive
  // answer as the update flag). Refusals are not looked at. 0.
  CoreStatus RegisterWithFactory();
  // Unfiles and destroys every owned spawn, then every owned action. 0.
  CoreStatus ReleaseAll();

  // Takes ownership; a null object is ignored.
  void AddSpawn(cSpawn_Base* spawn);
  void AddAction(cAction_Base* action);

  const std::vector<cSpawn_Base*>& GetSpawns() const { return spawns_; }
  const std::vector<cAction_Base*>& GetActions() const { return actions_; }
  cCore_GlobalWrapper* GetGlobalWrapper() const { return table_; }

 private:
  cAction_Factory* Factory() const;

  std::vector<cAction_Base*> actions_;
  std::vector<cSpawn_Base*> spawns_;
  cCore_GlobalWrapper* table_ = nullptr;
};
