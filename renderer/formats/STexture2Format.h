#pragma once
// One pixel-format variant of an ".stx" texture with its MIP chain. Colour and
// alpha are separate planes per level: the colour plane holds palette indices
// (8 or fewer bits a pixel, one byte each) or packed 16-, 24- or 32-bit
// little-endian values whose channels sit at the format's shifts and masks;
// the alpha plane holds one right-aligned alpha value a pixel.
//
// Operations fail with the fixed texts of the format's errors (kept only when
// keepErrors is 1) and leave the object usable.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "renderer/formats/STexture2Tag.h"

class TexTransport;

struct STexture2Channel {
  uint8_t bits = 0;
  uint8_t shift = 0;
  uint8_t mask = 0;  // right-aligned
};

struct STexture2Level {
  int16_t width = -1;
  int16_t height = -1;
  int16_t pitch = 0;          // bytes per colour row
  std::vector<uint8_t> rgb;   // pitch x height bytes, empty when absent
  std::vector<uint8_t> alpha; // width x height bytes, empty when absent
  bool lockRGB = false;
  bool lockAlpha = false;
  bool genRGB = false;
  bool genAlpha = false;
  int32_t rgbOffset = -1;
  int32_t alphaOffset = -1;
};

class STexture2Format : public STexture2Errors {
 public:
  // 16384 x 16384: four bytes a pixel still fit a 32-bit size.
  static constexpr int64_t kMaxLevelPixels = int64_t{1} << 28;

  STexture2Format();

  std::string name;
  int16_t width = 0;
  int16_t height = 0;
  int16_t bitsPerPixel = 0;
  int16_t uninterpreted = 0;
  int16_t bytesPerPixel = 0;
  int16_t m_iMIPDepth = 0;
  bool noAlpha = false;
  STexture2Channel red, green, blue, alpha;
  uint32_t colourKey = 0;
  uint8_t palette[256][4];  // blue, green, red, unused
  int16_t firstIndex = 0;
  int16_t lastIndex = 255;
  std::vector<std::unique_ptr<STexture2Level>> levels;
  STexture2TagList tags;

  bool HasAlpha() const { return !noAlpha; }
  // Palette indices in the colour plane.
  bool IsIndexed() const { return bitsPerPixel <= 8; }
  // Generated levels of indexed formats are quantised back to the palette.
  bool IsPalettized() const { return bitsPerPixel <= 8 && bytesPerPixel == 1; }
  int16_t m_iNumTags() const { return tags.Count(); }

  // Checks the header values the plane operations rely on; false with a reason.
  bool ValidateHeader(std::string* reason) const;
  // Checks a level record against the header and the stream's size.
  bool ValidateLevel(const STexture2Level& level, uint64_t streamSize, std::string* reason) const;

  // Without `out`: the byte size a call would write (width x height x 4, or
  // x 1 for unexpanded indices). With `out`: fills it and returns 0. -1 on failure.
  int32_t GetRGBData(int16_t level, uint8_t* out, bool expand);
  int32_t GetAlphaData(int16_t level, uint8_t* out);
  bool SetRGBData(int16_t level, const uint8_t* in);
  bool SetAlphaData(int16_t level, const uint8_t* in);
  bool SetRGBAData(int16_t level, const uint8_t* in);
  bool SetRGBFromImage(int16_t level, TexTransport* image);
  bool SetAlphaFromImage(int16_t level, TexTransport* image);
  bool SetRGBAFromImage(int16_t level, TexTransport* image);
  bool SetRGBGenerator(int16_t level, bool value);
  bool SetAlphaGenerator(int16_t level, bool value);
  bool SetPalette(const uint8_t entries[256][4]);

  // Computes every level that is neither a supplied source nor locked, by
  // resampling the nearest source level above it.
  bool GenerateRGBMIPs(const std::string& upFilter, const std::string& downFilter);
  bool GenerateAlphaMIPs(const std::string& upFilter, const std::string& downFilter);

  int16_t SetTag(const std::string& tagName, const std::string& value) { return tags.SetTag(tagName, value); }
  bool SetTagValue(int index, const std::string& value) { return tags.SetTagValue(index, value, this); }
  int FindTag(const std::string& tagName) const { return tags.FindTag(tagName); }
  std::string GetTagValue(int index) const { return tags.GetTagValue(index); }
  std::string GetTagString(const std::string& tagName, const std::string& fallback) const {
    return tags.GetTagString(tagName, fallback);
  }
  int32_t GetTagInt(const std::string& tagName, int32_t fallback) const { return tags.GetTagInt(tagName, fallback); }

  // Frees every plane; the levels remain.
  void ReleaseData();

 private:
  STexture2Level* Level(int16_t level);
  void WriteRGB(STexture2Level& l, const uint8_t* in) const;
  void WriteAlpha(STexture2Level& l, const uint8_t* in) const;
  void QuantiseInto(STexture2Level& l, const uint8_t* pixels) const;
};
