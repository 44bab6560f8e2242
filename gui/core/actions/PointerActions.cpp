// Tooltips after their delay and dragging widgets with the pointer.
#include <algorithm>
#include <cfloat>
#include <cmath>

#include "base/StringUtil.h"
#include "engine/math/CameraView.h"
#include "gui/core/GUIStaticText.h"
#include "gui/core/Widget.h"
#include "gui/core/actions/ActionText.h"
#include "gui/core/actions/GUIActions.h"

GA_DisplayTooltip::GA_DisplayTooltip() : cAction_Base("DisplayTooltip") { updated = 1; }
GA_DisplayTooltip::~GA_DisplayTooltip() = default;

CoreStatus GA_DisplayTooltip::Execute(cEntity_Base*, uintptr_t, const std::string&) { return kActionNotDone; }

bool GA_DisplayTooltip::Start(Widget* widget, float delay, float duration) {
  if (!widget || !widget->HasTooltip()) return false;
  tips_.push_back({widget, delay, duration});
  return true;
}

bool GA_DisplayTooltip::Stop(Widget* widget) {
  const auto it = std::find_if(tips_.begin(), tips_.end(), [widget](const Tip& t) { return t.widget == widget; });
  if (it == tips_.end()) return false;
  tips_.erase(it);
  return true;
}

void GA_DisplayTooltip::StopAll() {
  for (const Tip& tip : tips_) {
    if (GUIStaticText* text = tip.widget->GetTooltip()) text->SetVisible(0);
  }
  tips_.clear();
}

void GA_DisplayTooltip::Forget(GUIEntity* entity) {
  tips_.erase(std::remove_if(tips_.begin(), tips_.end(),
                             [entity](const Tip& t) { return static_cast<GUIEntity*>(t.widget) == entity; }),
              tips_.end());
}

bool GA_DisplayTooltip::IsListed(Widget* widget) const {
  return std::any_of(tips_.begin(), tips_.end(), [widget](const Tip& t) { return t.widget == widget; });
}

void GA_DisplayTooltip::Update(float seconds) {
  for (size_t i = 0; i < tips_.size();) {
    Tip& tip = tips_[i];
    GUIStaticText* text = tip.widget->GetTooltip();
    if (!text) {
      tips_.erase(tips_.begin() + static_cast<std::ptrdiff_t>(i));
      continue;
    }
    if (text->IsVisible()) {
      if (tip.duration != FLT_MAX) {
        tip.duration -= seconds;
        if (tip.duration <= 0.0f) {
          text->SetVisible(0);
          tips_.erase(tips_.begin() + static_cast<std::ptrdiff_t>(i));
          continue;
        }
      }
    } else {
      tip.delay -= seconds;
      if (tip.delay <= 0.0f) text->SetVisible(1);
    }
    ++i;
  }
}

CoreStatus GA_DragWidget::Execute(cEntity_Base* entity, uintptr_t, const std::string& params) {
  auto* target = dynamic_cast<GUIEntity*>(entity);
  const std::vector<std::string> words = guiaction::Words(params);
  if (!target || words.empty()) return kActionNotDone;
  const std::string verb = str::ToLower(words[0]);
  if (verb == "begindrag") {
    dragged_ = target;
    grab_[0] = target->GetHitPointX();
    grab_[1] = target->GetHitPointY();
  } else if (verb == "enddrag") {
    dragged_ = nullptr;
  } else if (verb == "drag" && target == dragged_) {
    Panelis* gui = target->GetGUI();
    CameraView* view = gui ? gui->GetCamera() : nullptr;
    const platform::RECT* rect = gui ? gui->GetWrapperBlockRef() : nullptr;
    if (!view || !rect) return kActionNotDone;
    const float w = static_cast<float>(rect->right - rect->left);
    const float h = static_cast<float>(rect->bottom - rect->top);
    if (w <= 0.0f || h <= 0.0f) return kActionNotDone;
    // The cursor in GUI world units, as the orthographic pick reads it.
    const float viewW = 2.0f * std::tan(view->fieldOfView / 2.0f) * view->focalDistance;
    const float viewH = h / w * viewW;
    float x = static_cast<float>(gui->GetCursorX()) * viewW / w - viewW / 2.0f;
    float y = viewH / 2.0f - static_cast<float>(gui->GetCursorY()) * viewH / h;
    x -= grab_[0] * target->ScaleX();
    y += (1.0f - grab_[1]) * target->ScaleY();
    for (GUIEntity* up = target->GetParent(); up; up = up->GetParent()) {
      x -= up->GetPositionX();
      y -= up->GetPositionY();
    }
    target->SetPosition(x, y, target->GetPositionZ(), true);
  }
  return kActionNotDone;
}

void GA_DragWidget::Forget(GUIEntity* entity) {
  if (dragged_ == entity) dragged_ = nullptr;
}
