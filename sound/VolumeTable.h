#pragma once
// Handle volumes (0.0 silent .. 1.0 full) to buffer volumes in hundredths
// of a decibel. The 256-step table follows a loudness curve that halves
// per 10 dB (1000 x log2(index / 255)), flattened near silence so the
// lowest steps stay audible distinct.
#include <cstdint>

inline constexpr int kVolumeTableSize = 256;

// The table index of a volume: volume x 255 truncated, 255 above 1.0, 0 for
// a negative volume or NaN.
int VolumeTableIndex(float volume);
// The table entry (index clamped to 0..255).
int32_t VolumeTableEntry(int index);
// Both steps together.
inline int32_t VolumeToHundredthsDb(float volume) { return VolumeTableEntry(VolumeTableIndex(volume)); }
