// Externalised formats: levels read from image files beside the ".stx" file,
// the rest generated, and the embedded planes as the fallback.
#include <gtest/gtest.h>

#include "platform/DebugOutput.h"
#include "platform/Paths.h"
#include "platform/tests/ScratchDir.h"
#include "renderer/formats/STexture2.h"
#include "renderer/formats/tests/ImageFiles.h"
#include "renderer/formats/tests/STXFixtures.h"

namespace {

class STexture2Extern : public ::testing::Test {
 protected:
  void Write(const std::string& rel, const std::vector<uint8_t>& bytes) { dir_.Write(rel, bytes); }
  // A uniform 24-bit bitmap of blue, green, red.
  void Uniform(const std::string& rel, int w, int h, uint8_t b, uint8_t g, uint8_t r) {
    BmpLayout s;
    s.width = w;
    s.height = h;
    s.pixel = [=](int, int, int k) { return k == 0 ? b : k == 1 ? g : r; };
    Write(rel, MakeBmp(s));
  }
  bool Load(STexture2& t, const StxTexture& layout, bool loadData = true) {
    Write("Art/tex.stx", BuildStx(layout));
    return t.Load(dir_.File("art/TEX.stx"), loadData);
  }

  ScratchDir dir_;
};

// A 5-6-5 format with 4-bit alpha and embedded planes, tagged as externalised.
StxFormat ExternFormat(std::vector<StxTag> tags) {
  StxFormat f = Stx565(16, 8, 2);
  f.tags = std::move(tags);
  f.tags.push_back({"Externalized", ""});
  return f;
}

TEST_F(STexture2Extern, LevelZeroFixesTheChainAndTheRestIsGenerated) {
  Uniform("Art/Wall.bmp", 256, 128, 0xF8, 0xFC, 0x08);
  StxTexture layout;
  layout.formats = {ExternFormat({{"ExternRGBMIP-0", "wall.BMP"}, {"ExternAlphaMIP-0", "wall.BMP"}})};
  STexture2 t;
  ASSERT_TRUE(Load(t, layout));
  STexture2Format& f = *t.GetFormat(0);
  ASSERT_EQ(f.m_iMIPDepth, 6);  // 256 x 128 down to 8 x 4
  EXPECT_EQ(f.levels[5]->width, 8);
  EXPECT_EQ(f.levels[5]->height, 4);
  EXPECT_EQ(t.width, 256);
  EXPECT_EQ(t.height, 128);
  EXPECT_EQ(t.mipLevels, 6);
  EXPECT_TRUE(t.flags & STexture2::kExternalLoaded);
  EXPECT_TRUE(f.levels[0]->genRGB);
  for (int level : {0, 3, 5}) {
    std::vector<uint8_t> px(size_t(f.GetRGBData(int16_t(level), nullptr, true)));
    ASSERT_EQ(f.GetRGBData(int16_t(level), px.data(), true), 0);
    EXPECT_EQ(px[0], 0xFF) << level;  // 5-bit 31, widened
    EXPECT_EQ(px[1], 0xFF) << level;
    EXPECT_EQ(px[2], 0x08) << level;
    std::vector<uint8_t> a(size_t(f.GetAlphaData(int16_t(level), nullptr)));
    ASSERT_EQ(f.GetAlphaData(int16_t(level), a.data()), 0);
    EXPECT_EQ(a[0], 0xFF) << level;  // a 24-bit image is opaque
  }
}

TEST_F(STexture2Extern, MipLevelsTagCapsTheChain) {
  Uniform("Art/wall.bmp", 256, 128, 1, 2, 3);
  StxTexture layout;
  layout.tags = {{"MIPLevels", "3"}};
  layout.formats = {ExternFormat({{"ExternRGBMIP-0", "wall.bmp"}, {"ExternAlphaMIP-0", "wall.bmp"}})};
  STexture2 t;
  ASSERT_TRUE(Load(t, layout));
  EXPECT_EQ(t.GetFormat(0)->m_iMIPDepth, 3);
}

TEST_F(STexture2Extern, SeparateAlphaImages) {
  Uniform("Art/c0.bmp", 16, 8, 0, 0, 0);
  BmpLayout alpha;
  alpha.bits = 8;
  alpha.paletteEntries = 256;
  alpha.width = 16;
  alpha.height = 8;
  alpha.pixel = [](int, int, int) { return uint8_t(0x80); };
  Write("Art/a0.bmp", MakeBmp(alpha));
  StxTexture layout;
  layout.formats = {ExternFormat({{"ExternRGBMIP-0", "c0.bmp"}, {"ExternAlphaMIP-0", "a0.bmp"}})};
  STexture2 t;
  ASSERT_TRUE(Load(t, layout));
  STexture2Format& f = *t.GetFormat(0);
  ASSERT_EQ(f.m_iMIPDepth, 2);  // 16 x 8 gives levels down to 8 x 4 only
  std::vector<uint8_t> a0(128), a1(32);
  ASSERT_EQ(f.GetAlphaData(0, a0.data()), 0);
  EXPECT_EQ(a0[5], 0x88);  // index 0x80 as 4-bit alpha 8, widened
  ASSERT_EQ(f.GetAlphaData(1, a1.data()), 0);
  EXPECT_EQ(a1[31], 0x88);  // generated from level 0
}

TEST_F(STexture2Extern, SuppliedLowerLevelsOfTheRightSizeAreKept) {
  Uniform("Art/c0.bmp", 32, 16, 0, 0, 0);
  Uniform("Art/c1.bmp", 16, 8, 255, 255, 255);  // a supplied level 1
  Uniform("Art/c2.bmp", 5, 5, 0, 0, 255);       // wrong size for level 2: generated instead
  StxTexture layout;
  layout.formats = {ExternFormat({{"ExternRGBMIP-0", "c0.bmp"},
                                {"ExternAlphaMIP-0", "c0.bmp"},
                                {"ExternRGBMIP-1", "c1.bmp"},
                                {"ExternAlphaMIP-1", "c1.bmp"},
                                {"ExternRGBMIP-2", "c2.bmp"},
                                {"ExternAlphaMIP-2", "c2.bmp"}})};
  STexture2 t;
  ASSERT_TRUE(Load(t, layout));
  STexture2Format& f = *t.GetFormat(0);
  ASSERT_EQ(f.m_iMIPDepth, 3);
  std::vector<uint8_t> px0(32 * 16 * 4), px1(16 * 8 * 4), px2(8 * 4 * 4);
  ASSERT_EQ(f.GetRGBData(0, px0.data(), true), 0);
  ASSERT_EQ(f.GetRGBData(1, px1.data(), true), 0);
  ASSERT_EQ(f.GetRGBData(2, px2.data(), true), 0);
  EXPECT_EQ(px0[0], 0);
  EXPECT_EQ(px1[0], 0xFF);  // the supplied white, not black from level 0
  EXPECT_EQ(px2[0], 0xFF);  // generated from level 1, the nearest source above
  EXPECT_EQ(px2[2], 0xFF);  // and not the red of the wrong-sized file
  EXPECT_TRUE(f.levels[1]->genRGB);
  EXPECT_FALSE(f.levels[2]->genRGB);
}

TEST_F(STexture2Extern, UnreadableLevelZeroFallsBackToTheEmbeddedPlanes) {
  Uniform("Art/small.bmp", 4, 4, 9, 9, 9);
  BmpLayout pal;
  pal.bits = 8;
  pal.paletteEntries = 256;
  Write("Art/pal.bmp", MakeBmp(pal));
  const StxFormat embedded = Stx565(16, 8, 2);
  struct Case {
    const char* what;
    std::vector<StxTag> tags;
  } cases[] = {
      {"no file tag", {}},
      {"missing file", {{"ExternRGBMIP-0", "gone.bmp"}}},
      {"missing alpha file", {{"ExternRGBMIP-0", "small.bmp"}, {"ExternAlphaMIP-0", "gone.bmp"}}},
      {"not an image", {{"ExternRGBMIP-0", "tex.stx"}}},
  };
  platform::ScopedDebugCapture capture;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StxTexture layout;
    layout.formats = {ExternFormat(c.tags)};
    STexture2 t;
    ASSERT_TRUE(Load(t, layout));
    STexture2Format& f = *t.GetFormat(0);
    EXPECT_EQ(f.m_iMIPDepth, 2);
    EXPECT_EQ(f.levels[0]->rgb, embedded.levels[0].rgb);
    EXPECT_EQ(t.flags, STexture2::kResolveExternal);
  }
  // An indexed format given a true-colour image cannot take it either.
  StxTexture layout;
  layout.formats = {StxIndexed(8, 4, 1, false)};
  layout.formats[0].tags = {{"Externalized", ""}, {"ExternRGBMIP-0", "small.bmp"}};
  STexture2 t;
  t.SetKeepErrors(true);
  ASSERT_TRUE(Load(t, layout));
  EXPECT_EQ(t.GetFormat(0)->levels[0]->width, 8);
  EXPECT_EQ(t.GetFormat(0)->lastError, "Format has Palette - Filename does not");
  // The same format takes an indexed image with its palette.
  layout.formats[0].tags[1].value = "pal.bmp";
  ASSERT_TRUE(Load(t, layout));
  STexture2Format& f = *t.GetFormat(0);
  EXPECT_EQ(f.levels[0]->width, 4);
  EXPECT_EQ(f.palette[200][1], 55);
  EXPECT_EQ(f.levels[0]->rgb[1], BmpLayout{}.pixel(1, 1, 0));
}

}  // namespace
