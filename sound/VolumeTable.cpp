#include "sound/VolumeTable.h"

#include <array>
#include <cmath>

namespace {

// Fixed points of the table. Between them each entry is the curve plus the
// fixed points' offset from the curve, interpolated linearly, so the table
// rises steadily and meets every fixed point exactly.
struct Anchor {
  int index;
  int32_t value;
};
constexpr Anchor kAnchors[] = {
    {0, -10000}, {1, -7678},  {2, -6830},  {3, -6299},  {10, -4642}, {16, -3977}, {32, -2988},
    {48, -2407}, {50, -2348}, {64, -1994}, {80, -1673}, {96, -1411}, {100, -1352}, {112, -1189},
    {127, -1008}, {128, -997}, {129, -985}, {144, -827}, {160, -675}, {176, -538}, {192, -413},
    {208, -297}, {224, -191}, {240, -91},  {254, -5},   {255, 0},
};

double Curve(int index) { return 1000.0 * std::log2(index / 255.0); }

std::array<int32_t, kVolumeTableSize> BuildTable() {
  std::array<int32_t, kVolumeTableSize> table{};
  table[0] = kAnchors[0].value;
  // Index 0 lies off the curve (minus infinity), so interpolation starts at 1.
  for (size_t a = 1; a + 1 < std::size(kAnchors); ++a) {
    const Anchor lo = kAnchors[a], hi = kAnchors[a + 1];
    const double offLo = lo.value - Curve(lo.index), offHi = hi.value - Curve(hi.index);
    for (int i = lo.index; i <= hi.index; ++i) {
      const double t = static_cast<double>(i - lo.index) / (hi.index - lo.index);
      table[i] = static_cast<int32_t>(std::lround(Curve(i) + offLo + (offHi - offLo) * t));
    }
  }
  return table;
}

const std::array<int32_t, kVolumeTableSize>& Table() {
  static const std::array<int32_t, kVolumeTableSize> table = BuildTable();
  return table;
}

}  // namespace

int VolumeTableIndex(float volume) {
  if (!(volume > 0.0f)) return 0;  // negative, zero and NaN
  if (volume >= 1.0f) return kVolumeTableSize - 1;
  return static_cast<int>(volume * 255.0f);
}

int32_t VolumeTableEntry(int index) {
  if (index < 0) index = 0;
  if (index >= kVolumeTableSize) index = kVolumeTableSize - 1;
  return Table()[static_cast<size_t>(index)];
}
