// The sound plug-in's entry: its one class descriptor and the three exports
// the library manager reads.
#include "engine/services/CoreBaseDescriptor.h"
#include "sound/SoundMgrDX8.h"

namespace {

class CoreSoundDX8Descriptor final : public CoreBaseDescriptor {
 public:
  const char* GetName() override { return "SoundMgr"; }
  const char* GetDescription() override { return "DirectX 8.0a Sound Layer"; }
  float GetVersion() override { return 1.0f; }
  float GetBaseAPIVersion() override { return 1.0f; }
  eServiceType GetServiceType() override { return eService_Sound; }
  CoreBase* CreateCoreClass() override { return new SoundMgrDX8(); }
};

CoreSoundDX8Descriptor g_descriptor;

}  // namespace

CORE_PLUGIN_EXPORT CoreBaseDescriptor* GetCoreDesc(int32_t index) { return index == 0 ? &g_descriptor : nullptr; }

CORE_PLUGIN_EXPORT const char* GetDescription() { return "DirectX 8.0a Sound API DLL"; }

CORE_PLUGIN_EXPORT float GetBaseAPIVersion() { return 1.0f; }
