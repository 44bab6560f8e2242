#include "engine/services/SoundMgr.h"

SoundHandle::~SoundHandle() = default;
FXHandle::~FXHandle() = default;

SoundMgr::SoundMgr() = default;

SoundMgr::~SoundMgr() {
  // The base's own map: records left in it are this object's.
  for (auto& entry : config_) delete entry.second;
}

void SoundMgr::SetMasterVolume(float volume) { masterVolume_ = volume; }
float SoundMgr::GetMasterVolume() { return masterVolume_; }
