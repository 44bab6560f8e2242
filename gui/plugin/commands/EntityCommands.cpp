// The commands that set up any entity (place, size, look, sounds, event
// bindings, properties, tooltip) and those of the world and the GUI camera.
#include <cfloat>
#include <memory>
#include <string>
#include <vector>

#include "engine/math/CameraView.h"
#include "gui/core/GUIScript.h"
#include "gui/core/GUIStaticText.h"
#include "gui/core/GUIWorld.h"
#include "gui/core/Widget.h"
#include "gui/plugin/commands/CommandKit.h"
#include "gui/plugin/commands/GUICommands.h"

namespace guicmd {

namespace {

// The current GUI entity when the statement has at least `count` tokens.
GUIEntity* Target(CStringArray& tokens, CoreParser* raw, size_t count) {
  return tokens.size() >= count ? Current<GUIEntity>(Parser(raw)) : nullptr;
}

// The current widget with its tooltip, made first when it has none.
Widget* TooltipOwner(CStringArray& tokens, CoreParser* raw, size_t count) {
  auto* widget = tokens.size() >= count ? Current<Widget>(Parser(raw)) : nullptr;
  if (!widget) return nullptr;
  if (!widget->HasTooltip() && !widget->CreateTooltip()) return nullptr;
  return widget->GetTooltip() ? widget : nullptr;
}

uint32_t HexColour(const std::string& text) {
  uint8_t bytes[4] = {0, 0, 0, 0};
  ParseHexBytes(bytes, 4, text);
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// Sound switch of the hover and click commands: the third word "true" mutes.
bool SoundOn(const CStringArray& tokens) { return tokens.size() < 3 || !Truth(tokens[2]); }

// Reads the shapes of a complex collision list from token 3 on. False for a
// shape that ends early (nothing is added then); an unknown shape word stops
// the list, keeping the shapes before it.
CoreStatus ComplexShapes(GUIEntity* entity, const CStringArray& tokens) {
  std::vector<std::unique_ptr<GUICollisionShape>> shapes;
  bool unknown = false;
  for (size_t i = 3; i < tokens.size();) {
    auto shape = std::make_unique<GUICollisionShape>();
    if (Is(tokens[i], "rect")) {
      if (i + 5 > tokens.size()) return kFail;
      shape->type = 0;
      shape->x = Float(tokens, i + 1);
      shape->y = Float(tokens, i + 2);
      shape->width = Float(tokens, i + 3);
      shape->height = Float(tokens, i + 4);
      i += 5;
    } else if (Is(tokens[i], "ell")) {
      if (i + 4 > tokens.size()) return kFail;
      shape->type = 1;
      shape->x = Float(tokens, i + 1);
      shape->y = Float(tokens, i + 2);
      shape->radius = Float(tokens, i + 3);
      i += 4;
    } else {
      unknown = true;
      break;
    }
    shapes.push_back(std::move(shape));
  }
  entity->SetCollisionType(GUICOLLIDE_COMPLEX);
  // A shape past the sixteenth is freed by the entity.
  for (auto& shape : shapes) entity->AddCollisionShape(std::move(shape));
  return unknown ? kFail : status::Ok;
}

}  // namespace

CoreStatus DefaultPositionCommand(CStringArray& t, CoreParser* p) {
  GUIEntity* e = Target(t, p, 4);
  if (!e) return kFail;
  e->SetPosition(Float(t, 1), Float(t, 2), Float(t, 3), false);
  return status::Ok;
}

CoreStatus DefaultScaleCommand(CStringArray& t, CoreParser* p) {
  GUIEntity* e = Target(t, p, 4);
  if (!e) return kFail;
  e->SetScale(Float(t, 1), Float(t, 2), Float(t, 3), false);
  return status::Ok;
}

CoreStatus DefaultRotateCommand(CStringArray& t, CoreParser* p) {
  GUIEntity* e = Target(t, p, 4);
  if (!e) return kFail;
  e->SetRotation(Float(t, 1), Float(t, 2), Float(t, 3), false);
  return status::Ok;
}

CoreStatus DefaultPivotCommand(CStringArray& t, CoreParser* p) {
  GUIEntity* e = Target(t, p, 2);
  if (!e) return kFail;
  e->SetPivot(static_cast<uint8_t>(Int(t, 1)));
  return status::Ok;
}

CoreStatus DefaultModelCommand(CStringArray& t, CoreParser* p) {
  GUIEntity* e = Target(t, p, 2);
  if (!e) return kFail;
  GUIParser* parser = Parser(p);
  Made<C3DModel> model(MakeModel(parser, 64, t[1]));
  if (!model) return kFail;
  if (t.size() == 3) {
    Made<C3DBaseShader> shader(MakeShader(parser, 0, t[2]));
    ShadeModel(model.get(), shader.get());
  }
  e->SetModel(model.get());
  return status::Ok;
}

CoreStatus DefaultShaderCommand(CStringArray& t, CoreParser* p) {
  GUIEntity* e = Target(t, p, 2);
  if (!e) return kFail;
  Made<C3DBaseShader> shader(MakeShader(Parser(p), 8, t[1]));
  e->SetShader(shader.get());
  return status::Ok;
}

CoreStatus DefaultSoundHoverCommand(CStringArray& t, CoreParser* p) {
  GUIEntity* e = Target(t, p, 2);
  if (!e) return kFail;
  e->SetHoverSound(t[1], SoundOn(t));
  return status::Ok;
}

CoreStatus DefaultSoundClickCommand(CStringArray& t, CoreParser* p) {
  GUIEntity* e = Target(t, p, 2);
  if (!e) return kFail;
  e->SetClickSound(t[1], SoundOn(t));
  return status::Ok;
}

CoreStatus DefaultActionCommand(CStringArray& t, CoreParser* p) {
  GUIEntity* e = Target(t, p, 3);
  if (!e) return kFail;
  std::string params;
  for (size_t i = 3; i < t.size(); ++i) {
    if (i > 3) params += ' ';
    params += t[i];
  }
  return e->BindAction(t[1], t[2], params) ? status::Ok : kFail;
}

CoreStatus DefaultPropertyCommand(CStringArray& t, CoreParser* p) {
  GUIEntity* e = Target(t, p, 3);
  if (!e) return kFail;
  const std::string& word = t[1];
  const uint8_t on = Truth(t[2]) ? 1 : 0;
  if (Is(word, "active")) e->SetActive(on);
  else if (Is(word, "visible")) e->SetVisible(on);
  else if (Is(word, "enabled")) e->SetEnabled(on);
  else if (Is(word, "solid")) e->SetSolid(on);
  else if (Is(word, "width")) e->SetWidth(Float(t, 2));
  else if (Is(word, "height")) e->SetHeight(Float(t, 2));
  else if (Is(word, "depth")) e->SetDepth(Float(t, 2));
  else if (Is(word, "uvcoords")) {
    if (t.size() < 6) return kFail;
    e->SetUVCoords(Float(t, 2), Float(t, 3), Float(t, 4), Float(t, 5));
  } else if (Is(word, "cttype")) {
    if (Is(t[2], "rectangle")) {
      e->SetCollisionType(GUICOLLIDE_BOX);
    } else if (Is(t[2], "ellipse")) {
      if (t.size() < 6) return kFail;
      auto shape = std::make_unique<GUICollisionShape>();
      shape->type = 1;
      shape->radius = Float(t, 3);
      shape->x = Float(t, 4) * *e->GetScaleXPtr();
      shape->y = Float(t, 5) * *e->GetScaleYPtr();
      e->SetCollisionType(GUICOLLIDE_ELLIPSE);
      e->AddCollisionShape(std::move(shape));
    } else if (Is(t[2], "complex")) {
      return ComplexShapes(e, t);
    } else {
      return kFail;
    }
  } else {
    return kFail;
  }
  return status::Ok;
}

CoreStatus DefaultTooltipCommand(CStringArray& t, CoreParser* p) {
  Widget* w = TooltipOwner(t, p, 2);
  if (!w) return kFail;
  w->SetTooltipText(t[1]);
  return status::Ok;
}

CoreStatus DefaultTooltipScaleCommand(CStringArray& t, CoreParser* p) {
  Widget* w = TooltipOwner(t, p, 4);
  if (!w) return kFail;
  w->GetTooltip()->SetTextScale(Float(t, 1), Float(t, 2), Float(t, 3), false);
  return status::Ok;
}

CoreStatus DefaultTooltipFontCommand(CStringArray& t, CoreParser* p) {
  Widget* w = TooltipOwner(t, p, 2);
  if (!w) return kFail;
  Made<C3DFont> font(MakeOwnerFont(Parser(p), w, 8, t[1]));
  if (!font) return kFail;
  w->GetTooltip()->SetFont(font.get());
  return status::Ok;
}

CoreStatus DefaultTooltipPositionCommand(CStringArray& t, CoreParser* p) {
  // An anchor out of range refuses the statement before a tooltip is made.
  const int32_t anchor = Int(t, 1);
  if (t.size() == 3 && (anchor < 0 || anchor > 9)) return kFail;
  Widget* w = TooltipOwner(t, p, 3);
  if (!w) return kFail;
  if (t.size() == 3) {
    w->SetTooltipPosition(static_cast<uint8_t>(anchor));
    static constexpr uint8_t kAlign[] = {GUIALIGN_LEFT, GUIALIGN_CENTRE, GUIALIGN_RIGHT};
    const int32_t align = Int(t, 2);
    if (align < 0 || align > 2) return kFail;
    w->GetTooltip()->SetTextAlign(kAlign[align], true);
    return status::Ok;
  }
  if (t.size() < 4) return kFail;
  w->GetTooltip()->SetPosition(Float(t, 1), Float(t, 2), Float(t, 3) + 0.00001f, false);
  return status::Ok;
}

CoreStatus DefaultTooltipDelayCommand(CStringArray& t, CoreParser* p) {
  auto* w = t.size() >= 2 ? Current<Widget>(Parser(p)) : nullptr;
  if (!w) return kFail;
  w->SetTooltipDelay(Float(t, 1));
  return status::Ok;
}

CoreStatus DefaultTooltipDurationCommand(CStringArray& t, CoreParser* p) {
  auto* w = t.size() >= 2 ? Current<Widget>(Parser(p)) : nullptr;
  if (!w) return kFail;
  const float value = Float(t, 1);
  w->SetTooltipDuration(value < 0.0f ? FLT_MAX : value);
  return status::Ok;
}

CoreStatus DefaultWorldSizeCommand(CStringArray& t, CoreParser* p) {
  Panelis* gui = Service(Parser(p));
  GUIWorld* world = gui ? gui->GetWorld() : nullptr;
  if (!world || t.size() != 4) return kFail;
  world->SetScale(Float(t, 1), Float(t, 2), Float(t, 3), false);
  return status::Ok;
}

CoreStatus DefaultCamPosCommand(CStringArray& t, CoreParser* p) {
  Panelis* gui = Service(Parser(p));
  if (!gui || t.size() != 4) return kFail;
  gui->SetCameraPosition(Float(t, 1), Float(t, 2), Float(t, 3));
  return status::Ok;
}

CoreStatus DefaultCamTarCommand(CStringArray& t, CoreParser* p) {
  Panelis* gui = Service(Parser(p));
  if (!gui || t.size() != 4) return kFail;
  gui->SetCameraTarget(Float(t, 1), Float(t, 2), Float(t, 3));
  return status::Ok;
}

CoreStatus DefaultCamPropCommand(CStringArray& t, CoreParser* p) {
  Panelis* gui = Service(Parser(p));
  CameraView* view = gui ? gui->GetCamera() : nullptr;
  if (!view || t.size() < 3) return kFail;
  if (Is(t[1], "perspective")) {
    view->perspective = Truth(t[2]);
    gui->UpdateCamera();
  } else if (Is(t[1], "focaldistance")) {
    view->focalDistance = Float(t, 2);
    gui->UpdateCamera();
  } else if (Is(t[1], "farclip")) {
    view->farPlane = Float(t, 2);
  } else if (Is(t[1], "nearclip")) {
    view->nearPlane = Float(t, 2);
  }
  return status::Ok;
}

CoreStatus DefaultWorldPropCommand(CStringArray& t, CoreParser* p) {
  GUIParser* parser = Parser(p);
  Panelis* gui = Service(parser);
  GUIWorld* world = gui ? gui->GetWorld() : nullptr;
  if (!world || t.size() < 3) return kFail;
  const std::string& word = t[1];
  const uint8_t on = Truth(t[2]) ? 1 : 0;
  if (Is(word, "framecolorwipe")) world->SetBeginClear(on);
  else if (Is(word, "framewipecolor")) world->SetBeginColour(HexColour(t[2]));
  else if (Is(word, "framezwipe")) world->SetBeginDepthClear(on);
  else if (Is(word, "passcolorwipe")) world->SetPrepareClear(on);
  else if (Is(word, "passwipecolor")) world->SetPrepareColour(HexColour(t[2]));
  else if (Is(word, "passzwipe")) world->SetPrepareDepthClear(on);
  else if (Is(word, "renderbounds")) world->SetShowBounds(on);
  else if (Is(word, "font") || Is(word, "moverfont") || Is(word, "depfont")) {
    // A font the renderer cannot make is handed on as none.
    Made<C3DFont> font(MakeOwnerFont(parser, world, 8, t[2]));
    if (Is(word, "font")) world->SetDefaultFont(font.get());
    else if (Is(word, "moverfont")) world->SetFont2(font.get());
    else world->SetFont3(font.get());
  } else if (Is(word, "soundhover")) {
    world->SetHoverSound(t[2], true);
  } else if (Is(word, "soundclick")) {
    world->SetClickSound(t[2], true);
  } else {
    return kFail;
  }
  return status::Ok;
}

}  // namespace guicmd
