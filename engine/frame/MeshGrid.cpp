#include "engine/frame/MeshGrid.h"

#include <cmath>

namespace {

// Low 8 bits of the integer part of v; values the integer range cannot hold
// (and NaN) give the grey of height 0.
uint32_t GreyLevel(float heightOverNormaliser) {
  const double v = static_cast<double>(heightOverNormaliser) * 127.0 + 128.0;
  if (!std::isfinite(v) || std::fabs(v) >= 9.0e18) return 128;
  return static_cast<uint32_t>(static_cast<int64_t>(v)) & 0xFFu;
}

// Position k of n along a side of length `length` from `start`; the last
// point is start + length exactly, the sum the next patch starts from, so
// neighbours agree bit for bit.
float Along(float start, float length, int32_t k, int32_t n) {
  if (k >= n) return start + length;
  return start + static_cast<float>(k) * (length / static_cast<float>(n));
}

}  // namespace

void MeshGrid_DefaultCell(MeshGridVertex* vertex) { vertex->colour = 0xFFFFFFFFu; }

void MeshGrid_DefaultTexture(MeshGridVertex* vertex, float a, float b, float sizeA, float sizeB) {
  vertex->u1 = a;
  vertex->v1 = b;
  vertex->u0 = sizeA != 0.0f ? a / sizeA : 0.0f;
  vertex->v0 = sizeB != 0.0f ? b / sizeB : 0.0f;
}

float MeshGrid_DefaultHeight(float, float, void*) { return 0.0f; }

bool MeshGrid_GreaterZ(const MeshGridVertex* a, const MeshGridVertex* b) { return a->z > b->z; }

bool MeshGrid_GreaterX(const MeshGridVertex* a, const MeshGridVertex* b) { return a->x > b->x; }

CoreStatus MeshGrid_BuildRunIndices(const MeshGridVertex* const* runA, uint32_t lengthA,
                                    const MeshGridVertex* const* runB, uint32_t lengthB,
                                    MeshGridCompareFn greater, std::vector<uint32_t>* indices) {
  indices->clear();
  if (lengthA == 0 || lengthB == 0 || !runA || !runB || !greater) return status::Fail;
  indices->reserve((static_cast<size_t>(lengthA) + lengthB) * 3);
  uint32_t a = 0;
  uint32_t b = 0;
  while (a + 1 < lengthA || b + 1 < lengthB) {
    bool advanceB;
    if (a + 1 >= lengthA) {
      advanceB = true;
    } else if (b + 1 >= lengthB) {
      advanceB = false;
    } else {
      // On equal coordinates A advances.
      advanceB = greater(runA[a + 1], runB[b + 1]);
    }
    indices->push_back(a);
    indices->push_back(lengthA + b);
    if (advanceB) {
      ++b;
      indices->push_back(lengthA + b);
    } else {
      ++a;
      indices->push_back(a);
    }
  }
  return status::Ok;
}

void MeshGrid_BuildIndexList(uint32_t runLength, uint32_t runs, const MeshGridVertex* vertices,
                             std::vector<uint16_t>* indices) {
  indices->clear();
  if (runLength == 0 || runs < 2 || !vertices) return;
  indices->reserve(static_cast<size_t>(runLength) * runs * 6);
  std::vector<const MeshGridVertex*> first(runLength);
  std::vector<const MeshGridVertex*> second(runLength);
  std::vector<uint32_t> pair;
  for (uint32_t r = 0; r + 1 < runs; ++r) {
    const uint32_t start = r * runLength;
    for (uint32_t k = 0; k < runLength; ++k) {
      first[k] = &vertices[start + k];
      second[k] = &vertices[start + runLength + k];
    }
    if (status::Failed(MeshGrid_BuildRunIndices(first.data(), runLength, second.data(), runLength,
                                                &MeshGrid_GreaterZ, &pair))) {
      continue;
    }
    // Run positions of the pair are the lattice positions shifted by the
    // first run's start.
    for (uint32_t p : pair) indices->push_back(static_cast<uint16_t>(start + p));
  }
  indices->shrink_to_fit();
}

cEntity_MeshGrid::cEntity_MeshGrid(cEntity_Manager* manager) : cEntity_Base(manager, kEntityType_Base) {}

cEntity_MeshGrid::~cEntity_MeshGrid() = default;

int32_t cEntity_MeshGrid::SegmentsFor(float detail, float length) {
  const double v = static_cast<double>(detail) * static_cast<double>(length);
  if (!(v >= kMinSegments)) return kMinSegments;
  if (v >= kMaxSegments) return kMaxSegments;
  return static_cast<int32_t>(v);
}

void cEntity_MeshGrid::WriteVertex(MeshGridVertex* vertex, float extentX, float extentZ, float scale, float gx,
                                   float gz, float offsetX, float heightOffset, float offsetZ, void* context,
                                   float heightNormaliser) const {
  const float X = gx + offsetX;
  const float Z = gz + offsetZ;
  vertex->x = X * scale;
  vertex->z = Z * scale;
  vertex->y = heightCallback_(X, Z, context) + heightOffset;
  cellCallback_(vertex);
  textureCallback_(vertex, gx, gz, extentX, extentZ);
  const uint32_t g = GreyLevel(heightNormaliser != 0.0f ? vertex->y / heightNormaliser : 0.0f);
  vertex->colour = 0xFF000000u | (g << 16) | (g << 8) | g;
}

void cEntity_MeshGrid::FreeGrid() {
  patchVertices_.clear();
  patchIndices_.clear();
  totalVertices_ = 0;
  totalIndices_ = 0;
  patchCount_ = 0;
}

CoreStatus cEntity_MeshGrid::BuildGrid(const MeshGridDesc& desc, void* heightContext, float scale,
                                       float heightNormaliser, float offsetX, float heightOffset, float offsetZ) {
  if (patchCount_ != 0 || !desc.x.sizes || !desc.z.sizes || !desc.nodeValues) return status::Fail;
  const uint32_t columns = static_cast<uint32_t>(desc.x.count) + 1;
  const uint32_t rows = static_cast<uint32_t>(desc.z.count) + 1;
  patchCount_ = columns * rows;
  patchVertices_.assign(patchCount_, {});
  patchIndices_.assign(patchCount_, {});

  auto node = [&](uint32_t i, uint32_t j) { return desc.nodeValues[static_cast<size_t>(j) * columns + i]; };
  // A border takes the finer of the two patches that share it, so both
  // put the same vertices on it; the grid's outside uses the patch alone.
  auto borderSegments = [&](float own, float neighbour, float length) {
    return SegmentsFor(std::fmax(own, neighbour), length);
  };

  std::vector<uint32_t> pair;
  std::vector<const MeshGridVertex*> runA;
  std::vector<const MeshGridVertex*> runB;
  std::vector<uint32_t> indexA;
  std::vector<uint32_t> indexB;

  float x0 = 0.0f;
  for (uint32_t i = 0; i < columns; ++i) {
    const float width = desc.x.sizes[i];
    float z0 = 0.0f;
    for (uint32_t j = 0; j < rows; ++j) {
      const float depth = desc.z.sizes[j];
      const uint32_t patch = j * columns + i;
      const float detail = node(i, j);
      const int32_t sx = SegmentsFor(detail, width);
      const int32_t sz = SegmentsFor(detail, depth);
      const int32_t zFirst = borderSegments(detail, i > 0 ? node(i - 1, j) : detail, depth);
      const int32_t zLast = borderSegments(detail, i + 1 < columns ? node(i + 1, j) : detail, depth);
      const int32_t xFirst = borderSegments(detail, j > 0 ? node(i, j - 1) : detail, width);
      const int32_t xLast = borderSegments(detail, j + 1 < rows ? node(i, j + 1) : detail, width);

      // Layout: interior lattice column by column, then the border along z
      // at the first x and at the last x (corners included), then the border
      // along x at the first z and at the last z (corners excluded).
      const uint32_t innerRun = static_cast<uint32_t>(sz - 1);
      const uint32_t innerRuns = static_cast<uint32_t>(sx - 1);
      const uint32_t interior = innerRun * innerRuns;
      const uint32_t zFirstStart = interior;
      const uint32_t zLastStart = zFirstStart + static_cast<uint32_t>(zFirst + 1);
      const uint32_t xFirstStart = zLastStart + static_cast<uint32_t>(zLast + 1);
      const uint32_t xLastStart = xFirstStart + static_cast<uint32_t>(xFirst - 1);
      const uint32_t total = xLastStart + static_cast<uint32_t>(xLast - 1);

      std::vector<MeshGridVertex>& v = patchVertices_[patch];
      v.resize(total);
      auto write = [&](uint32_t at, float gx, float gz) {
        WriteVertex(&v[at], desc.x.extent, desc.z.extent, scale, gx, gz, offsetX, heightOffset, offsetZ,
                    heightContext, heightNormaliser);
      };
      for (int32_t c = 1; c < sx; ++c) {
        for (int32_t r = 1; r < sz; ++r) {
          write(static_cast<uint32_t>((c - 1) * (sz - 1) + (r - 1)), Along(x0, width, c, sx), Along(z0, depth, r, sz));
        }
      }
      for (int32_t k = 0; k <= zFirst; ++k) write(zFirstStart + static_cast<uint32_t>(k), x0, Along(z0, depth, k, zFirst));
      for (int32_t k = 0; k <= zLast; ++k) {
        write(zLastStart + static_cast<uint32_t>(k), x0 + width, Along(z0, depth, k, zLast));
      }
      for (int32_t k = 1; k < xFirst; ++k) {
        write(xFirstStart + static_cast<uint32_t>(k - 1), Along(x0, width, k, xFirst), z0);
      }
      for (int32_t k = 1; k < xLast; ++k) {
        write(xLastStart + static_cast<uint32_t>(k - 1), Along(x0, width, k, xLast), z0 + depth);
      }

      std::vector<uint16_t>& out = patchIndices_[patch];
      MeshGrid_BuildIndexList(innerRun, innerRuns, v.data(), &out);

      // Zips two runs given as patch vertex indices and appends the
      // triangles mapped back to patch indices. The run on the lower x (or,
      // along x, the higher z) goes first so every triangle keeps the
      // interior's winding.
      auto stitch = [&](const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, MeshGridCompareFn greater) {
        runA.clear();
        runB.clear();
        for (uint32_t k : a) runA.push_back(&v[k]);
        for (uint32_t k : b) runB.push_back(&v[k]);
        if (status::Failed(MeshGrid_BuildRunIndices(runA.data(), static_cast<uint32_t>(runA.size()), runB.data(),
                                                    static_cast<uint32_t>(runB.size()), greater, &pair))) {
          return;
        }
        const uint32_t lengthA = static_cast<uint32_t>(a.size());
        for (uint32_t p : pair) out.push_back(static_cast<uint16_t>(p < lengthA ? a[p] : b[p - lengthA]));
      };
      auto innerColumn = [&](uint32_t c) {
        indexB.clear();
        for (uint32_t r = 0; r < innerRun; ++r) indexB.push_back(c * innerRun + r);
        return indexB;
      };
      auto innerRow = [&](uint32_t r) {
        indexB.clear();
        for (uint32_t c = 0; c < innerRuns; ++c) indexB.push_back(c * innerRun + r);
        return indexB;
      };

      // Along z at the first x: border, then the first interior column.
      indexA.clear();
      for (int32_t k = 0; k <= zFirst; ++k) indexA.push_back(zFirstStart + static_cast<uint32_t>(k));
      stitch(indexA, innerColumn(0), &MeshGrid_GreaterZ);
      // Along z at the last x: the last interior column, then the border.
      indexA.clear();
      for (int32_t k = 0; k <= zLast; ++k) indexA.push_back(zLastStart + static_cast<uint32_t>(k));
      stitch(innerColumn(innerRuns - 1), indexA, &MeshGrid_GreaterZ);
      // Along x the runs borrow the corners of the z borders, so the corner
      // triangles close against those borders' first and last triangles.
      indexA.clear();
      indexA.push_back(zFirstStart);
      for (int32_t k = 1; k < xFirst; ++k) indexA.push_back(xFirstStart + static_cast<uint32_t>(k - 1));
      indexA.push_back(zLastStart);
      stitch(innerRow(0), indexA, &MeshGrid_GreaterX);
      indexA.clear();
      indexA.push_back(zFirstStart + static_cast<uint32_t>(zFirst));
      for (int32_t k = 1; k < xLast; ++k) indexA.push_back(xLastStart + static_cast<uint32_t>(k - 1));
      indexA.push_back(zLastStart + static_cast<uint32_t>(zLast));
      stitch(indexA, innerRow(innerRun - 1), &MeshGrid_GreaterX);

      totalVertices_ += static_cast<uint32_t>(v.size());
      totalIndices_ += static_cast<uint32_t>(out.size());
      z0 += depth;
    }
    x0 += width;
  }
  return status::Ok;
}
