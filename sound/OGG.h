#pragma once
// Ogg Vorbis files, decoded whole to 16-bit signed little-endian PCM from an
// in-memory image of the file. Each decode has its own reader state.
#include <cstddef>
#include <cstdint>
#include <string>

#include "sound/SoundLoader.h"

class OGG : public SoundLoader {
 public:
  // Compressed files larger than this are refused before reading.
  static constexpr size_t kMaxFileBytes = size_t{64} << 20;

  bool Load(const std::string& name) override;
  // Decodes a file image; `name` only labels the diagnostics.
  bool LoadFromMemory(const uint8_t* bytes, size_t size, const std::string& name);
};
