#include "platform/audio/Mixer.h"

#include <algorithm>
#include <cmath>

namespace platform {
namespace {

constexpr uint64_t kFracMask = 0xFFFFFFFFu;
constexpr float kFracScale = 1.0f / 4294967296.0f;

template <int Bits>
inline float Sample(const uint8_t* data, size_t index) {
  if constexpr (Bits == 8) {
    return static_cast<float>((static_cast<int>(data[index]) - 128) * 256);
  } else {
    // Little-endian 16-bit, read bytewise so odd addresses are fine.
    const auto lo = static_cast<uint16_t>(data[index * 2]);
    const auto hi = static_cast<uint16_t>(data[index * 2 + 1]);
    return static_cast<float>(static_cast<int16_t>(static_cast<uint16_t>(lo | (hi << 8))));
  }
}

// The core loop, specialised by sample width, channel layouts and whether
// the voice sits on whole frames (no interpolation), so the per-frame work
// has no format branches. It runs in stretches that cannot pass the end of
// the source, so the end test happens once per stretch.
template <int Bits, int InChannels, int OutChannels, bool Interpolate>
bool MixLoop(const MixSource& src, MixVoice& v, float* accum, size_t frames) {
  const uint64_t end = static_cast<uint64_t>(src.frameCount) << 32;
  const uint32_t last = src.frameCount - 1;
  const float gl = OutChannels == 2 ? v.volume * v.panLeft : v.volume;
  const float gr = OutChannels == 2 ? v.volume * v.panRight : v.volume;
  const uint64_t step = v.step ? v.step : 1;
  uint64_t pos = v.position;
  size_t f = 0;
  while (f < frames) {
    if (pos >= end) {
      if (!v.looping) {
        v.position = 0;
        return false;
      }
      pos %= end;
    }
    const uint64_t untilEnd = (end - pos + step - 1) / step;
    const size_t stretch = static_cast<size_t>(std::min<uint64_t>(untilEnd, frames - f));
    for (size_t k = 0; k < stretch; ++k, ++f, pos += step) {
      const auto i = static_cast<uint32_t>(pos >> 32);
      float l = Sample<Bits>(src.data, size_t{i} * InChannels);
      float r = l;
      if constexpr (InChannels == 2) r = Sample<Bits>(src.data, size_t{i} * 2 + 1);
      if constexpr (Interpolate) {
        const float t = static_cast<float>(pos & kFracMask) * kFracScale;
        // The next frame: wraps when looping, else holds the last one.
        const uint32_t j = i < last ? i + 1 : (v.looping ? 0 : last);
        l += (Sample<Bits>(src.data, size_t{j} * InChannels) - l) * t;
        if constexpr (InChannels == 2) r += (Sample<Bits>(src.data, size_t{j} * 2 + 1) - r) * t;
        else r = l;
      }
      if constexpr (OutChannels == 2) {
        accum[f * 2] += l * gl;
        accum[f * 2 + 1] += r * gr;
      } else {
        accum[f] += (InChannels == 2 ? 0.5f * (l + r) : l) * gl;
      }
    }
  }
  if (pos >= end) {
    if (!v.looping) {
      v.position = 0;
      return false;
    }
    pos %= end;
  }
  v.position = pos;
  return true;
}

template <int Bits, int InChannels, int OutChannels>
bool MixPicked(const MixSource& src, MixVoice& v, float* accum, size_t frames) {
  const bool whole = ((v.position | v.step) & kFracMask) == 0;
  return whole ? MixLoop<Bits, InChannels, OutChannels, false>(src, v, accum, frames)
               : MixLoop<Bits, InChannels, OutChannels, true>(src, v, accum, frames);
}

template <int Bits, int InChannels>
bool MixByOutput(const MixSource& src, MixVoice& v, float* accum, size_t frames, int outChannels) {
  return outChannels == 2 ? MixPicked<Bits, InChannels, 2>(src, v, accum, frames)
                          : MixPicked<Bits, InChannels, 1>(src, v, accum, frames);
}

}  // namespace

float VolumeToGain(int32_t hundredthsOfDb) {
  if (hundredthsOfDb <= -10000) return 0.0f;
  if (hundredthsOfDb >= 0) return 1.0f;
  return std::pow(10.0f, static_cast<float>(hundredthsOfDb) / 2000.0f);
}

void PanToGains(int32_t pan, float* left, float* right) {
  *left = pan > 0 ? VolumeToGain(-pan) : 1.0f;
  *right = pan < 0 ? VolumeToGain(pan) : 1.0f;
}

uint64_t FrequencyStep(uint32_t sourceRate, uint32_t outputRate) {
  if (outputRate == 0) return uint64_t{1} << 32;
  return (static_cast<uint64_t>(sourceRate) << 32) / outputRate;
}

bool MixVoiceInto(const MixSource& source, MixVoice& voice, float* accum, size_t frames, int outChannels) {
  if (!source.data || source.frameCount == 0) {
    voice.position = 0;
    return false;
  }
  if (source.bitsPerSample == 8)
    return source.channels == 2 ? MixByOutput<8, 2>(source, voice, accum, frames, outChannels)
                                : MixByOutput<8, 1>(source, voice, accum, frames, outChannels);
  return source.channels == 2 ? MixByOutput<16, 2>(source, voice, accum, frames, outChannels)
                              : MixByOutput<16, 1>(source, voice, accum, frames, outChannels);
}

void ConvertMix(const float* accum, int16_t* out, size_t samples) {
  for (size_t i = 0; i < samples; ++i) {
    float v = accum[i];
    v = v < -32768.0f ? -32768.0f : (v > 32767.0f ? 32767.0f : v);
    out[i] = static_cast<int16_t>(std::lrint(v));
  }
}

}  // namespace platform
