#pragma once
// A recording device with a 44.1 kHz 16-bit stereo primary buffer, and
// helpers to make filled secondary buffers.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/audio/AudioApi.h"
#include "platform/audio/AudioOutput.h"

namespace audiotest {

using namespace platform;

inline WAVEFORMATEX Pcm(uint32_t rate, uint16_t channels, uint16_t bits) {
  WAVEFORMATEX f{};
  f.formatTag = WAVE_FORMAT_PCM;
  f.channels = channels;
  f.samplesPerSec = rate;
  f.bitsPerSample = bits;
  f.blockAlign = static_cast<uint16_t>(channels * bits / 8);
  f.avgBytesPerSec = rate * f.blockAlign;
  return f;
}

class RecordingDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    SetAudioOutputKind(AudioOutputKind::Recording);
    ASSERT_EQ(DirectSoundCreate8(nullptr, &device, nullptr), DS_OK);
    ASSERT_EQ(device->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DS_OK);
    DSBUFFERDESC desc;
    desc.flags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRL3D;
    ASSERT_EQ(device->CreateSoundBuffer(&desc, &primary, nullptr), DS_OK);
    const WAVEFORMATEX out = Pcm(44100, 2, 16);
    ASSERT_EQ(primary->SetFormat(&out), DS_OK);
    TakeRecordedSamples();
  }
  void TearDown() override {
    for (IDirectSoundBuffer8* b : owned) b->Release();
    if (primary) primary->Release();
    if (device) device->Release();
  }

  // A buffer of `frames` frames with every sample set to `value`.
  IDirectSoundBuffer8* MakeBuffer(uint32_t flags, const WAVEFORMATEX& format, uint32_t frames, int value) {
    DSBUFFERDESC desc;
    desc.flags = flags;
    desc.bufferBytes = frames * format.blockAlign;
    desc.format = &format;
    IDirectSoundBuffer8* buffer = nullptr;
    EXPECT_EQ(device->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
    if (!buffer) return nullptr;
    std::vector<uint8_t> bytes(desc.bufferBytes);
    for (size_t i = 0; i < bytes.size(); i += format.bitsPerSample / 8) {
      if (format.bitsPerSample == 8) {
        bytes[i] = static_cast<uint8_t>(value);
      } else {
        const auto s = static_cast<int16_t>(value);
        std::memcpy(&bytes[i], &s, 2);
      }
    }
    Fill(buffer, bytes);
    owned.push_back(buffer);
    return buffer;
  }
  static void Fill(IDirectSoundBuffer8* buffer, const std::vector<uint8_t>& bytes) {
    void* p1 = nullptr;
    void* p2 = nullptr;
    uint32_t n1 = 0, n2 = 0;
    ASSERT_EQ(buffer->Lock(0, 0, &p1, &n1, &p2, &n2, DSBLOCK_ENTIREBUFFER), DS_OK);
    ASSERT_EQ(n1, bytes.size());
    std::memcpy(p1, bytes.data(), n1);
    ASSERT_EQ(buffer->Unlock(p1, n1, p2, n2), DS_OK);
  }
  static std::vector<int16_t> Render(size_t frames) {
    RenderAudioFrames(frames);
    return TakeRecordedSamples();
  }
  static uint32_t Status(IDirectSoundBuffer8* b) {
    uint32_t s = 0xFFFF;
    EXPECT_EQ(b->GetStatus(&s), DS_OK);
    return s;
  }

  IDirectSound8* device = nullptr;
  IDirectSoundBuffer8* primary = nullptr;
  std::vector<IDirectSoundBuffer8*> owned;
  static constexpr uint32_t kPlain = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
  static constexpr uint32_t kFx = DSBCAPS_CTRLFX | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
  static constexpr uint32_t k3D =
      DSBCAPS_CTRL3D | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLVOLUME | DSBCAPS_MUTE3DATMAXDISTANCE;
};

}  // namespace audiotest
