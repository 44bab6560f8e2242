#pragma once
// The one registry of actions and spawns, filed by lower-case name, with
// reference counts of the holders that took them. The factory never frees an
// object because of its count; it tells the caller whether it was free.
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/entity/Singleton.h"

class cAction_Base;
class cSpawn_Base;

class cAction_Factory : public Singleton<cAction_Factory> {
 public:
  cAction_Factory();
  // Unregisters and deletes every action still filed; unregisters every
  // spawn still filed without destroying it (their owners do that).
  virtual ~cAction_Factory();
  cAction_Factory(const cAction_Factory&) = delete;
  cAction_Factory& operator=(const cAction_Factory&) = delete;

  // Lower-cases `name` in place (an empty name is left alone and finds
  // nothing); a found action gains one reference.
  virtual cAction_Base* GetAction(std::string& name);
  // Lower-cases the action's name and resets its count, then files it
  // unless the name is taken. `flag` also puts it on the update list.
  virtual bool RegisterAction(cAction_Base* action, bool flag);
  // One reference less (no lower bound, nothing removed).
  virtual bool ReleaseAction(cAction_Base* action);
  // Takes the action out of the map when it is the one filed under its name
  // (a refused duplicate never removes the original). True when its count
  // is 0, that is when no holder still uses it.
  virtual bool UnregisterAction(cAction_Base* action);
  virtual cSpawn_Base* GetSpawn(std::string& name);
  virtual bool RegisterSpawn(cSpawn_Base* spawn);
  virtual bool ReleaseSpawn(cSpawn_Base* spawn);
  // As UnregisterAction, without the count test: true for any spawn given.
  virtual bool UnregisterSpawn(cSpawn_Base* spawn);

  // Convenience lookups that leave the caller's text unchanged.
  cAction_Base* GetAction(const char* name);
  cSpawn_Base* GetSpawn(const char* name);

  // The actions filed with the update flag, in filing order.
  const std::vector<cAction_Base*>& GetUpdateList() const { return updateList_; }
  // Update(seconds) on every action of the update list (unregistering an
  // action also takes it off the list).
  void UpdateActions(float seconds);

  size_t GetActionCount() const { return actions_.size(); }
  size_t GetSpawnCount() const { return spawns_.size(); }

 private:
  std::unordered_map<std::string, cAction_Base*> actions_;
  std::vector<cAction_Base*> updateList_;
  std::unordered_map<std::string, cSpawn_Base*> spawns_;
};
