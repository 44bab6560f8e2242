#pragma once
// The C runtime's 15-bit generator (RAND_MAX 32767). The system's random
// numbers all come from here so sequences are reproducible and rand()+1
// never overflows, whatever the host C library's rand() does.
#include <cstdint>

namespace platform {

inline constexpr int kRandMax = 32767;

int Rand();                  // 0..32767
void SRand(uint32_t seed);   // the default seed is 1, as the runtime's

}  // namespace platform
