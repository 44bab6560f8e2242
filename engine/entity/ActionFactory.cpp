#include "engine/entity/ActionFactory.h"

#include <algorithm>

#include "engine/entity/ActionBase.h"
#include "engine/entity/SpawnBase.h"
#include "base/StringUtil.h"

namespace {
constexpr size_t kBuckets = 213;

template <typename Map, typename T>
T* Lookup(Map& map, std::string& name) {
  if (name.empty()) return nullptr;
  str::ToLowerInPlace(name);
  const auto it = map.find(name);
  if (it == map.end()) return nullptr;
  ++it->second->referenceCount;
  return it->second;
}

template <typename Map, typename T>
bool File(Map& map, T* item) {
  str::ToLowerInPlace(item->name);
  item->referenceCount = 0;
  return map.emplace(item->name, item).second;
}

// Removes the entry only when it is this very object.
template <typename Map, typename T>
void Unfile(Map& map, T* item) {
  const auto it = map.find(item->name);
  if (it != map.end() && it->second == item) map.erase(it);
}
}  // namespace

cAction_Factory::cAction_Factory() {
  actions_.rehash(kBuckets);
  spawns_.rehash(kBuckets);
}

cAction_Factory::~cAction_Factory() {
  // Take each action out before deleting it, so a destructor that looks
  // into the factory never meets a freed object.
  while (!actions_.empty()) {
    cAction_Base* action = actions_.begin()->second;
    actions_.erase(actions_.begin());
    delete action;
  }
  updateList_.clear();
  spawns_.clear();
}

cAction_Base* cAction_Factory::GetAction(std::string& name) {
  return Lookup<decltype(actions_), cAction_Base>(actions_, name);
}

cAction_Base* cAction_Factory::GetAction(const char* name) {
  std::string copy = name ? name : "";
  return GetAction(copy);
}

bool cAction_Factory::RegisterAction(cAction_Base* action, bool flag) {
  if (!action) return false;
  if (!File(actions_, action)) return false;
  if (flag) updateList_.push_back(action);
  return true;
}

bool cAction_Factory::ReleaseAction(cAction_Base* action) {
  if (!action) return false;
  --action->referenceCount;
  return true;
}

bool cAction_Factory::UnregisterAction(cAction_Base* action) {
  if (!action) return false;
  const auto it = actions_.find(action->name);
  if (it != actions_.end() && it->second == action) {
    actions_.erase(it);
    updateList_.erase(std::remove(updateList_.begin(), updateList_.end(), action), updateList_.end());
  }
  return action->referenceCount == 0;
}

cSpawn_Base* cAction_Factory::GetSpawn(std::string& name) {
  return Lookup<decltype(spawns_), cSpawn_Base>(spawns_, name);
}

cSpawn_Base* cAction_Factory::GetSpawn(const char* name) {
  std::string copy = name ? name : "";
  return GetSpawn(copy);
}

bool cAction_Factory::RegisterSpawn(cSpawn_Base* spawn) {
  if (!spawn) return false;
  return File(spawns_, spawn);
}

bool cAction_Factory::ReleaseSpawn(cSpawn_Base* spawn) {
  if (!spawn) return false;
  --spawn->referenceCount;
  return true;
}

bool cAction_Factory::UnregisterSpawn(cSpawn_Base* spawn) {
  if (!spawn) return false;
  Unfile(spawns_, spawn);
  return true;
}

void cAction_Factory::UpdateActions(float seconds) {
  // Index loop: an action's update may file further actions.
  for (size_t i = 0; i < updateList_.size(); ++i) updateList_[i]->Update(seconds);
}
