// The mixing core: gains from decibels, pan, resampling, formats, clipping.
#include <cmath>

#include "AudioTestUtil.h"
#include "platform/audio/Mixer.h"

namespace audiotest {
namespace {

using MixerTest = RecordingDevice;

long Expected(int amplitude, int hundredthsOfDb) {
  if (hundredthsOfDb <= -10000) return 0;
  return std::lround(amplitude * std::pow(10.0, hundredthsOfDb / 2000.0));
}

TEST_F(MixerTest, ChannelAmplitudeFollowsVolumeAndPanInDecibels) {
  struct Case {
    int32_t volume, pan;
  } cases[] = {{0, 0},        {-600, 0},   {-600, 300}, {-1008, -2500}, {-2988, 1000},
               {0, 10000},    {0, -10000}, {-9999, 0},  {-10000, 0},    {-5, 4000}};
  const int amplitude = 20000;
  IDirectSoundBuffer8* b = MakeBuffer(kPlain, Pcm(44100, 1, 16), 64, amplitude);
  ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  for (const Case& c : cases) {
    ASSERT_EQ(b->SetVolume(c.volume), DS_OK);
    ASSERT_EQ(b->SetPan(c.pan), DS_OK);
    const std::vector<int16_t> out = Render(4);
    const long left = Expected(amplitude, c.volume - std::max(c.pan, 0));
    const long right = Expected(amplitude, c.volume + std::min(c.pan, 0));
    for (size_t f = 0; f < 4; ++f) {
      EXPECT_NEAR(out[f * 2], left, 1) << c.volume << " " << c.pan;
      EXPECT_NEAR(out[f * 2 + 1], right, 1) << c.volume << " " << c.pan;
    }
  }
}

TEST_F(MixerTest, PrimaryVolumeScalesTheWholeMix) {
  DSBUFFERDESC desc;
  desc.flags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME;
  IDirectSoundBuffer8* again = nullptr;
  ASSERT_EQ(device->CreateSoundBuffer(&desc, &again, nullptr), DS_OK);
  EXPECT_EQ(again, primary);
  IDirectSoundBuffer8* b = MakeBuffer(kPlain, Pcm(44100, 1, 16), 64, 10000);
  ASSERT_EQ(b->SetVolume(-600), DS_OK);
  ASSERT_EQ(again->SetVolume(-600), DS_OK);
  ASSERT_EQ(b->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  EXPECT_NEAR(Render(1)[0], Expected(10000, -1200), 1);
  again->Release();
}

TEST_F(MixerTest, FrequencyResamplesWithInterpolation) {
  // A ramp 0, 100, 200, ... at 44.1 kHz.
  const WAVEFORMATEX mono = Pcm(44100, 1, 16);
  DSBUFFERDESC desc;
  desc.flags = kPlain;
  desc.bufferBytes = 200;
  desc.format = &mono;
  IDirectSoundBuffer8* b = nullptr;
  ASSERT_EQ(device->CreateSoundBuffer(&desc, &b, nullptr), DS_OK);
  owned.push_back(b);
  std::vector<uint8_t> bytes(200);
  for (int i = 0; i < 100; ++i) {
    const auto s = static_cast<int16_t>(i * 100);
    std::memcpy(&bytes[i * 2], &s, 2);
  }
  Fill(b, bytes);
  ASSERT_EQ(b->SetFrequency(88200), DS_OK);  // twice as fast: every other frame
  ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
  std::vector<int16_t> out = Render(3);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[2], 200);
  EXPECT_EQ(out[4], 400);
  ASSERT_EQ(b->Stop(), DS_OK);
  ASSERT_EQ(b->SetCurrentPosition(0), DS_OK);
  ASSERT_EQ(b->SetFrequency(22050), DS_OK);  // half speed: midpoints in between
  ASSERT_EQ(b->Play(0, 0, 0), DS_OK);
  out = Render(4);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[2], 50);
  EXPECT_EQ(out[4], 100);
  EXPECT_EQ(out[6], 150);
}

TEST_F(MixerTest, FormatsConvertAndTheSumClips) {
  IDirectSoundBuffer8* eight = MakeBuffer(kPlain, Pcm(44100, 1, 8), 16, 0x90);  // +16 steps of 256
  ASSERT_EQ(eight->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  EXPECT_EQ(Render(1)[0], 4096);
  ASSERT_EQ(eight->Stop(), DS_OK);

  // Stereo source: left and right stay apart.
  const WAVEFORMATEX stereo = Pcm(44100, 2, 16);
  DSBUFFERDESC desc;
  desc.flags = kPlain;
  desc.bufferBytes = 64;
  desc.format = &stereo;
  IDirectSoundBuffer8* st = nullptr;
  ASSERT_EQ(device->CreateSoundBuffer(&desc, &st, nullptr), DS_OK);
  owned.push_back(st);
  std::vector<uint8_t> bytes(64);
  for (size_t i = 0; i < 64; i += 4) {
    const int16_t l = 3000, r = -7000;
    std::memcpy(&bytes[i], &l, 2);
    std::memcpy(&bytes[i + 2], &r, 2);
  }
  Fill(st, bytes);
  ASSERT_EQ(st->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  std::vector<int16_t> out = Render(1);
  EXPECT_EQ(out[0], 3000);
  EXPECT_EQ(out[1], -7000);

  IDirectSoundBuffer8* loud1 = MakeBuffer(kPlain, Pcm(44100, 1, 16), 16, 30000);
  IDirectSoundBuffer8* loud2 = MakeBuffer(kPlain, Pcm(44100, 1, 16), 16, 30000);
  ASSERT_EQ(st->Stop(), DS_OK);
  ASSERT_EQ(loud1->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  ASSERT_EQ(loud2->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
  EXPECT_EQ(Render(1)[0], 32767);
}

TEST(MixCore, MonoOutputAveragesStereoAndLoopsWrap) {
  const int16_t frames[4] = {1000, 3000, -2000, 0};  // two stereo frames
  MixSource src;
  src.data = reinterpret_cast<const uint8_t*>(frames);
  src.frameCount = 2;
  src.channels = 2;
  MixVoice voice;
  voice.looping = true;
  float accum[5] = {};
  EXPECT_TRUE(MixVoiceInto(src, voice, accum, 5, 1));
  EXPECT_FLOAT_EQ(accum[0], 2000.0f);
  EXPECT_FLOAT_EQ(accum[1], -1000.0f);
  EXPECT_FLOAT_EQ(accum[4], 2000.0f);
  EXPECT_EQ(voice.position >> 32, 1u);

  voice = MixVoice{};
  float more[4] = {};
  EXPECT_FALSE(MixVoiceInto(src, voice, more, 4, 1));
  EXPECT_FLOAT_EQ(more[2], 0.0f);
  EXPECT_EQ(voice.position, 0u);
}

// Voices at their own rate (the straight run), at whole-frame steps and
// interpolated, in every format, against the mixing rule worked out frame by
// frame: sample times gain, the next frame wrapping when looping and held at
// the end otherwise, a one-shot voice stopping at its end.
TEST(MixCore, EveryWalkAndFormatFollowsTheMixingRule) {
  struct Case {
    const char* name;
    int bits, inChannels, outChannels;
    uint64_t step, position;
    bool looping;
  };
  constexpr uint64_t kOne = uint64_t{1} << 32;
  const Case cases[] = {
      {"16-bit mono run", 16, 1, 2, kOne, 0, true},
      {"16-bit stereo run", 16, 2, 2, kOne, 3 * kOne, true},
      {"8-bit stereo run to mono", 8, 2, 1, kOne, 0, true},
      {"8-bit mono run, one-shot", 8, 1, 2, kOne, 5 * kOne, false},
      {"16-bit stereo run, one-shot", 16, 2, 2, kOne, 0, false},
      {"whole steps of two", 16, 1, 2, 2 * kOne, kOne, true},
      {"half speed", 16, 1, 2, kOne / 2, 0, true},
      {"half speed, one-shot", 16, 2, 1, kOne / 2, 0, false},
      {"odd step from an odd place", 8, 2, 2, kOne + 12345678, 987654321, true},
      {"slow step, one-shot", 16, 1, 1, kOne / 3, 4 * kOne, false},
  };
  constexpr uint32_t kSourceFrames = 11;
  constexpr size_t kOutFrames = 40;
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes(kSourceFrames * c.inChannels * (c.bits / 8));
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 37 + 11);
    auto sample = [&](uint32_t frame, int channel) -> double {
      const size_t index = size_t{frame} * c.inChannels + channel;
      if (c.bits == 8) return (bytes[index] - 128) * 256.0;
      return static_cast<int16_t>(bytes[index * 2] | (bytes[index * 2 + 1] << 8));
    };
    MixSource src;
    src.data = bytes.data();
    src.frameCount = kSourceFrames;
    src.channels = static_cast<uint16_t>(c.inChannels);
    src.bitsPerSample = static_cast<uint16_t>(c.bits);
    MixVoice voice;
    voice.step = c.step;
    voice.position = c.position;
    voice.looping = c.looping;
    voice.volume = 0.5f;
    voice.panLeft = 1.0f;
    voice.panRight = 0.25f;
    std::vector<float> accum(kOutFrames * c.outChannels, 1.0f);
    const bool playing = MixVoiceInto(src, voice, accum.data(), kOutFrames, c.outChannels);

    const uint64_t end = uint64_t{kSourceFrames} << 32;
    uint64_t pos = c.position;
    bool stopped = false;
    for (size_t f = 0; f < kOutFrames; ++f) {
      double side[2] = {0, 0};
      if (!stopped && pos >= end) {
        if (c.looping) pos %= end;
        else stopped = true;
      }
      if (!stopped) {
        const auto i = static_cast<uint32_t>(pos >> 32);
        const uint32_t j = i + 1 < kSourceFrames ? i + 1 : (c.looping ? 0 : i);
        const double t = static_cast<double>(pos & 0xFFFFFFFFu) / 4294967296.0;
        for (int ch = 0; ch < 2; ++ch) {
          const int from = c.inChannels == 2 ? ch : 0;
          side[ch] = sample(i, from) + (sample(j, from) - sample(i, from)) * t;
        }
        pos += c.step;
      }
      if (c.outChannels == 2) {
        EXPECT_NEAR(accum[f * 2], 1.0 + side[0] * 0.5, 0.01) << c.name << " frame " << f;
        EXPECT_NEAR(accum[f * 2 + 1], 1.0 + side[1] * 0.5 * 0.25, 0.01) << c.name << " frame " << f;
      } else {
        EXPECT_NEAR(accum[f], 1.0 + 0.5 * (side[0] + side[1]) * 0.5, 0.01) << c.name << " frame " << f;
      }
    }
    if (!stopped && pos >= end) {
      if (c.looping) pos %= end;
      else stopped = true;
    }
    EXPECT_EQ(playing, !stopped) << c.name;
    EXPECT_EQ(voice.position, stopped ? 0 : pos) << c.name;
  }
}

TEST(MixCore, ConversionRoundsToNearestEvenAndClamps) {
  struct Case {
    float in;
    int16_t out;
  };
  const Case cases[] = {{0.0f, 0},         {0.5f, 0},          {1.5f, 2},        {2.5f, 2},         {-0.5f, 0},
                        {-1.5f, -2},       {-2.5f, -2},        {1234.49f, 1234}, {-1234.51f, -1235}, {32766.5f, 32766},
                        {32767.4f, 32767}, {40000.0f, 32767},  {1e30f, 32767},   {-32768.4f, -32768}, {-1e30f, -32768},
                        {-32767.5f, -32768}};
  // Enough samples that the vector body and the scalar tail both run.
  for (size_t count : {size_t{1}, size_t{7}, size_t{37}}) {
    for (const Case& c : cases) {
      std::vector<float> in(count, c.in);
      std::vector<int16_t> out(count, 99);
      ConvertMix(in.data(), out.data(), count);
      for (size_t i = 0; i < count; ++i) EXPECT_EQ(out[i], c.out) << c.in << " at " << i << " of " << count;
    }
  }
}

// The blend of one output frame, worked out frame by frame: what every
// path of the mixer must give, lane for lane.
void ReferenceMix(const std::vector<int16_t>& samples, int channels, MixVoice v, std::vector<float>* accum,
                  size_t frames, int outChannels) {
  const size_t count = samples.size() / static_cast<size_t>(channels);
  const float gl = outChannels == 2 ? v.volume * v.panLeft : v.volume;
  const float gr = outChannels == 2 ? v.volume * v.panRight : v.volume;
  uint64_t pos = v.position;
  for (size_t f = 0; f < frames; ++f, pos += v.step) {
    pos %= static_cast<uint64_t>(count) << 32;  // every case loops
    const size_t i = pos >> 32;
    const size_t j = i + 1 == count ? 0 : i + 1;
    const float t = static_cast<float>(static_cast<uint32_t>(pos)) * (1.0f / 4294967296.0f);
    float l = samples[i * channels];
    l += (samples[j * channels] - l) * t;
    float r = l;
    if (channels == 2) {
      r = samples[i * 2 + 1];
      r += (samples[j * 2 + 1] - r) * t;
    }
    if (outChannels == 2) {
      (*accum)[f * 2] += l * gl;
      (*accum)[f * 2 + 1] += r * gr;
    } else {
      (*accum)[f] += (channels == 2 ? 0.5f * (l + r) : l) * gl;
    }
  }
}

TEST(MixVoice, InterpolationMatchesTheFrameByFrameBlendExactly) {
  struct Case {
    const char* name;
    int channels;
    int outChannels;
    uint32_t sourceRate;
    uint64_t startFraction;
  };
  const Case cases[] = {
      {"mono at half rate onto stereo", 1, 2, 22050, 0},
      {"mono at an odd rate onto stereo, mid-frame start", 1, 2, 23117, 0x89ABCDEFu},
      {"mono faster than the output onto mono", 1, 1, 47999, 0x12345678u},
      {"stereo at an odd rate onto stereo", 2, 2, 45100, 0xFEDCBA98u},
      {"stereo slowed down onto mono", 2, 1, 11025, 0x40000000u},
  };
  for (const Case& c : cases) {
    std::vector<int16_t> samples(997 * static_cast<size_t>(c.channels));
    for (size_t i = 0; i < samples.size(); ++i)
      samples[i] = static_cast<int16_t>(32767 * std::sin(0.0137 * static_cast<double>(i * i)));
    MixSource source;
    source.data = reinterpret_cast<const uint8_t*>(samples.data());
    source.frameCount = 997;
    source.channels = static_cast<uint16_t>(c.channels);
    MixVoice voice;
    voice.position = (uint64_t{5} << 32) | c.startFraction;
    voice.step = FrequencyStep(c.sourceRate, 44100);
    voice.volume = 0.73f;
    voice.panLeft = 0.91f;
    voice.panRight = 0.37f;
    voice.looping = true;
    // Blocks of odd lengths, so each ends partway through a vector.
    std::vector<float> mixed, expected;
    for (size_t frames : {size_t{1023}, size_t{7}, size_t{2}, size_t{1500}}) {
      std::vector<float> block(frames * static_cast<size_t>(c.outChannels), 0.25f);
      std::vector<float> reference = block;
      ReferenceMix(samples, c.channels, voice, &reference, frames, c.outChannels);
      ASSERT_TRUE(MixVoiceInto(source, voice, block.data(), frames, c.outChannels)) << c.name;
      mixed.insert(mixed.end(), block.begin(), block.end());
      expected.insert(expected.end(), reference.begin(), reference.end());
    }
    ASSERT_EQ(mixed.size(), expected.size());
    size_t differing = 0;
    for (size_t i = 0; i < mixed.size(); ++i) differing += mixed[i] != expected[i];
    EXPECT_EQ(differing, 0u) << c.name;
  }
}

}  // namespace
}  // namespace audiotest
