#pragma once
// Base of the sound file loaders: a loader reads one file whole and leaves
// its PCM format and samples for a sound buffer to copy. On failure nothing
// is kept.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/AudioApi.h"

class SoundLoader {
 public:
  // No sound this layer plays can be larger than a buffer can hold.
  static constexpr uint32_t kMaxDataBytes = platform::DSBSIZE_MAX;

  virtual ~SoundLoader();
  // Loads the named file (Windows-style name, any case). The base loads nothing.
  virtual bool Load(const std::string& name);

  const platform::WAVEFORMATEX* GetFormat() const { return format_.get(); }
  const uint8_t* GetData() const { return data_.data(); }
  uint32_t GetDataSize() const { return static_cast<uint32_t>(data_.size()); }

 protected:
  // Reads a whole file after checking its size against `maxBytes`.
  static bool ReadFile(const std::string& name, size_t maxBytes, std::vector<uint8_t>* bytes);
  // Checks a PCM format as a buffer will need it; says why not on the debugger channel.
  static bool CheckFormat(const platform::WAVEFORMATEX& format, const std::string& name);
  void Clear();

  std::unique_ptr<platform::WAVEFORMATEX> format_;
  std::vector<uint8_t> data_;
};
