#include "platform/graphics/ImageUtil.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <set>
#include <string>

#include "platform/DebugOutput.h"
#include "platform/DurableSave.h"
#include "platform/FileRead.h"
#include "platform/Paths.h"
#include "platform/graphics/BmpFile.h"
#include "platform/graphics/DdsFile.h"
#include "platform/graphics/PixelFormat.h"

namespace platform::gfx {
namespace {

bool ValidRect(const Rect& r, const SurfaceDesc& d) {
  return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom && r.right <= int32_t(d.width) &&
         r.bottom <= int32_t(d.height);
}

// The whole surface as A8R8G8B8 words.
CoreStatus ReadArgbSurface(Surface* s, const SurfaceDesc& d, std::vector<uint32_t>* out) {
  LockedRect lr;
  const CoreStatus r = s->LockRect(&lr, nullptr, D3DLOCK_READONLY);
  if (status::Failed(r)) return r;
  out->assign(size_t(d.width) * d.height, 0);
  const bool ok = DecodeToArgb(d.format, static_cast<const uint8_t*>(lr.bits), uint32_t(lr.pitch), d.width, d.height,
                               out->data());
  s->UnlockRect();
  return ok ? D3D_OK : D3DERR_INVALIDCALL;
}

std::vector<uint32_t> Crop(const std::vector<uint32_t>& all, uint32_t width, const Rect& r) {
  const uint32_t w = uint32_t(r.right - r.left), h = uint32_t(r.bottom - r.top);
  std::vector<uint32_t> out(size_t(w) * h);
  for (uint32_t y = 0; y < h; ++y)
    std::memcpy(&out[size_t(y) * w], &all[size_t(r.top + y) * width + r.left], size_t(w) * 4);
  return out;
}

bool IsDdsLayout(uint32_t f) {
  return f == D3DFMT_A8R8G8B8 || f == D3DFMT_X8R8G8B8 || f == D3DFMT_A4R4G4B4 || f == D3DFMT_R5G6B5 ||
         f == D3DFMT_DXT1;
}

CoreStatus WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) {
  std::string why;
  if (!platform::SaveFileDurably(name, bytes.data(), bytes.size(), &why)) {
    DebugPrintf("graphics: cannot write \"%s\": %s\n", name.c_str(), why.c_str());
    return E_FAIL;
  }
  return D3D_OK;
}

}  // namespace

CoreStatus LoadSurfaceFromSurface(Surface* destination, const Rect* dstRect, Surface* source, const Rect* srcRect,
                                  uint32_t filter, uint32_t colorKey) {
  if (!destination || !source) return D3DERR_INVALIDCALL;
  SurfaceDesc sd, dd;
  source->GetDesc(&sd);
  destination->GetDesc(&dd);
  const Rect sr = srcRect ? *srcRect : Rect{0, 0, int32_t(sd.width), int32_t(sd.height)};
  Rect dr = dstRect ? *dstRect : Rect{0, 0, int32_t(dd.width), int32_t(dd.height)};
  if (!ValidRect(sr, sd) || !ValidRect(dr, dd) || !IsColorFormat(sd.format) || !IsColorFormat(dd.format))
    return D3DERR_INVALIDCALL;
  std::vector<uint32_t> all;
  CoreStatus r = ReadArgbSurface(source, sd, &all);
  if (status::Failed(r)) return r;
  const std::vector<uint32_t> src = Crop(all, sd.width, sr);
  const uint32_t sw = uint32_t(sr.right - sr.left), sh = uint32_t(sr.bottom - sr.top);
  if ((filter & 0xFF) == D3DX_FILTER_NONE) {
    dr.right = std::min(dr.right, dr.left + int32_t(sw));
    dr.bottom = std::min(dr.bottom, dr.top + int32_t(sh));
  }
  const uint32_t dw = uint32_t(dr.right - dr.left), dh = uint32_t(dr.bottom - dr.top);
  std::vector<uint32_t> out(size_t(dw) * dh);
  for (uint32_t y = 0; y < dh; ++y) {
    const uint32_t sy = std::min(sh - 1, uint32_t((uint64_t(y) * 2 + 1) * sh / (uint64_t(dh) * 2)));
    for (uint32_t x = 0; x < dw; ++x) {
      const uint32_t sx = std::min(sw - 1, uint32_t((uint64_t(x) * 2 + 1) * sw / (uint64_t(dw) * 2)));
      uint32_t c = (filter & 0xFF) == D3DX_FILTER_NONE ? src[size_t(y) * sw + x] : src[size_t(sy) * sw + sx];
      if (colorKey != 0 && c == colorKey) c = 0;
      out[size_t(y) * dw + x] = c;
    }
  }
  LockedRect lr;
  r = destination->LockRect(&lr, &dr, 0);
  if (status::Failed(r)) return r;
  const bool ok = EncodeFromArgb(dd.format, out.data(), dw, dh, static_cast<uint8_t*>(lr.bits), uint32_t(lr.pitch));
  destination->UnlockRect();
  return ok ? D3D_OK : D3DERR_INVALIDCALL;
}

CoreStatus SaveSurfaceToMemory(uint32_t fileFormat, Surface* source, const Rect* srcRect, std::vector<uint8_t>* out) {
  if (!source || !out || (fileFormat != D3DXIFF_BMP && fileFormat != D3DXIFF_DDS)) return D3DERR_INVALIDCALL;
  SurfaceDesc d;
  source->GetDesc(&d);
  const Rect whole{0, 0, int32_t(d.width), int32_t(d.height)};
  const Rect r = srcRect ? *srcRect : whole;
  if (!ValidRect(r, d) || !IsColorFormat(d.format)) return D3DERR_INVALIDCALL;
  const uint32_t w = uint32_t(r.right - r.left), h = uint32_t(r.bottom - r.top);
  if (fileFormat == D3DXIFF_DDS && IsDdsLayout(d.format) && std::memcmp(&r, &whole, sizeof r) == 0) {
    // The surface's own bytes, as they are.
    LockedRect lr;
    const CoreStatus s = source->LockRect(&lr, nullptr, D3DLOCK_READONLY);
    if (status::Failed(s)) return s;
    DdsImage image;
    image.format = d.format;
    image.width = d.width;
    image.height = d.height;
    const uint32_t rowBytes = RowPitch(d.format, d.width);
    image.levels.emplace_back();
    for (uint32_t y = 0; y < StorageRows(d.format, d.height); ++y) {
      const auto* row = static_cast<const uint8_t*>(lr.bits) + size_t(y) * uint32_t(lr.pitch);
      image.levels[0].insert(image.levels[0].end(), row, row + rowBytes);
    }
    source->UnlockRect();
    return WriteDds(image, out) ? D3D_OK : D3DERR_INVALIDCALL;
  }
  std::vector<uint32_t> all;
  const CoreStatus s = ReadArgbSurface(source, d, &all);
  if (status::Failed(s)) return s;
  const std::vector<uint32_t> pixels = Crop(all, d.width, r);
  if (fileFormat == D3DXIFF_BMP) return WriteBmp24(pixels.data(), w, h, out) ? D3D_OK : D3DERR_INVALIDCALL;
  // Other layouts, or a part of a surface, go out as A8R8G8B8.
  DdsImage image;
  image.format = D3DFMT_A8R8G8B8;
  image.width = w;
  image.height = h;
  image.levels.emplace_back(size_t(w) * h * 4);
  std::memcpy(image.levels[0].data(), pixels.data(), image.levels[0].size());
  return WriteDds(image, out) ? D3D_OK : D3DERR_INVALIDCALL;
}

CoreStatus SaveSurfaceToFile(const std::string& name, uint32_t fileFormat, Surface* source, const Rect* srcRect) {
  std::vector<uint8_t> bytes;
  const CoreStatus r = SaveSurfaceToMemory(fileFormat, source, srcRect, &bytes);
  return status::Failed(r) ? r : WriteFile(name, bytes);
}

CoreStatus SaveTextureToMemory(uint32_t fileFormat, Texture* texture, std::vector<uint8_t>* out) {
  if (!texture || !out || fileFormat != D3DXIFF_DDS) return D3DERR_INVALIDCALL;
  SurfaceDesc d;
  texture->GetLevelDesc(0, &d);
  const uint32_t format = IsDdsLayout(d.format) ? d.format : D3DFMT_A8R8G8B8;
  DdsImage image;
  image.format = format;
  image.width = d.width;
  image.height = d.height;
  for (uint32_t i = 0; i < texture->GetLevelCount(); ++i) {
    SurfaceDesc ld;
    texture->GetLevelDesc(i, &ld);
    LockedRect lr;
    const CoreStatus s = texture->LockRect(i, &lr, nullptr, D3DLOCK_READONLY);
    if (status::Failed(s)) return s;
    std::vector<uint8_t> level(SurfaceBytes(format, ld.width, ld.height));
    const uint32_t rowBytes = RowPitch(format, ld.width);
    if (format == d.format) {
      for (uint32_t y = 0; y < StorageRows(format, ld.height); ++y)
        std::memcpy(level.data() + size_t(y) * rowBytes, static_cast<const uint8_t*>(lr.bits) + size_t(y) * lr.pitch,
                    rowBytes);
    } else {
      std::vector<uint32_t> argb(size_t(ld.width) * ld.height);
      DecodeToArgb(d.format, static_cast<const uint8_t*>(lr.bits), uint32_t(lr.pitch), ld.width, ld.height, argb.data());
      std::memcpy(level.data(), argb.data(), level.size());
    }
    texture->UnlockRect(i);
    image.levels.push_back(std::move(level));
  }
  return WriteDds(image, out) ? D3D_OK : D3DERR_INVALIDCALL;
}

CoreStatus SaveTextureToFile(const std::string& name, uint32_t fileFormat, Texture* texture) {
  std::vector<uint8_t> bytes;
  const CoreStatus r = SaveTextureToMemory(fileFormat, texture, &bytes);
  return status::Failed(r) ? r : WriteFile(name, bytes);
}

CoreStatus CreateTextureFromFileInMemory(Device* device, const void* data, size_t size, Texture** texture) {
  if (!device || !texture) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  DdsImage image;
  if (!ReadDds(static_cast<const uint8_t*>(data), size, &image)) return D3DXERR_INVALIDDATA;
  Texture* t = nullptr;
  CoreStatus r = device->CreateTexture(image.width, image.height, uint32_t(image.levels.size()), 0, image.format,
                                       D3DPOOL_MANAGED, &t);
  if (status::Failed(r)) return r;
  for (uint32_t i = 0; i < image.levels.size(); ++i) {
    SurfaceDesc ld;
    t->GetLevelDesc(i, &ld);
    LockedRect lr;
    r = t->LockRect(i, &lr, nullptr, 0);
    if (status::Failed(r)) {
      t->Release();
      return r;
    }
    const uint32_t rowBytes = RowPitch(image.format, ld.width);
    for (uint32_t y = 0; y < StorageRows(image.format, ld.height); ++y)
      std::memcpy(static_cast<uint8_t*>(lr.bits) + size_t(y) * lr.pitch, image.levels[i].data() + size_t(y) * rowBytes,
                  rowBytes);
    t->UnlockRect(i);
  }
  *texture = t;
  return D3D_OK;
}

namespace {

// A texture many materials share is asked for again and again: each file
// that cannot be read is said once, with its folders as they are on disk
// and '/' between them, as the player would type the path.
void ReportUnreadableTexture(const std::string& name, const std::string& why) {
  static std::mutex mutex;
  static std::set<std::string> reported;
  std::string shown;
  if (!platform::ResolvePathForWrite(name, &shown)) {
    shown = name;
    std::replace(shown.begin(), shown.end(), '\\', '/');
  }
  {
    std::lock_guard<std::mutex> lock(mutex);
    if (!reported.insert(shown).second) return;
  }
  DebugPrintf("graphics: \"%s\" %s\n", shown.c_str(), why.c_str());
}

}  // namespace

CoreStatus CreateTextureFromFile(Device* device, const std::string& name, Texture** texture) {
  if (!device || !texture) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  // A 32-bit texture of 8192 x 8192 with all its MIP levels fits well inside.
  constexpr uint64_t kMaxTextureFileBytes = uint64_t{512} << 20;
  std::vector<uint8_t> bytes;
  platform::FileReadError why;
  if (!platform::ReadFileBytes(name, kMaxTextureFileBytes, &bytes, &why)) {
    ReportUnreadableTexture(name, why.text);
    return D3DERR_NOTFOUND;
  }
  return CreateTextureFromFileInMemory(device, bytes.data(), bytes.size(), texture);
}

CoreStatus CreateTexture(Device* device, uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                         uint32_t format, uint32_t pool, Texture** texture) {
  if (!device || !texture) return D3DERR_INVALIDCALL;
  Caps caps;
  device->GetDeviceCaps(&caps);
  if (width == 0 || width == D3DX_DEFAULT) width = 256;
  if (height == 0 || height == D3DX_DEFAULT) height = 256;
  width = std::min(width, caps.maxTextureWidth);
  height = std::min(height, caps.maxTextureHeight);
  if (levels == D3DX_DEFAULT) levels = 0;
  if (!IsColorFormat(format) || ((usage & D3DUSAGE_RENDERTARGET) && IsBlockCompressed(format))) format = D3DFMT_A8R8G8B8;
  return device->CreateTexture(width, height, levels, usage, format, pool, texture);
}

RenderToSurface::RenderToSurface(Device* device, uint32_t width, uint32_t height, uint32_t format, bool depthStencil,
                                 uint32_t depthFormat)
    : device_(device), width_(width), height_(height), format_(format) {
  device_->AddRef();
  if (depthStencil) device_->CreateDepthStencilSurface(width, height, depthFormat, 0, &depth_);
}

RenderToSurface::~RenderToSurface() {
  if (active_) EndScene();
  if (depth_) depth_->Release();
  device_->Release();
}

CoreStatus RenderToSurface::BeginScene(Surface* surface, const Viewport* viewport) {
  if (!surface || active_) return D3DERR_INVALIDCALL;
  SurfaceDesc d;
  surface->GetDesc(&d);
  if (d.width != width_ || d.height != height_ || d.format != format_) return D3DERR_INVALIDCALL;
  device_->GetRenderTarget(&savedTarget_);
  if (status::Failed(device_->GetDepthStencilSurface(&savedDepth_))) savedDepth_ = nullptr;
  device_->GetViewport(&savedViewport_);
  CoreStatus r = device_->SetRenderTarget(surface, depth_);
  if (status::Succeeded(r) && viewport) r = device_->SetViewport(viewport);
  if (status::Succeeded(r)) r = device_->BeginScene();
  active_ = true;
  if (status::Failed(r)) EndScene();
  return r;
}

CoreStatus RenderToSurface::EndScene() {
  if (!active_) return D3DERR_INVALIDCALL;
  active_ = false;
  device_->EndScene();
  const CoreStatus r = device_->SetRenderTarget(savedTarget_, savedDepth_);
  device_->SetViewport(&savedViewport_);
  if (savedTarget_) savedTarget_->Release();
  if (savedDepth_) savedDepth_->Release();
  savedTarget_ = savedDepth_ = nullptr;
  return r;
}

}  // namespace platform::gfx
