#include "platform/graphics/GlDevice.h"

namespace platform::gfx {

CoreStatus CreateGlDevice(Direct3DCore*, const PresentParameters&, uint32_t, DeviceCore**) {
  return D3DERR_NOTAVAILABLE;
}

std::string ProbeGlRendererName() { return "OpenGL"; }

}  // namespace platform::gfx
