#include "renderer/formats/TextureResampler.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "renderer/formats/ResampleFilters.h"

namespace {

constexpr int32_t kOne = 16384;

int16_t Saturate16(int64_t v) {
  return static_cast<int16_t>(std::clamp<int64_t>(v, std::numeric_limits<int16_t>::min(),
                                                  std::numeric_limits<int16_t>::max()));
}

// Filter stretch: a reducing axis widens the kernel by the reduction factor.
double Stretch(double scale) { return (1.0 / scale >= 1.0) ? 1.0 / scale : 1.0; }
double Radius(double scale, const ResampleFilter& f) { return std::max(Stretch(scale) * f.support, 0.5); }

// One source row filtered horizontally to the destination width, with 6
// fraction bits kept; four interleaved channels at a time.
void FilterRow4(const uint8_t* src, const std::vector<ResampleWeights>& tables, int16_t* out) {
  for (const ResampleWeights& t : tables) {
    int64_t s0 = 128, s1 = 128, s2 = 128, s3 = 128;
    const uint8_t* p = src + static_cast<size_t>(t.first) * 4;
    const int16_t* w = t.weights.data();
    for (int32_t i = 0; i < t.count; ++i, p += 4) {
      const int64_t wi = w[i];
      s0 += p[0] * wi;
      s1 += p[1] * wi;
      s2 += p[2] * wi;
      s3 += p[3] * wi;
    }
    out[0] = Saturate16(s0 >> 8);
    out[1] = Saturate16(s1 >> 8);
    out[2] = Saturate16(s2 >> 8);
    out[3] = Saturate16(s3 >> 8);
    out += 4;
  }
}

void FilterRow1(const uint8_t* src, const std::vector<ResampleWeights>& tables, int16_t* out) {
  for (const ResampleWeights& t : tables) {
    int64_t sum = 128;
    const uint8_t* p = src + t.first;
    for (int32_t i = 0; i < t.count; ++i) sum += p[i] * int64_t{t.weights[static_cast<size_t>(i)]};
    *out++ = Saturate16(sum >> 8);
  }
}

}  // namespace

ResampleWeights TextureResampler::Weights(int32_t b, int32_t n, double s, int filter) {
  const ResampleFilter& f = GetResampleFilter(filter);
  const double stretch = Stretch(s);
  const double r = Radius(s, f);
  const double c = (b + 0.5) / s;
  int32_t i0 = static_cast<int32_t>(std::trunc(c - r + 0.49));
  int32_t i1 = static_cast<int32_t>(std::trunc(c + r + 0.49));
  i0 = std::max(i0, 0);
  i1 = std::min(i1, n);
  ResampleWeights out;
  if (i0 >= i1) {
    // A strong enlargement can leave the window between two samples: the
    // nearest sample carries the whole weight.
    out.first = std::clamp(static_cast<int32_t>(std::trunc(c)), 0, n - 1);
    out.count = 1;
    out.weights.assign(1, static_cast<int16_t>(kOne));
    return out;
  }
  std::vector<double> k(static_cast<size_t>(i1 - i0));
  double sum = 0.0;
  for (int32_t i = i0; i < i1; ++i) {
    k[static_cast<size_t>(i - i0)] = f.kernel((i + 0.5 - c) / stretch);
    sum += k[static_cast<size_t>(i - i0)];
  }
  const double normaliser = (sum != 0.0) ? kOne / sum : kOne;
  std::vector<int16_t> w(k.size());
  for (size_t i = 0; i < k.size(); ++i) {
    const double t = std::floor(k[i] * normaliser + 0.5);
    w[i] = Saturate16(std::isfinite(t) ? static_cast<int64_t>(std::clamp(t, -1e9, 1e9)) : 0);
  }
  // Trim zero weights from both ends.
  size_t lo = 0;
  size_t hi = w.size();
  while (lo < hi && w[lo] == 0) ++lo;
  while (hi > lo && w[hi - 1] == 0) --hi;
  int64_t total = 0;
  for (size_t i = lo; i < hi; ++i) total += w[i];
  if (total == 0) {
    out.first = (i0 + i1) / 2;
    out.count = 1;
    out.weights.assign(1, static_cast<int16_t>(kOne));
    return out;
  }
  out.first = i0 + static_cast<int32_t>(lo);
  out.count = static_cast<int32_t>(hi - lo);
  out.weights.assign(w.begin() + static_cast<std::ptrdiff_t>(lo), w.begin() + static_cast<std::ptrdiff_t>(hi));
  if (total != kOne) {
    // The rounding error goes to the sample nearest the centre.
    const int32_t centre = std::clamp(static_cast<int32_t>(std::trunc(c + 0.5)), out.first, out.first + out.count - 1);
    int16_t& wc = out.weights[static_cast<size_t>(centre - out.first)];
    wc = Saturate16(int64_t{wc} + (kOne - total));
  }
  return out;
}

bool TextureResampler::ResampleRGB(int xFilter, int yFilter) { return Resample(4, xFilter, yFilter); }
bool TextureResampler::ResampleAlpha(int xFilter, int yFilter) { return Resample(1, xFilter, yFilter); }

bool TextureResampler::Resample(int channels, int xFilter, int yFilter) {
  if (!source || !destination || sourceWidth <= 0 || sourceHeight <= 0 || destinationWidth <= 0 ||
      destinationHeight <= 0)
    return false;
  xFilter = std::clamp(xFilter, 0, ResampleFilterCount() - 1);
  yFilter = std::clamp(yFilter, 0, ResampleFilterCount() - 1);
  const double sx = static_cast<double>(destinationWidth) / sourceWidth;
  const double sy = static_cast<double>(destinationHeight) / sourceHeight;
  const auto slots = static_cast<size_t>(std::ceil(2.0 * Radius(sy, GetResampleFilter(yFilter))));

  std::vector<ResampleWeights> xTables(static_cast<size_t>(destinationWidth));
  for (int32_t x = 0; x < destinationWidth; ++x) xTables[static_cast<size_t>(x)] = Weights(x, sourceWidth, sx, xFilter);

  const size_t rowValues = static_cast<size_t>(destinationWidth) * static_cast<size_t>(channels);
  std::vector<int16_t> cache(slots * rowValues);
  std::vector<int32_t> cacheRow(slots, -1);
  std::vector<int64_t> acc(rowValues);
  const size_t sourcePitch = static_cast<size_t>(sourceWidth) * static_cast<size_t>(channels);

  for (int32_t y = 0; y < destinationHeight; ++y) {
    const ResampleWeights yt = Weights(y, sourceHeight, sy, yFilter);
    std::fill(acc.begin(), acc.end(), 0);
    for (int32_t j = 0; j < yt.count; ++j) {
      const int32_t row = yt.first + j;
      const size_t slot = static_cast<size_t>(row) % slots;
      int16_t* values = &cache[slot * rowValues];
      if (cacheRow[slot] != row) {
        const uint8_t* src = source + static_cast<size_t>(row) * sourcePitch;
        if (channels == 4) {
          FilterRow4(src, xTables, values);
        } else {
          FilterRow1(src, xTables, values);
        }
        cacheRow[slot] = row;
      }
      const int64_t wy = yt.weights[static_cast<size_t>(j)];
      for (size_t i = 0; i < rowValues; ++i) acc[i] += values[i] * wy;
    }
    uint8_t* out = destination + static_cast<size_t>(y) * rowValues;
    for (size_t i = 0; i < rowValues; ++i)
      out[i] = static_cast<uint8_t>(std::clamp<int64_t>((acc[i] + 0x80000) >> 20, 0, 255));
  }
  return true;
}
