// The renderer's image loading: dispatch by name, the 32-bit bitmap, and
// damaged files refused without harm.
#include <gtest/gtest.h>

#include <memory>

#include "platform/DebugOutput.h"
#include "renderer/formats/RendererImage.h"
#include "renderer/formats/tests/ImageFiles.h"

namespace {

std::unique_ptr<TexTransport> Read(const std::vector<uint8_t>& bytes, const std::string& name, int options = 0) {
  return std::unique_ptr<TexTransport>(renderer::TexTransport_ReadImage(bytes.data(), bytes.size(), name, options));
}

TEST(RendererImage, ThirtyTwoBitBitmapsKeepTheirBytesTopRowFirst) {
  BmpLayout layout;
  layout.bits = 32;
  layout.width = 3;
  layout.height = 2;
  const std::vector<uint8_t> file = MakeBmp(layout);
  for (bool bitFields : {false, true}) {
    BmpLayout s = layout;
    s.bitFieldMasks = bitFields;
    s.compression = bitFields ? 3 : 0;
    auto image = Read(MakeBmp(s), "Signs\\Gate.BMP");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->paletted, 0);
    ASSERT_EQ(image->width, 3);
    ASSERT_EQ(image->height, 2);
    // Image row 0 is the file's last row.
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x)
        for (int k = 0; k < 4; ++k)
          EXPECT_EQ(image->pixels[size_t((y * 3 + x) * 4 + k)], layout.pixel(x, 1 - y, k));
  }
  auto bottomUp = Read(file, "a.bmp", TexTransport::kBottomUp);
  ASSERT_NE(bottomUp, nullptr);
  EXPECT_EQ(bottomUp->pixels[0], layout.pixel(0, 0, 0));
}

TEST(RendererImage, EightAndTwentyFourBitBitmapsAndTargas) {
  BmpLayout pal;
  pal.bits = 8;
  pal.paletteEntries = 256;  // colours-used 0: a full table
  auto indexed = Read(MakeBmp(pal), "p.bmp");
  ASSERT_NE(indexed, nullptr);
  EXPECT_EQ(indexed->paletted, 1);
  EXPECT_EQ(indexed->palette[255][1], 0);
  EXPECT_EQ(indexed->palette[255][3], 255 ^ 0x55);

  BmpLayout odd;
  odd.width = 3;  // 9 bytes a row, padded to 12
  odd.height = 2;
  auto rgb = Read(MakeBmp(odd), "o.bmp");
  ASSERT_NE(rgb, nullptr);
  EXPECT_EQ(rgb->pixels[0], odd.pixel(0, 1, 0));
  EXPECT_EQ(rgb->pixels[3], 255);
  EXPECT_EQ(rgb->pixels[12 + 2], odd.pixel(0, 0, 2));

  BmpLayout topDown = odd;
  topDown.height = -2;  // rows stored top first
  auto td = Read(MakeBmp(topDown), "t.bmp");
  ASSERT_NE(td, nullptr);
  EXPECT_EQ(td->pixels[0], odd.pixel(0, 0, 0));

  const uint8_t colour[4] = {10, 20, 30, 40};
  auto tga = Read(MakeTga32(2, 2, colour), "c.TGA");
  ASSERT_NE(tga, nullptr);
  EXPECT_EQ(tga->pixels[3], 40);
}

TEST(RendererImage, NamesChooseTheDecoder) {
  const std::vector<uint8_t> bmp = MakeBmp(BmpLayout{});
  platform::ScopedDebugCapture capture;
  EXPECT_EQ(Read(bmp, "x.png"), nullptr);
  EXPECT_EQ(Read(bmp, "bmp"), nullptr);
  EXPECT_EQ(Read(bmp, "a.tga"), nullptr);  // a bitmap under a targa's name
  capture.Clear();
  EXPECT_EQ(Read(bmp, "photo.jpeg"), nullptr);
  EXPECT_TRUE(capture.Contains("DecodeJPEG"));
  capture.Clear();
  EXPECT_EQ(Read(bmp, "photo.JIF"), nullptr);
  EXPECT_TRUE(capture.Contains("DecodeJPEG"));
  EXPECT_EQ(renderer::TexTransport_LoadImageFile("no/such/file.bmp", 0), nullptr);
}

TEST(RendererImage, RefusesDamagedFiles) {
  auto bmp = [](auto change) {
    BmpLayout s;
    change(s);
    return MakeBmp(s);
  };
  const std::vector<uint8_t> whole = MakeBmp(BmpLayout{});
  const std::vector<uint8_t> truncated(whole.begin(), whole.end() - 1);
  std::vector<uint8_t> hugeDims = MakeBmp(BmpLayout{});
  hugeDims[18] = 0xFF, hugeDims[19] = 0xFF, hugeDims[20] = 0xFF;  // width over the cap
  Bytes rleOverrun;
  rleOverrun.u8(0).u8(0).u8(10).u16(0).u16(0).u8(0).u16(0).u16(0).u16(2).u16(2).u8(24).u8(0);
  rleOverrun.u8(0x80 | 9).u8(1).u8(2).u8(3);  // a run of 10 pixels into a 4-pixel image
  const std::vector<uint8_t> jpegJunk = {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x43, 0x00, 0x10, 0x20};
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    const char* name;
  } cases[] = {
      {"truncated bitmap", truncated, "a.bmp"},
      {"header only", std::vector<uint8_t>(truncated.begin(), truncated.begin() + 20), "a.bmp"},
      {"no BM", bmp([](BmpLayout& s) { s.bits = 24; }), "a.tga"},
      {"16-bit bitmap", bmp([](BmpLayout& s) { s.bits = 16; }), "a.bmp"},
      {"run-length bitmap", bmp([](BmpLayout& s) { s.bits = 8, s.compression = 1, s.paletteEntries = 256; }), "a.bmp"},
      {"palette over 256", bmp([](BmpLayout& s) { s.bits = 8, s.coloursUsed = 300, s.paletteEntries = 256; }), "a.bmp"},
      {"palette past the end", bmp([](BmpLayout& s) { s.bits = 8, s.coloursUsed = 0, s.paletteEntries = 0, s.width = 1, s.height = 1; }), "a.bmp"},
      {"odd bit-field masks", [] { BmpLayout s; s.bits = 32, s.compression = 3, s.bitFieldMasks = true; auto b = MakeBmp(s); b[54] = 0xFF; return b; }(), "a.bmp"},
      {"dimensions over the cap", hugeDims, "a.bmp"},
      {"run-length packet past the image", rleOverrun.b, "a.tga"},
      {"corrupt JPEG", jpegJunk, "a.jpg"},
      {"empty JPEG", {}, "a.jpg"},
  };
  platform::ScopedDebugCapture capture;
  for (const Case& c : cases) EXPECT_EQ(Read(c.bytes, c.name), nullptr) << c.what;
}

}  // namespace
