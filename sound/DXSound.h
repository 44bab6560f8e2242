#pragma once
// The sound service's output device: the device object, its primary buffer
// with the output format, and the list of output devices found on the first
// open.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/AudioApi.h"
#include "platform/window/WindowTypes.h"

// One enumerated output device.
struct DXSoundDriver {
  bool hasGuid = false;  // false for the primary (default) driver
  platform::SoundGuid guid{};
  std::string description;
  std::string module;
};

class DXSound {
 public:
  // Opens the device at once; `device` null or all zero means the default one.
  DXSound(const platform::SoundGuid* device, platform::HWND window);
  ~DXSound();
  DXSound(const DXSound&) = delete;
  DXSound& operator=(const DXSound&) = delete;

  void Open(const platform::SoundGuid* device, platform::HWND window);
  // Releases the device and opens the given driver's device.
  void Reopen(const DXSoundDriver& driver);
  // Asks the primary buffer for a PCM format and keeps what it grants.
  bool SetFormat(int32_t rate, int32_t bits, int32_t channels);

  platform::IDirectSound8* GetDevice() const { return device_; }
  platform::IDirectSoundBuffer8* GetPrimary() const { return primary_; }
  const std::vector<DXSoundDriver>* GetDeviceList() const { return devicesListed_ ? &devices_ : nullptr; }
  int32_t GetSampleRate() const { return sampleRate_; }
  int32_t GetChannelCount() const { return channels_; }
  int16_t GetBitsPerSample() const { return bitsPerSample_; }

 private:
  void Release();

  platform::IDirectSound8* device_ = nullptr;
  std::vector<DXSoundDriver> devices_;
  bool devicesListed_ = false;
  platform::IDirectSoundBuffer8* primary_ = nullptr;
  int32_t sampleRate_ = 44100;
  int32_t channels_ = 2;
  int16_t bitsPerSample_ = 16;
  platform::HWND window_ = nullptr;
};
