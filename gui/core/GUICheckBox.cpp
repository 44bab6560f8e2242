#include "gui/core/GUICheckBox.h"

#include "engine/services/Core3D.h"
#include "gui/core/GUIStaticText.h"
#include "gui/core/GUIWorld.h"
#include "gui/core/WidgetMessages.h"

GUICheckBox::GUICheckBox(cEntity_Manager* owner) : Widget(owner) { SetKind(GUIKIND_CHECKBOX); }

GUICheckBox::~GUICheckBox() { GUICheckBox::Exit(); }

CoreStatus GUICheckBox::Initialize() {
  Widget::Initialize();
  Core3D* renderer = Renderer();
  for (int i = 0; i < kCheckStates; ++i) {
    if (stateModels_[i]) continue;
    C3DBaseShader* shader = stateShaders_[i].Get();
    if (shader && renderer) {
      if (C3DModel* model = renderer->CreateModel(104, PlaneModelName())) {
        model->SetShader(0, shader);
        stateModels_[i].Adopt(model);
        continue;
      }
    }
    stateModels_[i].Set(model_.Get());
  }
  if (caption_) caption_->UpdateBounds();
  return status::Ok;
}

CoreStatus GUICheckBox::Exit() {
  for (int i = 0; i < kCheckStates; ++i) {
    stateModels_[i].Reset();
    stateShaders_[i].Reset();
  }
  return Widget::Exit();
}

void GUICheckBox::ApplyStateModel(int32_t state) {
  if (Valid(state)) SetModel(stateModels_[state].Get());
}

void GUICheckBox::ApplyStateShader(int32_t state) {
  if (Valid(state)) SetShader(stateShaders_[state].Get());
}

void GUICheckBox::ApplyState(int32_t state) {
  ApplyStateModel(state);
  ApplyStateShader(state);
}

bool GUICheckBox::OnMessage(uintptr_t sender, uint32_t code, uintptr_t parameter) {
  const auto* mouse = reinterpret_cast<const MousePacket*>(parameter);
  if (code == GUIMSG_MOUSE_DOWN && mouse && (mouse->pressed & 1)) Toggle();
  if (code == GUIMSG_ENABLE) ApplyState(checked_ ? GUICHECK_CHECKED : GUICHECK_UNCHECKED);
  if (code == GUIMSG_DISABLE) ApplyState(GUICHECK_DISABLED);
  return Widget::OnMessage(sender, code, parameter);
}

void GUICheckBox::SetEnabled(uint8_t on) {
  ApplyState(on ? (checked_ ? GUICHECK_CHECKED : GUICHECK_UNCHECKED) : GUICHECK_DISABLED);
  enabled_ = on;
}

bool GUICheckBox::Toggle() {
  if (auto* group = dynamic_cast<GUIGroup*>(parent_)) {
    if (checked_) return true;
    group->UncheckAll();
  }
  checked_ = checked_ ? 0 : 1;
  ApplyState(checked_ ? GUICHECK_CHECKED : GUICHECK_UNCHECKED);
  Fire(EntityWord(this), checked_ ? "cb_checked" : "cb_unchecked");
  return checked_ != 0;
}

void GUICheckBox::SetChecked(bool checked) {
  checked_ = checked ? 1 : 0;
  ApplyState(checked_ ? GUICHECK_CHECKED : GUICHECK_UNCHECKED);
}

void GUICheckBox::SetStateModel(int32_t state, C3DModel* model) {
  if (Valid(state)) stateModels_[state].Set(model);
}

void GUICheckBox::SetStateShader(int32_t state, C3DBaseShader* shader) {
  if (Valid(state)) stateShaders_[state].Set(shader);
}

bool GUICheckBox::CreateCaption() {
  auto* caption = SpawnPart<GUIStaticText>(gui_, GUIKIND_STATICTEXT, "Checkbox " + NameRef() + "'s caption");
  if (!caption) return false;
  GUIWorld* world = gui_->GetWorld();
  caption->SetFont(world ? world->GetDefaultFont() : nullptr);
  caption->SetText("Caption message", true);
  caption->MoveBy(0.0f, 0.0f, 0.001f, true);
  caption->SetSolid(0);
  children_.push_back(caption);
  caption->SetParent(this);
  caption_ = caption;
  return true;
}

void GUICheckBox::SetCaption(const std::string& text, bool update) {
  if (caption_) caption_->SetText(text, update);
}

void GUICheckBox::SetCaptionScale(float x, float y, float z, bool update) {
  if (!caption_) return;
  caption_->SetScale(x, y, z, update);
  // A text is sized by its text scale alone: without it the caption would
  // be drawn at the font's full size whatever the description asks.
  caption_->SetTextScale(x, y, z, update);
  LayoutCaption();
}

void GUICheckBox::SetCaptionPosition(float x, float y, float z, bool update) {
  if (!caption_) return;
  caption_->SetPosition(x, y, z, update);
  LayoutCaption();
}

void GUICheckBox::LayoutCaption() {
  if (!captionLayout_ || !caption_) return;
  const float y = -(height_ * ScaleY() / 2.0f - caption_->GetHeight() * caption_->ScaleY() / 2.0f);
  caption_->SetPosition(caption_->GetPositionX(), y, caption_->GetPositionZ(), true);
}

void GUICheckBox::ChildLeft(GUIEntity* child) {
  Widget::ChildLeft(child);
  if (child == caption_) caption_ = nullptr;
}

GUIGroup::GUIGroup(cEntity_Manager* owner) : Widget(owner) {
  SetKind(GUIKIND_GROUP);
  solid_ = 0;
}

void GUIGroup::UncheckAll() {
  for (GUIEntity* child : children_) {
    auto* box = dynamic_cast<GUICheckBox*>(child);
    if (box && box->IsEnabled()) box->SetChecked(false);
  }
}
