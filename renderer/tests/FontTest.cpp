// Built-in bitmap fonts and JFN fonts on the record device: layout,
// measuring, the flush into a pass, the font family's table and corrupt
// font files.
#include <gtest/gtest.h>

#include "platform/tests/ScratchDir.h"
#include "renderer/fonts/DX8Font_Def01.h"
#include "renderer/fonts/DX8Font_JFN.h"
#include "renderer/formats/tests/Bytes.h"
#include "renderer/formats/tests/ImageFiles.h"
#include "renderer/tests/ImageTestUtil.h"
#include "renderer/tests/RendererTestUtil.h"

namespace {

struct Box {
  float lo[3], hi[3];
};

Box MeasureOf(C3DFont* font, const std::string& text) {
  Box b{};
  font->Measure(text, &b.lo[0], &b.lo[1], &b.lo[2], &b.hi[0], &b.hi[1], &b.hi[2]);
  return b;
}

struct GlyphRecord {
  uint32_t code, page;
  float ascent, descent, advance, uLeft, uRight, vTop, vBottom;
};

std::vector<uint8_t> JfnBytes(const std::vector<GlyphRecord>& glyphs, uint32_t pages, uint32_t skipped = 5) {
  Bytes b;
  b.raw("JFNT").f32(1.0f).u32(skipped).zeros(skipped + 32).u32(uint32_t(glyphs.size())).u32(pages).u32(0);
  for (const GlyphRecord& g : glyphs)
    b.u32(g.code).u32(g.page).f32(g.ascent).f32(g.descent).f32(g.advance).f32(g.uLeft).f32(g.uRight).f32(g.vTop).f32(
        g.vBottom);
  return b.b;
}

// Glyphs A (page 0), B (page 1) and a line feed.
const std::vector<GlyphRecord> kTwoPageGlyphs = {
    {'A', 0, 3, 1, 2, 0, 0.5f, 0, 1}, {'B', 1, 3, 1, 4, 0.5f, 1, 0, 1}, {'\n', 0, 4, 2, 0, 0, 0, 0, 0}};

class Fonts : public rtest::RecordRenderer {
 protected:
  std::string WriteFont(const std::string& file, const std::vector<uint8_t>& bytes, bool page0, bool page1Bmp) {
    const std::string path = dir.Write("fonts/" + file, bytes);
    const std::string base = file.substr(0, file.size() - 4);
    if (page0) dir.Write("fonts/" + base + "_0.tga", rtest::TgaTopDown(2, 2, std::vector<uint32_t>(4, 0xFFFFFFFFu)));
    if (page1Bmp) dir.Write("fonts/" + base + "_1.bmp", MakeBmp(BmpLayout{}));
    return path;
  }
  C3DPassDX8* pass = nullptr;
  ScratchDir dir;
  void SetUp() override {
    RecordRenderer::SetUp();
    pass = ViewedPass();
  }
};

TEST_F(Fonts, BuiltinLayoutAndMeasure) {
  auto* dos = dynamic_cast<DX8Font_Def01*>(renderer.CreateFont(RF_BUILTIN, "dos font"));
  ASSERT_NE(dos, nullptr);
  dos->AddText(nullptr, "AB\nE", nullptr);
  const DX8Font::QuadBuffer& b = *dos->PageBuffer(0);
  ASSERT_EQ(b.used, 3u);
  EXPECT_EQ(b.geometry.indexCount, 18u);
  // Each cell sits above the pen: A over x 0..1, B over 1..2, E one line
  // lower.
  const RenderVertex* v = b.vertices.data();
  EXPECT_EQ(v[0].x, 0.0f);
  EXPECT_EQ(v[0].y, 1.0f);
  EXPECT_EQ(v[2].x, 1.0f);
  EXPECT_EQ(v[2].y, 0.0f);
  EXPECT_EQ(v[4].x, 1.0f);
  EXPECT_EQ(v[6].x, 2.0f);
  EXPECT_EQ(v[8].y, 0.0f);
  EXPECT_EQ(v[10].y, -1.0f);
  // Glyph 65 lies in cell (9, 4).
  EXPECT_FLOAT_EQ(v[0].u, 81.0f / 128.0f);
  EXPECT_FLOAT_EQ(v[0].v, 36.0f / 128.0f);
  EXPECT_FLOAT_EQ(v[2].u - v[0].u, 8.0f / 128.0f);
  const Box m = MeasureOf(dos, "AB\nE");
  EXPECT_EQ(m.lo[0], 0.0f);
  EXPECT_EQ(m.lo[1], -1.0f);
  EXPECT_EQ(m.hi[0], 2.0f);
  EXPECT_EQ(m.hi[1], 1.0f);
  // A transform moves every corner.
  JMatrix shift = JMatrix::Identity();
  shift.m[3][0] = 10.0f;
  dos->AddText(nullptr, "A", &shift);
  EXPECT_EQ(b.vertices[12].x, 10.0f);
  renderer.ReleaseResource(dos);
}

TEST_F(Fonts, BuiltinTables) {
  struct Case {
    const char* name;
    float advance;
    uint32_t glyphs;
    uint32_t code200Glyph;
  };
  const Case cases[] = {{"metric font", 1.0f, 128, 0}, {"future font", 1.0f, 128, 0}, {"block font", 1.0f, 128, 0},
                        {"pelvon font", 0.5f, 256, 200}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto* font = dynamic_cast<DX8Font_Def01*>(renderer.CreateFont(RF_BUILTIN, c.name));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->GetName(), c.name);
    EXPECT_EQ(font->Advance(), c.advance);
    EXPECT_EQ(font->GlyphCount(), c.glyphs);
    EXPECT_EQ(font->GetCharacters()[0], char(255));
    EXPECT_EQ(font->GetCharacters()[66], 'A');
    EXPECT_EQ(font->GetCharacters()[c.glyphs - 1], 0);
    ASSERT_NE(font->GetPageShader(0), nullptr);
    EXPECT_EQ(font->GetPageShader(0)->GetLayerCount(), 1);
    font->AddText(nullptr, std::string(1, char(200)), nullptr);
    const RenderVertex& v = font->PageBuffer(0)->vertices[0];
    EXPECT_FLOAT_EQ(v.u, font->CornerU(c.code200Glyph));
    EXPECT_FLOAT_EQ(v.v, font->CornerV(c.code200Glyph));
    // Shared by equal requests.
    C3DFont* again = renderer.CreateFont(RF_BUILTIN, c.name);
    EXPECT_EQ(again, font);
    renderer.ReleaseResource(again);
    renderer.ReleaseResource(font);
  }
}

TEST_F(Fonts, FamilyTable) {
  struct Case {
    const char* what;
    uint32_t flags;
    const char* name;
    const char* gives;
  };
  const Case cases[] = {
      {"missing font file", 0, "Fonts\\missing.jfn", "dos font"},
      {"missing font file without fallback", RF_NOFALLBACK, "Fonts\\missing.jfn", nullptr},
      {"find-only", RF_BUILTIN | RF_FINDONLY, "dos font", "dos font"},
      {"unknown built-in", RF_BUILTIN, "comic font", "dos font"},
      {"other extension", 0, "Fonts\\x.ttf", "dos font"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    C3DFont* font = renderer.CreateFont(c.flags, c.name);
    if (!c.gives) {
      EXPECT_EQ(font, nullptr);
      continue;
    }
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->GetName(), c.gives);
    renderer.ReleaseResource(font);
  }
}

TEST_F(Fonts, FlushQueuesOneItemPerPageAndChunksHugeText) {
  C3DFont* dos = renderer.CreateFont(RF_BUILTIN, "dos font");
  dos->AddText(nullptr, "hello", nullptr);
  dos->Flush(pass);
  ASSERT_EQ(pass->DrawList().size(), 1u);
  EXPECT_EQ(pass->DrawList()[0]->geometry->indexCount, 30u);
  EXPECT_NE(pass->DrawList()[0]->geometry->vertexBuffer, nullptr);
  // Flushed quads are gone: a second flush queues nothing.
  dos->Flush(pass);
  EXPECT_EQ(pass->DrawList().size(), 1u);
  // More quads than 16-bit vertex numbers reach go out in several draws,
  // none of them past 65535 vertices.
  pass->ResetForFrame();
  const uint32_t quads = 2 * DX8Font::kMaxQuadsPerDraw + 10;
  dos->AddText(nullptr, std::string(quads, 'x'), nullptr);
  dos->Flush(pass);
  ASSERT_EQ(pass->DrawList().size(), 3u);
  uint32_t total = 0;
  for (DrawItem* item : pass->DrawList()) {
    EXPECT_LE(uint32_t(item->geometry->vertexCount), 0xFFFFu);
    EXPECT_EQ(item->geometry->indexCount, uint32_t(item->geometry->vertexCount) / 4 * 6);
    for (uint32_t i = 0; i < item->geometry->indexCount; ++i)
      ASSERT_LT(item->geometry->indices[i], item->geometry->vertexCount);
    total += item->geometry->indexCount / 6;
  }
  EXPECT_EQ(total, quads);
  EXPECT_EQ(renderer.RenderFrame(), 0);
  renderer.ReleaseResource(dos);
}

TEST_F(Fonts, JfnLayoutAcrossPages) {
  WriteFont("two.jfn", JfnBytes(kTwoPageGlyphs, 2), true, true);
  auto* font = dynamic_cast<DX8Font_JFN*>(renderer.CreateFont(RF_NOFALLBACK, dir.File("fonts/two.jfn")));
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->GetPageCount(), 2);
  EXPECT_EQ(font->GetAscent(), 4.0f);
  EXPECT_EQ(font->GetDescent(), 2.0f);
  EXPECT_EQ(font->GetLineHeight(), 6.0f);
  EXPECT_STREQ(font->GetCharacters(), "AB\n");
  // Page 1 has only its bitmap picture: a material over it.
  ASSERT_NE(font->GetPageShader(1), nullptr);
  EXPECT_NE(font->GetPageShader(1)->GetLayerImage(0), nullptr);
  EXPECT_EQ(font->GetPageShader(2), nullptr);

  font->AddText(nullptr, "", nullptr);
  EXPECT_EQ(font->Pending(), 0u);
  font->AddText(nullptr, "A\nB", nullptr);
  EXPECT_EQ(font->Pending(), 1u);
  // B's pen is one line-feed glyph lower: ascent 4 + descent 2.
  const DX8Font::QuadBuffer& p1 = *font->PageBuffer(1);
  ASSERT_EQ(p1.used, 1u);
  EXPECT_EQ(p1.vertices[0].x, 0.0f);
  EXPECT_EQ(p1.vertices[0].y, -6.0f + 3.0f);
  EXPECT_EQ(p1.vertices[2].x, 4.0f);
  EXPECT_EQ(p1.vertices[2].y, -6.0f - 1.0f);
  EXPECT_EQ(p1.vertices[1].u, 1.0f);
  const Box m = MeasureOf(font, "AB");
  EXPECT_EQ(m.lo[1], -1.0f);
  EXPECT_EQ(m.hi[0], 6.0f);
  EXPECT_EQ(m.hi[1], 3.0f);
  font->Flush(pass);
  EXPECT_EQ(pass->DrawList().size(), 2u);
  EXPECT_EQ(font->Pending(), 0u);
  // Text on page 0 alone draws once.
  pass->ResetForFrame();
  font->AddText(nullptr, "AAA", nullptr);
  font->Flush(pass);
  EXPECT_EQ(pass->DrawList().size(), 1u);
  renderer.ReleaseResource(font);
}

TEST_F(Fonts, JfnFilesOddAndCorrupt) {
  std::vector<uint8_t> good = JfnBytes(kTwoPageGlyphs, 1);
  std::vector<uint8_t> badMagic = good;
  badMagic[0] = 'X';
  std::vector<uint8_t> badVersion = good;
  badVersion[7] = 0x40;  // 2.0
  std::vector<uint8_t> hugeSkip = good;
  hugeSkip[8] = hugeSkip[9] = hugeSkip[10] = hugeSkip[11] = 0xFF;
  std::vector<uint8_t> hugeCount = good;
  const size_t countAt = 12 + 5 + 32;
  hugeCount[countAt + 3] = 0x40;
  std::vector<uint8_t> manyPages = good;
  manyPages[countAt + 4 + 2] = 0x01;  // 65536 pages
  std::vector<uint8_t> cut(good.begin(), good.end() - 10);
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  const Case refused[] = {{"wrong magic", badMagic}, {"version 2", badVersion}, {"skip past the end", hugeSkip},
                          {"more glyphs than bytes", hugeCount}, {"page count past the cap", manyPages},
                          {"cut inside a glyph", cut}, {"empty", {}}};
  for (const Case& c : refused) {
    SCOPED_TRACE(c.what);
    DX8Font_JFN font(&renderer, 0, "x.jfn");
    EXPECT_EQ(font.LoadFromMemory(c.bytes.data(), c.bytes.size(), c.what), int32_t(status::Fail));
    EXPECT_EQ(font.Glyphs().size(), 0u);
  }

  // A code above 255 is skipped; a later record of the same code wins; a
  // glyph on a page the font lacks is measured but never drawn.
  const std::vector<GlyphRecord> odd = {{300, 0, 1, 1, 1, 0, 1, 0, 1},
                                        {'A', 0, 2, 0, 2, 0, 1, 0, 1},
                                        {'A', 0, 5, 0, 3, 0, 1, 0, 1},
                                        {'Z', 7, 1, 0, 9, 0, 1, 0, 1},
                                        {0xE9, 0, 1, 0, 4, 0, 1, 0, 1}};
  WriteFont("odd.jfn", JfnBytes(odd, 1), true, false);
  auto* font = dynamic_cast<DX8Font_JFN*>(renderer.CreateFont(RF_NOFALLBACK, dir.File("fonts/odd.jfn")));
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->Glyphs().size(), 4u);
  EXPECT_EQ(font->GlyphFor('A'), 1);
  EXPECT_EQ(MeasureOf(font, "A").hi[0], 3.0f);
  EXPECT_EQ(MeasureOf(font, "AZ").hi[0], 12.0f);
  // Codes 128..255 use their own glyph.
  EXPECT_EQ(MeasureOf(font, "\xE9").hi[0], 4.0f);
  font->AddText(nullptr, "AZ\xE9", nullptr);
  EXPECT_EQ(font->PageBuffer(0)->used, 2u);
  EXPECT_EQ(font->PageBuffer(0)->vertices[4].x, 12.0f);
  renderer.ReleaseResource(font);
}

TEST_F(Fonts, JfnWithoutAPagePictureIsNotMade) {
  WriteFont("half.jfn", JfnBytes(kTwoPageGlyphs, 2), true, false);
  EXPECT_EQ(renderer.CreateFont(RF_NOFALLBACK, dir.File("fonts/half.jfn")), nullptr);
  C3DFont* fallback = renderer.CreateFont(0, dir.File("fonts/half.jfn"));
  ASSERT_NE(fallback, nullptr);
  EXPECT_EQ(fallback->GetName(), "dos font");
  renderer.ReleaseResource(fallback);
}

TEST_F(Fonts, InterfaceFontFromTheGameData) {
  renderer.SetResourcePath(GAME_DATA_DIR);
  C3DFont* font = renderer.CreateFont(RF_NOFALLBACK, std::string(GAME_DATA_DIR) + "Fonts\\interface.jfn");
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(font->GetPageCount(), 2);
  // Proportional: an "i" is narrower than an "m".
  EXPECT_LT(MeasureOf(font, "i").hi[0], MeasureOf(font, "m").hi[0]);
  EXPECT_FLOAT_EQ(font->GetLineHeight(), 1.0f);  // a line one unit high
  // Capitals on the first page, small letters on the second.
  auto* jfn = dynamic_cast<DX8Font_JFN*>(font);
  ASSERT_NE(jfn, nullptr);
  EXPECT_EQ(jfn->Glyphs()[jfn->GlyphFor('A')].page, 0);
  EXPECT_EQ(jfn->Glyphs()[jfn->GlyphFor('a')].page, 1);
  renderer.ReleaseResource(font);
}

}  // namespace
