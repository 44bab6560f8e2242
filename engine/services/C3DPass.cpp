#include "engine/services/C3DPass.h"

#include <algorithm>

C3DEntity::~C3DEntity() = default;
void C3DEntity::OnPassBegin(C3DPass*) {}
void C3DEntity::OnPassPrepare(C3DPass*) {}
void C3DEntity::Render(C3DPass*) {}
void C3DEntity::OnPassFinish(C3DPass*) {}
void C3DEntity::OnPassEnd(C3DPass*) {}

C3DPass::C3DPass() = default;
C3DPass::~C3DPass() = default;

void C3DPass::SetSorted(bool sorted) { sorted_ = sorted; }
int32_t C3DPass::GetIndex() { return index_; }
void C3DPass::SetName(const std::string& name) { name_ = name; }
std::string C3DPass::GetName() { return name_; }
void C3DPass::SetPassView(CameraView* view) { view_ = view; }
CameraView* C3DPass::GetPassView() { return view_; }

int32_t C3DPass::AddLight(uint32_t) { return 0; }
void C3DPass::RemoveLight(int32_t) {}
int32_t C3DPass::GetLightCount() { return 0; }
int32_t C3DPass::GetLight(int32_t) { return 0; }
bool C3DPass::IsDeviceBacked() { return false; }

bool C3DPass::IsFogEnabled() { return false; }
void C3DPass::EnableFog() {}
void C3DPass::DisableFog() {}
void C3DPass::SetFogValueA(float) {}
float C3DPass::GetFogValueA() { return 0.0f; }
void C3DPass::SetFogValueB(float) {}
float C3DPass::GetFogValueB() { return 0.0f; }
void C3DPass::SetFogDensity(float) {}
float C3DPass::GetFogDensity() { return 0.0f; }
void C3DPass::SetFogColour(float, float, float) {}
void C3DPass::GetFogColour(float* red, float* green, float* blue) {
  if (red) *red = 0.0f;
  if (green) *green = 0.0f;
  if (blue) *blue = 0.0f;
}

int32_t C3DPass::InsertItem(void* item, int32_t position) {
  if (position < 0 || static_cast<size_t>(position) > items_.size()) {
    items_.push_back(item);
  } else {
    items_.insert(items_.begin() + position, item);
  }
  return static_cast<int32_t>(items_.size());
}

void C3DPass::RemoveItem(int32_t position) {
  if (position < 0 || static_cast<size_t>(position) >= items_.size()) return;
  items_.erase(items_.begin() + position);
}

int32_t C3DPass::GetItemCount() { return static_cast<int32_t>(items_.size()); }

void* C3DPass::GetItem(int32_t position) {
  if (position < 0 || static_cast<size_t>(position) >= items_.size()) return nullptr;
  return items_[static_cast<size_t>(position)];
}

void C3DPass::AddEntity(C3DEntity* entity) {
  if (entities_.size() >= entityCapacity_) {
    // Full: drop the nulled entries first, and grow only when that did not
    // free enough room for the frame ahead.
    entities_.erase(std::remove(entities_.begin(), entities_.end(), nullptr), entities_.end());
    if (entityCapacity_ < 16 || entities_.size() >= entityCapacity_ - 16) {
      entityCapacity_ = entityCapacity_ < 64 ? 64 : entityCapacity_ * 2;
    }
    entities_.reserve(entityCapacity_);
  }
  entities_.push_back(entity);
}

void C3DPass::ClearEntity(int32_t position) {
  if (position < 0 || static_cast<size_t>(position) >= entities_.size()) return;
  entities_[static_cast<size_t>(position)] = nullptr;
}

int32_t C3DPass::GetEntityCount() { return static_cast<int32_t>(entities_.size()); }

C3DEntity* C3DPass::GetEntity(int32_t position) {
  if (position < 0 || static_cast<size_t>(position) >= entities_.size()) return nullptr;
  return entities_[static_cast<size_t>(position)];
}

void C3DPass::ClearEntities() { std::fill(entities_.begin(), entities_.end(), nullptr); }

void C3DPass::RenderEntities() {
  // By index: a render callback may add entities, which can reallocate.
  for (size_t i = 0; i < entities_.size(); ++i) {
    if (C3DEntity* entity = entities_[i]) entity->Render(this);
  }
}

void C3DPass::SetBeginHook(C3DEntity* hook) { beginHook_ = hook; }
C3DEntity* C3DPass::GetBeginHook() { return beginHook_; }
void C3DPass::RunBeginHook() {
  if (beginHook_) beginHook_->OnPassBegin(this);
}
void C3DPass::SetPrepareHook(C3DEntity* hook) { prepareHook_ = hook; }
C3DEntity* C3DPass::GetPrepareHook() { return prepareHook_; }
void C3DPass::RunPrepareHook() {
  if (prepareHook_) prepareHook_->OnPassPrepare(this);
}
void C3DPass::SetFinishHook(C3DEntity* hook) { finishHook_ = hook; }
C3DEntity* C3DPass::GetFinishHook() { return finishHook_; }
void C3DPass::RunFinishHook() {
  if (finishHook_) finishHook_->OnPassFinish(this);
}
void C3DPass::SetEndHook(C3DEntity* hook) { endHook_ = hook; }
C3DEntity* C3DPass::GetEndHook() { return endHook_; }
void C3DPass::RunEndHook() {
  if (endHook_) endHook_->OnPassEnd(this);
}
