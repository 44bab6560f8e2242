#pragma once
// The eleven-word parameter block of the height-field generator. The
// scenario keeps one and saves it as the first 44 bytes of its save record;
// the heights themselves are never stored, they are generated again from it.
#include <cstdint>

// Displacement of one midpoint: noise value r in [-1, 1], the current step
// and the grid size.
using HeightDisplacementFn = float (*)(float r, int32_t step, int32_t size);

struct TerrainParams {
  int32_t width = 0;
  int32_t height = 0;
  int32_t seed = 0;
  float corners[4] = {0, 0, 0, 0};  // (0,0), (size,0), (0,size), (size,size)
  float minimum = 0.0f;
  float maximum = 0.0f;
  float roughness = 0.0f;  // word 9: kept, read by nothing
  // Word 10. Never taken from a file: a save writes 0 and a load sets null,
  // which selects the default displacement.
  HeightDisplacementFn displacement = nullptr;
};

inline constexpr uint32_t kTerrainParamsBytes = 44;
