// The actions that edit a widget, a scene or the GUI's modal state at once.
#include <string>

#include "base/StringUtil.h"
#include "gui/core/GUIButton.h"
#include "gui/core/GUICheckBox.h"
#include "gui/core/GUIScene.h"
#include "gui/core/WidgetMessages.h"
#include "gui/core/actions/ActionText.h"
#include "gui/core/actions/GUIActions.h"
#include "platform/Locale.h"

using guiaction::Number;
using guiaction::Truth;
using guiaction::Words;

CoreStatus GA_BtnSetShader::Execute(cEntity_Base* entity, uintptr_t, const std::string& params) {
  const std::vector<std::string> words = Words(params);
  if (words.empty()) return kActionNotDone;
  const int32_t state = platform::ParseInt(words[0]);
  if (state < 0 || state > 5) return kActionNotDone;
  auto* button = dynamic_cast<GUIButton*>(entity);
  if (!button) return kActionWrongKind;
  // State 5 names no look of a button: nothing changes.
  button->ApplyStateShader(state);
  return status::Ok;
}

CoreStatus GA_EditWidget::Execute(cEntity_Base* entity, uintptr_t, const std::string& params) {
  auto* target = dynamic_cast<GUIEntity*>(entity);
  const std::vector<std::string> words = Words(params);
  if (!target || words.empty()) return kActionNotDone;
  const std::string verb = str::ToLower(words[0]);
  const auto number = [&](size_t i, float otherwise) { return i < words.size() ? Number(words[i]) : otherwise; };
  if (verb == "active" || verb == "visible" || verb == "enabled") {
    if (words.size() < 2) return kActionNotDone;
    const uint8_t on = Truth(words[1]) ? 1 : 0;
    if (verb == "active") target->SetActive(on);
    else if (verb == "visible") target->SetVisible(on);
    else target->SetEnabled(on);
  } else if (verb == "scale") {
    target->ScaleByV(JVector{number(1, 1.0f), number(2, 1.0f), number(3, 1.0f)});
  } else if (verb == "setscale") {
    target->SetScaleV(JVector{number(1, 1.0f), number(2, 1.0f), number(3, 1.0f)});
  } else if (verb == "caption") {
    const std::string text = guiaction::Rest(params, 1);
    if (text.empty()) return kActionNotDone;
    if (target->GetKind() == GUIKIND_BUTTON) {
      auto* button = dynamic_cast<GUIButton*>(target);
      if (!button) return kActionNotDone;
      button->SetCaption(text, true);
    } else if (target->GetKind() == GUIKIND_CHECKBOX) {
      auto* box = dynamic_cast<GUICheckBox*>(target);
      if (!box) return kActionNotDone;
      box->SetCaption(text, true);
    } else {
      return kActionNotDone;
    }
  } else if (verb == "show" || verb == "hide" || verb == "lineup" || verb == "linedown") {
    const uint32_t code = verb == "show" ? GUIMSG_SHOW
                          : verb == "hide" ? GUIMSG_HIDE
                          : verb == "lineup" ? GUIMSG_LINEUP
                                             : GUIMSG_LINEDOWN;
    target->OnMessage(EntityWord(target), code, 0);
  } else if (verb == "position") {
    if (words.size() < 4) return kActionNotDone;
    target->SetPositionV(JVector{Number(words[1]), Number(words[2]), Number(words[3])});
    return status::Ok;
  } else {
    return kActionNotDone;
  }
  target->RunPendingMultiAction();
  return status::Ok;
}

CoreStatus GA_EditOtherWidget::Execute(cEntity_Base* entity, uintptr_t sender, const std::string& params) {
  const std::vector<std::string> words = Words(params);
  const std::string rest = guiaction::Rest(params, 1);
  if (words.empty() || rest.empty()) return kActionNotDone;
  auto* other = dynamic_cast<GUIEntity*>(guiaction::FindNamed(entity, words[0]));
  GA_EditWidget* edit = GA_EditWidget::GetInstance();
  if (!other || !edit) return kActionNotDone;
  if (GUIEntity* from = guiaction::SenderEntity(entity, sender)) from->RunPendingMultiAction();
  return edit->Execute(other, sender, rest);
}

CoreStatus GA_EditScene::Execute(cEntity_Base* entity, uintptr_t, const std::string& params) {
  const std::vector<std::string> words = Words(params);
  if (words.empty()) return kActionNotDone;
  auto* scene = dynamic_cast<GUIScene*>(guiaction::FindNamed(entity, words[0]));
  if (!scene) return kActionWrongKind;
  if (words.size() < 2) return kActionNotDone;
  const std::string verb = str::ToLower(words[1]);
  if (verb == "activate") scene->SetActive(1);
  else if (verb == "deactivate") scene->SetActive(0);
  else if (verb == "show") scene->SetVisible(1);
  else if (verb == "hide") scene->SetVisible(0);
  else if (verb == "enable") scene->SetEnabled(1);
  else if (verb == "disable") scene->SetEnabled(0);
  return status::Ok;
}

CoreStatus GA_MoveListBoxHighlight::Execute(cEntity_Base* entity, uintptr_t sender, const std::string& params) {
  const std::vector<std::string> words = Words(params);
  if (words.size() < 2) return kActionNotDone;
  const std::string direction = str::ToLower(words[1]);
  uint32_t code = 0;
  if (direction == "up") code = 769;
  else if (direction == "pageup") code = 770;
  else if (direction == "down") code = 771;
  else if (direction == "pagedown") code = 772;
  else return kActionNotDone;
  cEntity_Base* list = guiaction::FindNamed(entity, words[0]);
  if (!list) return kActionNotDone;
  return list->OnMessage(sender, code, 0) ? status::Ok : kActionNotDone;
}

CoreStatus GA_EditGUI::Execute(cEntity_Base* entity, uintptr_t, const std::string& params) {
  auto* target = dynamic_cast<GUIEntity*>(entity);
  const std::vector<std::string> words = Words(params);
  if (!target || words.empty()) return kActionNotDone;
  Panelis* gui = target->GetGUI();
  const std::string name = words.size() > 1 ? words[1] : target->NameRef();
  const std::string verb = str::ToLower(words[0]);
  if (verb != "entermodal" && verb != "endmodal") return kActionNotDone;
  if (!gui) return kActionNotDone;
  if (verb == "entermodal") gui->PushModalScene(name);
  else gui->PopModalScene(name);
  return status::Ok;
}
