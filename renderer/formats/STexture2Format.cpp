#include "renderer/formats/STexture2Format.h"

#include <cstring>
#include <string>

namespace {

// Widens a right-aligned value of `bits` bits to 8 by repeating its high bits
// into the low ones, so full scale maps to 255.
uint8_t Expand(uint32_t value, uint8_t bits) {
  uint32_t v = (value << (8 - bits)) & 0xFFu;
  uint32_t t = v;
  for (int i = 0; i < 8 / bits; ++i) {
    t >>= bits;
    v = (v + t) & 0xFFu;
  }
  return static_cast<uint8_t>(v);
}

uint32_t ReadPacked(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= uint32_t{p[i]} << (8 * i);
  return v;
}

void WritePacked(uint8_t* p, int bytes, uint32_t v) {
  for (int i = 0; i < bytes; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

STexture2Format::STexture2Format() {
  for (int i = 0; i < 256; ++i) {
    palette[i][0] = palette[i][1] = palette[i][2] = static_cast<uint8_t>(i);
    palette[i][3] = 0;
  }
}

bool STexture2Format::ValidateHeader(std::string* reason) const {
  auto fail = [reason](const char* why) {
    *reason = why;
    return false;
  };
  if (width < 0 || height < 0) return fail("format size out of range");
  if (bytesPerPixel < 1 || bytesPerPixel > 4) return fail("bytes per pixel not 1 to 4");
  if (bitsPerPixel < 0 || bitsPerPixel > 32) return fail("bits per pixel out of range");
  // Indexed formats keep one byte a pixel; packed ones two to four.
  if (IsIndexed() != (bytesPerPixel == 1)) return fail("bits and bytes per pixel disagree");
  if (m_iMIPDepth < 0) return fail("level count out of range");
  for (const STexture2Channel* c : {&red, &green, &blue, &alpha})
    if (c->bits > 8) return fail("channel wider than 8 bits");
  if (!IsIndexed()) {
    for (const STexture2Channel* c : {&red, &green, &blue}) {
      if (c->bits == 0) return fail("colour channel of 0 bits");
      if (c->shift >= 8 * bytesPerPixel) return fail("channel shift past the pixel");
    }
  }
  if (HasAlpha() && alpha.bits == 0) return fail("alpha channel of 0 bits");
  if (firstIndex < 0 || lastIndex > 255 || firstIndex > lastIndex) return fail("palette range out of order");
  return true;
}

bool STexture2Format::ValidateLevel(const STexture2Level& l, uint64_t streamSize, std::string* reason) const {
  auto fail = [reason](const char* why) {
    *reason = why;
    return false;
  };
  if (l.width < 0 || l.height < 0 || l.pitch < 0) return fail("level size out of range");
  if (l.width == 0 || l.height == 0 || l.pitch == 0) return true;  // never loaded
  if (l.pitch < int32_t{l.width} * bytesPerPixel) return fail("level pitch shorter than a row");
  // Expanded pixels must stay addressable by the 32-bit sizes of GetRGBData.
  if (int64_t{l.width} * l.height > kMaxLevelPixels) return fail("level has too many pixels");
  const uint64_t rgbBytes = uint64_t(uint16_t(l.pitch)) * uint16_t(l.height);
  const uint64_t alphaBytes = uint64_t(uint16_t(l.width)) * uint16_t(l.height);
  if (l.rgbOffset > 0 && uint64_t(l.rgbOffset) + rgbBytes > streamSize) return fail("colour plane past the end");
  if (HasAlpha() && l.alphaOffset > 0 && uint64_t(l.alphaOffset) + alphaBytes > streamSize)
    return fail("alpha plane past the end");
  return true;
}

STexture2Level* STexture2Format::Level(int16_t level) {
  if (level < 0) {
    Error("Layer Index < 0");
    return nullptr;
  }
  if (level >= m_iMIPDepth || static_cast<size_t>(level) >= levels.size()) {
    Error("Layer Index >= m_iMIPDepth");
    return nullptr;
  }
  return levels[static_cast<size_t>(level)].get();
}

void STexture2Format::ReleaseData() {
  for (auto& l : levels) {
    l->rgb = {};
    l->alpha = {};
  }
}

int32_t STexture2Format::GetRGBData(int16_t level, uint8_t* out, bool expand) {
  STexture2Level* l = Level(level);
  if (!l) return -1;
  const int32_t pixels = int32_t{l->width} * l->height;
  if (!out) return (!IsIndexed() || expand) ? pixels * 4 : pixels;
  if (l->rgb.empty()) {
    Error("RGB Buffer is NULL");
    return -1;
  }
  for (int y = 0; y < l->height; ++y) {
    const uint8_t* row = l->rgb.data() + static_cast<size_t>(y) * static_cast<size_t>(l->pitch);
    if (bytesPerPixel == 1) {
      if (expand) {
        uint8_t* o = out + static_cast<size_t>(y) * static_cast<size_t>(l->width) * 4;
        for (int x = 0; x < l->width; ++x) {
          const uint8_t* e = palette[row[x]];
          o[4 * x + 0] = e[0];
          o[4 * x + 1] = e[1];
          o[4 * x + 2] = e[2];
          o[4 * x + 3] = 0;
        }
      } else {
        std::memcpy(out + static_cast<size_t>(y) * static_cast<size_t>(l->width), row, static_cast<size_t>(l->width));
      }
      continue;
    }
    uint8_t* o = out + static_cast<size_t>(y) * static_cast<size_t>(l->width) * 4;
    for (int x = 0; x < l->width; ++x) {
      const uint32_t p = ReadPacked(row + x * bytesPerPixel, bytesPerPixel);
      o[4 * x + 0] = Expand((p >> blue.shift) & blue.mask, blue.bits);
      o[4 * x + 1] = Expand((p >> green.shift) & green.mask, green.bits);
      o[4 * x + 2] = Expand((p >> red.shift) & red.mask, red.bits);
      o[4 * x + 3] = 0;
    }
  }
  return 0;
}

int32_t STexture2Format::GetAlphaData(int16_t level, uint8_t* out) {
  STexture2Level* l = Level(level);
  if (!l) return -1;
  if (!HasAlpha()) {
    Error("No Alpha in Format");
    return -1;
  }
  const int32_t pixels = int32_t{l->width} * l->height;
  if (!out) return pixels;
  if (l->alpha.empty()) {
    Error("Alpha Buffer is NULL");
    return -1;
  }
  for (int32_t i = 0; i < pixels; ++i) out[i] = Expand(l->alpha[static_cast<size_t>(i)], alpha.bits);
  return 0;
}

void STexture2Format::WriteRGB(STexture2Level& l, const uint8_t* in) const {
  for (int y = 0; y < l.height; ++y) {
    uint8_t* row = l.rgb.data() + static_cast<size_t>(y) * static_cast<size_t>(l.pitch);
    if (bytesPerPixel == 1) {
      std::memcpy(row, in + static_cast<size_t>(y) * static_cast<size_t>(l.width), static_cast<size_t>(l.width));
      continue;
    }
    const uint8_t* src = in + static_cast<size_t>(y) * static_cast<size_t>(l.width) * 4;
    for (int x = 0; x < l.width; ++x) {
      const uint32_t v = (uint32_t{static_cast<uint8_t>(src[4 * x + 0] >> (8 - blue.bits))} << blue.shift) +
                         (uint32_t{static_cast<uint8_t>(src[4 * x + 1] >> (8 - green.bits))} << green.shift) +
                         (uint32_t{static_cast<uint8_t>(src[4 * x + 2] >> (8 - red.bits))} << red.shift);
      WritePacked(row + x * bytesPerPixel, bytesPerPixel, v);
    }
  }
}

// One byte of alpha per input byte (SetAlphaData) or per pixel (SetRGBAData).
void STexture2Format::WriteAlpha(STexture2Level& l, const uint8_t* in) const {
  const size_t pixels = static_cast<size_t>(l.width) * static_cast<size_t>(l.height);
  for (size_t i = 0; i < pixels; ++i) l.alpha[i] = static_cast<uint8_t>(in[i] >> (8 - alpha.bits));
}

bool STexture2Format::SetRGBData(int16_t level, const uint8_t* in) {
  STexture2Level* l = Level(level);
  if (!l) return false;
  if (!in) return Error("Input Buffer is NULL");
  if (l->rgb.empty()) return Error("RGB Buffer is NULL");
  if (l->lockRGB) return Error("RGB Buffer is Locked");
  WriteRGB(*l, in);
  return true;
}

bool STexture2Format::SetAlphaData(int16_t level, const uint8_t* in) {
  STexture2Level* l = Level(level);
  if (!l) return false;
  if (!HasAlpha()) return Error("No Alpha in Format");
  if (!in) return Error("Input Buffer is NULL");
  if (l->alpha.empty()) return Error("Alpha Buffer is NULL");
  if (l->lockAlpha) return Error("Alpha Buffer is Locked");
  WriteAlpha(*l, in);
  return true;
}

bool STexture2Format::SetRGBAData(int16_t level, const uint8_t* in) {
  STexture2Level* l = Level(level);
  if (!l) return false;
  if (!in) return Error("Input Buffer is NULL");
  if (l->lockRGB && l->lockAlpha) return Error("RGB and Alpha Buffers Locked");
  if (HasAlpha() && l->alpha.empty()) return Error("Alpha Buffer is NULL");
  if (l->rgb.empty()) return Error("RGB Buffer is NULL");
  const bool writeAlpha = HasAlpha() && !l->lockAlpha;
  // Without alpha to write, a locked colour plane refuses the call too.
  if (!writeAlpha && l->lockRGB) return Error("RGB Buffer is Locked");
  if (!l->lockRGB) WriteRGB(*l, in);
  if (writeAlpha) {
    const size_t pixels = static_cast<size_t>(l->width) * static_cast<size_t>(l->height);
    const uint8_t full = static_cast<uint8_t>(0xFFu >> (8 - alpha.bits));
    for (size_t i = 0; i < pixels; ++i) {
      if (bytesPerPixel == 1) {
        l->alpha[i] = (in[i] == colourKey) ? 0 : full;
      } else {
        l->alpha[i] = static_cast<uint8_t>(in[4 * i + 3] >> (8 - alpha.bits));
      }
    }
  }
  return true;
}

bool STexture2Format::SetRGBGenerator(int16_t level, bool value) {
  STexture2Level* l = Level(level);
  if (!l) return false;
  SetTag(std::string("GenRGBMIP-") + static_cast<char>('0' + level), value ? "1" : "0");
  l->genRGB = value;
  return true;
}

bool STexture2Format::SetAlphaGenerator(int16_t level, bool value) {
  STexture2Level* l = Level(level);
  if (!l) return false;
  if (!HasAlpha()) return Error("No Alpha in Format");
  SetTag(std::string("GenAlphaMIP-") + static_cast<char>('0' + level), value ? "1" : "0");
  l->genAlpha = value;
  return true;
}

bool STexture2Format::SetPalette(const uint8_t entries[256][4]) {
  std::memcpy(palette, entries, sizeof palette);
  return true;
}
