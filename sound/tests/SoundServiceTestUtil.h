#pragma once
// Shared pieces of the sound service tests: a scratch directory that is
// also the working directory (the settings file is read by its bare name),
// WAV files written into it, and a service started on the recording output.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Paths.h"
#include "platform/audio/AudioOutput.h"
#include "platform/tests/ScratchDir.h"
#include "sound/SoundMgrDX8.h"

namespace soundtest {

// The scratch directory, made the working directory while it lives.
class ScratchDirectory : public ScratchDir {
 public:
  ScratchDirectory() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(Root());
    platform::ClearPathCache();
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    platform::ClearPathCache();
  }
  std::string Path() const { return Root().string(); }

 private:
  std::filesystem::path previous_;
};

inline void Put16(std::string& b, uint32_t v) {
  b.push_back(static_cast<char>(v & 0xFF));
  b.push_back(static_cast<char>((v >> 8) & 0xFF));
}
inline void Put32(std::string& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

// A PCM WAV file of `frames` frames with every sample at `value`.
inline std::string MakeWave(uint16_t channels, uint32_t rate, uint16_t bits, uint32_t frames, int value) {
  const uint32_t align = channels * bits / 8u;
  std::string data;
  for (uint32_t i = 0; i < frames * channels; ++i) {
    if (bits == 8) {
      data.push_back(static_cast<char>(value));
    } else {
      Put16(data, static_cast<uint16_t>(static_cast<int16_t>(value)));
    }
  }
  std::string b = "RIFF";
  Put32(b, static_cast<uint32_t>(4 + 8 + 16 + 8 + data.size()));
  b += "WAVEfmt ";
  Put32(b, 16);
  Put16(b, 1);
  Put16(b, channels);
  Put32(b, rate);
  Put32(b, rate * align);
  Put16(b, static_cast<uint16_t>(align));
  Put16(b, bits);
  b += "data";
  Put32(b, static_cast<uint32_t>(data.size()));
  return b + data;
}

// Hundredths of a decibel as the mixer applies them.
inline double Gain(int32_t hundredths) { return hundredths <= -10000 ? 0.0 : std::pow(10.0, hundredths / 2000.0); }

// Mixes `frames` frames on the current recording device and returns them.
inline std::vector<int16_t> Render(size_t frames) {
  platform::RenderAudioFrames(frames);
  return platform::TakeRecordedSamples();
}

// A service started the way the library manager starts it, on the
// recording output, with the settings file of the working directory.
class ServiceTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::SetAudioOutputKind(platform::AudioOutputKind::Recording); }
  void TearDown() override {
    if (service) service->ReleaseAll();
    service.reset();
  }
  void Start() {
    service = std::make_unique<SoundMgrDX8>();
    ASSERT_TRUE(service->ResetDeviceSelection());
    service->LoadConfig();
    ASSERT_TRUE(service->Init(nullptr));
    platform::TakeRecordedSamples();
  }
  // A mono 16-bit 44.1 kHz file at a steady level.
  std::string AddTone(const std::string& name, uint32_t frames = 44100, int value = 16000) {
    dir.Write(name, MakeWave(1, 44100, 16, frames, value));
    return dir.File(name);
  }

  ScratchDirectory dir;
  std::unique_ptr<SoundMgrDX8> service;
};

}  // namespace soundtest
