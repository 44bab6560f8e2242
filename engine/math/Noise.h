#pragma once
// Integer lattice noise with smoothing and interpolation, and the random
// numbers the whole game draws from. Random values come from the lattice
// noise at a seed taken from the wall clock and the 15-bit platform::Rand(),
// so the functions keep no state of their own.
#include <cstdint>

// Lattice noise in [-1, 1]: a hash of (x, y) on 32-bit integers with
// wrap-around. y = -1 means a one-dimensional lattice; otherwise each step of
// y shifts the lattice by 57.
float Noise_IntegerNoise(int32_t x, int32_t y);

// Noise at a fresh seed, scaled to the whole float range.
float Noise_RandomFloat();
// Noise at a fresh seed times 2^31, truncated; a noise value of exactly 1
// gives INT32_MAX instead of overflowing.
int32_t Noise_RandomInt();
// A value between a and b (either order); a == b returns a without drawing.
float Noise_RandomFloatInRange(float a, float b);
// A whole value between a and b (either order); a == b returns a without
// drawing. The result is rounded by adding 0.5 and truncating, so the ends of
// the range come up about half as often as the inner values.
int32_t Noise_RandomIntInRange(int32_t a, int32_t b);

// Noise at n smoothed with its neighbours (1/2, 1/4, 1/4). Every width uses
// that kernel; callers pass 2.
float Noise_SmoothedNoise1D(int32_t n, int32_t width);
float Noise_CubicInterpolate(float v0, float v1, float v2, float v3, float t);
// Blends a to b along half a cosine wave (t from 0 to 1).
float Noise_CosineInterpolate(float a, float b, float t);
// Smoothed noise sampled at a real position, blended by cosine or cubic
// interpolation. Non-finite positions give 0; positions beyond the 32-bit
// lattice wrap around it.
float Noise_InterpolatedNoise1D(float x, bool cubic);

// The wall clock (seconds, platform::WallClockSeconds unless replaced: a
// test clock makes it repeatable) that seeds the random functions. Tests replace it
// to make draws repeatable; passing null restores the real clock. Returns the
// previous source (null for the real clock).
using NoiseClock = int64_t (*)();
NoiseClock Noise_SetClock(NoiseClock clock);

// A replacement for the draws of Noise_RandomFloatInRange and
// Noise_RandomIntInRange: it gets the bounds in ascending order and answers
// the value. Tests install one to force the ends of a range, a sequence or
// a seeded stream; passing null restores the noise draws. Returns the
// previous source.
class NoiseSource {
 public:
  virtual ~NoiseSource() = default;
  virtual float FloatInRange(float lo, float hi) = 0;
  virtual int32_t IntInRange(int32_t lo, int32_t hi) = 0;
};
NoiseSource* Noise_SetSource(NoiseSource* source);
