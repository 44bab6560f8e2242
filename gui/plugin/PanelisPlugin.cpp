// The GUI plug-in's three entry points.
#include "gui/plugin/PanelisDescriptors.h"

CORE_PLUGIN_EXPORT CoreBaseDescriptor* GetCoreDesc(int32_t index) { return PanelisGetCoreDesc(index); }
CORE_PLUGIN_EXPORT const char* GetDescription() { return PanelisGetDescription(); }
CORE_PLUGIN_EXPORT float GetBaseAPIVersion() { return PanelisGetBaseAPIVersion(); }
