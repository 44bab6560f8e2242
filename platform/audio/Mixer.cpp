#include "platform/audio/Mixer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace platform {
namespace {

constexpr uint64_t kFracMask = 0xFFFFFFFFu;
constexpr uint64_t kUnitStep = uint64_t{1} << 32;
constexpr float kFracScale = 1.0f / 4294967296.0f;

template <int Bits>
inline float Sample(const uint8_t* data, size_t index) {
  if constexpr (Bits == 8) {
    return static_cast<float>((static_cast<int>(data[index]) - 128) * 256);
  } else if constexpr (std::endian::native == std::endian::little) {
    // A plain (possibly unaligned) load, which the vectoriser turns into
    // wide loads; the bytes are little-endian like the host.
    int16_t v;
    std::memcpy(&v, data + index * 2, sizeof v);
    return static_cast<float>(v);
  } else {
    const auto lo = static_cast<uint16_t>(data[index * 2]);
    const auto hi = static_cast<uint16_t>(data[index * 2 + 1]);
    return static_cast<float>(static_cast<int16_t>(static_cast<uint16_t>(lo | (hi << 8))));
  }
}

// Adds `n` consecutive source frames starting at `frames` (already offset to
// the first one) to `accum`: the path of a voice played at its own rate. One
// straight loop with no per-frame index arithmetic, so it vectorises.
template <int Bits, int InChannels, int OutChannels>
void AddRun(const uint8_t* frames, float* __restrict accum, size_t n, float gl, float gr) {
  for (size_t k = 0; k < n; ++k) {
    const float l = Sample<Bits>(frames, k * InChannels);
    const float r = InChannels == 2 ? Sample<Bits>(frames, k * InChannels + 1) : l;
    if constexpr (OutChannels == 2) {
      accum[k * 2] += l * gl;
      accum[k * 2 + 1] += r * gr;
    } else {
      accum[k] += (InChannels == 2 ? 0.5f * (l + r) : l) * gl;
    }
  }
}

// How many output frames the interpolating path prepares at a time.
constexpr size_t kInterpolateChunk = 256;

// Interpolates `n` output frames from `pos` on (32.32, every frame and its
// successor inside the source) and adds them to `out`. Picking the two
// source frames of each output frame needs a load per index, which stays a
// scalar loop; it only copies the pair of frames (adjacent bytes: one load)
// and the fraction into small arrays, and a second loop over those arrays,
// with no indexing left in it, converts, blends and accumulates on whole
// vectors. The arithmetic is the same as blending frame by frame.
template <int Bits, int InChannels, int OutChannels>
void InterpolateStretch(const uint8_t* data, uint64_t pos, uint64_t step, float* __restrict out, size_t n, float gl,
                        float gr) {
  constexpr size_t kFrameBytes = Bits / 8 * InChannels;
  constexpr size_t kPairSamples = 2 * InChannels;
  alignas(16) uint8_t pairs[kInterpolateChunk * 2 * kFrameBytes];
  alignas(16) float fraction[kInterpolateChunk];
  for (size_t done = 0; done < n; done += kInterpolateChunk) {
    const size_t m = std::min(kInterpolateChunk, n - done);
    const uint64_t start = pos + done * step;
    // The fraction is the low 32 bits of the position, which 32-bit
    // arithmetic gives exactly (wrapping), on four lanes at a time.
    const auto fracStart = static_cast<uint32_t>(start & kFracMask);
    const auto fracStep = static_cast<uint32_t>(step & kFracMask);
    for (size_t k = 0; k < m; ++k)
      fraction[k] = static_cast<float>(static_cast<uint32_t>(fracStart + static_cast<uint32_t>(k) * fracStep)) * kFracScale;
    for (size_t k = 0; k < m; ++k) {
      const auto i = static_cast<size_t>((start + k * step) >> 32);
      std::memcpy(pairs + k * 2 * kFrameBytes, data + i * kFrameBytes, 2 * kFrameBytes);
    }
    float* __restrict o = out + done * OutChannels;
    for (size_t k = 0; k < m; ++k) {
      const float t = fraction[k];
      const size_t at = k * kPairSamples;
      const float l0 = Sample<Bits>(pairs, at);
      const float l = l0 + (Sample<Bits>(pairs, at + InChannels) - l0) * t;
      float r = l;
      if constexpr (InChannels == 2) {
        const float r0 = Sample<Bits>(pairs, at + 1);
        r = r0 + (Sample<Bits>(pairs, at + 3) - r0) * t;
      }
      if constexpr (OutChannels == 2) {
        o[k * 2] += l * gl;
        o[k * 2 + 1] += r * gr;
      } else {
        o[k] += (InChannels == 2 ? 0.5f * (l + r) : l) * gl;
      }
    }
  }
}

// How the inner loop finds its source frames.
enum class Walk {
  Run,          // step exactly one frame from a whole position: consecutive frames
  Whole,        // whole position and whole step: every step-th frame
  Interpolate,  // anything else: linear interpolation between two frames
};

// The core loop, specialised by sample width, channel layouts and walk, so
// the per-frame work has no format branches. It runs in stretches that
// cannot pass the end of the source, so the end test happens once per
// stretch; when interpolating, the last source frame (whose successor
// depends on looping) is left to a short tail outside the inner loop.
template <int Bits, int InChannels, int OutChannels, Walk W>
bool MixLoop(const MixSource& src, MixVoice& v, float* accum, size_t frames) {
  const uint64_t end = static_cast<uint64_t>(src.frameCount) << 32;
  const uint32_t last = src.frameCount - 1;
  const uint64_t lastStart = static_cast<uint64_t>(last) << 32;
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
    if constexpr (W == Walk::Run) {
      const auto i = static_cast<uint32_t>(pos >> 32);
      const size_t stretch = std::min<size_t>(src.frameCount - i, frames - f);
      AddRun<Bits, InChannels, OutChannels>(src.data + size_t{i} * InChannels * (Bits / 8), accum + f * OutChannels,
                                            stretch, gl, gr);
      f += stretch;
      pos += static_cast<uint64_t>(stretch) << 32;
      continue;
    }
    // Frames whose successor is the next frame in memory: those before the
    // last one when interpolating, all of them otherwise.
    const uint64_t limit = W == Walk::Interpolate ? lastStart : end;
    const uint64_t untilLimit = pos < limit ? (limit - pos + step - 1) / step : 0;
    const size_t stretch = static_cast<size_t>(std::min<uint64_t>(untilLimit, frames - f));
    float* out = accum + f * OutChannels;
    if constexpr (W == Walk::Interpolate) {
      InterpolateStretch<Bits, InChannels, OutChannels>(src.data, pos, step, out, stretch, gl, gr);
    } else {
      for (size_t k = 0; k < stretch; ++k) {
        const auto i = static_cast<size_t>((pos + k * step) >> 32);
        const float l = Sample<Bits>(src.data, i * InChannels);
        const float r = InChannels == 2 ? Sample<Bits>(src.data, i * InChannels + 1) : l;
        if constexpr (OutChannels == 2) {
          out[k * 2] += l * gl;
          out[k * 2 + 1] += r * gr;
        } else {
          out[k] += (InChannels == 2 ? 0.5f * (l + r) : l) * gl;
        }
      }
    }
    f += stretch;
    pos += stretch * step;
    if constexpr (W == Walk::Interpolate) {
      // Within the last frame: its successor wraps to the first frame when
      // looping and holds the last one otherwise.
      const size_t j = v.looping ? 0 : last;
      for (; f < frames && pos >= lastStart && pos < end; ++f, pos += step) {
        const float t = static_cast<float>(static_cast<uint32_t>(pos & kFracMask)) * kFracScale;
        float l = Sample<Bits>(src.data, size_t{last} * InChannels);
        float r = InChannels == 2 ? Sample<Bits>(src.data, size_t{last} * InChannels + 1) : l;
        l += (Sample<Bits>(src.data, j * InChannels) - l) * t;
        if constexpr (InChannels == 2) r += (Sample<Bits>(src.data, j * InChannels + 1) - r) * t;
        else r = l;
        if constexpr (OutChannels == 2) {
          accum[f * 2] += l * gl;
          accum[f * 2 + 1] += r * gr;
        } else {
          accum[f] += (InChannels == 2 ? 0.5f * (l + r) : l) * gl;
        }
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
  if (((v.position | v.step) & kFracMask) != 0)
    return MixLoop<Bits, InChannels, OutChannels, Walk::Interpolate>(src, v, accum, frames);
  if (v.step == kUnitStep) return MixLoop<Bits, InChannels, OutChannels, Walk::Run>(src, v, accum, frames);
  return MixLoop<Bits, InChannels, OutChannels, Walk::Whole>(src, v, accum, frames);
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
  // Adding and taking away 1.5 * 2^23 rounds a float below 2^22 in size to
  // the nearest integer, ties to even (what lrint does in the default
  // rounding mode), with plain arithmetic the vectoriser can widen; min and
  // max clamp without branches.
  constexpr float kRound = 12582912.0f;
  for (size_t i = 0; i < samples; ++i) {
    float v = accum[i];
    v = v > -32768.0f ? v : -32768.0f;  // also takes a NaN to the floor
    v = v < 32767.0f ? v : 32767.0f;
    out[i] = static_cast<int16_t>(static_cast<int32_t>((v + kRound) - kRound));
  }
}

}  // namespace platform
