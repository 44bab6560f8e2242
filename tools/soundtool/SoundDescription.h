#pragma once
// Builds a sound from a short text description. One statement a line; blanks
// separate words; '#' starts a comment. Statements play one after another.
//
//   rate <hz>                       samples per second (first, once; 8000..48000)
//   channels <1|2>                  (with or before the first sound; default 1)
//   tone <hz> <seconds> <level>     a sine tone, level 0..1, with short fades
//                                   at both ends so notes do not click
//   noise <seed> <seconds> <level>  white noise from the lattice noise at
//                                   seed + sample index, level 0..1
//   rest <seconds>                  silence
//
// The whole sound lasts at most kMaxSeconds.
#include <cstdint>
#include <string>
#include <vector>

struct SoundClip {
  static constexpr double kMaxSeconds = 600.0;
  int32_t rate = 0;
  int32_t channels = 1;
  std::vector<float> samples;  // interleaved, -1..1
};

// Fills `clip` from `text`; on failure returns false with "line N: reason".
bool BuildSoundFromDescription(const std::string& text, SoundClip* clip, std::string* error);

// An Ogg Vorbis file of the clip (variable bit rate at `quality`, -0.1..1);
// empty when the encoder refuses the format.
std::vector<uint8_t> EncodeOggVorbis(const std::vector<float>& interleaved, int channels, long rate, float quality);

// A 16-bit PCM ".wav" file of the clip.
std::vector<uint8_t> EncodeWave16(const SoundClip& clip);
