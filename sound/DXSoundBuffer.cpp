#include "sound/DXSoundBuffer.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "base/StringUtil.h"
#include "platform/Clock.h"
#include "sound/DX3DSoundListener.h"
#include "sound/DXSoundError.h"
#include "sound/FXHandleDX.h"
#include "sound/OGG.h"
#include "sound/SoundHandleDX.h"
#include "sound/SoundSource.h"
#include "sound/Wave.h"

using namespace platform;

namespace {

// Copies the whole of `from` into the whole of `to` (sizes may differ; the
// smaller one counts).
bool CopyBufferData(IDirectSoundBuffer8* from, IDirectSoundBuffer8* to) {
  void* src = nullptr;
  void* src2 = nullptr;
  uint32_t srcBytes = 0, srcBytes2 = 0;
  if (!DXSucceeded(from->Lock(0, 0, &src, &srcBytes, &src2, &srcBytes2, DSBLOCK_ENTIREBUFFER))) return false;
  void* dst = nullptr;
  void* dst2 = nullptr;
  uint32_t dstBytes = 0, dstBytes2 = 0;
  if (!DXSucceeded(to->Lock(0, 0, &dst, &dstBytes, &dst2, &dstBytes2, DSBLOCK_ENTIREBUFFER))) {
    from->Unlock(src, srcBytes, src2, srcBytes2);
    return false;
  }
  std::memcpy(dst, src, srcBytes < dstBytes ? srcBytes : dstBytes);
  const bool ok = DXSucceeded(to->Unlock(dst, dstBytes, dst2, dstBytes2));
  return DXSucceeded(from->Unlock(src, srcBytes, src2, srcBytes2)) && ok;
}

bool FillBuffer(IDirectSoundBuffer8* buffer, const uint8_t* bytes, uint32_t size) {
  void* part = nullptr;
  void* part2 = nullptr;
  uint32_t partBytes = 0, partBytes2 = 0;
  if (!DXSucceeded(buffer->Lock(0, 0, &part, &partBytes, &part2, &partBytes2, DSBLOCK_ENTIREBUFFER))) return false;
  std::memcpy(part, bytes, size < partBytes ? size : partBytes);
  return DXSucceeded(buffer->Unlock(part, partBytes, part2, partBytes2));
}

bool TickPassed(uint32_t now, uint32_t deadline) { return static_cast<int32_t>(now - deadline) > 0; }

}  // namespace

bool IsLoadableSoundName(const std::string& name) {
  return str::EndsWithNoCase(name, ".wav") || str::EndsWithNoCase(name, ".ogg");
}

int32_t DistanceVolume(float d, float minimum, float maximum) {
  if (!std::isfinite(d) || !std::isfinite(minimum) || !std::isfinite(maximum)) return DSBVOLUME_MIN;
  if (d < minimum) return DSBVOLUME_MAX;
  if (d > maximum || maximum <= minimum) return DSBVOLUME_MIN;
  const double fraction = (static_cast<double>(d) - minimum) / (static_cast<double>(maximum) - minimum);
  return static_cast<int32_t>(10000.0 * (1.0 - fraction) - 10000.0);
}

std::unique_ptr<SoundLoader> DXSoundBuffer::LoaderFor(const std::string& name) {
  if (str::EndsWithNoCase(name, ".wav")) return std::make_unique<Wave>();
  if (str::EndsWithNoCase(name, ".ogg")) return std::make_unique<OGG>();
  return nullptr;
}

DXSoundBuffer::DXSoundBuffer() = default;

DXSoundBuffer::~DXSoundBuffer() {
  ReleaseOutputBuffer();
  if (owner) owner->buffer = nullptr;
  owner = nullptr;
}

void DXSoundBuffer::ReleaseOutputBuffer() {
  if (buffer) buffer->Release();
  buffer = nullptr;
  playing = false;
}

void DXSoundBuffer::SetFormatCopy(const WAVEFORMATEX& f) {
  format = std::make_unique<WAVEFORMATEX>(f);
  description.format = format.get();
}

bool DXSoundBuffer::CreateOutputBuffer(const uint8_t* bytes, uint32_t size) {
  IDirectSoundBuffer8* first = nullptr;
  if (!DXSucceeded(device->CreateSoundBuffer(&description, &first, nullptr)) || !first) return false;
  void* second = nullptr;
  const CoreStatus queried = first->QueryInterface(IID_IDirectSoundBuffer8, &second);
  first->Release();
  if (!DXSucceeded(queried) || !second) return false;
  IDirectSoundBuffer8* created = static_cast<IDirectSoundBuffer8*>(second);
  if (bytes && !FillBuffer(created, bytes, size)) {
    created->Release();
    return false;
  }
  ReleaseOutputBuffer();
  buffer = created;
  return true;
}

bool DXSoundBuffer::Create(const std::string& name, IDirectSound8* dev) {
  device = dev;
  if (name.empty()) return false;
  return Load(name);
}

bool DXSoundBuffer::Load(const std::string& name) {
  if (!device) return false;
  std::unique_ptr<SoundLoader> loader = LoaderFor(name);
  if (!loader || !loader->Load(name) || !loader->GetFormat()) return false;
  description = DSBUFFERDESC{};
  description.flags = flags;
  description.bufferBytes = loader->GetDataSize();
  SetFormatCopy(*loader->GetFormat());
  if (!CreateOutputBuffer(loader->GetData(), loader->GetDataSize())) return false;
  ownSampleRate = static_cast<int32_t>(GetFrequency());
  // A format without a byte rate cannot be timed; it has no duration.
  const uint32_t byteRate = format->avgBytesPerSec;
  durationMs = byteRate ? static_cast<uint32_t>(uint64_t{loader->GetDataSize()} * 1000 / byteRate) : 0;
  fileName = name;
  return true;
}

bool DXSoundBuffer::DuplicateFrom(DXSoundBuffer* src, IDirectSound8* dev) {
  device = dev;
  if (!src || !src->buffer || !src->format) return false;
  description = src->description;
  SetFormatCopy(*src->format);
  fxCapable = src->fxCapable;
  // A copy answers to the same file name, so the cache counts it among the
  // busy copies of that file and hands it out again once it is idle.
  fileName = src->fileName;
  ownSampleRate = src->ownSampleRate;
  durationMs = src->durationMs;
  if (!fxCapable) {
    flags = kPlainFlags;
    description.flags = flags;
    IDirectSoundBuffer8* copy = nullptr;
    if (!DXSucceeded(device->DuplicateSoundBuffer(src->buffer, &copy)) || !copy) return false;
    ReleaseOutputBuffer();
    buffer = copy;
    return true;
  }
  // Effect buffers cannot share their data: make a new one and copy it.
  flags = kFxFlags;
  description.flags = flags;
  if (!CreateOutputBuffer(nullptr, 0)) return false;
  return CopyBufferData(src->buffer, buffer);
}

bool DXSoundBuffer::SetFXCapable(bool on) {
  if (fxCapable == on) return true;
  if (!device || !buffer) return false;
  IDirectSoundBuffer8* old = buffer;
  old->AddRef();
  int32_t volume = 0, pan = 0;
  uint32_t playPosition = 0, writePosition = 0;
  const bool hadPan = (flags & DSBCAPS_CTRLPAN) && status::Succeeded(old->GetPan(&pan));
  const bool hadVolume = status::Succeeded(old->GetVolume(&volume));
  old->GetCurrentPosition(&playPosition, &writePosition);
  flags = FlagsFor(on);
  description.flags = flags;
  fxCapable = on;
  bool ok = CreateOutputBuffer(nullptr, 0) && CopyBufferData(old, buffer);
  if (ok) {
    // The new buffer carries on where the old one was.
    if (hadVolume) buffer->SetVolume(volume);
    if (hadPan && (flags & DSBCAPS_CTRLPAN)) buffer->SetPan(pan);
    buffer->SetCurrentPosition(playPosition);
    OnBufferReplaced();
  }
  old->Release();
  return ok;
}

void DXSoundBuffer::SetMinDistance(float distance, bool) { minDistance = distance; }
void DXSoundBuffer::SetMaxDistance(float distance, bool) { maxDistance = distance; }

bool DXSoundBuffer::Update(DX3DSoundListener* listener) {
  RefreshStatus();
  const uint32_t now = GetTickCount();
  if (duplicateCount > 0) {
    if (IsBusy()) {
      idleDeadline = now + kIdleMilliseconds;
    } else if (TickPassed(now, idleDeadline)) {
      markedForRelease = true;
      return true;
    }
  }
  lastUpdateTick = now;
  if (!listener || nonPositional || callerFlag) return true;
  if (!listener->HasMoved() && source) {
    const JVector at = ReadSourcePosition(source);
    if (at.x == position.x && at.y == position.y && at.z == position.z && at.w == position.w) return true;
  }
  if (source) position = ReadSourcePosition(source);
  if (!Is3D()) ApplyDistance(*listener);
  return true;
}

void DXSoundBuffer::ApplyDistance(const DX3DSoundListener& listener) {
  const JVector& at = listener.GetPosition();
  const JVector rel(at.x - position.x, at.y - position.y, at.z - position.z);
  const float d = std::sqrt(rel.x * rel.x + rel.y * rel.y + rel.z * rel.z);
  const int32_t volume = DistanceVolume(d, minDistance, maxDistance);
  const JVector& front = listener.GetFront();
  const float along = rel.x * front.x + rel.y * front.y + rel.z * front.z;
  int32_t pan = 0;
  if (std::isfinite(along) && std::fabs(along) < 2.0e9f) pan = static_cast<int32_t>(along);
  // y of front x rel tells on which side of the listener the sound lies.
  const float sideY = front.z * rel.x - front.x * rel.z;
  if (sideY < 0.0f) pan = -pan;
  SetPan(pan);
  SetVolume(volume);
}

void DXSoundBuffer::Attach(SoundHandleDX* handle) {
  if (!handle) return;
  source = handle->source;
  nonPositional = handle->nonPositional;
  callerFlag = handle->callerFlag;
  position = JVector(handle->position.x, handle->position.y, handle->position.z, handle->position.w);
  SetFrequencyScale(handle->frequencyScale);
  SetMinDistance(handle->minDistance, true);
  SetMaxDistance(handle->maxDistance, true);
  Rewind();
}

bool DXSoundBuffer::Play(bool loop) {
  lastUpdateTick = GetTickCount();
  if (!buffer) return false;
  uint32_t status = 0;
  if (status::Succeeded(buffer->GetStatus(&status)) && (status & DSBSTATUS_BUFFERLOST)) {
    Restore();
    return false;
  }
  const CoreStatus played = buffer->Play(0, 0, loop ? DSBPLAY_LOOPING : 0);
  if (!loop) DXSucceeded(played);
  pauseState = kNotPaused;
  playing = true;
  return true;
}

bool DXSoundBuffer::Restore() {
  if (fileName.empty() || !buffer) return false;
  uint32_t status = 0;
  if (!DXSucceeded(buffer->GetStatus(&status))) return false;
  if (!(status & DSBSTATUS_BUFFERLOST)) return true;
  if (!DXSucceeded(buffer->Restore())) return false;
  std::unique_ptr<SoundLoader> loader = LoaderFor(fileName);
  if (!loader || !loader->Load(fileName)) return false;
  return FillBuffer(buffer, loader->GetData(), loader->GetDataSize());
}

bool DXSoundBuffer::Stop() {
  if (!buffer) return false;
  if (!DXSucceeded(buffer->Stop())) return false;
  playing = false;
  // A paused buffer that is stopped must not start again on resume; one
  // held for its handle is released by the stop.
  if (pauseState == kPausedLooping || pauseState == kPausedOnce) {
    pauseState = kStopOnResume;
  } else if (pauseState == kHeldByHandle) {
    pauseState = kNotPaused;
  }
  return true;
}

bool DXSoundBuffer::Hold() {
  if (!Stop()) return false;
  pauseState = kHeldByHandle;
  return true;
}

void DXSoundBuffer::Rewind() {
  if (buffer) DXSucceeded(buffer->SetCurrentPosition(0));
}

void DXSoundBuffer::RefreshStatus() {
  uint32_t status = 0;
  playing = buffer && status::Succeeded(buffer->GetStatus(&status)) &&
            (status & (DSBSTATUS_PLAYING | DSBSTATUS_LOOPING)) != 0;
}

bool DXSoundBuffer::Pause(bool pause) {
  if (!buffer) return true;
  if (pause) {
    uint32_t status = 0;
    if (status::Succeeded(buffer->GetStatus(&status)) && (status & (DSBSTATUS_PLAYING | DSBSTATUS_LOOPING))) {
      const int32_t state = (status & DSBSTATUS_LOOPING) ? kPausedLooping : kPausedOnce;
      if (DXSucceeded(buffer->Stop())) playing = false;
      pauseState = state;
    }
    return true;
  }
  const int32_t state = pauseState;
  if (state == kHeldByHandle) return true;
  pauseState = kNotPaused;
  if (state == kPausedLooping) {
    Play(true);
  } else if (state == kPausedOnce) {
    Play(false);
  } else if (state == kStopOnResume) {
    Stop();
  }
  return true;
}

bool DXSoundBuffer::SetVolume(int32_t volume) {
  if (volume > DSBVOLUME_MAX || volume < DSBVOLUME_MIN || !buffer) return false;
  return DXSucceeded(buffer->SetVolume(volume));
}

bool DXSoundBuffer::SetPan(int32_t pan) {
  if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT || !buffer) return false;
  return DXSucceeded(buffer->SetPan(pan));
}

bool DXSoundBuffer::SetFrequencyScale(float scale) {
  if (!(scale >= 0.0f && scale <= 1.0f) || !buffer) return false;
  const auto frequency = static_cast<uint32_t>(scale * static_cast<float>(ownSampleRate));
  return DXSucceeded(buffer->SetFrequency(frequency));
}

int32_t DXSoundBuffer::GetVolume() {
  int32_t volume = 0;
  if (!buffer || !DXSucceeded(buffer->GetVolume(&volume))) return 0;
  return volume;
}

uint32_t DXSoundBuffer::GetFrequency() {
  uint32_t frequency = 0;
  if (!buffer || !DXSucceeded(buffer->GetFrequency(&frequency))) return 0;
  return frequency;
}

void DXSoundBuffer::ApplyEffects(bool hardwareOnly) {
  if (!owner || !owner->chain || !buffer) return;
  FXHandleDX* chain = owner->chain;
  uint32_t status = 0;
  buffer->GetStatus(&status);
  const bool wasLooping = (status & DSBSTATUS_LOOPING) != 0;
  const bool wasPlaying = !wasLooping && (status & DSBSTATUS_PLAYING) != 0;
  if (wasLooping || wasPlaying) Stop();
  if (!fxCapable) SetFXCapable(true);
  if (!chain->IsEmpty()) {
    DSEFFECTDESC descriptions[kSoundEffectTypeCount];
    uint32_t results[kSoundEffectTypeCount] = {};
    uint32_t count = 0;
    for (int type = 0; type < kSoundEffectTypeCount; ++type) {
      if (!chain->effects[type]) continue;
      DSEFFECTDESC& d = descriptions[count++];
      d = DSEFFECTDESC{};
      d.flags = hardwareOnly ? DSFX_LOCHARDWARE : 0;
      d.effectClass = chain->effects[type]->GetClassGuid();
    }
    if (fxCapable && DXSucceeded(buffer->SetFX(count, descriptions, results))) ApplyEffectParameters();
  } else {
    RemoveEffects();
  }
  if (wasLooping) {
    Play(true);
  } else if (wasPlaying) {
    Play(false);
  }
}

void DXSoundBuffer::ApplyEffectParameters() {
  if (!owner || !owner->chain || !buffer) return;
  int position = 0;
  for (SoundEffect* effect : owner->chain->effects) {
    if (!effect) continue;
    effect->Apply(position++, buffer);
  }
}

void DXSoundBuffer::RemoveEffects() {
  if (!buffer) return;
  uint32_t status = 0;
  buffer->GetStatus(&status);
  const bool wasLooping = (status & DSBSTATUS_LOOPING) != 0;
  const bool wasPlaying = !wasLooping && (status & DSBSTATUS_PLAYING) != 0;
  if (wasLooping || wasPlaying) Stop();
  if (fxCapable) DXSucceeded(buffer->SetFX(0, nullptr, nullptr));
  if (wasLooping) {
    Play(true);
  } else if (wasPlaying) {
    Play(false);
  }
}
