#include "renderer/models/DX8Model_Def01.h"

#include <utility>

#include "renderer/Lumetra.h"
#include "renderer/shaders/DX8MaterialShader.h"

namespace {

// Twelve triangles, two per face.
constexpr uint16_t kCubeIndices[36] = {0, 1, 2, 0, 2, 3, 4, 0, 3, 4, 3, 7, 5, 4, 7, 5, 7, 6,
                                       1, 5, 6, 1, 6, 2, 4, 5, 1, 4, 1, 0, 3, 2, 6, 3, 6, 7};

}  // namespace

DX8Model_Def01::DX8Model_Def01(Lumetra* owner, uint32_t flags, std::string name)
    : DX8Model(owner, flags, std::move(name)) {
  // Each corner's colour names its position; alpha is 0 throughout.
  vertices_ = {{{-1, 1, -1, 0x0000FF00u, 0, 0, 0, 0},
                {1, 1, -1, 0x00FFFF00u, 1, 0, 0, 0},
                {1, -1, -1, 0x00FF0000u, 1, 1, 0, 0},
                {-1, -1, -1, 0x00000000u, 0, 1, 0, 0},
                {-1, 1, 1, 0x0000FFFFu, 0, 0, 0, 0},
                {1, 1, 1, 0x00FFFFFFu, 1, 0, 0, 0},
                {1, -1, 1, 0x00FF00FFu, 1, 1, 0, 0},
                {-1, -1, 1, 0x000000FFu, 0, 1, 0, 0}}};
  geometry_.vertexCount = 8;
  geometry_.vertices = vertices_.data();
  geometry_.indexCount = 36;
  geometry_.indices = kCubeIndices;
  item_.geometry = &geometry_;
}

DX8Model_Def01::~DX8Model_Def01() {
  if (shader_) shader_->Release();
}

void DX8Model_Def01::GetBounds(float minimum[3], float maximum[3], JMatrix* matrix) {
  for (int k = 0; k < 3; ++k) {
    if (minimum) minimum[k] = -1.0f;
    if (maximum) maximum[k] = 1.0f;
  }
  if (matrix) *matrix = JMatrix::Identity();
}

void DX8Model_Def01::SetShader(uint16_t, C3DBaseShader* shader) {
  auto* material = dynamic_cast<DX8MaterialShader*>(shader);
  if (material) material->AddRef();
  if (shader_) shader_->Release();
  shader_ = material;
  item_.shader = shader_;
  item_.images.fill(nullptr);
  Lumetra::BindLayerImages(&item_);
}

C3DBaseShader* DX8Model_Def01::GetShader(uint16_t) { return shader_; }

void DX8Model_Def01::Draw(C3DPass* pass, const JMatrix* world) {
  if (!renderer_) return;
  geometry_.world = world ? *world : JMatrix::Identity();
  renderer_->QueueTriangles(pass, &item_);
}
