#pragma once
// The sound service. The sound plug-in's module plays sound and music files
// through handles it owns; the game reaches it only through this interface.
// Sound is optional: when the module fails to start, the service table's
// sound slot stays empty and every user tests it before use.
#include <cstdint>
#include <list>
#include <string>

#include "engine/services/CoreBase.h"
#include "platform/window/WindowTypes.h"

class JVector;

// A sound or music handle. The service owns it; the game reads and writes
// the position of positional handles and the flag it passed when creating it.
class SoundHandle {
 public:
  virtual ~SoundHandle();

  struct Position {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;
  };
  Position position;
  bool callerFlag = false;
};

// An effect chain that can be attached to sound handles; owned by the service.
class FXHandle {
 public:
  virtual ~FXHandle();
};

class SoundMgr : public CoreBase {
 public:
  SoundMgr();
  ~SoundMgr() override;

  // The module base's Init clears the output device choice; this one starts
  // the output on the window. False when no output device could be opened.
  virtual bool Init(platform::HWND window) = 0;
  using CoreBase::Init;
  virtual void Update(float elapsed) = 0;

  virtual void SetSoundDisabled(bool disabled) = 0;
  virtual bool IsSoundDisabled() = 0;
  virtual void SetMusicDisabled(bool disabled) = 0;
  virtual bool IsMusicDisabled() = 0;
  // A game object carrying three vectors: position, front and velocity.
  virtual void SetListenerObject(const void* object) = 0;
  // -1 for the rate or the channel count keeps the device's current value.
  virtual bool SetOutputFormat(int32_t rate, int32_t bits, int32_t channels) = 0;
  virtual int32_t GetSampleRate() = 0;
  virtual int16_t GetBitsPerSample() = 0;
  virtual int32_t GetChannelCount() = 0;
  virtual int32_t GetDeviceCount() = 0;
  virtual void GetDeviceName(std::string& name, int32_t index) = 0;
  virtual bool SelectDevice(int32_t index) = 0;
  virtual void ReleaseAllBuffers() = 0;
  virtual void StopAll() = 0;

  virtual bool PlayMusic(SoundHandle* handle) = 0;
  virtual bool StopMusic(SoundHandle* handle) = 0;
  virtual bool Pause(SoundHandle* handle) = 0;
  virtual bool PlaySound(SoundHandle* handle, bool loop) = 0;
  virtual bool StopSound(SoundHandle* handle) = 0;
  virtual bool PauseAllSounds(bool pause) = 0;
  virtual bool PauseAllMusic(bool pause) = 0;
  virtual void SetVolume(SoundHandle* handle, float volume) = 0;
  virtual float GetVolume(SoundHandle* handle) = 0;
  virtual bool IsPlaying(SoundHandle* handle) = 0;

  virtual SoundHandle* CreateMusic(const std::string& name) = 0;
  virtual SoundHandle* CreateSound(const std::string& name) = 0;
  // A positional sound that follows the source object.
  virtual SoundHandle* CreateAttachedSound(const std::string& name, const void* source, bool threeD,
                                           bool flag) = 0;
  // A positional sound at a fixed point.
  virtual SoundHandle* CreateSoundAt(const std::string& name, JVector position, bool threeD, bool flag) = 0;
  virtual bool ReleaseSound(SoundHandle* handle) = 0;
  virtual bool ReleaseMusic(SoundHandle* handle) = 0;

  // Effect chains.
  virtual FXHandle* LoadFXHandle(const std::string& fileName, bool asDefaults) = 0;
  virtual FXHandle* CreateFXHandle() = 0;
  virtual bool SaveFXHandle(FXHandle* chain, const std::string& fileName) = 0;
  virtual void GetEffectParameterText(std::string& text, FXHandle* chain, int32_t type, int32_t index) = 0;
  virtual void SetEffectParameter(FXHandle* chain, int32_t type, int32_t index, const std::string& text) = 0;
  virtual void AttachFXHandle(SoundHandle* handle, FXHandle* chain) = 0;
  virtual void AddEffect(FXHandle* chain, int32_t type) = 0;
  virtual void Reserved(void* unused) = 0;
  virtual void RemoveEffect(FXHandle* chain, int32_t type) = 0;
  virtual void ReleaseFXHandle(FXHandle* chain) = 0;
  virtual bool HasEffect(FXHandle* chain, int32_t type) = 0;
  virtual void ResetEffectDefaults() = 0;
  virtual int32_t GetEffectTypeCount() = 0;
  virtual int32_t GetEffectType(const std::string& name) = 0;
  virtual std::string GetEffectName(int32_t type) = 0;
  virtual int32_t GetEffectParameterCount(int32_t type) = 0;
  virtual int32_t GetEffectParameterIndex(int32_t type, const std::string& key) = 0;
  virtual std::string GetEffectParameterKey(int32_t type, int32_t index) = 0;
  virtual std::string GetEffectParameterLabel(int32_t type, int32_t index) = 0;
  virtual int32_t GetEffectParameterType(int32_t type, int32_t index) = 0;
  virtual void GetEffectParameterRange(int32_t type, int32_t index, std::string& minimum,
                                       std::string& maximum) = 0;

  virtual void SetMaxDistance(SoundHandle* handle, float distance) = 0;
  virtual void SetMinDistance(SoundHandle* handle, float distance) = 0;
  virtual bool SetFrequencyScale(SoundHandle* handle, float scale) = 0;
  // Only stored and returned; no volume is derived from it here.
  virtual void SetMasterVolume(float volume);
  virtual float GetMasterVolume();
  // -10000 (left) .. 10000 (right).
  virtual void SetPan(SoundHandle* handle, int32_t pan) = 0;
  virtual void SetListenerPosition(JVector position) = 0;
  virtual void SetListenerOrientation(JVector front) = 0;
  virtual void SetListenerVelocity(JVector velocity) = 0;
  // The sound handles, for the game to walk (to set every sound's volume).
  virtual std::list<SoundHandle*>* GetSoundList() = 0;

 protected:
  CoreBaseConfigMap config_;

 private:
  float masterVolume_ = 1.0f;
};
