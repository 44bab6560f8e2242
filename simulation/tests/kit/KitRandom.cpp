#include "simulation/tests/kit/KitRandom.h"

#include <cmath>

#include "platform/Random.h"

namespace simkit {

KitRandom::KitRandom() { previous_ = Noise_SetSource(this); }
KitRandom::~KitRandom() { Noise_SetSource(previous_); }

void KitRandom::UseSequence(std::vector<double> fractions) {
  mode_ = Mode::Sequence;
  sequence_ = std::move(fractions);
  next_ = 0;
}

void KitRandom::UseSeed(uint32_t seed) {
  mode_ = Mode::Seeded;
  engine_.seed(seed);
  platform::SRand(seed);
}

double KitRandom::NextFraction() {
  switch (mode_) {
    case Mode::Lower:
      return 0.0;
    case Mode::Upper:
      return 1.0;
    case Mode::Sequence: {
      if (sequence_.empty()) return 0.0;
      const double f = sequence_[next_ % sequence_.size()];
      ++next_;
      return f;
    }
    case Mode::Seeded:
      return std::uniform_real_distribution<double>(0.0, 1.0)(engine_);
  }
  return 0.0;
}

float KitRandom::FloatInRange(float lo, float hi) {
  return static_cast<float>(lo + (static_cast<double>(hi) - lo) * NextFraction());
}

int32_t KitRandom::IntInRange(int32_t lo, int32_t hi) {
  return static_cast<int32_t>(std::floor(lo + (static_cast<double>(hi) - lo) * NextFraction() + 0.5));
}

}  // namespace simkit
