// Writing a format's planes from decoded images.
#include <cstring>
#include <vector>

#include "engine/image/TexTransport.h"
#include "renderer/formats/STexture2Format.h"

namespace {

// The image's pixels with rows packed tight: width x 4 bytes, or width bytes
// for palette indices (whose rows the decoders pad to 4).
std::vector<uint8_t> TightPixels(const TexTransport& image) {
  const size_t w = static_cast<size_t>(image.width);
  const size_t h = static_cast<size_t>(image.height);
  const size_t bpp = image.paletted ? 1 : 4;
  const size_t stride = image.RowStride();
  std::vector<uint8_t> out(w * h * bpp);
  for (size_t y = 0; y < h; ++y) std::memcpy(&out[y * w * bpp], &image.pixels[y * stride], w * bpp);
  return out;
}

// Palette indices become 4-byte pixels whose bytes are the entry's bytes.
void ExpandPalette(TexTransport* image) {
  const std::vector<uint8_t> indices = TightPixels(*image);
  std::vector<uint8_t> pixels(indices.size() * 4);
  for (size_t i = 0; i < indices.size(); ++i) std::memcpy(&pixels[i * 4], image->palette[indices[i]], 4);
  image->pixels = std::move(pixels);
  image->paletted = 0;
}

bool SameSize(const TexTransport& image, const STexture2Level& l) {
  return image.width == l.width && image.height == l.height;
}

}  // namespace

bool STexture2Format::SetRGBFromImage(int16_t level, TexTransport* image) {
  STexture2Level* l = Level(level);
  if (!l) return false;
  if (l->lockRGB) return Error("RGB Buffer is Locked");
  if (l->rgb.empty()) return Error("RGB Buffer is NULL");
  if (!image || image->width <= 0 || image->height <= 0) return Error("Unable to load Filename");
  if (IsIndexed() && !image->paletted) return Error("Format has Palette - Filename does not");
  if (!SameSize(*image, *l)) return Error("Filename does not match Layer Resolution");
  SetRGBGenerator(level, true);
  if (image->paletted && !IsIndexed()) ExpandPalette(image);
  if (image->paletted) SetPalette(image->palette);
  const std::vector<uint8_t> pixels = TightPixels(*image);
  return SetRGBData(level, pixels.data());
}

bool STexture2Format::SetRGBAFromImage(int16_t level, TexTransport* image) {
  STexture2Level* l = Level(level);
  if (!l) return false;
  if (l->lockRGB && l->lockAlpha) return Error("RGB and Alpha Buffers Locked");
  if (HasAlpha() && l->alpha.empty()) return Error("Alpha Buffer is NULL");
  if (l->rgb.empty()) return Error("RGB Buffer is NULL");
  if (!image || image->width <= 0 || image->height <= 0) return Error("Unable to load Filename");
  if (IsIndexed() && !image->paletted) return Error("Format has Palette - Filename does not");
  if (!SameSize(*image, *l)) return Error("Filename does not match Layer Resolution");
  if (!l->lockRGB) SetRGBGenerator(level, true);
  if (!l->lockAlpha && HasAlpha()) SetAlphaGenerator(level, true);
  if (image->paletted && !IsIndexed()) ExpandPalette(image);
  if (image->paletted) SetPalette(image->palette);
  const std::vector<uint8_t> pixels = TightPixels(*image);
  return SetRGBAData(level, pixels.data());
}

bool STexture2Format::SetAlphaFromImage(int16_t level, TexTransport* image) {
  STexture2Level* l = Level(level);
  if (!l) return false;
  if (!HasAlpha()) return Error("No Alpha in Format");
  if (l->lockAlpha) return Error("Alpha Buffer is Locked");
  if (l->alpha.empty()) return Error("Alpha Buffer is NULL");
  if (!image || image->width <= 0 || image->height <= 0) return Error("Unable to load Filename");
  if (!SameSize(*image, *l)) return Error("Filename does not match Layer Resolution");
  if (!image->paletted) {
    // Keep only each pixel's alpha byte, one byte a pixel, in the padded
    // rows that one-byte images use.
    const std::vector<uint8_t> rgba = TightPixels(*image);
    image->paletted = 1;
    const size_t w = static_cast<size_t>(image->width);
    const size_t stride = image->RowStride();
    image->pixels.assign(stride * static_cast<size_t>(image->height), 0);
    for (size_t y = 0; y < static_cast<size_t>(image->height); ++y)
      for (size_t x = 0; x < w; ++x) image->pixels[y * stride + x] = rgba[(y * w + x) * 4 + 3];
  }
  l->genAlpha = true;
  const std::vector<uint8_t> bytes = TightPixels(*image);
  return SetAlphaData(level, bytes.data());
}
