// The road model: one quad per section, straight road and junctions drawn
// with two materials; junction quads show the quarter of the junction
// texture that matches the roads around them.
#include <algorithm>
#include <string>

#include "construction/GamePlot.h"
#include "construction/QuadModels.h"
#include "construction/RoadManager.h"
#include "engine/services/C3DModel.h"
#include "engine/services/Core3D.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/GlobalWrapper.h"

namespace {

struct UV {
  float u, v;
};

// By (above, right, below, left) road, above the most significant bit: the
// texture coordinates of quad vertices 0 to 3. The quarters: u 0-0.5, v 0-0.5
// four-way; u 0.5-1, v 0-0.5 T; u 0-0.5, v 0.5-1 corner; u 0.5-1, v 0.5-1
// straight or dead end.
constexpr UV kJunctionUV[16][4] = {
    {{0, 1}, {1, 1}, {1, 0}, {0, 0}},
    {{0.5f, 1}, {1, 1}, {1, 0.5f}, {0.5f, 0.5f}},
    {{0.5f, 0.5f}, {0.5f, 1}, {1, 1}, {1, 0.5f}},
    {{0.5f, 1}, {0.5f, 0.5f}, {0, 0.5f}, {0, 1}},
    {{0.5f, 1}, {1, 1}, {1, 0.5f}, {0.5f, 0.5f}},
    {{0.5f, 1}, {1, 1}, {1, 0.5f}, {0.5f, 0.5f}},
    {{0, 1}, {0.5f, 1}, {0.5f, 0.5f}, {0, 0.5f}},
    {{0.5f, 0.5f}, {1, 0.5f}, {1, 0}, {0.5f, 0}},
    {{0.5f, 0.5f}, {0.5f, 1}, {1, 1}, {1, 0.5f}},
    {{0.5f, 0.5f}, {0, 0.5f}, {0, 1}, {0.5f, 1}},
    {{0.5f, 0.5f}, {0.5f, 1}, {1, 1}, {1, 0.5f}},
    {{1, 0.5f}, {1, 0}, {0.5f, 0}, {0.5f, 0.5f}},
    {{0, 0.5f}, {0, 1}, {0.5f, 1}, {0.5f, 0.5f}},
    {{1, 0}, {0.5f, 0}, {0.5f, 0.5f}, {1, 0.5f}},
    {{0.5f, 0}, {0.5f, 0.5f}, {1, 0.5f}, {1, 0}},
    {{0, 0.5f}, {0.5f, 0.5f}, {0.5f, 0}, {0, 0}},
};

void SetUV(RoadSection* section, const UV (&uv)[4]) {
  for (int i = 0; i < 4; ++i) {
    section->quad[i].u = uv[i].u;
    section->quad[i].v = uv[i].v;
  }
}

void SetRunUV(RoadSection* section, bool alongX) {
  const float w = section->width;
  const float l = section->length;
  if (alongX) SetUV(section, {{0, l}, {w, l}, {w, 0}, {0, 0}});
  else SetUV(section, {{0, 0}, {0, w}, {l, w}, {l, 0}});
}

}  // namespace

void cEntity_RoadManager::SetQuad(RoadSection* section) {
  cEntity_GamePlot* plot = Plot();
  if (!plot) return;
  const float cell = plot->GetCellSize();
  float x0 = 0, z0 = 0, x1 = 0, z1 = 0;
  plot->GetCellWorldRect(section->x, section->y, &x0, &z0, &x1, &z1, true);
  const float y = plot->GetOriginY();
  const float w = cell * section->width;
  const float l = cell * section->length;
  const float corners[4][2] = {{x0, z0 + l}, {x0 + w, z0 + l}, {x0 + w, z0}, {x0, z0}};
  for (int i = 0; i < 4; ++i) {
    RenderVertex& v = section->quad[i];
    v.x = corners[i][0];
    v.y = y;
    v.z = corners[i][1];
    v.diffuse = 0xFFFFFFFFu;
    v.u2 = v.v2 = 0.0f;
  }
  if (section->kind == RoadAlongY) SetRunUV(section, false);
  else if (section->kind != RoadJunction) SetRunUV(section, true);
}

void cEntity_RoadManager::RefreshTextureCoords() {
  for (RoadSection* section : retexture_) {
    const int32_t x = section->x;
    const int32_t y = section->y;
    if (section->kind == RoadLoneCell) {
      // A lone cell takes the direction of the road beside it.
      if (HasRoadAt(x - 1, y) || HasRoadAt(x + 1, y)) section->kind = RoadAlongX;
      else if (HasRoadAt(x, y - 1) || HasRoadAt(x, y + 1)) section->kind = RoadAlongY;
    }
    switch (section->kind) {
      case RoadAlongY:
        SetRunUV(section, false);
        break;
      case RoadJunction: {
        const int index = (HasRoadAt(x, y - 1) ? 8 : 0) | (HasRoadAt(x + 1, y) ? 4 : 0) |
                          (HasRoadAt(x, y + 1) ? 2 : 0) | (HasRoadAt(x - 1, y) ? 1 : 0);
        SetUV(section, kJunctionUV[index]);
        break;
      }
      default:
        SetRunUV(section, true);
        break;
    }
  }
  retexture_.clear();
}

void cEntity_RoadManager::RebuildRoadMesh() {
  std::vector<QuadEntry> quads;
  quads.reserve(sections_.size());
  for (const RoadSection* section : sections_) {
    quads.push_back(QuadEntry{section->quad, static_cast<uint16_t>(section->kind == RoadJunction ? 1 : 0)});
  }
  UploadQuadModels(Table() ? Table()->graphics : nullptr, 0x28, "polymesh_Roads", models_, quads, 2, materials_);
}

void cEntity_RoadManager::ReleaseModels() {
  Core3D* graphics = Table() ? Table()->graphics : nullptr;
  for (C3DModel* model : models_) {
    if (graphics) graphics->ReleaseResource(model);
  }
  models_.clear();
}

void cEntity_RoadManager::LoadMaterials() {
  Core3D* graphics = Table() ? Table()->graphics : nullptr;
  if (!graphics) return;
  Exit();
  const std::string base = GetManager() ? GetManager()->GetResourcePath() + "Shaders\\" : std::string("Shaders\\");
  materials_[0] = graphics->CreateShader(8, base + "roadtest2.jsm");
  materials_[1] = graphics->CreateShader(8, base + "roadintersections.jsm");
}

void cEntity_RoadManager::Draw(C3DPass* pass) {
  Core3D* graphics = Table() ? Table()->graphics : nullptr;
  if (!graphics || PavementHidden(Table())) return;
  for (C3DModel* model : models_) graphics->DrawModel(pass, model, &worldMatrix_);
}
