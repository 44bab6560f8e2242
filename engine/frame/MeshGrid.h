#pragma once
// Turns a rectangular grid description into triangle meshes: a terrain made
// of patches, each tessellated at its own level of detail, with the borders
// between patches stitched so that neighbours of different detail meet
// without gaps. Heights, colours and texture coordinates come from three
// replaceable callbacks, so the same builder serves any height source.
#include <cstdint>
#include <vector>

#include "engine/entity/EntityBase.h"
#include "base/Status.h"

class cEntity_Manager;

// One axis of a grid description: `count` + 1 patches with their sizes.
struct MeshGridAxis {
  uint32_t header = 0;           // not read by the build
  uint16_t count = 0;            // the axis has count + 1 patches
  const float* sizes = nullptr;  // count + 1 patch sizes
  float extent = 0.0f;           // total size, for the texture coordinates
};

struct MeshGridDesc {
  MeshGridAxis x;
  MeshGridAxis z;
  // (count_x + 1) x (count_z + 1) detail factors, one per patch, x fastest:
  // patch (i, j) reads nodeValues[j * (count_x + 1) + i].
  const float* nodeValues = nullptr;
};

// The 32-byte vertex the renderer's meshes copy.
struct MeshGridVertex {
  float x, y, z;
  uint32_t colour;  // ARGB
  float u0, v0;
  float u1, v1;
};
static_assert(sizeof(MeshGridVertex) == 32, "a grid vertex is 32 bytes");

using MeshGridCellFn = void (*)(MeshGridVertex* vertex);
using MeshGridTextureFn = void (*)(MeshGridVertex* vertex, float a, float b, float sizeA, float sizeB);
using MeshGridHeightFn = float (*)(float x, float z, void* context);
using MeshGridCompareFn = bool (*)(const MeshGridVertex* a, const MeshGridVertex* b);

void MeshGrid_DefaultCell(MeshGridVertex* vertex);
void MeshGrid_DefaultTexture(MeshGridVertex* vertex, float a, float b, float sizeA, float sizeB);
float MeshGrid_DefaultHeight(float x, float z, void* context);

bool MeshGrid_GreaterZ(const MeshGridVertex* a, const MeshGridVertex* b);
bool MeshGrid_GreaterX(const MeshGridVertex* a, const MeshGridVertex* b);

// Zips two ordered runs of vertices into a triangle strip: each triangle is
// (current of A, current of B, the next vertex of whichever run advances).
// Indices are run positions: A's come first (0 .. |A|-1), then B's
// (|A| .. |A|+|B|-1). Fail, with an empty list, when either run is empty.
CoreStatus MeshGrid_BuildRunIndices(const MeshGridVertex* const* runA, uint32_t lengthA,
                                    const MeshGridVertex* const* runB, uint32_t lengthB,
                                    MeshGridCompareFn greater, std::vector<uint32_t>* indices);

// The triangles of a lattice stored run after run (`runs` runs of
// `runLength` vertices each, runs ascending along x, vertices ascending along
// z): neighbouring runs are zipped, so each cell gets (a, b, a+1) and
// (a+1, b, b+1) with b the vertex beside a in the next run.
void MeshGrid_BuildIndexList(uint32_t runLength, uint32_t runs, const MeshGridVertex* vertices,
                             std::vector<uint16_t>* indices);

class cEntity_MeshGrid : public cEntity_Base {
 public:
  // A patch side never has more segments than this, so that the interior
  // and the four borders of one patch stay within 16-bit vertex indices
  // (253 x 253 interior + 1,016 border vertices = 65,025).
  static constexpr int32_t kMaxSegments = 254;
  static constexpr int32_t kMinSegments = 3;

  explicit cEntity_MeshGrid(cEntity_Manager* manager);
  ~cEntity_MeshGrid() override;

  // Builds every patch (the grid must be empty: FreeGrid first). Fail, with
  // nothing built, for a description without sizes or node values, or when
  // a grid is already built.
  CoreStatus BuildGrid(const MeshGridDesc& desc, void* heightContext, float scale, float heightNormaliser,
                       float offsetX, float heightOffset, float offsetZ);
  void FreeGrid();

  // Writes one vertex at grid coordinates (gx, gz) measured from the grid's
  // first corner.
  void WriteVertex(MeshGridVertex* vertex, float extentX, float extentZ, float scale, float gx, float gz,
                   float offsetX, float heightOffset, float offsetZ, void* context, float heightNormaliser) const;

  uint32_t GetPatchCount() const { return patchCount_; }
  uint32_t GetTotalVertexCount() const { return totalVertices_; }
  uint32_t GetTotalIndexCount() const { return totalIndices_; }
  const std::vector<MeshGridVertex>& GetPatchVertices(uint32_t patch) const { return patchVertices_.at(patch); }
  const std::vector<uint16_t>& GetPatchIndices(uint32_t patch) const { return patchIndices_.at(patch); }
  uint32_t GetPatchVertexCount(uint32_t patch) const {
    return patch < patchCount_ ? static_cast<uint32_t>(patchVertices_[patch].size()) : 0;
  }
  uint32_t GetPatchIndexCount(uint32_t patch) const {
    return patch < patchCount_ ? static_cast<uint32_t>(patchIndices_[patch].size()) : 0;
  }

  // Segments along one side: max(3, detail x length) truncated, at most
  // kMaxSegments; a NaN or negative product gives 3.
  static int32_t SegmentsFor(float detail, float length);

 protected:
  MeshGridCellFn cellCallback_ = &MeshGrid_DefaultCell;
  MeshGridTextureFn textureCallback_ = &MeshGrid_DefaultTexture;
  MeshGridHeightFn heightCallback_ = &MeshGrid_DefaultHeight;

 private:
  std::vector<std::vector<MeshGridVertex>> patchVertices_;
  std::vector<std::vector<uint16_t>> patchIndices_;
  uint32_t totalVertices_ = 0;
  uint32_t totalIndices_ = 0;
  uint32_t patchCount_ = 0;
};
