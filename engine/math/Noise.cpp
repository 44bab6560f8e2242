#include "engine/math/Noise.h"

#include <cmath>

#include "platform/Clock.h"
#include "platform/Random.h"

namespace {

NoiseClock g_clock = nullptr;
NoiseSource* g_source = nullptr;

int64_t Now() { return g_clock ? g_clock() : platform::WallClockSeconds(); }

// seed = time mod (rand() + 1); rand() is the 15-bit generator, so the
// divisor is 1..32768 and the seed fits comfortably in 32 bits.
int32_t Seed() {
  const int64_t divisor = static_cast<int64_t>(platform::Rand()) + 1;
  int64_t seed = Now() % divisor;
  return static_cast<int32_t>(seed);
}

// Lattice steps with 32-bit wrap-around, without signed overflow.
int32_t Wrap(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }

}  // namespace

float Noise_IntegerNoise(int32_t x, int32_t y) {
  uint32_t n = static_cast<uint32_t>(x);
  if (y != -1) n += 57u * static_cast<uint32_t>(y);
  n ^= n << 13;
  const uint32_t m = ((n * n * 15731u + 789221u) * n - 771171059u) & 0x7FFFFFFFu;
  return static_cast<float>(1.0 - static_cast<double>(m) * (1.0 / 1073741824.0));
}

NoiseClock Noise_SetClock(NoiseClock clock) {
  const NoiseClock previous = g_clock;
  g_clock = clock;
  return previous;
}

NoiseSource* Noise_SetSource(NoiseSource* source) {
  NoiseSource* previous = g_source;
  g_source = source;
  return previous;
}

float Noise_RandomFloat() { return Noise_IntegerNoise(Seed(), -1) * 3.4028235e38f; }

int32_t Noise_RandomInt() {
  const double v = static_cast<double>(Noise_IntegerNoise(Seed(), -1)) * 2147483648.0;
  if (v >= 2147483647.0) return INT32_MAX;
  if (v <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(v);
}

float Noise_RandomFloatInRange(float a, float b) {
  if (a == b) return a;
  const float lo = a < b ? a : b;
  const float hi = a < b ? b : a;
  if (g_source) return g_source->FloatInRange(lo, hi);
  const float r = Noise_IntegerNoise(Noise_RandomInt(), -1);
  const float h = (hi - lo) * 0.5f;
  return lo + h + h * r;
}

int32_t Noise_RandomIntInRange(int32_t a, int32_t b) {
  if (a == b) return a;
  if (g_source) return g_source->IntInRange(a < b ? a : b, a < b ? b : a);
  const double r = Noise_IntegerNoise(Noise_RandomInt(), -1);
  const double lo = a < b ? a : b;
  const double hi = a < b ? b : a;
  const double h = (hi - lo) * 0.5;
  double v = lo + h + h * r + 0.5;
  // Stays inside the 32-bit range even at its very ends.
  if (v > 2147483647.0) v = 2147483647.0;
  return static_cast<int32_t>(v);
}

float Noise_SmoothedNoise1D(int32_t n, int32_t /*width*/) {
  return Noise_IntegerNoise(n, -1) / 2.0f +
         (Noise_IntegerNoise(Wrap(int64_t{n} - 1), -1) + Noise_IntegerNoise(Wrap(int64_t{n} + 1), -1)) / 4.0f;
}

float Noise_CubicInterpolate(float v0, float v1, float v2, float v3, float t) {
  const float P = (v3 - v2) - (v0 - v1);
  const float Q = (v0 - v1) - P;
  const float R = v2 - v0;
  const float S = v1;
  return P * t * t * t + Q * t * t + R * t + S;
}

float Noise_CosineInterpolate(float a, float b, float t) {
  const float f = (1.0f - std::cos(t * 3.14159f)) * 0.5f;
  return a * (1.0f - f) + b * f;
}

float Noise_InterpolatedNoise1D(float x, bool cubic) {
  if (!std::isfinite(x)) return 0.0f;
  // Beyond 2^31 a float has no fraction left, so wrapping the whole part onto
  // the 32-bit lattice keeps the conversion defined and the fraction intact.
  double whole = std::trunc(static_cast<double>(x));
  const float t = static_cast<float>(static_cast<double>(x) - whole);
  whole = std::fmod(whole, 4294967296.0);
  const int32_t i = Wrap(static_cast<int64_t>(whole));
  const float v1 = Noise_SmoothedNoise1D(i, 2);
  const float v2 = Noise_SmoothedNoise1D(Wrap(int64_t{i} + 1), 2);
  if (!cubic) return Noise_CosineInterpolate(v1, v2, t);
  const float v0 = Noise_SmoothedNoise1D(Wrap(int64_t{i} - 1), 2);
  const float v3 = Noise_SmoothedNoise1D(Wrap(int64_t{i} + 2), 2);
  return Noise_CubicInterpolate(v0, v1, v2, v3, t);
}
