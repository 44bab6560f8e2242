// The commands that create widgets and open their blocks, and those that
// define and switch keyword languages.
#include <functional>
#include <new>
#include <string>

#include "engine/config/LanguageManager.h"
#include "gui/core/GUIButton.h"
#include "gui/core/GUICheckBox.h"
#include "gui/core/GUIDropDownLB.h"
#include "gui/core/GUIListBox.h"
#include "gui/core/GUIMLTextBox.h"
#include "gui/core/GUIProgressBar.h"
#include "gui/core/GUIScene.h"
#include "gui/core/GUIScrollBar.h"
#include "gui/core/GUISlider.h"
#include "gui/core/GUISpin.h"
#include "gui/core/GUIStatic.h"
#include "gui/core/GUIStaticText.h"
#include "gui/core/GUITextBox.h"
#include "gui/core/GUIWorld.h"
#include "gui/plugin/GUILanguage.h"
#include "gui/plugin/commands/CommandKit.h"
#include "gui/plugin/commands/GUICommands.h"

namespace guicmd {

namespace {

C3DFont* DefaultFont(Panelis* gui) {
  GUIWorld* world = gui ? gui->GetWorld() : nullptr;
  return world ? world->GetDefaultFont() : nullptr;
}

// Spawns a widget of the kind, names it, runs its set-up and opens its
// block with the kind's language. A widget whose set-up fails is destroyed:
// no block opens and nothing is left behind.
template <typename T>
CoreStatus Create(CStringArray& tokens, CoreParser* raw, int32_t kind, const char* language,
                  const std::function<bool(T*, Panelis*)>& setUp = {}) {
  GUIParser* parser = Parser(raw);
  Panelis* gui = Service(parser);
  if (!gui || tokens.size() < 2) return kFail;
  GUIEntity* made = nullptr;
  if (gui->SpawnWidget(kind, &made) != status::Ok || !made) return kFail;
  T* widget = dynamic_cast<T*>(made);
  if (!widget) {
    gui->DestroyEntity(made);
    return kFail;
  }
  if (kind == GUIKIND_MLTEXTBOX) widget->SetGUI(gui);
  widget->SetName(tokens[1]);
  if (setUp && !setUp(widget, gui)) {
    gui->DestroyEntity(widget);
    return kFail;
  }
  parser->PushParent(nullptr);
  parser->SetCurrent(widget);
  if (LanguageManager* languages = gui->GetLanguageManager()) {
    std::string name = language;
    languages->PushLanguage(name);
  }
  return status::Ok;
}

}  // namespace

CoreStatus DefaultSceneCommand(CStringArray& t, CoreParser* p) {
  return Create<GUIScene>(t, p, GUIKIND_SCENE, "GUIScene");
}
CoreStatus DefaultGroupCommand(CStringArray& t, CoreParser* p) {
  return Create<GUIGroup>(t, p, GUIKIND_GROUP, "GUIGroup");
}
CoreStatus DefaultButtonCommand(CStringArray& t, CoreParser* p) {
  return Create<GUIButton>(t, p, GUIKIND_BUTTON, "GUIButton");
}
CoreStatus DefaultCheckBoxCommand(CStringArray& t, CoreParser* p) {
  return Create<GUICheckBox>(t, p, GUIKIND_CHECKBOX, "GUICheckBox");
}
CoreStatus DefaultStaticCommand(CStringArray& t, CoreParser* p) {
  return Create<GUIStatic>(t, p, GUIKIND_STATIC, "GUIStatic");
}
CoreStatus DefaultStaticTextCommand(CStringArray& t, CoreParser* p) {
  return Create<GUIStaticText>(t, p, GUIKIND_STATICTEXT, "GUIStaticText", [](GUIStaticText* w, Panelis* gui) {
    w->SetFont(DefaultFont(gui));
    return true;
  });
}
CoreStatus DefaultListBoxCommand(CStringArray& t, CoreParser* p) {
  return Create<GUIListBox>(t, p, GUIKIND_LISTBOX, "GUIListBox", [](GUIListBox* w, Panelis* gui) {
    w->SetFont(DefaultFont(gui));
    return w->CreateHighlight() && w->CreateScrollBar();
  });
}
CoreStatus DefaultProgressBarCommand(CStringArray& t, CoreParser* p) {
  return Create<GUIProgressBar>(t, p, GUIKIND_PROGRESSBAR, "GUIProgressBar", [](GUIProgressBar* w, Panelis*) {
    return w->CreateStatusText() && w->CreateFillControl();
  });
}
CoreStatus DefaultScrollBarCommand(CStringArray& t, CoreParser* p) {
  return Create<GUIScrollBar>(t, p, GUIKIND_SCROLLBAR, "GUIScrollBar", [](GUIScrollBar* w, Panelis*) {
    return w->CreateThumb() && w->CreateButtons();
  });
}
CoreStatus DefaultSliderCommand(CStringArray& t, CoreParser* p) {
  return Create<GUISlider>(t, p, GUIKIND_SLIDER, "GUISlider", [](GUISlider* w, Panelis*) { return w->CreateThumb(); });
}
CoreStatus DefaultSpinCommand(CStringArray& t, CoreParser* p) {
  return Create<GUISpin>(t, p, GUIKIND_SPIN, "GUISpin", [](GUISpin* w, Panelis*) { return w->CreateButtons(); });
}
CoreStatus DefaultTextBoxCommand(CStringArray& t, CoreParser* p) {
  return Create<GUITextBox>(t, p, GUIKIND_TEXTBOX, "GUITextBox", [](GUITextBox* w, Panelis*) {
    return w->CreateTextWidget() && w->CreateCaret();
  });
}
CoreStatus DefaultMLTextBoxCommand(CStringArray& t, CoreParser* p) {
  return Create<GUIMLTextBox>(t, p, GUIKIND_MLTEXTBOX, "GUIMLTextBox", [](GUIMLTextBox* w, Panelis*) {
    return w->CreateTextWidget() && w->CreateCaret();
  });
}
CoreStatus DefaultDropDownLBCommand(CStringArray& t, CoreParser* p) {
  return Create<GUIDropDownLB>(t, p, GUIKIND_DROPDOWN, "GUIDropDownLB", [](GUIDropDownLB* w, Panelis* gui) {
    if (!w->CreateListBox() || !w->CreateArrowButton() || !w->CreateSelectionText()) return false;
    w->GetListBox()->SetFont(DefaultFont(gui));
    return true;
  });
}

CoreStatus DefaultLanguageCommand(CStringArray& tokens, CoreParser* raw) {
  GUIParser* parser = Parser(raw);
  Panelis* gui = Service(parser);
  LanguageManager* languages = gui ? gui->GetLanguageManager() : nullptr;
  if (!languages || tokens.size() < 2) return kFail;
  std::string name = tokens[1];
  auto* language = dynamic_cast<GUILanguage*>(languages->FindLanguage(name));
  if (!language) {
    language = new (std::nothrow) GUILanguage(gui->GetEntityManager());
    if (!language) return kFail;
    language->SetActive(0);
    language->GUIEntity::SetName(tokens[1]);
    language->CoreLanguage::SetName(name);
    languages->AddLanguage(language);
  }
  parser->PushParent(nullptr);
  parser->SetCurrent(language);
  return status::Ok;
}

CoreStatus DefaultLangDefCommand(CStringArray& tokens, CoreParser* raw) {
  GUIParser* parser = Parser(raw);
  Panelis* gui = Service(parser);
  auto* language = Current<GUILanguage>(parser);
  LanguageManager* languages = gui ? gui->GetLanguageManager() : nullptr;
  if (!language || !languages || tokens.size() < 3) return kFail;
  std::string name = language->CoreLanguage::GetName();
  std::string keyword = tokens[1];
  std::string command = tokens[2];
  languages->AddKeyword(name, keyword, command);
  return status::Ok;
}

CoreStatus DefaultSetLanguageCommand(CStringArray& tokens, CoreParser* raw) {
  GUIParser* parser = Parser(raw);
  Panelis* gui = Service(parser);
  LanguageManager* languages = gui ? gui->GetLanguageManager() : nullptr;
  if (!languages || tokens.size() < 2) return kFail;
  std::string name = tokens[1];
  languages->PushLanguage(name);
  return status::Ok;
}

}  // namespace guicmd
