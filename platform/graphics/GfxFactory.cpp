#include "platform/graphics/GfxFactory.h"

#include <cstdlib>
#include <cstring>

#include "platform/graphics/DeviceCore.h"

namespace platform::gfx {
namespace {

Backend InitialBackend() {
  const char* env = std::getenv("GAME_GFX_BACKEND");
  return (env && std::strcmp(env, "record") == 0) ? Backend::Record : Backend::Gl;
}

Backend g_backend = InitialBackend();
DeviceLoss g_loss = DeviceLoss::None;
uint32_t g_refusedFlags = 0;
uint32_t g_refusedTextureFormat = 0;
bool g_refusedBuffers = false;
uint32_t g_refusedLocks = 0;

}  // namespace

void SetDefaultBackend(Backend backend) { g_backend = backend; }
Backend GetDefaultBackend() { return g_backend; }

Direct3D* Direct3DCreate8(uint32_t sdkVersion) {
  if (sdkVersion != D3D_SDK_VERSION) return nullptr;
  return CreateDirect3D(g_backend);
}

Direct3D* CreateDirect3D(Backend backend) { return new Direct3DCore(backend); }

void SimulateDeviceLoss(DeviceLoss state) { g_loss = state; }
DeviceLoss GetSimulatedDeviceLoss() { return g_loss; }
void SetRefusedBehaviorFlags(uint32_t mask) { g_refusedFlags = mask; }
uint32_t GetRefusedBehaviorFlags() { return g_refusedFlags; }
void SetRefusedTextureFormat(uint32_t format) { g_refusedTextureFormat = format; }
uint32_t GetRefusedTextureFormat() { return g_refusedTextureFormat; }
void SetRefusedBufferCreation(bool refuse) { g_refusedBuffers = refuse; }
bool GetRefusedBufferCreation() { return g_refusedBuffers; }
void SetRefusedLocks(uint32_t kinds) { g_refusedLocks = kinds; }
uint32_t GetRefusedLocks() { return g_refusedLocks; }

}  // namespace platform::gfx
