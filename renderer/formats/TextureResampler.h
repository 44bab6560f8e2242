#pragma once
// Separable two-pass image resampling in fixed point: a horizontal pass per
// source row (kept in a row cache for every destination row that needs it)
// and a vertical pass per destination row. Weights are 16-bit with 16384 for
// 1.0; all per-pixel arithmetic is integer.
//
// A job: set the source and destination pixels and sizes, then call one of
// the resamplers with filter positions (see ResampleFilters.h). Rows are
// tightly packed on both sides.
#include <cstdint>
#include <vector>

struct ResampleWeights {
  int32_t first = 0;  // first contributing source index
  int32_t count = 0;  // at least 1
  std::vector<int16_t> weights;
};

class TextureResampler {
 public:
  const uint8_t* source = nullptr;
  int32_t sourceWidth = 0;
  int32_t sourceHeight = 0;
  uint8_t* destination = nullptr;
  int32_t destinationWidth = 0;
  int32_t destinationHeight = 0;

  // 32-bit pixels (blue, green, red, alpha; all four filtered).
  bool ResampleRGB(int xFilter, int yFilter);
  // Planes of one byte a pixel.
  bool ResampleAlpha(int xFilter, int yFilter);

  // The weight table of destination index `b` on an axis of `sourceLength`
  // source samples scaled by `scale`, for filter position `filter`. Never
  // empty; the weights add up to 16384 unless saturation prevented it.
  static ResampleWeights Weights(int32_t b, int32_t sourceLength, double scale, int filter);

 private:
  bool Resample(int channels, int xFilter, int yFilter);
};
