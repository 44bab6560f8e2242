#pragma once
// The kit's one replaceable random source behind Noise_RandomFloatInRange
// and Noise_RandomIntInRange: every draw at the lower bound, at the upper
// bound, a given sequence of fractions of the range (repeated), or a seeded
// stream. Installed while it lives; seeding also seeds the platform's rand().
#include <cstdint>
#include <random>
#include <vector>

#include "engine/math/Noise.h"

namespace simkit {

class KitRandom : public NoiseSource {
 public:
  enum class Mode { Lower, Upper, Sequence, Seeded };

  KitRandom();
  ~KitRandom() override;
  KitRandom(const KitRandom&) = delete;
  KitRandom& operator=(const KitRandom&) = delete;

  void UseLower() { mode_ = Mode::Lower; }
  void UseUpper() { mode_ = Mode::Upper; }
  // Fractions 0..1 of the range, taken in turn and repeated.
  void UseSequence(std::vector<double> fractions);
  void UseSeed(uint32_t seed);

  float FloatInRange(float lo, float hi) override;
  int32_t IntInRange(int32_t lo, int32_t hi) override;

 private:
  double NextFraction();

  Mode mode_ = Mode::Lower;
  std::vector<double> sequence_;
  size_t next_ = 0;
  std::mt19937 engine_;
  NoiseSource* previous_ = nullptr;
};

}  // namespace simkit
