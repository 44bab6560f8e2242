#pragma once
// "MainMenu": the front end's main menu. One row of four buttons serves every
// sub-menu; this action tracks which sub-menu is open, lays the buttons out
// for it, hands their commands to the sub-menu's own action, and ends the
// rating screen.
#include <cstdint>
#include <string>

#include "engine/entity/ActionBase.h"
#include "engine/entity/Singleton.h"

class cCore_GlobalWrapper;
class cKV9_GlobalWrapper;
class GUIEntity;

class ActionMainMenu : public cAction_Base, public Singleton<ActionMainMenu> {
 public:
  // Which sub-menu is open.
  enum MenuState : uint16_t {
    kTopMenu = 0,
    kOptions = 1,
    kCredits = 2,
    kLoad = 3,
    kEvents = 6,
  };

  explicit ActionMainMenu(cCore_GlobalWrapper* table);

  CoreStatus Execute(cEntity_Base* sender, uintptr_t code, const std::string& params) override;
  // Back to the top menu's state (world clear, game load).
  void Reset() override { menuState = kTopMenu; }

  void ShowTopMenu();
  // `reload`: the page is filled from the configuration afresh.
  void OpenOptionsMenu(bool reload = true);
  void OpenEventsMenu();
  void OpenLoadMenu();
  void OpenCreditsMenu();
  // Hands `command` to the sub-menu action with the scene as receiver and
  // sender, then shows the scene. Skipped when the action does not exist.
  void ForwardToSubMenu(const std::string& sceneName, cAction_Base* subMenu, const std::string& command);

  uint16_t menuState = kTopMenu;

 private:
  CoreStatus ClickButton(int button);
  GUIEntity* Scene();
  // Captions of buttons 1-4 and which are shown.
  void LayButtons(const char* const captions[4], const bool shown[4]);
  void ShowFixedButtons(bool shown);
  void SetVisible(const char* name, bool shown);
  void SendToScene(const char* name, uint32_t message);

  cKV9_GlobalWrapper* table_ = nullptr;
};
