#include "game/world/HeightFieldGenerator.h"

#include <cstddef>

#include "engine/math/Noise.h"

float DefaultHeightDisplacement(float r, int32_t step, int32_t size) {
  return r * (static_cast<float>(step) / static_cast<float>(size)) * 0.5f;
}

void HeightFieldGenerator::Configure(const TerrainParams* params) {
  if (!params) return;
  width_ = params->width;
  height_ = params->height;
  seed_ = params->seed;
  for (int i = 0; i < 4; ++i) corners_[i] = params->corners[i];
  minimum_ = params->minimum;
  maximum_ = params->maximum;
  roughness_ = params->roughness;
  displacement_ = params->displacement ? params->displacement : DefaultHeightDisplacement;
  // Negative sizes count as 0; sizes beyond 2^30 have no grid to hold them.
  int32_t wanted = width_ > height_ ? width_ : height_;
  if (wanted < 1) wanted = 1;
  if (wanted > (1 << 30)) wanted = 1 << 30;
  size_ = 1;
  while (size_ < wanted) size_ <<= 1;
  gridCount_ = size_ + 1;
  step_ = size_;
}

void HeightFieldGenerator::Reset() {
  size_ = gridCount_ = step_ = 0;
  mean_ = 0.0f;
  width_ = height_ = seed_ = 0;
  for (float& c : corners_) c = 0.0f;
  minimum_ = maximum_ = roughness_ = 0.0f;
  displacement_ = nullptr;
}

void HeightFieldGenerator::SetIndex(int32_t i, float value) {
  if (!HasBuffer() || i < 0 || int64_t{i} >= int64_t{width_} * height_) return;
  (*buffer_)[i] = value;
}

float HeightFieldGenerator::GetIndex(int32_t i) {
  if (!HasBuffer() || i < 0 || int64_t{i} >= int64_t{width_} * height_) return kNoHeight;
  return (*buffer_)[i];
}

// Column a holds rows height..size below width, every row at or beyond it.
void HeightFieldGenerator::SetExtra(int32_t a, int32_t b, float value) {
  if (a < 0 || b < 0 || a >= static_cast<int32_t>(extra_.size())) return;
  if (a < width_ && b < height_) return;
  const int32_t row = a < width_ ? b - height_ : b;
  std::vector<float>& column = extra_[static_cast<size_t>(a)];
  if (row < 0 || row >= static_cast<int32_t>(column.size())) return;
  column[static_cast<size_t>(row)] = value;
}

float HeightFieldGenerator::GetExtra(int32_t a, int32_t b) {
  if (a < 0 || b < 0 || a >= static_cast<int32_t>(extra_.size())) return kNoHeight;
  if (a < width_ && b < height_) return kNoHeight;
  const int32_t row = a < width_ ? b - height_ : b;
  const std::vector<float>& column = extra_[static_cast<size_t>(a)];
  if (row < 0 || row >= static_cast<int32_t>(column.size())) return kNoHeight;
  return column[static_cast<size_t>(row)];
}

float* HeightFieldGenerator::Cell(int32_t a, int32_t b) {
  if (!HasBuffer() || a < 0 || b < 0 || a > size_ || b > size_) return nullptr;
  if (a < width_ && b < height_) return *buffer_ + (static_cast<size_t>(b) * static_cast<size_t>(width_) + a);
  if (a >= static_cast<int32_t>(extra_.size())) return nullptr;
  std::vector<float>& column = extra_[static_cast<size_t>(a)];
  const int32_t row = a < width_ ? b - height_ : b;
  if (row < 0 || row >= static_cast<int32_t>(column.size())) return nullptr;
  return &column[static_cast<size_t>(row)];
}

void HeightFieldGenerator::SetAt(int32_t a, int32_t b, float value) {
  if (!HasBuffer() || a < 0 || b < 0 || a > size_ || b > size_) return;
  if (a < width_ && b < height_)
    SetIndex(b * width_ + a, value);
  else
    SetExtra(a, b, value);
}

float HeightFieldGenerator::GetAt(int32_t a, int32_t b) {
  if (!HasBuffer() || a < 0 || b < 0 || a > size_ || b > size_) return kNoHeight;
  if (a < width_ && b < height_) return GetIndex(b * width_ + a);
  return GetExtra(a, b);
}

void HeightFieldGenerator::ClampAt(int32_t a, int32_t b) {
  if (GetAt(a, b) < minimum_) SetAt(a, b, minimum_);
  if (GetAt(a, b) > maximum_) SetAt(a, b, maximum_);
}

void HeightFieldGenerator::Normalize() {
  for (int32_t a = 0; a < gridCount_; ++a) {
    for (int32_t b = 0; b < gridCount_; ++b) {
      float* cell = Cell(a, b);
      if (!cell) continue;
      float v = *cell * (maximum_ - minimum_) + minimum_;
      if (v < minimum_) v = minimum_;
      if (v > maximum_) v = maximum_;
      *cell = v;
    }
  }
}

CoreStatus HeightFieldGenerator::Generate(const TerrainParams* params, float** buffer) {
  if (!params || !buffer || !*buffer) return status::Fail;
  Configure(params);
  // The caller's buffer holds width x height cells; a block asking for more
  // than the grid holds has nothing sound to fill.
  if (width_ < 0 || height_ < 0 || size_ > kMaxSize) {
    extra_.clear();
    return status::Fail;
  }
  Attach(buffer);
  // The extra columns and the working grid keep their storage from one
  // generation to the next.
  extra_.resize(static_cast<size_t>(gridCount_));
  for (int32_t a = 0; a < gridCount_; ++a) {
    const int32_t rows = a < width_ ? gridCount_ - height_ : gridCount_;
    extra_[static_cast<size_t>(a)].assign(static_cast<size_t>(rows > 0 ? rows : 0), 0.0f);
  }
  // The passes run over one flat (size + 1)^2 grid; the finished heights
  // are then stored where GetAt finds them (the caller's buffer or the extra
  // columns). Every cell of the grid is written before it is read.
  const size_t n = static_cast<size_t>(gridCount_);
  grid_.resize(n * n);
  float* const grid = grid_.data();
  auto at = [grid, n](int32_t a, int32_t b) -> float& { return grid[static_cast<size_t>(b) * n + a]; };
  at(0, 0) = corners_[0];
  at(size_, 0) = corners_[1];
  at(0, size_) = corners_[2];
  at(size_, size_) = corners_[3];

  double sum = 0.0;
  int64_t count = 0;
  const HeightDisplacementFn displacement = displacement_;
  const bool defaultDisplacement = displacement == DefaultHeightDisplacement;
  auto noiseAt = [this](int32_t a, int32_t b) {
    // 32-bit wrap-around, as the lattice expects.
    const uint32_t v = static_cast<uint32_t>(size_) * static_cast<uint32_t>(a) + static_cast<uint32_t>(b) +
                       static_cast<uint32_t>(seed_);
    return Noise_IntegerNoise(static_cast<int32_t>(v), -1);
  };
  // The default displacement, r * (step / size) * 0.5, is worked out here
  // in the same order instead of through the pointer.
  float levelScale = 0.0f;
  auto place = [&](int32_t a, int32_t b, float average) {
    const float r = noiseAt(a, b);
    const float value = average + (defaultDisplacement ? r * levelScale * 0.5f : displacement(r, step_, size_));
    at(a, b) = value;
    sum += value;
    ++count;
  };

  int32_t half = step_ / 2;
  while (half > 0) {
    levelScale = static_cast<float>(step_) / static_cast<float>(size_);
    // Centre pass: the mean of the four diagonal neighbours, which a centre
    // always has inside the grid.
    for (int32_t a = half; a < gridCount_; a += step_) {
      for (int32_t b = half; b < gridCount_; b += step_) {
        const float total = at(a - half, b - half) + at(a - half, b + half) + at(a + half, b - half) +
                            at(a + half, b + half);
        place(a, b, total / 4.0f);
      }
    }
    // Edge pass: the mean of the orthogonal neighbours inside the grid, rows
    // alternating between starting at half and at 0.
    bool offsetRow = true;
    for (int32_t a = 0; a < gridCount_; a += half) {
      for (int32_t b = offsetRow ? half : 0; b < gridCount_; b += step_) {
        float total = 0.0f;
        int used = 0;
        if (b - half >= 0) total += at(a, b - half), ++used;
        if (b + half <= size_) total += at(a, b + half), ++used;
        if (a - half >= 0) total += at(a - half, b), ++used;
        if (a + half <= size_) total += at(a + half, b), ++used;
        place(a, b, used ? total / static_cast<float>(used) : 0.0f);
      }
      offsetRow = !offsetRow;
    }
    step_ = half;
    half /= 2;
  }
  // A 2 x 2 grid holds only its corners: nothing was generated.
  mean_ = count ? static_cast<float>(sum / static_cast<double>(count)) : 0.0f;
  auto finish = [this](float v) {
    v = v * (maximum_ - minimum_) + minimum_;
    if (v < minimum_) v = minimum_;
    if (v > maximum_) v = maximum_;
    return v;
  };
  // The caller's rows straight, then the cells beyond them.
  const int32_t rows = height_ < gridCount_ ? height_ : gridCount_;
  const int32_t columns = width_ < gridCount_ ? width_ : gridCount_;
  for (int32_t b = 0; b < rows; ++b) {
    float* out = *buffer_ + static_cast<size_t>(b) * static_cast<size_t>(width_);
    const float* in = grid + static_cast<size_t>(b) * n;
    for (int32_t a = 0; a < columns; ++a) out[a] = finish(in[a]);
    for (int32_t a = columns; a < gridCount_; ++a) {
      if (float* cell = Cell(a, b)) *cell = finish(in[a]);
    }
  }
  for (int32_t b = rows; b < gridCount_; ++b) {
    for (int32_t a = 0; a < gridCount_; ++a) {
      if (float* cell = Cell(a, b)) *cell = finish(at(a, b));
    }
  }
  Detach();
  return status::Ok;
}
