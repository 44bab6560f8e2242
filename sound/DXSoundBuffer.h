#pragma once
// One secondary buffer of the sound service holding a whole decoded sound
// file, with what the buffer cache needs to share it: its file name and
// hash, whether it is busy, how many copies of it exist, an idle timer for
// copies, and the handle that borrows it. Plain buffers are positioned by
// this layer's own distance pass (volume and pan); 3D buffers by the output
// layer's 3D processing (DX3DSoundBuffer).
#include <cstdint>
#include <memory>
#include <string>

#include "engine/math/JVector.h"
#include "platform/audio/AudioApi.h"

class SoundHandleDX;
class DX3DSoundListener;
class SoundLoader;

class DXSoundBuffer {
 public:
  // Creation flags: plain, effects-capable and 3D.
  static constexpr uint32_t kPlainFlags =
      platform::DSBCAPS_CTRLFREQUENCY | platform::DSBCAPS_CTRLPAN | platform::DSBCAPS_CTRLVOLUME;
  static constexpr uint32_t kFxFlags =
      platform::DSBCAPS_CTRLFX | platform::DSBCAPS_CTRLPAN | platform::DSBCAPS_CTRLVOLUME;
  static constexpr uint32_t k3DFlags = platform::DSBCAPS_CTRL3D | platform::DSBCAPS_CTRLFREQUENCY |
                                       platform::DSBCAPS_CTRLVOLUME | platform::DSBCAPS_MUTE3DATMAXDISTANCE;
  // How long a copy of a sound may stay idle before the cache drops it.
  static constexpr uint32_t kIdleMilliseconds = 240000;

  // Pause states. The first four belong to pausing all sounds or all music
  // at once; a buffer paused through its own handle is held for that handle
  // and left alone by a global resume.
  enum : int32_t { kNotPaused = 0, kPausedLooping = 1, kPausedOnce = 2, kStopOnResume = 3, kHeldByHandle = 4 };

  DXSoundBuffer();
  virtual ~DXSoundBuffer();
  DXSoundBuffer(const DXSoundBuffer&) = delete;
  DXSoundBuffer& operator=(const DXSoundBuffer&) = delete;

  // A copy of a busy buffer: shares its data where the output layer allows.
  virtual bool DuplicateFrom(DXSoundBuffer* source, platform::IDirectSound8* device);
  // Loads the named file into a new output buffer.
  virtual bool Create(const std::string& name, platform::IDirectSound8* device);
  virtual void SetMinDistance(float distance, bool immediate);
  virtual void SetMaxDistance(float distance, bool immediate);
  virtual bool Is3D() const { return false; }
  // The periodic pass: status, idle timer and, given a listener, distance.
  virtual bool Update(DX3DSoundListener* listener);
  // Takes the handle's position, source, flags, frequency and distances.
  virtual void Attach(SoundHandleDX* handle);
  // Re-creates the output buffer with or without effect control.
  virtual bool SetFXCapable(bool on);
  virtual bool Load(const std::string& name);

  bool Play(bool loop);
  bool Restore();
  bool Stop();
  void Rewind();
  void RefreshStatus();
  bool Pause(bool pause);
  bool SetVolume(int32_t volume);
  bool SetPan(int32_t pan);
  bool SetFrequencyScale(float scale);
  int32_t GetVolume();
  uint32_t GetFrequency();
  // Stops without rewinding and holds the buffer for its handle.
  bool Hold();
  // Busy for the cache: playing, or paused and waiting to resume.
  bool IsBusy() const {
    return playing || pauseState == kPausedLooping || pauseState == kPausedOnce || pauseState == kHeldByHandle;
  }

  // Effects of the owner handle's chain.
  void ApplyEffects(bool hardwareOnly);
  void ApplyEffectParameters();
  void RemoveEffects();

  // Releases the output buffer (device change); the record stays.
  virtual void ReleaseOutputBuffer();
  platform::IDirectSoundBuffer8* GetBuffer() const { return buffer; }
  const platform::WAVEFORMATEX* GetFormat() const { return format.get(); }

  platform::DSBUFFERDESC description;
  JVector position;
  const void* source = nullptr;      // game object, not owned
  SoundHandleDX* owner = nullptr;    // not owned; its buffer points back here
  std::string fileName;
  int32_t ownSampleRate = 0;
  uint32_t flags = kPlainFlags;
  platform::IDirectSoundBuffer8* buffer = nullptr;  // one reference owned
  platform::IDirectSound8* device = nullptr;        // not owned
  int32_t nameHash = -1;
  int32_t duplicateCount = 0;
  bool playing = false;
  bool nonPositional = true;
  bool callerFlag = false;
  float minDistance = 1.0f;
  float maxDistance = 100.0f;
  uint32_t idleDeadline = 0;
  bool markedForRelease = false;
  uint32_t durationMs = 0;
  bool fxCapable = false;
  int32_t pauseState = kNotPaused;
  uint32_t lastUpdateTick = 0;

 protected:
  // Creates the output buffer from the description and fills it with `bytes`.
  bool CreateOutputBuffer(const uint8_t* bytes, uint32_t size);
  // The creation flags for the effects choice.
  virtual uint32_t FlagsFor(bool fx) const { return fx ? kFxFlags : kPlainFlags; }
  // After the output buffer was replaced (effects switch, restore).
  virtual void OnBufferReplaced() {}
  void SetFormatCopy(const platform::WAVEFORMATEX& f);
  // The plain distance pass: volume and pan from the listener.
  void ApplyDistance(const DX3DSoundListener& listener);

  std::unique_ptr<platform::WAVEFORMATEX> format;

 private:
  static std::unique_ptr<SoundLoader> LoaderFor(const std::string& name);
};

// The file name's extension chooses the loader; false for anything else.
bool IsLoadableSoundName(const std::string& name);
// Volume from the distance between the minimum (0) and the maximum (-10000),
// in hundredths of a decibel; safe for any distances.
int32_t DistanceVolume(float distance, float minimum, float maximum);
