#include "platform/graphics/RecordDevice.h"

#include <algorithm>
#include <cstring>

#include "platform/graphics/PixelFormat.h"

namespace platform::gfx {
namespace {

class RecordDevice final : public DeviceCore {
 public:
  RecordDevice(Direct3DCore* d3d, const PresentParameters& params, uint32_t flags) : DeviceCore(d3d, params, flags) {
    SetLogging(true);
  }
  ~RecordDevice() override { DestroySwapChain(); }

  bool KeepsPixelsInBackend(uint32_t, uint32_t, CoreSurface::Kind) const override { return false; }

 protected:
  CoreStatus BackendClear(uint32_t count, const Rect* rects, uint32_t flags, uint32_t color, float,
                          uint32_t) override {
    CoreSurface* target = renderTarget();
    if (!(flags & D3DCLEAR_TARGET) || !target || IsBlockCompressed(target->desc().format)) return D3D_OK;
    const Viewport& vp = viewport();
    const Rect whole{int32_t(vp.x), int32_t(vp.y), int32_t(vp.x + vp.width), int32_t(vp.y + vp.height)};
    const uint32_t bpp = BytesPerPixel(target->desc().format);
    for (uint32_t i = 0; i < std::max(count, 1u); ++i) {
      Rect r = whole;
      if (count) {
        r.left = std::max(r.left, rects[i].left);
        r.top = std::max(r.top, rects[i].top);
        r.right = std::min(r.right, rects[i].right);
        r.bottom = std::min(r.bottom, rects[i].bottom);
      }
      for (int32_t y = r.top; y < r.bottom; ++y)
        for (int32_t x = r.left; x < r.right; ++x)
          WriteArgb(target->desc().format, target->memory().data() + size_t(y) * target->pitch() + size_t(x) * bpp,
                    color);
    }
    return D3D_OK;
  }

  CoreStatus BackendDraw(const DrawCall&) override { return D3D_OK; }

  CoreStatus BackendPresent() override {
    CoreSurface* back = backBufferSurface();
    const SurfaceDesc& d = back->desc();
    front_.assign(size_t(d.width) * d.height, 0);
    DecodeToArgb(d.format, back->memory().data(), back->pitch(), d.width, d.height, front_.data());
    return D3D_OK;
  }

  bool BackendFrontBuffer(std::vector<uint32_t>* pixels) override {
    const SurfaceDesc& d = backBufferSurface()->desc();
    if (front_.size() != size_t(d.width) * d.height) front_.assign(size_t(d.width) * d.height, 0xFF000000u);
    *pixels = front_;
    return true;
  }

 private:
  std::vector<uint32_t> front_;
};

}  // namespace

CoreStatus CreateRecordDevice(Direct3DCore* d3d, const PresentParameters& params, uint32_t behaviorFlags,
                              DeviceCore** device) {
  auto* d = new RecordDevice(d3d, params, behaviorFlags);
  const CoreStatus r = d->InitSwapChain();
  if (status::Failed(r)) {
    d->Release();
    return r;
  }
  *device = d;
  return D3D_OK;
}

CallLog* GetCallLog(Device* device) {
  auto* core = dynamic_cast<DeviceCore*>(device);
  return core ? core->callLog() : nullptr;
}

}  // namespace platform::gfx
