// Image resources on the record device: textures from pixels, files,
// composite names, ".stx" and ".dds"; the 16-bit fallback; pixel copies;
// updates; moving to another device.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ImageTestUtil.h"
#include "RendererTestUtil.h"
#include "platform/graphics/ImageUtil.h"
#include "platform/tests/ScratchDir.h"
#include "renderer/formats/tests/ImageFiles.h"
#include "renderer/formats/tests/STXFixtures.h"
#include "renderer/resources/DX8Image.h"

namespace {

using namespace rtest;

// Packed 8-8-8-8 colour (blue in the low byte) with an 8-bit alpha plane,
// `levels` levels halving from w x h.
StxFormat StxArgb(uint32_t w, uint32_t h, int levels) {
  StxFormat f = StxChannels("8888", w, h, 4, {8, 8, 8, 8}, {0, 8, 16, 0}, {255, 255, 255, 255});
  for (int k = 0; k < levels; ++k) {
    StxLevel l;
    l.width = std::max(1u, w >> k);
    l.height = std::max(1u, h >> k);
    l.pitch = l.width * 4;
    for (uint32_t i = 0; i < l.width * l.height; ++i) {
      const uint32_t p = 0x00102030u + i + uint32_t(k) * 0x10000u;
      for (int b = 0; b < 4; ++b) l.rgb.push_back(uint8_t(p >> (8 * b)));
      l.alpha.push_back(uint8_t(0x80 + i));
    }
    f.levels.push_back(l);
  }
  return f;
}

std::vector<uint8_t> StxFile(const StxFormat& format) {
  StxTexture t;
  t.width = format.width;
  t.height = format.height;
  t.mipLevels = uint32_t(format.levels.size());
  t.nameField = "t";
  t.formats = {format};
  return BuildStx(t);
}

class DX8ImageTest : public RecordRenderer {
 protected:
  void TearDown() override {
    gfx::SetRefusedTextureFormat(0);
    gfx::SetRefusedLocks(0);
    RecordRenderer::TearDown();
  }
  std::unique_ptr<DX8Image> FromName(const std::string& name, uint32_t flags = 0) {
    return std::unique_ptr<DX8Image>(CreateImageFromName(&renderer, flags, name));
  }
  std::vector<uint32_t> Level(DX8Image& image, uint32_t level) { return LevelWords(image.GetDeviceTexture(), level); }
  ScratchDir dir;
};

TEST_F(DX8ImageTest, MipChainsFromLevelZero) {
  struct Case {
    const char* name;
    uint16_t width, height;
    bool mip;
    uint32_t levels, lastWidth, lastHeight;
  };
  const Case cases[] = {
      {"256 x 64 gets 7 levels", 256, 64, true, 7, 4, 1},
      {"1 x 1 gets one", 1, 1, true, 1, 1, 1},
      {"no chain asked", 16, 16, false, 1, 16, 16},
      {"odd sizes", 5, 3, true, 2, 2, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DX8Image image(&renderer, 0, "pixels");
    const std::vector<uint32_t> pixels(size_t(c.width) * c.height, 0xFF336699u);
    ASSERT_EQ(image.BuildFromPixels(&renderer, c.width, c.height, c.mip, pixels.data()), 0);
    gfx::Texture* t = image.GetDeviceTexture();
    ASSERT_EQ(t->GetLevelCount(), c.levels);
    gfx::SurfaceDesc desc;
    t->GetLevelDesc(c.levels - 1, &desc);
    EXPECT_EQ(desc.width, c.lastWidth);
    EXPECT_EQ(desc.height, c.lastHeight);
    EXPECT_EQ(Level(image, 0), pixels);
    // A uniform picture stays uniform at every level.
    for (uint32_t p : Level(image, c.levels - 1)) EXPECT_EQ(p, 0xFF336699u);
  }
  DX8Image image(&renderer, 0, "bad");
  const uint32_t one = 0;
  EXPECT_LT(image.BuildFromPixels(&renderer, 0, 4, false, &one), 0);
  EXPECT_LT(image.BuildFromPixels(nullptr, 1, 1, false, &one), 0);
}

TEST_F(DX8ImageTest, SixteenBitRetryWhenTheDeviceRefusesThirtyTwo) {
  gfx::SetRefusedTextureFormat(gfx::D3DFMT_A8R8G8B8);
  DX8Image image(&renderer, 0, "narrow");
  const std::vector<uint32_t> pixels = {0x80FF8040u, 0xFFFFFFFFu, 0x00000000u, 0x7F0F1F2Fu};
  ASSERT_EQ(image.BuildFromPixels(&renderer, 2, 2, false, pixels.data()), 0);
  EXPECT_EQ(image.GetFormat(), gfx::D3DFMT_A4R4G4B4);
  EXPECT_EQ(Level(image, 0), (std::vector<uint32_t>{0x8F84u, 0xFFFFu, 0x0000u, 0x7012u}));
  // Updating a 16-bit texture converts row by row and writes nothing past it.
  const std::vector<uint32_t> next = {0x11223344u, 0x55667788u, 0x99AABBCCu, 0xDDEEFF00u};
  EXPECT_TRUE(image.UpdatePixels(next.data()));
  EXPECT_EQ(Level(image, 0), (std::vector<uint32_t>{0x1234u, 0x5678u, 0x9ABCu, 0xDEF0u}));
  gfx::SetRefusedTextureFormat(gfx::D3DFMT_A4R4G4B4 + 1000);
}

TEST_F(DX8ImageTest, PixelCopiesRespectPitchAndFormat) {
  struct Case {
    const char* name;
    uint32_t format;
    uint32_t pitch;
    std::vector<uint8_t> expected;
  };
  const uint32_t source[2] = {0x80FF8040u, 0x01020304u};  // one row of two pixels
  const Case cases[] = {
      {"32-bit rows at a padded pitch", gfx::D3DFMT_A8R8G8B8, 12,
       {0x40, 0x80, 0xFF, 0x80, 0x04, 0x03, 0x02, 0x01, 0xEE, 0xEE, 0xEE, 0xEE}},
      {"16-bit narrowing", gfx::D3DFMT_A4R4G4B4, 12, {0x84, 0x8F, 0x00, 0x00, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> out(12, 0xEE);
    ASSERT_EQ(DX8Image::CopyPixels32(out.data(), source, 2, 1, c.pitch, c.format), 0);
    EXPECT_EQ(out, c.expected);
  }
  std::vector<uint8_t> out(24, 0xEE);
  EXPECT_LT(DX8Image::CopyPixels32(out.data(), source, 2, 1, 8, gfx::D3DFMT_R5G6B5), 0);
  EXPECT_EQ(DX8Image::CopyPixels32(nullptr, source, 2, 1, 8, gfx::D3DFMT_A8R8G8B8), 0);
  // 16-bit sources: widened to 32 bits (low nibbles zero) or copied; the
  // pitch counts bytes.
  const uint16_t narrow[2] = {0x8F84, 0x1234};
  ASSERT_EQ(DX8Image::CopyPixels16(out.data(), narrow, 1, 2, 12, gfx::D3DFMT_A8R8G8B8), 0);
  EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 4), (std::vector<uint8_t>{0x40, 0x80, 0xF0, 0x80}));
  EXPECT_EQ(std::vector<uint8_t>(out.begin() + 12, out.begin() + 16), (std::vector<uint8_t>{0x40, 0x30, 0x20, 0x10}));
  EXPECT_EQ(out[4], 0xEE);
  EXPECT_LT(DX8Image::CopyPixels16(out.data(), narrow, 1, 2, 12, 0), 0);
}

TEST_F(DX8ImageTest, ImagesFromNames) {
  const std::vector<uint32_t> wall = {0xFF102030u, 0xFF405060u, 0xFF708090u, 0xFFA0B0C0u};
  const std::vector<uint32_t> mask = {0x00FFFFFFu, 0x40000000u, 0x80123456u, 0xFFABCDEFu};
  const std::string wallName = dir.Write("wall.tga", TgaTopDown(2, 2, wall));
  const std::string maskName = dir.Write("mask.tga", TgaTopDown(2, 2, mask));
  const std::string wideName = dir.Write("wide.tga", TgaTopDown(4, 1, {1, 2, 3, 4}));
  BmpLayout paletted;
  paletted.bits = 8;
  paletted.paletteEntries = 256;
  const std::string bmpName = dir.Write("pal.bmp", MakeBmp(paletted));
  const std::string stxGood = dir.Write("good.stx", StxFile(StxArgb(4, 2, 2)));
  StxFormat skewed = StxArgb(4, 2, 2);
  skewed.levels[1].width = 4;  // not halved
  skewed.levels[1].pitch = 16;
  skewed.levels[1].rgb.resize(16, 0);
  skewed.levels[1].alpha.resize(4, 0);
  const std::string stxSkewed = dir.Write("skewed.stx", StxFile(skewed));
  StxFormat bare = StxArgb(4, 2, 2);
  bare.levels[1] = StxBareLevel(2, 1, 8);  // a level whose planes are not stored
  const std::string stxBare = dir.Write("bare.stx", StxFile(bare));
  const std::string stxPaletted = dir.Write("pal.stx", StxFile(StxIndexed(4, 2, 1, true)));
  std::vector<uint8_t> dds;
  {
    DX8Image source(&renderer, 0, "src");
    const std::vector<uint32_t> px(8 * 4, 0xFF00FF00u);
    ASSERT_EQ(source.BuildFromPixels(&renderer, 8, 4, false, px.data()), 0);
    ASSERT_EQ(gfx::SaveTextureToMemory(gfx::D3DXIFF_DDS, source.GetDeviceTexture(), &dds), 0);
  }
  const std::string ddsName = dir.Write("green.dds", dds);

  struct Case {
    const char* name;
    std::string imageName;
    bool made;
    bool textured;
    uint16_t width, height;
  };
  const Case cases[] = {
      {"tga file", wallName, true, true, 2, 2},
      {"missing file", dir.File("none.tga"), false, false, 0, 0},
      {"palette picture", bmpName, false, false, 0, 0},
      {"alphamerge", "alphamerge;" + wallName + ";" + maskName, true, true, 2, 2},
      {"alphamerge of different sizes", "alphamerge;" + wallName + ";" + wideName, false, false, 0, 0},
      {"alphamerge with a missing file", "alphamerge;" + wallName + ";" + dir.File("no.tga"), false, false, 0, 0},
      {"alphamerge without a semicolon", "alphamerge;" + maskName, false, false, 0, 0},
      {"merge gives no texture", "merge;" + wallName + ";" + maskName, true, false, 0, 0},
      {"stx", stxGood, true, true, 4, 2},
      {"stx with a level not halved", stxSkewed, false, false, 0, 0},
      {"stx with a level without planes", stxBare, false, false, 0, 0},
      {"stx with only a palette format", stxPaletted, false, false, 0, 0},
      {"upper-case STX is no stx", dir.File("GOOD.STX"), false, false, 0, 0},
      {"dds takes its size from the texture", ddsName, true, true, 8, 4},
      {"garbage dds", dir.Write("bad.dds", std::string("DDS nonsense")), false, false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<DX8Image> image = FromName(c.imageName);
    ASSERT_EQ(image != nullptr, c.made);
    if (!image) continue;
    EXPECT_EQ(image->GetDeviceTexture() != nullptr, c.textured);
    EXPECT_EQ(image->GetWidth(), c.width);
    EXPECT_EQ(image->GetHeight(), c.height);
  }
  EXPECT_EQ(Level(*FromName(wallName), 0), wall);
  EXPECT_EQ(Level(*FromName("alphamerge;" + wallName + ";" + maskName), 0),
            (std::vector<uint32_t>{0x00102030u, 0x40405060u, 0x80708090u, 0xFFA0B0C0u}));
  std::unique_ptr<DX8Image> stx = FromName(stxGood);
  EXPECT_EQ(Level(*stx, 1), (std::vector<uint32_t>{0x80112030u, 0x81112031u}));
  EXPECT_EQ(FromName(dir.File("none.tga"), RF_EMPTY)->GetDeviceTexture(), nullptr);
  std::unique_ptr<DX8Image> mipped = FromName(wallName, RF_MIPCHAIN);
  EXPECT_EQ(mipped->GetDeviceTexture()->GetLevelCount(), 2u);
}

TEST_F(DX8ImageTest, SolidAndGlyphTextures) {
  DX8Image solid(&renderer, 0, "solid");
  ASSERT_EQ(solid.BuildSolidImage(3, 2, 0xFFFFFFFFu), 0);
  EXPECT_EQ(Level(solid, 0), std::vector<uint32_t>(6, 0xFFFFFFFFu));
  EXPECT_LT(solid.BuildSolidImage(0, 2, 0xFFFFFFFFu), 0);

  // Two glyphs of 2 rows in a 18 x 6 texture, one glyph a row: cells are
  // 9 x 3; glyph 0 rows 0x81, 0x40; glyph 1 row 0 0xFF (row 1 is past the
  // bitmap).
  const uint8_t bits[3] = {0x81, 0x40, 0xFF};
  GlyphTable table{6, 18, 1, 2, 3, bits};
  DX8Image glyphs(&renderer, 0, "glyphs");
  ASSERT_EQ(glyphs.BuildGlyphImage(table, false), 0);
  const std::vector<uint32_t> px = Level(glyphs, 0);
  auto opaque = [&](int x, int y) { return px[size_t(y) * 18 + size_t(x)] == 0xFFFFFFFFu; };
  EXPECT_TRUE(opaque(0, 0));
  EXPECT_TRUE(opaque(7, 0));
  EXPECT_FALSE(opaque(1, 0));
  EXPECT_FALSE(opaque(8, 0));   // spacing column
  EXPECT_FALSE(opaque(9, 0));   // past the glyphs of the row
  EXPECT_TRUE(opaque(1, 1));
  EXPECT_FALSE(opaque(0, 2));   // spacing row
  for (int x = 0; x < 8; ++x) EXPECT_TRUE(opaque(x, 3));
  EXPECT_FALSE(opaque(0, 4));   // byte 3 is outside the bitmap
  EXPECT_EQ(px[1], 0x00FFFFFFu);
}

TEST_F(DX8ImageTest, UpdatesReloadsAndMoves) {
  DX8Image image(&renderer, 0, "img");
  const std::vector<uint32_t> a(4, 0xFF0000FFu), b(4, 0xFFFF0000u);
  EXPECT_FALSE(image.UpdatePixels(a.data()));  // no texture yet
  ASSERT_EQ(image.BuildFromPixels(&renderer, 2, 2, false, a.data()), 0);
  gfx::SetRefusedLocks(gfx::kRefuseSurfaceLocks);
  EXPECT_FALSE(image.UpdatePixels(b.data()));
  gfx::SetRefusedLocks(0);
  EXPECT_TRUE(image.UpdatePixels(b.data()));
  EXPECT_EQ(Level(image, 0), b);

  std::vector<uint8_t> dds;
  ASSERT_EQ(gfx::SaveTextureToMemory(gfx::D3DXIFF_DDS, image.GetDeviceTexture(), &dds), 0);
  gfx::Texture* before = image.GetDeviceTexture();
  EXPECT_LT(image.LoadFromMemory("junk", 4), 0);
  EXPECT_EQ(image.GetDeviceTexture(), before);
  ASSERT_EQ(image.LoadFromMemory(dds.data(), uint32_t(dds.size())), 0);
  EXPECT_NE(image.GetDeviceTexture(), before);
  EXPECT_EQ(Level(image, 0), b);

  Lumetra other;
  ASSERT_TRUE(other.Init());
  C3DDisplayMode m = WindowedMode(16, 16);
  ASSERT_EQ(other.CreateDevice(&m), 0);
  ASSERT_EQ(image.MoveToDevice(&other), 0);
  gfx::Device* owner = nullptr;
  ASSERT_EQ(image.GetDeviceTexture()->GetDevice(&owner), 0);
  EXPECT_EQ(owner, other.GetDevice());
  owner->Release();
  EXPECT_EQ(Level(image, 0), b);
  EXPECT_LT(image.MoveToDevice(nullptr), 0);
  // The image goes before the device it now lives on.
  image.BuildFromPixels(&renderer, 2, 2, false, a.data());
}

}  // namespace
