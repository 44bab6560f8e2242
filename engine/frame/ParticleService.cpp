#include "engine/frame/ParticleService.h"

#include "engine/frame/ParticleServiceItem.h"

cParticleService::cParticleService(cEntity_Manager* creator) : cBaseService(creator) {
  SetServiceType(eServiceKind_Particle);
}

cParticleService::~cParticleService() {
  for (cParticleServiceItem* item : items_) item->service_ = nullptr;
  items_.clear();
  ReleaseFactories();
}

CoreStatus cParticleService::AddItem(cParticleServiceItem* item) {
  if (!item) return status::Fail;
  if (item->service_) item->service_->RemoveItem(item);
  item->service_ = this;
  item->listIndex_ = static_cast<int32_t>(items_.size());
  items_.push_back(item);
  return status::Ok;
}

CoreStatus cParticleService::RemoveItem(cParticleServiceItem* item) {
  if (!item || item->service_ != this) return status::Ok;
  const int32_t at = item->listIndex_;
  if (at < 0 || at >= GetItemCount() || items_[static_cast<size_t>(at)] != item) return status::Ok;
  items_.erase(items_.begin() + at);
  for (size_t i = static_cast<size_t>(at); i < items_.size(); ++i) --items_[i]->listIndex_;
  item->service_ = nullptr;
  return status::Ok;
}

bool cParticleService::AddFactory(const ParticleFactoryParams& params, uint16_t* index) {
  if (factories_.size() >= kMaxFactories) return false;
  auto def = std::make_unique<FactoryDef>();
  def->params = params;
  factories_.push_back(std::move(def));
  if (index) *index = static_cast<uint16_t>(factories_.size() - 1);
  return true;
}

bool cParticleService::GetFactory(uint16_t index, ParticleFactoryParams* out) const {
  if (!out) return false;
  if (factories_.empty()) {
    out->materials.clear();
    return false;
  }
  const size_t at = index < factories_.size() ? index : 0;
  *out = factories_[at]->params;
  return true;
}

void cParticleService::ReleaseFactories() { factories_.clear(); }

void cParticleService::Update(float seconds) {
  for (size_t i = 0; i < items_.size(); ++i) items_[i]->Update(seconds);
}
