#pragma once
// "ExitGame": ends the program when a widget event bound to it fires, by
// posting the quit message with the exit code its argument text gives.
#include "engine/entity/ActionBase.h"
#include "engine/entity/Singleton.h"

class cCore_GlobalWrapper;

class ActionExitGame : public cAction_Base, public Singleton<ActionExitGame> {
 public:
  // Made like the other screen actions; quitting needs no service table.
  explicit ActionExitGame(cCore_GlobalWrapper* table);

  // The text read as a decimal number (0 without digits, clamped to 32
  // bits) becomes the exit code. Always 0.
  CoreStatus Execute(cEntity_Base* sender, uintptr_t code, const std::string& params) override;
};
