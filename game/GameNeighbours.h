#pragma once
// How the game's world hosts and manager adapters reach the game around
// them: the game's table of an entity manager, its game manager, and the
// table's managers only while the game manager still holds them (a manager
// already on its way out answers null, so nothing reaches a freed object
// while the world is torn down). A neighbour that is missing is named in one
// debug line, once per neighbour and asker.
#include <set>
#include <string>

class cEntity_Base;
class cEntity_Manager;
class cKV9_GameManager;
class cKV9_GlobalWrapper;
class cSimulation_Clock;

class GameNeighbours {
 public:
  // `owner` names the asker in the debug lines.
  GameNeighbours(cEntity_Manager* entities, const char* owner);

  cKV9_GlobalWrapper* Table() const;
  cKV9_GameManager* GameManager() const;
  cEntity_Manager* Entities() const { return entities_; }
  // The entity when the game manager still holds it, else null.
  template <typename T>
  T* Live(T* entity) const {
    return IsLive(entity) ? entity : nullptr;
  }
  bool IsLive(const cEntity_Base* entity) const;
  // The simulation's clock while the simulation lives.
  cSimulation_Clock* GameClock() const;
  // The resource path, ending in a separator.
  std::string ResourceDirectory() const;
  bool GetOption(const std::string& section, const std::string& key, std::string* value) const;
  // One debug line naming what is missing, the first time only.
  void Missing(const std::string& what) const;

 private:
  cEntity_Manager* entities_;
  const char* owner_;
  mutable std::set<std::string> reported_;
};
