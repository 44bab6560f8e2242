// A sound module for the library manager's tests. FAKE_SND_START=0 makes
// its output start fail.
#include "FakeDescriptor.h"
#include "FakeSupport.h"
#include "engine/services/tests/SilentSoundMgr.h"

namespace {

class FakeSound final : public SilentSoundMgr {
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

  bool Init(platform::HWND) override {
    fake::Log("snd Start");
    return fake::Enabled("FAKE_SND_START");
  }
 private:
  CoreBaseConfigMap options_;
};

fake::Descriptor<FakeSound> g_descriptor("FakeSound", 1.0f, eService_Sound);
CoreBaseDescriptor* g_descriptors[] = {&g_descriptor};

}  // namespace

FAKE_PLUGIN_EXPORTS(g_descriptors, 1)
