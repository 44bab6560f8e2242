#include "platform/graphics/DdsFile.h"

#include <algorithm>
#include <cstring>

#include "platform/DebugOutput.h"
#include "platform/graphics/GfxConstants.h"
#include "platform/graphics/PixelFormat.h"

namespace platform::gfx {
namespace {

constexpr uint32_t kMagic = 0x20534444;  // "DDS "
constexpr uint32_t kFlagCaps = 0x1, kFlagHeight = 0x2, kFlagWidth = 0x4, kFlagPitch = 0x8;
constexpr uint32_t kFlagPixelFormat = 0x1000, kFlagMipCount = 0x20000, kFlagLinearSize = 0x80000;
constexpr uint32_t kFlagDepth = 0x800000;
constexpr uint32_t kPfAlphaPixels = 0x1, kPfFourCC = 0x4, kPfRgb = 0x40;
constexpr uint32_t kCapsComplex = 0x8, kCapsTexture = 0x1000, kCapsMipmap = 0x400000;
constexpr uint32_t kCaps2Cubemap = 0x200, kCaps2Volume = 0x200000;
constexpr uint32_t kMaxSide = 16384;

struct Layout {
  uint32_t format, flags, bits, r, g, b, a;
};
constexpr Layout kLayouts[] = {
    {D3DFMT_A8R8G8B8, kPfRgb | kPfAlphaPixels, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000},
    {D3DFMT_X8R8G8B8, kPfRgb, 32, 0xFF0000, 0xFF00, 0xFF, 0},
    {D3DFMT_A4R4G4B4, kPfRgb | kPfAlphaPixels, 16, 0xF00, 0xF0, 0xF, 0xF000},
    {D3DFMT_R5G6B5, kPfRgb, 16, 0xF800, 0x7E0, 0x1F, 0},
};

void Put32(std::vector<uint8_t>* out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) (*out)[at + i] = uint8_t(v >> (8 * i));
}
uint32_t Get32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

uint32_t FullChain(uint32_t w, uint32_t h) {
  uint32_t n = 1;
  while ((std::max(w, h) >> n) > 0) ++n;
  return n;
}

}  // namespace

bool WriteDds(const DdsImage& image, std::vector<uint8_t>* out) {
  const Layout* layout = nullptr;
  for (const Layout& l : kLayouts)
    if (l.format == image.format) layout = &l;
  const bool dxt1 = image.format == D3DFMT_DXT1;
  if ((!layout && !dxt1) || image.width == 0 || image.height == 0 || image.levels.empty() ||
      image.levels.size() > FullChain(image.width, image.height))
    return false;
  for (size_t i = 0; i < image.levels.size(); ++i) {
    const uint32_t w = std::max(1u, image.width >> i), h = std::max(1u, image.height >> i);
    if (image.levels[i].size() != SurfaceBytes(image.format, w, h)) return false;
  }
  std::vector<uint8_t> bytes(kDdsHeaderBytes, 0);
  const bool mips = image.levels.size() > 1;
  Put32(&bytes, 0, kMagic);
  Put32(&bytes, 4, 124);
  Put32(&bytes, 8, kFlagCaps | kFlagHeight | kFlagWidth | kFlagPixelFormat | (dxt1 ? kFlagLinearSize : kFlagPitch) |
                       (mips ? kFlagMipCount : 0));
  Put32(&bytes, 12, image.height);
  Put32(&bytes, 16, image.width);
  Put32(&bytes, 20, dxt1 ? uint32_t(image.levels[0].size()) : RowPitch(image.format, image.width));
  Put32(&bytes, 28, mips ? uint32_t(image.levels.size()) : 0);
  Put32(&bytes, 76, 32);
  if (dxt1) {
    Put32(&bytes, 80, kPfFourCC);
    Put32(&bytes, 84, D3DFMT_DXT1);
  } else {
    Put32(&bytes, 80, layout->flags);
    Put32(&bytes, 88, layout->bits);
    Put32(&bytes, 92, layout->r);
    Put32(&bytes, 96, layout->g);
    Put32(&bytes, 100, layout->b);
    Put32(&bytes, 104, layout->a);
  }
  Put32(&bytes, 108, kCapsTexture | (mips ? kCapsComplex | kCapsMipmap : 0));
  for (const auto& level : image.levels) bytes.insert(bytes.end(), level.begin(), level.end());
  *out = std::move(bytes);
  return true;
}

bool ReadDds(const uint8_t* data, size_t size, DdsImage* out) {
  auto refuse = [](const char* why) {
    DebugPrintf("graphics: DDS data refused: %s\n", why);
    return false;
  };
  if (!data || size < kDdsHeaderBytes) return refuse("shorter than its header");
  if (Get32(data) != kMagic) return refuse("no DDS magic");
  if (Get32(data + 4) != 124 || Get32(data + 76) != 32) return refuse("wrong header size");
  const uint32_t flags = Get32(data + 8);
  const uint32_t height = Get32(data + 12), width = Get32(data + 16);
  const uint32_t depth = Get32(data + 24);
  const uint32_t mipCount = Get32(data + 28);
  const uint32_t pfFlags = Get32(data + 80), fourCC = Get32(data + 84), bits = Get32(data + 88);
  const uint32_t caps2 = Get32(data + 112);
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return refuse("size out of range");
  if ((caps2 & (kCaps2Cubemap | kCaps2Volume)) || ((flags & kFlagDepth) && depth > 1))
    return refuse("cube maps and volumes are not supported");
  uint32_t format = 0;
  if (pfFlags & kPfFourCC) {
    if (fourCC == D3DFMT_DXT1) format = D3DFMT_DXT1;
  } else if (pfFlags & kPfRgb) {
    const uint32_t r = Get32(data + 92), g = Get32(data + 96), b = Get32(data + 100);
    const uint32_t a = (pfFlags & kPfAlphaPixels) ? Get32(data + 104) : 0;
    for (const Layout& l : kLayouts)
      if (l.bits == bits && l.r == r && l.g == g && l.b == b && l.a == a) format = l.format;
  }
  if (format == 0) return refuse("unsupported pixel format");
  uint32_t levels = (flags & kFlagMipCount) && mipCount > 0 ? mipCount : 1;
  if (levels > FullChain(width, height)) return refuse("more mip levels than the size allows");
  DdsImage image;
  image.format = format;
  image.width = width;
  image.height = height;
  size_t at = kDdsHeaderBytes;
  for (uint32_t i = 0; i < levels; ++i) {
    const uint64_t n = SurfaceBytes(format, std::max(1u, width >> i), std::max(1u, height >> i));
    if (n > size - at) return refuse("pixel data is truncated");
    image.levels.emplace_back(data + at, data + at + n);
    at += n;
  }
  *out = std::move(image);
  return true;
}

}  // namespace platform::gfx
