// The plot's ground: the plane wearing the location's plot texture and the
// lines between the view cells. Both are built in plot coordinates (0 .. the
// world size) and drawn at the plot origin, so moving the plot moves them
// without a rebuild.
#include <vector>

#include "construction/GamePlot.h"
#include "engine/services/C3DBaseShader.h"
#include "engine/services/C3DMesh.h"
#include "engine/services/Core3D.h"

namespace {

// Just above the ground so the lines never fight it for depth.
constexpr float kGridLift = 0.02f;

}  // namespace

void cEntity_GamePlot::BuildGroundPlane() {
  std::vector<RenderVertex> v = {PlotVertex(0, 0, 0, 0, 0), PlotVertex(worldSizeX_, 0, 0, 1, 0),
                                 PlotVertex(worldSizeX_, 0, worldSizeZ_, 1, 1), PlotVertex(0, 0, worldSizeZ_, 0, 1)};
  SetMesh(kMesh_Ground, "polymesh_plane_GamePlot", std::move(v), {0, 1, 2, 0, 2, 3}, kMaterial_Ground);
}

void cEntity_GamePlot::ResetPlaneMaterial() {
  C3DMesh* plane = meshes_[kMesh_Ground];
  if (plane && materials_[kMaterial_Ground])
    plane->SetShader(dynamic_cast<C3DMaterialShader*>(materials_[kMaterial_Ground]));
}

void cEntity_GamePlot::BuildGridLines() {
  if (!viewWidth_ || !viewHeight_) return;
  const float sx = worldSizeX_ / viewWidth_, sz = worldSizeZ_ / viewHeight_;
  std::vector<RenderVertex> v;
  std::vector<uint16_t> i;
  // One line per cell border across, then one per border down; texture
  // coordinates count cells so the line texture repeats once a cell.
  for (uint32_t x = 0; x <= viewWidth_; ++x) {
    const auto b = static_cast<uint16_t>(v.size());
    v.push_back(PlotVertex(x * sx, kGridLift, 0, static_cast<float>(x), 0));
    v.push_back(PlotVertex(x * sx, kGridLift, worldSizeZ_, static_cast<float>(x), static_cast<float>(viewHeight_)));
    i.push_back(b);
    i.push_back(static_cast<uint16_t>(b + 1));
  }
  for (uint32_t z = 0; z <= viewHeight_; ++z) {
    const auto b = static_cast<uint16_t>(v.size());
    v.push_back(PlotVertex(0, kGridLift, z * sz, 0, static_cast<float>(z)));
    v.push_back(PlotVertex(worldSizeX_, kGridLift, z * sz, static_cast<float>(viewWidth_), static_cast<float>(z)));
    i.push_back(b);
    i.push_back(static_cast<uint16_t>(b + 1));
  }
  if (v.size() > 0xFFFF) return;
  SetMesh(kMesh_GridLines, "dynamicmesh_grid", std::move(v), std::move(i), kMaterial_GridLines);
  if (meshes_[kMesh_GridLines]) meshes_[kMesh_GridLines]->SetLineMode(1);
}
