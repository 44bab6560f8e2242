// The service's life: construction, start on a window, the per-frame update
// and the release of everything it owns.
#include "sound/SoundMgrDX8.h"

#include <cmath>

#include "base/StringUtil.h"
#include "platform/DebugOutput.h"
#include "platform/Locale.h"
#include "sound/DX3DSoundBuffer.h"
#include "sound/DX3DSoundListener.h"
#include "sound/DXSound.h"
#include "sound/FXHandleDX.h"
#include "sound/SoundEffect.h"
#include "sound/SoundHandleDX.h"
#include "sound/SoundSource.h"

namespace {

bool IsTrueText(const std::string& text) { return str::EqualsNoCase(text, "true"); }

}  // namespace

SoundMgrDX8::SoundMgrDX8() { CreatePrototypes(); }

SoundMgrDX8::~SoundMgrDX8() {
  // Normally ReleaseAll has emptied everything; a service dropped without it
  // still gives back what it holds.
  Shutdown();
  ClearConfig();
}

bool SoundMgrDX8::Init() {
  deviceGuid_ = platform::SoundGuid{};
  return true;
}

const char* SoundMgrDX8::GetName() { return "[DX8Sound]"; }
const char* SoundMgrDX8::GetDescription() { return "DirectX 8.0a Sound Layer"; }
eServiceType SoundMgrDX8::GetServiceType() { return eService_Sound; }
bool SoundMgrDX8::ApplyConfig() { return true; }

bool SoundMgrDX8::HasDevice() const { return device_ && device_->GetDevice(); }

void SoundMgrDX8::CreatePrototypes() {
  for (int type = 0; type < kSoundEffectTypeCount; ++type) prototypes_[type] = CreateBuiltInEffect(type);
}

void SoundMgrDX8::DeletePrototypes() {
  for (SoundEffect*& effect : prototypes_) {
    delete effect;
    effect = nullptr;
  }
}

bool SoundMgrDX8::Init(platform::HWND window) {
  if (const CoreBaseConfig* guid = FindOption("snd_dx8_device_guid")) {
    platform::SoundGuid parsed{};
    if (guid->value.empty()) {
      deviceGuid_ = platform::SoundGuid{};
    } else if (ParseGuidText(guid->value, &parsed)) {
      deviceGuid_ = parsed;
    } else {
      platform::DebugPrintf("Sound: device id \"%s\" is not 32 hexadecimal digits; using the default device\n",
                            guid->value.c_str());
      deviceGuid_ = platform::SoundGuid{};
    }
  }
  if (!device_) device_ = new DXSound(&deviceGuid_, window);
  if (!device_->GetDevice()) return false;
  if (!listener_) listener_ = new DX3DSoundListener(device_->GetDevice(), device_->GetPrimary());
  if (prototypes_[0] == nullptr) CreatePrototypes();
  released_ = false;

  // Numbers outside what an output can be set to are ignored, so a setting
  // that is not a number (read as 0) never reaches the format.
  int32_t value = 0;
  if (const CoreBaseConfig* o = FindOption("snd_dx8_channels")) {
    value = platform::ParseInt(o->value);
    if (value == 1 || value == 2) {
      channels_ = value;
    } else {
      platform::DebugPrintf("Sound: ignoring channel count \"%s\"\n", o->value.c_str());
    }
  }
  if (const CoreBaseConfig* o = FindOption("snd_dx8_bits_per_sample")) {
    value = platform::ParseInt(o->value);
    if (value == 8 || value == 16) {
      bitsPerSample_ = static_cast<int16_t>(value);
    } else {
      platform::DebugPrintf("Sound: ignoring sample size \"%s\"\n", o->value.c_str());
    }
  }
  if (const CoreBaseConfig* o = FindOption("snd_dx8_sample_rate")) {
    value = platform::ParseInt(o->value);
    if (value >= 8000 && value <= 192000) {
      sampleRate_ = value;
    } else {
      platform::DebugPrintf("Sound: ignoring sample rate \"%s\"\n", o->value.c_str());
    }
  }
  SetOutputFormat(sampleRate_, bitsPerSample_, channels_);

  if (const CoreBaseConfig* o = FindOption("snd_dx8_max_same_buffers")) maxSameBuffers_ = platform::ParseInt(o->value);
  if (const CoreBaseConfig* o = FindOption("snd_dx8_fx_hardwareonly")) fxHardwareOnly_ = IsTrueText(o->value);
  if (const CoreBaseConfig* o = FindOption("snd_dx8_disable_music")) musicDisabled_ = IsTrueText(o->value);
  if (const CoreBaseConfig* o = FindOption("snd_dx8_disable_sound")) soundDisabled_ = IsTrueText(o->value);
  return true;
}

void SoundMgrDX8::Update(float elapsed) {
  if (soundDisabled_ && musicDisabled_) return;
  // A frame time that is no time at all would stall the full updates for good.
  if (std::isfinite(elapsed) && elapsed > 0.0f) updateAccumulator_ += elapsed;
  if (!(updateAccumulator_ >= updateInterval_)) {
    for (DXSoundBuffer* buffer : bufferCache_) buffer->RefreshStatus();
    return;
  }
  updateAccumulator_ = 0.0f;

  // Without a listener object the game places and attenuates its sounds
  // itself, so the distance pass stays off.
  DX3DSoundListener* distanceListener = nullptr;
  if (listenerObject_ && listener_) {
    JVector position, front, velocity;
    ReadListenerObject(listenerObject_, &position, &front, &velocity);
    listener_->SetPosition(position, true);
    listener_->SetOrientation(front, true);
    listener_->SetVelocity(velocity, true);
    distanceListener = listener_;
  }

  for (auto it = bufferCache_.begin(); it != bufferCache_.end();) {
    DXSoundBuffer* buffer = *it;
    buffer->Update(distanceListener);
    if (buffer->markedForRelease) {
      it = bufferCache_.erase(it);
      delete buffer;
    } else {
      ++it;
    }
  }

  if (!soundDisabled_) UpdateHandles(soundHandles_, distanceListener);
  if (!musicDisabled_) UpdateHandles(musicHandles_, distanceListener);
  if (distanceListener) distanceListener->SetMoved(false);
}

void SoundMgrDX8::UpdateHandles(std::list<SoundHandle*>& handles, DX3DSoundListener* distanceListener) {
  for (auto it = handles.begin(); it != handles.end();) {
    auto* handle = static_cast<SoundHandleDX*>(*it);
    FXHandleDX* chain = handle->chain;
    if (handle->buffer && chain) {
      if (chain->structureChanged) {
        handle->buffer->ApplyEffects(fxHardwareOnly_);
        chain->structureChanged = false;
      } else if (chain->parametersChanged) {
        handle->buffer->ApplyEffectParameters();
        chain->parametersChanged = false;
      }
    } else if (!handle->buffer && handle->keepPlaying) {
      if (DXSoundBuffer* buffer = GetCachedBuffer(handle->fileName, handle->is3D, handle)) {
        handle->Link(buffer);
        buffer->Attach(handle);
        buffer->Update(distanceListener);
        buffer->Play(true);
      }
    }
    if (handle->releaseWhenStopped && (!handle->buffer || !handle->buffer->playing)) {
      it = handles.erase(it);
      delete handle;
    } else {
      ++it;
    }
  }
}

void SoundMgrDX8::Shutdown() {
  DeletePrototypes();
  delete listener_;
  listener_ = nullptr;
  for (SoundHandle* h : soundHandles_) delete h;
  soundHandles_.clear();
  for (SoundHandle* h : musicHandles_) delete h;
  musicHandles_.clear();
  for (DXSoundBuffer* b : bufferCache_) delete b;
  bufferCache_.clear();
  for (FXHandleDX* c : chains_) delete c;
  chains_.clear();
  delete device_;
  device_ = nullptr;
  failedNames_.clear();
  listenerObject_ = nullptr;
  released_ = true;
}
