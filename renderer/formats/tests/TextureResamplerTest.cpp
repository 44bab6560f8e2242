// The two-pass resampler and MIP generation of texture formats.
#include <gtest/gtest.h>

#include "renderer/formats/ResampleFilters.h"
#include "renderer/formats/STexture2Format.h"
#include "renderer/formats/TextureResampler.h"

namespace {

std::vector<uint8_t> Resample(const std::vector<uint8_t>& src, int sw, int sh, int dw, int dh, const char* filter,
                              int channels = 4) {
  std::vector<uint8_t> dst(size_t(dw * dh * channels), 0xCD);
  TextureResampler job;
  job.source = src.data();
  job.sourceWidth = sw;
  job.sourceHeight = sh;
  job.destination = dst.data();
  job.destinationWidth = dw;
  job.destinationHeight = dh;
  const int f = FindResampleFilter(filter);
  EXPECT_TRUE(channels == 4 ? job.ResampleRGB(f, f) : job.ResampleAlpha(f, f));
  return dst;
}

TEST(TextureResampler, SameSizeWithPointIsTheIdentity) {
  std::vector<uint8_t> src(4 * 4 * 4);
  for (size_t i = 0; i < src.size(); ++i) src[i] = uint8_t(i * 37 + 5);
  EXPECT_EQ(Resample(src, 4, 4, 4, 4, "Point"), src);
  EXPECT_EQ(Resample(src, 4, 4, 4, 4, "Catrom"), src);  // a cardinal kernel
}

TEST(TextureResampler, HalvingWithBoxAveragesEachBlockRounded) {
  const int w = 256, h = 128;
  std::vector<uint8_t> src(size_t(w * h * 4));
  for (size_t i = 0; i < src.size(); ++i) src[i] = uint8_t((i * 2654435761u) >> 13);
  const std::vector<uint8_t> dst = Resample(src, w, h, w / 2, h / 2, "Box");
  for (int y = 0; y < h / 2; ++y)
    for (int x = 0; x < w / 2; ++x)
      for (int c = 0; c < 4; ++c) {
        auto at = [&](int sx, int sy) { return int(src[size_t((sy * w + sx) * 4 + c)]); };
        const int sum = at(2 * x, 2 * y) + at(2 * x + 1, 2 * y) + at(2 * x, 2 * y + 1) + at(2 * x + 1, 2 * y + 1);
        const int got = dst[size_t((y * (w / 2) + x) * 4 + c)];
        // The horizontal pass rounds to 1/64 first, so halves may round either way.
        EXPECT_NEAR(got, sum / 4.0, 0.5 + 1.0 / 64) << x << "," << y;
      }
}

TEST(TextureResampler, CatromRingsAtAHardEdgeAndClamps) {
  std::vector<uint8_t> src(16);
  for (int x = 0; x < 16; ++x) src[size_t(x)] = x < 8 ? 0 : 255;
  const std::vector<uint8_t> up = Resample(src, 16, 1, 64, 1, "Catrom", 1);
  // The undershoot and overshoot clamp to the ends of the range.
  EXPECT_EQ(*std::min_element(up.begin(), up.end()), 0);
  EXPECT_EQ(*std::max_element(up.begin(), up.end()), 255);
  EXPECT_EQ(up[0], 0);
  EXPECT_EQ(up[63], 255);
  // Smooth kernels do not ring: with "Cubic" the edge rises monotonically.
  const std::vector<uint8_t> smooth = Resample(src, 16, 1, 64, 1, "Cubic", 1);
  for (size_t i = 1; i < smooth.size(); ++i) EXPECT_GE(smooth[i], smooth[i - 1]);
}

TEST(TextureResampler, EveryWeightTableHasATapAndSumsToOne) {
  for (int filter = 0; filter < ResampleFilterCount(); ++filter)
    for (auto [n, d] : {std::pair{7, 3}, {3, 7}, {1, 200}, {256, 1}, {5, 5}, {2, 700}}) {
      const double s = double(d) / n;
      for (int b = 0; b < d; ++b) {
        const ResampleWeights w = TextureResampler::Weights(b, n, s, filter);
        ASSERT_GE(w.count, 1);
        ASSERT_GE(w.first, 0);
        ASSERT_LE(w.first + w.count, n);
        int sum = 0;
        for (int16_t v : w.weights) sum += v;
        EXPECT_EQ(sum, 16384) << GetResampleFilter(filter).name << " " << n << "->" << d << " at " << b;
      }
    }
  // Enlarging 100 times, the first destination sample's window falls between
  // source samples; the nearest sample carries it.
  const ResampleWeights edge = TextureResampler::Weights(0, 1, 100.0, 0);
  EXPECT_EQ(edge.first, 0);
  EXPECT_EQ(edge.count, 1);
  EXPECT_EQ(edge.weights[0], 16384);
}

TEST(TextureResampler, FilterNamesMatchExactly) {
  EXPECT_EQ(FindResampleFilter("Catrom"), 5);
  EXPECT_EQ(FindResampleFilter("catrom"), 0);
  EXPECT_EQ(FindResampleFilter("Bessel"), 8);
  EXPECT_EQ(std::string(GetResampleFilter(99).name), "Bessel");
  EXPECT_EQ(std::string(GetResampleFilter(-3).name), "Point");
  EXPECT_NEAR(GetResampleFilter(8).kernel(0.0), 3.14159265 / 4, 1e-9);
  EXPECT_NEAR(GetResampleFilter(8).kernel(-0.7), GetResampleFilter(8).kernel(0.7), 1e-12);
}

// ---- MIP generation ----------------------------------------------------

std::unique_ptr<STexture2Format> Chain(int bpp, int bytes, int w, int h, int levels, int alphaBits, int pad = 0) {
  auto f = std::make_unique<STexture2Format>();
  f->keepErrors = 1;
  f->bitsPerPixel = int16_t(bpp);
  f->bytesPerPixel = int16_t(bytes);
  f->width = int16_t(w);
  f->height = int16_t(h);
  f->noAlpha = alphaBits == 0;
  f->alpha = {uint8_t(alphaBits), 0, uint8_t((1 << alphaBits) - 1)};
  f->blue = {8, 0, 255};
  f->green = {8, 8, 255};
  f->red = {8, 16, 255};
  for (int k = 0; k < levels; ++k) {
    auto l = std::make_unique<STexture2Level>();
    l->width = int16_t(w >> k);
    l->height = int16_t(h >> k);
    l->pitch = int16_t(l->width * bytes + pad);
    l->rgb.assign(size_t(l->pitch) * size_t(l->height), 0xEE);
    if (alphaBits) l->alpha.assign(size_t(l->width * l->height), 0x11);
    f->levels.push_back(std::move(l));
  }
  f->m_iMIPDepth = int16_t(levels);
  return f;
}

std::vector<uint8_t> Pixels(STexture2Format& f, int level) {
  std::vector<uint8_t> out(size_t(f.GetRGBData(int16_t(level), nullptr, true)));
  EXPECT_EQ(f.GetRGBData(int16_t(level), out.data(), true), 0);
  return out;
}

TEST(STexture2Mips, LevelsAreGeneratedFromTheNearestSourceAboveThem) {
  auto f = Chain(32, 4, 16, 16, 5, 8);
  std::vector<uint8_t> white(16 * 16 * 4, 255), grey(8 * 8 * 4, 100);
  // Level 0 white, level 1 a supplied grey source, level 2 locked.
  ASSERT_TRUE(f->SetRGBData(0, white.data()));
  ASSERT_TRUE(f->SetRGBData(1, grey.data()));
  f->levels[1]->genRGB = true;
  f->levels[2]->lockRGB = true;
  const std::vector<uint8_t> locked = f->levels[2]->rgb;
  ASSERT_TRUE(f->GenerateRGBMIPs("Catrom", "Box"));
  // Every level but the source and the locked one comes from the grey
  // source, level 0 (above it) included.
  EXPECT_EQ(f->levels[2]->rgb, locked);
  for (int level : {0, 3, 4}) {
    const std::vector<uint8_t> p = Pixels(*f, level);
    for (size_t i = 0; i < p.size(); ++i) {
      if (i % 4 == 3) continue;
      ASSERT_EQ(p[i], 100) << "level " << level;
    }
  }
}

TEST(STexture2Mips, AnEarlierSourceBelowLevelZeroIsScaledUp) {
  auto f = Chain(32, 4, 8, 8, 3, 0);
  std::vector<uint8_t> dark(4 * 4 * 4, 40);
  ASSERT_TRUE(f->SetRGBData(1, dark.data()));
  f->levels[1]->genRGB = true;
  ASSERT_TRUE(f->GenerateRGBMIPs("Triangle", "Box"));
  EXPECT_EQ(Pixels(*f, 0)[0], 40);
  EXPECT_EQ(Pixels(*f, 2)[5], 40);
}

TEST(STexture2Mips, IndexedLevelsAreQuantisedRowByRowAtThePitch) {
  auto f = Chain(8, 1, 8, 4, 2, 0, 3);  // rows padded by 3 bytes
  // Palette: 0 black, 1 white, 2 mid grey (128), the rest far away.
  uint8_t pal[256][4] = {};
  for (int i = 3; i < 256; ++i) pal[i][0] = pal[i][1] = 0, pal[i][2] = 255;  // red
  for (int c = 0; c < 3; ++c) {
    pal[1][c] = 255;
    pal[2][c] = 128;
  }
  f->SetPalette(pal);
  f->lastIndex = 2;
  // Level 0 alternates black and white columns: halving gives grey.
  std::vector<uint8_t> idx(8 * 4);
  for (size_t i = 0; i < idx.size(); ++i) idx[i] = uint8_t(i % 2);
  ASSERT_TRUE(f->SetRGBData(0, idx.data()));
  ASSERT_TRUE(f->GenerateRGBMIPs("Box", "Box"));
  const STexture2Level& l1 = *f->levels[1];
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(l1.rgb[size_t(y * l1.pitch + x)], 2) << x << "," << y;
    for (int p = 4; p < l1.pitch; ++p) EXPECT_EQ(l1.rgb[size_t(y * l1.pitch + p)], 0xEE);
  }
}

TEST(STexture2Mips, QuantiserTiesGoToTheLowerIndexWithinTheRange) {
  auto f = Chain(8, 1, 2, 2, 2, 0);
  uint8_t pal[256][4] = {};
  pal[4][2] = 10;   // red 10
  pal[5][2] = 30;   // red 30: as far from 20 as entry 4
  pal[6][2] = 20;   // exact, but outside the range
  f->SetPalette(pal);
  f->firstIndex = 4;
  f->lastIndex = 5;
  auto& level1 = *f->levels[1];
  std::vector<uint8_t> src = {6, 6, 6, 6};
  ASSERT_TRUE(f->SetRGBData(0, src.data()));
  ASSERT_TRUE(f->GenerateRGBMIPs("Box", "Box"));
  EXPECT_EQ(level1.rgb[0], 4);
}

TEST(STexture2Mips, AlphaLevelsAndFailures) {
  auto f = Chain(32, 4, 8, 8, 3, 4);
  std::vector<uint8_t> a(64, 0xF0);
  ASSERT_TRUE(f->SetAlphaData(0, a.data()));
  ASSERT_TRUE(f->GenerateAlphaMIPs("Catrom", "Catrom"));
  std::vector<uint8_t> out(4);
  ASSERT_EQ(f->GetAlphaData(2, out.data()), 0);
  EXPECT_EQ(out[0], 0xFF);  // 4-bit 15, widened

  auto opaque = Chain(32, 4, 8, 8, 2, 0);
  EXPECT_FALSE(opaque->GenerateAlphaMIPs("Box", "Box"));
  EXPECT_EQ(opaque->lastError, "Format has no Alpha");

  auto gap = Chain(32, 4, 8, 8, 3, 4);
  gap->levels[0]->rgb.clear();
  gap->levels[0]->alpha.clear();
  const std::vector<uint8_t> before = gap->levels[2]->rgb;
  EXPECT_FALSE(gap->GenerateRGBMIPs("Box", "Box"));
  EXPECT_EQ(gap->lastError, "Missing Layer RGB Data");
  EXPECT_FALSE(gap->GenerateAlphaMIPs("Box", "Box"));
  EXPECT_EQ(gap->lastError, "Missing Layer Alpha Data");
  EXPECT_EQ(gap->levels[2]->rgb, before);
}

}  // namespace
