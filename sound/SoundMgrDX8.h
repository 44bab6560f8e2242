#pragma once
// The sound service of the sound plug-in: plays decoded WAV and Ogg Vorbis
// files through output-layer buffers, keeps a cache of those buffers, gives
// out handles for sounds and music, drives a 3D listener and attaches
// chains of the standard effects. The game reaches it only through SoundMgr.
#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <set>
#include <string>

#include "engine/services/SoundMgr.h"
#include "platform/audio/AudioApi.h"

class DXSound;
class DX3DSoundListener;
class DXSoundBuffer;
class SoundHandleDX;
class FXHandleDX;
class SoundEffect;

class SoundMgrDX8 : public SoundMgr {
 public:
  // The settings file LoadConfig reads, by its bare name.
  static constexpr const char* kSettingsFile = "snd_dx8.cfg";
  // Full updates run once per this much accumulated frame time.
  static constexpr float kUpdateInterval = 3.0f;
  // Busy copies of one sound; a further request may take the farthest.
  static constexpr int kMaxBusyCopies = 4;

  SoundMgrDX8();
  ~SoundMgrDX8() override;

  // ---- module base
  bool Init() override;  // clears the output device choice
  void Shutdown() override;
  void LoadConfig() override;
  uint32_t GetConfig(CoreBaseConfigMap** options) override;
  bool ApplyConfig() override;
  void ClearConfig() override;
  const char* GetName() override;
  const char* GetDescription() override;
  eServiceType GetServiceType() override;
  // The names the service's own code uses for three of them.
  bool ResetDeviceSelection() { return Init(); }
  void ReleaseAll() { Shutdown(); }

  // ---- sound service
  bool Init(platform::HWND window) override;
  void Update(float elapsed) override;
  void SetSoundDisabled(bool disabled) override { soundDisabled_ = disabled; }
  bool IsSoundDisabled() override { return soundDisabled_; }
  void SetMusicDisabled(bool disabled) override { musicDisabled_ = disabled; }
  bool IsMusicDisabled() override { return musicDisabled_; }
  void SetListenerObject(const void* object) override { listenerObject_ = object; }
  bool SetOutputFormat(int32_t rate, int32_t bits, int32_t channels) override;
  int32_t GetSampleRate() override { return sampleRate_; }
  int16_t GetBitsPerSample() override { return bitsPerSample_; }
  int32_t GetChannelCount() override { return channels_; }
  int32_t GetDeviceCount() override;
  void GetDeviceName(std::string& name, int32_t index) override;
  bool SelectDevice(int32_t index) override;
  void ReleaseAllBuffers() override;
  void StopAll() override;

  bool PlayMusic(SoundHandle* handle) override;
  bool StopMusic(SoundHandle* handle) override;
  bool Pause(SoundHandle* handle) override;
  bool PlaySound(SoundHandle* handle, bool loop) override;
  bool StopSound(SoundHandle* handle) override;
  bool PauseAllSounds(bool pause) override;
  bool PauseAllMusic(bool pause) override;
  void SetVolume(SoundHandle* handle, float volume) override;
  float GetVolume(SoundHandle* handle) override;
  bool IsPlaying(SoundHandle* handle) override;

  SoundHandle* CreateMusic(const std::string& name) override;
  SoundHandle* CreateSound(const std::string& name) override;
  SoundHandle* CreateAttachedSound(const std::string& name, const void* source, bool threeD, bool flag) override;
  SoundHandle* CreateSoundAt(const std::string& name, JVector position, bool threeD, bool flag) override;
  bool ReleaseSound(SoundHandle* handle) override;
  bool ReleaseMusic(SoundHandle* handle) override;

  FXHandle* LoadFXHandle(const std::string& fileName, bool asDefaults) override;
  FXHandle* CreateFXHandle() override;
  bool SaveFXHandle(FXHandle* chain, const std::string& fileName) override;
  void GetEffectParameterText(std::string& text, FXHandle* chain, int32_t type, int32_t index) override;
  void SetEffectParameter(FXHandle* chain, int32_t type, int32_t index, const std::string& text) override;
  void AttachFXHandle(SoundHandle* handle, FXHandle* chain) override;
  void AddEffect(FXHandle* chain, int32_t type) override;
  void Reserved(void*) override {}
  void RemoveEffect(FXHandle* chain, int32_t type) override;
  void ReleaseFXHandle(FXHandle* chain) override;
  bool HasEffect(FXHandle* chain, int32_t type) override;
  void ResetEffectDefaults() override;
  int32_t GetEffectTypeCount() override;
  int32_t GetEffectType(const std::string& name) override;
  std::string GetEffectName(int32_t type) override;
  int32_t GetEffectParameterCount(int32_t type) override;
  int32_t GetEffectParameterIndex(int32_t type, const std::string& key) override;
  std::string GetEffectParameterKey(int32_t type, int32_t index) override;
  std::string GetEffectParameterLabel(int32_t type, int32_t index) override;
  int32_t GetEffectParameterType(int32_t type, int32_t index) override;
  void GetEffectParameterRange(int32_t type, int32_t index, std::string& minimum, std::string& maximum) override;

  void SetMaxDistance(SoundHandle* handle, float distance) override;
  void SetMinDistance(SoundHandle* handle, float distance) override;
  bool SetFrequencyScale(SoundHandle* handle, float scale) override;
  void SetPan(SoundHandle* handle, int32_t pan) override;
  void SetListenerPosition(JVector position) override;
  void SetListenerOrientation(JVector front) override;
  void SetListenerVelocity(JVector velocity) override;
  std::list<SoundHandle*>* GetSoundList() override { return &soundHandles_; }

  // ---- for the service's own parts (and its tests)
  // A buffer for the file: an idle one of the cache, a copy of a busy one,
  // a new one, or (all copies busy) the farthest busy one when the
  // requester is nearer. Null when there is none to give.
  DXSoundBuffer* GetCachedBuffer(const std::string& name, bool want3D, SoundHandleDX* requester);
  // A new effect of the type, starting from the prototype's current values.
  SoundEffect* CreateEffect(int type);
  SoundEffect* GetPrototype(int type) const;
  static uint8_t HashName(const std::string& name);

  const std::list<DXSoundBuffer*>& GetBufferCache() const { return bufferCache_; }
  const std::list<SoundHandle*>& GetMusicList() const { return musicHandles_; }
  const std::list<FXHandleDX*>& GetChainList() const { return chains_; }
  DXSound* GetSoundDevice() const { return device_; }
  DX3DSoundListener* GetListener() const { return listener_; }
  const platform::SoundGuid& GetDeviceGuid() const { return deviceGuid_; }
  bool IsReleased() const { return released_; }
  bool IsFXHardwareOnly() const { return fxHardwareOnly_; }
  int32_t GetMaxSameBuffers() const { return maxSameBuffers_; }
  // Reads a device GUID text: exactly 32 hexadecimal digits, two per byte
  // in memory order. False (and `guid` untouched) for anything else.
  static bool ParseGuidText(const std::string& text, platform::SoundGuid* guid);
  static std::string FormatGuidText(const platform::SoundGuid& guid);

 private:
  SoundHandleDX* FindHandle(SoundHandle* handle) const;
  FXHandleDX* FindChain(FXHandle* chain) const;
  bool HasDevice() const;
  void SetOption(const char* name, const std::string& value);
  const CoreBaseConfig* FindOption(const char* name) const;
  void UpdateHandles(std::list<SoundHandle*>& handles, DX3DSoundListener* listener);
  void DeletePrototypes();
  void CreatePrototypes();

  bool fxHardwareOnly_ = false;
  bool soundDisabled_ = false;
  bool musicDisabled_ = false;
  DX3DSoundListener* listener_ = nullptr;  // owned
  DXSound* device_ = nullptr;              // owned
  std::list<DXSoundBuffer*> bufferCache_;  // owned
  int32_t maxSameBuffers_ = 4;
  float updateAccumulator_ = 0.0f;
  float updateInterval_ = kUpdateInterval;
  const void* listenerObject_ = nullptr;
  std::list<SoundHandle*> soundHandles_;  // owned SoundHandleDX
  std::list<SoundHandle*> musicHandles_;  // owned SoundHandleDX
  std::list<FXHandleDX*> chains_;         // owned
  std::array<SoundEffect*, 7> prototypes_{};  // owned; index = effect type
  bool released_ = true;
  int32_t sampleRate_ = 44100;
  int16_t bitsPerSample_ = 16;
  int32_t channels_ = 2;
  platform::SoundGuid deviceGuid_{};
  CoreBaseConfigMap options_;
  // Files that failed to load, so full updates do not decode them again.
  std::set<std::string> failedNames_;
};
