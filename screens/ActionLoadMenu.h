#pragma once
// The front end's load menu ("LoadMenu"): the list of saved games. The saves
// issue completes it; until then no object of it exists and commands
// forwarded to it are skipped.
#include "engine/entity/ActionBase.h"
#include "engine/entity/Singleton.h"

class ActionLoadMenu : public cAction_Base, public Singleton<ActionLoadMenu> {
 public:
  ActionLoadMenu() : cAction_Base("LoadMenu") {}
  CoreStatus Execute(cEntity_Base* sender, uintptr_t code, const std::string& params) override = 0;
};
