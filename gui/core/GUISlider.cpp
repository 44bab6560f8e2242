#include "gui/core/GUISlider.h"

#include <algorithm>
#include <cstdio>

#include "gui/core/GUIListBox.h"
#include "gui/core/GUIStatic.h"
#include "gui/core/GUIStaticText.h"
#include "gui/core/GUITextBox.h"
#include "gui/core/WidgetMessages.h"

GUISlider::GUISlider(cEntity_Manager* owner) : Widget(owner) { SetKind(GUIKIND_SLIDER); }

GUISlider::~GUISlider() = default;

CoreStatus GUISlider::Initialize() {
  Widget::Initialize();
  if (thumb_) {
    thumb_->UpdateBounds();
    if (!thumb_->GetModel()) thumb_->CreatePlaneModel();
  }
  RecomputeThumbLength();
  return status::Ok;
}

bool GUISlider::CreateThumb() {
  thumb_ = AttachPart<GUIStatic>(GUIKIND_STATIC, "Slider " + NameRef() + "'s thumb", 0.001f, false);
  return thumb_ != nullptr;
}

void GUISlider::ChildLeft(GUIEntity* child) {
  Widget::ChildLeft(child);
  if (child == thumb_) thumb_ = nullptr;
  if (child == display_) display_ = nullptr;
}

void GUISlider::SetEnabled(uint8_t on) {
  if (thumb_) thumb_->SetVisible(on ? 1 : 0);
  enabled_ = on;
}

void GUISlider::SetMin(int32_t v) {
  min_ = v;
  SetValue(*value_);
}

void GUISlider::SetMax(int32_t v) {
  max_ = v;
  SetValue(*value_);
}

int32_t GUISlider::ValueAt(float h) const {
  const float track = trackEnd_ - trackStart_;
  const float span = static_cast<float>(max_) - static_cast<float>(min_) + 1.0f;
  // A degenerate track or range has no step: it stands at the minimum.
  if (track == 0.0f || span == 0.0f) return min_;
  return min_ + static_cast<int32_t>((h - trackStart_) / (track / span));
}

float GUISlider::ThumbFraction() const {
  const float t = max_ != min_ ? static_cast<float>(*value_ - min_) / static_cast<float>(max_ - min_) : 0.0f;
  return trackStart_ + t * (trackEnd_ - thumbLength_ - trackStart_);
}

void GUISlider::PlaceThumbAt(float fraction) {
  if (!thumb_) return;
  if (vertical_) {
    // Counted from the bottom; the thumb's upper edge lies a length above.
    const float top = fraction + thumbLength_;
    thumb_->SetPositionY(-(1.0f - top) * height_ * ScaleY(), true);
  } else {
    thumb_->SetPositionX(fraction * width_ * ScaleX(), true);
  }
}

void GUISlider::SetValue(int32_t v) {
  *value_ = std::clamp(v, min_, std::max(min_, max_));
  const float t = max_ != min_ ? static_cast<float>(*value_ - min_) / static_cast<float>(max_ - min_) : 0.0f;
  if (snap_) PlaceThumbAt(ThumbFraction());
  if (curve_ && thumb_) {
    const float u = 1.0f - t;
    const float b[4] = {u * u * u, 3.0f * u * u * t, 3.0f * u * t * t, t * t * t};
    float x = 0.0f;
    float y = 0.0f;
    for (int i = 0; i < 4; ++i) {
      x += b[i] * points_[i][0];
      y += b[i] * points_[i][1];
    }
    thumb_->SetPosition(x, y, 0.0f, true);
  }
  if (display_ && !writingDisplay_) {
    writingDisplay_ = true;
    char text[16];
    std::snprintf(text, sizeof text, "%d", *value_);
    switch (display_->GetKind()) {
      case GUIKIND_TEXTBOX:
        if (auto* box = dynamic_cast<GUITextBox*>(display_)) box->SetText(text, true);
        break;
      case GUIKIND_STATICTEXT:
        if (auto* label = dynamic_cast<GUIStaticText*>(display_)) label->SetText(text, true);
        break;
      case GUIKIND_LISTBOX:
        if (auto* list = dynamic_cast<GUIListBox*>(display_)) list->SetTopLine(max_ - *value_);
        break;
      default:
        break;
    }
    writingDisplay_ = false;
  }
}

void GUISlider::ReapplyWithSnap() {
  const uint8_t snap = snap_;
  snap_ = 1;
  SetValue(*value_);
  snap_ = snap;
}

void GUISlider::SetTrack(float start, float end) {
  trackStart_ = start;
  trackEnd_ = end;
  ReapplyWithSnap();
}

void GUISlider::SetVertical(uint8_t on, bool update) {
  if (vertical_ == on) return;
  vertical_ = on;
  if (update) UpdateTransform();
}

void GUISlider::RecomputeThumbLength() {
  if (!thumb_) return;
  const float along = vertical_ ? thumb_->GetHeight() * thumb_->ScaleY() : thumb_->GetWidth() * thumb_->ScaleX();
  const float bar = BarLength();
  thumbLength_ = bar != 0.0f ? along / bar : 0.0f;
}

void GUISlider::SetThumbScale(float x, float y, float z, bool update) {
  if (!thumb_) return;
  thumb_->SetScale(x, y, z, update);
  RecomputeThumbLength();
}

void GUISlider::SetThumbUV(float u0, float v0, float u1, float v1) {
  if (thumb_) thumb_->SetUVCoords(u0, v0, u1, v1);
}

void GUISlider::UpdateTransform() {
  if (thumb_) {
    if (vertical_) {
      thumb_->SetPosition((width_ * ScaleX() - thumb_->GetWidth() * thumb_->ScaleX()) / 2.0f, 0.0f,
                          thumb_->GetPositionZ(), false);
    } else {
      thumb_->SetPosition(0.0f, -(height_ * ScaleY() - thumb_->GetHeight() * thumb_->ScaleY()) / 2.0f,
                          thumb_->GetPositionZ(), false);
    }
  }
  Widget::UpdateTransform();
  RecomputeThumbLength();
  ReapplyWithSnap();
}

float GUISlider::AxisHit() { return vertical_ ? hitPoint_[1] : hitPoint_[0]; }

float GUISlider::ThumbHit() {
  if (!thumb_) return 0.5f;
  return vertical_ ? 1.0f - thumb_->GetHitPointY() : thumb_->GetHitPointX();
}

void GUISlider::ThumbFollows(float h) {
  // The grab offset is a fraction of the thumb; the leading edge trails it.
  float lead = vertical_ ? h - (1.0f - grab_) * thumbLength_ : h - grab_ * thumbLength_;
  lead = std::clamp(lead, trackStart_, std::max(trackStart_, trackEnd_ - thumbLength_));
  PlaceThumbAt(lead);
}

bool GUISlider::Raise(uint32_t code, uintptr_t data) { return OnMessage(EntityWord(this), code, data); }

bool GUISlider::Down(uintptr_t parameter) const {
  const auto* mouse = reinterpret_cast<const MousePacket*>(parameter);
  return mouse && (mouse->pressed & 1);
}

bool GUISlider::Held(uintptr_t parameter) const {
  const auto* mouse = reinterpret_cast<const MousePacket*>(parameter);
  return mouse && (mouse->held & 1);
}

bool GUISlider::OnMessage(uintptr_t sender, uint32_t code, uintptr_t parameter) {
  if (code == GUIMSG_MOUSE_DOWN && Down(parameter)) {
    grab_ = 0.5f;
    if (thumb_ && FromWord(sender) == thumb_) {
      grab_ = ThumbHit();
      return true;
    }
    const float h = AxisHit();
    if (h >= trackStart_ && h <= trackEnd_) {
      if (!snap_) ThumbFollows(h);
      SetValue(ValueAt(h));
      Raise(GUIMSG_SLM_PAGECHANGE, static_cast<uintptr_t>(*value_));
    }
    return true;
  }
  if (code == GUIMSG_DRAG && Held(parameter)) {
    const float h = AxisHit();
    if (!snap_) ThumbFollows(h);
    SetValue(ValueAt(h));
    Raise(GUIMSG_SLM_DRAGCHANGE, static_cast<uintptr_t>(*value_));
    return true;
  }
  return Widget::OnMessage(sender, code, parameter);
}
