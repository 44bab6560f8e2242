#include "game/world/KV9HFGen.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "engine/math/Noise.h"

namespace {

// Whole cell of a fraction of a side; NaN and huge values give 0 or the
// largest int so the clamp below catches them.
int32_t CellOf(int32_t side, float fraction) {
  const double v = static_cast<double>(side) * static_cast<double>(fraction);
  if (!(v > -2e9)) return v != v ? 0 : INT32_MIN;
  if (v > 2e9) return INT32_MAX;
  return static_cast<int32_t>(v);
}

}  // namespace

int32_t cKV9HFGen::ClampCell(int32_t v) const {
  const int32_t top = std::max(size_ - 1, 0);
  return std::clamp(v, 0, top);
}

cKV9HFGen::Bounds cKV9HFGen::BoundsOf(const float lo[2], const float hi[2]) const {
  return {ClampCell(CellOf(width_, lo[0])), ClampCell(CellOf(width_, hi[0])), ClampCell(CellOf(height_, lo[1])),
          ClampCell(CellOf(height_, hi[1]))};
}

float cKV9HFGen::AverageHeight(const TerrainParams* params, float** buffer, const float lo[2], const float hi[2]) {
  if (!params || !buffer || !*buffer || !lo || !hi) return kNoHeight;
  Configure(params);
  Attach(buffer);
  const Bounds r = BoundsOf(lo, hi);
  double sum = 0.0;
  int64_t count = 0;
  for (int32_t a = r.a0; a < r.a1; ++a) {
    for (int32_t b = r.b0; b < r.b1; ++b) {
      sum += GetAt(a, b);
      ++count;
    }
  }
  Detach();
  // An empty area has no average: the failure mark, never 0 / 0.
  if (count == 0) return kNoHeight;
  return static_cast<float>(sum / static_cast<double>(count));
}

CoreStatus cKV9HFGen::FlattenRect(const TerrainParams* params, float** buffer, const float lo[2], const float hi[2],
                                  float height, int32_t distance, uint8_t sides) {
  if (!params || !buffer || !*buffer || !lo || !hi) return status::Fail;
  Configure(params);
  Attach(buffer);
  const Bounds r = BoundsOf(lo, hi);
  for (int32_t a = r.a0; a <= r.a1; ++a)
    for (int32_t b = r.b0; b <= r.b1; ++b) SetAt(a, b, height);
  const CoreStatus result = BlendBorder(r.a0, r.a1, r.b0, r.b1, distance, sides);
  Detach();
  return result;
}

CoreStatus cKV9HFGen::RaiseRect(const TerrainParams* params, float** buffer, const float lo[2], const float hi[2],
                                float delta, int32_t distance) {
  if (!params || !buffer || !*buffer || !lo || !hi) return status::Fail;
  Configure(params);
  Attach(buffer);
  const Bounds r = BoundsOf(lo, hi);
  for (int32_t a = r.a0; a < r.a1; ++a) {
    for (int32_t b = r.b0; b < r.b1; ++b) {
      SetAt(a, b, GetAt(a, b) + delta);
      ClampAt(a, b);
    }
  }
  const CoreStatus result = BlendBorder(r.a0, r.a1, r.b0, r.b1, distance, kAllSides);
  Detach();
  return result;
}

CoreStatus cKV9HFGen::RoughenByEdgeDistance(const TerrainParams* params, float** buffer, const float lo[2],
                                            const float hi[2], uint8_t sides, float heightFactor) {
  if (!params || !buffer || !*buffer || !lo || !hi) return status::Fail;
  Configure(params);
  Attach(buffer);
  const Bounds r = BoundsOf(lo, hi);
  const int32_t w = std::max(r.a1 - r.a0, 0);
  const int32_t h = std::max(r.b1 - r.b0, 0);
  std::vector<float> nearest(static_cast<size_t>(w) * static_cast<size_t>(h), 99999.9f);
  for (int32_t a = r.a0; a < r.a1; ++a) {
    for (int32_t b = r.b0; b < r.b1; ++b) {
      float& best = nearest[static_cast<size_t>(b - r.b0) * static_cast<size_t>(w) + static_cast<size_t>(a - r.a0)];
      const int32_t distances[4] = {b - r.b0, r.a1 - a, r.b1 - b, a - r.a0};
      for (int side = 0; side < 4; ++side) {
        if (!(sides & (1u << side))) continue;
        const float d = static_cast<float>(distances[side]);
        if (d < best) best = d + Noise_RandomFloatInRange(0.0f, 1.0f);
      }
    }
  }
  for (int32_t a = r.a0; a < r.a1; ++a) {
    for (int32_t b = r.b0; b < r.b1; ++b) {
      const float d = nearest[static_cast<size_t>(b - r.b0) * static_cast<size_t>(w) + static_cast<size_t>(a - r.a0)];
      const float rnd = Noise_RandomFloatInRange(0.0f, 1.0f);
      SetAt(a, b, GetAt(a, b) + (rnd + 1.0f) * 0.005f * d * heightFactor);
      ClampAt(a, b);
    }
  }
  Detach();
  return status::Ok;
}

CoreStatus cKV9HFGen::LevelStrip(const TerrainParams* params, float** buffer, const float lo[2], const float hi[2],
                                 int32_t distance) {
  if (!params || !buffer || !*buffer || !lo || !hi) return status::Fail;
  Configure(params);
  Attach(buffer);
  const Bounds r = BoundsOf(lo, hi);
  CoreStatus result;
  if (r.a1 - r.a0 > r.b1 - r.b0) {
    for (int32_t a = r.a0; a <= r.a1; ++a) {
      const float level = (GetAt(a, r.b0) + GetAt(a, r.b1)) * 0.5f;
      for (int32_t b = r.b0; b <= r.b1; ++b) SetAt(a, b, level);
    }
    result = BlendBorder(r.a0, r.a1, r.b0, r.b1, distance, kSideBeforeB | kSideAfterB);
  } else {
    for (int32_t b = r.b0; b <= r.b1; ++b) {
      const float level = (GetAt(r.a0, b) + GetAt(r.a1, b)) * 0.5f;
      for (int32_t a = r.a0; a <= r.a1; ++a) SetAt(a, b, level);
    }
    result = BlendBorder(r.a0, r.a1, r.b0, r.b1, distance, kSideBeforeA | kSideAfterA);
  }
  Detach();
  return result < 0 ? result : status::Ok;
}

CoreStatus cKV9HFGen::LimitStripSlope(const TerrainParams* params, float** buffer, const float lo[2],
                                      const float hi[2], float maxStep, bool reverse, int32_t distance) {
  if (!params || !buffer || !*buffer || !lo || !hi) return status::Fail;
  Configure(params);
  Attach(buffer);
  const Bounds r = BoundsOf(lo, hi);
  const bool alongA = r.a1 - r.a0 > r.b1 - r.b0;
  const int32_t first = alongA ? r.a0 : r.b0;
  const int32_t last = alongA ? r.a1 : r.b1;
  const int32_t crossFirst = alongA ? r.b0 : r.a0;
  const int32_t crossLast = alongA ? r.b1 : r.a1;
  const int32_t dir = reverse ? -1 : 1;
  auto cell = [&](int32_t along, int32_t across) { return alongA ? HeightCell{along, across} : HeightCell{across, along}; };
  for (int32_t across = crossFirst; across <= crossLast; ++across) {
    const int32_t start = reverse ? last : first;
    const int32_t end = reverse ? first : last;
    for (int32_t along = start + dir; reverse ? along >= end : along <= end; along += dir) {
      const HeightCell here = cell(along, across);
      const HeightCell before = cell(along - dir, across);
      const float previous = GetAt(before.a, before.b);
      const float value = GetAt(here.a, here.b);
      if (value - previous > maxStep) SetAt(here.a, here.b, previous + maxStep);
      if (previous - value > maxStep) SetAt(here.a, here.b, previous - maxStep);
      ClampAt(here.a, here.b);
    }
    for (int32_t along = first; along + 4 <= last; along += 4) {
      InterpolateLine(cell(along, across), cell(along + 4, across), 5);
    }
  }
  const CoreStatus result = BlendBorder(r.a0, r.a1, r.b0, r.b1, distance,
                                        alongA ? (kSideBeforeB | kSideAfterB) : (kSideBeforeA | kSideAfterA));
  Detach();
  return result < 0 ? result : status::Ok;
}

CoreStatus cKV9HFGen::BlendBorder(int32_t a0, int32_t a1, int32_t b0, int32_t b1, int32_t distance, uint8_t sides) {
  if (!HasBuffer()) return status::Fail;
  if (distance < 1) return status::Ok;
  // A distance past the grid reaches its edge at most.
  distance = std::min(distance, std::max(size_, 1));
  auto line = [this](int32_t fa, int32_t fb, int32_t ta, int32_t tb) {
    InterpolateLine({ClampCell(fa), ClampCell(fb)}, {ClampCell(ta), ClampCell(tb)}, 0);
  };
  if (sides & kSideBeforeB)
    for (int32_t a = a0; a <= a1; ++a) line(a, b0 + 1, a, b0 - distance);
  if (sides & kSideAfterB)
    for (int32_t a = a0; a <= a1; ++a) line(a, b1 - 1, a, b1 + distance);
  if (sides & kSideBeforeA)
    for (int32_t b = b0; b <= b1; ++b) line(a0 + 1, b, a0 - distance, b);
  if (sides & kSideAfterA)
    for (int32_t b = b0; b <= b1; ++b) line(a1 - 1, b, a1 + distance, b);
  // Corners: lines fan out from the rectangle's corner cell to every cell of
  // the corner square's two outer edges.
  const struct {
    uint8_t bit;
    int32_t ca, cb, da, db;
  } corners[4] = {{0x10, a0, b0, -1, -1}, {0x20, a1, b0, 1, -1}, {0x40, a0, b1, -1, 1}, {0x80, a1, b1, 1, 1}};
  for (const auto& c : corners) {
    if (!(sides & c.bit)) continue;
    const int32_t fa = c.ca - c.da;
    const int32_t fb = c.cb - c.db;
    for (int32_t k = 0; k <= distance; ++k) {
      line(fa, fb, c.ca + c.da * distance, c.cb + c.db * k);
      line(fa, fb, c.ca + c.da * k, c.cb + c.db * distance);
    }
  }
  return status::Ok;
}

void cKV9HFGen::InterpolateLine(HeightCell from, HeightCell to, int32_t reach) {
  const int32_t da = to.a - from.a;
  const int32_t db = to.b - from.b;
  const int32_t steps = std::max(std::abs(da), std::abs(db));
  if (steps < 2) return;
  const float start = GetAt(from.a, from.b);
  const float end = GetAt(to.a, to.b);
  if (start == kNoHeight || end == kNoHeight) return;
  float before = start;
  float after = end;
  if (reach > 0) {
    // The heights `reach` cells beyond each end, along the line's direction.
    const float ua = static_cast<float>(da) / static_cast<float>(steps);
    const float ub = static_cast<float>(db) / static_cast<float>(steps);
    const float b0 = GetAt(from.a - static_cast<int32_t>(std::lround(ua * reach)),
                           from.b - static_cast<int32_t>(std::lround(ub * reach)));
    const float a0 = GetAt(to.a + static_cast<int32_t>(std::lround(ua * reach)),
                           to.b + static_cast<int32_t>(std::lround(ub * reach)));
    if (b0 != kNoHeight) before = b0;
    if (a0 != kNoHeight) after = a0;
  }
  for (int32_t i = 1; i < steps; ++i) {
    const float t = static_cast<float>(i) / static_cast<float>(steps);
    const int32_t a = from.a + static_cast<int32_t>(std::lround(static_cast<float>(da) * t));
    const int32_t b = from.b + static_cast<int32_t>(std::lround(static_cast<float>(db) * t));
    const float value = reach > 0 ? Noise_CubicInterpolate(before, start, end, after, t)
                                  : Noise_CosineInterpolate(start, end, t);
    SetAt(a, b, value);
  }
}
