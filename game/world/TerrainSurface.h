#pragma once
// The terrain's surface from its height field: heights between the samples
// and the texture composed from the location's terrain textures by height.
// The field is 128 x 128 samples, row-major with the row from z and the
// column from x; grid coordinates run from -64 to 64 on both axes.
#include <cstdint>
#include <string>
#include <vector>

inline constexpr int32_t kTerrainSamples = 128;
// A world height is a sample times this (10 world units a cell, 32 cells).
inline constexpr float kTerrainHeightScale = 320.0f;

// The world height at grid (x, z), cosine-interpolated between the samples.
// Points outside the terrain take its nearest edge; no field gives 0.
float TerrainHeightAt(const float* heights, float x, float z);

// One source texture as 32-bit A8R8G8B8 pixels, top row first.
struct TerrainImage {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint32_t> pixels;
};

// Loads an image file (any decoder format; palettes expanded) through the
// path resolver. False, with `why`, when it cannot be read.
bool LoadTerrainImage(const std::string& path, TerrainImage* out, std::string* why);

// The side x side texture: each texel blends the two textures whose heights
// bracket the field's height there, each sampled at its own size. False for
// no textures, an empty one, no field or a side below 1.
bool ComposeTerrainTexture(const float* heights, const std::vector<TerrainImage>& images, uint32_t side,
                           std::vector<uint32_t>* out);
