// The renderer plug-in's three entry points.
#include "engine/services/CoreBaseDescriptor.h"
#include "renderer/LumetraDescriptor.h"

CORE_PLUGIN_EXPORT CoreBaseDescriptor* GetCoreDesc(int32_t index) {
  return index == 0 ? &LumetraDescriptor::Instance() : nullptr;
}

CORE_PLUGIN_EXPORT const char* GetDescription() { return kLumetraLibraryDescription; }

CORE_PLUGIN_EXPORT float GetBaseAPIVersion() { return LumetraBaseAPIVersion(); }
