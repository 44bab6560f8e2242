// Reading ".stx" streams: structure, planes, formats and levels, tags, and
// the refusal of damaged streams.
#include <gtest/gtest.h>

#include "platform/DebugOutput.h"
#include "renderer/formats/STexture2.h"
#include "renderer/formats/tests/STXFixtures.h"

namespace {

bool LoadStx(STexture2& t, const std::vector<uint8_t>& bytes, bool loadData, const std::string& path = "mem.stx") {
  STexture2File file;
  file.SetMemory(bytes, path);
  return t.Load(file, loadData);
}

StxTexture ThreeFormats() {
  StxTexture t;
  t.width = 8;
  t.height = 4;
  t.mipLevels = 2;
  t.nameField = std::string("brick\0pad", 9);
  t.tags = {{"MIPLevels", "2"}, {"UpFilter", "Box"}};
  t.annexes = {{"notes", std::vector<uint8_t>(16, 0x5A), {{"k", "v"}}}};
  t.formats = {Stx565(8, 4, 2, 2), StxIndexed(8, 4, 2, true), Stx888(8, 4)};
  t.formats[2].levels.push_back(StxBareLevel(4, 2, 12));  // a level record without stored planes
  t.formats[2].levels[0].genRGB = 1;
  t.formats[2].tags = {{"GenRGBMIP-0", "1"}};
  return t;
}

TEST(STexture2Load, ReadsTheStructureOfEveryPart) {
  STexture2 t;
  ASSERT_TRUE(LoadStx(t, BuildStx(ThreeFormats()), false));
  EXPECT_EQ(t.name, "brick");
  EXPECT_EQ(t.sourcePath, "mem.stx");
  EXPECT_EQ(t.width, 8);
  EXPECT_EQ(t.height, 4);
  EXPECT_EQ(t.mipLevels, 2);
  EXPECT_EQ(t.m_iNumFormats, 3);
  EXPECT_EQ(t.GetTagInt("miplevels", 10), 2);
  EXPECT_EQ(t.GetTagString("UPFILTER", "Catrom"), "Box");
  EXPECT_EQ(t.GetTagString("DownFilter", "Catrom"), "Catrom");
  ASSERT_EQ(t.annexes.size(), 1u);
  EXPECT_EQ(t.annexes[0]->entries.size(), 16u);
  EXPECT_EQ(t.annexes[0]->tags.GetTagString("k", ""), "v");
  STexture2Format* f = t.GetFormat(0);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->name, "565");
  EXPECT_EQ(f->bitsPerPixel, 16);
  EXPECT_EQ(f->red.shift, 11);
  EXPECT_EQ(f->green.mask, 63);
  EXPECT_EQ(f->alpha.bits, 4);
  ASSERT_EQ(f->m_iMIPDepth, 2);
  EXPECT_EQ(f->levels[1]->width, 4);
  EXPECT_EQ(f->levels[1]->pitch, 10);
  EXPECT_GT(f->levels[1]->rgbOffset, 0);
  EXPECT_TRUE(f->levels[0]->rgb.empty());  // structure only
  STexture2Format* pal = t.GetFormat(1);
  EXPECT_EQ(pal->palette[9][1], 255 - 9);
  EXPECT_EQ(pal->colourKey, 3u);
  EXPECT_TRUE(t.GetFormat(2)->levels[0]->genRGB);
  EXPECT_EQ(t.GetFormat(2)->levels[1]->rgbOffset, 0);  // not stored
}

TEST(STexture2Load, LoadsFormatsOnDemandWithTheirPixels) {
  const StxTexture layout = ThreeFormats();
  STexture2 t;
  STexture2File file;
  file.SetMemory(BuildStx(layout), "mem.stx");
  ASSERT_TRUE(t.Load(file, false));
  ASSERT_TRUE(t.LoadFormat(0, &file));
  STexture2Format& f = *t.GetFormat(0);
  // Level 1 of the 5-6-5 format: 4 x 2 pixels, rows of 10 bytes (8 + 2 padding).
  EXPECT_EQ(f.GetRGBData(1, nullptr, false), 32);
  std::vector<uint8_t> rgb(32);
  ASSERT_EQ(f.GetRGBData(1, rgb.data(), false), 0);
  const auto& stored = layout.formats[0].levels[1].rgb;
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) {
      const uint32_t p = stored[size_t(y * 10 + x * 2)] | (stored[size_t(y * 10 + x * 2 + 1)] << 8);
      const uint8_t* o = &rgb[size_t(y * 4 + x) * 4];
      const uint32_t b5 = p & 31, g6 = (p >> 5) & 63, r5 = (p >> 11) & 31;
      EXPECT_EQ(o[0], (b5 << 3) | (b5 >> 2));
      EXPECT_EQ(o[1], (g6 << 2) | (g6 >> 4));
      EXPECT_EQ(o[2], (r5 << 3) | (r5 >> 2));
      EXPECT_EQ(o[3], 0);
    }
  std::vector<uint8_t> alpha(8);
  ASSERT_EQ(f.GetAlphaData(1, alpha.data()), 0);
  for (size_t i = 0; i < 8; ++i) EXPECT_EQ(alpha[i], ((i + 1) & 15) * 17);

  // The indexed format loads from the stream's own path when given no file.
  EXPECT_FALSE(t.LoadFormat(1, nullptr));  // "mem.stx" is not on disk
  ASSERT_TRUE(t.LoadFormat(1, &file));
  STexture2Format& pal = *t.GetFormat(1);
  std::vector<uint8_t> idx(32), expanded(128);
  ASSERT_EQ(pal.GetRGBData(0, idx.data(), false), 0);
  ASSERT_EQ(pal.GetRGBData(0, expanded.data(), true), 0);
  EXPECT_EQ(idx[7], 35);
  EXPECT_EQ(expanded[7 * 4 + 0], 35);
  EXPECT_EQ(expanded[7 * 4 + 1], 255 - 35);
  EXPECT_EQ(expanded[7 * 4 + 2], 17);

  ASSERT_TRUE(t.LoadFormat(2, &file));
  STexture2Format& rgb888 = *t.GetFormat(2);
  std::vector<uint8_t> px(8 * 4 * 4);
  ASSERT_EQ(rgb888.GetRGBData(0, px.data(), true), 0);
  // Pixel 1 stores bytes 9, 12, 15: red in the low byte.
  EXPECT_EQ(px[4 + 2], 9);
  EXPECT_EQ(px[4 + 1], 12);
  EXPECT_EQ(px[4 + 0], 15);
  EXPECT_TRUE(rgb888.levels[1]->rgb.empty());
  EXPECT_EQ(rgb888.GetAlphaData(0, nullptr), -1);

  ASSERT_TRUE(t.ReleaseFormatData(0));
  EXPECT_TRUE(f.levels[0]->rgb.empty());
  EXPECT_EQ(f.GetRGBData(0, rgb.data(), false), -1);
}

TEST(STexture2Load, LoadingWithDataDropsEveryFormatOfAnotherSize) {
  StxTexture layout;
  layout.formats = {Stx565(8, 4, 2), Stx565(16, 8, 2), Stx565(4, 2, 1), Stx888(8, 4), Stx565(8, 4, 2)};
  layout.formats[3].levels.push_back(StxBareLevel(4, 2, 12));
  layout.formats[4].name = "second 565";
  platform::ScopedDebugCapture capture;
  STexture2 t;
  ASSERT_TRUE(LoadStx(t, BuildStx(layout), true));
  // Two neighbours in a row differ from the first format: both go.
  ASSERT_EQ(t.m_iNumFormats, 3);
  EXPECT_EQ(t.GetFormat(1)->name, "888");
  EXPECT_EQ(t.GetFormat(2)->name, "second 565");
  EXPECT_FALSE(t.GetFormat(2)->levels[1]->rgb.empty());
  EXPECT_EQ(t.width, 8);
  EXPECT_EQ(t.mipLevels, 2);
}

TEST(STexture2Load, EmptyTextureAndNameFields) {
  StxTexture layout;
  layout.width = 64;
  layout.height = 32;
  layout.mipLevels = 7;
  STexture2 t;
  ASSERT_TRUE(LoadStx(t, BuildStx(layout), true));
  EXPECT_EQ(t.m_iNumFormats, 0);
  EXPECT_EQ(t.width, 64);
  EXPECT_EQ(t.height, 32);
  EXPECT_EQ(t.mipLevels, 7);
  EXPECT_EQ(t.name, "");
  layout.nameField = std::string("abc\0", 4);
  ASSERT_TRUE(LoadStx(t, BuildStx(layout), false));
  EXPECT_EQ(t.name, "abc");
}

TEST(STexture2Load, HeaderChecksKeepTheTextureAndSayWhy) {
  STexture2 t;
  t.SetKeepErrors(true);
  ASSERT_TRUE(LoadStx(t, BuildStx(ThreeFormats()), false, "first.stx"));
  const std::vector<uint8_t> good = BuildStx(StxTexture{});
  struct Case {
    std::vector<uint8_t> bytes;
    const char* message;
  } cases[] = {
      {[&] { auto b = good; b[0] = 'X'; return b; }(), "Filename is not an STexture2 stream"},
      {[&] { auto b = good; b[1] = 't'; return b; }(), "Filename is not an STexture2 stream"},
      {[&] { auto b = good; b[2] = 0; return b; }(), "Filename is not an STexture2 stream"},
      {[&] { auto b = good; b[3] = 'Y'; return b; }(), "Filename is not an STexture2 stream"},
      {[&] { auto b = good; b[4] = 2; return b; }(), "Filename is not supported STexture2 version"},
      {[&] { auto b = good; b[8] = 1; return b; }(), "Filename is not supported STexture2 revision"},
  };
  platform::ScopedDebugCapture capture;
  for (const Case& c : cases) {
    EXPECT_FALSE(LoadStx(t, c.bytes, true, "second.stx"));
    EXPECT_EQ(t.GetLastError(), c.message);
    EXPECT_EQ(t.sourcePath, "second.stx");
    EXPECT_EQ(t.m_iNumFormats, 3);
    EXPECT_EQ(t.name, "brick");
  }
  // Without keep-errors the failure is silent in the object.
  STexture2 quiet;
  EXPECT_FALSE(LoadStx(quiet, cases[0].bytes, false));
  EXPECT_EQ(quiet.GetLastError(), "");
}

// Every way the structure can lie, each refused with the texture unchanged.
TEST(STexture2Load, RefusesDamagedStreamsAndKeepsWhatItHeld) {
  auto with = [](auto change) {
    StxTexture t = ThreeFormats();
    change(t);
    return BuildStx(t);
  };
  auto patched = [](std::vector<uint8_t> b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
    return b;
  };
  std::vector<size_t> marks;
  const std::vector<uint8_t> good = BuildStx(ThreeFormats(), &marks);
  // marks: header, name, tags, annex, then per format name/header/palette/tags/levels...
  const size_t format0Header = marks[4];
  const size_t level0RecordEnd = marks[8];
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"channel of 0 bits", with([](StxTexture& t) { t.formats[0].bits[2] = 0; })},
      {"channel of 9 bits", with([](StxTexture& t) { t.formats[0].bits[1] = 9; })},
      {"alpha of 0 bits", with([](StxTexture& t) { t.formats[0].bits[3] = 0; })},
      {"shift past the pixel", with([](StxTexture& t) { t.formats[0].shifts[0] = 16; })},
      {"5 bytes a pixel", with([](StxTexture& t) { t.formats[0].bytesPerPixel = 5; })},
      {"8 bits in 2 bytes", with([](StxTexture& t) { t.formats[0].bitsPerPixel = 8; })},
      {"16 bits in 1 byte", with([](StxTexture& t) { t.formats[1].bitsPerPixel = 16; })},
      {"palette range reversed", with([](StxTexture& t) { t.formats[1].firstIndex = 9, t.formats[1].lastIndex = 2; })},
      {"pitch shorter than a row", with([](StxTexture& t) { t.formats[0].levels[0].pitch = 15; })},
      {"level wider than 32767", with([](StxTexture& t) { t.formats[2].levels[1].width = 40000; })},
      {"format wider than 32767", with([](StxTexture& t) { t.formats[0].width = 0x10000; })},
      {"level of too many pixels", with([](StxTexture& t) { t.formats[1].levels[1] = StxBareLevel(32767, 32767, 32767); })},
      {"colour plane past the end", patched(good, level0RecordEnd - 8, uint32_t(good.size() - 10))},
      {"alpha plane past the end", patched(good, level0RecordEnd - 4, uint32_t(good.size() - 10))},
      {"format count past the stream", patched(good, 12, 4)},
      {"format count over 32767", patched(good, 12, 40000)},
      {"tag count past the stream", patched(good, 32, 1000)},
      {"annex count over 32767", patched(good, 36, 0x8000)},
      {"name length past the stream", patched(good, 28, 0xFFFFFFF0u)},
      {"texture width over 32767", patched(good, 16, 0x8000)},
      {"level count past the stream", patched(good, format0Header + 20, 30000)},
      {"tag length past the stream", [&] { auto b = good; b[marks[1]] = 0xFF; b[marks[1] + 1] = 0xFF; return b; }()},
      {"texture name of 8192 bytes", with([](StxTexture& t) { t.nameField = std::string(8192, 'n'); })},
      {"tag value of 8192 bytes", with([](StxTexture& t) { t.tags[0].value = std::string(8192, '7'); })},
      {"format name of 8192 bytes", with([](StxTexture& t) { t.formats[1].name = std::string(8192, 'f'); })},
      {"annex name of 8192 bytes", with([](StxTexture& t) { t.annexes[0].name = std::string(8192, 'a'); })},
      {"annex entries past the stream", [&] { auto b = good; b[marks[2] + 7] = 0xFF; b[marks[2] + 8] = 0xFF; return b; }()},
  };
  platform::ScopedDebugCapture capture;
  STexture2 t;
  ASSERT_TRUE(LoadStx(t, good, true));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(LoadStx(t, c.bytes, true));
    EXPECT_EQ(t.m_iNumFormats, 3);
    EXPECT_EQ(t.name, "brick");
    EXPECT_FALSE(t.GetFormat(0)->levels[0]->rgb.empty());
  }
  EXPECT_TRUE(capture.Contains("refused"));
}

TEST(STexture2Load, StringsOfTheLargestLengthStillLoad) {
  StxTexture t = ThreeFormats();
  t.nameField = std::string(8191, 'n');
  t.tags[0].value = std::string(8191, '7');
  t.formats[1].name = std::string(8191, 'f');
  STexture2 loaded;
  ASSERT_TRUE(LoadStx(loaded, BuildStx(t), false));
  EXPECT_EQ(loaded.name.size(), 8191u);
  EXPECT_EQ(loaded.GetFormat(1)->name.size(), 8191u);
}

TEST(STexture2Load, RefusesEveryTruncationIncludingEachSectionBoundary) {
  std::vector<size_t> marks;
  const std::vector<uint8_t> good = BuildStx(ThreeFormats(), &marks);
  ASSERT_GE(marks.size(), 10u);
  platform::ScopedDebugCapture capture;
  size_t structureEnd = marks.back();
  for (size_t n = 0; n < good.size(); ++n) {
    STexture2 t;
    // Cut inside the structure: refused by Load. Cut inside plane data: the
    // structure's offsets point past the end, refused all the same.
    EXPECT_FALSE(LoadStx(t, std::vector<uint8_t>(good.begin(), good.begin() + std::ptrdiff_t(n)), false))
        << "prefix of " << n << " bytes (structure ends at " << structureEnd << ")";
    EXPECT_EQ(t.m_iNumFormats, 0);
  }
}

TEST(STexture2Tags, HashLookupSetAndBadIndices) {
  STexture2Format f;
  f.keepErrors = 1;
  EXPECT_EQ(f.SetTag("MIPLevels", "4"), 1);
  EXPECT_EQ(f.SetTag("ExternRGBMIP-0", "a.bmp"), 2);
  EXPECT_EQ(f.SetTag("miplevels", "5"), 2);  // same tag, any case
  EXPECT_EQ(f.FindTag("miplevels"), 0);
  EXPECT_EQ(f.FindTag("MIPLEVELS"), 0);
  EXPECT_EQ(f.FindTag("MIPLevel"), -1);
  EXPECT_EQ(f.GetTagInt("MIPLevels", 10), 5);
  EXPECT_EQ(f.GetTagInt("missing", 10), 10);
  EXPECT_EQ(f.GetTagValue(1), "a.bmp");
  EXPECT_EQ(f.GetTagValue(2), "");
  EXPECT_FALSE(f.SetTagValue(-1, "x"));
  EXPECT_EQ(f.lastError, "Tag Index < 0");
  EXPECT_FALSE(f.SetTagValue(2, "x"));
  EXPECT_EQ(f.lastError, "Tag Index >= m_iNumTags");
  EXPECT_TRUE(f.SetTagValue(1, " -12xyz"));
  EXPECT_EQ(f.GetTagInt("ExternRGBMIP-0", 0), -12);
  // The hash folds case and weighs positions: "ab" and "ba" differ.
  EXPECT_EQ(STexture2TagHash("MIPLevels"), STexture2TagHash("miplevels"));
  EXPECT_EQ(STexture2TagHash("a"), uint8_t(0x21));
  EXPECT_EQ(STexture2TagHash("ab"), uint8_t(0x21 ^ (0x22 << 1)));
}

}  // namespace
