// Level generation: every level that is neither a supplied source (genRGB /
// genAlpha) nor locked is resampled from the nearest source level above it
// (or level 0), with the up filter on enlarging axes and the down filter on
// reducing ones. Indexed formats get their generated colour quantised back to
// the palette.
#include <algorithm>
#include <memory>
#include <vector>

#include "renderer/formats/ResampleFilters.h"
#include "renderer/formats/STexture2Format.h"
#include "renderer/formats/TextureResampler.h"

namespace {

using Levels = std::vector<std::unique_ptr<STexture2Level>>;

size_t LargestLevel(const Levels& levels) {
  size_t largest = 0;
  for (const auto& l : levels)
    if (l->width > 0 && l->height > 0) largest = std::max(largest, size_t(l->width) * size_t(l->height));
  return largest;
}

// One plane of the levels (colour or alpha) with its source and lock marks.
struct Plane {
  std::vector<uint8_t> STexture2Level::*data;
  bool STexture2Level::*generated;
  bool STexture2Level::*locked;
};
constexpr Plane kRGBPlane{&STexture2Level::rgb, &STexture2Level::genRGB, &STexture2Level::lockRGB};
constexpr Plane kAlphaPlane{&STexture2Level::alpha, &STexture2Level::genAlpha, &STexture2Level::lockAlpha};

// The first level marked as a source of the plane, or 0 when none is; -1
// when there are no levels or one before the first source lacks the plane.
int FirstSource(const Levels& levels, const Plane& plane) {
  if (levels.empty()) return -1;
  for (size_t i = 0; i < levels.size(); ++i) {
    if ((*levels[i].*plane.data).empty()) return -1;
    if (*levels[i].*plane.generated) return static_cast<int>(i);
  }
  return 0;
}

// Calls make(level, source level) for every level to generate, in order. A
// level marked as a source becomes the source of the levels after it; locked
// levels, the source itself and levels without a size are left alone, and
// so is every level while the source has no pixels or no size.
template <typename Make>
void ForEachGenerated(Levels& levels, const Plane& plane, int source, Make make) {
  for (size_t i = 0; i < levels.size(); ++i) {
    STexture2Level& l = *levels[i];
    if (l.*plane.generated) {
      source = static_cast<int>(i);
      continue;
    }
    if (l.*plane.locked || static_cast<int>(i) == source || l.width <= 0 || l.height <= 0) continue;
    const STexture2Level& s = *levels[static_cast<size_t>(source)];
    if ((s.*plane.data).empty() || s.width <= 0 || s.height <= 0) continue;
    make(i, source);
  }
}

// A job from level `s`, expanded at `from`, to level `l`'s size at `to`.
void Aim(TextureResampler& job, const STexture2Level& s, const uint8_t* from, const STexture2Level& l, uint8_t* to) {
  job.source = from;
  job.sourceWidth = s.width;
  job.sourceHeight = s.height;
  job.destination = to;
  job.destinationWidth = l.width;
  job.destinationHeight = l.height;
}

}  // namespace

void STexture2Format::QuantiseInto(STexture2Level& l, const uint8_t* pixels) const {
  // Pixels often repeat their neighbour's colour: remember the last answer.
  uint32_t lastColour = 0xFFFFFFFFu;
  uint8_t lastChoice = 0;
  for (int y = 0; y < l.height; ++y) {
    uint8_t* row = l.rgb.data() + static_cast<size_t>(y) * static_cast<size_t>(l.pitch);
    for (int x = 0; x < l.width; ++x) {
      const uint8_t* p = pixels + (static_cast<size_t>(y) * static_cast<size_t>(l.width) + static_cast<size_t>(x)) * 4;
      const uint32_t colour = uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16);
      if (colour != lastColour) {
        int best = firstIndex;
        int bestDistance = 1 << 30;
        for (int i = firstIndex; i <= lastIndex; ++i) {
          const int db = p[0] - palette[i][0];
          const int dg = p[1] - palette[i][1];
          const int dr = p[2] - palette[i][2];
          const int d = db * db + dg * dg + dr * dr;
          if (d < bestDistance) {
            bestDistance = d;
            best = i;
          }
        }
        lastColour = colour;
        lastChoice = static_cast<uint8_t>(best);
      }
      row[x] = lastChoice;
    }
  }
}

bool STexture2Format::GenerateRGBMIPs(const std::string& upFilter, const std::string& downFilter) {
  const int up = FindResampleFilter(upFilter);
  const int down = FindResampleFilter(downFilter);
  const int first = FirstSource(levels, kRGBPlane);
  if (first < 0) return Error("Missing Layer RGB Data");

  const size_t largest = LargestLevel(levels);
  std::vector<uint8_t> from(largest * 4);
  std::vector<uint8_t> to(largest * 4);
  int expanded = -1;  // the level whose pixels `from` holds
  ForEachGenerated(levels, kRGBPlane, first, [&](size_t i, int source) {
    STexture2Level& l = *levels[i];
    const STexture2Level& s = *levels[static_cast<size_t>(source)];
    if (expanded != source) {
      GetRGBData(static_cast<int16_t>(source), from.data(), true);
      expanded = source;
    }
    TextureResampler job;
    Aim(job, s, from.data(), l, to.data());
    job.ResampleRGB(s.width > l.width ? down : up, s.height > l.height ? down : up);
    if (!IsPalettized()) {
      SetRGBData(static_cast<int16_t>(i), to.data());
    } else if (l.rgb.empty()) {
      Error("RGB Buffer is NULL");
    } else {
      QuantiseInto(l, to.data());
    }
  });
  return true;
}

bool STexture2Format::GenerateAlphaMIPs(const std::string& upFilter, const std::string& downFilter) {
  if (!HasAlpha()) return Error("Format has no Alpha");
  const int up = FindResampleFilter(upFilter);
  const int down = FindResampleFilter(downFilter);
  const int first = FirstSource(levels, kAlphaPlane);
  if (first < 0) return Error("Missing Layer Alpha Data");

  const size_t largest = LargestLevel(levels);
  std::vector<uint8_t> from(largest);
  std::vector<uint8_t> to(largest);
  int expanded = -1;  // the level whose values `from` holds
  ForEachGenerated(levels, kAlphaPlane, first, [&](size_t i, int source) {
    const STexture2Level& l = *levels[i];
    const STexture2Level& s = *levels[static_cast<size_t>(source)];
    if (expanded != source) {
      GetAlphaData(static_cast<int16_t>(source), from.data());
      expanded = source;
    }
    TextureResampler job;
    Aim(job, s, from.data(), l, to.data());
    job.ResampleAlpha(s.width > l.width ? down : up, s.height > l.height ? down : up);
    SetAlphaData(static_cast<int16_t>(i), to.data());
  });
  return true;
}
