// Level generation: every level that is neither a supplied source (genRGB /
// genAlpha) nor locked is resampled from the nearest source level above it
// (or level 0), with the up filter on enlarging axes and the down filter on
// reducing ones. Indexed formats get their generated colour quantised back to
// the palette.
#include <algorithm>
#include <vector>

#include "renderer/formats/ResampleFilters.h"
#include "renderer/formats/STexture2Format.h"
#include "renderer/formats/TextureResampler.h"

namespace {

size_t LargestLevel(const std::vector<std::unique_ptr<STexture2Level>>& levels) {
  size_t largest = 0;
  for (const auto& l : levels)
    if (l->width > 0 && l->height > 0) largest = std::max(largest, size_t(l->width) * size_t(l->height));
  return largest;
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
  if (levels.empty()) return Error("Missing Layer RGB Data");
  int source = -1;
  for (size_t i = 0; i < levels.size(); ++i) {
    if (levels[i]->rgb.empty()) return Error("Missing Layer RGB Data");
    if (levels[i]->genRGB) {
      source = static_cast<int>(i);
      break;
    }
  }
  if (source < 0) source = 0;

  const size_t largest = LargestLevel(levels);
  std::vector<uint8_t> from(largest * 4);
  std::vector<uint8_t> to(largest * 4);
  int expanded = -1;  // the level whose pixels `from` holds
  for (size_t i = 0; i < levels.size(); ++i) {
    STexture2Level& l = *levels[i];
    if (l.genRGB) {
      source = static_cast<int>(i);
      continue;
    }
    if (l.lockRGB || static_cast<int>(i) == source || l.width <= 0 || l.height <= 0) continue;
    const STexture2Level& s = *levels[static_cast<size_t>(source)];
    if (s.rgb.empty() || s.width <= 0 || s.height <= 0) continue;
    if (expanded != source) {
      GetRGBData(static_cast<int16_t>(source), from.data(), true);
      expanded = source;
    }
    TextureResampler job;
    job.source = from.data();
    job.sourceWidth = s.width;
    job.sourceHeight = s.height;
    job.destination = to.data();
    job.destinationWidth = l.width;
    job.destinationHeight = l.height;
    job.ResampleRGB(s.width > l.width ? down : up, s.height > l.height ? down : up);
    if (IsPalettized()) {
      if (l.rgb.empty()) {
        Error("RGB Buffer is NULL");
        continue;
      }
      QuantiseInto(l, to.data());
    } else {
      SetRGBData(static_cast<int16_t>(i), to.data());
    }
  }
  return true;
}

bool STexture2Format::GenerateAlphaMIPs(const std::string& upFilter, const std::string& downFilter) {
  if (!HasAlpha()) return Error("Format has no Alpha");
  const int up = FindResampleFilter(upFilter);
  const int down = FindResampleFilter(downFilter);
  if (levels.empty()) return Error("Missing Layer Alpha Data");
  int source = -1;
  for (size_t i = 0; i < levels.size(); ++i) {
    if (levels[i]->alpha.empty()) return Error("Missing Layer Alpha Data");
    if (levels[i]->genAlpha) {
      source = static_cast<int>(i);
      break;
    }
  }
  if (source < 0) source = 0;

  const size_t largest = LargestLevel(levels);
  std::vector<uint8_t> from(largest);
  std::vector<uint8_t> to(largest);
  int expanded = -1;  // the level whose values `from` holds
  for (size_t i = 0; i < levels.size(); ++i) {
    STexture2Level& l = *levels[i];
    if (l.genAlpha) {
      source = static_cast<int>(i);
      continue;
    }
    if (l.lockAlpha || static_cast<int>(i) == source || l.width <= 0 || l.height <= 0) continue;
    const STexture2Level& s = *levels[static_cast<size_t>(source)];
    if (s.alpha.empty() || s.width <= 0 || s.height <= 0) continue;
    if (expanded != source) {
      GetAlphaData(static_cast<int16_t>(source), from.data());
      expanded = source;
    }
    TextureResampler job;
    job.source = from.data();
    job.sourceWidth = s.width;
    job.sourceHeight = s.height;
    job.destination = to.data();
    job.destinationWidth = l.width;
    job.destinationHeight = l.height;
    job.ResampleAlpha(s.width > l.width ? down : up, s.height > l.height ? down : up);
    SetAlphaData(static_cast<int16_t>(i), to.data());
  }
  return true;
}
