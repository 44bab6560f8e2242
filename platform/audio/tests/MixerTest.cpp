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

}  // namespace
}  // namespace audiotest
