// Ogg Vorbis decoding from fixtures encoded in the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "OggFixture.h"
#include "platform/DebugOutput.h"
#include "sound/OGG.h"

namespace soundtest {
namespace {

int Peak(const OGG& ogg) {
  const auto* s = reinterpret_cast<const int16_t*>(ogg.GetData());
  int peak = 0;
  for (uint32_t i = 0; i < ogg.GetDataSize() / 2; ++i) peak = std::max(peak, std::abs(int{s[i]}));
  return peak;
}

TEST(OggLoader, DecodesMonoAndStereoWhole) {
  struct Case {
    int channels;
    long rate;
    int frames;
  } cases[] = {{1, 22050, 11025}, {2, 44100, 30000}};
  for (const Case& c : cases) {
    const std::vector<uint8_t> file = EncodeOgg(c.channels, c.rate, c.frames, 440.0, 0.5f);
    ASSERT_FALSE(file.empty());
    OGG ogg;
    ASSERT_TRUE(ogg.LoadFromMemory(file.data(), file.size(), "tone.ogg")) << c.channels;
    const platform::WAVEFORMATEX* f = ogg.GetFormat();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->formatTag, 1);
    EXPECT_EQ(f->channels, c.channels);
    EXPECT_EQ(f->samplesPerSec, static_cast<uint32_t>(c.rate));
    EXPECT_EQ(f->bitsPerSample, 16);
    EXPECT_EQ(f->blockAlign, c.channels * 2);
    EXPECT_EQ(f->avgBytesPerSec, static_cast<uint32_t>(c.rate * c.channels * 2));
    EXPECT_EQ(f->extraSize, 0);
    EXPECT_EQ(ogg.GetDataSize(), static_cast<uint32_t>(c.frames * c.channels * 2));
    EXPECT_NEAR(Peak(ogg), 16384, 1600);  // a half-scale tone survives lossy coding
  }
}

TEST(OggLoader, DamagedFilesDecodeWhatIsLeftOrFailCleanly) {
  platform::ScopedDebugCapture capture;
  platform::SetDebugStderr(false);
  const std::vector<uint8_t> good = EncodeOgg(2, 44100, 44100 * 8, 300.0, 0.5f);
  const uint32_t fullSize = 44100 * 8 * 4;

  // An audio page (granule position above 0) in the middle damaged: the
  // gap is skipped and decoding goes on after it.
  std::vector<size_t> pages;
  for (size_t i = 0; i + 27 < good.size(); ++i)
    if (std::memcmp(&good[i], "OggS", 4) == 0) pages.push_back(i);
  std::vector<size_t> audioPages;
  for (size_t p : pages) {
    int64_t granule = 0;
    std::memcpy(&granule, &good[p + 6], 8);
    if (granule > 0) audioPages.push_back(p);
  }
  ASSERT_GE(audioPages.size(), 3u);
  const size_t audioPage = audioPages[audioPages.size() / 2];
  std::vector<uint8_t> holed = good;
  for (size_t i = audioPage + 60; i < audioPage + 90; ++i) holed[i] ^= 0x5A;
  OGG ogg;
  ASSERT_TRUE(ogg.LoadFromMemory(holed.data(), holed.size(), "holed.ogg")) << capture.Text();
  EXPECT_LT(ogg.GetDataSize(), fullSize);
  EXPECT_GT(ogg.GetDataSize(), fullSize * 7 / 10);  // more than what came before the gap
  EXPECT_EQ(ogg.GetDataSize() % 4, 0u);

  // Cut short: whatever loads is sized by what was decoded.
  const std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<ptrdiff_t>(good.size() * 2 / 3));
  if (ogg.LoadFromMemory(cut.data(), cut.size(), "cut.ogg")) {
    EXPECT_LT(ogg.GetDataSize(), fullSize);
    EXPECT_EQ(ogg.GetDataSize() % 4, 0u);
  } else {
    EXPECT_EQ(ogg.GetFormat(), nullptr);
  }

  std::vector<uint8_t> junk(4000);
  for (size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<uint8_t>(i * 131 + 7);
  const std::vector<uint8_t> headersOnly(good.begin(), good.begin() + 100);
  const std::vector<uint8_t> threeChannels = EncodeOgg(3, 44100, 4096, 300.0, 0.5f);
  ASSERT_FALSE(threeChannels.empty());
  const std::vector<uint8_t>* refused[] = {&junk, &headersOnly, &threeChannels};
  for (const auto* bytes : refused) {
    ASSERT_TRUE(ogg.LoadFromMemory(good.data(), good.size(), "good.ogg"));
    capture.Clear();
    EXPECT_FALSE(ogg.LoadFromMemory(bytes->data(), bytes->size(), "bad.ogg"));
    EXPECT_EQ(ogg.GetFormat(), nullptr);
    EXPECT_EQ(ogg.GetDataSize(), 0u);
    EXPECT_TRUE(capture.Contains("OGG: \"bad.ogg\""));
  }
  EXPECT_FALSE(ogg.LoadFromMemory(nullptr, 0, "empty.ogg"));
  EXPECT_FALSE(ogg.Load("no such file.ogg"));
}

}  // namespace
}  // namespace soundtest
