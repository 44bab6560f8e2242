#include "game/world/Terrain.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/StringUtil.h"
#include "engine/math/JMatrix.h"
#include "engine/services/C3DBaseShader.h"
#include "engine/services/C3DImage.h"
#include "engine/services/C3DMesh.h"
#include "engine/services/C3DModel.h"
#include "engine/services/Core3D.h"
#include "game/world/TerrainHost.h"
#include "game/world/TerrainSurface.h"
#include "platform/DebugOutput.h"
#include "simulation/SimulationClock.h"

namespace {

uint8_t g_terrainSerial = 0;

// The 4 x 4 grid description over 128 x 128 cells: detail 0.45 on the outer
// ring rising to 0.85 * 0.85 / 0.45 in the middle.
struct TerrainGridDesc {
  float sizes[5];
  float nodes[25];
  MeshGridDesc desc;
  TerrainGridDesc() {
    const float r = std::sqrt(0.85f / 0.45f);
    for (float& s : sizes) s = 128.0f / 5.0f;
    const int offsets[5] = {-4, -2, 0, 2, 4};
    for (int j = 0; j < 5; ++j) {
      for (int i = 0; i < 5; ++i) {
        const int k = std::min(4 - std::abs(offsets[i]), 4 - std::abs(offsets[j]));
        nodes[j * 5 + i] = 0.45f * std::pow(r, static_cast<float>(k));
      }
    }
    desc.x = MeshGridAxis{0, 4, sizes, 128.0f};
    desc.z = MeshGridAxis{0, 4, sizes, 128.0f};
    desc.nodeValues = nodes;
  }
};

}  // namespace

cEntity_Terrain::cEntity_Terrain(cEntity_Manager* manager, TerrainHost* host)
    : cEntity_MeshGrid(manager), host_(host), serial_(g_terrainSerial++) {
  heightCallback_ = &cEntity_Terrain::HeightCallback;
}

cEntity_Terrain::~cEntity_Terrain() { Release(); }

float cEntity_Terrain::HeightCallback(float x, float z, void* context) {
  return TerrainHeightAt(static_cast<const float*>(context), x, z);
}

CoreStatus cEntity_Terrain::Exit() {
  FreeGrid();
  return status::Ok;
}

CoreStatus cEntity_Terrain::Start() {
  eventMask = kTimeEvent_Tick;
  cSimulation_Clock* clock = host_ ? host_->GameClock() : nullptr;
  if (clock && !clock->IsRegistered(this)) clock->RegisterTimeObject(this);
  return status::Ok;
}

CoreStatus cEntity_Terrain::Stop() {
  cSimulation_Clock* clock = host_ ? host_->GameClock() : nullptr;
  if (clock && clock->IsRegistered(this)) clock->UnregisterTimeObject(this);
  FreeGrid();
  Release();
  return status::Ok;
}

void cEntity_Terrain::Release() {
  Core3D* renderer = host_ ? host_->Renderer() : nullptr;
  if (renderer) {
    if (model_) renderer->ReleaseResource(model_);
    if (material_) renderer->ReleaseResource(material_);
    if (texture_) renderer->ReleaseResource(texture_);
    if (snowMaterial_) renderer->ReleaseResource(snowMaterial_);
    if (snowMesh_) renderer->ReleaseResource(snowMesh_);
  }
  model_ = nullptr;
  material_ = nullptr;
  texture_ = nullptr;
  snowMaterial_ = nullptr;
  snowMesh_ = nullptr;
  SetVisible(false);
}

int32_t cEntity_Terrain::OnTime(uint32_t, uint32_t, uint32_t eventFlag, float elapsed) {
  if (eventFlag != kTimeEvent_Tick || elapsed == 0.0f) return 0;
  if (snowState == 1) {
    snowAmount += elapsed * snowRate;
    if (snowAmount >= 1.0f) {
      snowAmount = 1.0f;
      snowState = 2;
    }
  } else if (snowState == 3) {
    snowAmount += elapsed * snowRate;
    if (snowAmount <= 0.0f) {
      snowAmount = 0.0f;
      snowState = 0;
    }
  }
  return 0;
}

CoreStatus cEntity_Terrain::Render(C3DPass* pass, Core3D* renderer) {
  if (!IsVisible() || !model_) return status::Ok;
  if (!renderer) renderer = host_ ? host_->Renderer() : nullptr;
  if (!renderer) return status::Ok;
  const JMatrix identity = JMatrix::Identity();
  model_->SetShader(0, material_);
  renderer->DrawModel(pass, model_, &identity);
  if (snowMaterial_ && snowMesh_ && snowState != 0) {
    if (auto* snow = dynamic_cast<C3DMaterialShader*>(snowMaterial_)) {
      snow->SetAmbient(1.0f, 1.0f, 1.0f, snowAmount);
      snow->SetDiffuse(1.0f, 1.0f, 1.0f, snowAmount);
    }
    renderer->DrawResource(pass, snowMesh_, &identity);
  }
  return status::Ok;
}

CoreStatus cEntity_Terrain::Build(const std::vector<std::string>& textureNames, uint32_t textureSize) {
  auto fail = [this](const char* why) {
    platform::DebugPrintf("[cEntity_Terrain::Build] %s\n", why);
    FreeGrid();
    Release();
    return status::Fail;
  };
  Core3D* renderer = host_ ? host_->Renderer() : nullptr;
  const float* heights = host_ ? host_->Heights() : nullptr;
  if (!renderer || !heights) return fail("there is no renderer or no height field");
  if (textureNames.empty()) return fail("the location names no terrain texture");
  FreeGrid();
  Release();
  static const TerrainGridDesc grid;
  if (status::Failed(BuildGrid(grid.desc, const_cast<float*>(heights), 10.0f, kTerrainHeightScale, -64.0f, 0.0f,
                               -64.0f)))
    return fail("the mesh grid cannot be built");
  if (status::Failed(BuildTexture(textureNames, textureSize))) return fail("the terrain texture cannot be made");
  if (status::Failed(BuildSurface())) return fail("the terrain model cannot be made");
  SetVisible(true);
  return status::Ok;
}

CoreStatus cEntity_Terrain::BuildTexture(const std::vector<std::string>& textureNames, uint32_t side) {
  Core3D* renderer = host_->Renderer();
  std::vector<TerrainImage> images(textureNames.size());
  for (size_t i = 0; i < textureNames.size(); ++i) {
    std::string why;
    const std::string path = host_->ResourceDirectory() + textureNames[i];
    if (!LoadTerrainImage(path, &images[i], &why)) {
      platform::DebugPrintf("[cEntity_Terrain::Build] %s: %s\n", path.c_str(), why.c_str());
      return status::Fail;
    }
  }
  material_ = renderer->CreateShader(8, host_->ResourceDirectory() + "terrain.jsm");
  if (!material_) return status::Fail;
  std::vector<uint32_t> pixels;
  if (side == 0 || side > 65535 || !ComposeTerrainTexture(host_->Heights(), images, side, &pixels)) return status::Fail;
  texture_ = renderer->CreateImage(0x124, "terrain_composed");
  if (!texture_ || texture_->BuildFromPixels(renderer, static_cast<uint16_t>(side), static_cast<uint16_t>(side),
                                             true, pixels.data()) < 0)
    return status::Fail;
  DrawPlot(texture_);
  if (auto* layers = dynamic_cast<C3DMaterialShader*>(material_)) layers->SetLayerImage(0, texture_);
  return status::Ok;
}

// The plot texture repeats ten times over a quad drawn into the composed
// texture with an orthographic projection.
void cEntity_Terrain::DrawPlot(C3DImage* image) {
  Core3D* renderer = host_->Renderer();
  const std::string plot = host_->PlotTexture();
  if (plot.empty()) return;
  C3DMesh* quad = renderer->CreateMesh(0x68, "dynamicmesh_temp");
  if (!quad) return;
  C3DBaseShader* plotMaterial = renderer->CreateShader(8, host_->ResourceDirectory() + plot);
  RenderVertex v[4] = {{-0.5f, 0.5f, 0.0f, 0xFFFFFFFFu, 0.0f, 0.0f, 0.0f, 0.0f},
                       {0.5f, 0.5f, 0.0f, 0xFFFFFFFFu, 10.0f, 0.0f, 1.0f, 0.0f},
                       {0.5f, -0.5f, 0.0f, 0xFFFFFFFFu, 10.0f, 10.0f, 1.0f, 1.0f},
                       {-0.5f, -0.5f, 0.0f, 0xFFFFFFFFu, 0.0f, 10.0f, 0.0f, 1.0f}};
  uint16_t indices[6] = {0, 1, 3, 1, 2, 3};
  if (auto* material = dynamic_cast<C3DMaterialShader*>(plotMaterial)) quad->SetShader(material);
  quad->SetVertices(v, 4, false, true);
  quad->SetIndices(indices, 6, false, true);
  const JMatrix identity = JMatrix::Identity();
  JMatrix projection = JMatrix::Identity();
  projection.m[0][0] = 2.0f / std::max<float>(image->GetWidth(), 1.0f);
  projection.m[1][1] = 2.0f / std::max<float>(image->GetHeight(), 1.0f);
  quad->RenderToImage(image, &identity, &identity, &projection);
  renderer->ReleaseResource(quad);
  if (plotMaterial) renderer->ReleaseResource(plotMaterial);
}

CoreStatus cEntity_Terrain::BuildSurface() {
  Core3D* renderer = host_->Renderer();
  std::vector<RenderVertex> vertices;
  indices_.clear();
  for (uint32_t p = 0; p < GetPatchCount(); ++p) {
    const size_t base = vertices.size();
    for (const MeshGridVertex& g : GetPatchVertices(p)) {
      RenderVertex r;
      std::memcpy(&r, &g, sizeof r);
      vertices.push_back(r);
    }
    for (uint16_t i : GetPatchIndices(p)) {
      if (base + i > 0xFFFF) return status::Fail;
      indices_.push_back(static_cast<uint16_t>(base + i));
    }
  }
  if (vertices.empty() || vertices.size() > 0xFFFF) return status::Fail;
  char name[32];
  std::snprintf(name, sizeof name, "polymesh_terrain%d", serial_);
  model_ = renderer->CreateModel(0x28, name);
  if (!model_ || !model_->BeginEdit()) return status::Fail;
  model_->SetVertices(vertices.data(), static_cast<uint16_t>(vertices.size()));
  // Every index in part 0: a polymesh deals out only indices that carry
  // their part numbers, and draws nothing without them.
  const std::vector<uint16_t> parts(indices_.size(), 0);
  model_->SetIndices(indices_.data(), parts.data(), static_cast<uint32_t>(indices_.size()));
  model_->SetPartCount(1);
  if (!model_->EndEdit()) return status::Fail;
  model_->SetShader(0, material_);

  std::string option;
  const bool snowOff = host_->GetOption("App", "SnowAccumulation", &option) && str::EqualsNoCase(option, "false");
  if (!snowOff) {
    snowMaterial_ = renderer->CreateShader(0x108, host_->ResourceDirectory() + "snow.jsm");
    snowMesh_ = renderer->CreateMesh(0x68, "dynamicmesh_terrainsnow");
    if (snowMesh_) {
      surface_ = vertices;
      snowMesh_->SetVertices(surface_.data(), static_cast<uint32_t>(surface_.size()), false, true);
      snowMesh_->SetIndices(indices_.data(), static_cast<uint32_t>(indices_.size()), false, true);
      if (auto* material = dynamic_cast<C3DMaterialShader*>(snowMaterial_)) snowMesh_->SetShader(material);
    }
  }
  return status::Ok;
}
