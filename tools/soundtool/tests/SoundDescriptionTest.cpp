// Sounds from text descriptions, their errors, and the files they make read
// back by the sound layer's own loaders.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "sound/OGG.h"
#include "sound/Wave.h"
#include "tools/soundtool/SoundDescription.h"

namespace {

TEST(SoundDescription, StatementsMakeSamples) {
  struct Case {
    const char* name;
    const char* text;
    int32_t channels;
    size_t samples;
    float peak;  // the largest magnitude, within 0.01
  };
  const Case cases[] = {
      {"rest only", "rate 8000\nrest 0.5\n", 1, 4000, 0.0f},
      {"tone reaches its level", "rate 8000 # comment\ntone 100 1 0.5\n", 1, 8000, 0.5f},
      {"stereo doubles the samples", "rate 8000\nchannels 2\ntone 100 0.5 0.25\r\n", 2, 8000, 0.25f},
      {"statements follow each other", "rate 8000\ntone 200 0.25 0.3\nrest 0.25\nnoise 7 0.25 0.1\n", 1, 6000, 0.3f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SoundClip clip;
    std::string error;
    ASSERT_TRUE(BuildSoundFromDescription(c.text, &clip, &error)) << error;
    EXPECT_EQ(clip.channels, c.channels);
    ASSERT_EQ(clip.samples.size(), c.samples);
    float peak = 0;
    for (float s : clip.samples) peak = std::max(peak, std::fabs(s));
    EXPECT_NEAR(peak, c.peak, 0.01f);
  }
}

TEST(SoundDescription, TonesFadeInAndOut) {
  SoundClip clip;
  std::string error;
  ASSERT_TRUE(BuildSoundFromDescription("rate 8000\ntone 1000 1 1\n", &clip, &error)) << error;
  EXPECT_EQ(clip.samples.front(), 0.0f);
  EXPECT_EQ(clip.samples.back(), 0.0f);
  EXPECT_LT(std::fabs(clip.samples[10]), 0.2f);
}

TEST(SoundDescription, BadDescriptionsSayWhere) {
  struct Case {
    const char* name;
    const char* text;
    const char* error;
  };
  const Case cases[] = {
      {"empty", "", "no rate"},
      {"no rate first", "tone 100 1 1\n", "line 1: the first statement must be rate"},
      {"rate twice", "rate 8000\nrate 8000\n", "line 2: rate given twice"},
      {"rate too low", "rate 100\n", "line 1: rate takes"},
      {"rate fraction", "rate 8000.5\n", "line 1: rate takes"},
      {"three channels", "rate 8000\nchannels 3\n", "line 2: channels takes 1 or 2"},
      {"channels late", "rate 8000\nrest 1\nchannels 2\n", "line 3: channels after the first sound"},
      {"tone above half the rate", "rate 8000\ntone 4001 1 1\n", "line 2: tone takes"},
      {"level above 1", "rate 8000\ntone 100 1 1.5\n", "line 2: tone takes"},
      {"not a number", "rate 8000\nrest soon\n", "line 2: rest takes"},
      {"not finite", "rate 8000\nnoise 1 inf 0.5\n", "line 2: noise takes"},
      {"too long in all", "rate 8000\nrest 400\nrest 400\n", "line 3: the sound is longer than 600 seconds"},
      {"unknown", "rate 8000\nbeep 1\n", "line 2: unknown statement \"beep\""},
      {"silence of nothing", "rate 8000\nrest 0\n", "no sound"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SoundClip clip;
    std::string error;
    EXPECT_FALSE(BuildSoundFromDescription(c.text, &clip, &error));
    EXPECT_NE(error.find(c.error), std::string::npos) << error;
    EXPECT_TRUE(clip.samples.empty());
  }
}

TEST(SoundDescription, FilesLoadInTheSoundLayer) {
  SoundClip clip;
  std::string error;
  ASSERT_TRUE(BuildSoundFromDescription("rate 22050\nchannels 2\ntone 440 0.5 0.5\nrest 0.1\n", &clip, &error))
      << error;
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    bool ogg;
  };
  const Case cases[] = {
      {"ogg", EncodeOggVorbis(clip.samples, clip.channels, clip.rate, 0.4f), true},
      {"wav", EncodeWave16(clip), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_FALSE(c.bytes.empty());
    OGG ogg;
    Wave wave;
    SoundLoader& loader = c.ogg ? static_cast<SoundLoader&>(ogg) : wave;
    const bool loaded = c.ogg ? ogg.LoadFromMemory(c.bytes.data(), c.bytes.size(), c.name)
                              : wave.LoadFromMemory(c.bytes.data(), c.bytes.size(), c.name);
    ASSERT_TRUE(loaded);
    ASSERT_NE(loader.GetFormat(), nullptr);
    EXPECT_EQ(loader.GetFormat()->channels, 2);
    EXPECT_EQ(loader.GetFormat()->samplesPerSec, 22050u);
    EXPECT_EQ(loader.GetFormat()->bitsPerSample, 16);
    // 0.6 seconds of 16-bit stereo.
    EXPECT_EQ(loader.GetDataSize(), 13230u * 4u);
  }
  EXPECT_TRUE(EncodeOggVorbis(clip.samples, 0, clip.rate, 0.4f).empty());
}

}  // namespace
