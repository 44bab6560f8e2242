#pragma once
// The mixing core: adds one voice (a PCM buffer at its position, volume,
// pan and frequency) into a float accumulation block, and turns the block
// into 16-bit output. Independent of devices so it can be measured alone.
#include <cstddef>
#include <cstdint>

namespace platform {

struct MixSource {
  const uint8_t* data = nullptr;
  uint32_t frameCount = 0;  // whole frames in `data`
  uint16_t channels = 1;    // 1 or 2
  uint16_t bitsPerSample = 16;  // 8 (unsigned) or 16 (signed)
};

struct MixVoice {
  uint64_t position = 0;  // 32.32 fixed-point frame position
  uint64_t step = uint64_t{1} << 32;  // source frames per output frame, 32.32
  float volume = 1.0f;  // linear gain
  float panLeft = 1.0f;  // linear gain of each output side (stereo output)
  float panRight = 1.0f;
  bool looping = false;
};

// Hundredths of a decibel to a linear gain; -10000 and below are silence.
float VolumeToGain(int32_t hundredthsOfDb);
// Pan in hundredths of a decibel: a positive pan attenuates the left side,
// a negative one the right side.
void PanToGains(int32_t pan, float* left, float* right);
// 32.32 step for playing a source at `sourceRate` on an output at `outputRate`.
uint64_t FrequencyStep(uint32_t sourceRate, uint32_t outputRate);

// Adds `frames` output frames of the voice to `accum` (interleaved,
// `outChannels` 1 or 2) and advances it, interpolating linearly between
// source frames. A looping voice wraps; a one-shot voice that runs off its
// end stops there: the result is false and the position is left at 0.
bool MixVoiceInto(const MixSource& source, MixVoice& voice, float* accum, size_t frames, int outChannels);

// Rounds and clamps the accumulation block to 16-bit samples.
void ConvertMix(const float* accum, int16_t* out, size_t samples);

}  // namespace platform
