#pragma once
// The six waveforms of the shader scripts, as functions of the phase and the
// cycles accumulated so far. Values lie in [0, 1].
#include <cstdint>

enum class Waveform { Sin, Saw, InvSaw, Square, Tri, Noise };

// The lattice value of integer n, in (-1, 1]; wrapping unsigned arithmetic.
float NoiseLattice(int32_t n);
// A float as an int32 by truncation; NaN gives 0, values beyond the range
// the nearest end.
int32_t TruncateToInt32(float value);
float WaveValue(Waveform wave, float phase, float cycles);
