#include "gui/core/GUIScrollBar.h"

#include <algorithm>

#include "gui/core/GUIButton.h"
#include "gui/core/GUIStatic.h"
#include "gui/core/WidgetMessages.h"

namespace {

constexpr float kFirstRepeat = 0.5f;
constexpr float kRepeat = 0.03f;

}  // namespace

GUIScrollBar::GUIScrollBar(cEntity_Manager* owner) : GUISlider(owner) {
  SetKind(GUIKIND_SCROLLBAR);
  vertical_ = 1;
  snap_ = 0;
  max_ = 5;
  SetUpdateFlag(true);
}

GUIScrollBar::~GUIScrollBar() = default;

CoreStatus GUIScrollBar::Initialize() {
  Widget::Initialize();
  InitChildren();
  return status::Ok;
}

bool GUIScrollBar::CreateButtons() {
  increase_ = AttachPart<GUIButton>(GUIKIND_BUTTON, "Scrollbar " + NameRef() + "'s increase button", 0.001f, true);
  if (!increase_) return false;
  decrease_ = AttachPart<GUIButton>(GUIKIND_BUTTON, "Scrollbar " + NameRef() + "'s decrease button", 0.001f, true);
  return decrease_ != nullptr;
}

void GUIScrollBar::ChildLeft(GUIEntity* child) {
  GUISlider::ChildLeft(child);
  if (child == increase_) increase_ = nullptr;
  if (child == decrease_) decrease_ = nullptr;
}

void GUIScrollBar::InitChildren() {
  if (thumb_) {
    thumb_->UpdateBounds();
    if (!thumb_->GetModel()) thumb_->CreatePlaneModel();
  }
  for (GUIButton* button : {increase_, decrease_}) {
    if (!button) continue;
    button->UpdateBounds();
    if (!button->GetModel()) button->CreatePlaneModel();
    button->CreateStateModels();
  }
  RecomputeThumbLength();
}

void GUIScrollBar::Layout() {
  if (!thumb_) return;
  const float span = static_cast<float>(max_) + static_cast<float>(page_) - static_cast<float>(min_) + 1.0f;
  const float thumbAlong = vertical_ ? thumb_->GetHeight() : thumb_->GetWidth();
  const float thumbAcross = vertical_ ? thumb_->GetWidth() : thumb_->GetHeight();
  float along = vertical_ ? thumb_->ScaleY() : thumb_->ScaleX();
  float across = vertical_ ? thumb_->ScaleX() : thumb_->ScaleY();
  // A degenerate range or a thumb without size keeps its current scale.
  if (!fixedLength_ && span != 0.0f && thumbAlong != 0.0f) {
    const float barLength = vertical_ ? height_ : width_;
    const float barScale = vertical_ ? ScaleY() : ScaleX();
    along = std::max((trackEnd_ - trackStart_) * (barLength / thumbAlong) * barScale / span *
                         static_cast<float>(page_),
                     0.1f);
  }
  if (!fixedWidth_ && thumbAcross != 0.0f) across = BarAcross() / thumbAcross;
  if (vertical_) SetThumbScale(across, along, 1.0f, true);
  else SetThumbScale(along, across, 1.0f, true);
}

void GUIScrollBar::SetMin(int32_t v) {
  min_ = v > max_ ? max_ - 1 : v;
  Layout();
  SetValue(*value_);
}

void GUIScrollBar::SetMax(int32_t v) {
  max_ = v < min_ ? min_ : v;
  Layout();
  if (thumb_) {
    thumb_->SetVisible(max_ != min_ ? 1 : 0);
    thumb_->SetEnabled(max_ != min_ ? 1 : 0);
  }
  SetValue(*value_);
}

void GUIScrollBar::SetTrack(float start, float end) {
  trackStart_ = start;
  trackEnd_ = end;
  Layout();
  ReapplyWithSnap();
}

void GUIScrollBar::SetVertical(uint8_t on, bool update) {
  const bool turned = IsVertical() != on;
  GUISlider::SetVertical(on, update);
  if (!turned) return;
  // The thumb lies on the track across it: at the bar's top (left) edge.
  if (GUIStatic* thumb = GetThumb()) {
    if (on) thumb->SetPositionX(0.0f, false);
    else thumb->SetPositionY(0.0f, false);
  }
  RecomputeThumbLength();
  Layout();
  ReapplyWithSnap();
}

void GUIScrollBar::SetPageSize(int32_t n) {
  page_ = n;
  Layout();
}

void GUIScrollBar::SetBarScale(float x, float y, float z) {
  SetScale(x, y, z, true);
  RecomputeThumbLength();
  Layout();
}

void GUIScrollBar::ScaleBarBy(float x, float y, float z) {
  ScaleBy(x, y, z, true);
  RecomputeThumbLength();
  Layout();
}

void GUIScrollBar::SetButtonPlacement(uint8_t automatic, float incX, float incY, float decX, float decY) {
  automaticPlacement_ = automatic;
  if (automatic) return;
  increasePos_[0] = incX;
  increasePos_[1] = incY;
  decreasePos_[0] = decX;
  decreasePos_[1] = decY;
}

void GUIScrollBar::SetDecreaseButtonScale(float x, float y, float z) {
  if (!decrease_) return;
  decrease_->SetScale(x, y, z, false);
  if (vertical_ && automaticPlacement_) {
    decrease_->SetPosition(0.0f, decrease_->GetHeight() * decrease_->ScaleY() - height_ * ScaleY(), 0.001f, true);
  } else if (!automaticPlacement_) {
    decrease_->SetPosition(decreasePos_[0], decreasePos_[1], 0.001f, true);
  }
  const float along = vertical_ ? decrease_->GetHeight() * decrease_->ScaleY() : decrease_->GetWidth() * decrease_->ScaleX();
  const float bar = BarLength();
  if (bar != 0.0f) trackStart_ = along / bar;
}

void GUIScrollBar::SetIncreaseButtonScale(float x, float y, float z) {
  if (!increase_) return;
  increase_->SetScale(x, y, z, false);
  if (automaticPlacement_) {
    if (vertical_) increase_->SetPosition(0.0f, 0.0f, 0.001f, true);
    else increase_->SetPosition(width_ * ScaleX() - increase_->GetWidth() * increase_->ScaleX(), 0.0f, 0.001f, true);
  } else {
    increase_->SetPosition(increasePos_[0], increasePos_[1], 0.001f, true);
  }
  const float along = vertical_ ? increase_->GetHeight() * increase_->ScaleY() : increase_->GetWidth() * increase_->ScaleX();
  const float bar = BarLength();
  if (bar != 0.0f) trackEnd_ = 1.0f - along / bar;
}

void GUIScrollBar::UpdateTransform() {
  if (automaticPlacement_) {
    if (vertical_) {
      if (increase_) increase_->SetPosition(0.0f, 0.0f, 0.001f, false);
      if (decrease_) decrease_->SetPositionX(0.0f, false);
    } else {
      if (decrease_) decrease_->SetPosition(0.0f, 0.0f, 0.001f, false);
      if (increase_) increase_->SetPositionY(0.0f, false);
    }
  }
  GUISlider::UpdateTransform();
}

void GUIScrollBar::Step(int32_t delta, uint32_t code) {
  const uint8_t snap = snap_;
  snap_ = 1;
  SetValue(*value_ + delta);
  snap_ = snap;
  Raise(code, 0);
}

void GUIScrollBar::ClearHeld() {
  trackHeld_ = pagingStopped_ = thumbHeld_ = pagingUp_ = increaseHeld_ = decreaseHeld_ = 0;
  timer_ = 0.0f;
}

bool GUIScrollBar::OnMessage(uintptr_t sender, uint32_t code, uintptr_t parameter) {
  GUIEntity* source = FromWord(sender);
  if (code == GUIMSG_MOUSE_DOWN && Down(parameter)) {
    if (increase_ && source == increase_) {
      Step(1, GUIMSG_SBM_UP);
      increaseHeld_ = 1;
      timer_ = kFirstRepeat;
      return true;
    }
    if (decrease_ && source == decrease_) {
      Step(-1, GUIMSG_SBM_DOWN);
      decreaseHeld_ = 1;
      timer_ = kFirstRepeat;
      return true;
    }
    if (thumb_ && source == thumb_) {
      grab_ = ThumbHit();
      thumbHeld_ = 1;
      return true;
    }
    trackHeld_ = 1;
    pagingStopped_ = 0;
    const float h = AxisHit();
    if (h >= trackStart_ && h <= trackEnd_) {
      const int32_t target = ValueAt(h);
      if (*value_ < target) {
        pagingUp_ = 1;
        Step(page_, GUIMSG_SBM_PAGEUP);
      } else if (*value_ > target) {
        pagingUp_ = 0;
        Step(-page_, GUIMSG_SBM_PAGEDOWN);
      }
    }
    lastPosition_ = h;
    timer_ = kFirstRepeat;
    return true;
  }
  if (code == GUIMSG_DRAG) {
    const float h = AxisHit();
    if (pagingStopped_) {
      pagingStopped_ = 0;
      pagingUp_ = h > lastPosition_ ? 1 : 0;
    }
    if (trackHeld_) lastPosition_ = h;
    if (thumbHeld_ && !trackHeld_ && Held(parameter)) {
      if (!snap_) ThumbFollows(h);
      SetValue(ValueAt(h));
      Raise(GUIMSG_SLM_DRAGCHANGE, static_cast<uintptr_t>(*value_));
      return true;
    }
    return Widget::OnMessage(sender, code, parameter);
  }
  if (code == GUIMSG_MOUSE_UP || code == GUIMSG_CLICK) ClearHeld();
  return GUISlider::OnMessage(sender, code, parameter);
}

void GUIScrollBar::Update(float seconds) {
  if (!increaseHeld_ && !decreaseHeld_ && !trackHeld_) return;
  timer_ -= seconds;
  if (timer_ >= 0.0f) return;
  if (increaseHeld_) {
    if (*value_ < max_) Step(1, GUIMSG_SBM_UP);
    timer_ = kRepeat;
    return;
  }
  if (decreaseHeld_) {
    if (*value_ > min_) Step(-1, GUIMSG_SBM_DOWN);
    timer_ = kRepeat;
    return;
  }
  if (!trackHeld_ || pagingStopped_) return;
  timer_ = kRepeat;
  if (lastPosition_ < trackStart_ || lastPosition_ > trackEnd_) return;
  const int32_t target = ValueAt(lastPosition_);
  if (*value_ < target) {
    if (pagingUp_) Step(page_, GUIMSG_SBM_PAGEUP);
    else pagingStopped_ = 1;
  } else if (*value_ > target) {
    if (!pagingUp_) Step(-page_, GUIMSG_SBM_PAGEDOWN);
    else pagingStopped_ = 1;
  }
}
