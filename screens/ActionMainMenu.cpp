#include "screens/ActionMainMenu.h"

#include "engine/services/GlobalWrapper.h"
#include "engine/services/Panelis.h"
#include "game/Skyvane.h"
#include "gui/core/GUIButton.h"
#include "gui/core/GUIScene.h"
#include "platform/window/Window.h"
#include "screens/ActionLoadMenu.h"
#include "screens/ActionOptionsMenu.h"
#include "screens/ScreenCommand.h"
#include "screens/ScreenWidgets.h"

namespace {

constexpr const char* kScreen = "ActionMainMenu";
constexpr const char* kButtons[4] = {"btnMMButton1", "btnMMButton2", "btnMMButton3", "btnMMButton4"};
constexpr const char* kFixedButtons[3] = {"btnPMNew", "btnPMLoad", "btnPMCampaign"};

}  // namespace

ActionMainMenu::ActionMainMenu(cCore_GlobalWrapper* table)
    : cAction_Base("MainMenu"), table_(dynamic_cast<cKV9_GlobalWrapper*>(table)) {}

CoreStatus ActionMainMenu::Execute(cEntity_Base*, uintptr_t, const std::string& params) {
  const screens::Command command = screens::CutCommand(params, screens::kBlankOrBar);
  if (command.word.empty()) return screens::kNotHandled;
  if (command.Is("Show")) {
    ShowTopMenu();
    return status::Ok;
  }
  if (command.Is("ClickThroughESRB")) {
    // Several bindings of one click (release, then click) reach here; only
    // the first may end the rating screen, or the loading would run twice.
    cSkyvane* application = table_ ? table_->application : nullptr;
    if (application && application->IsRatingShowing()) {
      application->SetRating(false);
      if (table_->gui) table_->gui->DestroyWorld();
      application->StartLoading();
    }
    return status::Ok;
  }
  if (command.Is("ClickButton1")) return ClickButton(1);
  if (command.Is("ClickButton2")) return ClickButton(2);
  if (command.Is("ClickButton3")) return ClickButton(3);
  if (command.Is("ClickButton4")) {
    if (menuState == kOptions) ShowTopMenu();
    return screens::kNotHandled;
  }
  if (command.Is("ClickButtonLoad")) {
    OpenLoadMenu();
    return screens::kNotHandled;
  }
  return screens::kNotHandled;
}

CoreStatus ActionMainMenu::ClickButton(int button) {
  ActionOptionsMenu* options = ActionOptionsMenu::GetInstance();
  ActionLoadMenu* load = ActionLoadMenu::GetInstance();
  switch (menuState) {
    case kTopMenu:
      if (button == 1) OpenOptionsMenu();
      else if (button == 2) OpenCreditsMenu();
      else platform::PostQuitMessage(0);
      break;
    case kOptions:
      if (button == 1) {
        ForwardToSubMenu("scnOptionsMenu", options, "ApplySettings");
        // Settings that could not be saved keep the page open (the player
        // has been told).
        if (!options || options->SettingsSaved()) ShowTopMenu();
      } else if (button == 2) {
        ForwardToSubMenu("scnOptionsMenu", options, "SetDefaultOptions");
      } else {
        OpenEventsMenu();
      }
      break;
    case kCredits:
      if (button == 1) ShowTopMenu();
      break;
    case kLoad:
      if (button == 1) ForwardToSubMenu("scnLoadMenu", load, "LoadScenario");
      else if (button == 2) ForwardToSubMenu("scnLoadMenu", load, "DeleteScenario");
      else ShowTopMenu();
      break;
    case kEvents:
      // Back on the options page, whatever the events page did, the page's
      // own changes not yet accepted are still there: it is not reloaded.
      if (button == 1) {
        ForwardToSubMenu("scnOptionsMenu", options, "ApplyAutopauseSettings");
        OpenOptionsMenu(false);
      } else if (button == 2) {
        ForwardToSubMenu("scnAutopauseMenu", options, "SetDefaultEvents");
      } else {
        if (options) options->CancelAutopauseSettings();
        OpenOptionsMenu(false);
      }
      break;
    default:
      break;
  }
  return status::Ok;
}

GUIEntity* ActionMainMenu::Scene() {
  return screens::FindWidget<GUIScene>(table_ ? table_->gui : nullptr, "scnMainMenu", kScreen);
}

void ActionMainMenu::SetVisible(const char* name, bool shown) {
  if (auto* widget = screens::FindChildWidget<GUIEntity>(Scene(), name, kScreen)) widget->SetVisible(shown ? 1 : 0);
}

void ActionMainMenu::SendToScene(const char* name, uint32_t message) {
  if (auto* scene = screens::FindChildWidget<GUIScene>(Scene(), name, kScreen))
    scene->OnMessage(reinterpret_cast<uintptr_t>(scene), message, 0);
}

void ActionMainMenu::LayButtons(const char* const captions[4], const bool shown[4]) {
  GUIEntity* menu = Scene();
  for (int i = 0; i < 4; ++i) {
    auto* button = screens::FindChildWidget<GUIButton>(menu, kButtons[i], kScreen);
    if (!button) continue;
    button->SetCaption(captions[i], true);
    button->SetVisible(shown[i] ? 1 : 0);
  }
}

void ActionMainMenu::ShowFixedButtons(bool shown) {
  for (const char* name : kFixedButtons) SetVisible(name, shown);
}

void ActionMainMenu::ShowTopMenu() {
  SetVisible("stcMMBackgroundZ", true);
  static constexpr const char* kCaptions[4] = {"OPTIONS", "CREDITS", "EXIT", "CANCEL"};
  static constexpr bool kShown[4] = {true, true, true, false};
  LayButtons(kCaptions, kShown);
  ShowFixedButtons(true);
  SetVisible("scnOptionsMenu", false);
  SendToScene("scnCredits", screens::kMsgHide);
  SetVisible("scnLoadMenu", false);
  SetVisible("scnCampaignMenu", false);
  menuState = kTopMenu;
}

void ActionMainMenu::OpenOptionsMenu(bool reload) {
  if (reload) ForwardToSubMenu("scnOptionsMenu", ActionOptionsMenu::GetInstance(), "LoadSettings");
  else SetVisible("scnOptionsMenu", true);
  SetVisible("stcMMBackgroundZ", false);
  static constexpr const char* kCaptions[4] = {"ACCEPT", "DEFAULT", "EVENTS", "CANCEL"};
  static constexpr bool kShown[4] = {true, true, true, true};
  LayButtons(kCaptions, kShown);
  ShowFixedButtons(false);
  SetVisible("scnAutopauseMenu", false);
  menuState = kOptions;
}

void ActionMainMenu::OpenEventsMenu() {
  ForwardToSubMenu("scnAutopauseMenu", ActionOptionsMenu::GetInstance(), "LoadAutopauseSettings");
  SetVisible("scnOptionsMenu", false);
  SetVisible("stcMMBackgroundZ", false);
  static constexpr const char* kCaptions[4] = {"ACCEPT", "DEFAULT", "CANCEL", "CANCEL"};
  static constexpr bool kShown[4] = {true, true, true, false};
  LayButtons(kCaptions, kShown);
  ShowFixedButtons(false);
  menuState = kEvents;
}

void ActionMainMenu::OpenLoadMenu() {
  SetVisible("stcMMBackgroundZ", false);
  static constexpr const char* kCaptions[4] = {"ACCEPT", "DELETE", "CANCEL", "CANCEL"};
  static constexpr bool kShown[4] = {true, true, true, false};
  LayButtons(kCaptions, kShown);
  ShowFixedButtons(false);
  auto* scene = screens::FindChildWidget<GUIScene>(Scene(), "scnLoadMenu", kScreen);
  if (scene) scene->SetVisible(1);
  if (ActionLoadMenu* load = ActionLoadMenu::GetInstance(); load && scene)
    load->Execute(scene, reinterpret_cast<uintptr_t>(scene), "LoadSaveGames lbLMSaveGames");
  menuState = kLoad;
}

void ActionMainMenu::OpenCreditsMenu() {
  SetVisible("stcMMBackgroundZ", false);
  static constexpr const char* kCaptions[4] = {"CANCEL", "DEFAULT", "CANCEL", "CANCEL"};
  static constexpr bool kShown[4] = {true, false, false, false};
  LayButtons(kCaptions, kShown);
  ShowFixedButtons(false);
  SendToScene("scnCredits", screens::kMsgShow);
  menuState = kCredits;
}

void ActionMainMenu::ForwardToSubMenu(const std::string& sceneName, cAction_Base* subMenu,
                                      const std::string& command) {
  auto* scene = screens::FindChildWidget<GUIScene>(Scene(), sceneName, kScreen);
  if (!scene) return;
  if (subMenu) subMenu->Execute(scene, reinterpret_cast<uintptr_t>(scene), command);
  scene->SetVisible(1);
}
