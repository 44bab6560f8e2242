#include "renderer/resources/DX8Image.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "engine/image/TexTransport.h"
#include "engine/services/C3DResource.h"
#include "platform/graphics/GfxDevice.h"
#include "platform/graphics/ImageUtil.h"
#include "renderer/Lumetra.h"
#include "renderer/formats/RendererImage.h"
#include "renderer/formats/ResampleFilters.h"
#include "renderer/formats/STexture2.h"
#include "renderer/formats/TextureResampler.h"

namespace gfx = platform::gfx;

namespace {

uint16_t Narrow16(uint32_t p) {
  return static_cast<uint16_t>(((p >> 16) & 0xF000u) | ((p >> 12) & 0x0F00u) | ((p >> 8) & 0x00F0u) |
                               ((p >> 4) & 0x000Fu));
}

uint32_t Widen32(uint16_t p) {
  return (uint32_t(p & 0xF000u) << 16) | (uint32_t(p & 0x0F00u) << 12) | (uint32_t(p & 0x00F0u) << 8) |
         (uint32_t(p & 0x000Fu) << 4);
}

// The device texture of the size, A8R8G8B8 first, then A4R4G4B4.
CoreStatus CreateDeviceTexture(gfx::Device* device, uint32_t width, uint32_t height, uint32_t levels,
                               gfx::Texture** texture, uint32_t* format) {
  *format = 0;
  *texture = nullptr;
  if (!device) return status::Fail;
  CoreStatus result = device->CreateTexture(width, height, levels, 0, gfx::D3DFMT_A8R8G8B8, gfx::D3DPOOL_MANAGED,
                                            texture);
  if (status::Succeeded(result) && *texture) {
    *format = gfx::D3DFMT_A8R8G8B8;
    return result;
  }
  *texture = nullptr;
  result = device->CreateTexture(width, height, levels, 0, gfx::D3DFMT_A4R4G4B4, gfx::D3DPOOL_MANAGED, texture);
  if (status::Succeeded(result) && *texture) {
    *format = gfx::D3DFMT_A4R4G4B4;
    return result;
  }
  *texture = nullptr;
  return status::Failed(result) ? result : status::Fail;
}

// Copies width x height pixels into level `level`; false when the level's
// size differs or the lock fails.
CoreStatus FillLevel(gfx::Texture* texture, uint32_t level, uint32_t format, uint32_t width, uint32_t height,
                     const uint32_t* pixels) {
  gfx::SurfaceDesc desc;
  if (status::Failed(texture->GetLevelDesc(level, &desc)) || desc.width != width || desc.height != height)
    return status::Fail;
  gfx::LockedRect locked;
  CoreStatus result = texture->LockRect(level, &locked, nullptr, 0);
  if (status::Failed(result)) return result;
  DX8Image::CopyPixels32(locked.bits, pixels, width, height, static_cast<uint32_t>(locked.pitch), format);
  return texture->UnlockRect(level);
}

void ReleaseTexture(gfx::Texture** texture) {
  if (*texture) (*texture)->Release();
  *texture = nullptr;
}

bool EndsWith(const std::string& s, const char* suffix) {
  const size_t n = std::strlen(suffix);
  return s.size() >= n && s.compare(s.size() - n, n, suffix) == 0;
}

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

DX8Image::DX8Image(Lumetra* owner, uint32_t flags, std::string name)
    : C3DImage(owner, flags, std::move(name)), renderer_(owner) {}

DX8Image::~DX8Image() { ReleaseTexture(&texture_); }

void DX8Image::OnUnreferenced() {
  if (renderer_ && GetRegistryIndex() >= 0) renderer_->RemoveImage(static_cast<uint32_t>(GetRegistryIndex()));
}

void DX8Image::SetTexture(gfx::Texture* texture, uint32_t format, uint32_t width, uint32_t height) {
  if (texture_ != texture) ReleaseTexture(&texture_);
  texture_ = texture;
  format_ = texture ? format : 0;
  width_ = static_cast<uint16_t>(width);
  height_ = static_cast<uint16_t>(height);
}

CoreStatus DX8Image::CopyPixels16(void* destination, const uint16_t* source, uint32_t width, uint32_t height,
                                  uint32_t pitch, uint32_t format) {
  if (format != gfx::D3DFMT_A8R8G8B8 && format != gfx::D3DFMT_A4R4G4B4) return status::Fail;
  if (!destination || !source) return status::Ok;
  auto* out = static_cast<uint8_t*>(destination);
  for (uint32_t y = 0; y < height; ++y, out += pitch, source += width) {
    if (format == gfx::D3DFMT_A4R4G4B4) {
      std::memcpy(out, source, size_t(width) * 2);
    } else {
      for (uint32_t x = 0; x < width; ++x) {
        const uint32_t p = Widen32(source[x]);
        std::memcpy(out + size_t(x) * 4, &p, 4);
      }
    }
  }
  return status::Ok;
}

CoreStatus DX8Image::CopyPixels32(void* destination, const uint32_t* source, uint32_t width, uint32_t height,
                                  uint32_t pitch, uint32_t format) {
  if (format != gfx::D3DFMT_A8R8G8B8 && format != gfx::D3DFMT_A4R4G4B4) return status::Fail;
  if (!destination || !source) return status::Ok;
  auto* out = static_cast<uint8_t*>(destination);
  for (uint32_t y = 0; y < height; ++y, out += pitch, source += width) {
    if (format == gfx::D3DFMT_A8R8G8B8) {
      std::memcpy(out, source, size_t(width) * 4);
    } else {
      for (uint32_t x = 0; x < width; ++x) {
        const uint16_t p = Narrow16(source[x]);
        std::memcpy(out + size_t(x) * 2, &p, 2);
      }
    }
  }
  return status::Ok;
}

CoreStatus DX8Image::BuildTexture(Lumetra* renderer, gfx::Texture** texture, uint32_t* format, uint32_t width,
                                  uint32_t height, bool mipChain, const uint32_t* pixels) {
  if (!texture || !format) return status::Fail;
  ReleaseTexture(texture);
  *format = 0;
  if (!renderer || !pixels || width == 0 || height == 0 || width > 0xFFFF || height > 0xFFFF) return status::Fail;
  uint32_t levels = 1;
  if (mipChain) {
    for (uint32_t side = std::min(width, height); side > 1; side >>= 1) ++levels;
  }
  CoreStatus result = CreateDeviceTexture(renderer->GetDevice(), width, height, levels, texture, format);
  if (status::Failed(result)) return result;
  result = FillLevel(*texture, 0, *format, width, height, pixels);
  if (status::Succeeded(result) && levels > 1) {
    // Every level is resampled from level 0, not from the level above.
    const int catrom = FindResampleFilter("Catrom");
    std::vector<uint32_t> work;
    for (uint32_t k = 1; k < levels && status::Succeeded(result); ++k) {
      const uint32_t w = width >> k, h = height >> k;
      work.assign(size_t(w) * h, 0);
      TextureResampler resampler;
      resampler.source = reinterpret_cast<const uint8_t*>(pixels);
      resampler.sourceWidth = static_cast<int32_t>(width);
      resampler.sourceHeight = static_cast<int32_t>(height);
      resampler.destination = reinterpret_cast<uint8_t*>(work.data());
      resampler.destinationWidth = static_cast<int32_t>(w);
      resampler.destinationHeight = static_cast<int32_t>(h);
      if (!resampler.ResampleRGB(catrom, catrom)) result = status::Fail;
      if (status::Succeeded(result)) result = FillLevel(*texture, k, *format, w, h, work.data());
    }
  }
  if (status::Failed(result)) {
    ReleaseTexture(texture);
    *format = 0;
  }
  return result;
}

CoreStatus DX8Image::BuildSolid(Lumetra* renderer, uint32_t width, uint32_t height, uint32_t colour,
                                gfx::Texture** texture, uint32_t* format) {
  if (width == 0 || height == 0 || width > 0xFFFF || height > 0xFFFF) return status::Fail;
  const std::vector<uint32_t> pixels(size_t(width) * height, colour);
  return BuildTexture(renderer, texture, format, width, height, false, pixels.data());
}

CoreStatus DX8Image::BuildGlyphTexture(Lumetra* renderer, const GlyphTable& table, gfx::Texture** texture,
                                       uint32_t* format, bool mipChain) {
  const uint32_t W = table.textureWidth, H = table.textureHeight, G = table.glyphsPerRow, GH = table.glyphHeight;
  if (W == 0 || H == 0 || W > 4096 || H > 4096 || GH == 0 || (!table.bitmap && table.bitmapBytes)) return status::Fail;
  std::vector<uint32_t> pixels(size_t(W) * H, 0x00FFFFFFu);
  for (uint32_t y = 0; y < H; ++y) {
    const uint32_t row = y % (GH + 1);
    if (row >= GH) continue;
    for (uint32_t x = 0; x < W; ++x) {
      const uint32_t column = x % 9;
      if (column > 7 || x / 9 >= G) continue;
      const uint64_t i = (uint64_t(y / (GH + 1)) * G + x / 9) * GH + row;
      if (i < table.bitmapBytes && (table.bitmap[i] >> (7 - column)) & 1u) pixels[size_t(y) * W + x] = 0xFFFFFFFFu;
    }
  }
  return BuildTexture(renderer, texture, format, W, H, mipChain, pixels.data());
}

CoreStatus DX8Image::BuildFromPixels(Core3D* renderer, uint16_t width, uint16_t height, bool mipChain,
                                     const uint32_t* pixels) {
  auto* lumetra = dynamic_cast<Lumetra*>(renderer);
  if (!lumetra) return status::Fail;
  gfx::Texture* texture = nullptr;
  uint32_t format = 0;
  const CoreStatus result = BuildTexture(lumetra, &texture, &format, width, height, mipChain, pixels);
  if (status::Failed(result)) {
    SetTexture(nullptr, 0, width_, height_);
    return result;
  }
  SetTexture(texture, format, width, height);
  return status::Ok;
}

CoreStatus DX8Image::BuildSolidImage(uint32_t width, uint32_t height, uint32_t colour) {
  gfx::Texture* texture = nullptr;
  uint32_t format = 0;
  const CoreStatus result = BuildSolid(renderer_, width, height, colour, &texture, &format);
  if (status::Succeeded(result)) SetTexture(texture, format, width, height);
  return result;
}

CoreStatus DX8Image::BuildGlyphImage(const GlyphTable& table, bool mipChain) {
  gfx::Texture* texture = nullptr;
  uint32_t format = 0;
  const CoreStatus result = BuildGlyphTexture(renderer_, table, &texture, &format, mipChain);
  if (status::Succeeded(result)) SetTexture(texture, format, table.textureWidth, table.textureHeight);
  return result;
}

bool DX8Image::UpdatePixels(const uint32_t* pixels) {
  if (!texture_ || !pixels) return false;
  gfx::LockedRect locked;
  if (status::Failed(texture_->LockRect(0, &locked, nullptr, 0))) return false;
  // Row by row at the locked pitch, in the texture's own format.
  CopyPixels32(locked.bits, pixels, width_, height_, static_cast<uint32_t>(locked.pitch), format_);
  return status::Succeeded(texture_->UnlockRect(0));
}

CoreStatus DX8Image::LoadFromMemory(const void* data, uint32_t size) {
  if (!renderer_) return status::Fail;
  void* made = nullptr;
  if (status::Failed(renderer_->CreateTextureFromMemory(data, size, &made)) || !made) return status::Fail;
  ReleaseTexture(&texture_);
  texture_ = static_cast<gfx::Texture*>(made);
  return status::Ok;
}

CoreStatus DX8Image::MoveToDevice(Core3D* renderer) {
  auto* lumetra = dynamic_cast<Lumetra*>(renderer);
  if (!lumetra || !lumetra->GetDevice() || !texture_) return status::Fail;
  // The texture travels as DDS bytes in memory, never through a file.
  std::vector<uint8_t> bytes;
  if (status::Failed(gfx::SaveTextureToMemory(gfx::D3DXIFF_DDS, texture_, &bytes))) return status::Fail;
  ReleaseTexture(&texture_);
  gfx::Texture* moved = nullptr;
  if (status::Failed(gfx::CreateTextureFromFileInMemory(lumetra->GetDevice(), bytes.data(), bytes.size(), &moved)) ||
      !moved) {
    format_ = 0;
    return status::Fail;
  }
  texture_ = moved;
  renderer_ = lumetra;
  return status::Ok;
}

TexTransport* DX8Image::LoadPicture(const std::string& path) {
  std::unique_ptr<TexTransport> picture(renderer::TexTransport_LoadImageFile(path, 0));
  if (!picture || picture->paletted || picture->width <= 0 || picture->height <= 0 ||
      picture->pixels.size() < size_t(picture->width) * size_t(picture->height) * 4)
    return nullptr;
  return picture.release();
}

CoreStatus DX8Image::LoadFile(const std::string& name) {
  std::unique_ptr<TexTransport> picture(LoadPicture(name));
  if (!picture) return status::Fail;
  gfx::Texture* texture = nullptr;
  uint32_t format = 0;
  const CoreStatus result =
      BuildTexture(renderer_, &texture, &format, uint32_t(picture->width), uint32_t(picture->height),
                   (GetFlags() & RF_MIPCHAIN) != 0, reinterpret_cast<const uint32_t*>(picture->pixels.data()));
  if (status::Succeeded(result)) SetTexture(texture, format, uint32_t(picture->width), uint32_t(picture->height));
  return result;
}

CoreStatus DX8Image::LoadAlphaMerge(const std::string& name) {
  const std::string rest = name.substr(std::min(name.size(), size_t(11)));
  const size_t split = rest.find(';');
  const std::string colourName = split == std::string::npos ? std::string() : rest.substr(0, split);
  const std::string alphaName = split == std::string::npos ? rest : rest.substr(split + 1);
  std::unique_ptr<TexTransport> colour(LoadPicture(colourName));
  std::unique_ptr<TexTransport> alpha(LoadPicture(alphaName));
  // Both pictures must exist and match in size: the merge reads both at
  // every pixel.
  if (!colour || !alpha || colour->width != alpha->width || colour->height != alpha->height) return status::Fail;
  const size_t count = size_t(colour->width) * size_t(colour->height);
  std::vector<uint32_t> merged(count);
  std::memcpy(merged.data(), colour->pixels.data(), count * 4);
  for (size_t i = 0; i < count; ++i) {
    uint32_t a;
    std::memcpy(&a, alpha->pixels.data() + i * 4, 4);
    merged[i] = ((merged[i] ^ a) & 0x00FFFFFFu) ^ a;
  }
  gfx::Texture* texture = nullptr;
  uint32_t format = 0;
  const CoreStatus result = BuildTexture(renderer_, &texture, &format, uint32_t(colour->width),
                                         uint32_t(colour->height), (GetFlags() & RF_MIPCHAIN) != 0, merged.data());
  if (status::Succeeded(result)) SetTexture(texture, format, uint32_t(colour->width), uint32_t(colour->height));
  return result;
}

CoreStatus DX8Image::LoadMerge(const std::string&) { return status::Ok; }

CoreStatus DX8Image::LoadDds(const std::string& name) {
  if (!renderer_) return status::Fail;
  gfx::Texture* texture = nullptr;
  if (status::Failed(gfx::CreateTextureFromFile(renderer_->GetDevice(), name, &texture)) || !texture)
    return status::Fail;
  // The size and format are the texture's own.
  gfx::SurfaceDesc desc;
  if (status::Failed(texture->GetLevelDesc(0, &desc)) || desc.width > 0xFFFF || desc.height > 0xFFFF) {
    texture->Release();
    return status::Fail;
  }
  SetTexture(texture, desc.format, desc.width, desc.height);
  return status::Ok;
}

CoreStatus DX8Image::LoadStx(const std::string& name) {
  STexture2 stx;
  if (!stx.Load(name, false)) return status::Fail;
  int16_t chosen = -1;
  for (int16_t i = 0; i < static_cast<int16_t>(stx.formats.size()); ++i) {
    const STexture2Format& f = *stx.formats[size_t(i)];
    if (!f.IsPalettized() && f.red.bits == 8 && f.green.bits == 8 && f.blue.bits == 8) {
      chosen = i;
      break;
    }
  }
  if (chosen < 0 || !stx.LoadFormat(chosen, nullptr)) return status::Fail;
  STexture2Format& f = *stx.GetFormat(chosen);
  const int32_t levels = f.m_iMIPDepth;
  if (levels < 1 || static_cast<size_t>(levels) > f.levels.size() || f.width <= 0 || f.height <= 0)
    return status::Fail;
  const uint32_t width = uint32_t(f.width), height = uint32_t(f.height);
  // Level k must be level 0 halved k times and hold its planes: the copy
  // reads whole levels of that size.
  for (int32_t k = 0; k < levels; ++k) {
    const STexture2Level& l = *f.levels[size_t(k)];
    if (uint32_t(l.width) != std::max(1u, width >> k) || uint32_t(l.height) != std::max(1u, height >> k) ||
        l.pitch < int32_t(l.width) * f.bytesPerPixel || l.rgb.size() < size_t(l.pitch) * size_t(l.height) ||
        (f.HasAlpha() && l.alpha.size() < size_t(l.width) * size_t(l.height)))
      return status::Fail;
  }
  gfx::Texture* texture = nullptr;
  uint32_t format = 0;
  CoreStatus result = CreateDeviceTexture(renderer_ ? renderer_->GetDevice() : nullptr, width, height,
                                          uint32_t(levels), &texture, &format);
  if (status::Failed(result)) return result;
  if (texture->GetLevelCount() < uint32_t(levels)) result = status::Fail;
  std::vector<uint32_t> work;
  std::vector<uint8_t> alpha;
  for (int32_t k = 0; k < levels && status::Succeeded(result); ++k) {
    const STexture2Level& l = *f.levels[size_t(k)];
    const size_t count = size_t(l.width) * size_t(l.height);
    work.assign(count, 0);
    if (f.GetRGBData(int16_t(k), nullptr, true) != int32_t(count * 4) ||
        f.GetRGBData(int16_t(k), reinterpret_cast<uint8_t*>(work.data()), true) != 0) {
      result = status::Fail;
      break;
    }
    for (uint32_t& p : work) p &= 0x00FFFFFFu;
    if (f.HasAlpha()) {
      alpha.assign(count, 0);
      if (f.GetAlphaData(int16_t(k), nullptr) != int32_t(count) || f.GetAlphaData(int16_t(k), alpha.data()) != 0) {
        result = status::Fail;
        break;
      }
      for (size_t i = 0; i < count; ++i) work[i] |= uint32_t(alpha[i]) << 24;
    }
    result = FillLevel(texture, uint32_t(k), format, uint32_t(l.width), uint32_t(l.height), work.data());
  }
  if (status::Failed(result)) {
    texture->Release();
    return result;
  }
  SetTexture(texture, format, width, height);
  return status::Ok;
}

DX8Image* CreateImageFromName(Lumetra* renderer, uint32_t flags, const std::string& name) {
  auto* image = new (std::nothrow) DX8Image(renderer, flags, name);
  if (!image) return nullptr;
  if (flags & RF_EMPTY) return image;
  CoreStatus result;
  if (EndsWith(name, ".stx")) {
    result = image->LoadStx(name);
  } else if (EndsWith(name, ".dds")) {
    result = image->LoadDds(name);
  } else if (StartsWith(name, "merge;")) {
    result = image->LoadMerge(name);
  } else if (StartsWith(name, "alphamerge;")) {
    result = image->LoadAlphaMerge(name);
  } else {
    result = image->LoadFile(name);
  }
  if (status::Failed(result)) {
    delete image;
    return nullptr;
  }
  return image;
}
