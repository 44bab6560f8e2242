#pragma once
// A sound service that makes named handles and logs the volume and play
// calls the widgets make.
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/math/JVector.h"
#include "engine/services/SoundMgr.h"

namespace guitest {

class RecordingSound final : public SoundMgr {
 public:
  bool Init() override { return true; }
  void Shutdown() override {}
  void LoadConfig() override {}
  uint32_t GetConfig(CoreBaseConfigMap** options) override {
    if (options) *options = nullptr;
    return 0;
  }
  bool ApplyConfig() override { return true; }
  void ClearConfig() override {}
  const char* GetName() override { return "[RecordingSound]"; }
  const char* GetDescription() override { return "recording sound"; }
  eServiceType GetServiceType() override { return eService_Sound; }

  bool Init(platform::HWND) override { return true; }
  void Update(float) override {}
  void SetSoundDisabled(bool) override {}
  bool IsSoundDisabled() override { return false; }
  void SetMusicDisabled(bool) override {}
  bool IsMusicDisabled() override { return false; }
  void SetListenerObject(const void*) override {}
  bool SetOutputFormat(int32_t, int32_t, int32_t) override { return false; }
  int32_t GetSampleRate() override { return 44100; }
  int16_t GetBitsPerSample() override { return 16; }
  int32_t GetChannelCount() override { return 2; }
  int32_t GetDeviceCount() override { return 0; }
  void GetDeviceName(std::string& name, int32_t) override { name.clear(); }
  bool SelectDevice(int32_t) override { return false; }
  void ReleaseAllBuffers() override {}
  void StopAll() override {}
  bool PlayMusic(SoundHandle*) override { return false; }
  bool StopMusic(SoundHandle*) override { return false; }
  bool Pause(SoundHandle*) override { return false; }
  bool PlaySound(SoundHandle* handle, bool loop) override {
    log.push_back("play " + NameOf(handle) + (loop ? " loop" : " once"));
    return true;
  }
  bool StopSound(SoundHandle*) override { return false; }
  bool PauseAllSounds(bool) override { return true; }
  bool PauseAllMusic(bool) override { return true; }
  void SetVolume(SoundHandle* handle, float volume) override {
    log.push_back("volume " + NameOf(handle) + " " + std::to_string(volume));
  }
  float GetVolume(SoundHandle*) override { return -1.0f; }
  bool IsPlaying(SoundHandle*) override { return false; }
  SoundHandle* CreateMusic(const std::string&) override { return nullptr; }
  SoundHandle* CreateSound(const std::string& name) override {
    handles.push_back(std::make_unique<SoundHandle>());
    names[handles.back().get()] = name;
    return handles.back().get();
  }
  SoundHandle* CreateAttachedSound(const std::string&, const void*, bool, bool) override { return nullptr; }
  SoundHandle* CreateSoundAt(const std::string&, JVector, bool, bool) override { return nullptr; }
  bool ReleaseSound(SoundHandle*) override { return false; }
  bool ReleaseMusic(SoundHandle*) override { return false; }
  FXHandle* LoadFXHandle(const std::string&, bool) override { return nullptr; }
  FXHandle* CreateFXHandle() override { return nullptr; }
  bool SaveFXHandle(FXHandle*, const std::string&) override { return false; }
  void GetEffectParameterText(std::string& text, FXHandle*, int32_t, int32_t) override { text.clear(); }
  void SetEffectParameter(FXHandle*, int32_t, int32_t, const std::string&) override {}
  void AttachFXHandle(SoundHandle*, FXHandle*) override {}
  void AddEffect(FXHandle*, int32_t) override {}
  void Reserved(void*) override {}
  void RemoveEffect(FXHandle*, int32_t) override {}
  void ReleaseFXHandle(FXHandle*) override {}
  bool HasEffect(FXHandle*, int32_t) override { return false; }
  void ResetEffectDefaults() override {}
  int32_t GetEffectTypeCount() override { return 7; }
  int32_t GetEffectType(const std::string&) override { return -1; }
  std::string GetEffectName(int32_t) override { return std::string(); }
  int32_t GetEffectParameterCount(int32_t) override { return -1; }
  int32_t GetEffectParameterIndex(int32_t, const std::string&) override { return -1; }
  std::string GetEffectParameterKey(int32_t, int32_t) override { return std::string(); }
  std::string GetEffectParameterLabel(int32_t, int32_t) override { return std::string(); }
  int32_t GetEffectParameterType(int32_t, int32_t) override { return 0; }
  void GetEffectParameterRange(int32_t, int32_t, std::string& minimum, std::string& maximum) override {
    minimum.clear();
    maximum.clear();
  }
  void SetMaxDistance(SoundHandle*, float) override {}
  void SetMinDistance(SoundHandle*, float) override {}
  bool SetFrequencyScale(SoundHandle*, float) override { return false; }
  void SetPan(SoundHandle*, int32_t) override {}
  void SetListenerPosition(JVector) override {}
  void SetListenerOrientation(JVector) override {}
  void SetListenerVelocity(JVector) override {}
  std::list<SoundHandle*>* GetSoundList() override { return &sounds; }


  std::string NameOf(SoundHandle* handle) const {
    auto it = names.find(handle);
    return it == names.end() ? std::string("?") : it->second;
  }

  std::vector<std::unique_ptr<SoundHandle>> handles;
  std::map<SoundHandle*, std::string> names;
  std::vector<std::string> log;
  std::list<SoundHandle*> sounds;
};

}  // namespace guitest
