#include "gui/core/GUIProgressBar.h"

#include "engine/services/Core3D.h"
#include "gui/core/GUIStatic.h"
#include "gui/core/GUIStaticText.h"
#include "gui/core/GUIWorld.h"

GUIProgressBar::GUIProgressBar(cEntity_Manager* owner) : Widget(owner) { SetKind(GUIKIND_PROGRESSBAR); }

GUIProgressBar::~GUIProgressBar() = default;

void GUIProgressBar::Render(Core3D* renderer, C3DPass* pass) {
  if (!visible_ || !active_) return;
  if (renderer && model_) renderer->DrawModel(pass, model_.Get(), &world_);
  if (fill_) {
    const float progress = *progress_;
    fill_->SetScale((1.0f - gaps_[0] - gaps_[1]) * width_ * progress * ScaleX(),
                    (1.0f - gaps_[2] - gaps_[3]) * height_ * ScaleY(), 1.0f, false);
    fill_->SetPosition(width_ * gaps_[0] * ScaleX(), -(height_ * gaps_[3] * ScaleY()), 0.001f, true);
  }
  GUIEntity::Render(renderer, pass);
}

bool GUIProgressBar::CreateStatusText() {
  auto* text = SpawnPart<GUIStaticText>(gui_, GUIKIND_STATICTEXT, "Progressbar " + NameRef() + "'s status");
  if (!text) return false;
  GUIWorld* world = gui_->GetWorld();
  text->SetFont(world ? world->GetDefaultFont() : nullptr);
  text->UpdateBounds();
  text->MoveBy(0.0f, 0.0f, 0.002f, true);
  text->SetSolid(0);
  children_.push_back(text);
  text->SetParent(this);
  status_ = text;
  return true;
}

bool GUIProgressBar::CreateFillControl() {
  auto* fill = SpawnPart<GUIStatic>(gui_, GUIKIND_STATIC, "Progressbar " + NameRef() + "'s fill control");
  if (!fill) return false;
  fill->UpdateBounds();
  fill->SetSolid(0);
  AddChild(fill, false);
  fill_ = fill;
  return true;
}

int32_t GUIProgressBar::SetBorderGap(int32_t index, float value) {
  if (index >= 0 && index < 4) gaps_[index] = value;
  return index;
}

void GUIProgressBar::SetBorderGaps(float left, float right, float bottom, float top) {
  gaps_[0] = left;
  gaps_[1] = right;
  gaps_[2] = bottom;
  gaps_[3] = top;
}

bool GUIProgressBar::AddProgress(float amount) {
  *progress_ += amount;
  return *progress_ >= 1.0f;
}

void GUIProgressBar::SetStatusText(const std::string& text) {
  if (status_) status_->SetText(text, true);
}

std::string GUIProgressBar::GetStatusText() { return status_ ? status_->GetText() : std::string(); }

void GUIProgressBar::SetStatusScale(float x, float y, float z) {
  if (status_) status_->SetScale(x, y, z, true);
}

void GUIProgressBar::SetStatusOffset(float x, float y, float z) {
  if (status_) status_->SetPosition(x, y, z + 0.002f, true);
}

void GUIProgressBar::BindStatusText(StringHolder* holder) {
  if (status_) status_->BindText(holder);
}

void GUIProgressBar::UnbindStatusText() {
  if (status_) status_->UnbindText();
}

void GUIProgressBar::ChildLeft(GUIEntity* child) {
  Widget::ChildLeft(child);
  if (child == status_) status_ = nullptr;
  if (child == fill_) fill_ = nullptr;
}
