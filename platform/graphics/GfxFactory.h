#pragma once
// Creating the graphics interface object, choosing its backend, and the test
// hooks that stand in for conditions a Linux system never produces.
#include <cstdint>

#include "platform/graphics/GfxDevice.h"

namespace platform::gfx {

enum class Backend {
  Record,  // no pixels: a state table and a call log
  Gl,      // OpenGL 3.3 core on the window's SDL GL context
};

// The backend Direct3DCreate8 uses. Starts from the environment variable
// GAME_GFX_BACKEND ("record" or "gl"), else gl.
void SetDefaultBackend(Backend backend);
Backend GetDefaultBackend();

// The interface object on the default backend; null for a wrong version.
Direct3D* Direct3DCreate8(uint32_t sdkVersion);
Direct3D* CreateDirect3D(Backend backend);

// --- test hooks (process-wide) ---
// Device loss does not happen on Linux. These states make every device
// answer as a lost device would: Lost makes TestCooperativeLevel and Present
// report D3DERR_DEVICELOST and Reset fail; NotReset makes
// TestCooperativeLevel report D3DERR_DEVICENOTRESET, after which a Reset
// succeeds and ends the simulated loss.
enum class DeviceLoss { None, Lost, NotReset };
void SimulateDeviceLoss(DeviceLoss state);
DeviceLoss GetSimulatedDeviceLoss();

// Device creation refuses every behaviour flag word that has one of these
// bits (for testing the fall-back from hardware to mixed to software vertex
// processing). 0 refuses nothing.
void SetRefusedBehaviorFlags(uint32_t mask);
uint32_t GetRefusedBehaviorFlags();

// Texture creation in this format fails with D3DERR_NOTAVAILABLE, as on a
// device without it (for testing fall-backs to other formats). 0 refuses none.
void SetRefusedTextureFormat(uint32_t format);
uint32_t GetRefusedTextureFormat();
// Vertex and index buffer creation fails with D3DERR_OUTOFVIDEOMEMORY.
void SetRefusedBufferCreation(bool refuse);
bool GetRefusedBufferCreation();
// Locks of the chosen kinds fail with D3DERR_INVALIDCALL: texture levels
// and surfaces, vertex and index buffers. 0 refuses none.
inline constexpr uint32_t kRefuseSurfaceLocks = 1;
inline constexpr uint32_t kRefuseBufferLocks = 2;
void SetRefusedLocks(uint32_t kinds);
uint32_t GetRefusedLocks();

}  // namespace platform::gfx
