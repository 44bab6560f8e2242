#pragma once
// Midpoint displacement (the diamond-square method) over a square grid of
// 2^n + 1 heights, seeded from a parameter block. The caller owns a width x
// height buffer (row-major, index b * width + a); the cells beyond it (the
// last row and column at 128 x 128) live in the generator's extra columns.
// The noise depends only on the seed and the cell, so one block always gives
// the same heights.
#include <cfloat>
#include <cstdint>
#include <vector>

#include "base/Status.h"
#include "game/world/TerrainParams.h"

class HeightFieldGenerator {
 public:
  static constexpr float kNoHeight = FLT_MAX;
  // The largest grid side generated; the game uses 128.
  static constexpr int32_t kMaxSize = 4096;

  HeightFieldGenerator() = default;
  virtual ~HeightFieldGenerator() = default;

  // Fills *buffer and the extra columns. 0x80004005 when an argument is null.
  virtual CoreStatus Generate(const TerrainParams* params, float** buffer);
  // Takes over the block: sizes, corners, range and displacement.
  virtual void Configure(const TerrainParams* params);
  // Zeroes parameters, sizes, step and mean; the buffer reference stays.
  virtual void Reset();
  // 0 <= a, b <= size. Out of range or without a buffer: nothing / FLT_MAX.
  virtual void SetAt(int32_t a, int32_t b, float value);
  virtual void SetIndex(int32_t i, float value);
  virtual void SetExtra(int32_t a, int32_t b, float value);
  virtual float GetAt(int32_t a, int32_t b);
  virtual float GetIndex(int32_t i);
  virtual float GetExtra(int32_t a, int32_t b);
  virtual void ClampAt(int32_t a, int32_t b);
  // value * (maximum - minimum) + minimum, then clamped, for every cell.
  virtual void Normalize();

  int32_t Size() const { return size_; }
  int32_t GridCount() const { return gridCount_; }
  float MeanHeight() const { return mean_; }

 protected:
  // Remembers the caller's buffer for one operation.
  void Attach(float** buffer) { buffer_ = buffer; }
  void Detach() { buffer_ = nullptr; }
  bool HasBuffer() const { return buffer_ && *buffer_; }
  // The storage of cell (a, b), or null outside the grid or without a
  // buffer: the same cells GetAt and SetAt reach, without the virtual calls
  // the generation's inner loops cannot afford.
  float* Cell(int32_t a, int32_t b);

  int32_t size_ = 0;
  int32_t gridCount_ = 0;
  int32_t step_ = 0;
  float mean_ = 0.0f;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t seed_ = 0;
  float corners_[4] = {0, 0, 0, 0};
  float minimum_ = 0.0f;
  float maximum_ = 0.0f;
  float roughness_ = 0.0f;
  HeightDisplacementFn displacement_ = nullptr;
  float** buffer_ = nullptr;
  std::vector<std::vector<float>> extra_;
  // The working grid of the last generation, kept for the next.
  std::vector<float> grid_;
};

// r * (step / size) * 0.5: the displacement halves with every level.
float DefaultHeightDisplacement(float r, int32_t step, int32_t size);
