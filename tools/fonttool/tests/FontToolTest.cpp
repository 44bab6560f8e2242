// Glyph designs and the ".jfn" layout of the font tool, read back through
// the renderer's own font reader.
#include <gtest/gtest.h>

#include "platform/tests/ScratchDir.h"
#include "renderer/Lumetra.h"
#include "renderer/fonts/DX8Font_JFN.h"
#include "tools/fonttool/GlyphDesign.h"
#include "tools/fonttool/JfnFont.h"

namespace {

const char kSmall[] =
    "size 8 2\n"
    "glyph 65 A\n"
    ".##.....\n"
    "#..#....\n"
    "glyph 105 i\n"
    "#.......\n"
    "#.......\n";

TEST(GlyphDesign, ReadsGlyphsAndDerivesBoldAndTall) {
  ScratchDir dir;
  dir.Write("small.txt", std::string(kSmall));
  dir.Write("bold.txt", std::string("size 8 2\nderive small bold\n"));
  dir.Write("tall.txt", std::string("size 8 4\nderive small tall\n"));
  GlyphDesign small, bold, tall;
  std::string why;
  ASSERT_TRUE(LoadGlyphDesign(dir.Root().string(), "small", &small, &why)) << why;
  EXPECT_EQ(small.glyphs['A'], (std::vector<uint8_t>{0x60, 0x90}));
  EXPECT_TRUE(small.glyphs['B'].empty());
  ASSERT_TRUE(LoadGlyphDesign(dir.Root().string(), "bold", &bold, &why)) << why;
  EXPECT_EQ(bold.glyphs['A'], (std::vector<uint8_t>{0x70, 0xD8}));
  ASSERT_TRUE(LoadGlyphDesign(dir.Root().string(), "tall", &tall, &why)) << why;
  EXPECT_EQ(tall.glyphs['i'], (std::vector<uint8_t>{0x80, 0x80, 0x80, 0x80}));
  const std::vector<uint8_t> table = GlyphTableBytes(small, 128);
  ASSERT_EQ(table.size(), 256u);
  EXPECT_EQ(table[65 * 2 + 1], 0x90);
}

TEST(GlyphDesign, RefusesBadDesigns) {
  struct Case {
    const char* what;
    const char* text;
  };
  const Case cases[] = {
      {"no size first", "glyph 65\n........\n"},
      {"width other than 8", "size 6 8\n"},
      {"row of the wrong length", "size 8 1\nglyph 65\n.....\n"},
      {"row with another mark", "size 8 1\nglyph 65\n...x....\n"},
      {"glyph cut short", "size 8 2\nglyph 65\n........\n"},
      {"code past 255", "size 8 1\nglyph 256\n........\n"},
      {"unknown statement", "size 8 1\nkerning 3\n"},
      {"derive from itself", "size 8 1\nderive self bold\n"},
      {"empty", ""},
  };
  ScratchDir dir;
  dir.Write("self.txt", std::string("size 8 1\nderive self bold\n"));
  for (const Case& c : cases) {
    GlyphDesign d;
    std::string why;
    EXPECT_FALSE(ParseGlyphDesign(c.text, dir.Root().string(), &d, &why)) << c.what;
    EXPECT_FALSE(why.empty()) << c.what;
  }
}

TEST(JfnFont, ShippedDesignsCoverThePrintableCodes) {
  for (const char* name : {"dos", "future", "block", "pelvon"}) {
    GlyphDesign d;
    std::string why;
    ASSERT_TRUE(LoadGlyphDesign(FONT_DESIGNS_DIR, name, &d, &why)) << why;
    for (int c = 33; c <= 126; ++c) {
      bool ink = false;
      for (uint8_t row : d.glyphs[size_t(c)]) ink = ink || row != 0;
      EXPECT_TRUE(ink) << name << " has no ink for code " << c;
    }
  }
}

TEST(JfnFont, AdvancesFromInkAcrossPagesAndReadsBack) {
  ScratchDir dir;
  dir.Write("small.txt", std::string(kSmall));
  JfnFont font;
  std::string why;
  // 8 x 8 pixel pages hold three rows of 2-row glyph cells.
  ASSERT_TRUE(BuildJfnFont("design small\nascent 1\npage 8 8\nspace 2\n", dir.Root().string(), &font, &why)) << why;
  ASSERT_GE(font.pages.size(), 2u);
  const JfnGlyph* a = nullptr;
  const JfnGlyph* i = nullptr;
  for (const JfnGlyph& g : font.glyphs) {
    if (g.code == 'A') a = &g;
    if (g.code == 'i') i = &g;
  }
  ASSERT_TRUE(a && i);
  EXPECT_EQ(a->advance, 5.0f);  // four columns of ink and one of space
  EXPECT_EQ(i->advance, 2.0f);
  EXPECT_EQ(a->ascent, 1.0f);
  EXPECT_EQ(a->descent, 1.0f);
  // The ink sits at the glyph's texture corner.
  const ImagePicture& page = font.pages[a->page];
  const uint32_t x = uint32_t(a->uLeft * float(page.width)), y = uint32_t(a->vTop * float(page.height));
  EXPECT_EQ(page.pixels[y * page.width + x + 1], 0xFFFFFFFFu);
  EXPECT_EQ(page.pixels[y * page.width + x], 0x00FFFFFFu);
  EXPECT_FALSE(BuildJfnFont("design small\npage 8 8\npages 1\n", dir.Root().string(), &font, &why));

  const std::vector<uint8_t> bytes = EncodeJfn(font, "small");
  Lumetra renderer;
  DX8Font_JFN read(&renderer, 0, "small.jfn");
  ASSERT_EQ(read.LoadFromMemory(bytes.data(), bytes.size(), "small.jfn"), 0);
  EXPECT_EQ(read.GetPageCount(), int32_t(font.pages.size()));
  EXPECT_EQ(read.Glyphs().size(), font.glyphs.size());
  float lo[3], hi[3];
  read.Measure("Ai", &lo[0], &lo[1], &lo[2], &hi[0], &hi[1], &hi[2]);
  EXPECT_EQ(hi[0], 7.0f);
}

TEST(JfnFont, InkTakesItsColour) {
  ScratchDir dir;
  dir.Write("small.txt", std::string(kSmall));
  struct Case {
    const char* name;
    const char* statement;
    bool ok;
    uint32_t ink;
  };
  const Case cases[] = {
      {"white by default", "", true, 0xFFFFFFFFu},
      {"red", "ink E03020\n", true, 0xFFE03020u},
      {"lower-case green", "ink 30c040\n", true, 0xFF30C040u},
      {"five digits", "ink E0302\n", false, 0},
      {"not hex", "ink E0302G\n", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    JfnFont font;
    std::string why;
    const std::string description = std::string("design small\nascent 1\npage 16 16\n") + c.statement;
    ASSERT_EQ(BuildJfnFont(description, dir.Root().string(), &font, &why), c.ok) << why;
    if (!c.ok) {
      EXPECT_NE(why.find("ink"), std::string::npos);
      continue;
    }
    const JfnGlyph* a = nullptr;
    for (const JfnGlyph& g : font.glyphs)
      if (g.code == 'A') a = &g;
    ASSERT_NE(a, nullptr);
    const ImagePicture& page = font.pages[a->page];
    const uint32_t x = uint32_t(a->uLeft * float(page.width)), y = uint32_t(a->vTop * float(page.height));
    EXPECT_EQ(page.pixels[y * page.width + x + 1], c.ink);
    EXPECT_EQ(page.pixels[y * page.width + x], c.ink & 0x00FFFFFFu);  // blank, in the ink's colour
  }
}

}  // namespace
