// Text drawn through the renderer plug-in on the gl backend: the ink of a
// built-in font stays inside the box Measure gives, a font file's string
// draws from both of its pages, and the game's fonts draw in their ink.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/services/C3DFont.h"
#include "renderer/tests/GlResourceTestUtil.h"

namespace {

class FontsOnGl : public gltest::PluginOnGl {
 protected:
  void DrawText(C3DFont* font, const std::string& text, const JMatrix& m) {
    FrameWith([&](C3DPass* p) { renderer->DrawText(p, font, text, &m); });
  }
  bool Ink(int x, int y) const { return Pixel(x, y) != 0; }
  // Ink pixels inside and outside [x0, x1) x [y0, y1).
  void CountInk(int x0, int y0, int x1, int y1, int* inside, int* outside) const {
    *inside = *outside = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        if (!Ink(x, y)) continue;
        (x >= x0 && x < x1 && y >= y0 && y < y1 ? *inside : *outside) += 1;
      }
  }
};

TEST_F(FontsOnGl, BuiltinInkInsideItsMeasuredBox) {
  C3DFont* dos = renderer->CreateFont(RF_BUILTIN, "dos font");
  ASSERT_NE(dos, nullptr);
  const std::string text = "Hi\nOK";
  float lo[3], hi[3];
  dos->Measure(text, &lo[0], &lo[1], &lo[2], &hi[0], &hi[1], &hi[2]);
  const float scale = 8.0f, ox = 12.0f, oy = 30.0f;
  DrawText(dos, text, Place(scale, ox, oy));
  int inside = 0, outside = 0;
  CountInk(int(ox + lo[0] * scale), int(oy - hi[1] * scale), int(ox + hi[0] * scale), int(oy - lo[1] * scale), &inside,
           &outside);
  EXPECT_GT(inside, 40);
  EXPECT_EQ(outside, 0);
  // Each of the four cells has ink of its own.
  for (int cell = 0; cell < 4; ++cell) {
    const int cx = int(ox) + (cell % 2) * 8, cy = int(oy) - 8 + (cell / 2) * 8;
    int ink = 0;
    for (int y = cy; y < cy + 8; ++y)
      for (int x = cx; x < cx + 8; ++x) ink += Ink(x, y);
    EXPECT_GT(ink, 4) << "cell " << cell;
  }
  renderer->ReleaseResource(dos);
}

TEST_F(FontsOnGl, FontFileStringOverTwoPages) {
  C3DFont* font = renderer->CreateFont(RF_NOFALLBACK, std::string(GAME_DATA_DIR) + "Fonts\\interface.jfn");
  ASSERT_NE(font, nullptr);
  ASSERT_EQ(font->GetPageCount(), 2);
  // "A" lies on the first page and "a" on the second.
  float lo[3], hiA[3], hiAa[3];
  font->Measure("A", &lo[0], &lo[1], &lo[2], &hiA[0], &hiA[1], &hiA[2]);
  font->Measure("Aa", &lo[0], &lo[1], &lo[2], &hiAa[0], &hiAa[1], &hiAa[2]);
  // The font's line is one unit high: drawn 24 pixels to the unit.
  const float scale = 24.0f, ox = 6.0f, oy = 30.0f;
  DrawText(font, "Aa", Place(scale, ox, oy));
  int inside = 0, outside = 0;
  CountInk(int(ox), int(oy - hiAa[1] * scale), int(ox + hiAa[0] * scale + 1), int(oy - lo[1] * scale + 1), &inside,
           &outside);
  EXPECT_EQ(outside, 0);
  int inkA = 0, inka = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (!Ink(x, y)) continue;
      (x < int(ox + hiA[0] * scale) ? inkA : inka) += 1;
    }
  EXPECT_GT(inkA, 20);
  EXPECT_GT(inka, 20);
  renderer->ReleaseResource(font);
}

TEST_F(FontsOnGl, GameFontsDrawInTheirInk) {
  struct Case {
    const char* name;
    const char* file;
    uint32_t ink;
  };
  const Case cases[] = {
      {"status", "Interface\\Common\\Fonts\\Tarmac_12.jfn", 0xFFFFFF},
      {"buying", "Interface\\Common\\Fonts\\RedTarmac_12.jfn", 0xF04030},
      {"selling", "Interface\\Common\\Fonts\\GreenTarmac_12.jfn", 0x40D050},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    C3DFont* font = renderer->CreateFont(RF_NOFALLBACK, std::string(GAME_DATA_DIR) + c.file);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->GetPageCount(), 1);
    DrawText(font, "$1,250.00", Place(1.0f, 4.0f, 30.0f));
    // The ink itself, or its edge blended into the black outline: the
    // ink's colour darkened, every channel by the same share.
    int ink = 0, other = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        if (!Ink(x, y)) continue;
        const uint32_t p = Pixel(x, y);
        bool edge = true;
        const float share = float((p >> 16) & 255) / float((c.ink >> 16) & 255);
        for (int b = 0; b < 24; b += 8)
          edge = edge && std::abs(float((p >> b) & 255) - share * float((c.ink >> b) & 255)) <= 4.0f;
        if (p == c.ink) {
          ++ink;
        } else if (!edge) {
          ++other;
        }
      }
    EXPECT_GT(ink, 40);
    EXPECT_EQ(other, 0);
    renderer->ReleaseResource(font);
  }
}

}  // namespace
