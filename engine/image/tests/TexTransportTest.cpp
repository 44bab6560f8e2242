#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "engine/image/TexTransport.h"
#include "platform/tests/ScratchDir.h"
#include "platform/DebugOutput.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Image = std::unique_ptr<TexTransport>;

void Put16(Bytes& b, size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(Bytes& b, size_t at, uint32_t v) {
  Put16(b, at, v);
  Put16(b, at + 2, v >> 16);
}

// A BMP laid out as the format stores it: file header, information header,
// palette, then the given rows (already padded) in file order.
struct BmpLayout {
  int32_t width = 2;
  int32_t height = 2;
  uint16_t bitCount = 24;
  uint32_t compression = 0;
  uint32_t coloursUsed = 0;
  uint32_t infoSize = 40;
  std::vector<uint8_t> palette;  // 4 bytes an entry
  std::vector<uint8_t> rows;
};

Bytes MakeBmp(const BmpLayout& l) {
  const size_t infoBytes = (l.infoSize >= 40 && l.infoSize <= 124) ? l.infoSize : 40;
  Bytes b(14 + infoBytes, 0);
  b[0] = 'B';
  b[1] = 'M';
  b.insert(b.end(), l.palette.begin(), l.palette.end());
  Put32(b, 10, static_cast<uint32_t>(b.size()));
  b.insert(b.end(), l.rows.begin(), l.rows.end());
  Put32(b, 2, static_cast<uint32_t>(b.size()));
  Put32(b, 14, l.infoSize);
  Put32(b, 18, static_cast<uint32_t>(l.width));
  Put32(b, 22, static_cast<uint32_t>(l.height));
  Put16(b, 26, 1);
  Put16(b, 28, l.bitCount);
  Put32(b, 30, l.compression);
  Put32(b, 46, l.coloursUsed);
  return b;
}

// 2 x 2, 24-bit: file rows of 6 bytes plus 2 of padding, bottom row first.
BmpLayout TwoByTwo24() {
  BmpLayout l;
  l.rows = {1, 2, 3, 4, 5, 6, 0xEE, 0xEE,  // bottom row
            7, 8, 9, 10, 11, 12, 0xEE, 0xEE};  // top row
  return l;
}

const Bytes kTopRow = {7, 8, 9, 255, 10, 11, 12, 255};
const Bytes kBottomRow = {1, 2, 3, 255, 4, 5, 6, 255};

Bytes Row(const TexTransport& img, int r) {
  const size_t stride = img.RowStride();
  return Bytes(img.pixels.begin() + static_cast<ptrdiff_t>(r * stride),
               img.pixels.begin() + static_cast<ptrdiff_t>((r + 1) * stride));
}

Image DecodeBmp(const Bytes& b, int options = 0) { return Image(TexTransport::DecodeBMP(b.data(), b.size(), options)); }
Image DecodeTga(const Bytes& b, int options = 0) { return Image(TexTransport::DecodeTGA(b.data(), b.size(), options)); }

TEST(TexTransport, StartsEmpty) {
  TexTransport t;
  EXPECT_EQ(t.width, -1);
  EXPECT_EQ(t.height, -1);
  EXPECT_EQ(t.loaded, 0);
  EXPECT_EQ(t.paletted, 0);
  EXPECT_TRUE(t.pixels.empty());
}

TEST(DecodeBMP, TwentyFourBitRowsComeTopFirstWithOpaqueAlpha) {
  const Image img = DecodeBmp(MakeBmp(TwoByTwo24()));
  ASSERT_TRUE(img);
  EXPECT_EQ(img->width, 2);
  EXPECT_EQ(img->height, 2);
  EXPECT_EQ(img->paletted, 0);
  EXPECT_EQ(img->loaded, 1);
  EXPECT_EQ(img->rowOrderFlags, 0u);
  ASSERT_EQ(img->pixels.size(), 16u);
  EXPECT_EQ(Row(*img, 0), kTopRow);
  EXPECT_EQ(Row(*img, 1), kBottomRow);
}

TEST(DecodeBMP, BottomUpOptionKeepsFileOrderAndSetsTheFlag) {
  const Image img = DecodeBmp(MakeBmp(TwoByTwo24()), TexTransport::kBottomUp);
  ASSERT_TRUE(img);
  EXPECT_EQ(img->rowOrderFlags & 1u, 1u);
  EXPECT_EQ(Row(*img, 0), kBottomRow);
  EXPECT_EQ(Row(*img, 1), kTopRow);
}

TEST(DecodeBMP, NegativeHeightMeansTopDownRows) {
  BmpLayout l = TwoByTwo24();
  l.height = -2;
  std::swap_ranges(l.rows.begin(), l.rows.begin() + 8, l.rows.begin() + 8);  // top row stored first
  Image img = DecodeBmp(MakeBmp(l));
  ASSERT_TRUE(img);
  EXPECT_EQ(img->height, 2);
  EXPECT_EQ(Row(*img, 0), kTopRow);
  EXPECT_EQ(Row(*img, 1), kBottomRow);
  img = DecodeBmp(MakeBmp(l), TexTransport::kBottomUp);
  ASSERT_TRUE(img);
  EXPECT_EQ(img->rowOrderFlags & 1u, 1u);
  EXPECT_EQ(Row(*img, 0), kBottomRow);
  EXPECT_EQ(Row(*img, 1), kTopRow);
}

TEST(DecodeBMP, EightBitKeepsIndicesAndReadsThePalette) {
  BmpLayout l;
  l.width = 3;
  l.bitCount = 8;
  l.coloursUsed = 2;
  l.palette = {10, 20, 30, 40, 50, 60, 70, 80};
  l.rows = {0, 1, 1, 0xEE,   // bottom
            1, 0, 7, 0xEE};  // top; index 7 lies past the two colours given
  const Image img = DecodeBmp(MakeBmp(l));
  ASSERT_TRUE(img);
  EXPECT_EQ(img->paletted, 1);
  EXPECT_EQ(img->RowStride(), 4u);
  ASSERT_EQ(img->pixels.size(), 8u);
  EXPECT_EQ(Row(*img, 0), (Bytes{1, 0, 7, 0}));
  EXPECT_EQ(Row(*img, 1), (Bytes{0, 1, 1, 0}));
  EXPECT_EQ(Bytes(img->palette[1], img->palette[1] + 4), (Bytes{50, 60, 70, 80}));
  EXPECT_EQ(Bytes(img->palette[7], img->palette[7] + 4), (Bytes{0, 0, 0, 0}));

  // Colours-used 0 means a full table of 256, placed after a larger header.
  l.coloursUsed = 0;
  l.infoSize = 124;
  l.palette.assign(1024, 0);
  l.palette[255 * 4] = 99;
  const Image full = DecodeBmp(MakeBmp(l));
  ASSERT_TRUE(full);
  EXPECT_EQ(full->palette[255][0], 99);
}

TEST(DecodeBMP, ThirtyTwoBitPixelsAreCopiedAsStored) {
  BmpLayout l;
  l.width = 1;
  l.bitCount = 32;
  l.rows = {1, 2, 3, 4, 5, 6, 7, 8};
  const Image img = DecodeBmp(MakeBmp(l));
  ASSERT_TRUE(img);
  EXPECT_EQ(img->pixels, (Bytes{5, 6, 7, 8, 1, 2, 3, 4}));
}

TEST(DecodeBMP, BadFilesAreRefusedWithADiagnostic) {
  const Bytes good = MakeBmp(TwoByTwo24());
  struct Case { const char* what; Bytes bytes; };
  auto with = [](auto change) { BmpLayout l = TwoByTwo24(); change(l); return MakeBmp(l); };
  auto patched = [&](size_t at, uint32_t v) { Bytes b = good; Put32(b, at, v); return b; };
  std::vector<Case> cases = {
      {"empty", {}},
      {"only the file header", Bytes(good.begin(), good.begin() + 14)},
      {"wrong signature", [&] { Bytes b = good; b[0] = 'M'; b[1] = 'B'; return b; }()},
      {"last pixel byte missing", Bytes(good.begin(), good.end() - 3)},
      {"data offset past the end", patched(10, 0xFFFFFF00u)},
      {"bit count 16", with([](BmpLayout& l) { l.bitCount = 16; })},
      {"bit count 4", with([](BmpLayout& l) { l.bitCount = 4; })},
      {"run-length compressed", with([](BmpLayout& l) { l.compression = 1; })},
      {"bit-field compressed", with([](BmpLayout& l) { l.compression = 3; })},
      {"zero width", with([](BmpLayout& l) { l.width = 0; })},
      {"negative width", with([](BmpLayout& l) { l.width = -2; })},
      {"zero height", with([](BmpLayout& l) { l.height = 0; })},
      {"most negative height", with([](BmpLayout& l) { l.height = INT32_MIN; })},
      {"width over the cap", with([](BmpLayout& l) { l.width = 20000; })},
      {"pixel count over the cap", with([](BmpLayout& l) { l.width = 16384; l.height = 16384; })},
      {"height claims more rows than stored", with([](BmpLayout& l) { l.height = 3; })},
      {"core header", with([](BmpLayout& l) { l.infoSize = 12; })},
      {"information size past the end", with([](BmpLayout& l) { l.bitCount = 8; l.infoSize = 0xFFFFFFF0u; })},
      {"palette over 256 colours", with([](BmpLayout& l) { l.bitCount = 8; l.coloursUsed = 257; })},
      {"palette count huge", with([](BmpLayout& l) { l.bitCount = 8; l.coloursUsed = 0xFFFFFFFFu; })},
      {"palette past the end", with([](BmpLayout& l) { l.bitCount = 8; l.coloursUsed = 200; })},
      {"binary junk", Bytes(300, 0xA5)},
  };
  platform::SetDebugStderr(false);
  for (const Case& c : cases) {
    platform::ScopedDebugCapture capture;
    EXPECT_FALSE(DecodeBmp(c.bytes)) << c.what;
    EXPECT_FALSE(DecodeBmp(c.bytes, TexTransport::kBottomUp)) << c.what;
    EXPECT_TRUE(capture.Contains("[TexTransport::DecodeBMP] refused")) << c.what;
  }
  platform::SetDebugStderr(true);
  EXPECT_TRUE(DecodeBmp(good));
}

// A TGA with an 18-byte header followed by the given bytes.
Bytes MakeTga(uint8_t type, uint16_t width, uint16_t height, uint8_t depth, uint8_t descriptor, const Bytes& body) {
  Bytes b(18, 0);
  b[2] = type;
  Put16(b, 12, width);
  Put16(b, 14, height);
  b[16] = depth;
  b[17] = descriptor;
  b.insert(b.end(), body.begin(), body.end());
  return b;
}

// 2 x 2, 24-bit, stored bottom row first (descriptor bit 5 clear).
const Bytes kTga24Body = {1, 2, 3, 4, 5, 6,     // bottom row
                          7, 8, 9, 10, 11, 12};  // top row

TEST(DecodeTGA, UncompressedRowsFollowTheOriginBit) {
  Image img = DecodeTga(MakeTga(2, 2, 2, 24, 0, kTga24Body));
  ASSERT_TRUE(img);
  EXPECT_EQ(img->loaded, 1);
  EXPECT_EQ(img->paletted, 0);
  EXPECT_EQ(Row(*img, 0), kTopRow);
  EXPECT_EQ(Row(*img, 1), kBottomRow);
  EXPECT_EQ(img->rowOrderFlags & 1u, 1u);  // reversed from the file's order

  img = DecodeTga(MakeTga(2, 2, 2, 24, 0, kTga24Body), TexTransport::kBottomUp);
  ASSERT_TRUE(img);
  EXPECT_EQ(Row(*img, 0), kBottomRow);
  EXPECT_EQ(img->rowOrderFlags & 1u, 0u);

  // Origin bit set: the first stored row is the top one.
  img = DecodeTga(MakeTga(2, 2, 2, 24, 0x20, kTga24Body));
  ASSERT_TRUE(img);
  EXPECT_EQ(Row(*img, 0), kBottomRow);
  EXPECT_EQ(img->rowOrderFlags & 1u, 0u);
  img = DecodeTga(MakeTga(2, 2, 2, 24, 0x20, kTga24Body), TexTransport::kBottomUp);
  ASSERT_TRUE(img);
  EXPECT_EQ(Row(*img, 0), kTopRow);
  EXPECT_EQ(img->rowOrderFlags & 1u, 1u);
}

TEST(DecodeTGA, PixelDepthsConvertToBlueGreenRedAlpha) {
  Image img = DecodeTga(MakeTga(2, 1, 1, 32, 0x20, {1, 2, 3, 4}));
  ASSERT_TRUE(img);
  EXPECT_EQ(img->pixels, (Bytes{1, 2, 3, 4}));
  // 16-bit words: 0x7FFF, blue only, green only, top bit only.
  img = DecodeTga(MakeTga(2, 4, 1, 16, 0x20, {0xFF, 0x7F, 0x1F, 0x00, 0xE0, 0x03, 0x00, 0x80}));
  ASSERT_TRUE(img);
  EXPECT_EQ(img->pixels, (Bytes{248, 248, 248, 255, 248, 0, 0, 255, 0, 248, 0, 255, 0, 0, 0, 255}));
}

TEST(DecodeTGA, RunLengthPacketsRepeatOrCopyPixels) {
  // 0x83: one pixel four times; 0x03: four literal pixels. Top-first file.
  const Bytes body = {0x83, 1, 2, 3, 0x03, 10, 11, 12, 20, 21, 22, 30, 31, 32, 40, 41, 42};
  const Image img = DecodeTga(MakeTga(10, 4, 2, 24, 0x20, body));
  ASSERT_TRUE(img);
  EXPECT_EQ(Row(*img, 0), (Bytes{1, 2, 3, 255, 1, 2, 3, 255, 1, 2, 3, 255, 1, 2, 3, 255}));
  EXPECT_EQ(Row(*img, 1), (Bytes{10, 11, 12, 255, 20, 21, 22, 255, 30, 31, 32, 255, 40, 41, 42, 255}));

  // A run may cross a row boundary.
  const Image across = DecodeTga(MakeTga(10, 3, 2, 32, 0x20, {0x85, 9, 8, 7, 6}));
  ASSERT_TRUE(across);
  for (size_t i = 0; i < 24; i += 4) EXPECT_EQ(Bytes(across->pixels.begin() + i, across->pixels.begin() + i + 4), (Bytes{9, 8, 7, 6}));
}

TEST(DecodeTGA, IdentifierAndColourMapAreSkipped) {
  Bytes b = MakeTga(2, 1, 1, 24, 0x20, {});
  b[0] = 3;       // identifier length
  b[1] = 1;       // a colour map is present
  Put16(b, 5, 2); // two entries
  b[7] = 15;      // of 15 bits: two bytes each
  const Bytes tail = {'a', 'b', 'c', 0xC1, 0xC2, 0xC3, 0xC4, 5, 6, 7};
  b.insert(b.end(), tail.begin(), tail.end());
  const Image img = DecodeTga(b);
  ASSERT_TRUE(img);
  EXPECT_EQ(img->pixels, (Bytes{5, 6, 7, 255}));
}

TEST(DecodeTGA, BadFilesAreRefusedWithADiagnostic) {
  const Bytes good = MakeTga(2, 2, 2, 24, 0, kTga24Body);
  const Bytes goodRle = MakeTga(10, 2, 2, 24, 0, {0x83, 1, 2, 3});
  struct Case { const char* what; Bytes bytes; };
  std::vector<Case> cases = {
      {"empty", {}},
      {"header cut short", Bytes(good.begin(), good.begin() + 17)},
      {"colour-mapped", MakeTga(1, 2, 2, 24, 0, kTga24Body)},
      {"colour-mapped run-length", MakeTga(9, 2, 2, 24, 0, kTga24Body)},
      {"greyscale", MakeTga(3, 2, 2, 24, 0, kTga24Body)},
      {"greyscale run-length", MakeTga(11, 2, 2, 24, 0, kTga24Body)},
      {"no image data", MakeTga(0, 2, 2, 24, 0, kTga24Body)},
      {"depth 8", MakeTga(2, 2, 2, 8, 0, kTga24Body)},
      {"depth 15", MakeTga(2, 2, 2, 15, 0, kTga24Body)},
      {"zero width", MakeTga(2, 0, 2, 24, 0, kTga24Body)},
      {"zero height", MakeTga(2, 2, 0, 24, 0, kTga24Body)},
      {"width over the cap", MakeTga(2, 20000, 1, 24, 0, kTga24Body)},
      {"pixel count over the cap", MakeTga(10, 16384, 16384, 24, 0, Bytes(60000, 0xFF))},
      {"last pixel byte missing", Bytes(good.begin(), good.end() - 1)},
      {"identifier past the end", [&] { Bytes b = good; b[0] = 200; return b; }()},
      {"colour map past the end", [&] { Bytes b = good; b[1] = 1; Put16(b, 5, 1000); b[7] = 24; return b; }()},
      {"run-length data missing", MakeTga(10, 2, 2, 24, 0, {})},
      {"run-length pixel cut short", Bytes(goodRle.begin(), goodRle.end() - 1)},
      {"run-length image not filled", MakeTga(10, 2, 2, 24, 0, {0x81, 1, 2, 3, 0x00, 4, 5, 6})},
      {"repeat packet past the last pixel", MakeTga(10, 2, 2, 24, 0, {0x87, 1, 2, 3, 0, 0, 0, 0, 0, 0})},
      {"literal packet past the last pixel", MakeTga(10, 2, 1, 24, 0, {0x02, 1, 2, 3, 4, 5, 6, 7, 8, 9})},
      {"literal packet cut short", MakeTga(10, 2, 2, 24, 0, {0x03, 1, 2, 3, 4, 5, 6, 7, 8})},
      {"binary junk", Bytes(300, 0xA5)},
  };
  platform::SetDebugStderr(false);
  for (const Case& c : cases) {
    platform::ScopedDebugCapture capture;
    EXPECT_FALSE(DecodeTga(c.bytes)) << c.what;
    EXPECT_FALSE(DecodeTga(c.bytes, TexTransport::kBottomUp)) << c.what;
    EXPECT_TRUE(capture.Contains("[TexTransport::DecodeTGA] refused")) << c.what;
  }
  platform::SetDebugStderr(true);
  EXPECT_TRUE(DecodeTga(good));
  EXPECT_TRUE(DecodeTga(goodRle));
}

TEST(TexTransport, FlipRowsReversesRowsAndTogglesTheFlag) {
  TexTransport t;
  t.width = 3;
  t.height = 3;
  t.paletted = 1;  // stride 4
  t.pixels = {1, 1, 1, 0, 2, 2, 2, 0, 3, 3, 3, 0};
  TexTransport::FlipRows(&t);
  EXPECT_EQ(t.pixels, (Bytes{3, 3, 3, 0, 2, 2, 2, 0, 1, 1, 1, 0}));
  EXPECT_EQ(t.rowOrderFlags, 1u);
  TexTransport::FlipRows(&t);
  EXPECT_EQ(t.pixels, (Bytes{1, 1, 1, 0, 2, 2, 2, 0, 3, 3, 3, 0}));
  EXPECT_EQ(t.rowOrderFlags, 0u);
  TexTransport::FlipRows(nullptr);  // no image: nothing happens
}


TEST(TexTransport, DecodeFileChoosesTheDecoderByExtension) {
  const ScratchDir dir;
  const Bytes bmp = MakeBmp(TwoByTwo24());
  const std::string path = dir.Write("image.bin", bmp);
  platform::SetDebugStderr(false);
  struct Case { const char* name; bool decodes; };
  const Case cases[] = {
      {"Terrain.BMP", true}, {"a.bmp", true}, {"x.jpe", false}, {"x.png", false}, {"bmp", false}, {"", false},
  };
  for (const Case& c : cases) {
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_TRUE(f);
    const Image img(TexTransport::DecodeFile(f, c.name, 0));
    std::fclose(f);
    EXPECT_EQ(static_cast<bool>(img), c.decodes) << c.name;
  }
  // The same bytes named as another image type go to that type's decoder,
  // which refuses them.
  for (const char* name : {"a.tga", "a.jpg", "a.jif", "a.jpeg"}) {
    platform::ScopedDebugCapture capture;
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_TRUE(f);
    EXPECT_FALSE(Image(TexTransport::DecodeFile(f, name, 0))) << name;
    std::fclose(f);
    const bool tga = std::string(name) == "a.tga";
    EXPECT_TRUE(capture.Contains(tga ? "[TexTransport::DecodeTGA]" : "[TexTransport::DecodeJPEG]")) << name;
  }
  EXPECT_FALSE(Image(TexTransport::DecodeFile(nullptr, "a.bmp", 0)));
  platform::SetDebugStderr(true);
}

TEST(TexTransport, LoadImageFileResolvesNamesInAnyCase) {
  const ScratchDir dir;
  dir.Write("Height.BMP", MakeBmp(TwoByTwo24()));
  const Image img(TexTransport_LoadImageFile(dir.File("height.bmp"), TexTransport::kBottomUp));
  ASSERT_TRUE(img);
  EXPECT_EQ(Row(*img, 0), kBottomRow);
  platform::SetDebugStderr(false);
  EXPECT_FALSE(Image(TexTransport_LoadImageFile(dir.File("missing.bmp"), 0)));
  platform::SetDebugStderr(true);
}

}  // namespace
