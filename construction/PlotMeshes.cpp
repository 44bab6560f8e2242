// What the land plot shows: the owned, unavailable and built-on overlays,
// the fence along the owned land, the entrance marker, the road leading in
// from outside, and the order they are drawn in.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "construction/GamePlot.h"
#include "construction/PlotWorld.h"
#include "engine/services/C3DBaseShader.h"
#include "engine/services/C3DMesh.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kMeshFlags = 0x28;
constexpr float kFenceHeight = 1.2f;
constexpr float kLeadInWidth = 2.4f;
constexpr int kLeadInSegments = 21;

const char* const kMaterialNames[cEntity_GamePlot::kMaterialCount] = {
    "Models\\Plot\\purchased.jsm",  "Models\\Plot\\unavailable.jsm", "Models\\Plot\\purchasing.jsm",
    "Models\\Plot\\greyedpurchasing.jsm", "Models\\Plot\\selling.jsm", "Models\\Plot\\highlight.jsm",
    "Models\\Plot\\gridunit.jsm",   "Models\\Plot\\fence.jsm",       "Shaders\\roadleadin.jsm",
    nullptr,  // the ground: the location's plot texture
    "Shaders\\gridshader.jsm",
};

}  // namespace

RenderVertex cEntity_GamePlot::PlotVertex(float x, float y, float z, float u, float v) {
  return RenderVertex{x, y, z, kWhite, u, v, u, v};
}

Core3D* cEntity_GamePlot::Renderer() const { return table_ ? table_->graphics : nullptr; }

void cEntity_GamePlot::LoadMaterials() {
  Core3D* renderer = Renderer();
  if (!renderer) return;
  for (uint32_t i = 0; i < kMaterialCount; ++i) {
    if (materials_[i]) continue;
    const bool ownFlags = i == kMaterial_Fence || i == kMaterial_Ground || i == kMaterial_GridLines;
    const std::string name = kMaterialNames[i] ? kMaterialNames[i] : world_ ? world_->GetPlotTexture() : "";
    if (name.empty()) continue;
    materials_[i] = renderer->CreateShader(ownFlags ? 0x108u : 8u, name);
  }
}

void cEntity_GamePlot::ReleaseMeshes() {
  Core3D* renderer = Renderer();
  for (C3DMesh*& mesh : meshes_) {
    if (mesh && renderer) renderer->ReleaseResource(mesh);
    mesh = nullptr;
  }
  for (C3DBaseShader*& material : materials_) {
    if (material && renderer) renderer->ReleaseResource(material);
    material = nullptr;
  }
}

void cEntity_GamePlot::SetMesh(uint32_t slot, const std::string& name, std::vector<RenderVertex> vertices,
                               std::vector<uint16_t> indices, uint32_t material) {
  Core3D* renderer = Renderer();
  if (!renderer) return;
  if (meshes_[slot]) renderer->ReleaseResource(meshes_[slot]);
  meshes_[slot] = nullptr;
  if (vertices.empty()) return;
  C3DMesh* mesh = renderer->CreateMesh(kMeshFlags, name);
  if (!mesh) return;
  auto* v = new RenderVertex[vertices.size()];
  std::memcpy(v, vertices.data(), vertices.size() * sizeof(RenderVertex));
  auto* i = new uint16_t[indices.size()];
  std::memcpy(i, indices.data(), indices.size() * sizeof(uint16_t));
  mesh->SetVertices(v, static_cast<uint32_t>(vertices.size()), true, true);
  mesh->SetIndices(i, static_cast<uint32_t>(indices.size()), true, true);
  if (material < kMaterialCount && materials_[material])
    mesh->SetShader(dynamic_cast<C3DMaterialShader*>(materials_[material]));
  meshes_[slot] = mesh;
}

void cEntity_GamePlot::BuildPlotMeshes(const std::vector<uint16_t>& bitmap, uint32_t slot, const char* name,
                                       bool testRunway, uint32_t material) {
  std::vector<uint32_t> sizes;
  const std::vector<CornerBlock> rects = CoverRectangles(bitmap, testRunway, &sizes);
  std::vector<RenderVertex> vertices;
  std::vector<uint16_t> indices;
  const float y = originY_;
  for (size_t r = 0; r < rects.size() && vertices.size() + 4 <= 0xFFFF; ++r) {
    const uint32_t w = sizes[r] >> 16, h = sizes[r] & 0xFFFF;
    float ax0, az0, ax1, az1, bx0, bz0, bx1, bz1;
    if (!GetCellWorldRect(rects[r].x, rects[r].y, &ax0, &az0, &ax1, &az1, true) ||
        !GetCellWorldRect(rects[r].x + w - 1, rects[r].y + h - 1, &bx0, &bz0, &bx1, &bz1, true))
      continue;
    const auto base = static_cast<uint16_t>(vertices.size());
    vertices.push_back(PlotVertex(ax0, y, az0, 0, 0));
    vertices.push_back(PlotVertex(bx1, y, az0, static_cast<float>(w), 0));
    vertices.push_back(PlotVertex(bx1, y, bz1, static_cast<float>(w), static_cast<float>(h)));
    vertices.push_back(PlotVertex(ax0, y, bz1, 0, static_cast<float>(h)));
    for (uint16_t k : {0, 1, 2, 0, 2, 3}) indices.push_back(static_cast<uint16_t>(base + k));
  }
  char meshName[96];
  std::snprintf(meshName, sizeof meshName, "polymesh_GamePlot_%s", name);
  SetMesh(slot, meshName, std::move(vertices), std::move(indices), material);
}

void cEntity_GamePlot::BuildPurchasedMesh() {
  BuildPlotMeshes(owned_, kMesh_Purchased, "PurchasedMesh", true, kMaterial_Purchased);
}

void cEntity_GamePlot::BuildUnavailableMesh() {
  BuildPlotMeshes(unavailable_, kMesh_Unavailable, "UnavailableMesh", false, kMaterial_Unavailable);
}

void cEntity_GamePlot::BuildTaggedMesh() {
  for (uint32_t i = 0; i < static_cast<uint32_t>(blocksX_) * blocksZ_; ++i) {
    if (IsOwned(i) && BlockHasBuiltCells(i)) TagBlock(static_cast<uint16_t>(i % blocksX_), static_cast<uint16_t>(i / blocksX_));
  }
  BuildPlotMeshes(tagged_, kMesh_Tagged, "TaggedMesh", false, kMaterial_Unavailable);
}

void cEntity_GamePlot::ClearTaggedMesh() {
  SetMesh(kMesh_Tagged, std::string(), {}, {}, kMaterialCount);
  std::fill(tagged_.begin(), tagged_.end(), 0);
}

void cEntity_GamePlot::BuildMarkers() {
  if (!HasEntrance()) {
    SetMesh(kMesh_Markers, std::string(), {}, {}, kMaterialCount);
    return;
  }
  float x0, z0, x1, z1;
  const uint16_t savedW = viewWidth_, savedH = viewHeight_;
  viewWidth_ = width_;
  viewHeight_ = height_;
  const bool inside = GetCellWorldRect(GetEntranceX(), GetEntranceY(), &x0, &z0, &x1, &z1, true);
  viewWidth_ = savedW;
  viewHeight_ = savedH;
  if (!inside) return;
  const float cx = (x0 + x1) / 2, cz = (z0 + z1) / 2, r = (x1 - x0) * 2.0f, top = originY_ + 3.0f;
  // A four-sided point standing on the entrance cell.
  std::vector<RenderVertex> v = {PlotVertex(cx, top, cz, 0.5f, 0.5f), PlotVertex(cx - r, originY_, cz - r, 0, 0),
                                 PlotVertex(cx + r, originY_, cz - r, 1, 0), PlotVertex(cx + r, originY_, cz + r, 1, 1),
                                 PlotVertex(cx - r, originY_, cz + r, 0, 1)};
  std::vector<uint16_t> i = {0, 1, 2, 0, 2, 3, 0, 3, 4, 0, 4, 1};
  SetMesh(kMesh_Markers, "polymesh_Markers", std::move(v), std::move(i), kMaterial_Unavailable);
}

void cEntity_GamePlot::BuildRoadLeadInMesh() {
  if (!HasEntrance()) {
    SetMesh(kMesh_RoadLeadIn, std::string(), {}, {}, kMaterialCount);
    return;
  }
  // From the entrance cell straight out of the plot, across the edge it is on.
  float ex = 0, ez = 0;
  GetCellCentre(GetEntranceX(), GetEntranceY(), &ex, &ez);
  float dx = 0, dz = 0;
  if (GetEntranceX() == 0) {
    dx = -1;
  } else if (GetEntranceX() == width_ - 1) {
    dx = 1;
  } else if (GetEntranceY() == 0) {
    dz = -1;
  } else {
    dz = 1;
  }
  const float step = 640.0f / kLeadInSegments;
  std::vector<RenderVertex> v;
  std::vector<uint16_t> i;
  for (int s = 0; s <= kLeadInSegments; ++s) {
    const float px = ex + dx * step * s, pz = ez + dz * step * s;
    const float h = world_ ? world_->GetHeightAt(px, pz) : originY_;
    v.push_back(PlotVertex(px - dz * kLeadInWidth / 2, h, pz + dx * kLeadInWidth / 2, 0, static_cast<float>(s)));
    v.push_back(PlotVertex(px + dz * kLeadInWidth / 2, h, pz - dx * kLeadInWidth / 2, 1, static_cast<float>(s)));
  }
  for (int s = 0; s < kLeadInSegments; ++s) {
    const auto b = static_cast<uint16_t>(s * 2);
    for (uint16_t k : {0, 1, 3, 0, 3, 2}) i.push_back(static_cast<uint16_t>(b + k));
  }
  SetMesh(kMesh_RoadLeadIn, "polymesh_RoadLeadIn", std::move(v), std::move(i), kMaterial_RoadLeadIn);
}

bool cEntity_GamePlot::TraceFenceRun(int32_t x, int32_t y, int32_t* outX, int32_t* outY, uint8_t* code,
                                     const std::vector<uint16_t>& bitmap) const {
  if (*code > 3) return false;
  bool nb[8];
  if (ReadBlockNeighbours(x, y, nb, bitmap) == 0) return false;
  enum { East, South, West, North };
  static constexpr int kAheadX[4] = {1, 0, -1, 0};
  static constexpr int kAheadY[4] = {0, 1, 0, -1};
  // The region side of each walk: east keeps it south, south west, west
  // north, north east.
  static constexpr int kSideX[4] = {0, -1, 0, 1};
  static constexpr int kSideY[4] = {1, 0, -1, 0};
  static constexpr int kBackX[4] = {1, -1, -1, 1};
  static constexpr int kBackY[4] = {1, 1, -1, -1};
  const uint8_t start = *code;
  int dir = 0;
  switch (start) {
    case 0: dir = !TestBlockBit(x + 1, y, bitmap) ? East : North; break;
    case 1: dir = !TestBlockBit(x, y + 1, bitmap) ? South : East; break;
    case 2: dir = !TestBlockBit(x - 1, y, bitmap) ? West : South; break;
    default: dir = !TestBlockBit(x, y - 1, bitmap) ? North : West; break;
  }
  const int bdx = kBackX[start], bdy = kBackY[start];
  const int entranceBX = cellsPerBlock_ ? GetEntranceX() / cellsPerBlock_ : 0;
  const int entranceBY = cellsPerBlock_ ? GetEntranceY() / cellsPerBlock_ : 0;
  auto atGap = [&](int cx, int cy) {
    if (!HasEntrance()) return false;
    switch (dir) {
      case East: return entranceBY == 0 && entranceBY == cy + bdy && entranceBX == cx;
      case West: return entranceBY == cy + bdy && entranceBY == blocksZ_ - 1 && entranceBX == cx;
      case South: return entranceBX == cx + bdx && entranceBX == blocksX_ - 1 && entranceBY == cy;
      default: return entranceBX == cx + bdx && entranceBX == 0 && entranceBY == cy;
    }
  };
  auto side = [&](int cx, int cy) { return TestBlockBit(cx + kSideX[dir], cy + kSideY[dir], bitmap); };
  auto ahead = [&](int cx, int cy) { return TestBlockBit(cx + kAheadX[dir], cy + kAheadY[dir], bitmap); };
  auto aheadSide = [&](int cx, int cy) {
    return TestBlockBit(cx + kAheadX[dir] + kSideX[dir], cy + kAheadY[dir] + kSideY[dir], bitmap);
  };
  int cx = x, cy = y;
  auto move = [&]() {
    cx += kAheadX[dir];
    cy += kAheadY[dir];
    return !atGap(cx, cy);
  };
  bool open = true;
  if ((side(cx, cy) || aheadSide(cx, cy)) && !ahead(cx, cy)) open = move();
  while (open && side(cx, cy) && !(ahead(cx, cy) && aheadSide(cx, cy))) open = move();
  *outX = cx;
  *outY = cy;
  if (!open) return false;
  static constexpr uint8_t kOuter[4] = {1, 2, 3, 0};
  *code = side(cx, cy) ? static_cast<uint8_t>(4 + dir) : kOuter[dir];
  return true;
}

void cEntity_GamePlot::BuildFenceMesh() {
  if (viewWidth_ != blocksX_) SetFineGrid(false);
  std::vector<CornerBlock> posts = corners_;
  std::vector<RenderVertex> v;
  std::vector<uint16_t> idx;
  fenceRuns_.clear();
  static constexpr int kDiagX[4] = {-1, 1, 1, -1};
  static constexpr int kDiagY[4] = {-1, -1, 1, 1};
  size_t guard = 0;
  while (!posts.empty() && guard++ < 4096) {
    const CornerBlock first = posts.front();
    posts.erase(posts.begin());
    const uint8_t startCode = first.code & 3;
    const int sx = first.x + kDiagX[startCode], sy = first.y + kDiagY[startCode];
    int x = sx, y = sy;
    uint8_t code = startCode;
    for (int steps = 0; steps < 4096; ++steps) {
      int nx = x, ny = y;
      uint8_t next = static_cast<uint8_t>(code & 3);
      const bool closed = TraceFenceRun(x, y, &nx, &ny, &next, owned_);
      FenceRun run{x, y, nx, ny, !closed};
      fenceRuns_.push_back(run);
      if (nx == x && ny == y) break;
      // The post of the turning point reached leaves the working copy.
      posts.erase(std::remove_if(posts.begin(), posts.end(),
                                 [&](const CornerBlock& p) {
                                   const uint8_t c = p.code & 3;
                                   return p.x + kDiagX[c] == nx && p.y + kDiagY[c] == ny;
                                 }),
                  posts.end());
      x = nx;
      y = ny;
      code = next;
      if (!closed) break;
      if (x == sx && y == sy && (code & 3) == startCode) break;
    }
  }
  for (const FenceRun& run : fenceRuns_) {
    if (run.gap) continue;
    float ax0, az0, ax1, az1, bx0, bz0, bx1, bz1;
    if (!GetCellWorldRect(static_cast<uint32_t>(std::clamp(run.x0, 0, blocksX_ - 1)),
                          static_cast<uint32_t>(std::clamp(run.y0, 0, blocksZ_ - 1)), &ax0, &az0, &ax1, &az1, true) ||
        !GetCellWorldRect(static_cast<uint32_t>(std::clamp(run.x1, 0, blocksX_ - 1)),
                          static_cast<uint32_t>(std::clamp(run.y1, 0, blocksZ_ - 1)), &bx0, &bz0, &bx1, &bz1, true))
      continue;
    if (v.size() + 4 > 0xFFFF) break;
    const float length = static_cast<float>((std::abs(run.x1 - run.x0) + std::abs(run.y1 - run.y0)) * cellsPerBlock_);
    const auto b = static_cast<uint16_t>(v.size());
    const float mx0 = (ax0 + ax1) / 2, mz0 = (az0 + az1) / 2, mx1 = (bx0 + bx1) / 2, mz1 = (bz0 + bz1) / 2;
    v.push_back(PlotVertex(mx0, originY_, mz0, 0, 1));
    v.push_back(PlotVertex(mx1, originY_, mz1, length, 1));
    v.push_back(PlotVertex(mx1, originY_ + kFenceHeight, mz1, length, 0));
    v.push_back(PlotVertex(mx0, originY_ + kFenceHeight, mz0, 0, 0));
    for (uint16_t k : {0, 1, 2, 0, 2, 3}) idx.push_back(static_cast<uint16_t>(b + k));
  }
  SetMesh(kMesh_Fence, "polymesh_Fence", std::move(v), std::move(idx), kMaterial_Fence);
}

CoreStatus cEntity_GamePlot::Render(C3DPass* pass, Core3D* renderer) {
  if (!renderer) return 0;
  const JMatrix identity = JMatrix::Identity();
  // The ground and its grid lines are in plot coordinates: drawn at the origin.
  JMatrix atOrigin = identity;
  atOrigin.m[3][0] = originX_;
  atOrigin.m[3][1] = originY_;
  atOrigin.m[3][2] = -originZ_;
  if (meshes_[kMesh_Ground]) renderer->DrawResource(pass, meshes_[kMesh_Ground], &atOrigin);
  if (showGridLines_ && meshes_[kMesh_GridLines]) renderer->DrawResource(pass, meshes_[kMesh_GridLines], &atOrigin);
  const bool dragging = purchaseActive_ || saleActive_;
  if (overPlot_ && !dragging && showHighlight_ && meshes_[kMesh_Highlight])
    renderer->DrawResource(pass, meshes_[kMesh_Highlight], &highlightMatrix_);
  if (dragging && showSelection_ && meshes_[kMesh_Selection])
    renderer->DrawResource(pass, meshes_[kMesh_Selection], &selectionMatrix_);
  for (uint32_t slot : {kMesh_Purchased, kMesh_Unavailable, kMesh_Tagged, kMesh_Markers}) {
    if (!meshes_[slot]) continue;
    if (slot == kMesh_Purchased && !showOwned) continue;
    if (slot == kMesh_Unavailable && !showUnavailable) continue;
    renderer->DrawResource(pass, meshes_[slot], &identity);
  }
  return 0;
}

void cEntity_GamePlot::DrawTranslucent(C3DPass* pass, Core3D* renderer) {
  if (!renderer) return;
  const JMatrix identity = JMatrix::Identity();
  if (!overview_) {
    for (uint32_t slot : {kMesh_Fence, kMesh_RoadLeadIn})
      if (meshes_[slot]) renderer->DrawResource(pass, meshes_[slot], &identity);
  }
  if (showBuildingGrid_ && meshes_[kMesh_BuildingGrid])
    renderer->DrawResource(pass, meshes_[kMesh_BuildingGrid], &identity);
}
