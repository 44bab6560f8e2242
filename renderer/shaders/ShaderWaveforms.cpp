#include "renderer/shaders/ShaderWaveforms.h"

#include <cmath>

float NoiseLattice(int32_t value) {
  uint32_t n = static_cast<uint32_t>(value);
  n = (n << 13) ^ n;
  const uint32_t m = (n * (n * n * 15731u + 789221u) - 771171059u) & 0x7FFFFFFFu;
  return 1.0f - static_cast<float>(m) / 1073741824.0f;
}

int32_t TruncateToInt32(float value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483648.0f) return INT32_MAX;
  if (value <= -2147483648.0f) return INT32_MIN;
  return static_cast<int32_t>(value);
}

float WaveValue(Waveform wave, float phase, float cycles) {
  const float p = phase + cycles;
  float x = std::fmod(p, 1.0f);
  if (x < 0.0f) x += 1.0f;
  switch (wave) {
    case Waveform::Saw:
      return x;
    case Waveform::InvSaw:
      return 1.0f - x;
    case Waveform::Square:
      return x >= 0.5f ? 1.0f : 0.0f;
    case Waveform::Tri: {
      const float y = 2.0f * x;
      return y > 1.0f ? 2.0f - y : y;
    }
    case Waveform::Sin:
      return (std::sin(x * 6.283185f) + 1.0f) * 0.5f;
    case Waveform::Noise: {
      const float a = NoiseLattice(TruncateToInt32(std::floor(p)));
      const float b = NoiseLattice(TruncateToInt32(std::ceil(p)));
      return ((b - a) * x + a + 1.0f) * 0.5f;
    }
  }
  return 0.0f;
}
