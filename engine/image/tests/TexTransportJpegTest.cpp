#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include <jpeglib.h>

#include "engine/image/TexTransport.h"
#include "platform/DebugOutput.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Image = std::unique_ptr<TexTransport>;

// Encodes interleaved samples into a baseline JPEG in memory, without chroma
// subsampling so flat 8 x 8 blocks come back nearly exact.
Bytes EncodeJpeg(int width, int height, int components, J_COLOR_SPACE space, const Bytes& samples) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = components;
  cinfo.in_color_space = space;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 100, TRUE);
  for (int c = 0; c < cinfo.num_components; ++c) {
    cinfo.comp_info[c].h_samp_factor = 1;
    cinfo.comp_info[c].v_samp_factor = 1;
  }
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPLE*>(samples.data() + size_t{cinfo.next_scanline} * width * components);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

// 16 x 16 RGB: the top eight rows red, the bottom eight blue.
Bytes RedOverBlue() {
  Bytes s;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const Bytes px = y < 8 ? Bytes{255, 0, 0} : Bytes{0, 0, 255};
      s.insert(s.end(), px.begin(), px.end());
    }
  return EncodeJpeg(16, 16, 3, JCS_RGB, s);
}

Image Decode(const Bytes& b, int options = 0) { return Image(TexTransport::DecodeJPEG(b.data(), b.size(), options)); }

void ExpectPixelNear(const TexTransport& img, int x, int y, std::initializer_list<int> bgra, int tol = 3) {
  const uint8_t* p = img.pixels.data() + (size_t{static_cast<size_t>(y)} * img.width + x) * 4;
  int i = 0;
  for (int v : bgra) {
    EXPECT_NEAR(p[i], v, tol) << "pixel " << x << "," << y << " byte " << i;
    ++i;
  }
}

TEST(DecodeJPEG, ColourRowsComeTopFirstAsBlueGreenRedOpaque) {
  const Image img = Decode(RedOverBlue());
  ASSERT_TRUE(img);
  EXPECT_EQ(img->width, 16);
  EXPECT_EQ(img->height, 16);
  EXPECT_EQ(img->loaded, 1);
  EXPECT_EQ(img->paletted, 0);
  EXPECT_EQ(img->rowOrderFlags, 0u);
  ASSERT_EQ(img->pixels.size(), 16u * 16u * 4u);
  ExpectPixelNear(*img, 3, 0, {0, 0, 255, 255});
  ExpectPixelNear(*img, 12, 15, {255, 0, 0, 255});
  EXPECT_EQ(img->pixels[3], 255);  // alpha is exact
}

TEST(DecodeJPEG, BottomUpOptionFlipsTheRows) {
  const Image img = Decode(RedOverBlue(), TexTransport::kBottomUp);
  ASSERT_TRUE(img);
  EXPECT_EQ(img->rowOrderFlags & 1u, 1u);
  ExpectPixelNear(*img, 0, 0, {255, 0, 0, 255});
  ExpectPixelNear(*img, 0, 15, {0, 0, 255, 255});
}

TEST(DecodeJPEG, GreyFillsAllFourBytesAndFourComponentsAreReordered) {
  const Image grey = Decode(EncodeJpeg(8, 8, 1, JCS_GRAYSCALE, Bytes(64, 200)));
  ASSERT_TRUE(grey);
  for (size_t i = 0; i < grey->pixels.size(); i += 4) {
    EXPECT_NEAR(grey->pixels[i], 200, 2);
    EXPECT_EQ(grey->pixels[i + 1], grey->pixels[i]);
    EXPECT_EQ(grey->pixels[i + 2], grey->pixels[i]);
    EXPECT_EQ(grey->pixels[i + 3], grey->pixels[i]);  // alpha equals the grey value
  }

  Bytes cmyk;
  for (int i = 0; i < 64; ++i) cmyk.insert(cmyk.end(), {10, 90, 170, 250});
  const Image four = Decode(EncodeJpeg(8, 8, 4, JCS_CMYK, cmyk));
  ASSERT_TRUE(four);
  ExpectPixelNear(*four, 5, 5, {170, 90, 10, 250});
}

// Offset of the frame header's fields (after the FFC0 marker), or 0.
size_t FindFrameHeader(const Bytes& b) {
  for (size_t i = 0; i + 9 < b.size(); ++i)
    if (b[i] == 0xFF && b[i + 1] == 0xC0) return i + 2;
  return 0;
}

TEST(DecodeJPEG, BadStreamsAreRefusedWithoutEndingTheProcess) {
  const Bytes good = RedOverBlue();
  const size_t sof = FindFrameHeader(good);
  ASSERT_GT(sof, 0u);
  auto patched = [&](size_t at, std::initializer_list<uint8_t> values) {
    Bytes b = good;
    for (uint8_t v : values) b[at++] = v;
    return b;
  };
  struct Case { const char* what; Bytes bytes; };
  const std::vector<Case> cases = {
      {"start marker only", {0xFF, 0xD8}},
      {"text", {'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'}},
      {"junk after the start marker", [] { Bytes b(200, 0x5A); b[0] = 0xFF; b[1] = 0xD8; return b; }()},
      {"cut in the headers", Bytes(good.begin(), good.begin() + static_cast<ptrdiff_t>(sof + 4))},
      {"cut in the scan data", Bytes(good.begin(), good.begin() + static_cast<ptrdiff_t>(good.size() / 2))},
      {"end marker missing", Bytes(good.begin(), good.end() - 2)},
      {"dimensions over the cap", patched(sof + 3, {0x4E, 0x20, 0x4E, 0x20})},  // 20000 x 20000
      {"zero width", patched(sof + 5, {0, 0})},
      {"twelve-bit samples", patched(sof + 2, {12})},
      {"no components", patched(sof + 7, {0})},
      {"binary junk", Bytes(300, 0xA5)},
  };
  platform::SetDebugStderr(false);
  for (const Case& c : cases) {
    platform::ScopedDebugCapture capture;
    EXPECT_FALSE(Decode(c.bytes)) << c.what;
    EXPECT_FALSE(Decode(c.bytes, TexTransport::kBottomUp)) << c.what;
    EXPECT_TRUE(capture.Contains("[TexTransport::DecodeJPEG] refused")) << c.what;
  }
  EXPECT_FALSE(Decode({}));
  platform::SetDebugStderr(true);
  EXPECT_TRUE(Decode(good));
}

TEST(DecodeJPEG, ABaselineFileClaimingMorePixelsThanItsBytesCanHoldIsRefusedBeforeDecoding) {
  const Bytes good = RedOverBlue();
  const size_t sof = FindFrameHeader(good);
  ASSERT_GT(sof, 0u);
  struct Case {
    const char* what;
    uint16_t side;
    bool fits;
  };
  // The file is a few hundred bytes: 256 pixels a byte allow a few hundred
  // pixels a side, far below the dimension cap.
  const Case cases[] = {{"5792 a side", 5792, false}, {"2000 a side", 2000, false}, {"16 a side", 16, true}};
  for (const Case& c : cases) {
    Bytes b = good;
    b[sof + 3] = b[sof + 5] = static_cast<uint8_t>(c.side >> 8);
    b[sof + 4] = b[sof + 6] = static_cast<uint8_t>(c.side);
    platform::ScopedDebugCapture capture;
    EXPECT_EQ(Decode(b) != nullptr, c.fits) << c.what;
    EXPECT_EQ(capture.Contains("cannot fit in"), !c.fits) << c.what << ": " << capture.Text();
  }
}

}  // namespace
