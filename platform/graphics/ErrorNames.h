#pragma once
// Names of the device layer's result codes, for error reports.
#include "base/Status.h"

namespace platform::gfx {

// "D3DERR_DEVICELOST" for 0x88760868 and so on; "S_OK" for 0; "Unknown"
// for a code the layer never returns.
const char* GetErrorName(CoreStatus code);

}  // namespace platform::gfx
