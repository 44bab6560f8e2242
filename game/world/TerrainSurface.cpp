#include "game/world/TerrainSurface.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "engine/image/TexTransport.h"
#include "engine/math/Noise.h"

namespace {

constexpr int32_t kLast = kTerrainSamples - 1;

// Whole cell and fraction of a grid coordinate, within the field.
void Cell(float g, int32_t* cell, float* fraction) {
  float v = g + 64.0f;
  if (!(v >= 0.0f)) v = 0.0f;  // NaN too
  if (v > static_cast<float>(kTerrainSamples)) v = static_cast<float>(kTerrainSamples);
  int32_t i = static_cast<int32_t>(v);
  if (i > kLast) i = kLast;
  *cell = i;
  *fraction = std::min(v - static_cast<float>(i), 1.0f);
}

float Sample(const float* h, int32_t column, int32_t row) { return h[row * kTerrainSamples + column]; }

uint32_t Channel(uint32_t pixel, int shift) { return (pixel >> shift) & 0xFFu; }

}  // namespace

float TerrainHeightAt(const float* heights, float x, float z) {
  if (!heights) return 0.0f;
  int32_t i, j;
  float fx, fz;
  Cell(x, &i, &fx);
  Cell(z, &j, &fz);
  const bool right = i < kLast;
  const bool lower = j < kLast;
  const float h00 = Sample(heights, i, j);
  if (right && lower) {
    const float h10 = Sample(heights, i + 1, j);
    const float h01 = Sample(heights, i, j + 1);
    const float h11 = Sample(heights, i + 1, j + 1);
    const float top = Noise_CosineInterpolate(h00, h10, fx);
    const float bottom = Noise_CosineInterpolate(h01, h11, fx);
    const float left = Noise_CosineInterpolate(h00, h01, fz);
    const float rightEdge = Noise_CosineInterpolate(h10, h11, fz);
    return (Noise_CosineInterpolate(top, bottom, fz) + Noise_CosineInterpolate(left, rightEdge, fx)) * 0.5f *
           kTerrainHeightScale;
  }
  if (right) return Noise_CosineInterpolate(h00, Sample(heights, i + 1, j), fx) * kTerrainHeightScale;
  if (lower) return Noise_CosineInterpolate(h00, Sample(heights, i, j + 1), fz) * kTerrainHeightScale;
  return h00 * kTerrainHeightScale;
}

bool LoadTerrainImage(const std::string& path, TerrainImage* out, std::string* why) {
  std::unique_ptr<TexTransport> image(TexTransport_LoadImageFile(path, 0));
  if (!image || image->width <= 0 || image->height <= 0) {
    if (why) *why = "the image cannot be read";
    return false;
  }
  const uint32_t w = static_cast<uint32_t>(image->width);
  const uint32_t h = static_cast<uint32_t>(image->height);
  const size_t stride = image->RowStride();
  if (image->pixels.size() < stride * h) {
    if (why) *why = "the decoded image is shorter than its size";
    return false;
  }
  out->width = w;
  out->height = h;
  out->pixels.assign(static_cast<size_t>(w) * h, 0);
  for (uint32_t y = 0; y < h; ++y) {
    const uint8_t* row = image->pixels.data() + stride * y;
    for (uint32_t x = 0; x < w; ++x) {
      uint32_t pixel;
      if (image->paletted) {
        // A palette entry is blue, green, red; the pixel is opaque.
        const uint8_t* e = image->palette[row[x]];
        pixel = 0xFF000000u | (uint32_t{e[2]} << 16) | (uint32_t{e[1]} << 8) | e[0];
      } else {
        const uint8_t* p = row + 4 * x;
        pixel = (uint32_t{p[3]} << 24) | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
      }
      out->pixels[static_cast<size_t>(y) * w + x] = pixel;
    }
  }
  return true;
}

bool ComposeTerrainTexture(const float* heights, const std::vector<TerrainImage>& images, uint32_t side,
                           std::vector<uint32_t>* out) {
  if (!heights || images.empty() || side < 1 || !out) return false;
  for (const TerrainImage& image : images)
    if (image.width == 0 || image.height == 0 || image.pixels.size() < size_t{image.width} * image.height)
      return false;
  const int32_t n = static_cast<int32_t>(images.size());
  // A texel's height depends only on its sample row and column: the mean of
  // the four samples around it, each pair blended half way, clamped to 0..1.
  std::vector<float> blended(static_cast<size_t>(kTerrainSamples) * kTerrainSamples);
  for (int32_t r = 0; r < kTerrainSamples; ++r) {
    const int32_t r2 = r < kLast ? r + 1 : r;
    for (int32_t c = 0; c < kTerrainSamples; ++c) {
      const int32_t c2 = c < kLast ? c + 1 : c;
      const float upper = Noise_CosineInterpolate(Sample(heights, c, r), Sample(heights, c2, r), 0.5f);
      const float lower = Noise_CosineInterpolate(Sample(heights, c, r2), Sample(heights, c2, r2), 0.5f);
      float height = (upper + lower) * 0.5f;
      if (!(height >= 0.0f)) height = 0.0f;
      if (height > 1.0f) height = 1.0f;
      blended[static_cast<size_t>(r) * kTerrainSamples + c] = height;
    }
  }
  out->assign(static_cast<size_t>(side) * side, 0);
  // Column of the field and each texture's own column for every x, worked
  // out once instead of dividing per texel.
  std::vector<int32_t> fieldColumn(side);
  std::vector<std::vector<uint32_t>> textureColumn(images.size(), std::vector<uint32_t>(side));
  for (uint32_t x = 0; x < side; ++x) {
    fieldColumn[x] = static_cast<int32_t>(uint64_t{x} * kTerrainSamples / side);
    for (size_t t = 0; t < images.size(); ++t) textureColumn[t][x] = x % images[t].width;
  }
  std::vector<const uint32_t*> textureRow(images.size());
  for (uint32_t y = 0; y < side; ++y) {
    const int32_t r = static_cast<int32_t>(uint64_t{y} * kTerrainSamples / side);
    const float* heightRow = blended.data() + static_cast<size_t>(r) * kTerrainSamples;
    for (size_t t = 0; t < images.size(); ++t)
      textureRow[t] = images[t].pixels.data() + static_cast<size_t>(y % images[t].height) * images[t].width;
    uint32_t* outRow = out->data() + static_cast<size_t>(y) * side;
    for (uint32_t x = 0; x < side; ++x) {
      uint32_t colour;
      if (n == 1) {
        colour = textureRow[0][textureColumn[0][x]];
      } else {
        const float t = heightRow[fieldColumn[x]] * static_cast<float>(n - 1);
        int32_t i = static_cast<int32_t>(t);
        if (i >= n - 1) i = n - 2;
        const float a = static_cast<float>(i + 1) - t;
        const size_t lo = static_cast<size_t>(i), hi = lo + 1;
        const uint32_t p = textureRow[lo][textureColumn[lo][x]];
        const uint32_t q = textureRow[hi][textureColumn[hi][x]];
        colour = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
          const float v = a * static_cast<float>(Channel(p, shift)) + (1.0f - a) * static_cast<float>(Channel(q, shift));
          colour |= static_cast<uint32_t>(std::clamp(v, 0.0f, 255.0f)) << shift;
        }
      }
      outRow[x] = 0xFF000000u | (colour & 0x00FFFFFFu);
    }
  }
  return true;
}
