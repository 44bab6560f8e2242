// A renderer module for the library manager's tests: adapters, modes,
// accepted depth formats, device creation and capabilities are set from the
// environment; the interesting calls are logged.
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "FakeDescriptor.h"
#include "FakeSupport.h"
#include "engine/services/Core3D.h"
#include "engine/services/tests/FakeCore3D.h"

#ifndef FAKE_TAG
#define FAKE_TAG "gfx"
#endif
#ifndef FAKE_VERSION
#define FAKE_VERSION 1.0f
#endif

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream stream(text);
  std::string part;
  while (std::getline(stream, part, separator)) {
    if (!part.empty()) parts.push_back(part);
  }
  return parts;
}

std::string Describe(const C3DDisplayMode* mode) {
  char text[160];
  std::snprintf(text, sizeof(text), "windowed=%d %dx%d bits=%d.%d.%d.%d.%d depth=%d/%d/%d ms=%d bb=%d",
                mode->windowed, mode->width, mode->height, mode->channelBits[0], mode->channelBits[1],
                mode->channelBits[2], mode->channelBits[3], mode->channelBits[4], mode->depthBits,
                mode->stencilBits, mode->paddingBits, mode->multiSampleType, mode->backBufferCount);
  return text;
}

// The recording renderer of the engine tests answers the frame and resource
// calls; this module adds what the library manager drives.
class FakeRenderer final : public fake3d::FakeCore3D {
 public:
  FakeRenderer() { fake::Log(std::string(FAKE_TAG) + " created"); }
  ~FakeRenderer() override { fake::Log(std::string(FAKE_TAG) + " destroyed"); }

  bool Init() override {
    fake::Log(std::string(FAKE_TAG) + " Init");
    return fake::Enabled("FAKE_GFX_INIT");
  }
  void Shutdown() override {
    fake::Log(std::string(FAKE_TAG) + " Shutdown");
    adapters_.clear();
  }
  bool ApplyConfig() override {
    for (const auto& entry : settings_) fake::Log("gfx ApplyConfig " + entry.first + "=" + entry.second->value);
    return true;
  }
  void ClearConfig() override {
    fake::Log("gfx ClearConfig");
    DeleteSettings();
  }
  const char* GetName() override { return "[FakeRenderer]"; }
  eServiceType GetServiceType() override { return eService_Graphics; }

  void SetWindow(platform::HWND) override { fake::Log("gfx SetWindow"); }

  int32_t EnumerateAdapters() override {
    fake::Log("gfx EnumerateAdapters");
    adapters_.clear();
    const int count = std::atoi(fake::Setting("FAKE_GFX_ADAPTERS", "1").c_str());
    for (int a = 0; a < count; ++a) {
      C3DAdapter adapter;
      adapter.driver = "fake";
      adapter.description = "fake adapter";
      for (const std::string& mode :
           Split(fake::Setting("FAKE_GFX_MODES", "1024,768,8,8,8,0,8;800,600,8,8,8,0,8;640,480,5,6,5,0,0"), ';')) {
        const std::vector<std::string> v = Split(mode, ',');
        if (v.size() != 7) continue;
        C3DModeEntry entry;
        uint32_t* fields[7] = {&entry.width,     &entry.height,    &entry.redBits, &entry.greenBits,
                               &entry.blueBits, &entry.alphaBits, &entry.xBits};
        for (int i = 0; i < 7; ++i) *fields[i] = static_cast<uint32_t>(std::atoi(v[static_cast<size_t>(i)].c_str()));
        adapter.modes.push_back(entry);
      }
      adapter.desktopMode = std::atoi(fake::Setting("FAKE_GFX_DESKTOP", "0").c_str());
      adapters_.push_back(adapter);
    }
    return static_cast<int32_t>(adapters_.size());
  }
  int32_t GetModeList(C3DAdapter** adapters) override {
    if (adapters) *adapters = adapters_.empty() ? nullptr : adapters_.data();
    return static_cast<int32_t>(adapters_.size());
  }
  void FreeModeList() override {
    fake::Log("gfx FreeModeList");
    adapters_.clear();
  }

  bool Accepts(const C3DDisplayMode* mode) {
    if (mode->windowed && !fake::Enabled("FAKE_GFX_WINDOWED")) return false;
    const std::string depths = fake::Setting("FAKE_GFX_DEPTHS", "all");
    if (depths == "all") return true;
    char format[40];
    std::snprintf(format, sizeof(format), "%d/%d/%d", mode->depthBits, mode->stencilBits, mode->paddingBits);
    for (const std::string& accepted : Split(depths, ',')) {
      if (accepted == format) return true;
    }
    return false;
  }
  CoreStatus CreateDevice(const C3DDisplayMode* mode) override {
    fake::Log("gfx CreateDevice " + Describe(mode));
    if (!fake::Enabled("FAKE_GFX_CREATE")) return status::Fail;
    device_ = true;
    return status::Ok;
  }
  bool CheckMode(const C3DDisplayMode* mode) override {
    const bool accepted = !device_ && Accepts(mode);
    fake::Log(std::string("gfx CheckMode ") + Describe(mode) + (accepted ? " yes" : " no"));
    return accepted;
  }
  bool ResetDevice(const C3DDisplayMode*) override { return device_; }
  bool ReleaseDevice() override {
    fake::Log("gfx ReleaseDevice");
    const bool had = device_;
    device_ = false;
    return had;
  }
  CoreStatus RenderFrame() override {
    fake::Log("gfx RenderFrame");
    return device_ ? status::Ok : status::Fail;
  }

  uint32_t ComputeCapability(int32_t index) override {
    const std::vector<std::string> caps = Split(fake::Setting("FAKE_GFX_CAPS", "1024,65535,65535,1000000"), ',');
    if (index < 0 || static_cast<size_t>(index) >= caps.size()) return 0;
    return static_cast<uint32_t>(std::strtoul(caps[static_cast<size_t>(index)].c_str(), nullptr, 0));
  }
  CoreStatus GetCapability(int32_t index, uint32_t* value) override {
    if (index < 0 || index > 3 || !value) return status::Fail;
    *value = ComputeCapability(index);
    return status::Ok;
  }

 private:
  std::vector<C3DAdapter> adapters_;
  bool device_ = false;
};

fake::Descriptor<FakeRenderer> g_descriptor("FakeRenderer", FAKE_VERSION, eService_Graphics);
CoreBaseDescriptor* g_descriptors[] = {&g_descriptor};

}  // namespace

FAKE_PLUGIN_EXPORTS(g_descriptors, 1)
