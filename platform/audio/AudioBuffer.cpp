// Primary and secondary buffers: data access, playback state and controls,
// effect slots, and each buffer's share of the mix.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/audio/AudioInternal.h"
#include "platform/audio/EffectParameterTable.h"

namespace platform::audio_impl {
namespace {

template <class Params>
class EffectSlotImpl final : public EffectSlot, public IDirectSoundFXParams<Params> {
 public:
  EffectSlotImpl(BufferImpl* owner, int effectType) : owner_(owner) {
    type = effectType;
    SetEffectDefaults(type, &params_);
  }
  IDSUnknown* Interface() override { return this; }
  CoreStatus QueryInterface(const SoundGuid& iid, void** out) override {
    if (!out) return DSERR_INVALIDPARAM;
    *out = nullptr;
    if (iid != *GetEffectTypeInfo(type)->parameterIid) return DSERR_NOINTERFACE;
    AddRef();
    *out = static_cast<IDirectSoundFXParams<Params>*>(this);
    return DS_OK;
  }
  uint32_t AddRef() override { return owner_->AddRef(); }
  uint32_t Release() override { return owner_->Release(); }
  CoreStatus SetAllParameters(const Params* params) override {
    if (!params) return DSERR_INVALIDPARAM;
    auto lock = owner_->core->Enter();
    if (!EffectBlockIsValid(type, params)) return DSERR_INVALIDPARAM;
    params_ = *params;
    return DS_OK;
  }
  CoreStatus GetAllParameters(Params* params) override {
    if (!params) return DSERR_INVALIDPARAM;
    auto lock = owner_->core->Enter();
    *params = params_;
    return DS_OK;
  }

 private:
  BufferImpl* owner_;
  Params params_{};
};

}  // namespace

std::unique_ptr<EffectSlot> MakeEffectSlot(BufferImpl* owner, int type) {
  switch (type) {
    case 0:
    case 4: return std::make_unique<EffectSlotImpl<DSFXChorus>>(owner, type);
    case 1: return std::make_unique<EffectSlotImpl<DSFXCompressor>>(owner, type);
    case 2: return std::make_unique<EffectSlotImpl<DSFXDistortion>>(owner, type);
    case 3: return std::make_unique<EffectSlotImpl<DSFXEcho>>(owner, type);
    case 5: return std::make_unique<EffectSlotImpl<DSFXGargle>>(owner, type);
    case 6: return std::make_unique<EffectSlotImpl<DSFXWavesReverb>>(owner, type);
    default: return nullptr;
  }
}

BufferImpl::BufferImpl(std::shared_ptr<DeviceCore> c, const DSBUFFERDESC& desc, bool primary)
    : core(std::move(c)), isPrimary(primary), flags(desc.flags), bufferBytes(desc.bufferBytes) {
  if (!primary) {
    format = *desc.format;
    data = std::make_shared<SharedData>();
    // Silence: unsigned 8-bit samples centre on 0x80.
    data->bytes.assign(bufferBytes, format.bitsPerSample == 8 ? 0x80 : 0x00);
    if (flags & DSBCAPS_CTRL3D) buffer3d_ = std::make_unique<Buffer3DImpl>(this);
  } else if (flags & DSBCAPS_CTRL3D) {
    listener_ = std::make_unique<ListenerImpl>(this);
  }
}

BufferImpl::~BufferImpl() {
  std::lock_guard<std::mutex> lock(core->mutex);
  if (isPrimary) {
    if (core->primary == this) core->primary = nullptr;
    return;
  }
  auto& list = core->buffers;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  if (data) data->lockCount -= static_cast<int>(locks_.size());
}

void BufferImpl::CopyFrom(const BufferImpl& original) {
  data = original.data;
  volume = original.volume;
  pan = original.pan;
  frequency = original.frequency;
  state3d = original.state3d;
}

CoreStatus BufferImpl::QueryInterface(const SoundGuid& iid, void** out) {
  if (!out) return DSERR_INVALIDPARAM;
  *out = nullptr;
  if (iid == IID_IDirectSoundBuffer || iid == IID_IDirectSoundBuffer8) {
    *out = static_cast<IDirectSoundBuffer8*>(this);
  } else if (iid == IID_IDirectSound3DBuffer && buffer3d_) {
    *out = static_cast<IDirectSound3DBuffer8*>(buffer3d_.get());
  } else if (iid == IID_IDirectSound3DListener && listener_) {
    *out = static_cast<IDirectSound3DListener8*>(listener_.get());
  } else {
    return DSERR_NOINTERFACE;
  }
  AddRef();
  return DS_OK;
}

uint32_t BufferImpl::AddRef() { return ++refs_; }

uint32_t BufferImpl::Release() {
  const uint32_t left = --refs_;
  if (left == 0) delete this;
  return left;
}

CoreStatus BufferImpl::GetCaps(DSBCAPS* caps) {
  if (!caps || caps->size != sizeof(DSBCAPS)) return DSERR_INVALIDPARAM;
  caps->flags = flags | DSBCAPS_LOCSOFTWARE;
  caps->bufferBytes = bufferBytes;
  caps->unlockTransferRate = 0;
  caps->playCpuOverhead = 0;
  return DS_OK;
}

CoreStatus BufferImpl::GetCurrentPosition(uint32_t* play, uint32_t* write) {
  auto lock = core->Enter();
  if (isPrimary) {
    if (play) *play = 0;
    if (write) *write = 0;
    return DS_OK;
  }
  const uint32_t align = format.blockAlign;
  const auto frame = static_cast<uint32_t>(voice.position >> 32);
  const uint32_t playByte = frame * align;
  // The write cursor leads the play cursor by about 10 ms of this buffer.
  const uint32_t lead = std::max<uint32_t>(1, format.samplesPerSec / 100) * align;
  if (play) *play = playByte;
  if (write) *write = playing ? (playByte + lead) % (FrameCount() * align) : playByte;
  return DS_OK;
}

CoreStatus BufferImpl::GetFormat(WAVEFORMATEX* out, uint32_t sizeAllocated, uint32_t* sizeWritten) {
  auto lock = core->Enter();
  if (!out) {
    if (!sizeWritten) return DSERR_INVALIDPARAM;
    *sizeWritten = sizeof(WAVEFORMATEX);
    return DS_OK;
  }
  if (sizeAllocated < sizeof(WAVEFORMATEX)) return DSERR_INVALIDPARAM;
  WAVEFORMATEX f = format;
  if (isPrimary) {
    f.formatTag = WAVE_FORMAT_PCM;
    f.channels = core->channels;
    f.samplesPerSec = core->rate;
    f.bitsPerSample = core->bits;
    f.blockAlign = static_cast<uint16_t>(core->channels * core->bits / 8);
    f.avgBytesPerSec = core->rate * f.blockAlign;
    f.extraSize = 0;
  }
  std::memcpy(out, &f, sizeof f);
  if (sizeWritten) *sizeWritten = sizeof(WAVEFORMATEX);
  return DS_OK;
}

CoreStatus BufferImpl::GetVolume(int32_t* out) {
  if (!out) return DSERR_INVALIDPARAM;
  auto lock = core->Enter();
  if (!(flags & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
  *out = isPrimary ? core->masterVolume : volume;
  return DS_OK;
}

CoreStatus BufferImpl::GetPan(int32_t* out) {
  if (!out) return DSERR_INVALIDPARAM;
  auto lock = core->Enter();
  if (!(flags & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
  *out = isPrimary ? core->masterPan : pan;
  return DS_OK;
}

CoreStatus BufferImpl::GetFrequency(uint32_t* out) {
  if (!out) return DSERR_INVALIDPARAM;
  auto lock = core->Enter();
  if (isPrimary || !(flags & DSBCAPS_CTRLFREQUENCY)) return DSERR_CONTROLUNAVAIL;
  *out = frequency ? frequency : format.samplesPerSec;
  return DS_OK;
}

CoreStatus BufferImpl::GetStatus(uint32_t* out) {
  if (!out) return DSERR_INVALIDPARAM;
  auto lock = core->Enter();
  uint32_t s = 0;
  if (lost) {
    s = DSBSTATUS_BUFFERLOST;
  } else if (playing) {
    s = DSBSTATUS_PLAYING | DSBSTATUS_LOCSOFTWARE | (voice.looping ? DSBSTATUS_LOOPING : 0);
  }
  *out = s;
  return DS_OK;
}

CoreStatus BufferImpl::Lock(uint32_t offset, uint32_t bytes, void** part1, uint32_t* bytes1, void** part2,
                            uint32_t* bytes2, uint32_t lockFlags) {
  if (!part1 || !bytes1) return DSERR_INVALIDPARAM;
  *part1 = nullptr;
  *bytes1 = 0;
  if (part2) *part2 = nullptr;
  if (bytes2) *bytes2 = 0;
  auto lock = core->Enter();
  if (isPrimary) return DSERR_INVALIDCALL;
  if (lost) return DSERR_BUFFERLOST;
  if (lockFlags & DSBLOCK_ENTIREBUFFER) {
    offset = 0;
    bytes = bufferBytes;
  } else if (lockFlags & DSBLOCK_FROMWRITECURSOR) {
    const uint32_t align = format.blockAlign;
    const auto frame = static_cast<uint32_t>(voice.position >> 32);
    const uint32_t lead = playing ? std::max<uint32_t>(1, format.samplesPerSec / 100) : 0;
    offset = ((frame + lead) % FrameCount()) * align;
  }
  if (offset >= bufferBytes || bytes == 0 || bytes > bufferBytes) return DSERR_INVALIDPARAM;
  const uint32_t first = std::min(bytes, bufferBytes - offset);
  const uint32_t second = bytes - first;
  if (second > 0 && (!part2 || !bytes2)) return DSERR_INVALIDPARAM;
  uint8_t* base = data->bytes.data();
  *part1 = base + offset;
  *bytes1 = first;
  locks_.emplace_back(*part1, first);
  if (second > 0) {
    *part2 = base;
    *bytes2 = second;
    locks_.emplace_back(base, second);
    ++data->lockCount;
  }
  ++data->lockCount;
  return DS_OK;
}

CoreStatus BufferImpl::Unlock(void* part1, uint32_t bytes1, void* part2, uint32_t bytes2) {
  auto lock = core->Enter();
  auto take = [&](void* p) {
    auto it = std::find_if(locks_.begin(), locks_.end(), [&](const auto& l) { return l.first == p; });
    if (it == locks_.end()) return false;
    locks_.erase(it);
    --data->lockCount;
    return true;
  };
  (void)bytes1;
  (void)bytes2;
  if (!part1 || !take(part1)) return DSERR_INVALIDPARAM;
  if (part2 && !take(part2)) return DSERR_INVALIDPARAM;
  return DS_OK;
}

CoreStatus BufferImpl::Play(uint32_t reserved, uint32_t /*priority*/, uint32_t playFlags) {
  if (reserved != 0) return DSERR_INVALIDPARAM;
  auto lock = core->Enter();
  if (isPrimary) return DS_OK;  // the output runs all the time
  if (lost) return DSERR_BUFFERLOST;
  voice.looping = (playFlags & DSBPLAY_LOOPING) != 0;
  playing = true;
  return DS_OK;
}

CoreStatus BufferImpl::SetCurrentPosition(uint32_t position) {
  auto lock = core->Enter();
  if (isPrimary) return DSERR_INVALIDCALL;
  if (position >= bufferBytes) return DSERR_INVALIDPARAM;
  voice.position = static_cast<uint64_t>(position / format.blockAlign) << 32;
  return DS_OK;
}

CoreStatus BufferImpl::SetFormat(const WAVEFORMATEX* f) {
  if (!f) return DSERR_INVALIDPARAM;
  {
    auto lock = core->Enter();
    if (!isPrimary) return DSERR_INVALIDCALL;
    if (core->cooperativeLevel < DSSCL_PRIORITY) return DSERR_PRIOLEVELNEEDED;
    if (!ValidBufferFormat(*f)) return DSERR_BADFORMAT;
  }
  return core->Reconfigure(f->samplesPerSec, f->channels, f->bitsPerSample);
}

CoreStatus BufferImpl::SetVolume(int32_t v) {
  auto lock = core->Enter();
  if (!(flags & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
  if (v < DSBVOLUME_MIN || v > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
  (isPrimary ? core->masterVolume : volume) = v;
  return DS_OK;
}

CoreStatus BufferImpl::SetPan(int32_t p) {
  auto lock = core->Enter();
  if (!(flags & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
  if (p < DSBPAN_LEFT || p > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
  (isPrimary ? core->masterPan : pan) = p;
  return DS_OK;
}

CoreStatus BufferImpl::SetFrequency(uint32_t f) {
  auto lock = core->Enter();
  if (isPrimary || !(flags & DSBCAPS_CTRLFREQUENCY)) return DSERR_CONTROLUNAVAIL;
  if (f != DSBFREQUENCY_ORIGINAL && (f < DSBFREQUENCY_MIN || f > DSBFREQUENCY_MAX)) return DSERR_INVALIDPARAM;
  frequency = f;
  return DS_OK;
}

CoreStatus BufferImpl::Stop() {
  auto lock = core->Enter();
  playing = false;
  return DS_OK;
}

CoreStatus BufferImpl::Restore() {
  auto lock = core->Enter();
  if (isPrimary) return DS_OK;
  lost = false;
  return DS_OK;
}

CoreStatus BufferImpl::SetFX(uint32_t count, const DSEFFECTDESC* effects, uint32_t* resultCodes) {
  auto lock = core->Enter();
  if (isPrimary || !(flags & DSBCAPS_CTRLFX)) return DSERR_CONTROLUNAVAIL;
  if (playing || !locks_.empty()) return DSERR_INVALIDCALL;
  if (count > 0 && !effects) return DSERR_INVALIDPARAM;
  for (uint32_t i = 0; i < count; ++i)
    if (effects[i].size != kEffectDescSize) return DSERR_INVALIDPARAM;
  // A failed request leaves the buffer without effects.
  for (auto& e : effects_) retiredEffects_.push_back(std::move(e));
  effects_.clear();
  std::vector<std::unique_ptr<EffectSlot>> chain;
  bool failed = false;
  for (uint32_t i = 0; i < count; ++i) {
    const int type = FindEffectTypeByClass(effects[i].effectClass);
    uint32_t result = DSFXR_LOCSOFTWARE;
    if (type < 0) {
      result = DSFXR_UNKNOWN;
    } else if (effects[i].flags & DSFX_LOCHARDWARE) {
      result = DSFXR_FAILED;  // effects run in software only
    } else {
      chain.push_back(MakeEffectSlot(this, type));
    }
    failed = failed || result != DSFXR_LOCSOFTWARE;
    if (resultCodes) resultCodes[i] = result;
  }
  if (failed) return DSERR_FXUNAVAILABLE;
  effects_ = std::move(chain);
  return DS_OK;
}

CoreStatus BufferImpl::GetObjectInPath(const SoundGuid& object, uint32_t index, const SoundGuid& iid, void** out) {
  if (!out) return DSERR_INVALIDPARAM;
  *out = nullptr;
  auto lock = core->Enter();
  if (isPrimary || !(flags & DSBCAPS_CTRLFX)) return DSERR_CONTROLUNAVAIL;
  const int type = FindEffectTypeByClass(object);
  uint32_t seen = 0;
  for (auto& slot : effects_) {
    if (slot->type != type || seen++ != index) continue;
    lock.unlock();  // QueryInterface only takes a reference
    return slot->Interface()->QueryInterface(iid, out);
  }
  return DSERR_OBJECTNOTFOUND;
}

void BufferImpl::MixLocked(float* accum, size_t frames) {
  if (!playing || lost || data->lockCount > 0) return;
  if (!gains_.valid || gains_.volume != volume || gains_.pan != pan) {
    gains_.valid = true;
    gains_.volume = volume;
    gains_.pan = pan;
    gains_.gain = VolumeToGain(volume);
    PanToGains(pan, &gains_.left, &gains_.right);
  }
  float gain = gains_.gain;
  float left = 1.0f, right = 1.0f;
  if (flags & DSBCAPS_CTRL3D) {
    float g3 = 1.0f;
    if (Spatialize(state3d.current, core->listener, (flags & DSBCAPS_MUTE3DATMAXDISTANCE) != 0, &g3, &left,
                   &right))
      gain *= g3;
  } else {
    left = gains_.left;
    right = gains_.right;
  }
  MixSource source;
  source.data = data->bytes.data();
  source.frameCount = FrameCount();
  source.channels = format.channels;
  source.bitsPerSample = format.bitsPerSample;
  voice.volume = gain;
  voice.panLeft = left;
  voice.panRight = right;
  voice.step = FrequencyStep(frequency ? frequency : format.samplesPerSec, core->rate);
  if (!MixVoiceInto(source, voice, accum, frames, core->channels)) playing = false;
}

}  // namespace platform::audio_impl
