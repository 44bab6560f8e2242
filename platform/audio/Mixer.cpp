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

#if defined(__GNUC__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
#define MIXER_GATHERS_PAIRS 1
using Floats4 = float __attribute__((vector_size(16)));
using Ints4 = int32_t __attribute__((vector_size(16)));
using Uints4 = uint32_t __attribute__((vector_size(16)));

// Interpolates 16-bit mono frames four output frames at a time. The two
// source samples of an output frame lie side by side, so one 32-bit load
// fetches both; the loads are the only per-frame scalar work, and the
// conversion, blend and accumulation run on four lanes. The arithmetic is
// that of the frame-by-frame loop, lane for lane: the fraction is the low 32
// bits of the position, which 32-bit lanes give exactly, converted to float
// in two exact 16-bit halves and one rounding, as a direct conversion rounds.
// Answers how many frames it did (a multiple of four).
template <int OutChannels>
size_t InterpolateMono16(const uint8_t* data, uint64_t pos, uint64_t step, float* out, size_t n, float gl, float gr) {
  const size_t done = n & ~size_t{3};
  Uints4 frac = {static_cast<uint32_t>(pos), static_cast<uint32_t>(pos + step), static_cast<uint32_t>(pos + 2 * step),
                 static_cast<uint32_t>(pos + 3 * step)};
  const auto fracStep = static_cast<uint32_t>(step * 4);
  const Floats4 scale = {kFracScale, kFracScale, kFracScale, kFracScale};
  for (size_t k = 0; k < done; k += 4, pos += 4 * step, frac += fracStep) {
    Uints4 pairs;
    for (int j = 0; j < 4; ++j) {
      uint32_t w;
      std::memcpy(&w, data + ((pos + static_cast<uint64_t>(j) * step) >> 32) * 2, sizeof w);
      pairs[j] = w;
    }
    const Floats4 a = __builtin_convertvector(__builtin_convertvector(pairs << 16, Ints4) >> 16, Floats4);
    const Floats4 b = __builtin_convertvector(__builtin_convertvector(pairs, Ints4) >> 16, Floats4);
    const Floats4 t = (__builtin_convertvector(__builtin_convertvector(frac >> 16, Ints4), Floats4) * 65536.0f +
                       __builtin_convertvector(__builtin_convertvector(frac & 0xFFFFu, Ints4), Floats4)) *
                      scale;
    const Floats4 l = a + (b - a) * t;
    if constexpr (OutChannels == 2) {
      const Floats4 left = l * gl;
      const Floats4 right = l * gr;
      Floats4 o0, o1;
      std::memcpy(&o0, out + k * 2, sizeof o0);
      std::memcpy(&o1, out + k * 2 + 4, sizeof o1);
      o0 += __builtin_shufflevector(left, right, 0, 4, 1, 5);
      o1 += __builtin_shufflevector(left, right, 2, 6, 3, 7);
      std::memcpy(out + k * 2, &o0, sizeof o0);
      std::memcpy(out + k * 2 + 4, &o1, sizeof o1);
    } else {
      Floats4 o;
      std::memcpy(&o, out + k, sizeof o);
      o += l * gl;
      std::memcpy(out + k, &o, sizeof o);
    }
  }
  return done;
}
// The same for 16-bit stereo frames onto stereo output, two output frames
// at a time: one 64-bit load fetches a frame and its successor (left and
// right of each), and the lanes hold left, right, left, right, as the
// output does.
size_t InterpolateStereo16(const uint8_t* data, uint64_t pos, uint64_t step, float* out, size_t n, float gl,
                           float gr) {
  using Shorts8 = int16_t __attribute__((vector_size(16)));
  const size_t done = n & ~size_t{1};
  const Floats4 gains = {gl, gr, gl, gr};
  for (size_t k = 0; k < done; k += 2, pos += 2 * step) {
    const uint64_t next = pos + step;
    Shorts8 frames;
    std::memcpy(&frames, data + (pos >> 32) * 4, 8);
    std::memcpy(reinterpret_cast<uint8_t*>(&frames) + 8, data + (next >> 32) * 4, 8);
    const Floats4 a = __builtin_convertvector(__builtin_shufflevector(frames, frames, 0, 1, 4, 5), Floats4);
    const Floats4 b = __builtin_convertvector(__builtin_shufflevector(frames, frames, 2, 3, 6, 7), Floats4);
    const float t0 = static_cast<float>(static_cast<uint32_t>(pos & kFracMask)) * kFracScale;
    const float t1 = static_cast<float>(static_cast<uint32_t>(next & kFracMask)) * kFracScale;
    const Floats4 t = {t0, t0, t1, t1};
    Floats4 o;
    std::memcpy(&o, out + k * 2, sizeof o);
    o += (a + (b - a) * t) * gains;
    std::memcpy(out + k * 2, &o, sizeof o);
  }
  return done;
}
#endif

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
      size_t k = 0;
#ifdef MIXER_GATHERS_PAIRS
      if constexpr (Bits == 16 && InChannels == 1) k = InterpolateMono16<OutChannels>(src.data, pos, step, out, stretch, gl, gr);
      if constexpr (Bits == 16 && InChannels == 2 && OutChannels == 2)
        k = InterpolateStereo16(src.data, pos, step, out, stretch, gl, gr);
#endif
      for (; k < stretch; ++k) {
        const uint64_t p = pos + k * step;
        const auto i = static_cast<size_t>(p >> 32);
        float l = Sample<Bits>(src.data, i * InChannels);
        float r = InChannels == 2 ? Sample<Bits>(src.data, i * InChannels + 1) : l;
        const float t = static_cast<float>(static_cast<uint32_t>(p & kFracMask)) * kFracScale;
        l += (Sample<Bits>(src.data, (i + 1) * InChannels) - l) * t;
        if constexpr (InChannels == 2) r += (Sample<Bits>(src.data, (i + 1) * InChannels + 1) - r) * t;
        else r = l;
        if constexpr (OutChannels == 2) {
          out[k * 2] += l * gl;
          out[k * 2 + 1] += r * gr;
        } else {
          out[k] += (InChannels == 2 ? 0.5f * (l + r) : l) * gl;
        }
      }
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
