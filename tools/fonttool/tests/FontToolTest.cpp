// The font tool's glyph designs for the built-in tables, and its ".jfn"
// layout from the TrueType faces read back through the renderer's own font
// reader.
#include <gtest/gtest.h>

#include <algorithm>

#include "renderer/Lumetra.h"
#include "renderer/fonts/DX8Font_JFN.h"
#include "platform/tests/ScratchDir.h"
#include "tools/fonttool/GlyphDesign.h"
#include "tools/fonttool/JfnFont.h"

namespace {

const std::string kFaces = FONT_FACES_DIR;

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

TEST(GlyphDesign, ShippedDesignsCoverThePrintableCodes) {
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

const JfnGlyph* Find(const JfnFont& font, uint32_t code) {
  for (const JfnGlyph& g : font.glyphs)
    if (g.code == code) return &g;
  return nullptr;
}

// The texels of a glyph's cell.
std::vector<uint32_t> Cell(const JfnFont& font, const JfnGlyph& g) {
  const ImagePicture& page = font.pages[g.page];
  const uint32_t x0 = uint32_t(g.uLeft * float(page.width) + 0.5f), x1 = uint32_t(g.uRight * float(page.width) + 0.5f);
  const uint32_t y0 = uint32_t(g.vTop * float(page.height) + 0.5f), y1 = uint32_t(g.vBottom * float(page.height) + 0.5f);
  std::vector<uint32_t> texels;
  for (uint32_t y = y0; y < y1; ++y)
    for (uint32_t x = x0; x < x1; ++x) texels.push_back(page.pixels[size_t(y) * page.width + x]);
  return texels;
}

TEST(JfnFont, ProportionalGlyphsAcrossPagesReadBack) {
  JfnFont font;
  std::string why;
  ASSERT_TRUE(BuildJfnFont("face DejaVuSans.ttf\npixels 16\npage 64 64\n", kFaces, &font, &why)) << why;
  ASSERT_GE(font.pages.size(), 2u);
  const JfnGlyph* w = Find(font, 'W');
  const JfnGlyph* i = Find(font, 'i');
  ASSERT_TRUE(w && i);
  EXPECT_GT(w->advance, 2.0f * i->advance) << "a proportional face";
  EXPECT_GE(w->ascent + w->descent, 16.0f);
  // White ink, its coverage in alpha: full and partial texels both.
  bool full = false, partial = false;
  for (uint32_t t : Cell(font, *w)) {
    full = full || t == 0xFFFFFFFFu;
    partial = partial || ((t >> 24) > 0 && (t >> 24) < 255);
    if (t >> 24) {
      EXPECT_EQ(t & 0xFFFFFFu, 0xFFFFFFu);
    }
  }
  EXPECT_TRUE(full && partial);

  const std::vector<uint8_t> bytes = EncodeJfn(font, "small");
  Lumetra renderer;
  DX8Font_JFN read(&renderer, 0, "small.jfn");
  ASSERT_EQ(read.LoadFromMemory(bytes.data(), bytes.size(), "small.jfn"), 0);
  EXPECT_EQ(read.GetPageCount(), int32_t(font.pages.size()));
  EXPECT_EQ(read.Glyphs().size(), font.glyphs.size());
  float lo[3], hi[3];
  read.Measure("Wi", &lo[0], &lo[1], &lo[2], &hi[0], &hi[1], &hi[2]);
  EXPECT_FLOAT_EQ(hi[0], w->advance + i->advance);
}

TEST(JfnFont, LineUnitsMakeALineOneHigh) {
  JfnFont font;
  std::string why;
  ASSERT_TRUE(BuildJfnFont("face DejaVuSans-Bold.ttf\npixels 24\nunits lines\npage 256 256\n", kFaces, &font, &why))
      << why;
  const JfnGlyph* lf = Find(font, 10);
  const JfnGlyph* m = Find(font, 'M');
  ASSERT_TRUE(lf && m);
  EXPECT_FLOAT_EQ(lf->ascent + lf->descent, 1.0f);
  EXPECT_GT(m->advance, 0.4f);
  EXPECT_LT(m->advance, 1.2f);
}

// An outline rings the ink in its own colour: texels of the outline's
// colour lie in the cell, the ink's inside, and the blank ones carry the
// outline's colour with no alpha.
TEST(JfnFont, OutlineRingsTheInk) {
  struct Case {
    const char* statements;
    uint32_t outline;
  };
  const Case cases[] = {{"outline 2\n", 0x000000u}, {"outline 1\noutlineink 203040\n", 0x203040u}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.statements);
    JfnFont font;
    std::string why;
    ASSERT_TRUE(BuildJfnFont(std::string("face DejaVuSans-Bold.ttf\npixels 20\n") + c.statements, kFaces, &font, &why))
        << why;
    const JfnGlyph* o = Find(font, 'O');
    ASSERT_NE(o, nullptr);
    int ink = 0, ring = 0;
    for (uint32_t t : Cell(font, *o)) {
      if (t == 0xFFFFFFFFu) ++ink;
      if (t == (0xFF000000u | c.outline)) ++ring;
      if ((t >> 24) == 0) {
        EXPECT_EQ(t, c.outline);
      }
    }
    EXPECT_GT(ink, 10);
    EXPECT_GT(ring, 10);
  }
}

TEST(JfnFont, RefusesBadDescriptions) {
  struct Case {
    const char* what;
    const char* text;
    const char* says;
  };
  const Case cases[] = {
      {"no face", "pixels 16\n", "no face"},
      {"a path for a face", "face ../DejaVuSans.ttf\n", "file name"},
      {"a face that is not there", "face none.ttf\n", "none.ttf"},
      {"too large", "face DejaVuSans.ttf\npixels 300\n", "pixels"},
      {"too wide an outline", "face DejaVuSans.ttf\noutline 5\n", "outline"},
      {"units of another kind", "face DejaVuSans.ttf\nunits inches\n", "units"},
      {"ink not hex", "face DejaVuSans.ttf\nink E0302G\n", "ink"},
      {"page count not met", "face DejaVuSans.ttf\npixels 16\npage 64 64\npages 1\n", "pages"},
      {"glyphs taller than a page", "face DejaVuSans.ttf\npixels 64\npage 32 32\n", "taller"},
      {"unknown statement", "face DejaVuSans.ttf\nkerning 3\n", "kerning"},
  };
  for (const Case& c : cases) {
    JfnFont font;
    std::string why;
    EXPECT_FALSE(BuildJfnFont(c.text, kFaces, &font, &why)) << c.what;
    EXPECT_NE(why.find(c.says), std::string::npos) << c.what << ": " << why;
  }
}

}  // namespace
