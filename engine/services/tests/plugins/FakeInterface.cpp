// An interface module (service type 5) whose version is set per build: the
// version-window tests list or drop it.
#include "FakeDescriptor.h"
#include "FakeSupport.h"
#include "engine/services/CoreInterface.h"

#ifndef FAKE_VERSION
#define FAKE_VERSION 1.0f
#endif

namespace {

class FakeInterface final : public fake::NoSettings<CoreInterface> {
 public:
  bool Init() override {
    fake::Log("interface Init");
    return true;
  }
  void Shutdown() override {}
  const char* GetName() override { return "[FakeInterface]"; }
  const char* GetDescription() override { return "test interface"; }
  eServiceType GetServiceType() override { return eService_Interface; }
  void SetClientRect(const platform::RECT&) override {}
  void SetGraphics(Core3D*) override {}
  void SetPhysics(CorePhysics*) override {}
  void SetInput(CoreInput*) override {}
  void SetSound(SoundMgr*) override {}
  void SetEntityManager(cEntity_Manager*) override {}
  void SetActionFactory(cAction_Factory*) override {}
};

fake::Descriptor<FakeInterface> g_descriptor("FakeInterface", FAKE_VERSION, eService_Interface);
CoreBaseDescriptor* g_descriptors[] = {&g_descriptor};

}  // namespace

FAKE_PLUGIN_EXPORTS(g_descriptors, 1)
