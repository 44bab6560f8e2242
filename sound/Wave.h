#pragma once
// RIFF/WAVE files: a 16-byte PCM "fmt " chunk and a "data" chunk, in any
// order, among other chunks that are skipped.
#include <cstddef>
#include <cstdint>
#include <string>

#include "sound/SoundLoader.h"

class Wave : public SoundLoader {
 public:
  bool Load(const std::string& name) override;
  // Parses a file image; `name` only labels the diagnostics.
  bool LoadFromMemory(const uint8_t* bytes, size_t size, const std::string& name);
};
