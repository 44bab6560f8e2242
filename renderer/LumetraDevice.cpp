// The graphics interface and device behind the renderer: adapters and their
// modes, mode checks, device creation with falling-back vertex processing,
// reset, release, the capability query and the error report.
#include <algorithm>
#include <cstring>

#include "platform/DebugOutput.h"
#include "platform/graphics/ErrorNames.h"
#include "platform/graphics/GfxDevice.h"
#include "platform/window/Window.h"
#include "renderer/DisplayFormats.h"
#include "renderer/Lumetra.h"
#include "renderer/models/DX8Model.h"

namespace gfx = platform::gfx;
using lumetra::ColourWidths;

namespace {

ColourWidths RecordWidths(const C3DDisplayMode& mode) {
  const auto bits = [&](int i) { return static_cast<uint32_t>(mode.channelBits[i]); };
  return ColourWidths{bits(0), bits(1), bits(2), bits(3), bits(4)};
}

bool SameMode(const C3DModeEntry& entry, uint32_t width, uint32_t height, const ColourWidths& w) {
  return entry.width == width && entry.height == height && entry.redBits == w.red && entry.greenBits == w.green &&
         entry.blueBits == w.blue && entry.alphaBits == w.alpha && entry.xBits == w.x;
}

// The three ways of creating the device, in the order they are tried, with
// the vertex-processing bytes each leaves on success.
struct CreationTry {
  uint32_t flags;
  bool hardware;
  bool software;
};
constexpr CreationTry kCreationTries[] = {
    {gfx::D3DCREATE_HARDWARE_VERTEXPROCESSING | gfx::D3DCREATE_MULTITHREADED, true, false},
    {gfx::D3DCREATE_MIXED_VERTEXPROCESSING | gfx::D3DCREATE_MULTITHREADED, true, true},
    {gfx::D3DCREATE_SOFTWARE_VERTEXPROCESSING | gfx::D3DCREATE_MULTITHREADED, false, true},
};

}  // namespace

void Lumetra::ReportError(CoreStatus code) const {
  if (code == 0) return;
  platform::DebugPrintf("%s%s\n", kErrorPrefix, gfx::GetErrorName(code));
}

int32_t Lumetra::EnumerateAdapters() {
  adapters_.clear();
  if (!d3d_) return 0;
  const int32_t count = static_cast<int32_t>(d3d_->GetAdapterCount());
  if (count < 1) return count;
  adapters_.resize(static_cast<size_t>(count));
  for (uint32_t a = 0; a < static_cast<uint32_t>(count); ++a) {
    C3DAdapter& adapter = adapters_[a];
    gfx::AdapterIdentifier id;
    if (status::Succeeded(d3d_->GetAdapterIdentifier(a, 0, &id))) {
      adapter.driver.assign(id.driver, strnlen(id.driver, sizeof id.driver));
      adapter.description.assign(id.description, strnlen(id.description, sizeof id.description));
    }
    const uint32_t modeCount = d3d_->GetAdapterModeCount(a);
    for (uint32_t m = 0; m < modeCount; ++m) {
      gfx::DisplayMode mode;
      if (status::Failed(d3d_->EnumAdapterModes(a, m, &mode))) continue;
      const ColourWidths w = lumetra::WidthsFromColourFormat(mode.format);
      const bool known = std::any_of(adapter.modes.begin(), adapter.modes.end(), [&](const C3DModeEntry& e) {
        return SameMode(e, mode.width, mode.height, w);
      });
      if (!known) adapter.modes.push_back(C3DModeEntry{mode.width, mode.height, w.red, w.green, w.blue, w.alpha, w.x});
    }
    adapter.desktopMode = -1;
    gfx::DisplayMode desktop;
    if (status::Succeeded(d3d_->GetAdapterDisplayMode(a, &desktop))) {
      const ColourWidths w = lumetra::WidthsFromColourFormat(desktop.format);
      for (size_t i = 0; i < adapter.modes.size(); ++i) {
        if (SameMode(adapter.modes[i], desktop.width, desktop.height, w)) {
          adapter.desktopMode = static_cast<int32_t>(i);
          break;
        }
      }
    }
  }
  return count;
}

int32_t Lumetra::GetModeList(C3DAdapter** adapters) {
  if (adapters) *adapters = adapters_.empty() ? nullptr : adapters_.data();
  return static_cast<int32_t>(adapters_.size());
}

void Lumetra::FreeModeList() { adapters_.clear(); }

bool Lumetra::CheckMode(const C3DDisplayMode* mode) {
  if (!mode || !d3d_ || device_) return false;
  const uint32_t format = lumetra::ColourFormatFromWidths(RecordWidths(*mode));
  return d3d_->CheckDeviceType(static_cast<uint32_t>(mode->adapter), gfx::D3DDEVTYPE_HAL, format, format,
                               mode->windowed != 0) == 0;
}

bool Lumetra::BuildPresentParameters(const C3DDisplayMode* mode, gfx::PresentParameters* params) {
  if (!mode || !d3d_) return false;
  *params = gfx::PresentParameters{};
  params->backBufferWidth = static_cast<uint32_t>(mode->width);
  params->backBufferHeight = static_cast<uint32_t>(mode->height);
  params->backBufferFormat = lumetra::ColourFormatFromWidths(RecordWidths(*mode));
  params->backBufferCount = static_cast<uint32_t>(mode->backBufferCount);
  params->multiSampleType = mode->multiSampleType >= 2 && mode->multiSampleType <= 16
                                ? static_cast<uint32_t>(mode->multiSampleType)
                                : gfx::D3DMULTISAMPLE_NONE;
  params->swapEffect = gfx::D3DSWAPEFFECT_DISCARD;
  params->deviceWindow = const_cast<platform::NativeWindow*>(platform::GetNativeWindow(window_));
  params->windowed = mode->windowed != 0;
  params->enableAutoDepthStencil = true;
  params->autoDepthStencilFormat =
      lumetra::DepthFormatFromWidths(static_cast<uint32_t>(mode->depthBits), static_cast<uint32_t>(mode->stencilBits),
                                     static_cast<uint32_t>(mode->paddingBits));
  params->flags = 0;
  params->fullScreenRefreshRate = gfx::D3DPRESENT_RATE_DEFAULT;
  params->presentationInterval = gfx::D3DPRESENT_INTERVAL_DEFAULT;
  return true;
}

CoreStatus Lumetra::CreateDevice(const C3DDisplayMode* mode) {
  gfx::PresentParameters params;
  if (!BuildPresentParameters(mode, &params)) return status::Fail;
  // A second creation replaces the device rather than leaking it.
  if (device_) {
    device_->Release();
    device_ = nullptr;
  }
  CoreStatus result = status::Fail;
  for (const CreationTry& attempt : kCreationTries) {
    gfx::PresentParameters tried = params;
    gfx::Device* created = nullptr;
    result = d3d_->CreateDevice(static_cast<uint32_t>(mode->adapter), gfx::D3DDEVTYPE_HAL, tried.deviceWindow,
                                attempt.flags, &tried, &created);
    if (status::Succeeded(result) && created) {
      device_ = created;
      params_ = tried;
      hardwareVertexProcessing_ = attempt.hardware;
      softwareVertexProcessing_ = attempt.software;
      SetupDevice(mode);
      PrepareMetricsOverlay();
      return status::Ok;
    }
    if (created) created->Release();
  }
  softwareVertexProcessing_ = false;
  hardwareVertexProcessing_ = false;
  ReportError(status::Failed(result) ? result : status::Fail);
  device_ = nullptr;
  return status::Fail;
}

void Lumetra::SetupDevice(const C3DDisplayMode* mode) {
  mode_ = *mode;
  states_.FullFlush(device_, wireframe_);
  states_.SetupStages(device_);
  caps_ = gfx::Caps{};
  device_->GetDeviceCaps(&caps_);
}

bool Lumetra::ResetDevice(const C3DDisplayMode* mode) {
  gfx::PresentParameters params;
  if (!BuildPresentParameters(mode, &params) || !device_) return false;
  // Buffers in the device's own pool do not survive a reset: their models
  // let them go now and make them again when next drawn.
  for (uint32_t i = 0; i < models_.UsedCount(); ++i)
    if (auto* model = dynamic_cast<DX8Model*>(models_.Get(i))) model->ReleaseDeviceBuffers();
  const CoreStatus result = device_->Reset(&params);
  if (status::Succeeded(result)) {
    params_ = params;
    SetupDevice(mode);
    PrepareMetricsOverlay();
    return true;
  }
  ReportError(result);
  device_->Release();
  device_ = nullptr;
  sceneOpen_ = false;
  return false;
}

bool Lumetra::ReleaseDevice() {
  if (!d3d_ || !device_) return false;
  sceneOpen_ = false;  // a scene of the released device ends with it
  lastTextures_.fill(nullptr);
  lastStream_ = nullptr;
  ReleaseOverlayObjects();
  // Resources already given up go now, while their device still exists.
  fonts_.FlushPending();
  images_.FlushPending();
  lights_.FlushPending();
  models_.FlushPending();
  shaders_.FlushPending();
  // Shaders deleted just now gave back their layer images.
  images_.FlushPending();
  device_->Release();
  device_ = nullptr;
  return true;
}

uint32_t Lumetra::ComputeCapability(int32_t index) {
  // The capabilities describe the device; none are known without one.
  if (!device_) return 0;
  switch (index) {
    case 0: return std::min(caps_.maxTextureWidth, caps_.maxTextureHeight);
    case 1: return caps_.maxVertexIndex;
    case 2: return caps_.maxPrimitiveCount;
    case 3: return device_->GetAvailableTextureMem();
    default: return 0;
  }
}

CoreStatus Lumetra::GetCapability(int32_t index, uint32_t* value) {
  if (index < 0 || index > 3 || !value) return status::Fail;
  *value = ComputeCapability(index);
  return status::Ok;
}

bool Lumetra::GetFlagB() { return hardwareVertexProcessing_; }
