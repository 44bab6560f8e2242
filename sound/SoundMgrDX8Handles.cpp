// Sound and music handles: creating, playing, settings and releasing.
#include <algorithm>

#include "sound/DX3DSoundBuffer.h"
#include "sound/SoundHandleDX.h"
#include "sound/SoundMgrDX8.h"
#include "sound/VolumeTable.h"

namespace {

// Gives the handle the buffer and the buffer the handle's settings. A
// buffer handed on from another handle must not keep that one's volume.
void LinkBuffer(SoundHandleDX* handle, DXSoundBuffer* buffer) {
  handle->Link(buffer);
  if (!buffer) return;
  buffer->Attach(handle);
  buffer->SetVolume(VolumeToHundredthsDb(handle->volume));
  if (handle->nonPositional) buffer->SetPan(0);
}

SoundHandleDX* NewHandle(const std::string& name) {
  auto* handle = new SoundHandleDX();
  handle->fileName = name;
  return handle;
}

}  // namespace

SoundHandleDX* SoundMgrDX8::FindHandle(SoundHandle* handle) const { return static_cast<SoundHandleDX*>(handle); }

SoundHandle* SoundMgrDX8::CreateSound(const std::string& name) {
  if (soundDisabled_) return nullptr;
  DXSoundBuffer* buffer = GetCachedBuffer(name, false, nullptr);
  SoundHandleDX* handle = NewHandle(name);
  handle->nonPositional = true;
  soundHandles_.push_back(handle);
  LinkBuffer(handle, buffer);
  return handle;
}

SoundHandle* SoundMgrDX8::CreateAttachedSound(const std::string& name, const void* source, bool threeD, bool flag) {
  if (soundDisabled_) return nullptr;
  DXSoundBuffer* buffer = GetCachedBuffer(name, threeD, nullptr);
  SoundHandleDX* handle = NewHandle(name);
  handle->source = source;
  handle->is3D = threeD;
  handle->callerFlag = flag;
  handle->nonPositional = false;
  soundHandles_.push_back(handle);
  LinkBuffer(handle, buffer);
  return handle;
}

SoundHandle* SoundMgrDX8::CreateSoundAt(const std::string& name, JVector at, bool threeD, bool flag) {
  if (soundDisabled_) return nullptr;
  DXSoundBuffer* buffer = GetCachedBuffer(name, threeD, nullptr);
  SoundHandleDX* handle = NewHandle(name);
  handle->position = {at.x, at.y, at.z, at.w};
  handle->is3D = threeD;
  handle->callerFlag = flag;
  handle->nonPositional = false;
  soundHandles_.push_back(handle);
  LinkBuffer(handle, buffer);
  if (buffer && buffer->Is3D()) static_cast<DX3DSoundBuffer*>(buffer)->SetPosition(at.x, at.y, at.z, true);
  return handle;
}

SoundHandle* SoundMgrDX8::CreateMusic(const std::string& name) {
  if (musicDisabled_) return nullptr;
  DXSoundBuffer* buffer = GetCachedBuffer(name, false, nullptr);
  SoundHandleDX* handle = NewHandle(name);
  handle->nonPositional = true;
  musicHandles_.push_back(handle);
  LinkBuffer(handle, buffer);
  return handle;
}

bool SoundMgrDX8::PlaySound(SoundHandle* h, bool loop) {
  SoundHandleDX* handle = FindHandle(h);
  if (!HasDevice() || !handle || soundDisabled_) return false;
  handle->keepPlaying = loop;
  handle->loop = loop;
  if (!handle->buffer) LinkBuffer(handle, GetCachedBuffer(handle->fileName, handle->is3D, handle));
  if (handle->buffer) handle->buffer->Play(loop);
  return true;
}

bool SoundMgrDX8::PlayMusic(SoundHandle* h) {
  SoundHandleDX* handle = FindHandle(h);
  if (!HasDevice() || !handle || musicDisabled_) return false;
  handle->keepPlaying = true;
  if (!handle->buffer) LinkBuffer(handle, GetCachedBuffer(handle->fileName, handle->is3D, nullptr));
  if (handle->buffer) handle->buffer->Play(true);
  return true;
}

bool SoundMgrDX8::StopSound(SoundHandle* h) {
  SoundHandleDX* handle = FindHandle(h);
  if (!HasDevice() || !handle) return false;
  handle->keepPlaying = false;
  handle->loop = false;
  if (handle->buffer) {
    handle->buffer->Stop();
    handle->buffer->Rewind();
  }
  return true;
}

bool SoundMgrDX8::StopMusic(SoundHandle* h) {
  SoundHandleDX* handle = FindHandle(h);
  if (!HasDevice() || !handle) return false;
  handle->keepPlaying = false;
  if (handle->buffer) {
    handle->buffer->Stop();
    handle->buffer->Rewind();
  }
  return true;
}

bool SoundMgrDX8::Pause(SoundHandle* h) {
  SoundHandleDX* handle = FindHandle(h);
  if (!HasDevice() || !handle) return false;
  handle->keepPlaying = false;
  // Held, so the cache does not hand the paused buffer to another sound.
  if (handle->buffer) handle->buffer->Hold();
  return true;
}

bool SoundMgrDX8::PauseAllSounds(bool pause) {
  for (SoundHandle* h : soundHandles_)
    if (auto* handle = static_cast<SoundHandleDX*>(h); handle->buffer) handle->buffer->Pause(pause);
  return true;
}

bool SoundMgrDX8::PauseAllMusic(bool pause) {
  for (SoundHandle* h : musicHandles_)
    if (auto* handle = static_cast<SoundHandleDX*>(h); handle->buffer) handle->buffer->Pause(pause);
  return true;
}

void SoundMgrDX8::StopAll() {
  for (SoundHandle* h : musicHandles_)
    if (auto* handle = static_cast<SoundHandleDX*>(h); handle->buffer) handle->buffer->Stop();
  for (SoundHandle* h : soundHandles_)
    if (auto* handle = static_cast<SoundHandleDX*>(h); handle->buffer) handle->buffer->Stop();
}

bool SoundMgrDX8::IsPlaying(SoundHandle* h) {
  SoundHandleDX* handle = FindHandle(h);
  if (!handle) return false;
  if (handle->loop) return true;
  return handle->buffer && handle->buffer->playing;
}

void SoundMgrDX8::SetVolume(SoundHandle* h, float volume) {
  SoundHandleDX* handle = FindHandle(h);
  if (!handle) return;
  if (handle->buffer) handle->buffer->SetVolume(VolumeToHundredthsDb(volume));
  handle->volume = volume;
}

float SoundMgrDX8::GetVolume(SoundHandle* h) {
  SoundHandleDX* handle = FindHandle(h);
  return handle ? handle->volume : -1.0f;
}

void SoundMgrDX8::SetPan(SoundHandle* h, int32_t pan) {
  SoundHandleDX* handle = FindHandle(h);
  if (handle && handle->buffer) handle->buffer->SetPan(pan);
}

bool SoundMgrDX8::SetFrequencyScale(SoundHandle* h, float scale) {
  SoundHandleDX* handle = FindHandle(h);
  if (!handle) return false;
  handle->frequencyScale = scale;
  return handle->buffer && handle->buffer->SetFrequencyScale(scale);
}

void SoundMgrDX8::SetMinDistance(SoundHandle* h, float distance) {
  SoundHandleDX* handle = FindHandle(h);
  if (!handle) return;
  handle->minDistance = distance;
  if (handle->buffer) handle->buffer->SetMinDistance(distance, true);
}

void SoundMgrDX8::SetMaxDistance(SoundHandle* h, float distance) {
  SoundHandleDX* handle = FindHandle(h);
  if (!handle) return;
  handle->maxDistance = distance;
  if (handle->buffer) handle->buffer->SetMaxDistance(distance, true);
}

bool SoundMgrDX8::ReleaseSound(SoundHandle* h) {
  const auto it = std::find(soundHandles_.begin(), soundHandles_.end(), h);
  if (!h || it == soundHandles_.end()) return false;
  auto* handle = static_cast<SoundHandleDX*>(h);
  if (!handle->loop) {
    // A one-shot sound finishes first; the next full update deletes it.
    handle->releaseWhenStopped = true;
    return false;
  }
  soundHandles_.erase(it);
  if (handle->buffer) handle->buffer->Stop();
  delete handle;
  return true;
}

bool SoundMgrDX8::ReleaseMusic(SoundHandle* h) {
  const auto it = std::find(musicHandles_.begin(), musicHandles_.end(), h);
  if (!h || it == musicHandles_.end()) return false;
  musicHandles_.erase(it);
  auto* handle = static_cast<SoundHandleDX*>(h);
  if (handle->buffer) handle->buffer->Stop();
  delete handle;
  return true;
}
