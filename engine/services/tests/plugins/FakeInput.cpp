// An input module for the library manager's tests. FAKE_INPUT_INIT=0 makes
// its device start fail.
#include <cstdio>

#include "FakeDescriptor.h"
#include "FakeSupport.h"
#include "engine/services/CoreInput.h"

namespace {

class FakeInput final : public fake::NoSettings<cCore_Base_DeviceManager> {
 public:
  ~FakeInput() override { fake::Log("input destroyed"); }
  bool Init() override {
    fake::Log("input base Init");
    return true;
  }
  void Shutdown() override { fake::Log("input Shutdown"); }
  const char* GetName() override { return "[FakeInput]"; }
  const char* GetDescription() override { return "test input"; }
  eServiceType GetServiceType() override { return eService_Input; }

  CoreStatus Init(platform::HWND window, platform::HINSTANCE instance, void* spare) override {
    char line[160];
    std::snprintf(line, sizeof(line), "input Start window=%p instance=%p spare=%p", static_cast<void*>(window),
                  instance, spare);
    fake::Log(line);
    fake::Log("input paths " + GetLibraryPath() + " " + GetResourcePath());
    return fake::Enabled("FAKE_INPUT_INIT") ? status::Ok : status::Fail;
  }
  CoreStatus Update(float) override { return status::Fail; }
  CoreStatus ReservedA() override { return 0; }
  CoreStatus ReservedB() override { return 0; }
  void Suspend() override {}
  void Reacquire() override {}
  void SetClientRectRef(const platform::RECT*) override {}
  void SetReceiver(cCore_Base_InputMGR*) override {}
  CoreStatus UnacquireDevices() override { return 0; }
  CoreStatus RestoreDevices() override { return 0; }
  void SetMousePosition(int32_t, int32_t) override {}
  void GetMousePosition(int32_t* x, int32_t* y) override {
    if (x) *x = 0;
    if (y) *y = 0;
  }
};

fake::Descriptor<FakeInput> g_descriptor("FakeInput", 2.0f, eService_Input);
CoreBaseDescriptor* g_descriptors[] = {&g_descriptor};

}  // namespace

FAKE_PLUGIN_EXPORTS(g_descriptors, 1)
