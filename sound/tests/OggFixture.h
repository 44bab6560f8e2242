#pragma once
// Encodes a sine tone to an Ogg Vorbis file image in memory, for tests, with
// the sound tool's encoder.
#include <cmath>
#include <cstdint>
#include <vector>

#include "tools/soundtool/SoundDescription.h"

namespace soundtest {

inline std::vector<uint8_t> EncodeOgg(int channels, long rate, int frames, double toneHz, float amplitude) {
  std::vector<float> samples(static_cast<size_t>(frames) * static_cast<size_t>(channels));
  for (int i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c)
      samples[static_cast<size_t>(i) * channels + c] =
          amplitude * static_cast<float>(std::sin(2 * M_PI * toneHz * i / rate));
  return EncodeOggVorbis(samples, channels, rate, 0.4f);
}

}  // namespace soundtest
