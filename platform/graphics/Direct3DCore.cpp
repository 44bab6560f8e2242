// The interface object: one adapter, its fixed mode list, mode checks and
// device creation on the chosen backend.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/DebugOutput.h"
#include "platform/NativeWindow.h"
#include "platform/graphics/DeviceCore.h"
#include "platform/graphics/GlDevice.h"
#include "platform/graphics/PixelFormat.h"
#include "platform/graphics/RecordDevice.h"

namespace platform::gfx {
namespace {

struct Size {
  uint32_t w, h;
};
constexpr Size kModeSizes[] = {{640, 480},   {800, 600},   {1024, 768},  {1152, 864},  {1280, 720},
                               {1280, 960},  {1280, 1024}, {1600, 900},  {1600, 1200}, {1920, 1080}};
constexpr uint32_t kModeFormats[] = {D3DFMT_R5G6B5, D3DFMT_X8R8G8B8};

bool IsDisplayFormat(uint32_t f) { return f == D3DFMT_X8R8G8B8 || f == D3DFMT_R5G6B5 || f == D3DFMT_X1R5G5B5; }

bool BackBufferMatchesDisplay(uint32_t display, uint32_t back) {
  if (back == display) return true;
  return (display == D3DFMT_X8R8G8B8 && back == D3DFMT_A8R8G8B8) ||
         (display == D3DFMT_X1R5G5B5 && back == D3DFMT_A1R5G5B5);
}

void CopyText(char* dst, size_t size, const std::string& text) {
  std::snprintf(dst, size, "%s", text.c_str());
}

}  // namespace

uint32_t Direct3DCore::Release() {
  if (--refs_ != 0) return refs_;
  delete this;
  return 0;
}

std::string Direct3DCore::RendererName() {
  if (rendererName_.empty())
    rendererName_ = backend_ == Backend::Gl ? ProbeGlRendererName() : std::string("Recording device (no pixels)");
  return rendererName_;
}

CoreStatus Direct3DCore::GetAdapterIdentifier(uint32_t adapter, uint32_t, AdapterIdentifier* id) {
  if (adapter != 0 || !id) return D3DERR_INVALIDCALL;
  *id = AdapterIdentifier{};
  CopyText(id->driver, sizeof id->driver, backend_ == Backend::Gl ? "opengl" : "record");
  CopyText(id->description, sizeof id->description, RendererName());
  return D3D_OK;
}

std::vector<DisplayMode> Direct3DCore::Modes() {
  DisplayMode desktop;
  GetAdapterDisplayMode(0, &desktop);
  std::vector<DisplayMode> modes;
  for (uint32_t format : kModeFormats) {
    bool desktopListed = false;
    for (const Size& s : kModeSizes) {
      if (format == desktop.format && !desktopListed &&
          (s.w > desktop.width || (s.w == desktop.width && s.h >= desktop.height))) {
        if (s.w != desktop.width || s.h != desktop.height) modes.push_back(desktop);
        desktopListed = true;
      }
      modes.push_back(DisplayMode{s.w, s.h, 60, format});
    }
    if (format == desktop.format && !desktopListed) modes.push_back(desktop);
  }
  return modes;
}

uint32_t Direct3DCore::GetAdapterModeCount(uint32_t adapter) {
  return adapter == 0 ? static_cast<uint32_t>(Modes().size()) : 0;
}

CoreStatus Direct3DCore::EnumAdapterModes(uint32_t adapter, uint32_t mode, DisplayMode* out) {
  if (adapter != 0 || !out) return D3DERR_INVALIDCALL;
  const auto modes = Modes();
  if (mode >= modes.size()) return D3DERR_INVALIDCALL;
  *out = modes[mode];
  return D3D_OK;
}

CoreStatus Direct3DCore::GetAdapterDisplayMode(uint32_t adapter, DisplayMode* out) {
  if (adapter != 0 || !out) return D3DERR_INVALIDCALL;
  *out = DisplayMode{800, 600, 60, D3DFMT_X8R8G8B8};
  if (displayWindow_ && displayWindow_->width > 0 && displayWindow_->height > 0) {
    out->width = uint32_t(displayWindow_->width);
    out->height = uint32_t(displayWindow_->height);
  } else if (SDL_WasInit(SDL_INIT_VIDEO)) {
    SDL_DisplayMode dm;
    if (SDL_GetDesktopDisplayMode(0, &dm) == 0 && dm.w > 0 && dm.h > 0) {
      out->width = uint32_t(dm.w);
      out->height = uint32_t(dm.h);
    }
  }
  return D3D_OK;
}

CoreStatus Direct3DCore::CheckDeviceType(uint32_t adapter, uint32_t deviceType, uint32_t displayFormat,
                                         uint32_t backBufferFormat, bool) {
  if (adapter != 0 || (deviceType != D3DDEVTYPE_HAL && deviceType != D3DDEVTYPE_REF)) return D3DERR_INVALIDCALL;
  if (!IsDisplayFormat(displayFormat) || !BackBufferMatchesDisplay(displayFormat, backBufferFormat))
    return D3DERR_NOTAVAILABLE;
  return D3D_OK;
}

CoreStatus Direct3DCore::CheckDeviceFormat(uint32_t adapter, uint32_t deviceType, uint32_t, uint32_t usage,
                                           uint32_t resourceType, uint32_t format) {
  if (adapter != 0 || (deviceType != D3DDEVTYPE_HAL && deviceType != D3DDEVTYPE_REF)) return D3DERR_INVALIDCALL;
  if (usage & D3DUSAGE_DEPTHSTENCIL) return IsDepthFormat(format) ? D3D_OK : D3DERR_NOTAVAILABLE;
  if (resourceType != D3DRTYPE_TEXTURE && resourceType != D3DRTYPE_SURFACE) return D3DERR_NOTAVAILABLE;
  if (!IsColorFormat(format)) return D3DERR_NOTAVAILABLE;
  if ((usage & D3DUSAGE_RENDERTARGET) && IsBlockCompressed(format)) return D3DERR_NOTAVAILABLE;
  return D3D_OK;
}

CoreStatus Direct3DCore::GetDeviceCaps(uint32_t adapter, uint32_t deviceType, Caps* caps) {
  if (adapter != 0 || !caps || (deviceType != D3DDEVTYPE_HAL && deviceType != D3DDEVTYPE_REF))
    return D3DERR_INVALIDCALL;
  *caps = Caps{};
  caps->deviceType = deviceType;
  caps->maxTextureWidth = caps->maxTextureHeight = 2048;
  caps->maxTextureBlendStages = caps->maxSimultaneousTextures = kDrawnTextureStages;
  caps->maxActiveLights = 8;
  caps->maxPrimitiveCount = 0xFFFFF;
  caps->maxVertexIndex = 0xFFFF;
  caps->maxStreams = 1;
  caps->maxStreamStride = 255;
  caps->maxPointSize = 64.0f;
  return D3D_OK;
}

bool Direct3DCore::ResolveBackBufferSize(PresentParameters* p) {
  if (p->backBufferWidth == 0 && p->deviceWindow) p->backBufferWidth = uint32_t(std::max(0, p->deviceWindow->width));
  if (p->backBufferHeight == 0 && p->deviceWindow) p->backBufferHeight = uint32_t(std::max(0, p->deviceWindow->height));
  if (p->backBufferFormat == D3DFMT_UNKNOWN) p->backBufferFormat = D3DFMT_X8R8G8B8;
  if (p->backBufferCount == 0) p->backBufferCount = 1;
  const bool formatOk = p->backBufferFormat == D3DFMT_X8R8G8B8 || p->backBufferFormat == D3DFMT_A8R8G8B8 ||
                        p->backBufferFormat == D3DFMT_R5G6B5 || p->backBufferFormat == D3DFMT_X1R5G5B5 ||
                        p->backBufferFormat == D3DFMT_A1R5G5B5;
  if (p->backBufferWidth == 0 || p->backBufferHeight == 0 || p->backBufferWidth > 16384 ||
      p->backBufferHeight > 16384 || !formatOk || p->backBufferCount > 3 || p->swapEffect < D3DSWAPEFFECT_DISCARD ||
      p->swapEffect > D3DSWAPEFFECT_COPY_VSYNC || (p->enableAutoDepthStencil && !IsDepthFormat(p->autoDepthStencilFormat))) {
    DebugPrintf("graphics: presentation parameters refused (%ux%u format %u, %u buffers, swap %u)\n",
                p->backBufferWidth, p->backBufferHeight, p->backBufferFormat, p->backBufferCount, p->swapEffect);
    return false;
  }
  return true;
}

CoreStatus Direct3DCore::CreateDevice(uint32_t adapter, uint32_t deviceType, NativeWindow* focusWindow,
                                      uint32_t behaviorFlags, PresentParameters* params, Device** device) {
  if (!device) return D3DERR_INVALIDCALL;
  *device = nullptr;
  if (adapter != 0 || !params || (deviceType != D3DDEVTYPE_HAL && deviceType != D3DDEVTYPE_REF))
    return D3DERR_INVALIDCALL;
  const uint32_t vp = behaviorFlags & (D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_HARDWARE_VERTEXPROCESSING |
                                       D3DCREATE_MIXED_VERTEXPROCESSING);
  if (vp != D3DCREATE_SOFTWARE_VERTEXPROCESSING && vp != D3DCREATE_HARDWARE_VERTEXPROCESSING &&
      vp != D3DCREATE_MIXED_VERTEXPROCESSING)
    return D3DERR_INVALIDCALL;
  if (behaviorFlags & GetRefusedBehaviorFlags()) return D3DERR_NOTAVAILABLE;
  PresentParameters p = *params;
  if (!p.deviceWindow) p.deviceWindow = focusWindow;
  if (!ResolveBackBufferSize(&p)) return D3DERR_INVALIDCALL;
  DeviceCore* created = nullptr;
  const CoreStatus r = backend_ == Backend::Gl ? CreateGlDevice(this, p, behaviorFlags, &created)
                                               : CreateRecordDevice(this, p, behaviorFlags, &created);
  if (status::Failed(r)) return r;
  params->backBufferWidth = p.backBufferWidth;
  params->backBufferHeight = p.backBufferHeight;
  params->backBufferFormat = p.backBufferFormat;
  *device = created;
  return D3D_OK;
}

}  // namespace platform::gfx
