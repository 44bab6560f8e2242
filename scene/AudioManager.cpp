#include "scene/AudioManager.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "base/StringUtil.h"
#include "engine/config/ConfigManager.h"
#include "engine/entity/EntityManager.h"
#include "engine/frame/BaseCamera.h"
#include "engine/math/JVector.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/SoundMgr.h"
#include "scene/SceneHost.h"

namespace {

cEntity_AudioManager::BuildingLocator g_buildingLocator = nullptr;

constexpr int32_t kMissingVolume = 50;

float Distance(const float a[3], const float b[3]) {
  const float dx = a[0] - b[0], dy = a[1] - b[1], dz = a[2] - b[2];
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// P + unit(F x up); P itself when the cross product has no length.
void Ear(const float p[3], const float f[3], float upY, float out[3]) {
  // F x (0, upY, 0) = (-fz * upY, 0, fx * upY).
  float c[3] = {-f[2] * upY, 0.0f, f[0] * upY};
  const float length = std::sqrt(c[0] * c[0] + c[2] * c[2]);
  if (length > 0.0f) {
    c[0] /= length;
    c[2] /= length;
  }
  out[0] = p[0] + c[0];
  out[1] = p[1];
  out[2] = p[2] + c[2];
}

float VolumeFromSetting(cCore_ConfigManager* config, const char* key) {
  int32_t value = kMissingVolume;
  if (config && !config->GetInt("App", key, value)) value = kMissingVolume;
  return value > 0 ? static_cast<float>(value) / 255.0f : 0.0f;
}

}  // namespace

cEntity_AudioManager::cEntity_AudioManager(cEntity_Manager* manager, uint32_t type) : cEntity_Base(manager, type) {
  if (manager) wrapper_ = dynamic_cast<cKV9_GlobalWrapper*>(manager->GetGlobalWrapper());
  SetName("Entity_AudioManager");
}

cEntity_AudioManager::~cEntity_AudioManager() { nodes_.clear(); }

void cEntity_AudioManager::SetBuildingLocator(BuildingLocator locator) { g_buildingLocator = locator; }

SoundMgr* cEntity_AudioManager::Sound() const { return wrapper_ ? wrapper_->sound : nullptr; }
bool cEntity_AudioManager::SoundOff() const { return !Sound() || Sound()->IsSoundDisabled(); }
bool cEntity_AudioManager::MusicOff() const { return !Sound() || Sound()->IsMusicDisabled(); }

CoreStatus cEntity_AudioManager::LoadVolumes() {
  cCore_ConfigManager* config = wrapper_ ? wrapper_->configManager : nullptr;
  SetMusicVolume(VolumeFromSetting(config, "MusicVolume"));
  SetSoundVolume(VolumeFromSetting(config, "SoundVolume"));
  return status::Ok;
}

void cEntity_AudioManager::SetMusicVolume(float volume) {
  if (MusicOff()) return;
  musicVolume_ = volume > 0.0f ? volume : 0.0f;
  if (music_) Sound()->SetVolume(music_, musicVolume_);
}

void cEntity_AudioManager::SetSoundVolume(float volume) {
  if (SoundOff()) return;
  soundVolume_ = volume > 0.0f ? volume : 0.0f;
  SoundMgr* sound = Sound();
  sound->SetMasterVolume(soundVolume_);
  if (std::list<SoundHandle*>* list = sound->GetSoundList()) {
    for (SoundHandle* handle : *list) sound->SetVolume(handle, soundVolume_);
  }
}

SoundHandle* cEntity_AudioManager::PlaySound(const std::string& fileName, bool loop, uint8_t flag) {
  if (SoundOff() || fileName.empty()) return nullptr;
  SoundMgr* sound = Sound();
  SoundHandle* handle = sound->CreateSound(fileName);
  if (!handle) return nullptr;
  handle->callerFlag = flag != 0;
  sound->PlaySound(handle, loop);
  sound->SetVolume(handle, soundVolume_);
  return handle;
}

void cEntity_AudioManager::StopSound(SoundHandle* handle) {
  if (SoundOff() || !handle) return;
  Sound()->StopSound(handle);
}

void cEntity_AudioManager::Replace(SoundHandle*& slot, std::string& slotFile, const std::string& fileName, bool music,
                                   float volume) {
  SoundMgr* sound = Sound();
  auto drop = [&](SoundHandle* handle) {
    if (music) {
      sound->StopMusic(handle);
      sound->ReleaseMusic(handle);
    } else {
      sound->StopSound(handle);
      sound->ReleaseSound(handle);
    }
  };
  if (fileName.empty()) {
    if (slot) drop(slot);
    slot = nullptr;
    slotFile.clear();
    return;
  }
  // The service makes a new handle on every create, so what is playing is
  // told by its file (names resolve whatever their case).
  if (slot && str::EqualsNoCase(slotFile, fileName)) return;
  SoundHandle* handle = music ? sound->CreateMusic(fileName) : sound->CreateSound(fileName);
  if (!handle || handle == slot) return;
  if (slot) drop(slot);
  slot = handle;
  slotFile = fileName;
  if (music) {
    sound->PlayMusic(handle);
  } else {
    sound->PlaySound(handle, true);
  }
  sound->SetVolume(handle, volume);
}

void cEntity_AudioManager::PlayMusic(const std::string& fileName) {
  if (!MusicOff()) Replace(music_, musicFile_, fileName, true, musicVolume_);
}

void cEntity_AudioManager::PlaySoundLoop(const std::string& fileName) {
  if (!SoundOff()) Replace(loop_, loopFile_, fileName, false, soundVolume_);
}

void cEntity_AudioManager::SetLoopVolume(float volume) {
  if (SoundOff() || !loop_) return;
  Sound()->SetVolume(loop_, (volume > 0.0f ? volume : 0.0f) * soundVolume_);
}

void cEntity_AudioManager::CrossFadeLoop(const std::string& fileName, float targetVolume, float fadeInSeconds) {
  if (SoundOff()) return;
  SoundMgr* sound = Sound();
  if (fadeOut_) {
    sound->StopSound(fadeOut_);
    sound->ReleaseSound(fadeOut_);
  }
  fadeOut_ = fadeIn_;
  fadeOutTarget_ = fadeInTarget_;
  fadeOutTime_ = fadeInTime_;
  fadeIn_ = fileName.empty() ? nullptr : sound->CreateSound(fileName);
  fadeInTarget_ = targetVolume;
  fadeInTime_ = fadeInSeconds;
  if (fadeIn_) {
    sound->PlaySound(fadeIn_, true);
    sound->SetVolume(fadeIn_, 0.0f);
  }
}

void cEntity_AudioManager::SetCrossFadeMix(float t) {
  if (SoundOff()) return;
  SoundMgr* sound = Sound();
  auto mix = [&](SoundHandle* handle, float share) {
    if (!handle) return;
    if (share <= 0.0f) {
      sound->StopSound(handle);
    } else {
      sound->SetVolume(handle, share * soundVolume_);
    }
  };
  mix(fadeOut_, 1.0f - t);
  mix(fadeIn_, t);
}

void cEntity_AudioManager::AddObjectSound(cEntity_Base* object, const std::string& fileName, float loop,
                                          float value) {
  if (SoundOff() || !object || fileName.empty()) return;
  SoundMgr* sound = Sound();
  const std::string path = (GetManager() ? GetManager()->GetResourcePath() : std::string()) + fileName;
  SoundHandle* handle = sound->CreateAttachedSound(path, object, false, false);
  if (!handle) return;
  const JVector where = object->GetPosition();
  handle->position = {where.x, where.y, where.z, where.w};
  const bool loops = loop != 0.0f;
  auto it = std::find_if(nodes_.begin(), nodes_.end(), [&](const SoundNode& n) { return n.object == object; });
  if (it != nodes_.end()) {
    sound->StopSound(it->handle);
    it->handle = handle;
  } else {
    SoundNode node;
    node.handle = handle;
    node.object = object;
    node.loop = loops;
    node.value = static_cast<uint32_t>(value);
    nodes_.push_back(node);
    sound->SetMaxDistance(handle, 1.0f);
    sound->SetMinDistance(handle, 0.0f);
  }
  sound->PlaySound(handle, loops);
}

void cEntity_AudioManager::AddBuildingSound(BOInstance* building, const std::string& soundName, float loop, float) {
  if (SoundOff() || !building || soundName.empty()) return;
  float at[3] = {0.0f, 0.0f, 0.0f};
  if (!g_buildingLocator || !g_buildingLocator(building, at)) return;
  SoundMgr* sound = Sound();
  const std::string path =
      (GetManager() ? GetManager()->GetResourcePath() : std::string()) + "Sounds\\" + soundName;
  SoundHandle* handle = sound->CreateSoundAt(path, JVector(at[0], at[1], at[2]), false, true);
  if (!handle) return;
  const bool loops = loop != 0.0f;
  auto it = std::find_if(nodes_.begin(), nodes_.end(), [&](const SoundNode& n) { return n.building == building; });
  if (it != nodes_.end()) {
    sound->StopSound(it->handle);
    it->handle = handle;
  } else {
    SoundNode node;
    node.handle = handle;
    node.building = building;
    node.loop = loops;
    nodes_.push_back(node);
  }
  sound->PlaySound(handle, loops);
}

void cEntity_AudioManager::RemoveObjectSounds(cEntity_Base* object) {
  SoundMgr* sound = Sound();
  std::erase_if(nodes_, [&](const SoundNode& n) {
    if (n.object != object || !object) return false;
    if (sound) {
      sound->StopSound(n.handle);
      sound->ReleaseSound(n.handle);
    }
    return true;
  });
}

void cEntity_AudioManager::RemoveBuildingSounds(BOInstance* building) {
  SoundMgr* sound = Sound();
  std::erase_if(nodes_, [&](const SoundNode& n) {
    if (n.building != building || !building) return false;
    if (sound) {
      sound->StopSound(n.handle);
      sound->ReleaseSound(n.handle);
    }
    return true;
  });
}

void cEntity_AudioManager::StopAllSounds() {
  if (Sound()) Sound()->StopAll();
}

void cEntity_AudioManager::OnTimeEvent(TimeEvent* event) {
  SceneHost* host = InstalledSceneHost();
  if (!wrapper_ || !wrapper_->gameManager || !host) return;
  // Without a main camera there is no listener: nothing is placed.
  cEntity_BaseCamera* camera = host->MainCamera(wrapper_);
  if (!camera) return;
  const JVector p = camera->GetPosition();
  const JVector t = camera->GetTarget();
  const float eye[3] = {p.x, p.y, p.z};
  const float target[3] = {t.x, t.y, t.z};
  PlaceSounds(eye, target);
  const float speed = host->GameSpeed(wrapper_);
  AdvanceFades(speed * (event ? event->accumulated : 0.0f));
}

void cEntity_AudioManager::PlaceSounds(const float eye[3], const float target[3]) {
  SoundMgr* sound = Sound();
  if (!sound) return;
  const float forward[3] = {target[0] - eye[0], target[1] - eye[1], target[2] - eye[2]};
  float earA[3], earB[3];
  Ear(eye, forward, -1.0f, earA);
  Ear(eye, forward, 1.0f, earB);
  for (SoundNode& node : nodes_) {
    if (node.object) {
      const JVector where = node.object->GetPosition();
      node.position[0] = where.x;
      node.position[1] = where.y;
      node.position[2] = where.z;
    } else if (node.handle) {
      node.position[0] = node.handle->position.x;
      node.position[1] = node.handle->position.y;
      node.position[2] = node.handle->position.z;
    }
    node.distance = Distance(node.position, eye);
  }
  for (SoundNode& node : nodes_) {
    if (!node.handle) continue;
    const float d = node.distance;
    if (d > kHearingDistance) {
      if (sound->IsPlaying(node.handle)) sound->StopSound(node.handle);
      continue;
    }
    if (!sound->IsPlaying(node.handle)) sound->PlaySound(node.handle, node.loop);
    sound->SetVolume(node.handle, (kHearingDistance - d) * soundVolume_ * 0.01f);
    const float dA = Distance(node.position, earA);
    const float dB = Distance(node.position, earB);
    const float near = d <= 30.0f ? d / 30.0f : 1.0f;
    const int32_t pan = dA == dB ? 0 : static_cast<int32_t>((dA - dB) * 0.5f * 10000.0f * near);
    sound->SetPan(node.handle, std::clamp(pan, -10000, 10000));
  }
}

void cEntity_AudioManager::AdvanceFades(float step) {
  SoundMgr* sound = Sound();
  if (!sound) return;
  if (fadeOut_) {
    const float volume = sound->GetVolume(fadeOut_);
    if (volume > 0.0f && fadeOutTime_ > 0.0f) {
      sound->SetVolume(fadeOut_, std::max(0.0f, volume - step / fadeOutTime_));
    } else {
      sound->StopSound(fadeOut_);
      sound->ReleaseSound(fadeOut_);
      fadeOut_ = nullptr;
    }
  }
  if (fadeIn_) {
    const float volume = sound->GetVolume(fadeIn_);
    if (volume < fadeInTarget_ && fadeInTime_ > 0.0f)
      sound->SetVolume(fadeIn_, std::min(fadeInTarget_, volume + step / fadeInTime_));
  }
}

cEntity_Base* SpawnAudioManager::Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) {
  return new (std::nothrow) cEntity_AudioManager(creator);
}
