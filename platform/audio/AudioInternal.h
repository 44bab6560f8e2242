#pragma once
// Implementation classes of the sound output layer, shared by its .cpp
// files only.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/audio/AudioApi.h"
#include "platform/audio/AudioEffects.h"
#include "platform/audio/AudioOutput.h"
#include "platform/audio/Mixer.h"

namespace platform::audio_impl {

class DeviceCore;
class BufferImpl;

// An SDL2 playback device that pulls mixed samples from the core.
class SdlOutput {
 public:
  // `deviceName` null opens the default device. Null on failure (`error` says why).
  static std::unique_ptr<SdlOutput> Open(DeviceCore* core, const char* deviceName, uint32_t rate,
                                         uint16_t channels, std::string* error);
  ~SdlOutput();
  SdlOutput(const SdlOutput&) = delete;
  SdlOutput& operator=(const SdlOutput&) = delete;

 private:
  SdlOutput() = default;
  uint32_t id_ = 0;
};

// SDL's playback device names; false when the audio subsystem is unusable.
bool ListSdlDevices(std::vector<std::string>* names, std::string* driver);

// Audio data of a buffer, shared between a buffer and its duplicates.
struct SharedData {
  std::vector<uint8_t> bytes;
  int lockCount = 0;  // while above 0 the mixer skips every buffer on it
};

struct Buffer3DState {
  DS3DBUFFER current;
  DS3DBUFFER pending;
  bool dirty = false;
};

// The output side of one device: format, mixer, listener, buffer list and
// the output backend. Buffers keep it alive after the device is released.
class DeviceCore {
 public:
  explicit DeviceCore(AudioOutputKind kind) : kind(kind) {}
  ~DeviceCore();

  // Locks the core; a null output first mixes what the clock says is due.
  std::unique_lock<std::mutex> Enter();
  // Mixes `frames` frames of every playing buffer into `out` (interleaved at
  // the output channel count). Caller holds the mutex.
  void MixLocked(int16_t* out, size_t frames);
  // Renders and (for recording) keeps `frames` frames. Caller holds the mutex.
  size_t RenderLocked(size_t frames);
  // Opens the backend for the current format (SDL only). Not under the mutex.
  CoreStatus OpenOutput();
  // Changes the output format, reopening the backend. Not under the mutex.
  CoreStatus Reconfigure(uint32_t rate, uint16_t channels, uint16_t bits);
  // Closes the backend; buffers stay usable but nothing is output.
  void Shutdown();

  const AudioOutputKind kind;
  std::string sdlDeviceName;  // empty: default device
  std::mutex mutex;
  bool open = true;
  uint32_t rate = 22050;  // the primary format until SetFormat
  uint16_t channels = 2;
  uint16_t bits = 8;
  uint32_t cooperativeLevel = 0;
  int32_t masterVolume = 0;
  int32_t masterPan = 0;
  std::vector<BufferImpl*> buffers;  // secondary buffers, creation order
  BufferImpl* primary = nullptr;
  DS3DLISTENER listener;
  DS3DLISTENER listenerPending;
  bool listenerDirty = false;
  std::vector<int16_t> recorded;

 private:
  void CatchUpLocked();
  std::unique_ptr<SdlOutput> sdl_;
  std::vector<float> accum_;
  std::vector<int16_t> scratch_;
  int64_t lastCounter_ = -1;
};

// One effect on a buffer: its type, its parameter block and the parameter
// interface handed out by GetObjectInPath.
class EffectSlot {
 public:
  virtual ~EffectSlot() = default;
  virtual IDSUnknown* Interface() = 0;
  int type = -1;
};
std::unique_ptr<EffectSlot> MakeEffectSlot(BufferImpl* owner, int type);

class Buffer3DImpl;
class ListenerImpl;

class BufferImpl final : public IDirectSoundBuffer8 {
 public:
  BufferImpl(std::shared_ptr<DeviceCore> core, const DSBUFFERDESC& desc, bool primary);
  ~BufferImpl() override;

  CoreStatus QueryInterface(const SoundGuid& iid, void** out) override;
  uint32_t AddRef() override;
  uint32_t Release() override;
  CoreStatus GetCaps(DSBCAPS* caps) override;
  CoreStatus GetCurrentPosition(uint32_t* play, uint32_t* write) override;
  CoreStatus GetFormat(WAVEFORMATEX* format, uint32_t sizeAllocated, uint32_t* sizeWritten) override;
  CoreStatus GetVolume(int32_t* volume) override;
  CoreStatus GetPan(int32_t* pan) override;
  CoreStatus GetFrequency(uint32_t* frequency) override;
  CoreStatus GetStatus(uint32_t* status) override;
  CoreStatus Lock(uint32_t offset, uint32_t bytes, void** part1, uint32_t* bytes1, void** part2, uint32_t* bytes2,
                  uint32_t flags) override;
  CoreStatus Play(uint32_t reserved, uint32_t priority, uint32_t flags) override;
  CoreStatus SetCurrentPosition(uint32_t position) override;
  CoreStatus SetFormat(const WAVEFORMATEX* format) override;
  CoreStatus SetVolume(int32_t volume) override;
  CoreStatus SetPan(int32_t pan) override;
  CoreStatus SetFrequency(uint32_t frequency) override;
  CoreStatus Stop() override;
  CoreStatus Unlock(void* part1, uint32_t bytes1, void* part2, uint32_t bytes2) override;
  CoreStatus Restore() override;
  CoreStatus SetFX(uint32_t count, const DSEFFECTDESC* effects, uint32_t* resultCodes) override;
  CoreStatus GetObjectInPath(const SoundGuid& object, uint32_t index, const SoundGuid& iid, void** out) override;

  // Makes this buffer a copy of `original` sharing its data. Caller holds the mutex.
  void CopyFrom(const BufferImpl& original);
  // Mixes this buffer into the accumulation block. Caller holds the mutex.
  void MixLocked(float* accum, size_t frames);

  const std::shared_ptr<DeviceCore> core;
  const bool isPrimary;
  uint32_t flags;
  uint32_t bufferBytes;
  WAVEFORMATEX format{};
  std::shared_ptr<SharedData> data;
  MixVoice voice;
  bool playing = false;
  bool lost = false;
  int32_t volume = 0;
  int32_t pan = 0;
  uint32_t frequency = 0;  // 0: the format's rate
  Buffer3DState state3d;

 private:
  uint32_t FrameCount() const { return format.blockAlign ? bufferBytes / format.blockAlign : 0; }
  // The linear gains of the volume and pan they were worked out from, so a
  // mix block does not pay for the powers again while neither changes.
  struct Gains {
    bool valid = false;
    int32_t volume = 0;
    int32_t pan = 0;
    float gain = 1.0f;
    float left = 1.0f;
    float right = 1.0f;
  };
  Gains gains_;
  std::atomic<uint32_t> refs_{1};
  std::vector<std::pair<void*, uint32_t>> locks_;
  std::vector<std::unique_ptr<EffectSlot>> effects_;
  std::vector<std::unique_ptr<EffectSlot>> retiredEffects_;  // interfaces callers may still hold
  std::unique_ptr<Buffer3DImpl> buffer3d_;
  std::unique_ptr<ListenerImpl> listener_;
};

class Buffer3DImpl final : public IDirectSound3DBuffer8 {
 public:
  explicit Buffer3DImpl(BufferImpl* owner) : owner_(owner) {}
  CoreStatus QueryInterface(const SoundGuid& iid, void** out) override { return owner_->QueryInterface(iid, out); }
  uint32_t AddRef() override { return owner_->AddRef(); }
  uint32_t Release() override { return owner_->Release(); }
  CoreStatus GetAllParameters(DS3DBUFFER* params) override;
  CoreStatus SetAllParameters(const DS3DBUFFER* params, uint32_t apply) override;
  CoreStatus GetPosition(SoundVector* position) override;
  CoreStatus SetPosition(float x, float y, float z, uint32_t apply) override;
  CoreStatus GetVelocity(SoundVector* velocity) override;
  CoreStatus SetVelocity(float x, float y, float z, uint32_t apply) override;
  CoreStatus GetMinDistance(float* distance) override;
  CoreStatus SetMinDistance(float distance, uint32_t apply) override;
  CoreStatus GetMaxDistance(float* distance) override;
  CoreStatus SetMaxDistance(float distance, uint32_t apply) override;
  CoreStatus GetMode(uint32_t* mode) override;
  CoreStatus SetMode(uint32_t mode, uint32_t apply) override;

 private:
  template <class F>
  CoreStatus Change(uint32_t apply, F&& change);
  BufferImpl* owner_;
};

class ListenerImpl final : public IDirectSound3DListener8 {
 public:
  explicit ListenerImpl(BufferImpl* primary) : owner_(primary) {}
  CoreStatus QueryInterface(const SoundGuid& iid, void** out) override { return owner_->QueryInterface(iid, out); }
  uint32_t AddRef() override { return owner_->AddRef(); }
  uint32_t Release() override { return owner_->Release(); }
  CoreStatus GetAllParameters(DS3DLISTENER* params) override;
  CoreStatus SetAllParameters(const DS3DLISTENER* params, uint32_t apply) override;
  CoreStatus GetPosition(SoundVector* position) override;
  CoreStatus SetPosition(float x, float y, float z, uint32_t apply) override;
  CoreStatus GetVelocity(SoundVector* velocity) override;
  CoreStatus SetVelocity(float x, float y, float z, uint32_t apply) override;
  CoreStatus GetOrientation(SoundVector* front, SoundVector* top) override;
  CoreStatus SetOrientation(float frontX, float frontY, float frontZ, float topX, float topY, float topZ,
                            uint32_t apply) override;
  CoreStatus GetDistanceFactor(float* factor) override;
  CoreStatus SetDistanceFactor(float factor, uint32_t apply) override;
  CoreStatus GetRolloffFactor(float* factor) override;
  CoreStatus SetRolloffFactor(float factor, uint32_t apply) override;
  CoreStatus GetDopplerFactor(float* factor) override;
  CoreStatus SetDopplerFactor(float factor, uint32_t apply) override;
  CoreStatus CommitDeferredSettings() override;

 private:
  template <class F>
  CoreStatus Change(uint32_t apply, F&& change);
  BufferImpl* owner_;
};

// Gains of a 3D buffer as heard by the listener: overall attenuation and
// the two side gains. Returns false when 3D processing is off (mode DISABLE).
bool Spatialize(const DS3DBUFFER& buffer, const DS3DLISTENER& listener, bool muteAtMax, float* gain,
                float* left, float* right);
bool IsFinite(const SoundVector& v);
bool ValidBufferFormat(const WAVEFORMATEX& f);

}  // namespace platform::audio_impl
