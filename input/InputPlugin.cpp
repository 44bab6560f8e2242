// The three entry points of the input library.
#include <cstdint>

#include "engine/services/CoreBaseDescriptor.h"
#include "input/DeviceManagerDesc.h"

CORE_PLUGIN_EXPORT CoreBaseDescriptor* GetCoreDesc(int32_t index) {
  return index == 0 ? &cCore_DX8_DeviceMGR_DESC::Instance() : nullptr;
}

CORE_PLUGIN_EXPORT const char* GetDescription() {
  return "Keyboard and mouse input library: buffered devices read once a frame";
}

CORE_PLUGIN_EXPORT float GetBaseAPIVersion() { return 1.0f; }
