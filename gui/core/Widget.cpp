#include "gui/core/Widget.h"

#include <cstdio>

#include "engine/entity/ActionFactory.h"
#include "engine/services/C3DModel.h"
#include "engine/services/Core3D.h"
#include "gui/core/GUIStaticText.h"
#include "gui/core/GUIWorld.h"
#include "gui/core/WidgetMessages.h"
#include "gui/core/actions/GUIActions.h"

namespace {

// Takes "DisplayTooltip" from the action factory for one call.
template <typename F>
void WithTooltipAction(GUIEntity* entity, F&& call) {
  cAction_Factory* factory = entity->GetActionFactory();
  if (!factory) return;
  cAction_Base* action = factory->GetAction("DisplayTooltip");
  if (!action) return;
  if (auto* tooltips = dynamic_cast<GA_DisplayTooltip*>(action)) call(tooltips);
  factory->ReleaseAction(action);
}

const char* ButtonWord(uint32_t code, int button) {
  switch (code) {
    case 8: return button == 0 ? "mouse0_down" : "mouse1_down";
    case 9: return button == 0 ? "mouse0_drag" : "mouse1_drag";
    case 10: return button == 0 ? "mouse0_up" : "mouse1_up";
    case 13: return button == 0 ? "mouse0_click" : "mouse1_click";
    default: return nullptr;
  }
}

}  // namespace

Widget::Widget(cEntity_Manager* owner) : GUIEntity(owner) {}

Widget::~Widget() = default;

uintptr_t Widget::WorldWord() {
  GUIWorld* world = gui_ ? gui_->GetWorld() : nullptr;
  return world ? EntityWord(world) : 0;
}

bool Widget::Fire(uintptr_t sender, const char* word, const std::string& text) {
  return FireEvent(sender, word, text);
}

bool Widget::OnMessage(uintptr_t sender, uint32_t code, uintptr_t parameter) {
  bool handled = false;
  const auto* mouse = reinterpret_cast<const MousePacket*>(parameter);
  const auto buttons = [&](uint8_t mask, bool press, bool release) {
    for (int button = 0; button < 2; ++button) {
      if (!(mask & (1 << button))) continue;
      if (press) (button == 0 ? pressed0_ : pressed1_) = 1;
      if (Fire(sender, ButtonWord(code, button))) handled = true;
      // A release ends the press: a later release elsewhere is no click.
      if (release) (button == 0 ? pressed0_ : pressed1_) = 0;
    }
  };
  switch (code) {
    case GUIMSG_FOCUS_LOST:
      pressed0_ = pressed1_ = 0;
      handled = true;
      break;
    case GUIMSG_MOUSE_DOWN:
      if (gui_ && sender != 0 && sender == WorldWord()) gui_->SetFocus(this);
      if (mouse) buttons(mouse->pressed, true, false);
      break;
    case GUIMSG_DRAG:
      if (mouse) buttons(mouse->held, false, false);
      break;
    case GUIMSG_MOUSE_UP:
    case GUIMSG_CLICK:
      if (mouse) buttons(mouse->released, false, true);
      break;
    case GUIMSG_MOUSE_ENTER:
      if (gui_) gui_->SetHoverEntity(this);
      if (tooltip_) {
        WithTooltipAction(this, [this](GA_DisplayTooltip* t) { t->Start(this, tooltipDelay_, tooltipDuration_); });
      }
      handled = true;
      break;
    case GUIMSG_MOUSE_EXIT:
      if (gui_) gui_->SetHoverEntity(nullptr);
      if (tooltip_) {
        WithTooltipAction(this, [this](GA_DisplayTooltip* t) { t->Stop(this); });
        tooltip_->SetVisible(0);
      }
      handled = true;
      break;
    case GUIMSG_SHOW:
    case GUIMSG_HIDE:
      visible_ = code == GUIMSG_SHOW ? 1 : 0;
      handled = true;
      break;
    case GUIMSG_ENABLE:
    case GUIMSG_DISABLE:
      enabled_ = code == GUIMSG_ENABLE ? 1 : 0;
      handled = true;
      break;
    default:
      break;
  }
  if (const char* word = GUIMessageWord(code)) {
    std::string text;
    if ((code == GUIMSG_KEYDOWN || code == GUIMSG_KEYUP) && parameter) {
      text = GUIKeyText(*reinterpret_cast<const KeyboardPacket*>(parameter));
    }
    if (Fire(sender, word, text)) handled = true;
  }
  if (handled) return true;
  if (parent_) parent_->OnMessage(EntityWord(this), code, parameter);
  return code == GUIMSG_MOUSE_DOWN || code == GUIMSG_MOUSE_UP;
}

void Widget::Render(Core3D* renderer, C3DPass* pass) {
  if (!active_ || !visible_) return;
  if (renderer && model_) renderer->DrawModel(pass, model_.Get(), &world_);
  GUIEntity::Render(renderer, pass);
}

CoreStatus Widget::Initialize() {
  UpdateBounds();
  if (!model_) CreatePlaneModel();
  PlaceTooltip();
  Fire(0, "widget_init");
  return status::Ok;
}

void Widget::PlaceTooltip() {
  if (!tooltip_) return;
  const float w = width_ * ScaleX();
  const float h = height_ * ScaleY();
  const float t = tooltip_->ScaleY();
  const uint8_t code = tooltipPosition_;
  const float y = code <= 2 ? t : (code <= 5 ? (t - h) / 2.0f : -h);
  float x = w / 2.0f;
  if (code == 0 || code == 3 || code == 6) x = 0.0f;
  if (code == 2 || code == 5 || code == 8) x = w;
  tooltip_->SetPosition(x, y, tooltip_->GetPositionZ(), true);
}

std::string Widget::PlaneModelName() const {
  static const char* const kPivots[] = {"polymesh_planeUL_", "polymesh_planeUR_", "polymesh_planeLR_",
                                        "polymesh_planeLL_", "polymesh_planeCC_"};
  return (pivot_ <= 4 ? std::string(kPivots[pivot_]) : std::string()) + NameRef();
}

bool Widget::CreatePlaneModel() {
  Core3D* renderer = Renderer();
  if (!renderer) return false;
  C3DModel* model = renderer->CreateModel(96, PlaneModelName());
  if (!model) return false;
  model->SetTextureRect(0, u0_, u1_, v0_, v1_);
  model->SetShader(0, shader_.Get());
  model_.Adopt(model);
  model->SetAnchor(0);
  return true;
}

void Widget::UpdateBounds() {
  if (model_) {
    float lo[3];
    float hi[3];
    model_.Get()->GetBounds(lo, hi, nullptr);
    width_ = hi[0] - lo[0];
    height_ = hi[1] - lo[1];
    depth_ = hi[2] - lo[2];
    SetOrigin(0.0f, 0.0f, 0.0f, false);
    return;
  }
  float x = origin_[0];
  float y = origin_[1];
  if (addPivotOffset_) {
    switch (pivot_) {
      case GUIPIVOT_UR: x += width_; break;
      case GUIPIVOT_LR: x += width_; y -= height_; break;
      case GUIPIVOT_LL: y -= height_; break;
      case GUIPIVOT_CC: x += width_ / 2.0f; y -= height_ / 2.0f; break;
      default: break;
    }
  } else {
    switch (pivot_) {
      case GUIPIVOT_UL: x = 0.0f; y = 0.0f; break;
      case GUIPIVOT_UR: x = width_; y = 0.0f; break;
      case GUIPIVOT_LR: x = width_; y = -height_; break;
      case GUIPIVOT_LL: x = 0.0f; y = -height_; break;
      case GUIPIVOT_CC: x = width_ / 2.0f; y = -height_ / 2.0f; break;
      default: break;
    }
  }
  SetOrigin(x, y, 0.0f, false);
}

bool Widget::CreateTooltip() {
  auto* tip = SpawnPart<GUIStaticText>(gui_, GUIKIND_STATICTEXT, "Button " + NameRef() + "'s Tooltip");
  if (!tip) return false;
  GUIWorld* world = gui_->GetWorld();
  tip->SetFont(world ? world->GetDefaultFont() : nullptr);
  tip->UpdateBounds();
  tip->SetText("Tooltip message", true);
  tip->MoveBy(0.0f, 0.0f, 0.00001f, true);
  tip->SetSolid(0);
  tip->SetVisible(0);
  tip->SetTextAlign(0, true);
  children_.push_back(tip);
  tip->SetParent(this);
  tooltip_ = tip;
  return true;
}

std::string Widget::GetTooltipText() { return tooltip_ ? tooltip_->GetText() : "ERROR::NO TOOLTIP"; }

void Widget::SetTooltipText(const std::string& text) {
  if (tooltip_) tooltip_->SetText(text, true);
}

void Widget::SetTooltipPosition(uint8_t code) {
  if (code <= 9) tooltipPosition_ = code;
}

uintptr_t Widget::ExchangeTag(uintptr_t tag) {
  const uintptr_t old = tag_;
  tag_ = tag;
  return old;
}

void Widget::ChildLeft(GUIEntity* child) {
  if (child == tooltip_) tooltip_ = nullptr;
}
