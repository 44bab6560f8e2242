#include "screens/ActionExitGame.h"

#include "platform/window/Window.h"
#include "screens/ScreenCommand.h"

ActionExitGame::ActionExitGame(cCore_GlobalWrapper*) : cAction_Base("ExitGame") {}

CoreStatus ActionExitGame::Execute(cEntity_Base*, uintptr_t, const std::string& params) {
  platform::PostQuitMessage(screens::DecimalInt(params));
  return status::Ok;
}
