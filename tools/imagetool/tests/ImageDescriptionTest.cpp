// Pictures from text descriptions, their errors, and the ".tga" they make
// read back by the engine's own decoder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/image/TexTransport.h"
#include "tools/imagetool/ImageDescription.h"

namespace {

TEST(ImageDescription, StatementsPaintPixels) {
  struct Case {
    const char* name;
    const char* text;
    std::vector<uint32_t> expected;  // 2 x 2 unless `size` says otherwise
  };
  const Case cases[] = {
      {"fill", "size 2 2\nfill FF112233\n", {0xFF112233u, 0xFF112233u, 0xFF112233u, 0xFF112233u}},
      {"checker", "size 2 2\nchecker 1 FF000000 FFFFFFFF", {0xFF000000u, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFF000000u}},
      {"gradient horizontal", "size 2 2\ngradient horizontal 00000000 FF804020",
       {0x00000000u, 0xFF804020u, 0x00000000u, 0xFF804020u}},
      {"gradient vertical", "size 2 2\ngradient vertical FF0000FF 00FF0000",
       {0xFF0000FFu, 0xFF0000FFu, 0x00FF0000u, 0x00FF0000u}},
      {"rect clipped", "size 2 2 # comment\nfill 00000000\nrect 1 1 9 9 FFABCDEF",
       {0, 0, 0, 0xFFABCDEFu}},
      {"palette rows with alpha", "size 2 2\nkey . 00000000\nkey x 80FF0000\nrows 0 0\n  .x\nx.\nend\r\n",
       {0, 0x80FF0000u, 0x80FF0000u, 0}},
      {"rows clipped", "size 2 2\nkey x FF00FF00\nrows 1 1\nxxx\nxxx\nend", {0, 0, 0, 0xFF00FF00u}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ImagePicture picture;
    std::string error;
    ASSERT_TRUE(BuildImageFromDescription(c.text, &picture, &error)) << error;
    EXPECT_EQ(picture.pixels, c.expected);
  }
}

TEST(ImageDescription, ErrorsNameTheLine) {
  struct Case {
    const char* name;
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"no size", "fill FF000000", "line 1: the first statement must be size"},
      {"empty", "", "line 1: no size"},
      {"size zero", "size 0 4", "line 1: size needs a width and a height of 1 to 4096"},
      {"size too big", "size 5000 4", "line 1: size needs a width and a height of 1 to 4096"},
      {"size twice", "size 1 1\nsize 1 1", "line 2: size given twice"},
      {"bad colour", "size 1 1\nfill red", "line 2: fill needs one AARRGGBB colour"},
      {"short colour", "size 1 1\nfill FFFFFF", "line 2: fill needs one AARRGGBB colour"},
      {"zero cell", "size 1 1\nchecker 0 FF000000 FF000000", "line 2: checker needs a cell size and two colours"},
      {"gradient direction", "size 1 1\ngradient up FF000000 FF000000",
       "line 2: gradient needs horizontal or vertical and two colours"},
      {"negative rect", "size 1 1\nrect -1 0 1 1 FF000000", "line 2: rect needs x, y, width, height and a colour"},
      {"long key", "size 1 1\nkey ab FF000000", "line 2: key needs one character and a colour"},
      {"unknown key", "size 1 1\nrows 0 0\nq\nend", "line 3: no key for 'q'"},
      {"rows without end", "size 1 1\nkey q FF000000\nrows 0 0\nq", "line 5: rows without end"},
      {"unknown statement", "size 1 1\nblur 3", "line 2: unknown statement blur"},
      {"noise amount too large", "size 1 1\nnoise 1 300", "line 2: noise needs a seed and an amount of 0 to 255"},
      {"noise without a seed", "size 1 1\nnoise", "line 2: noise needs a seed and an amount of 0 to 255"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ImagePicture picture;
    std::string error;
    EXPECT_FALSE(BuildImageFromDescription(c.text, &picture, &error));
    EXPECT_EQ(error, c.error);
  }
}

// Noise moves the three colour channels of each pixel by one amount within
// its bound, keeps alpha, varies from pixel to pixel and repeats for a seed.
TEST(ImageDescription, NoiseShadesPixels) {
  ImagePicture a, b, c, none;
  std::string error;
  ASSERT_TRUE(BuildImageFromDescription("size 16 16\nfill 80808080\nnoise 7 20", &a, &error)) << error;
  ASSERT_TRUE(BuildImageFromDescription("size 16 16\nfill 80808080\nnoise 7 20", &b, &error));
  ASSERT_TRUE(BuildImageFromDescription("size 16 16\nfill 80808080\nnoise 8 20", &c, &error));
  ASSERT_TRUE(BuildImageFromDescription("size 16 16\nfill 80808080\nnoise 7 0", &none, &error));
  EXPECT_EQ(a.pixels, b.pixels);
  EXPECT_NE(a.pixels, c.pixels);
  EXPECT_EQ(none.pixels, std::vector<uint32_t>(256, 0x80808080u));
  bool varied = false;
  for (uint32_t p : a.pixels) {
    const int red = static_cast<int>((p >> 16) & 255), green = static_cast<int>((p >> 8) & 255);
    EXPECT_EQ(p >> 24, 0x80u);
    EXPECT_EQ(red, green);
    EXPECT_EQ(green, static_cast<int>(p & 255));
    EXPECT_LE(std::abs(red - 0x80), 20);
    varied = varied || p != a.pixels[0];
  }
  EXPECT_TRUE(varied);
}

TEST(ImageDescription, TgaReadsBackThroughTheEngineDecoder) {
  ImagePicture picture;
  std::string error;
  ASSERT_TRUE(BuildImageFromDescription("size 3 2\ngradient horizontal 00102030 FF405060\nrect 0 1 1 1 7F000000",
                                        &picture, &error));
  const std::vector<uint8_t> tga = EncodeTga32(picture);
  std::unique_ptr<TexTransport> decoded(TexTransport::DecodeTGA(tga.data(), tga.size(), 0));
  ASSERT_NE(decoded, nullptr);
  ASSERT_EQ(decoded->width, 3);
  ASSERT_EQ(decoded->height, 2);
  std::vector<uint32_t> pixels(6);
  std::memcpy(pixels.data(), decoded->pixels.data(), 24);
  EXPECT_EQ(pixels, picture.pixels);
}

}  // namespace
