// A sound module for the library manager's tests. FAKE_SND_START=0 makes
// its output start fail.
#include "FakeDescriptor.h"
#include "FakeSupport.h"
#include "engine/math/JVector.h"
#include "engine/services/SoundMgr.h"

namespace {

class FakeSound final : public SoundMgr {
 public:
  ~FakeSound() override {
    ClearConfig();
    fake::Log("snd destroyed");
  }
  bool Init() override {
    fake::Log("snd Init");
    return true;
  }
  void Shutdown() override { fake::Log("snd Shutdown"); }
  void LoadConfig() override { fake::Log("snd LoadConfig"); }
  uint32_t GetConfig(CoreBaseConfigMap** options) override {
    if (options) *options = &options_;
    return static_cast<uint32_t>(options_.size());
  }
  bool ApplyConfig() override {
    for (const auto& entry : options_) {
      const CoreBaseConfig& o = *entry.second;
      fake::Log("snd ApplyConfig " + o.name + "=" + o.value + " " + o.defaultValue + " " + o.type + " " +
                o.description + " " + o.min_range + " " + o.max_range);
    }
    return true;
  }
  void ClearConfig() override {
    for (auto& entry : options_) delete entry.second;
    options_.clear();
  }
  const char* GetName() override { return "[FakeSound]"; }
  const char* GetDescription() override { return "test sound"; }
  eServiceType GetServiceType() override { return eService_Sound; }

  bool Init(platform::HWND) override {
    fake::Log("snd Start");
    return fake::Enabled("FAKE_SND_START");
  }
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
  bool PlaySound(SoundHandle*, bool) override { return false; }
  bool StopSound(SoundHandle*) override { return false; }
  bool PauseAllSounds(bool) override { return true; }
  bool PauseAllMusic(bool) override { return true; }
  void SetVolume(SoundHandle*, float) override {}
  float GetVolume(SoundHandle*) override { return -1.0f; }
  bool IsPlaying(SoundHandle*) override { return false; }
  SoundHandle* CreateMusic(const std::string&) override { return nullptr; }
  SoundHandle* CreateSound(const std::string&) override { return nullptr; }
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
  std::list<SoundHandle*>* GetSoundList() override { return &sounds_; }

 private:
  CoreBaseConfigMap options_;
  std::list<SoundHandle*> sounds_;
};

fake::Descriptor<FakeSound> g_descriptor("FakeSound", 1.0f, eService_Sound);
CoreBaseDescriptor* g_descriptors[] = {&g_descriptor};

}  // namespace

FAKE_PLUGIN_EXPORTS(g_descriptors, 1)
