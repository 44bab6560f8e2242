#include "gui/core/GUISpin.h"

#include <cstdio>
#include <cstdlib>

#include "gui/core/GUIButton.h"
#include "gui/core/GUITextBox.h"
#include "gui/core/WidgetMessages.h"

GUISpin::GUISpin(cEntity_Manager* owner) : Widget(owner) { SetKind(GUIKIND_SPIN); }

GUISpin::~GUISpin() = default;

CoreStatus GUISpin::Initialize() {
  Widget::Initialize();
  for (GUIButton* button : {increase_, decrease_}) {
    if (!button) continue;
    button->UpdateBounds();
    if (!button->GetModel()) button->CreatePlaneModel();
    button->CreateStateModels();
  }
  return status::Ok;
}

bool GUISpin::CreateButtons() {
  const std::string name = "Spin control " + NameRef();
  increase_ = AttachPart<GUIButton>(GUIKIND_BUTTON, name + "'s increase button", 0.005f, false);
  if (!increase_) return false;
  decrease_ = AttachPart<GUIButton>(GUIKIND_BUTTON, name + "'s decrease button", 0.005f, false);
  return decrease_ != nullptr;
}

void GUISpin::ChildLeft(GUIEntity* child) {
  Widget::ChildLeft(child);
  if (child == increase_) increase_ = nullptr;
  if (child == decrease_) decrease_ = nullptr;
}

void GUISpin::SetScale(float x, float y, float z, bool update) {
  if (increase_) increase_->SetScale(x, y / 2.0f, z, false);
  if (decrease_) {
    decrease_->SetScale(x, y / 2.0f, z, false);
    decrease_->SetPositionY(-0.5f * y * height_, false);
  }
  Widget::SetScale(x, y, z, update);
}

bool GUISpin::OnMessage(uintptr_t sender, uint32_t code, uintptr_t parameter) {
  const auto* mouse = reinterpret_cast<const MousePacket*>(parameter);
  if (code == GUIMSG_MOUSE_DOWN && mouse && (mouse->pressed & 1) && target_) {
    auto* source = reinterpret_cast<GUIEntity*>(sender);
    const int delta = source && source == increase_ ? 1 : (source && source == decrease_ ? -1 : 0);
    if (delta != 0) {
      // A text that is no number counts as 0.
      const long value = std::strtol(target_->GetText().c_str(), nullptr, 10) + delta;
      char text[24];
      std::snprintf(text, sizeof text, "%ld", value);
      target_->SetText(text, true);
    }
  }
  return Widget::OnMessage(sender, code, parameter);
}
