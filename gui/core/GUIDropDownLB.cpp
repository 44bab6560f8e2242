#include "gui/core/GUIDropDownLB.h"

#include "gui/core/GUIButton.h"
#include "gui/core/GUIListBox.h"
#include "gui/core/GUIScript.h"
#include "gui/core/GUIStaticText.h"
#include "gui/core/GUIWorld.h"
#include "gui/core/WidgetMessages.h"

GUIDropDownLB::GUIDropDownLB(cEntity_Manager* owner) : Widget(owner) { SetKind(GUIKIND_DROPDOWN); }

GUIDropDownLB::~GUIDropDownLB() = default;

CoreStatus GUIDropDownLB::Initialize() {
  Widget::Initialize();
  Layout();
  return status::Ok;
}

void GUIDropDownLB::ChildLeft(GUIEntity* child) {
  Widget::ChildLeft(child);
  if (child == text_) text_ = nullptr;
  if (child == list_) list_ = nullptr;
  if (child == arrow_) arrow_ = nullptr;
}

bool GUIDropDownLB::CreateListBox() {
  auto* list = SpawnPart<GUIListBox>(gui_, GUIKIND_LISTBOX, "Dropdown " + NameRef() + "'s listbox");
  if (!list) return false;
  if (!list->CreateHighlight() || !list->CreateScrollBar()) {
    gui_->DestroyEntity(list);
    return false;
  }
  GUIWorld* world = gui_->GetWorld();
  list->SetFont(world ? world->GetDefaultFont() : nullptr);
  list->SetListBounds(0.0f, 0.0f, 1.0f, 1.0f);
  list->MoveBy(0.0f, 0.0f, 0.001f, true);
  list->SetVisible(0);
  AddChild(list, true);
  list_ = list;
  return true;
}

bool GUIDropDownLB::CreateArrowButton() {
  arrow_ = AttachPart<GUIButton>(GUIKIND_BUTTON, "Dropdown " + NameRef() + "'s dropdown arrow button", 0.001f, true);
  return arrow_ != nullptr;
}

bool GUIDropDownLB::CreateSelectionText() {
  auto* text = SpawnPart<GUIStaticText>(gui_, GUIKIND_STATICTEXT, "Dropdown " + NameRef() + "'s selection text");
  if (!text) return false;
  GUIWorld* world = gui_->GetWorld();
  text->SetFont(world ? world->GetDefaultFont() : nullptr);
  text->MoveBy(0.0f, 0.0f, 0.001f, true);
  text->SetText("Make a selection", true);
  AddChild(text, true);
  text_ = text;
  return true;
}

bool GUIDropDownLB::IsOpen() const { return list_ && list_->IsVisible(); }

void GUIDropDownLB::EffectiveBounds(float out[4]) {
  for (int i = 0; i < 4; ++i) out[i] = textBounds_[i];
  if (!arrow_) return;
  const float w = width_ * ScaleX();
  const float share = w != 0.0f ? arrow_->GetWidth() * arrow_->ScaleX() / w : 0.0f;
  if (arrowSide_) out[2] -= share;
  else out[0] += share;
}

void GUIDropDownLB::Layout() {
  const float w = width_ * ScaleX();
  // While open the box is taller by the list; the list hangs below the
  // closed box.
  float h = height_ * ScaleY();
  if (IsOpen() && ScaleY() != 0.0f) h -= list_->ScaleY() * list_->GetHeight();
  if (list_) {
    list_->SetPosition(0.0f, -h, list_->GetPositionZ(), true);
    list_->UpdateBounds();
    if (!list_->GetModel()) list_->CreatePlaneModel();
    list_->InitChildren();
  }
  if (arrow_) {
    arrow_->SetScale(h, h, 1.0f, false);
    arrow_->SetPositionX(arrowSide_ ? w - h : 0.0f, true);
    arrow_->UpdateBounds();
    if (!arrow_->GetModel()) arrow_->CreatePlaneModel();
    arrow_->CreateStateModels();
  }
  if (text_) {
    float bounds[4];
    EffectiveBounds(bounds);
    text_->SetPositionY(-(bounds[1] * h), true);
    text_->UpdateBounds();
  }
}

void GUIDropDownLB::SetSelectionText(const std::string& text) {
  if (text_) text_->SetText(text, true);
  UpdateSelectionText();
}

std::string GUIDropDownLB::GetSelectionText() { return text_ ? text_->GetText() : std::string(); }

void GUIDropDownLB::SetSelectionTextScale(float x, float y, float z) {
  if (text_) text_->SetTextScale(x, y, z, true);
}

float GUIDropDownLB::GetSelectionScaleX() { return text_ ? text_->ScaleX() : 0.0f; }
float GUIDropDownLB::GetSelectionScaleY() { return text_ ? text_->ScaleY() : 0.0f; }
float GUIDropDownLB::GetSelectionScaleZ() { return text_ ? text_->ScaleZ() : 0.0f; }

void GUIDropDownLB::SetTextBounds(float left, float top, float right, float bottom) {
  textBounds_[0] = left;
  textBounds_[1] = top;
  textBounds_[2] = right;
  textBounds_[3] = bottom;
  UpdateSelectionText();
}

void GUIDropDownLB::UpdateSelectionText() {
  if (!text_) return;
  float bounds[4];
  EffectiveBounds(bounds);
  const float w = width_ * ScaleX();
  const std::string selected = list_ ? list_->GetSelectedText() : std::string();
  text_->SetText(FitTextToWidth(selected, text_->GetFont(), text_->TextScaleX(), (bounds[2] - bounds[0]) * w), true);
  text_->SetPositionX(w * bounds[0], true);
}

bool GUIDropDownLB::OnMessage(uintptr_t sender, uint32_t code, uintptr_t parameter) {
  auto* source = reinterpret_cast<GUIEntity*>(sender);
  const bool toggle = (code == GUIMSG_MOUSE_DOWN && arrow_ && source == arrow_) ||
                      ((code == GUIMSG_MOUSE_UP || code == GUIMSG_CLICK) && list_ && source == list_);
  if (toggle && list_) {
    const float grow = ScaleY() != 0.0f ? list_->ScaleY() * list_->GetHeight() / ScaleY() : 0.0f;
    const bool open = !list_->IsVisible();
    list_->SetVisible(open ? 1 : 0);
    SetHeight(height_ + (open ? grow : -grow));
  }
  if ((code >= 16 && code <= 19) || (code >= 22 && code <= 26) || code == 768) UpdateSelectionText();
  return Widget::OnMessage(EntityWord(this), code, parameter);
}
