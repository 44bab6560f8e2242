#include "scene/AlphaManager.h"

#include <new>

#include "engine/entity/EntityManager.h"
#include "engine/services/C3DModel.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"

cEntity_AlphaManager::cEntity_AlphaManager(cEntity_Manager* manager) : cEntity_Base(manager, kEntityType_Base) {
  if (manager) wrapper_ = dynamic_cast<cKV9_GlobalWrapper*>(manager->GetGlobalWrapper());
}

cEntity_AlphaManager::~cEntity_AlphaManager() { ReleaseLists(); }

bool cEntity_AlphaManager::InitLists() {
  modelCapacity_ = kInitialCapacity;
  updateeCapacity_ = kInitialCapacity;
  modelCount_ = 0;
  updateeCount_ = 0;
  return true;
}

bool cEntity_AlphaManager::AllocateLists() {
  models_.assign(modelCapacity_, nullptr);
  matrices_.assign(modelCapacity_, JMatrix());
  updatees_.assign(updateeCapacity_, nullptr);
  return true;
}

bool cEntity_AlphaManager::ReleaseLists() {
  for (uint32_t i = 0; i < modelCount_ && i < models_.size(); ++i) {
    if (models_[i]) models_[i]->Release();
    models_[i] = nullptr;
  }
  modelCount_ = 0;
  updateeCount_ = 0;
  models_.clear();
  matrices_.clear();
  updatees_.clear();
  return true;
}

void cEntity_AlphaManager::GrowList() {
  updateeCapacity_ *= 2;
  updatees_.resize(updateeCapacity_, nullptr);
}

void cEntity_AlphaManager::AddUpdatee(cAlphaUpdatee* updatee) {
  if (updatees_.size() < updateeCapacity_) updatees_.resize(updateeCapacity_, nullptr);
  if (updateeCount_ == updateeCapacity_) GrowList();
  updatees_[updateeCount_++] = updatee;
}

bool cEntity_AlphaManager::RemoveUpdatee(cAlphaUpdatee* updatee) {
  if (!updatee) return false;
  for (uint32_t i = 0; i < updateeCount_; ++i) {
    if (updatees_[i] != updatee) continue;
    updatees_[i] = nullptr;
    if (i == updateeCount_ - 1) --updateeCount_;
    return true;
  }
  return false;
}

void cEntity_AlphaManager::AddModel(C3DModel* model, const JMatrix& matrix) {
  if (!model) return;
  if (models_.size() < modelCapacity_) {
    models_.resize(modelCapacity_, nullptr);
    matrices_.resize(modelCapacity_);
  }
  if (modelCount_ == modelCapacity_) {
    modelCapacity_ *= 2;
    models_.resize(modelCapacity_, nullptr);
    matrices_.resize(modelCapacity_);
  }
  models_[modelCount_] = model;
  matrices_[modelCount_] = matrix;
  ++modelCount_;
}

CoreStatus cEntity_AlphaManager::Render(C3DPass* pass, Core3D* renderer) {
  if (renderer) {
    for (uint32_t i = 0; i < modelCount_; ++i) {
      if (models_[i]) renderer->DrawModel(pass, models_[i], &matrices_[i]);
    }
  }
  for (uint32_t i = 0; i < updateeCount_; ++i) {
    if (updatees_[i]) updatees_[i]->DrawTranslucent(pass, renderer);
  }
  return status::Ok;
}

cEntity_Base* SpawnAlphaManager::Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) {
  return new (std::nothrow) cEntity_AlphaManager(creator);
}
