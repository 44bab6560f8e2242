#include "screens/ActionExitGame.h"

#include "platform/window/Window.h"
#include "screens/ScreenCommand.h"

ActionExitGame::ActionExitGame(cCore_GlobalWrapper* table) : cAction_Base("ExitGame"), table_(table) {}

CoreStatus ActionExitGame::Execute(cEntity_Base*, uintptr_t, const std::string& params) {
  platform::PostQuitMessage(screens::DecimalInt(params));
  return status::Ok;
}
