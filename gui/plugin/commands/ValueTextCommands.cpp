// The commands of sliders, scroll bars, spins, static texts, text boxes and
// progress bars.
#include <string>

#include "engine/entity/EntityManager.h"
#include "engine/services/Core3D.h"
#include "gui/core/GUIButton.h"
#include "gui/core/GUIMLTextBox.h"
#include "gui/core/GUIProgressBar.h"
#include "gui/core/GUIScrollBar.h"
#include "gui/core/GUISlider.h"
#include "gui/core/GUISpin.h"
#include "gui/core/GUIStatic.h"
#include "gui/core/GUIStaticText.h"
#include "gui/core/GUITextBox.h"
#include "gui/plugin/commands/CommandKit.h"
#include "gui/plugin/commands/GUICommands.h"

namespace guicmd {

namespace {

template <typename W>
W* At(CStringArray& t, CoreParser* p, size_t count) {
  return t.size() >= count ? Current<W>(Parser(p)) : nullptr;
}

// The thumb's model, with exactly 3 tokens a shader on each material; a
// shader that cannot be made refuses the statement, the thumb unchanged.
CoreStatus ThumbModel(CStringArray& t, CoreParser* p) {
  GUIParser* parser = Parser(p);
  auto* slider = At<GUISlider>(t, p, 2);
  if (!slider || !slider->GetThumb()) return kFail;
  Made<C3DModel> model(MakeModel(parser, 8, t[1]));
  if (!model) return kFail;
  if (t.size() == 3) {
    Made<C3DBaseShader> shader(MakeShader(parser, 8, t[2]));
    if (!shader) return kFail;
    ShadeModel(model.get(), shader.get());
  }
  slider->GetThumb()->SetModel(model.get());
  return status::Ok;
}

CoreStatus ThumbShader(CStringArray& t, CoreParser* p) {
  auto* slider = At<GUISlider>(t, p, 2);
  if (!slider || !slider->GetThumb()) return kFail;
  Made<C3DBaseShader> shader(MakeShader(Parser(p), 8, t[1]));
  if (!shader) return kFail;
  slider->GetThumb()->SetShader(shader.get());
  return status::Ok;
}

// A command of a scroll bar's button run on that button.
CoreStatus OnBarButton(CStringArray& t, CoreParser* p, bool increase, CommandHandler inner) {
  GUIParser* parser = Parser(p);
  auto* bar = Current<GUIScrollBar>(parser);
  GUIButton* button = bar ? (increase ? bar->GetIncreaseButton() : bar->GetDecreaseButton()) : nullptr;
  if (!button) return kFail;
  return RunOn(parser, button, inner, t) == status::Ok ? status::Ok : kFail;
}

}  // namespace

CoreStatus SliderPropertyCommand(CStringArray& t, CoreParser* p) {
  auto* s = At<GUISlider>(t, p, 2);
  if (!s) return kFail;
  const std::string& w = t[1];
  const auto need = [&](size_t n) { return t.size() >= n; };
  if (Is(w, "vertical")) {
    if (!need(3)) return kFail;
    s->SetVertical(Truth(t[2]) ? 1 : 0, false);
  } else if (Is(w, "snapthumb")) {
    if (!need(3)) return kFail;
    s->SetSnapThumb(Truth(t[2]) ? 1 : 0);
  } else if (Is(w, "thumbscale")) {
    if (!need(5)) return kFail;
    s->SetThumbScale(Float(t, 2), Float(t, 3), Float(t, 4), false);
  } else if (Is(w, "thumbuv")) {
    if (!need(6)) return kFail;
    s->SetThumbUV(Float(t, 2), Float(t, 3), Float(t, 4), Float(t, 5));
  } else if (Is(w, "thumbbounds")) {
    if (!need(4)) return kFail;
    s->SetTrack(Float(t, 2), Float(t, 3));
  } else if (Is(w, "staticthumby")) {
    s->SetFixedThumbLength(1);
  } else if (Is(w, "staticthumbx")) {
    s->SetFixedThumbWidth(1);
  } else if (Is(w, "staticthumb")) {
    s->SetFixedThumbLength(1);
    s->SetFixedThumbWidth(1);
  } else if (Is(w, "curve")) {
    s->SetCurve(1);
  } else if (Is(w, "startpoint") || Is(w, "endpoint") || Is(w, "startcontrolpoint") || Is(w, "endcontrolpoint")) {
    if (!need(4)) return kFail;
    const float x = Float(t, 2);
    const float y = Float(t, 3);
    if (Is(w, "startpoint")) s->SetStartPoint(x, y);
    else if (Is(w, "endpoint")) s->SetEndPoint(x, y);
    else if (Is(w, "startcontrolpoint")) s->SetStartControlPoint(x, y);
    else s->SetEndControlPoint(x, y);
  } else {
    return DefaultPropertyCommand(t, p);
  }
  return status::Ok;
}

CoreStatus SliderRangeCommand(CStringArray& t, CoreParser* p) {
  auto* s = Current<GUISlider>(Parser(p));
  if (!s || t.size() != 3) return kFail;
  s->SetMin(Int(t, 1));
  s->SetMax(Int(t, 2));
  return status::Ok;
}
CoreStatus SliderMinValCommand(CStringArray& t, CoreParser* p) {
  auto* s = At<GUISlider>(t, p, 2);
  if (!s) return kFail;
  s->SetMin(Int(t, 1));
  return status::Ok;
}
CoreStatus SliderMaxValCommand(CStringArray& t, CoreParser* p) {
  auto* s = At<GUISlider>(t, p, 2);
  if (!s) return kFail;
  s->SetMax(Int(t, 1));
  return status::Ok;
}
CoreStatus SliderThumbModelCommand(CStringArray& t, CoreParser* p) { return ThumbModel(t, p); }
CoreStatus SliderThumbShaderCommand(CStringArray& t, CoreParser* p) { return ThumbShader(t, p); }
CoreStatus SliderBindDisplayCommand(CStringArray& t, CoreParser* p) {
  auto* s = At<GUISlider>(t, p, 2);
  cEntity_Manager* manager = s ? s->GetManager() : nullptr;
  auto* display = manager ? dynamic_cast<Widget*>(manager->FindEntity(t[1])) : nullptr;
  if (!display) return kFail;
  s->SetDisplayWidget(display);
  return status::Ok;
}

CoreStatus ScrollBarPropertyCommand(CStringArray& t, CoreParser* p) {
  auto* bar = At<GUIScrollBar>(t, p, 2);
  if (!bar) return kFail;
  const std::string& w = t[1];
  const auto need = [&](size_t n) { return t.size() >= n; };
  if (Is(w, "horizontal")) {
    if (!need(3)) return kFail;
    bar->SetVertical(Truth(t[2]) ? 0 : 1, true);
  } else if (Is(w, "thumbscale")) {
    if (!need(5)) return kFail;
    bar->SetThumbScale(Float(t, 2), Float(t, 3), Float(t, 4), true);
  } else if (Is(w, "thumbuv")) {
    if (!need(6)) return kFail;
    bar->SetThumbUV(Float(t, 2), Float(t, 3), Float(t, 4), Float(t, 5));
  } else if (Is(w, "decreasescale") || Is(w, "increasescale")) {
    if (!need(5)) return kFail;
    if (Is(w, "decreasescale")) bar->SetDecreaseButtonScale(Float(t, 2), Float(t, 3), Float(t, 4));
    else bar->SetIncreaseButtonScale(Float(t, 2), Float(t, 3), Float(t, 4));
  } else if (Is(w, "range")) {
    if (!need(4)) return kFail;
    bar->SetMin(Int(t, 2));
    bar->SetMax(Int(t, 3));
  } else if (Is(w, "decreaseuvs") || Is(w, "increaseuvs")) {
    GUIButton* button = Is(w, "decreaseuvs") ? bar->GetDecreaseButton() : bar->GetIncreaseButton();
    if (!need(6) || !button) return kFail;
    button->SetUVCoords(Float(t, 2), Float(t, 3), Float(t, 4), Float(t, 5));
  } else if (Is(w, "thumboffsetx")) {
    if (!need(3) || !bar->GetThumb()) return kFail;
    bar->GetThumb()->SetAddPivotOffset(1);
    bar->GetThumb()->SetOriginX(Float(t, 2), true);
  } else {
    return SliderPropertyCommand(t, p);
  }
  return status::Ok;
}

CoreStatus ScrollBarThumbModelCommand(CStringArray& t, CoreParser* p) {
  return Current<GUIScrollBar>(Parser(p)) ? ThumbModel(t, p) : kFail;
}
CoreStatus ScrollBarThumbShaderCommand(CStringArray& t, CoreParser* p) {
  return Current<GUIScrollBar>(Parser(p)) ? ThumbShader(t, p) : kFail;
}
CoreStatus ScrollBarDecreaseModelCommand(CStringArray& t, CoreParser* p) {
  return OnBarButton(t, p, false, &DefaultModelCommand);
}
CoreStatus ScrollBarDecreaseShaderCommand(CStringArray& t, CoreParser* p) {
  return OnBarButton(t, p, false, &DefaultShaderCommand);
}
CoreStatus ScrollBarDecreaseStateModelCommand(CStringArray& t, CoreParser* p) {
  return OnBarButton(t, p, false, &StateModelCommand);
}
CoreStatus ScrollBarDecreaseStateShaderCommand(CStringArray& t, CoreParser* p) {
  return OnBarButton(t, p, false, &StateShaderCommand);
}
CoreStatus ScrollBarIncreaseModelCommand(CStringArray& t, CoreParser* p) {
  return OnBarButton(t, p, true, &DefaultModelCommand);
}
CoreStatus ScrollBarIncreaseShaderCommand(CStringArray& t, CoreParser* p) {
  return OnBarButton(t, p, true, &DefaultShaderCommand);
}
CoreStatus ScrollBarIncreaseStateModelCommand(CStringArray& t, CoreParser* p) {
  return OnBarButton(t, p, true, &StateModelCommand);
}
CoreStatus ScrollBarIncreaseStateShaderCommand(CStringArray& t, CoreParser* p) {
  return OnBarButton(t, p, true, &StateShaderCommand);
}

CoreStatus SpinBindTargetCommand(CStringArray& t, CoreParser* p) {
  GUIParser* parser = Parser(p);
  auto* spin = At<GUISpin>(t, p, 2);
  Panelis* gui = Service(parser);
  GUIEntity* named = spin && gui ? gui->FindEntity(t[1]) : nullptr;
  // A box of a block still being read is not in the world's tree yet: the
  // entity manager knows it already.
  if (!named && spin && spin->GetManager()) named = dynamic_cast<GUIEntity*>(spin->GetManager()->FindEntity(t[1]));
  auto* target = dynamic_cast<GUITextBox*>(named);
  if (!target) return kFail;
  spin->SetTarget(target);
  return status::Ok;
}

CoreStatus SpinShaderCommand(CStringArray& t, CoreParser* p) {
  GUIParser* parser = Parser(p);
  auto* spin = At<GUISpin>(t, p, 4);
  if (!spin) return kFail;
  GUIButton* button = Is(t[1], "increase") ? spin->GetIncreaseButton() : spin->GetDecreaseButton();
  if (!button) return kFail;
  CStringArray inner(t.begin(), t.end());
  inner.erase(inner.begin() + 1);
  return RunOn(parser, button, &StateShaderCommand, inner);
}

CoreStatus StaticTextFontCommand(CStringArray& t, CoreParser* p) {
  auto* text = At<GUIStaticText>(t, p, 2);
  if (!text) return kFail;
  Made<C3DFont> font(MakeOwnerFont(Parser(p), text, 8, t[1]));
  if (!font) return kFail;
  text->SetFont(font.get());
  return status::Ok;
}
CoreStatus StaticTextTextCommand(CStringArray& t, CoreParser* p) {
  auto* text = Current<GUIStaticText>(Parser(p));
  if (!text) return kFail;
  text->SetText(t.size() >= 2 ? t[1] : std::string(), true);
  return status::Ok;
}
CoreStatus StaticTextTextScaleCommand(CStringArray& t, CoreParser* p) {
  auto* text = At<GUIStaticText>(t, p, 4);
  if (!text) return kFail;
  text->SetTextScale(Float(t, 1), Float(t, 2), Float(t, 3), true);
  return status::Ok;
}
CoreStatus StaticTextTextPositionCommand(CStringArray& t, CoreParser* p) {
  auto* text = At<GUIStaticText>(t, p, 4);
  if (!text) return kFail;
  text->SetTextPosition(Float(t, 1), Float(t, 2), Float(t, 3), true);
  return status::Ok;
}
CoreStatus StaticTextTextAlignCommand(CStringArray& t, CoreParser* p) {
  auto* text = At<GUIStaticText>(t, p, 2);
  if (!text) return kFail;
  if (Is(t[1], "left")) text->SetTextAlign(GUIALIGN_LEFT, true);
  else if (Is(t[1], "right")) text->SetTextAlign(GUIALIGN_RIGHT, true);
  else if (Is(t[1], "center")) text->SetTextAlign(GUIALIGN_CENTRE, true);
  else return kFail;
  return status::Ok;
}

CoreStatus TextBoxFontCommand(CStringArray& t, CoreParser* p) {
  auto* box = At<GUITextBox>(t, p, 2);
  if (!box) return kFail;
  Made<C3DFont> font(MakeOwnerFont(Parser(p), box, 16, t[1]));
  if (!font) return kFail;
  box->SetFont(font.get());
  return status::Ok;
}
CoreStatus TextBoxTextCommand(CStringArray& t, CoreParser* p) {
  auto* box = At<GUITextBox>(t, p, 2);
  if (!box || !box->GetTextWidget()) return kFail;
  box->SetText(t[1], false);
  return status::Ok;
}
CoreStatus TextBoxTextScaleCommand(CStringArray& t, CoreParser* p) {
  auto* box = At<GUITextBox>(t, p, 4);
  if (!box || !box->GetTextWidget()) return kFail;
  box->SetTextScale(Float(t, 1), Float(t, 2), Float(t, 3), true);
  return status::Ok;
}

CoreStatus TextBoxBGColorCommand(CStringArray& t, CoreParser* p) {
  GUIParser* parser = Parser(p);
  auto* box = Current<GUITextBox>(parser);
  Panelis* gui = Service(parser);
  Core3D* renderer = gui ? gui->GetRenderer() : nullptr;
  if (!box || !box->GetTextWidget() || !renderer) return kFail;
  // Red unless the statement gives r g b a.
  float colour[4] = {1.0f, 0.0f, 0.0f, 0.0f};
  if (t.size() >= 5) {
    for (size_t i = 0; i < 4; ++i) colour[i] = i + 1 < t.size() ? Float(t, i + 1) : 0.0f;
  }
  Made<C3DBaseShader> shader(renderer->CreateShader(4, box->NameRef() + "'s background shader"));
  if (!shader) return kFail;
  static const char* const kNames[] = {"#rval", "#gval", "#bval", "#aval"};
  for (const char* name : kNames) shader.get()->DefineVariable(name, 0.0f);
  for (size_t i = 0; i < 4; ++i) {
    const int16_t index = shader.get()->FindVariable(kNames[i]);
    if (index >= 0) shader.get()->SetVariable(static_cast<uint16_t>(index), colour[i]);
  }
  box->SetShader(shader.get());
  return status::Ok;
}

CoreStatus TextBoxPropertyCommand(CStringArray& t, CoreParser* p) {
  auto* box = At<GUITextBox>(t, p, 2);
  if (!box) return kFail;
  const std::string& w = t[1];
  if (Is(w, "textbounds")) {
    if (t.size() < 6) return kFail;
    box->SetTextBounds(Float(t, 2), Float(t, 3), Float(t, 4), Float(t, 5), true);
  } else if (Is(w, "static")) {
    if (t.size() < 3) return kFail;
    box->SetReadOnly(Truth(t[2]) ? 1 : 0);
  } else if (Is(w, "interactive")) {
    if (t.size() < 3) return kFail;
    box->SetInputEnabled(Truth(t[2]) ? 1 : 0);
  } else if (Is(w, "textalign")) {
    if (t.size() < 3) return kFail;
    GUIStaticText* text = box->GetTextWidget();
    if (!text) return kFail;
    if (Is(t[2], "center")) text->SetTextAlign(GUIALIGN_CENTRE, true);
    else if (Is(t[2], "right")) text->SetTextAlign(GUIALIGN_RIGHT, true);
    else if (Is(t[2], "left")) text->SetTextAlign(GUIALIGN_LEFT, true);
  } else {
    return DefaultPropertyCommand(t, p);
  }
  return status::Ok;
}

CoreStatus TextBoxCaretShaderCommand(CStringArray& t, CoreParser* p) {
  GUIParser* parser = Parser(p);
  auto* box = At<GUITextBox>(t, p, 2);
  if (!box || !box->GetCaret()) return kFail;
  Made<C3DBaseShader> shader(MakeOwnerShader(parser, box, 8, t[1]));
  if (!shader) return kFail;
  box->SetCaretShader(shader.get());
  return status::Ok;
}

CoreStatus MLTextBoxPropertyCommand(CStringArray& t, CoreParser* p) {
  auto* box = At<GUITextBox>(t, p, 2);
  if (!box) return kFail;
  if (Is(t[1], "textbounds")) {
    if (t.size() < 6) return kFail;
    box->SetTextBounds(Float(t, 2), Float(t, 3), Float(t, 4), Float(t, 5), true);
  }
  return status::Ok;
}

CoreStatus FillShaderCommand(CStringArray& t, CoreParser* p) {
  GUIParser* parser = Parser(p);
  if (!parser || !parser->GetCurrent() || t.size() < 2) return kFail;
  Made<C3DBaseShader> shader(MakeShader(parser, 0, t[1]));
  if (!shader) return status::Ok;
  auto* bar = Current<GUIProgressBar>(parser);
  if (bar && bar->GetFillControl()) bar->GetFillControl()->SetShader(shader.get());
  return status::Ok;
}

CoreStatus BorderGapCommand(CStringArray& t, CoreParser* p) {
  auto* bar = At<GUIProgressBar>(t, p, 3);
  if (!bar) return kFail;
  bar->SetBorderGap(Int(t, 1), Float(t, 2));
  return status::Ok;
}
CoreStatus BorderGapsCommand(CStringArray& t, CoreParser* p) {
  auto* bar = At<GUIProgressBar>(t, p, 5);
  if (!bar) return kFail;
  const float gaps[4] = {Float(t, 1), Float(t, 2), Float(t, 3), Float(t, 4)};
  bar->SetBorderGapsV(gaps);
  return status::Ok;
}
CoreStatus DefaultStepCommand(CStringArray& t, CoreParser* p) {
  auto* bar = At<GUIProgressBar>(t, p, 2);
  if (!bar) return kFail;
  bar->SetStep(Float(t, 1));
  return status::Ok;
}
CoreStatus ProgressBarStatusCommand(CStringArray& t, CoreParser* p) {
  auto* bar = At<GUIProgressBar>(t, p, 2);
  if (!bar) return kFail;
  bar->SetStatusText(t[1]);
  return status::Ok;
}
CoreStatus ProgressBarStatusScaleCommand(CStringArray& t, CoreParser* p) {
  auto* bar = At<GUIProgressBar>(t, p, 4);
  if (!bar) return kFail;
  bar->SetStatusScale(Float(t, 1), Float(t, 2), Float(t, 3));
  return status::Ok;
}
CoreStatus ProgressBarStatusOffsetCommand(CStringArray& t, CoreParser* p) {
  auto* bar = At<GUIProgressBar>(t, p, 4);
  if (!bar) return kFail;
  bar->SetStatusOffset(Float(t, 1), Float(t, 2), Float(t, 3));
  return status::Ok;
}

}  // namespace guicmd
