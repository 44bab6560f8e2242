#include "platform/graphics/Dxt1.h"

#include <cmath>
#include <cstring>

namespace platform::gfx {
namespace {

struct Rgb {
  float r = 0, g = 0, b = 0;
};

uint32_t Expand565(uint16_t c) {
  const uint32_t r5 = (c >> 11) & 31, g6 = (c >> 5) & 63, b5 = c & 31;
  const uint32_t r = (r5 << 3) | (r5 >> 2), g = (g6 << 2) | (g6 >> 4), b = (b5 << 3) | (b5 >> 2);
  return 0xFF000000u | r << 16 | g << 8 | b;
}

uint16_t Quantize565(const Rgb& c) {
  auto q = [](float v, int maxv) {
    int i = static_cast<int>(std::lround(v / 255.0f * maxv));
    return i < 0 ? 0 : (i > maxv ? maxv : i);
  };
  return static_cast<uint16_t>(q(c.r, 31) << 11 | q(c.g, 63) << 5 | q(c.b, 31));
}

Rgb ToRgb(uint32_t argb) {
  return {float((argb >> 16) & 255), float((argb >> 8) & 255), float(argb & 255)};
}

uint32_t Mix(uint32_t a, uint32_t b, int wa, int wb, int div) {
  uint32_t out = 0xFF000000u;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int ca = (a >> shift) & 255, cb = (b >> shift) & 255;
    out |= uint32_t((ca * wa + cb * wb) / div) << shift;
  }
  return out;
}

void Palette(uint16_t c0, uint16_t c1, uint32_t pal[4]) {
  pal[0] = Expand565(c0);
  pal[1] = Expand565(c1);
  if (c0 > c1) {
    pal[2] = Mix(pal[0], pal[1], 2, 1, 3);
    pal[3] = Mix(pal[0], pal[1], 1, 2, 3);
  } else {
    pal[2] = Mix(pal[0], pal[1], 1, 1, 2);
    pal[3] = 0;
  }
}

int Distance(uint32_t a, uint32_t b) {
  int d = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int e = int((a >> shift) & 255) - int((b >> shift) & 255);
    d += e * e;
  }
  return d;
}

// Picks each pixel's nearest palette entry; returns the summed error.
long AssignIndices(const uint32_t pixels[16], const bool opaque[16], const uint32_t pal[4],
                   int colours, uint8_t idx[16]) {
  long total = 0;
  for (int i = 0; i < 16; ++i) {
    if (!opaque[i]) {
      idx[i] = 3;
      continue;
    }
    int best = 0, bestD = Distance(pixels[i], pal[0]);
    for (int k = 1; k < colours; ++k) {
      const int d = Distance(pixels[i], pal[k]);
      if (d < bestD) best = k, bestD = d;
    }
    idx[i] = uint8_t(best);
    total += bestD;
  }
  return total;
}

void Store(uint16_t c0, uint16_t c1, const uint8_t idx[16], uint8_t block[8]) {
  block[0] = uint8_t(c0 & 255);
  block[1] = uint8_t(c0 >> 8);
  block[2] = uint8_t(c1 & 255);
  block[3] = uint8_t(c1 >> 8);
  uint32_t bits = 0;
  for (int i = 0; i < 16; ++i) bits |= uint32_t(idx[i] & 3) << (2 * i);
  for (int i = 0; i < 4; ++i) block[4 + i] = uint8_t(bits >> (8 * i));
}

// End colours along the principal axis of the opaque pixels.
void FitEndpoints(const uint32_t pixels[16], const bool opaque[16], Rgb* lo, Rgb* hi) {
  Rgb mean;
  int n = 0;
  for (int i = 0; i < 16; ++i) {
    if (!opaque[i]) continue;
    const Rgb c = ToRgb(pixels[i]);
    mean.r += c.r, mean.g += c.g, mean.b += c.b;
    ++n;
  }
  mean.r /= float(n), mean.g /= float(n), mean.b /= float(n);
  float cov[6] = {};  // rr rg rb gg gb bb
  for (int i = 0; i < 16; ++i) {
    if (!opaque[i]) continue;
    const Rgb c = ToRgb(pixels[i]);
    const float r = c.r - mean.r, g = c.g - mean.g, b = c.b - mean.b;
    cov[0] += r * r, cov[1] += r * g, cov[2] += r * b, cov[3] += g * g, cov[4] += g * b, cov[5] += b * b;
  }
  // Power iteration from the covariance column of largest norm, which is
  // never orthogonal to the principal axis (a fixed start vector can be).
  const float cols[3][3] = {{cov[0], cov[1], cov[2]}, {cov[1], cov[3], cov[4]}, {cov[2], cov[4], cov[5]}};
  int pick = 0;
  float best = -1;
  for (int c = 0; c < 3; ++c) {
    const float n = cols[c][0] * cols[c][0] + cols[c][1] * cols[c][1] + cols[c][2] * cols[c][2];
    if (n > best) best = n, pick = c;
  }
  float ax = cols[pick][0], ay = cols[pick][1], az = cols[pick][2];
  if (best < 1e-6f) ax = ay = az = 1;
  for (int it = 0; it < 8; ++it) {
    const float x = cov[0] * ax + cov[1] * ay + cov[2] * az;
    const float y = cov[1] * ax + cov[3] * ay + cov[4] * az;
    const float z = cov[2] * ax + cov[4] * ay + cov[5] * az;
    const float len = std::sqrt(x * x + y * y + z * z);
    if (len < 1e-6f) break;
    ax = x / len, ay = y / len, az = z / len;
  }
  float tmin = 0, tmax = 0;
  for (int i = 0; i < 16; ++i) {
    if (!opaque[i]) continue;
    const Rgb c = ToRgb(pixels[i]);
    const float t = (c.r - mean.r) * ax + (c.g - mean.g) * ay + (c.b - mean.b) * az;
    if (t < tmin) tmin = t;
    if (t > tmax) tmax = t;
  }
  *lo = {mean.r + ax * tmin, mean.g + ay * tmin, mean.b + az * tmin};
  *hi = {mean.r + ax * tmax, mean.g + ay * tmax, mean.b + az * tmax};
}

// One least-squares step: the end colours that best explain the pixels
// under the given four-colour indices.
bool RefineEndpoints(const uint32_t pixels[16], const bool opaque[16], const uint8_t idx[16], Rgb* e0,
                     Rgb* e1) {
  static const float kWeight0[4] = {1.0f, 0.0f, 2.0f / 3.0f, 1.0f / 3.0f};
  float aa = 0, ab = 0, bb = 0;
  Rgb ax, bx;
  for (int i = 0; i < 16; ++i) {
    if (!opaque[i]) continue;
    const float a = kWeight0[idx[i]], b = 1.0f - a;
    const Rgb c = ToRgb(pixels[i]);
    aa += a * a, ab += a * b, bb += b * b;
    ax.r += a * c.r, ax.g += a * c.g, ax.b += a * c.b;
    bx.r += b * c.r, bx.g += b * c.g, bx.b += b * c.b;
  }
  const float det = aa * bb - ab * ab;
  if (std::fabs(det) < 1e-6f) return false;
  const float inv = 1.0f / det;
  *e0 = {(ax.r * bb - bx.r * ab) * inv, (ax.g * bb - bx.g * ab) * inv, (ax.b * bb - bx.b * ab) * inv};
  *e1 = {(bx.r * aa - ax.r * ab) * inv, (bx.g * aa - ax.g * ab) * inv, (bx.b * aa - ax.b * ab) * inv};
  return true;
}

}  // namespace

void DecodeDxt1Block(const uint8_t block[8], uint32_t out[16]) {
  const uint16_t c0 = uint16_t(block[0] | block[1] << 8);
  const uint16_t c1 = uint16_t(block[2] | block[3] << 8);
  uint32_t pal[4];
  Palette(c0, c1, pal);
  const uint32_t bits = uint32_t(block[4]) | uint32_t(block[5]) << 8 | uint32_t(block[6]) << 16 |
                        uint32_t(block[7]) << 24;
  for (int i = 0; i < 16; ++i) out[i] = pal[(bits >> (2 * i)) & 3];
}

void EncodeDxt1Block(const uint32_t pixels[16], uint8_t block[8]) {
  bool opaque[16];
  bool anyOpaque = false, anyClear = false;
  for (int i = 0; i < 16; ++i) {
    opaque[i] = (pixels[i] >> 24) >= 128;
    anyOpaque |= opaque[i];
    anyClear |= !opaque[i];
  }
  uint8_t idx[16];
  if (!anyOpaque) {
    std::memset(idx, 3, sizeof idx);
    Store(0, 0, idx, block);
    return;
  }
  Rgb lo, hi;
  FitEndpoints(pixels, opaque, &lo, &hi);
  uint16_t a = Quantize565(hi), b = Quantize565(lo);
  uint32_t pal[4];
  if (anyClear) {
    // Three colours plus transparency: the first end colour must not be above the second.
    if (a > b) std::swap(a, b);
    Palette(a, b, pal);
    AssignIndices(pixels, opaque, pal, 3, idx);
    Store(a, b, idx, block);
    return;
  }
  if (a < b) std::swap(a, b);
  if (a == b) {
    std::memset(idx, 0, sizeof idx);
    Store(a, b, idx, block);
    return;
  }
  Palette(a, b, pal);
  long err = AssignIndices(pixels, opaque, pal, 4, idx);
  Rgb e0, e1;
  if (err > 0 && RefineEndpoints(pixels, opaque, idx, &e0, &e1)) {
    uint16_t ra = Quantize565(e0), rb = Quantize565(e1);
    if (ra < rb) std::swap(ra, rb);
    if (ra != rb) {
      uint32_t rpal[4];
      uint8_t ridx[16];
      Palette(ra, rb, rpal);
      const long rerr = AssignIndices(pixels, opaque, rpal, 4, ridx);
      if (rerr < err) {
        a = ra, b = rb, err = rerr;
        std::memcpy(idx, ridx, sizeof idx);
      }
    }
  }
  Store(a, b, idx, block);
}

}  // namespace platform::gfx
