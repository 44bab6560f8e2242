#include "gui/core/GUIButton.h"

#include "engine/services/Core3D.h"
#include "engine/services/SoundMgr.h"
#include "gui/core/GUIStaticText.h"
#include "gui/core/GUIWorld.h"
#include "gui/core/WidgetMessages.h"

void PlayWidgetSound(Panelis* gui, SoundHandle* sound) {
  SoundMgr* service = gui ? gui->GetSound() : nullptr;
  if (!service || !sound) return;
  service->SetVolume(sound, service->GetMasterVolume());
  service->PlaySound(sound, false);
}

GUIButton::GUIButton(cEntity_Manager* owner) : Widget(owner) { SetKind(GUIKIND_BUTTON); }

GUIButton::~GUIButton() { GUIButton::Exit(); }

CoreStatus GUIButton::Initialize() {
  Widget::Initialize();
  CreateStateModels();
  return status::Ok;
}

CoreStatus GUIButton::Exit() {
  // Each state holds its own reference, so shared looks go back one by one.
  for (int i = 0; i < kButtonStates; ++i) {
    stateModels_[i].Reset();
    stateShaders_[i].Reset();
  }
  return Widget::Exit();
}

void GUIButton::CreateStateModels() {
  Core3D* renderer = Renderer();
  for (int i = 0; i < kButtonStates; ++i) {
    if (stateModels_[i]) continue;
    C3DBaseShader* shader = stateShaders_[i].Get();
    if (shader && renderer) {
      if (C3DModel* model = renderer->CreateModel(104, PlaneModelName())) {
        model->SetTextureRect(0, u0_, u1_, v0_, v1_);
        model->SetShader(0, shader);
        stateModels_[i].Adopt(model);
        continue;
      }
    }
    stateModels_[i].Set(model_.Get());
  }
  if (!enabled_) ApplyState(GUIBUTTON_DISABLED);
}

void GUIButton::ApplyStateModel(int32_t state) {
  if (Valid(state)) SetModel(stateModels_[state].Get());
}

void GUIButton::ApplyStateShader(int32_t state) {
  if (Valid(state)) SetShader(stateShaders_[state].Get());
}

void GUIButton::ApplyState(int32_t state) {
  ApplyStateModel(state);
  ApplyStateShader(state);
}

void GUIButton::SetStateModel(int32_t state, C3DModel* model) {
  if (Valid(state)) stateModels_[state].Set(model);
}

C3DModel* GUIButton::GetStateModel(int32_t state) { return Valid(state) ? stateModels_[state].Get() : nullptr; }

void GUIButton::SetStateShader(int32_t state, C3DBaseShader* shader) {
  if (Valid(state)) stateShaders_[state].Set(shader);
}

C3DBaseShader* GUIButton::GetStateShader(int32_t state) {
  return Valid(state) ? stateShaders_[state].Get() : nullptr;
}

void GUIButton::CaptionFont(C3DFont* font) {
  if (caption_ && font) caption_->SetFont(font);
}

bool GUIButton::OnMessage(uintptr_t sender, uint32_t code, uintptr_t parameter) {
  if (!enabled_) return Widget::OnMessage(sender, code, parameter);
  const auto* mouse = reinterpret_cast<const MousePacket*>(parameter);
  GUIWorld* world = gui_ ? gui_->GetWorld() : nullptr;
  switch (code) {
    case GUIMSG_MOUSE_DOWN:
      if (mouse && (mouse->pressed & 1)) {
        ApplyState(GUIBUTTON_ACTIVE);
        if (world) CaptionFont(world->GetFont3());
      }
      break;
    case GUIMSG_MOUSE_UP:
    case GUIMSG_CLICK:
      if (mouse && (mouse->released & 1)) {
        ApplyState(GUIBUTTON_MOUSEOVER);
        if (world) CaptionFont(world->GetDefaultFont());
      }
      PlayWidgetSound(gui_, GetClickSound());
      break;
    case GUIMSG_MOUSE_ENTER:
      ApplyState(GUIBUTTON_MOUSEOVER);
      if (world) CaptionFont(world->GetFont2());
      PlayWidgetSound(gui_, GetHoverSound());
      break;
    case GUIMSG_MOUSE_EXIT:
      ApplyState(GUIBUTTON_NORMAL);
      if (world) CaptionFont(world->GetDefaultFont());
      break;
    case GUIMSG_ENABLE:
      ApplyState(GUIBUTTON_NORMAL);
      break;
    case GUIMSG_DISABLE:
      ApplyState(GUIBUTTON_DISABLED);
      break;
    default:
      break;
  }
  return Widget::OnMessage(sender, code, parameter);
}

void GUIButton::SetEnabled(uint8_t on) {
  ApplyState(on ? GUIBUTTON_NORMAL : GUIBUTTON_DISABLED);
  enabled_ = on;
}

void GUIButton::SetScale(float x, float y, float z, bool) {
  Widget::SetScale(x, y, z, true);
  LayoutCaption();
}

bool GUIButton::CreateCaption() {
  auto* caption = SpawnPart<GUIStaticText>(gui_, GUIKIND_STATICTEXT, "Button " + NameRef() + "'s caption");
  if (!caption) return false;
  GUIWorld* world = gui_->GetWorld();
  caption->SetFont(world ? world->GetDefaultFont() : nullptr);
  caption->UpdateBounds();
  caption->SetText("Caption message", true);
  caption->MoveBy(0.0f, 0.0f, 0.00001f, false);
  caption->SetSolid(0);
  caption->SetTextAlign(GUIALIGN_CENTRE, true);
  AddChild(caption, false);
  caption_ = caption;
  return true;
}

void GUIButton::SetCaption(const std::string& text, bool update) {
  if (caption_) caption_->SetText(text, update);
}

void GUIButton::SetCaptionScale(float x, float y, float z, bool update) {
  if (!caption_) return;
  caption_->SetTextScale(x, y, z, update);
  LayoutCaption();
}

void GUIButton::SetCaptionPosition(float x, float y, float z, bool update) {
  if (!caption_) return;
  caption_->SetPosition(x, y, z, update);
  LayoutCaption();
}

void GUIButton::ChildLeft(GUIEntity* child) {
  Widget::ChildLeft(child);
  if (child == caption_) caption_ = nullptr;
}
