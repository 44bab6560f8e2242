// The placement previews: the flat cell-sized plane under a footprint and
// the quad that a road-class strip shows while it is dragged.
#include <cstring>

#include "construction/BuildPlacement.h"
#include "construction/GamePlot.h"
#include "engine/services/C3DMesh.h"
#include "engine/services/C3DModel.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"

namespace {

constexpr uint32_t kPreviewFlags = 0x28;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

RenderVertex Corner(float x, float z, float u, float v) { return RenderVertex{x, 0.0f, z, kWhite, u, v, u, v}; }

}  // namespace

void cBuildPlacement::ReleasePreview() {
  Core3D* graphics = table_ ? table_->graphics : nullptr;
  if (previewMesh_ && graphics) graphics->ReleaseResource(previewMesh_);
  previewMesh_ = nullptr;
  previewW_ = previewL_ = 0;
}

C3DModel* MakeFootprintPlane(Core3D* graphics, float cellSize, C3DBaseShader* shader) {
  if (!graphics) return nullptr;
  C3DModel* model = graphics->CreateModel(kPreviewFlags, "polymesh_plane_BLEH");
  if (!model) return nullptr;
  const float s = cellSize;
  RenderVertex vertices[4] = {Corner(0, 0, 0, 0), Corner(s, 0, 1, 0), Corner(s, s, 1, 1), Corner(0, s, 0, 1)};
  uint16_t indices[6] = {0, 3, 2, 2, 1, 0};
  uint16_t parts[6] = {};
  model->BeginEdit();
  model->SetPartCount(1);
  model->SetVertices(vertices, 4);
  model->SetIndices(indices, parts, 6);
  model->EndEdit();
  if (shader) model->SetShader(0, shader);
  return model;
}

C3DModel* cBuildPlacement::BuildFootprintPlane(const std::string& shaderName) {
  Core3D* graphics = table_ ? table_->graphics : nullptr;
  cEntity_GamePlot* plot = table_ ? table_->gamePlot : nullptr;
  if (!graphics || !plot) return nullptr;
  C3DBaseShader* shader = graphics->CreateShader(8, shaderName);
  if (shader) {
    if (previewShader_) graphics->ReleaseResource(previewShader_);
    previewShader_ = shader;
  }
  return MakeFootprintPlane(graphics, plot->GetCellSize(), shader);
}

C3DMesh* cBuildPlacement::BuildPreviewQuad(C3DMesh* old, uint16_t width, uint16_t length) {
  Core3D* graphics = table_ ? table_->graphics : nullptr;
  cEntity_GamePlot* plot = table_ ? table_->gamePlot : nullptr;
  if (old == previewMesh_ && width == previewW_ && length == previewL_ && old) return old;
  if (old && graphics) graphics->ReleaseResource(old);
  if (old == previewMesh_) previewMesh_ = nullptr;
  previewW_ = previewL_ = 0;
  if (!graphics || !plot || width == 0 || length == 0 || width > 255 || length > 255) return nullptr;
  C3DMesh* mesh = graphics->CreateMesh(kPreviewFlags, "polymesh_PlacementPreview");
  if (!mesh) return nullptr;
  const float s = plot->GetCellSize();
  const float w = width * s, l = length * s;
  // The texture repeats once a cell along the strip's long side.
  const float tu = length < width ? static_cast<float>(length) : static_cast<float>(width);
  const float tv = length < width ? static_cast<float>(width) : static_cast<float>(length);
  auto* vertices = new RenderVertex[4]{Corner(0, 0, 0, 0), Corner(w, 0, tu, 0), Corner(w, l, tu, tv),
                                       Corner(0, l, 0, tv)};
  auto* indices = new uint16_t[6]{0, 3, 2, 2, 1, 0};
  mesh->SetVertices(vertices, 4, true, true);
  mesh->SetIndices(indices, 6, true, true);
  if (auto* material = dynamic_cast<C3DMaterialShader*>(previewShader_)) mesh->SetShader(material);
  previewW_ = width;
  previewL_ = length;
  return mesh;
}
