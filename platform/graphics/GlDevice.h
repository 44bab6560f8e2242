#pragma once
// The gl backend: OpenGL 3.3 core through libepoxy on the SDL window's GL
// context.
#include <string>

#include "platform/graphics/DeviceCore.h"

namespace platform::gfx {

CoreStatus CreateGlDevice(Direct3DCore* d3d, const PresentParameters& params, uint32_t behaviorFlags,
                          DeviceCore** device);

// The GL renderer string of a probe context, or "OpenGL" when none can be made.
std::string ProbeGlRendererName();

}  // namespace platform::gfx
