// DXT1, DDS, BMP, surface loading and error names.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <cstring>
#include <vector>

#include "platform/DebugOutput.h"
#include "platform/graphics/BmpFile.h"
#include "platform/graphics/DdsFile.h"
#include "platform/graphics/Dxt1.h"
#include "platform/graphics/ErrorNames.h"
#include "platform/graphics/GfxFactory.h"
#include "platform/graphics/ImageUtil.h"
#include "platform/graphics/PixelFormat.h"
#include "platform/tests/ScratchDir.h"

namespace gfx = platform::gfx;

namespace {

uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

int ChannelError(uint32_t a, uint32_t b) {
  int worst = 0;
  for (int s = 0; s <= 16; s += 8) worst = std::max(worst, std::abs(int((a >> s) & 255) - int((b >> s) & 255)));
  return worst;
}

// A record device for the helpers that work on surfaces.
class ImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    d3d_ = gfx::CreateDirect3D(gfx::Backend::Record);
    gfx::PresentParameters pp;
    pp.backBufferWidth = 32;
    pp.backBufferHeight = 16;
    ASSERT_EQ(d3d_->CreateDevice(0, gfx::D3DDEVTYPE_HAL, nullptr, 0x44, &pp, &dev_), 0);
  }
  void TearDown() override {
    EXPECT_EQ(dev_->Release(), 0u);
    d3d_->Release();
  }
  gfx::Surface* Image(uint32_t w, uint32_t h, uint32_t format, const std::vector<uint32_t>& argb = {}) {
    gfx::Surface* s = nullptr;
    EXPECT_EQ(dev_->CreateImageSurface(w, h, format, &s), 0);
    if (!argb.empty()) {
      gfx::LockedRect lr;
      EXPECT_EQ(s->LockRect(&lr, nullptr, 0), 0);
      gfx::EncodeFromArgb(format, argb.data(), w, h, static_cast<uint8_t*>(lr.bits), uint32_t(lr.pitch));
      s->UnlockRect();
    }
    return s;
  }
  std::vector<uint32_t> Pixels(gfx::Surface* s) {
    gfx::SurfaceDesc d;
    s->GetDesc(&d);
    gfx::LockedRect lr;
    EXPECT_EQ(s->LockRect(&lr, nullptr, gfx::D3DLOCK_READONLY), 0);
    std::vector<uint32_t> out(size_t(d.width) * d.height);
    gfx::DecodeToArgb(d.format, static_cast<const uint8_t*>(lr.bits), uint32_t(lr.pitch), d.width, d.height, out.data());
    s->UnlockRect();
    return out;
  }
  gfx::Direct3D* d3d_ = nullptr;
  gfx::Device* dev_ = nullptr;
};

TEST(Dxt1, BlocksDecodeAndEncodeWithinTheFormatsError) {
  // Hand-made block: red 0xF800 and blue 0x001F, four-colour mode, indices 0,1,2,3 on every row.
  const uint8_t block[8] = {0x00, 0xF8, 0x1F, 0x00, 0xE4, 0xE4, 0xE4, 0xE4};
  uint32_t out[16];
  gfx::DecodeDxt1Block(block, out);
  EXPECT_EQ(out[0], 0xFFFF0000u);
  EXPECT_EQ(out[1], 0xFF0000FFu);
  EXPECT_EQ(out[2], 0xFFAA0055u);  // two thirds red
  EXPECT_EQ(out[3], 0xFF5500AAu);
  // Three-colour mode: index 3 is transparent black.
  const uint8_t clear[8] = {0x1F, 0x00, 0x00, 0xF8, 0xFF, 0xFF, 0xFF, 0xFF};
  gfx::DecodeDxt1Block(clear, out);
  EXPECT_EQ(out[5], 0u);
  struct Case {
    const char* name;
    uint32_t a, b;  // the block is a left/right split of these
    int tolerance;
  };
  const Case cases[] = {{"solid grey", 0xFF808080, 0xFF808080, 4},
                        {"two colours", 0xFFFF0000, 0xFF0000FF, 4},
                        {"dark and light", 0xFF101010, 0xFFF0F0F0, 4},
                        {"with transparent half", 0x00000000, 0xFF40C080, 4}};
  for (const Case& c : cases) {
    uint32_t pixels[16], decoded[16];
    for (int i = 0; i < 16; ++i) pixels[i] = (i % 4) < 2 ? c.a : c.b;
    uint8_t encoded[8];
    gfx::EncodeDxt1Block(pixels, encoded);
    gfx::DecodeDxt1Block(encoded, decoded);
    for (int i = 0; i < 16; ++i) {
      EXPECT_EQ(decoded[i] >> 24, (pixels[i] >> 24) >= 128 ? 255u : 0u) << c.name;
      if (pixels[i] >> 24) {
        EXPECT_LE(ChannelError(decoded[i], pixels[i]), c.tolerance) << c.name << " " << i;
      }
    }
  }
}

TEST_F(ImageTest, ThumbnailDdsOfDxt1HasTheLayoutAndDecodesWithinDxt1Error) {
  const uint32_t w = 256, h = 192;
  std::vector<uint32_t> frame(w * h);
  for (uint32_t y = 0; y < h; ++y)
    for (uint32_t x = 0; x < w; ++x)
      frame[y * w + x] = 0xFF000000u | (x & 255) << 16 | ((y * 255 / (h - 1)) & 255) << 8 | ((x / 32) * 36 & 255);
  gfx::Surface* src = Image(w, h, gfx::D3DFMT_A8R8G8B8, frame);
  gfx::Surface* dxt = Image(w, h, gfx::D3DFMT_DXT1);
  ASSERT_EQ(gfx::LoadSurfaceFromSurface(dxt, nullptr, src, nullptr, gfx::D3DX_FILTER_POINT, 0x76475235), 0);
  std::vector<uint8_t> dds;
  ASSERT_EQ(gfx::SaveSurfaceToMemory(gfx::D3DXIFF_DDS, dxt, nullptr, &dds), 0);
  ASSERT_EQ(dds.size(), 128u + 256 / 4 * 192 / 4 * 8);
  EXPECT_EQ(Get32(dds, 0), 0x20534444u);  // "DDS "
  EXPECT_EQ(Get32(dds, 4), 124u);
  EXPECT_EQ(Get32(dds, 8), 0x81007u);     // caps, height, width, pixel format, linear size
  EXPECT_EQ(Get32(dds, 12), h);
  EXPECT_EQ(Get32(dds, 16), w);
  EXPECT_EQ(Get32(dds, 20), 24576u);
  EXPECT_EQ(Get32(dds, 76), 32u);
  EXPECT_EQ(Get32(dds, 80), 4u);          // four-character code
  EXPECT_EQ(Get32(dds, 84), gfx::D3DFMT_DXT1);
  EXPECT_EQ(Get32(dds, 108), 0x1000u);
  gfx::DdsImage image;
  ASSERT_TRUE(gfx::ReadDds(dds.data(), dds.size(), &image));
  ASSERT_EQ(image.format, gfx::D3DFMT_DXT1);
  std::vector<uint32_t> back(w * h);
  ASSERT_TRUE(gfx::DecodeToArgb(image.format, image.levels[0].data(), 64 * 8, w, h, back.data()));
  long total = 0;
  int worst = 0;
  for (size_t i = 0; i < back.size(); ++i) {
    const int e = ChannelError(back[i], frame[i]);
    worst = std::max(worst, e);
    total += e;
  }
  EXPECT_LE(worst, 24);                              // one block's palette step for these gradients
  EXPECT_LT(double(total) / double(back.size()), 6.0);
  // The same bytes load back as a texture.
  gfx::Texture* tex = nullptr;
  ASSERT_EQ(gfx::CreateTextureFromFileInMemory(dev_, dds.data(), dds.size(), &tex), 0);
  gfx::SurfaceDesc d;
  tex->GetLevelDesc(0, &d);
  EXPECT_EQ(d.format, gfx::D3DFMT_DXT1);
  EXPECT_EQ(tex->GetLevelCount(), 1u);
  tex->Release();
  src->Release();
  dxt->Release();
}

TEST_F(ImageTest, UncompressedTextureWithMipsRoundTripsExactly) {
  gfx::Texture* tex = nullptr;
  ASSERT_EQ(dev_->CreateTexture(8, 4, 0, 0, gfx::D3DFMT_A8R8G8B8, gfx::D3DPOOL_MANAGED, &tex), 0);
  ASSERT_EQ(tex->GetLevelCount(), 4u);
  for (uint32_t level = 0; level < 4; ++level) {
    gfx::LockedRect lr;
    ASSERT_EQ(tex->LockRect(level, &lr, nullptr, 0), 0);
    gfx::SurfaceDesc d;
    tex->GetLevelDesc(level, &d);
    for (uint32_t i = 0; i < d.height * uint32_t(lr.pitch); ++i) static_cast<uint8_t*>(lr.bits)[i] = uint8_t(i * 7 + level);
    tex->UnlockRect(level);
  }
  std::vector<uint8_t> dds, again;
  ASSERT_EQ(gfx::SaveTextureToMemory(gfx::D3DXIFF_DDS, tex, &dds), 0);
  EXPECT_EQ(dds.size(), 128u + (32 + 8 + 2 + 1) * 4);
  EXPECT_EQ(Get32(dds, 28), 4u);  // mip count
  gfx::Texture* copy = nullptr;
  ASSERT_EQ(gfx::CreateTextureFromFileInMemory(dev_, dds.data(), dds.size(), &copy), 0);
  ASSERT_EQ(gfx::SaveTextureToMemory(gfx::D3DXIFF_DDS, copy, &again), 0);
  EXPECT_EQ(dds, again);
  EXPECT_EQ(gfx::SaveTextureToMemory(gfx::D3DXIFF_BMP, tex, &again), gfx::D3DERR_INVALIDCALL);
  copy->Release();
  tex->Release();
}

TEST_F(ImageTest, BadDdsDataIsRefusedAndChangesNothing) {
  gfx::DdsImage good;
  good.format = gfx::D3DFMT_A8R8G8B8;
  good.width = 4;
  good.height = 4;
  good.levels = {std::vector<uint8_t>(64, 0x5A), std::vector<uint8_t>(16, 1), std::vector<uint8_t>(4, 2)};
  std::vector<uint8_t> valid;
  ASSERT_TRUE(gfx::WriteDds(good, &valid));
  auto with = [&](size_t at, uint32_t v) {
    std::vector<uint8_t> b = valid;
    for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
    return b;
  };
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"empty", {}},
      {"truncated header", std::vector<uint8_t>(valid.begin(), valid.begin() + 100)},
      {"truncated pixels", std::vector<uint8_t>(valid.begin(), valid.end() - 1)},
      {"wrong magic", with(0, 0x20534443)},
      {"wrong header size", with(4, 120)},
      {"zero width", with(16, 0)},
      {"huge height", with(12, 0x7FFFFFFF)},
      {"too many levels", with(28, 4)},
      {"huge level count", with(28, 0xFFFFFFFF)},
      {"cube map", with(112, 0x200)},
      {"24-bit layout", with(88, 24)},
      {"unknown four-character code", with(80, 4)},
      {"binary junk", std::vector<uint8_t>(300, 0xA7)},
  };
  platform::ScopedDebugCapture capture;
  platform::SetDebugStderr(false);
  for (const Case& c : cases) {
    gfx::DdsImage out;
    out.width = 77;
    EXPECT_FALSE(gfx::ReadDds(c.bytes.data(), c.bytes.size(), &out)) << c.name;
    EXPECT_EQ(out.width, 77u) << c.name;
    gfx::Texture* tex = reinterpret_cast<gfx::Texture*>(1);
    EXPECT_EQ(gfx::CreateTextureFromFileInMemory(dev_, c.bytes.data(), c.bytes.size(), &tex), gfx::D3DXERR_INVALIDDATA)
        << c.name;
    EXPECT_EQ(tex, nullptr);
  }
  platform::SetDebugStderr(true);
  EXPECT_TRUE(capture.Contains("DDS data refused"));
  gfx::DdsImage out;
  EXPECT_TRUE(gfx::ReadDds(valid.data(), valid.size(), &out));
  EXPECT_EQ(out.levels.size(), 3u);
}

TEST(Bmp, WritesAValid24BitFileBottomUpWithPaddedRows) {
  const uint32_t w = 5, h = 3;
  std::vector<uint32_t> argb(w * h);
  for (uint32_t i = 0; i < w * h; ++i) argb[i] = 0x80000000u | i << 16 | (i * 2) << 8 | (i * 3);
  std::vector<uint8_t> bmp;
  ASSERT_TRUE(gfx::WriteBmp24(argb.data(), w, h, &bmp));
  const uint32_t row = 16;  // 15 bytes padded to 16
  ASSERT_EQ(bmp.size(), 54u + row * h);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(Get32(bmp, 2), bmp.size());
  EXPECT_EQ(Get32(bmp, 10), 54u);
  EXPECT_EQ(Get32(bmp, 14), 40u);
  EXPECT_EQ(Get32(bmp, 18), w);
  EXPECT_EQ(Get32(bmp, 22), h);
  EXPECT_EQ(bmp[26] | bmp[27] << 8, 1);
  EXPECT_EQ(bmp[28] | bmp[29] << 8, 24);
  EXPECT_EQ(Get32(bmp, 30), 0u);
  EXPECT_EQ(Get32(bmp, 34), row * h);
  for (uint32_t y = 0; y < h; ++y) {
    const uint8_t* r = &bmp[54 + (h - 1 - y) * row];
    for (uint32_t x = 0; x < w; ++x) {
      const uint32_t c = argb[y * w + x];
      EXPECT_EQ(r[x * 3 + 0], uint8_t(c));
      EXPECT_EQ(r[x * 3 + 1], uint8_t(c >> 8));
      EXPECT_EQ(r[x * 3 + 2], uint8_t(c >> 16));
    }
    EXPECT_EQ(r[15], 0);
  }
  EXPECT_FALSE(gfx::WriteBmp24(argb.data(), 0, h, &bmp));
  EXPECT_FALSE(gfx::WriteBmp24(nullptr, w, h, &bmp));
}

TEST_F(ImageTest, PointScalingConvertsFormatsAndAppliesTheColourKey) {
  std::vector<uint32_t> src(16);
  for (uint32_t i = 0; i < 16; ++i) src[i] = 0xFF000000u | (i * 16) << 16 | (255 - i * 16) << 8 | 0x40;
  src[5] = 0x76475235;  // the key colour
  gfx::Surface* s = Image(4, 4, gfx::D3DFMT_A8R8G8B8, src);
  struct Case {
    const char* name;
    uint32_t w, h, format;
    std::vector<uint32_t> expected;  // as the destination stores it, read back as A8R8G8B8
  };
  auto a4 = [](uint32_t c) {  // what an A4R4G4B4 store keeps of c
    uint32_t out = 0;
    for (int s = 0; s < 32; s += 8) out |= (((c >> s) & 255) >> 4) * 17 << s;
    return out;
  };
  const Case cases[] = {
      {"halve", 2, 2, gfx::D3DFMT_A8R8G8B8, {0, src[7], src[13], src[15]}},
      {"halve to 4-bit", 2, 2, gfx::D3DFMT_A4R4G4B4, {0, a4(src[7]), a4(src[13]), a4(src[15])}},
      {"narrow", 1, 4, gfx::D3DFMT_A8R8G8B8, {src[2], src[6], src[10], src[14]}},
  };
  for (const Case& c : cases) {
    gfx::Surface* d = Image(c.w, c.h, c.format);
    ASSERT_EQ(gfx::LoadSurfaceFromSurface(d, nullptr, s, nullptr, gfx::D3DX_FILTER_POINT, 0x76475235), 0) << c.name;
    EXPECT_EQ(Pixels(d), c.expected) << c.name;
    d->Release();
  }
  // Doubling a 2x2 source rectangle repeats each pixel.
  gfx::Surface* big = Image(4, 4, gfx::D3DFMT_X8R8G8B8);
  const gfx::Rect part{2, 2, 4, 4};
  ASSERT_EQ(gfx::LoadSurfaceFromSurface(big, nullptr, s, &part, gfx::D3DX_FILTER_POINT, 0), 0);
  const auto px = Pixels(big);
  EXPECT_EQ(px[0], src[10]);
  EXPECT_EQ(px[1], src[10]);
  EXPECT_EQ(px[15], src[15]);
  const gfx::Rect bad{0, 0, 5, 4};
  EXPECT_EQ(gfx::LoadSurfaceFromSurface(big, nullptr, s, &bad, gfx::D3DX_FILTER_POINT, 0), gfx::D3DERR_INVALIDCALL);
  EXPECT_EQ(gfx::LoadSurfaceFromSurface(big, &bad, s, nullptr, gfx::D3DX_FILTER_POINT, 0), gfx::D3DERR_INVALIDCALL);
  big->Release();
  s->Release();
}

TEST(ErrorNames, NameEveryResultTheLayerReturns) {
  const std::pair<CoreStatus, const char*> cases[] = {
      {gfx::D3D_OK, "S_OK"},
      {gfx::D3DERR_DEVICELOST, "D3DERR_DEVICELOST"},
      {static_cast<CoreStatus>(0x88760869u), "D3DERR_DEVICENOTRESET"},
      {gfx::D3DERR_INVALIDCALL, "D3DERR_INVALIDCALL"},
      {gfx::D3DERR_NOTAVAILABLE, "D3DERR_NOTAVAILABLE"},
      {gfx::D3DERR_OUTOFVIDEOMEMORY, "D3DERR_OUTOFVIDEOMEMORY"},
      {gfx::D3DXERR_INVALIDDATA, "D3DXERR_INVALIDDATA"},
      {gfx::E_OUTOFMEMORY, "E_OUTOFMEMORY"},
      {gfx::E_FAIL, "E_FAIL"},
      {0x12345, "Unknown"},
  };
  for (auto [code, name] : cases) EXPECT_STREQ(gfx::GetErrorName(code), name);
}

}  // namespace

namespace {

// A texture file that cannot be read is said once however often it is asked
// for, with the folders as they are on disk and '/' between them.
TEST_F(ImageTest, AnUnreadableTextureFileIsReportedOnceAsThePlayerWouldTypeIt) {
  ScratchDir dir;
  std::filesystem::create_directories(dir.File("Interface/MainMenu"));
  const std::string asked = dir.Root().string() + "/interface\\mainmenu\\Missing.dds";
  platform::ScopedDebugCapture log;
  for (int i = 0; i < 3; ++i) {
    gfx::Texture* tex = nullptr;
    EXPECT_EQ(gfx::CreateTextureFromFile(dev_, asked, &tex), gfx::D3DERR_NOTFOUND);
    EXPECT_EQ(tex, nullptr);
  }
  const std::string& text = log.Text();
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
  EXPECT_NE(text.find(dir.Root().string() + "/Interface/MainMenu/Missing.dds"), std::string::npos) << text;
}

}  // namespace
