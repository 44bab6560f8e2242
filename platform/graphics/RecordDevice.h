#pragma once
// The record backend: a device without pixels. Its state table answers every
// get with the last value set, every call goes into its call log, clears fill
// the render target's memory and Present copies the back buffer to the
// front buffer, so captures are deterministic without a GPU.
#include "platform/graphics/DeviceCore.h"

namespace platform::gfx {

CoreStatus CreateRecordDevice(Direct3DCore* d3d, const PresentParameters& params, uint32_t behaviorFlags,
                              DeviceCore** device);

// The call log of a device that keeps one (every record device); else null.
CallLog* GetCallLog(Device* device);

}  // namespace platform::gfx
