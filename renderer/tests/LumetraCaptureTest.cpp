// The save-game thumbnail and the screenshot on the record device: both show
// the last presented frame, the thumbnail as a 256 x 192 DXT1 DDS made in
// memory, the screenshot as a 24-bit BMP file.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "RendererTestUtil.h"
#include "platform/graphics/DdsFile.h"
#include "platform/graphics/PixelFormat.h"
#include "platform/tests/ScratchDir.h"

namespace {

using namespace rtest;

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

int ChannelDiff(uint32_t a, uint32_t b) {
  int worst = 0;
  for (int s = 0; s < 32; s += 8) worst = std::max(worst, std::abs(int((a >> s) & 255) - int((b >> s) & 255)));
  return worst;
}

class LumetraCaptureTest : public RecordRenderer {
 protected:
  void Recreate(int32_t width, int32_t height) {
    renderer.ReleaseDevice();
    mode = WindowedMode(width, height);
    ASSERT_EQ(renderer.CreateDevice(&mode), 0);
    RemoveMetricsOverlay();
    // A pass without a view: the frame presents the back buffer as painted.
    if (renderer.GetPassCount() == 0) renderer.InsertPass(0)->SetName("idle");
  }
  // Paints the back buffer with 8 x 8 blocks of colour and returns the
  // frame as opaque A8R8G8B8 words.
  std::vector<uint32_t> Paint(int32_t width, int32_t height, uint32_t seed) {
    std::vector<uint32_t> frame(size_t(width) * height);
    for (int32_t by = 0; by < height; by += 8) {
      for (int32_t bx = 0; bx < width; bx += 8) {
        const uint32_t colour = 0xFF000000u | ((bx * 37u + by * 11u + seed) & 0xFFu) << 16 |
                                ((bx * 5u + by * 29u + seed * 3u) & 0xFFu) << 8 | ((bx + by * 7u) & 0xFFu);
        const gfx::Rect r{bx, by, std::min(bx + 8, width), std::min(by + 8, height)};
        EXPECT_EQ(renderer.GetDevice()->Clear(1, &r, gfx::D3DCLEAR_TARGET, colour, 1.0f, 0), 0);
        for (int32_t y = r.top; y < r.bottom; ++y)
          for (int32_t x = r.left; x < r.right; ++x) frame[size_t(y) * width + x] = colour;
      }
    }
    return frame;
  }
};

TEST_F(LumetraCaptureTest, TheThumbnailIsADxt1DdsOfTheLastPresentedFrame) {
  constexpr int32_t kW = 512, kH = 384;
  Recreate(kW, kH);
  const std::vector<uint32_t> frame = Paint(kW, kH, 1);
  ASSERT_EQ(renderer.RenderFrame(), 0);
  // The back buffer changes after the present; the thumbnail still shows
  // what was presented.
  Paint(kW, kH, 77);

  const bool hadTemp = std::filesystem::exists("KV9_TEMP.dds");
  uint8_t* data = nullptr;
  uint32_t size = 0;
  ASSERT_TRUE(renderer.CaptureScreen(&data, &size));
  ASSERT_NE(data, nullptr);
  std::vector<uint8_t> bytes(data, data + size);
  delete[] data;
  EXPECT_EQ(std::filesystem::exists("KV9_TEMP.dds"), hadTemp);  // no file is made

  // The DDS layout: magic, 124-byte header, DXT1 pixel format, 8 bytes a block.
  ASSERT_EQ(bytes.size(), 128u + (256 / 4) * (192 / 4) * 8);
  EXPECT_EQ(std::memcmp(bytes.data(), "DDS ", 4), 0);
  EXPECT_EQ(U32(bytes, 4), 124u);
  EXPECT_EQ(U32(bytes, 12), 192u);  // height
  EXPECT_EQ(U32(bytes, 16), 256u);  // width
  EXPECT_EQ(U32(bytes, 76), 32u);   // pixel-format record size
  EXPECT_NE(U32(bytes, 80) & 0x4u, 0u);  // four-character code present
  EXPECT_EQ(std::memcmp(bytes.data() + 84, "DXT1", 4), 0);

  gfx::DdsImage image;
  ASSERT_TRUE(gfx::ReadDds(bytes.data(), bytes.size(), &image));
  ASSERT_EQ(image.format, gfx::D3DFMT_DXT1);
  std::vector<uint32_t> decoded(256 * 192);
  ASSERT_TRUE(gfx::DecodeToArgb(gfx::D3DFMT_DXT1, image.levels[0].data(), gfx::RowPitch(gfx::D3DFMT_DXT1, 256), 256,
                                192, decoded.data()));
  // Each 4 x 4 block covers one 8 x 8 block of the frame: one colour, so the
  // only loss is the 5-6-5 quantisation.
  int worst = 0;
  for (int y = 0; y < 192; ++y)
    for (int x = 0; x < 256; ++x) worst = std::max(worst, ChannelDiff(decoded[y * 256 + x], frame[(2 * y) * kW + 2 * x]));
  EXPECT_LE(worst, 8);
}

TEST_F(LumetraCaptureTest, TheScreenshotIsA24BitBmpOfTheFrame) {
  constexpr int32_t kW = 70, kH = 30;  // 210-byte rows padded to 212
  Recreate(kW, kH);
  const std::vector<uint32_t> frame = Paint(kW, kH, 5);
  ASSERT_EQ(renderer.RenderFrame(), 0);
  Paint(kW, kH, 9);  // after the present

  ScratchDir dir;
  const std::string name = dir.File("shot.bmp");
  ASSERT_TRUE(renderer.SaveScreenshot(name));
  std::ifstream in(name, std::ios::binary);
  const std::vector<uint8_t> bmp{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  constexpr uint32_t kStride = 212;
  ASSERT_EQ(bmp.size(), 54u + kStride * kH);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(U32(bmp, 2), bmp.size());
  EXPECT_EQ(U32(bmp, 10), 54u);
  EXPECT_EQ(U32(bmp, 14), 40u);
  EXPECT_EQ(U32(bmp, 18), uint32_t(kW));
  EXPECT_EQ(U32(bmp, 22), uint32_t(kH));  // positive: bottom row first
  EXPECT_EQ(U16(bmp, 26), 1);
  EXPECT_EQ(U16(bmp, 28), 24);
  EXPECT_EQ(U32(bmp, 30), 0u);
  for (int32_t y = 0; y < kH; ++y) {
    for (int32_t x = 0; x < kW; ++x) {
      const uint8_t* p = &bmp[54 + size_t(kH - 1 - y) * kStride + size_t(x) * 3];
      const uint32_t got = 0xFF000000u | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
      ASSERT_EQ(got, frame[size_t(y) * kW + x]) << x << "," << y;
    }
  }
  EXPECT_FALSE(renderer.SaveScreenshot(dir.File("missing/shot.bmp")));
  EXPECT_FALSE(renderer.SaveScreenshot(""));
}

}  // namespace
