// The commands of buttons, check boxes, scenes, list boxes and drop-downs.
#include <string>

#include "engine/entity/ActionFactory.h"
#include "engine/math/CameraView.h"
#include "gui/core/GUIButton.h"
#include "gui/core/GUICheckBox.h"
#include "gui/core/GUIDropDownLB.h"
#include "gui/core/GUIListBox.h"
#include "gui/core/GUIScene.h"
#include "gui/core/GUIStaticText.h"
#include "gui/plugin/commands/CommandKit.h"
#include "gui/plugin/commands/GUICommands.h"

namespace guicmd {

namespace {

// Button state words; index 0 has none. -1 for another word.
int32_t ButtonState(const std::string& word) {
  if (Is(word, "mouseover")) return GUIBUTTON_MOUSEOVER;
  if (Is(word, "active")) return GUIBUTTON_ACTIVE;
  if (Is(word, "default")) return GUIBUTTON_DEFAULT;
  if (Is(word, "disabled")) return GUIBUTTON_DISABLED;
  return -1;
}

int32_t CheckState(const std::string& word) {
  if (Is(word, "unchecked")) return GUICHECK_UNCHECKED;
  if (Is(word, "checked")) return GUICHECK_CHECKED;
  if (Is(word, "disabled")) return GUICHECK_DISABLED;
  return -1;
}

// A state model: the model, with exactly 4 tokens a shader on each material.
template <typename W>
CoreStatus StateModel(CStringArray& t, CoreParser* p, int32_t (*state)(const std::string&)) {
  GUIParser* parser = Parser(p);
  auto* widget = t.size() >= 3 ? Current<W>(parser) : nullptr;
  if (!widget) return kFail;
  const int32_t index = state(t[1]);
  if (index < 0) return kFail;
  Made<C3DModel> model(MakeModel(parser, 0, t[2]));
  if (!model) return kFail;
  if (t.size() == 4) {
    Made<C3DBaseShader> shader(MakeShader(parser, 0, t[3]));
    ShadeModel(model.get(), shader.get());
  }
  widget->SetStateModel(index, model.get());
  return status::Ok;
}

template <typename W>
CoreStatus StateShader(CStringArray& t, CoreParser* p, int32_t (*state)(const std::string&)) {
  GUIParser* parser = Parser(p);
  auto* widget = t.size() >= 3 ? Current<W>(parser) : nullptr;
  if (!widget) return kFail;
  const int32_t index = state(t[1]);
  if (index < 0) return kFail;
  Made<C3DBaseShader> shader(MakeShader(parser, 0, t[2]));
  widget->SetStateShader(index, shader.get());
  return status::Ok;
}

// The widget with its caption, made first when it has none.
template <typename W>
W* Captioned(CStringArray& t, CoreParser* p, size_t count) {
  auto* widget = t.size() >= count ? Current<W>(Parser(p)) : nullptr;
  if (!widget) return nullptr;
  if (!widget->GetCaption() && !widget->CreateCaption()) return nullptr;
  return widget;
}

template <typename Op>
CoreStatus SceneCamera(CStringArray& t, CoreParser* p, Op op) {
  auto* scene = Current<GUIScene>(Parser(p));
  if (!scene || t.size() != 4) return kFail;
  op(scene, Float(t, 1), Float(t, 2), Float(t, 3));
  return status::Ok;
}

}  // namespace

CoreStatus StateModelCommand(CStringArray& t, CoreParser* p) { return StateModel<GUIButton>(t, p, ButtonState); }
CoreStatus StateShaderCommand(CStringArray& t, CoreParser* p) { return StateShader<GUIButton>(t, p, ButtonState); }
CoreStatus CBStateModelCommand(CStringArray& t, CoreParser* p) { return StateModel<GUICheckBox>(t, p, CheckState); }
CoreStatus CBStateShaderCommand(CStringArray& t, CoreParser* p) {
  return StateShader<GUICheckBox>(t, p, CheckState);
}

CoreStatus ButtonCaptionCommand(CStringArray& t, CoreParser* p) {
  auto* b = Captioned<GUIButton>(t, p, 2);
  if (!b) return kFail;
  b->SetCaption(t[1], true);
  return status::Ok;
}
CoreStatus ButtonCaptionScaleCommand(CStringArray& t, CoreParser* p) {
  auto* b = Captioned<GUIButton>(t, p, 4);
  if (!b) return kFail;
  b->SetCaptionScale(Float(t, 1), Float(t, 2), Float(t, 3), false);
  return status::Ok;
}
CoreStatus ButtonCaptionPositionCommand(CStringArray& t, CoreParser* p) {
  auto* b = Captioned<GUIButton>(t, p, 4);
  if (!b) return kFail;
  b->SetCaptionPosition(Float(t, 1), Float(t, 2), Float(t, 3), false);
  return status::Ok;
}
CoreStatus ButtonPropertyCommand(CStringArray& t, CoreParser* p) {
  auto* b = Current<GUIButton>(Parser(p));
  if (!b || t.size() < 3) return kFail;
  if (!Is(t[1], "state")) return DefaultPropertyCommand(t, p);
  const std::string& value = t[2];
  if (Is(value, "disabled") || Is(value, "inactive")) b->SetEnabled(0);
  else if (Is(value, "active")) b->ApplyStateShader(GUIBUTTON_ACTIVE);
  else if (Is(value, "mover")) b->ApplyStateShader(GUIBUTTON_MOUSEOVER);
  else b->ApplyStateShader(GUIBUTTON_NORMAL);
  return status::Ok;
}

CoreStatus CBCaptionCommand(CStringArray& t, CoreParser* p) {
  auto* c = Captioned<GUICheckBox>(t, p, 2);
  if (!c) return kFail;
  c->SetCaption(t[1], false);
  return status::Ok;
}
CoreStatus CBCaptionScaleCommand(CStringArray& t, CoreParser* p) {
  auto* c = Captioned<GUICheckBox>(t, p, 4);
  if (!c) return kFail;
  c->SetCaptionScale(Float(t, 1), Float(t, 2), Float(t, 3), false);
  return status::Ok;
}
CoreStatus CBCaptionPositionCommand(CStringArray& t, CoreParser* p) {
  auto* c = Captioned<GUICheckBox>(t, p, 4);
  if (!c) return kFail;
  c->SetCaptionPosition(Float(t, 1), Float(t, 2), Float(t, 3), false);
  return status::Ok;
}
CoreStatus CBPropertyCommand(CStringArray& t, CoreParser* p) {
  auto* c = Current<GUICheckBox>(Parser(p));
  if (!c || t.size() < 3) return kFail;
  if (!Is(t[1], "checked")) return DefaultPropertyCommand(t, p);
  c->SetChecked(Truth(t[2]));
  return status::Ok;
}

CoreStatus ScenePropertyCommand(CStringArray& t, CoreParser* p) {
  auto* scene = Current<GUIScene>(Parser(p));
  if (scene && t.size() >= 3 && Is(t[1], "dynamic")) {
    scene->SetAutoSize(Truth(t[2]) ? 1 : 0);
    return status::Ok;
  }
  return DefaultPropertyCommand(t, p);
}
CoreStatus SceneCamPosCommand(CStringArray& t, CoreParser* p) {
  return SceneCamera(t, p, [](GUIScene* s, float x, float y, float z) { s->SetCameraPosition(x, y, z); });
}
CoreStatus SceneCamTarCommand(CStringArray& t, CoreParser* p) {
  return SceneCamera(t, p, [](GUIScene* s, float x, float y, float z) { s->SetCameraTarget(x, y, z); });
}
CoreStatus SceneCamPropCommand(CStringArray& t, CoreParser* p) {
  auto* scene = Current<GUIScene>(Parser(p));
  CameraView* view = scene ? scene->GetCamera() : nullptr;
  if (!scene || t.size() < 3) return kFail;
  if (!view) return status::Ok;
  if (Is(t[1], "perspective")) {
    view->perspective = Truth(t[2]);
    scene->UpdateCamera();
  } else if (Is(t[1], "focaldistance")) {
    view->focalDistance = Float(t, 2);
    scene->UpdateCamera();
  }
  return status::Ok;
}

CoreStatus ListBoxPropertyCommand(CStringArray& t, CoreParser* p) {
  GUIParser* parser = Parser(p);
  auto* list = Current<GUIListBox>(parser);
  if (!list || t.size() < 2) return kFail;
  const std::string& w = t[1];
  const auto need = [&](size_t n) { return t.size() >= n; };
  if (Is(w, "listbounds")) {
    if (!need(6)) return kFail;
    list->SetListBounds(Float(t, 2), Float(t, 3), Float(t, 4), Float(t, 5));
  } else if (Is(w, "scrollbarbuttonscale")) {
    if (!need(4)) return kFail;
    list->SetScrollBarButtonScale(Float(t, 2), Float(t, 3));
  } else if (Is(w, "mutablesize")) {
    if (t.size() == 4) list->SetScrollBarButtonScaleMode(0, Float(t, 2), Float(t, 3));
    else list->SetScrollBarButtonScaleMode(1, 1.0f, 1.0f);
  } else if (Is(w, "mutablepos")) {
    if (t.size() == 6) list->SetScrollBarButtonPlacement(0, Float(t, 2), Float(t, 3), Float(t, 4), Float(t, 5));
    else list->SetScrollBarButtonPlacement(1, 0.0f, 0.0f, 0.0f, 0.0f);
  } else if (Is(w, "listboundoffset")) {
    if (!need(3)) return kFail;
    list->SetScrollBarBuffer(Float(t, 2));
  } else if (Is(w, "scrollbaroffsetx")) {
    if (!need(3)) return kFail;
    list->SetScrollBarOffsetX(Float(t, 2));
  } else if (Is(w, "linescale")) {
    if (!need(5)) return kFail;
    list->SetLineScale(Float(t, 2), Float(t, 3), Float(t, 4));
  } else if (Is(w, "textscale")) {
    if (!need(5)) return kFail;
    list->SetTextScale(Float(t, 2), Float(t, 3), Float(t, 4));
  } else if (Is(w, "customscrollbar")) {
    list->SetCustomScrollBar(1);
  } else if (Is(w, "scrollbarbuffer")) {
    if (!need(3)) return kFail;
    list->SetScrollBarWidth(Float(t, 2));
  } else if (Is(w, "thumbscale")) {
    if (!need(5)) return kFail;
    list->SetScrollBarThumbScale(Float(t, 2), Float(t, 3), Float(t, 4));
  } else if (Is(w, "thumbbounds")) {
    if (!need(4)) return kFail;
    list->SetScrollBarTrack(Float(t, 2), Float(t, 3));
  } else if (Is(w, "staticthumby")) {
    list->SetScrollBarFixedThumbLength(1);
  } else if (Is(w, "staticthumbx")) {
    list->SetScrollBarFixedThumbWidth(1);
  } else if (Is(w, "staticthumb")) {
    list->SetScrollBarFixedThumbLength(1);
    list->SetScrollBarFixedThumbWidth(1);
  } else if (Is(w, "font")) {
    if (!need(3)) return kFail;
    Made<C3DFont> font(MakeOwnerFont(parser, list, 8, t[2]));
    list->SetFont(font.get());
  }
  return status::Ok;
}

CoreStatus ListBoxHighlightShaderCommand(CStringArray& t, CoreParser* p) {
  GUIParser* parser = Parser(p);
  auto* list = t.size() >= 2 ? Current<GUIListBox>(parser) : nullptr;
  if (!list) return kFail;
  Made<C3DBaseShader> shader(MakeOwnerShader(parser, list, 8, t[1]));
  if (!shader) return kFail;
  list->SetHighlightShader(shader.get());
  return status::Ok;
}

CoreStatus ListBoxScrollBarShaderCommand(CStringArray& t, CoreParser* p) {
  GUIParser* parser = Parser(p);
  auto* list = t.size() >= 2 ? Current<GUIListBox>(parser) : nullptr;
  if (!list) return kFail;
  int32_t part = 0;
  size_t file = 0;
  if (t.size() == 2) {
    part = 1;
    file = 1;
  } else if (Is(t[1], "thumb")) {
    part = 2;
    file = 2;
  } else if (Is(t[1], "decrease") || Is(t[1], "increase")) {
    const int32_t base = Is(t[1], "decrease") ? 3 : 8;
    if (t.size() == 3) {
      part = base;
      file = 2;
    } else {
      const int32_t state = ButtonState(t[2]);
      if (state < 0) return kFail;
      part = base + state;
      file = 3;
    }
  } else {
    return status::Ok;
  }
  Made<C3DBaseShader> shader(MakeOwnerShader(parser, list, 8, t[file]));
  if (!shader) return kFail;
  list->SetScrollBarShader(part, shader.get());
  return status::Ok;
}

CoreStatus ListBoxBindActionCommand(CStringArray& t, CoreParser* p) {
  auto* list = t.size() >= 3 ? Current<GUIListBox>(Parser(p)) : nullptr;
  if (!list) return kFail;
  uint32_t trigger = 0;
  if (Is(t[1], "down")) trigger = 8;
  else if (Is(t[1], "click")) trigger = 13;
  else return kFail;
  list->SetActionTrigger(trigger);
  cAction_Factory* factory = list->GetActionFactory();
  std::string name = t[2];
  cAction_Base* action = factory ? factory->GetAction(name) : nullptr;
  if (!action) return kFail;
  list->SetBoundAction(action);
  for (size_t i = 3; i + 1 < t.size() && i <= 5; i += 2) {
    if (Is(t[i], "Prepend")) list->SetActionPrefix(t[i + 1]);
    else if (Is(t[i], "Append")) list->SetActionSuffix(t[i + 1]);
  }
  return status::Ok;
}

CoreStatus ListBoxDataCommand(CStringArray& t, CoreParser* p) {
  auto* list = Current<GUIListBox>(Parser(p));
  if (!list) return kFail;
  for (size_t i = 1; i < t.size(); ++i) list->AddLine(t[i]);
  return status::Ok;
}

CoreStatus DropDownLBBindActionCommand(CStringArray& t, CoreParser* p) {
  GUIParser* parser = Parser(p);
  auto* drop = Current<GUIDropDownLB>(parser);
  if (!drop || !drop->GetListBox()) return kFail;
  RunOn(parser, drop->GetListBox(), &ListBoxBindActionCommand, t);
  return status::Ok;
}

CoreStatus DropDownLBDataCommand(CStringArray& t, CoreParser* p) {
  GUIParser* parser = Parser(p);
  auto* drop = Current<GUIDropDownLB>(parser);
  if (!drop || !drop->GetListBox()) return kFail;
  RunOn(parser, drop->GetListBox(), &ListBoxDataCommand, t);
  return status::Ok;
}

CoreStatus DropDownLBPropertyCommand(CStringArray& t, CoreParser* p) {
  GUIParser* parser = Parser(p);
  auto* drop = Current<GUIDropDownLB>(parser);
  if (!drop || t.size() < 2) return kFail;
  const std::string& w = t[1];
  if (Is(w, "lbscale")) {
    if (t.size() < 5 || !drop->GetListBox()) return kFail;
    drop->GetListBox()->SetScale(Float(t, 2), Float(t, 3), Float(t, 4), true);
    return status::Ok;
  }
  if (Is(w, "textscale")) {
    if (t.size() < 5) return kFail;
    drop->SetSelectionTextScale(Float(t, 2), Float(t, 3), Float(t, 4));
    return status::Ok;
  }
  if (Is(w, "textbounds")) {
    if (t.size() < 6) return kFail;
    drop->SetTextBounds(Float(t, 2), Float(t, 3), Float(t, 4), Float(t, 5));
    return status::Ok;
  }
  if (Is(w, "listbox")) {
    if (t.size() < 3 || !drop->GetListBox()) return kFail;
    CStringArray inner(t.begin(), t.end());
    inner.erase(inner.begin() + 1);
    const std::string sub = inner[1];
    if (Is(sub, "shader") || Is(sub, "highlightshader") || Is(sub, "scrollbarshader")) {
      inner.erase(inner.begin());
      const CommandHandler handler = Is(sub, "shader")            ? &DefaultShaderCommand
                                     : Is(sub, "highlightshader") ? &ListBoxHighlightShaderCommand
                                                                  : &ListBoxScrollBarShaderCommand;
      RunOn(parser, drop->GetListBox(), handler, inner);
    } else {
      RunOn(parser, drop->GetListBox(), &ListBoxPropertyCommand, inner);
    }
    return status::Ok;
  }
  if (Is(w, "button")) {
    if (t.size() < 3 || !drop->GetArrowButton()) return kFail;
    CStringArray inner(t.begin(), t.end());
    inner.erase(inner.begin() + 1);
    const std::string sub = inner[1];
    if (Is(sub, "shader") || Is(sub, "stateshader")) {
      inner.erase(inner.begin());
      RunOn(parser, drop->GetArrowButton(), Is(sub, "shader") ? &DefaultShaderCommand : &StateShaderCommand, inner);
      return status::Ok;
    }
    if (Is(sub, "position") && inner.size() >= 3) {
      if (Is(inner[2], "left")) drop->SetArrowSide(0);
      else if (Is(inner[2], "right")) drop->SetArrowSide(1);
      else return kFail;
      return status::Ok;
    }
    return kFail;
  }
  return DefaultPropertyCommand(t, p);
}

}  // namespace guicmd
