#include "engine/frame/MeshGrid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>
#include <vector>

namespace {

// Signed area of a triangle in the x-z plane.
double Area(const MeshGridVertex& a, const MeshGridVertex& b, const MeshGridVertex& c) {
  return 0.5 * ((static_cast<double>(b.x) - a.x) * (static_cast<double>(c.z) - a.z) -
                (static_cast<double>(b.z) - a.z) * (static_cast<double>(c.x) - a.x));
}

// Every triangle of the patch has the same winding and together they cover
// the patch exactly once: their areas add up to its size.
void ExpectCovered(const cEntity_MeshGrid& grid, uint32_t patch, double size) {
  const auto& v = grid.GetPatchVertices(patch);
  const auto& idx = grid.GetPatchIndices(patch);
  ASSERT_EQ(idx.size() % 3, 0u);
  double total = 0.0;
  for (size_t t = 0; t < idx.size(); t += 3) {
    ASSERT_LT(idx[t], v.size());
    ASSERT_LT(idx[t + 1], v.size());
    ASSERT_LT(idx[t + 2], v.size());
    const double a = Area(v[idx[t]], v[idx[t + 1]], v[idx[t + 2]]);
    EXPECT_GT(a, 0.0) << "triangle " << t / 3 << " of patch " << patch;
    total += a;
  }
  EXPECT_NEAR(total, size, size * 1e-4);
}

std::set<std::tuple<float, float, float>> PointsOnX(const cEntity_MeshGrid& grid, uint32_t patch, float x) {
  std::set<std::tuple<float, float, float>> out;
  for (const MeshGridVertex& v : grid.GetPatchVertices(patch)) {
    if (v.x == x) out.insert({v.x, v.y, v.z});
  }
  return out;
}

float Ramp(float x, float z, void*) { return 0.5f * x + 0.25f * z; }

class RampGrid : public cEntity_MeshGrid {
 public:
  RampGrid() : cEntity_MeshGrid(nullptr) { heightCallback_ = &Ramp; }
};

TEST(MeshGridTest, OnePatchWithDefaultCallbacks) {
  cEntity_MeshGrid grid(nullptr);
  const float sizes[1] = {10.0f};
  const float detail[1] = {0.0f};  // below 3 segments a side: 3 are used
  MeshGridDesc desc;
  desc.x = {0, 0, sizes, 10.0f};
  desc.z = {0, 0, sizes, 10.0f};
  desc.nodeValues = detail;
  ASSERT_EQ(grid.BuildGrid(desc, nullptr, 2.0f, 10.0f, 0.0f, 5.0f, 0.0f), status::Ok);
  ASSERT_EQ(grid.GetPatchCount(), 1u);
  // Interior 2 x 2, borders along z 4 + 4, along x 2 + 2.
  EXPECT_EQ(grid.GetPatchVertexCount(0), 16u);
  EXPECT_EQ(grid.GetTotalVertexCount(), 16u);
  EXPECT_EQ(grid.GetTotalIndexCount(), grid.GetPatchIndexCount(0));
  ExpectCovered(grid, 0, 20.0 * 20.0);
  for (const MeshGridVertex& v : grid.GetPatchVertices(0)) {
    EXPECT_FLOAT_EQ(v.y, 5.0f);  // the height offset, not scaled
    // Grey of height 5 over 10: 0.5 x 127 + 128 = 191.
    EXPECT_EQ(v.colour, 0xFFBFBFBFu);
    EXPECT_FLOAT_EQ(v.u1, v.x / 2.0f);
    EXPECT_FLOAT_EQ(v.u0, v.x / 2.0f / 10.0f);
  }
  // The grid must be freed before it is built again.
  EXPECT_EQ(grid.BuildGrid(desc, nullptr, 1.0f, 1.0f, 0, 0, 0), status::Fail);
  grid.FreeGrid();
  EXPECT_EQ(grid.GetPatchCount(), 0u);
  EXPECT_EQ(grid.BuildGrid(desc, nullptr, 1.0f, 1.0f, 0, 0, 0), status::Ok);
  MeshGridDesc empty;
  grid.FreeGrid();
  EXPECT_EQ(grid.BuildGrid(empty, nullptr, 1.0f, 1.0f, 0, 0, 0), status::Fail);
}

TEST(MeshGridTest, NeighboursOfDifferentDetailShareTheirBorder) {
  RampGrid grid;
  const float widths[2] = {8.0f, 12.0f};
  const float depths[2] = {6.0f, 10.0f};
  const float detail[4] = {1.0f, 2.5f, 0.5f, 1.5f};  // (0,0) (1,0) (0,1) (1,1)
  MeshGridDesc desc;
  desc.x = {0, 1, widths, 20.0f};
  desc.z = {0, 1, depths, 16.0f};
  desc.nodeValues = detail;
  ASSERT_EQ(grid.BuildGrid(desc, nullptr, 1.0f, 4.0f, 0.0f, 0.0f, 0.0f), status::Ok);
  ASSERT_EQ(grid.GetPatchCount(), 4u);
  ExpectCovered(grid, 0, 8.0 * 6.0);
  ExpectCovered(grid, 1, 12.0 * 6.0);
  ExpectCovered(grid, 2, 8.0 * 10.0);
  ExpectCovered(grid, 3, 12.0 * 10.0);
  // The border at x = 8 between patch 0 and patch 1: the finer detail (2.5
  // x 6 = 15 segments) on both sides, identical positions and heights.
  const auto left = PointsOnX(grid, 0, 8.0f);
  const auto right = PointsOnX(grid, 1, 8.0f);
  EXPECT_EQ(left.size(), 16u);
  EXPECT_EQ(left, right);
  // The border at z = 6 between patch 1 and patch 3 likewise.
  auto onZ = [&](uint32_t patch) {
    std::set<std::tuple<float, float, float>> out;
    for (const MeshGridVertex& v : grid.GetPatchVertices(patch)) {
      if (v.z == 6.0f) out.insert({v.x, v.y, v.z});
    }
    return out;
  };
  EXPECT_EQ(onZ(1), onZ(3));
  EXPECT_EQ(onZ(1).size(), 31u);  // 2.5 x 12 = 30 segments
  uint32_t vertices = 0;
  for (uint32_t p = 0; p < 4; ++p) vertices += grid.GetPatchVertexCount(p);
  EXPECT_EQ(grid.GetTotalVertexCount(), vertices);
}

TEST(MeshGridTest, SegmentsAreCappedFor16BitIndices) {
  cEntity_MeshGrid grid(nullptr);
  const float sizes[1] = {1000.0f};
  const float detail[1] = {100.0f};
  MeshGridDesc desc;
  desc.x = {0, 0, sizes, 1000.0f};
  desc.z = {0, 0, sizes, 1000.0f};
  desc.nodeValues = detail;
  ASSERT_EQ(grid.BuildGrid(desc, nullptr, 1.0f, 1.0f, 0, 0, 0), status::Ok);
  EXPECT_EQ(grid.GetPatchVertexCount(0), 253u * 253u + 2u * 255u + 2u * 253u);
  EXPECT_LE(grid.GetPatchVertexCount(0), 65536u);
  const auto& idx = grid.GetPatchIndices(0);
  EXPECT_LT(*std::max_element(idx.begin(), idx.end()), grid.GetPatchVertexCount(0));
  ExpectCovered(grid, 0, 1000.0 * 1000.0);
  struct Case {
    float detail, length;
    int32_t segments;
  };
  const Case cases[] = {{0.0f, 10.0f, 3}, {-4.0f, 10.0f, 3}, {NAN, 10.0f, 3}, {1.0f, 7.9f, 7},
                        {1e30f, 1e30f, 254}, {INFINITY, 1.0f, 254}};
  for (const Case& c : cases) EXPECT_EQ(cEntity_MeshGrid::SegmentsFor(c.detail, c.length), c.segments);
}

TEST(MeshGridTest, RunsAreZippedIntoTriangles) {
  MeshGridVertex a[2] = {};
  MeshGridVertex b[5] = {};
  for (int i = 0; i < 2; ++i) a[i].z = static_cast<float>(i) * 4.0f;
  for (int i = 0; i < 5; ++i) {
    b[i].x = 1.0f;
    b[i].z = static_cast<float>(i);
  }
  const MeshGridVertex* ra[2] = {&a[0], &a[1]};
  const MeshGridVertex* rb[5] = {&b[0], &b[1], &b[2], &b[3], &b[4]};
  std::vector<uint32_t> out;
  ASSERT_EQ(MeshGrid_BuildRunIndices(ra, 2, rb, 5, &MeshGrid_GreaterZ, &out), status::Ok);
  EXPECT_EQ(out.size(), 15u);  // (2 + 5) - 2 triangles
  EXPECT_EQ(MeshGrid_BuildRunIndices(ra, 0, rb, 5, &MeshGrid_GreaterZ, &out), status::Fail);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(MeshGrid_BuildRunIndices(ra, 2, rb, 0, &MeshGrid_GreaterZ, &out), status::Fail);

  // A 3 x 2 lattice (runs of 3): each cell gives (a, b, a+1), (a+1, b, b+1).
  MeshGridVertex lattice[6] = {};
  for (int r = 0; r < 2; ++r) {
    for (int k = 0; k < 3; ++k) {
      lattice[r * 3 + k].x = static_cast<float>(r);
      lattice[r * 3 + k].z = static_cast<float>(k);
    }
  }
  std::vector<uint16_t> list;
  MeshGrid_BuildIndexList(3, 2, lattice, &list);
  EXPECT_EQ(list, (std::vector<uint16_t>{0, 3, 1, 1, 3, 4, 1, 4, 2, 2, 4, 5}));
  EXPECT_TRUE(MeshGrid_GreaterX(&b[0], &a[0]));
  EXPECT_FALSE(MeshGrid_GreaterZ(&a[0], &b[0]));
}

}  // namespace
