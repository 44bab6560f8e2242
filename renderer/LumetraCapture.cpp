// Screen captures: the save-game thumbnail (a 256 x 192 DXT1 DDS held in
// memory) and the screenshot (a 24-bit BMP file). Both read the last
// presented frame, which the device keeps whole, so what is saved is what
// the player saw, whatever the swap effect did to the back buffer since.
#include <cstring>

#include "platform/graphics/GfxDevice.h"
#include "platform/graphics/ImageUtil.h"
#include "renderer/Lumetra.h"

namespace gfx = platform::gfx;

namespace {
constexpr uint32_t kThumbnailWidth = 256;
constexpr uint32_t kThumbnailHeight = 192;
constexpr uint32_t kColourKey = 0x76475235;

// Sets the alpha byte of every pixel of a locked A8R8G8B8 surface to 255,
// row by row at the surface's own pitch.
bool MakeOpaque(gfx::Surface* surface, uint32_t width, uint32_t height) {
  gfx::LockedRect locked;
  if (status::Failed(surface->LockRect(&locked, nullptr, 0)) || !locked.bits) return false;
  auto* rows = static_cast<uint8_t*>(locked.bits);
  for (uint32_t y = 0; y < height; ++y) {
    uint8_t* row = rows + static_cast<size_t>(y) * static_cast<uint32_t>(locked.pitch);
    for (uint32_t x = 0; x < width; ++x) row[x * 4 + 3] = 0xFF;
  }
  surface->UnlockRect();
  return true;
}

// Releases a device object at scope exit.
template <typename T>
struct Held {
  T* object = nullptr;
  ~Held() {
    if (object) object->Release();
  }
};
}  // namespace

bool Lumetra::BackBufferSize(uint32_t* width, uint32_t* height) {
  gfx::Surface* back = nullptr;
  if (status::Failed(device_->GetBackBuffer(0, gfx::D3DBACKBUFFER_TYPE_MONO, &back)) || !back) return false;
  gfx::SurfaceDesc desc;
  const CoreStatus described = back->GetDesc(&desc);
  back->Release();
  if (status::Failed(described) || desc.width == 0 || desc.height == 0) return false;
  *width = desc.width;
  *height = desc.height;
  return true;
}

gfx::Surface* Lumetra::CaptureFrontBuffer() {
  uint32_t width = 0, height = 0;
  if (!BackBufferSize(&width, &height)) return nullptr;
  gfx::Surface* frame = nullptr;
  if (status::Failed(device_->CreateImageSurface(width, height, gfx::D3DFMT_A8R8G8B8, &frame)) || !frame)
    return nullptr;
  if (status::Failed(device_->GetFrontBuffer(frame)) || !MakeOpaque(frame, width, height)) {
    frame->Release();
    return nullptr;
  }
  return frame;
}

bool Lumetra::CaptureScreen(uint8_t** data, uint32_t* size) {
  if (!data || !size) return false;
  *data = nullptr;
  *size = 0;
  if (!d3d_ || !device_) return false;
  Held<gfx::Surface> frame{CaptureFrontBuffer()};
  if (!frame.object) return false;
  Held<gfx::Surface> thumbnail;
  if (status::Failed(
          device_->CreateImageSurface(kThumbnailWidth, kThumbnailHeight, gfx::D3DFMT_DXT1, &thumbnail.object)) ||
      !thumbnail.object)
    return false;
  if (status::Failed(gfx::LoadSurfaceFromSurface(thumbnail.object, nullptr, frame.object, nullptr,
                                                 gfx::D3DX_FILTER_POINT, kColourKey)))
    return false;
  // The DDS bytes are made in memory: no temporary file in the working
  // directory to clobber, or to fail on when that directory is read-only.
  std::vector<uint8_t> bytes;
  if (status::Failed(gfx::SaveSurfaceToMemory(gfx::D3DXIFF_DDS, thumbnail.object, nullptr, &bytes)) ||
      bytes.empty())
    return false;
  auto* copy = new (std::nothrow) uint8_t[bytes.size()];
  if (!copy) return false;
  std::memcpy(copy, bytes.data(), bytes.size());
  *data = copy;
  *size = static_cast<uint32_t>(bytes.size());
  return true;
}

bool Lumetra::SaveScreenshot(const std::string& fileName) {
  if (!d3d_ || !device_ || fileName.empty()) return false;
  Held<gfx::Surface> frame{CaptureFrontBuffer()};
  if (!frame.object) return false;
  gfx::SurfaceDesc desc;
  if (status::Failed(frame.object->GetDesc(&desc))) return false;
  Held<gfx::Surface> rgb;
  if (status::Failed(device_->CreateImageSurface(desc.width, desc.height, gfx::D3DFMT_R8G8B8, &rgb.object)) ||
      !rgb.object)
    return false;
  if (status::Failed(gfx::LoadSurfaceFromSurface(rgb.object, nullptr, frame.object, nullptr, gfx::D3DX_FILTER_POINT,
                                                 kColourKey)))
    return false;
  return status::Succeeded(gfx::SaveSurfaceToFile(fileName, gfx::D3DXIFF_BMP, rgb.object, nullptr));
}
