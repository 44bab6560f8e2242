// Surfaces, textures and buffers of the shared device core.
#include <algorithm>
#include <cstring>

#include "platform/DebugOutput.h"
#include "platform/graphics/DeviceCore.h"
#include "platform/graphics/GfxFactory.h"
#include "platform/graphics/PixelFormat.h"

namespace platform::gfx {

// --- CoreSurface ----------------------------------------------------------------

CoreSurface::CoreSurface(DeviceCore* device, Kind kind, const SurfaceDesc& desc, bool pixelsInBackend,
                         CoreTexture* texture, uint32_t level)
    : device_(device),
      kind_(kind),
      desc_(desc),
      pitch_(IsDepthFormat(desc.format) ? desc.width * DepthBytes(desc.format) : RowPitch(desc.format, desc.width)),
      pixelsInBackend_(pixelsInBackend),
      texture_(texture),
      level_(level) {
  desc_.size = static_cast<uint32_t>(uint64_t(pitch_) * StorageRows(desc.format, desc.height));
  if (!pixelsInBackend_) memory_.assign(desc_.size, 0);
}

CoreSurface::~CoreSurface() {
  if (!texture_) {
    device_->ForgetResource(this);
    device_->BackendDestroySurface(this);
  }
}

uint32_t CoreSurface::AddRef() {
  if (texture_) return texture_->AddRef();
  if (ownedByDevice) return device_->AddRef();
  return ++refs_;
}

uint32_t CoreSurface::Release() {
  if (texture_) return texture_->Release();
  if (ownedByDevice) return device_->Release();
  if (--refs_ != 0) return refs_;
  DeviceCore* device = device_;
  delete this;
  device->Release();
  return 0;
}

CoreStatus CoreSurface::GetDevice(Device** device) {
  if (!device) return D3DERR_INVALIDCALL;
  device_->AddRef();
  *device = device_;
  return D3D_OK;
}

CoreStatus CoreSurface::GetDesc(SurfaceDesc* desc) {
  if (!desc) return D3DERR_INVALIDCALL;
  *desc = desc_;
  return D3D_OK;
}

CoreStatus CoreSurface::LockRect(LockedRect* locked, const Rect* rect, uint32_t flags) {
  if (!locked || locked_ || IsDepthFormat(desc_.format)) return D3DERR_INVALIDCALL;
  if (GetRefusedLocks() & kRefuseSurfaceLocks) return D3DERR_INVALIDCALL;
  Rect r{0, 0, int32_t(desc_.width), int32_t(desc_.height)};
  if (rect) {
    r = *rect;
    if (r.left < 0 || r.top < 0 || r.left >= r.right || r.top >= r.bottom || r.right > int32_t(desc_.width) ||
        r.bottom > int32_t(desc_.height)) {
      DebugPrintf("graphics: lock rectangle (%d,%d)-(%d,%d) is outside the %ux%u surface\n", r.left, r.top,
                  r.right, r.bottom, desc_.width, desc_.height);
      return D3DERR_INVALIDCALL;
    }
    if (IsBlockCompressed(desc_.format) &&
        (r.left % 4 || r.top % 4 || (r.right % 4 && r.right != int32_t(desc_.width)) ||
         (r.bottom % 4 && r.bottom != int32_t(desc_.height))))
      return D3DERR_INVALIDCALL;
  }
  uint8_t* base = nullptr;
  if (pixelsInBackend_) {
    if (!device_->BackendReadSurface(this, &lockScratch_)) return D3DERR_INVALIDCALL;
    base = lockScratch_.data();
  } else {
    base = memory_.data();
  }
  size_t offset;
  if (IsBlockCompressed(desc_.format))
    offset = size_t(r.top / 4) * pitch_ + size_t(r.left / 4) * 8;
  else
    offset = size_t(r.top) * pitch_ + size_t(r.left) * BytesPerPixel(desc_.format);
  locked->pitch = int32_t(pitch_);
  locked->bits = base + offset;
  locked_ = true;
  lockFlags_ = flags;
  return D3D_OK;
}

CoreStatus CoreSurface::UnlockRect() {
  if (!locked_) return D3DERR_INVALIDCALL;
  locked_ = false;
  if (lockFlags_ & D3DLOCK_READONLY) {
    if (pixelsInBackend_) lockScratch_.clear();
    return D3D_OK;
  }
  if (pixelsInBackend_) {
    device_->BackendWriteSurface(this, lockScratch_);
    lockScratch_.clear();
  } else if (texture_) {
    device_->BackendUploadLevel(texture_, level_);
  }
  return D3D_OK;
}

bool CoreSurface::ReadPixels(std::vector<uint8_t>* out) {
  if (pixelsInBackend_) return device_->BackendReadSurface(this, out);
  *out = memory_;
  return true;
}

bool CoreSurface::WritePixels(const std::vector<uint8_t>& pixels) {
  if (pixels.size() != desc_.size) return false;
  if (pixelsInBackend_) return device_->BackendWriteSurface(this, pixels);
  memory_ = pixels;
  if (texture_) device_->BackendUploadLevel(texture_, level_);
  return true;
}

// --- CoreTexture ----------------------------------------------------------------

CoreTexture::CoreTexture(DeviceCore* device, uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                         uint32_t format, uint32_t pool, bool pixelsInBackend)
    : device_(device), width_(width), height_(height), usage_(usage), format_(format), pool_(pool) {
  for (uint32_t i = 0; i < levels; ++i) {
    SurfaceDesc desc;
    desc.format = format;
    desc.usage = usage;
    desc.pool = pool;
    desc.width = std::max(1u, width >> i);
    desc.height = std::max(1u, height >> i);
    levels_.push_back(std::make_unique<CoreSurface>(device, CoreSurface::Kind::TextureLevel, desc,
                                                    pixelsInBackend, this, i));
  }
}

CoreTexture::~CoreTexture() {
  device_->ForgetResource(this);
  device_->BackendDestroyTexture(this);
}

uint32_t CoreTexture::Release() {
  if (--refs_ != 0) return refs_;
  DeviceCore* device = device_;
  delete this;
  device->Release();
  return 0;
}

CoreStatus CoreTexture::GetDevice(Device** device) {
  if (!device) return D3DERR_INVALIDCALL;
  device_->AddRef();
  *device = device_;
  return D3D_OK;
}

CoreStatus CoreTexture::GetLevelDesc(uint32_t level, SurfaceDesc* desc) {
  if (level >= levels_.size()) return D3DERR_INVALIDCALL;
  return levels_[level]->GetDesc(desc);
}

CoreStatus CoreTexture::GetSurfaceLevel(uint32_t level, Surface** surface) {
  if (!surface || level >= levels_.size()) return D3DERR_INVALIDCALL;
  AddRef();
  *surface = levels_[level].get();
  return D3D_OK;
}

CoreStatus CoreTexture::LockRect(uint32_t level, LockedRect* locked, const Rect* rect, uint32_t flags) {
  if (level >= levels_.size()) return D3DERR_INVALIDCALL;
  return levels_[level]->LockRect(locked, rect, flags);
}

CoreStatus CoreTexture::UnlockRect(uint32_t level) {
  if (level >= levels_.size()) return D3DERR_INVALIDCALL;
  return levels_[level]->UnlockRect();
}

// --- buffers ---------------------------------------------------------------------

CoreBuffer::CoreBuffer(DeviceCore* device, uint32_t length, uint32_t usage, uint32_t format, uint32_t fvf,
                       uint32_t pool, uint32_t type)
    : device_(device), usage_(usage), format_(format), fvf_(fvf), pool_(pool), type_(type), bytes_(length, 0) {}

CoreBuffer::~CoreBuffer() {
  device_->ForgetResource(this);
  device_->BackendDestroyBuffer(this);
}

CoreStatus CoreBuffer::LockBytes(uint32_t offset, uint32_t size, uint8_t** data, uint32_t flags) {
  if (!data || locked_) return D3DERR_INVALIDCALL;
  if (GetRefusedLocks() & kRefuseBufferLocks) return D3DERR_INVALIDCALL;
  if (size == 0 && offset == 0) size = length();
  if (offset > length() || size > length() - offset) {
    DebugPrintf("graphics: buffer lock of %u bytes at %u is outside its %u bytes\n", size, offset, length());
    return D3DERR_INVALIDCALL;
  }
  locked_ = true;
  lockOffset_ = offset;
  lockSize_ = size;
  lockFlags_ = flags;
  *data = bytes_.data() + offset;
  return D3D_OK;
}

CoreStatus CoreBuffer::UnlockBytes() {
  if (!locked_) return D3DERR_INVALIDCALL;
  locked_ = false;
  if (!(lockFlags_ & D3DLOCK_READONLY) && lockSize_) device_->BackendUploadBuffer(this, lockOffset_, lockSize_);
  return D3D_OK;
}

void CoreBuffer::Describe(BufferDesc* desc) const {
  desc->format = format_;
  desc->type = type_;
  desc->usage = usage_;
  desc->pool = pool_;
  desc->size = length();
  desc->fvf = fvf_;
}

uint32_t CoreBuffer::ReleaseBuffer() {
  if (--refs_ != 0) return refs_;
  DeviceCore* device = device_;
  delete this;
  device->Release();
  return 0;
}

CoreStatus CoreBuffer::DeviceOf(Device** device) {
  if (!device) return D3DERR_INVALIDCALL;
  device_->AddRef();
  *device = device_;
  return D3D_OK;
}

}  // namespace platform::gfx
