// Pixel conversions and plane writes of texture formats built in memory.
#include <gtest/gtest.h>

#include "renderer/formats/STexture2Format.h"

namespace {

// A format of one level with both planes allocated (pitch = row + pad).
std::unique_ptr<STexture2Format> MakeFormat(int bpp, int bytes, int w, int h, int alphaBits, int pad = 0) {
  auto f = std::make_unique<STexture2Format>();
  f->keepErrors = 1;
  f->bitsPerPixel = int16_t(bpp);
  f->bytesPerPixel = int16_t(bytes);
  f->width = int16_t(w);
  f->height = int16_t(h);
  f->noAlpha = alphaBits == 0;
  f->alpha = {uint8_t(alphaBits), 0, uint8_t((1 << alphaBits) - 1)};
  if (bpp == 16) {
    f->blue = {5, 0, 31};
    f->green = {6, 5, 63};
    f->red = {5, 11, 31};
  } else if (bpp > 16) {
    f->blue = {8, 0, 255};
    f->green = {8, 8, 255};
    f->red = {8, 16, 255};
  }
  auto l = std::make_unique<STexture2Level>();
  l->width = int16_t(w);
  l->height = int16_t(h);
  l->pitch = int16_t(w * bytes + pad);
  l->rgb.assign(size_t(l->pitch) * size_t(h), 0xEE);
  if (alphaBits) l->alpha.assign(size_t(w * h), 0);
  f->levels.push_back(std::move(l));
  f->m_iMIPDepth = 1;
  return f;
}

TEST(STexture2Planes, OutputSizesFollowTheFormat) {
  auto packed = MakeFormat(16, 2, 64, 32, 0);
  EXPECT_EQ(packed->GetRGBData(0, nullptr, false), 8192);
  auto indexed = MakeFormat(8, 1, 64, 32, 8);
  EXPECT_EQ(indexed->GetRGBData(0, nullptr, false), 2048);
  EXPECT_EQ(indexed->GetRGBData(0, nullptr, true), 8192);
  EXPECT_EQ(indexed->GetAlphaData(0, nullptr), 2048);
  EXPECT_EQ(packed->GetAlphaData(0, nullptr), -1);
  EXPECT_EQ(packed->lastError, "No Alpha in Format");
  EXPECT_EQ(packed->GetRGBData(-1, nullptr, false), -1);
  EXPECT_EQ(packed->lastError, "Layer Index < 0");
  EXPECT_EQ(packed->GetRGBData(1, nullptr, false), -1);
  EXPECT_EQ(packed->lastError, "Layer Index >= m_iMIPDepth");
}

TEST(STexture2Planes, NarrowChannelsWidenToFullScale) {
  auto f = MakeFormat(16, 2, 2, 1, 1);
  const uint8_t in[8] = {0, 0, 0xFF, 0xFF, 0, 0, 132, 0x80};  // pixel 0: red 31; pixel 1: red 16
  ASSERT_TRUE(f->SetRGBAData(0, in));
  uint8_t out[8];
  ASSERT_EQ(f->GetRGBData(0, out, false), 0);
  EXPECT_EQ(out[2], 255);
  EXPECT_EQ(out[6], 132);
  uint8_t a[2];
  ASSERT_EQ(f->GetAlphaData(0, a), 0);
  EXPECT_EQ(a[0], 255);  // 1-bit alpha 1
  EXPECT_EQ(a[1], 255);
  const uint8_t clear[8] = {0, 0, 0, 0x7F, 0, 0, 0, 0};
  ASSERT_TRUE(f->SetRGBAData(0, clear));
  ASSERT_EQ(f->GetAlphaData(0, a), 0);
  EXPECT_EQ(a[0], 0);
}

TEST(STexture2Planes, WritesPackRowsAtThePitchAndKeepThePadding) {
  auto f = MakeFormat(24, 3, 3, 2, 0, 3);
  std::vector<uint8_t> in(3 * 2 * 4);
  for (size_t i = 0; i < in.size(); ++i) in[i] = uint8_t(i * 11);
  ASSERT_TRUE(f->SetRGBData(0, in.data()));
  const auto& plane = f->levels[0]->rgb;
  for (int y = 0; y < 2; ++y) {
    for (int pad = 0; pad < 3; ++pad) EXPECT_EQ(plane[size_t(y * 12 + 9 + pad)], 0xEE);
    // blue at shift 0 is the low byte.
    EXPECT_EQ(plane[size_t(y * 12)], in[size_t(y * 12)]);
    EXPECT_EQ(plane[size_t(y * 12 + 2)], in[size_t(y * 12 + 2)]);
  }
  std::vector<uint8_t> out(in.size());
  ASSERT_EQ(f->GetRGBData(0, out.data(), true), 0);
  for (size_t i = 0; i < in.size(); ++i) EXPECT_EQ(out[i], i % 4 == 3 ? 0 : in[i]) << i;
}

TEST(STexture2Planes, LocksAndMissingPlanesRefuseWritesAndKeepThePlane) {
  auto f = MakeFormat(16, 2, 2, 2, 4);
  const std::vector<uint8_t> in(16, 0x77);
  f->levels[0]->lockRGB = true;
  const std::vector<uint8_t> before = f->levels[0]->rgb;
  EXPECT_FALSE(f->SetRGBData(0, in.data()));
  EXPECT_EQ(f->lastError, "RGB Buffer is Locked");
  EXPECT_EQ(f->levels[0]->rgb, before);
  // Colour locked, alpha free: only the alpha is written.
  ASSERT_TRUE(f->SetRGBAData(0, in.data()));
  EXPECT_EQ(f->levels[0]->rgb, before);
  EXPECT_EQ(f->levels[0]->alpha[0], 0x7);
  f->levels[0]->lockAlpha = true;
  EXPECT_FALSE(f->SetRGBAData(0, in.data()));
  EXPECT_EQ(f->lastError, "RGB and Alpha Buffers Locked");
  EXPECT_FALSE(f->SetAlphaData(0, in.data()));
  EXPECT_EQ(f->lastError, "Alpha Buffer is Locked");
  EXPECT_FALSE(f->SetRGBData(0, nullptr));
  EXPECT_EQ(f->lastError, "Input Buffer is NULL");
  f->levels[0]->rgb.clear();
  f->levels[0]->lockRGB = false;
  EXPECT_FALSE(f->SetRGBData(0, in.data()));
  EXPECT_EQ(f->lastError, "RGB Buffer is NULL");
  uint8_t out[16];
  EXPECT_EQ(f->GetRGBData(0, out, false), -1);
  // Without an alpha plane to write, a locked colour plane refuses too.
  auto opaque = MakeFormat(16, 2, 2, 2, 0);
  opaque->levels[0]->lockRGB = true;
  EXPECT_FALSE(opaque->SetRGBAData(0, in.data()));
  EXPECT_EQ(opaque->lastError, "RGB Buffer is Locked");
  EXPECT_FALSE(opaque->SetAlphaData(0, in.data()));
  EXPECT_EQ(opaque->lastError, "No Alpha in Format");
}

TEST(STexture2Planes, IndexedAlphaComesFromTheColourKey) {
  auto f = MakeFormat(8, 1, 4, 1, 4);
  f->colourKey = 7;
  const uint8_t indices[4] = {7, 1, 7, 200};
  ASSERT_TRUE(f->SetRGBAData(0, indices));
  EXPECT_EQ(f->levels[0]->alpha, (std::vector<uint8_t>{0, 15, 0, 15}));
  EXPECT_EQ(f->levels[0]->rgb, (std::vector<uint8_t>{7, 1, 7, 200}));
}

TEST(STexture2Planes, GeneratorFlagsAreRecordedAsTags) {
  auto f = MakeFormat(16, 2, 2, 2, 4);
  ASSERT_TRUE(f->SetRGBGenerator(0, true));
  EXPECT_TRUE(f->levels[0]->genRGB);
  EXPECT_EQ(f->GetTagString("GenRGBMIP-0", ""), "1");
  ASSERT_TRUE(f->SetAlphaGenerator(0, false));
  EXPECT_EQ(f->GetTagString("genalphamip-0", ""), "0");
  auto opaque = MakeFormat(16, 2, 2, 2, 0);
  EXPECT_FALSE(opaque->SetAlphaGenerator(0, true));
  EXPECT_EQ(opaque->lastError, "No Alpha in Format");
  EXPECT_EQ(opaque->FindTag("GenAlphaMIP-0"), -1);
}

}  // namespace
