#pragma once
// The game's shaping of the generated height field: the average height of
// an area, flattening it (the land plot) and blending its border into the
// terrain around it, and a few more ways of shaping rectangles and strips.
// Rectangle corners are fractions of the width and height: lo = (0.38, 0.38),
// hi = (0.62, 0.62) is the middle of the terrain.
#include <cstdint>

#include "game/world/HeightFieldGenerator.h"

struct HeightCell {
  int32_t a = 0;
  int32_t b = 0;
};

class cKV9HFGen : public HeightFieldGenerator {
 public:
  // Border parts of BlendBorder's sides mask.
  static constexpr uint8_t kSideBeforeB = 0x01;
  static constexpr uint8_t kSideAfterB = 0x02;
  static constexpr uint8_t kSideBeforeA = 0x04;
  static constexpr uint8_t kSideAfterA = 0x08;
  static constexpr uint8_t kAllSides = 0xFF;

  // The mean over lo <= cell < hi. FLT_MAX without a block or buffer, and
  // for an area holding no cell.
  virtual float AverageHeight(const TerrainParams* params, float** buffer, const float lo[2], const float hi[2]);
  // Sets lo..hi (inclusive) to `height`, then BlendBorder over `distance`.
  virtual CoreStatus FlattenRect(const TerrainParams* params, float** buffer, const float lo[2], const float hi[2],
                                 float height, int32_t distance, uint8_t sides);
  // Adds delta over lo..hi (exclusive), clamps, blends all border parts.
  virtual CoreStatus RaiseRect(const TerrainParams* params, float** buffer, const float lo[2], const float hi[2],
                               float delta, int32_t distance);
  // Raises each cell by (r + 1) * 0.005 * its distance to the nearest selected
  // side (0x01 at b0, 0x02 at a1, 0x04 at b1, 0x08 at a0) * heightFactor.
  virtual CoreStatus RoughenByEdgeDistance(const TerrainParams* params, float** buffer, const float lo[2],
                                           const float hi[2], uint8_t sides, float heightFactor);
  // Level across the strip, following the terrain along it.
  virtual CoreStatus LevelStrip(const TerrainParams* params, float** buffer, const float lo[2], const float hi[2],
                                int32_t distance);
  // No step along the strip larger than maxStep.
  virtual CoreStatus LimitStripSlope(const TerrainParams* params, float** buffer, const float lo[2],
                                     const float hi[2], float maxStep, bool reverse, int32_t distance);
  virtual CoreStatus BlendBorder(int32_t a0, int32_t a1, int32_t b0, int32_t b1, int32_t distance, uint8_t sides);
  // Sets the inner cells of the straight line from `from` to `to` between
  // the heights at its ends; with reach > 0 the heights `reach` cells beyond
  // each end shape the curve too.
  virtual void InterpolateLine(HeightCell from, HeightCell to, int32_t reach);

 private:
  struct Bounds {
    int32_t a0, a1, b0, b1;
  };
  // Cell bounds of a fractional rectangle, each within 0..size - 1.
  Bounds BoundsOf(const float lo[2], const float hi[2]) const;
  int32_t ClampCell(int32_t v) const;
};
