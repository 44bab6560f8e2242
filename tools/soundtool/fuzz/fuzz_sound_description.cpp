// Feeds arbitrary text to the sound description reader: it must refuse with
// a reason or build a clip within its limits that the wave writer turns into
// a file of the matching size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/soundtool/SoundDescription.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  SoundClip clip;
  std::string error;
  if (!BuildSoundFromDescription(text, &clip, &error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  if (clip.channels < 1 || clip.channels > 2 || clip.rate < 8000 || clip.rate > 48000) std::abort();
  if (clip.samples.size() % static_cast<size_t>(clip.channels) != 0) std::abort();
  if (static_cast<double>(clip.samples.size()) > SoundClip::kMaxSeconds * clip.rate * clip.channels + clip.channels)
    std::abort();
  for (float sample : clip.samples) {
    if (!(sample >= -1.0f && sample <= 1.0f)) std::abort();
  }
  if (EncodeWave16(clip).size() != 44 + clip.samples.size() * 2) std::abort();
  return 0;
}
