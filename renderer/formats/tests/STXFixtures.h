#pragma once
// ".stx" streams laid out field by field from the documented layout, for the
// texture tests. Offsets of plane data are filled in as the planes are placed
// after the structure.
#include <string>
#include <vector>

#include "renderer/formats/tests/Bytes.h"

struct StxTag {
  std::string name;
  std::string value;
};

struct StxLevel {
  uint32_t width = 0, height = 0, pitch = 0;
  uint32_t genRGB = 0, genAlpha = 0, lockRGB = 0, lockAlpha = 0;
  std::vector<uint8_t> rgb;    // stored when not empty
  std::vector<uint8_t> alpha;  // stored when not empty
};

// A level record whose planes are not stored.
inline StxLevel StxBareLevel(uint32_t width, uint32_t height, uint32_t pitch) {
  StxLevel l;
  l.width = width;
  l.height = height;
  l.pitch = pitch;
  return l;
}

struct StxFormat {
  std::string name;
  uint32_t width = 0, height = 0, bitsPerPixel = 0, uninterpreted = 0, bytesPerPixel = 0, noAlpha = 0;
  uint32_t bits[4] = {0, 0, 0, 0};  // blue, green, red, alpha
  uint32_t shifts[4] = {0, 0, 0, 0};
  uint32_t masks[4] = {0, 0, 0, 0};
  uint32_t colourKey = 0, firstIndex = 0, lastIndex = 255;
  std::vector<uint8_t> palette = std::vector<uint8_t>(1024, 0);
  std::vector<StxTag> tags;
  std::vector<StxLevel> levels;
};

struct StxAnnex {
  std::string name;
  std::vector<uint8_t> entries;  // 8 bytes each
  std::vector<StxTag> tags;
};

struct StxTexture {
  uint32_t version = 1, revision = 0;
  uint32_t width = 0, height = 0, mipLevels = 0;
  std::string nameField;  // stored as is (may hold a zero byte)
  std::vector<StxTag> tags;
  std::vector<StxAnnex> annexes;
  std::vector<StxFormat> formats;
};

inline void StxPutTag(Bytes& b, const StxTag& t) {
  b.u16(uint16_t(t.name.size())).raw(t.name).u16(uint16_t(t.value.size())).raw(t.value);
}

// `marks` receives the offset of every section boundary of the structure.
inline std::vector<uint8_t> BuildStx(const StxTexture& t, std::vector<size_t>* marks = nullptr) {
  Bytes b;
  auto mark = [&] {
    if (marks) marks->push_back(b.size());
  };
  b.raw("STEX").u32(t.version).u32(t.revision).u32(uint32_t(t.formats.size())).u32(t.width).u32(t.height);
  b.u32(t.mipLevels).u32(uint32_t(t.nameField.size())).u32(uint32_t(t.tags.size())).u32(uint32_t(t.annexes.size()));
  mark();
  b.raw(t.nameField);
  mark();
  for (const StxTag& tag : t.tags) StxPutTag(b, tag);
  mark();
  for (const StxAnnex& a : t.annexes) {
    b.u16(uint16_t(a.name.size())).raw(a.name).u16(uint16_t(a.entries.size() / 8)).u16(uint16_t(a.tags.size()));
    b.raw(a.entries);
    for (const StxTag& tag : a.tags) StxPutTag(b, tag);
    mark();
  }
  struct Patch {
    size_t at;
    const std::vector<uint8_t>* data;
  };
  std::vector<Patch> patches;
  for (const StxFormat& f : t.formats) {
    b.u16(uint16_t(f.name.size())).raw(f.name);
    mark();
    b.u32(f.width).u32(f.height).u32(f.bitsPerPixel).u32(f.uninterpreted).u32(f.bytesPerPixel);
    b.u32(uint32_t(f.levels.size())).u32(f.noAlpha);
    for (uint32_t v : f.bits) b.u32(v);
    for (uint32_t v : f.shifts) b.u32(v);
    for (uint32_t v : f.masks) b.u32(v);
    b.u32(f.colourKey).u32(f.firstIndex).u32(f.lastIndex);
    mark();
    b.raw(f.palette);
    mark();
    b.u16(uint16_t(f.tags.size()));
    for (const StxTag& tag : f.tags) StxPutTag(b, tag);
    mark();
    for (const StxLevel& l : f.levels) {
      b.u32(l.width).u32(l.height).u32(l.pitch).u32(l.genRGB).u32(l.genAlpha).u32(l.lockRGB).u32(l.lockAlpha);
      patches.push_back({b.size(), &l.rgb});
      b.u32(0);
      patches.push_back({b.size(), &l.alpha});
      b.u32(0);
      mark();
    }
  }
  for (const Patch& p : patches) {
    if (p.data->empty()) continue;
    const uint32_t at = uint32_t(b.size());
    for (int i = 0; i < 4; ++i) b.b[p.at + size_t(i)] = uint8_t(at >> (8 * i));
    b.raw(*p.data);
  }
  return b.b;
}

// The format's name, size, pixel size and four channels (blue, green, red,
// alpha) as bits, shifts and masks.
inline StxFormat StxChannels(const char* name, uint32_t w, uint32_t h, uint32_t bytesPerPixel,
                             const uint32_t (&bits)[4], const uint32_t (&shifts)[4], const uint32_t (&masks)[4]) {
  StxFormat f;
  f.name = name;
  f.width = w;
  f.height = h;
  f.bitsPerPixel = bytesPerPixel * 8;
  f.bytesPerPixel = bytesPerPixel;
  for (int i = 0; i < 4; ++i) {
    f.bits[i] = bits[i];
    f.shifts[i] = shifts[i];
    f.masks[i] = masks[i];
  }
  return f;
}

// A 5-6-5 colour format with a 4-bit alpha plane; levels halve from w x h,
// each colour row padded by `pad` bytes. Pixels hold running values.
inline StxFormat Stx565(uint32_t w, uint32_t h, int levels, uint32_t pad = 0) {
  StxFormat f = StxChannels("565", w, h, 2, {5, 6, 5, 4}, {0, 5, 11, 0}, {31, 63, 31, 15});
  for (int k = 0; k < levels; ++k) {
    StxLevel l;
    l.width = w >> k;
    l.height = h >> k;
    l.pitch = l.width * 2 + pad;
    for (uint32_t y = 0; y < l.height; ++y)
      for (uint32_t x = 0; x < l.pitch; ++x) l.rgb.push_back(uint8_t(x < l.width * 2 ? (x * 7 + y * 13 + k) : 0xEE));
    for (uint32_t i = 0; i < l.width * l.height; ++i) l.alpha.push_back(uint8_t((i + k) & 15));
    f.levels.push_back(l);
  }
  return f;
}

// An 8-bit indexed format with a colour palette (entry i = (i, 255 - i, i / 2)).
inline StxFormat StxIndexed(uint32_t w, uint32_t h, int levels, bool alpha) {
  StxFormat f;
  f.name = "pal8";
  f.width = w;
  f.height = h;
  f.bitsPerPixel = 8;
  f.bytesPerPixel = 1;
  f.noAlpha = alpha ? 0 : 1;
  f.bits[3] = alpha ? 8 : 0;
  f.masks[3] = alpha ? 255 : 0;
  f.colourKey = 3;
  for (int i = 0; i < 256; ++i) {
    f.palette[size_t(i) * 4 + 0] = uint8_t(i);
    f.palette[size_t(i) * 4 + 1] = uint8_t(255 - i);
    f.palette[size_t(i) * 4 + 2] = uint8_t(i / 2);
  }
  for (int k = 0; k < levels; ++k) {
    StxLevel l;
    l.width = w >> k;
    l.height = h >> k;
    l.pitch = l.width;
    for (uint32_t i = 0; i < l.width * l.height; ++i) l.rgb.push_back(uint8_t(i * 5 + k));
    if (alpha)
      for (uint32_t i = 0; i < l.width * l.height; ++i) l.alpha.push_back(uint8_t(255 - i));
    f.levels.push_back(l);
  }
  return f;
}

// Packed 8-8-8 in 3 bytes (red in the low byte) without alpha.
inline StxFormat Stx888(uint32_t w, uint32_t h) {
  StxFormat f;
  f.name = "888";
  f.width = w;
  f.height = h;
  f.bitsPerPixel = 24;
  f.bytesPerPixel = 3;
  f.noAlpha = 1;
  const uint32_t shifts[3] = {16, 8, 0};
  for (int i = 0; i < 3; ++i) {
    f.bits[i] = 8;
    f.shifts[i] = shifts[i];
    f.masks[i] = 255;
  }
  StxLevel l;
  l.width = w;
  l.height = h;
  l.pitch = w * 3;
  for (uint32_t i = 0; i < w * h * 3; ++i) l.rgb.push_back(uint8_t(i * 3));
  f.levels.push_back(l);
  return f;
}
