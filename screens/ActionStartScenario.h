#pragma once
// "StartScenario": starts a game from the front end, a new one on the chosen
// location ("new random", "new image|<name>") or a saved one ("load
// <file>"), then puts the camera into its overview, starts the location's
// music and closes the loading screen.
#include <string_view>

#include "engine/entity/ActionBase.h"
#include "engine/entity/Singleton.h"

class cCore_GlobalWrapper;
class cKV9_GlobalWrapper;

class ActionStartScenario : public cAction_Base, public Singleton<ActionStartScenario> {
 public:
  explicit ActionStartScenario(cCore_GlobalWrapper* table);

  CoreStatus Execute(cEntity_Base* sender, uintptr_t code, const std::string& params) override;

 private:
  CoreStatus StartNew(std::string_view rest);
  CoreStatus Load(std::string_view rest);
  // The overview camera and the location's music, after a start or a load.
  void CameraAndMusic(cKV9_GlobalWrapper* table);

  cCore_GlobalWrapper* table_ = nullptr;
};
