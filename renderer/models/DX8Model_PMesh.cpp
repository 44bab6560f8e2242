#include "renderer/models/DX8Model_PMesh.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "platform/graphics/GfxDevice.h"
#include "renderer/DeviceRelease.h"
#include "renderer/Lumetra.h"
#include "renderer/shaders/DX8MaterialShader.h"

namespace gfx = platform::gfx;

DX8Model_PMesh::Anchor DX8Model_PMesh::PlaneAnchor(const std::string& name) {
  const std::string head = name.substr(0, 16);
  if (head == "polymesh_planeul") return Anchor::UpperLeft;
  if (head == "polymesh_planeur") return Anchor::UpperRight;
  if (head == "polymesh_planelr") return Anchor::LowerRight;
  if (head == "polymesh_planecc") return Anchor::Centre;
  return Anchor::LowerLeft;
}

DX8Model_PMesh* DX8Model_PMesh::Create(Lumetra* owner, uint32_t flags, const std::string& name) {
  auto* mesh = new (std::nothrow) DX8Model_PMesh(owner, flags, name);
  if (!mesh || name.rfind("polymesh_plane", 0) != 0) return mesh;
  mesh->BuildPlane(PlaneAnchor(name));
  if (mesh->GetPartCount() != 1) {
    delete mesh;
    return nullptr;
  }
  return mesh;
}

DX8Model_PMesh::DX8Model_PMesh(Lumetra* owner, uint32_t flags, std::string name)
    : DX8Model(owner, flags, std::move(name)) {}

DX8Model_PMesh::~DX8Model_PMesh() {
  DropParts();
  DropVertices();
  instances_.clear();
}

void DX8Model_PMesh::BuildPlane(Anchor anchor) {
  struct Corner {
    float x, y;
  };
  static constexpr Corner kPositions[5][4] = {
      {{0, 0}, {1, 0}, {1, 1}, {0, 1}},                          // lower-left
      {{0, -1}, {1, -1}, {1, 0}, {0, 0}},                        // upper-left
      {{-1, -1}, {0, -1}, {0, 0}, {-1, 0}},                      // upper-right
      {{-1, 0}, {0, 0}, {0, 1}, {-1, 1}},                        // lower-right
      {{-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f}, {-0.5f, 0.5f}},  // centre
  };
  static constexpr Corner kTexture[4] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
  const uint32_t colour = renderer_ ? renderer_->modelVertexColour : 0xFFFFFFFFu;
  RenderVertex corners[4];
  for (int i = 0; i < 4; ++i) {
    const Corner& p = kPositions[static_cast<int>(anchor)][i];
    corners[i] = {p.x, p.y, 0.0f, colour, kTexture[i].x, kTexture[i].y, 0.0f, 0.0f};
  }
  static constexpr uint16_t kValues[6] = {0, 3, 2, 0, 2, 1};
  static constexpr uint16_t kParts[6] = {0, 0, 0, 0, 0, 0};
  BeginEdit();
  SetPartCount(1);
  SetVertices(corners, 4);
  SetIndices(kValues, kParts, 6);
  EndEdit();
  if (!parts_.empty()) parts_[0]->geometry.instances = &instances_;
}

void DX8Model_PMesh::GetBounds(float minimum[3], float maximum[3], JMatrix* matrix) {
  float lo[3] = {0.0f, 0.0f, 0.0f}, hi[3] = {0.0f, 0.0f, 0.0f};
  for (size_t i = 0; i < vertices_.size(); ++i) {
    const RenderVertex& v = vertices_[i];
    const float p[3] = {v.x, v.y, v.z};
    for (int k = 0; k < 3; ++k) {
      lo[k] = i == 0 ? p[k] : std::min(lo[k], p[k]);
      hi[k] = i == 0 ? p[k] : std::max(hi[k], p[k]);
    }
  }
  for (int k = 0; k < 3; ++k) {
    if (minimum) minimum[k] = lo[k];
    if (maximum) maximum[k] = hi[k];
  }
  if (matrix) {
    *matrix = JMatrix::Identity();
    for (int k = 0; k < 3; ++k) matrix->m[3][k] = (lo[k] + hi[k]) / 2.0f;
  }
}

// --- parts ---------------------------------------------------------------------

uint16_t DX8Model_PMesh::GetPartCount() { return editing_ ? 0 : static_cast<uint16_t>(parts_.size()); }

void DX8Model_PMesh::SetPartVisible(uint16_t index, bool visible) {
  if (!editing_ && index < parts_.size()) parts_[index]->visible = visible;
}

bool DX8Model_PMesh::IsPartVisible(uint16_t index) {
  return !editing_ && index < parts_.size() && parts_[index]->visible;
}

void DX8Model_PMesh::SetShader(uint16_t index, C3DBaseShader* shader) {
  if (editing_ || index >= parts_.size()) return;
  Part& part = *parts_[index];
  auto* material = dynamic_cast<DX8MaterialShader*>(shader);
  if (material != part.shader) {
    if (material) material->AddRef();
    if (part.shader) part.shader->Release();
    part.shader = material;
  }
  part.item.shader = part.shader;
  part.item.images.fill(nullptr);
  Lumetra::BindLayerImages(&part.item);
}

C3DBaseShader* DX8Model_PMesh::GetShader(uint16_t index) {
  return !editing_ && index < parts_.size() ? parts_[index]->shader : nullptr;
}

uint16_t DX8Model_PMesh::GetVertexCount() { return editing_ ? 0 : vertexCount_; }

const MeshGeometry* DX8Model_PMesh::PartGeometry(uint16_t index) const {
  return index < parts_.size() ? &parts_[index]->geometry : nullptr;
}

// --- editing -------------------------------------------------------------------

bool DX8Model_PMesh::BeginEdit() {
  if (editing_) return false;
  ClearPending();
  editing_ = true;
  return true;
}

void DX8Model_PMesh::ClearPending() {
  pendingPartCount_.reset();
  pendingVertexCount_.reset();
  pendingVertices_ = nullptr;
  pendingIndexCount_.reset();
  pendingParts_ = nullptr;
  pendingValues_ = nullptr;
  changed_ = false;
}

void DX8Model_PMesh::SetVertices(const RenderVertex* vertices, uint16_t count) {
  if (!editing_) return;
  pendingVertices_ = vertices;
  pendingVertexCount_ = count;
  changed_ = true;
}

void DX8Model_PMesh::SetIndices(const uint16_t* values, const uint16_t* parts, uint32_t count) {
  if (!editing_) return;
  pendingValues_ = values;
  pendingParts_ = parts;
  pendingIndexCount_ = count;
  changed_ = true;
}

void DX8Model_PMesh::SetPartCount(uint16_t count) {
  if (!editing_) return;
  pendingPartCount_ = count;
  changed_ = true;
}

void DX8Model_PMesh::DropParts() {
  for (auto& part : parts_) {
    if (part->shader) part->shader->Release();
    ReleaseDeviceObject(&part->indexBuffer);
  }
  parts_.clear();
}

void DX8Model_PMesh::DropVertices() {
  vertices_.clear();
  vertices_.shrink_to_fit();
  ReleaseDeviceObject(&vertexBuffer_);
  vertexCount_ = 0;
}

void DX8Model_PMesh::Clear() {
  DropParts();
  DropVertices();
  ClearPending();
}

void DX8Model_PMesh::PointPartsAtVertices() {
  for (auto& part : parts_) {
    part->geometry.vertexCount = vertexCount_;
    part->geometry.vertices = static_ ? nullptr : vertices_.data();
    part->geometry.vertexBuffer = vertexBuffer_;
  }
}

// The pending vertices become the polymesh's: into a managed device buffer
// when static, else into its own array. False when the device refuses the
// buffer or its lock.
bool DX8Model_PMesh::ReplaceVertices() {
  DropVertices();
  const uint16_t count = *pendingVertexCount_;
  if (static_) {
    gfx::Device* device = renderer_ ? renderer_->GetDevice() : nullptr;
    uint8_t* data = nullptr;
    if (count == 0) return true;
    if (!device || status::Failed(device->CreateVertexBuffer(count * 32u, gfx::D3DUSAGE_WRITEONLY, 0,
                                                             gfx::D3DPOOL_MANAGED, &vertexBuffer_))) {
      vertexBuffer_ = nullptr;
      return false;
    }
    if (status::Failed(vertexBuffer_->Lock(0, count * 32u, &data, 0)) || !data) return false;
    std::memcpy(data, pendingVertices_, size_t(count) * 32u);
    vertexBuffer_->Unlock();
  } else {
    vertices_.assign(pendingVertices_, pendingVertices_ + count);
  }
  vertexCount_ = count;
  return true;
}

// Deals the pending index values out to their parts in the given order.
// Every part number must name a part and every value a vertex; otherwise
// (or when the device refuses a buffer) false and nothing is dealt.
bool DX8Model_PMesh::DealIndices() {
  const uint32_t count = *pendingIndexCount_;
  std::vector<uint32_t> perPart(parts_.size(), 0);
  for (uint32_t i = 0; i < count; ++i) {
    if (pendingParts_[i] >= parts_.size() || pendingValues_[i] >= vertexCount_) return false;
    ++perPart[pendingParts_[i]];
  }
  gfx::Device* device = renderer_ ? renderer_->GetDevice() : nullptr;
  for (size_t p = 0; p < parts_.size(); ++p) {
    Part& part = *parts_[p];
    part.indices.clear();
    ReleaseDeviceObject(&part.indexBuffer);
    part.geometry.indexCount = 0;
    part.geometry.indices = nullptr;
    part.geometry.indexBuffer = nullptr;
    if (perPart[p] == 0) continue;
    part.indices.reserve(perPart[p]);
  }
  for (uint32_t i = 0; i < count; ++i) parts_[pendingParts_[i]]->indices.push_back(pendingValues_[i]);
  for (auto& part : parts_) {
    const uint32_t n = static_cast<uint32_t>(part->indices.size());
    if (n == 0) continue;
    if (static_) {
      uint8_t* data = nullptr;
      if (!device || status::Failed(device->CreateIndexBuffer(n * 2u, gfx::D3DUSAGE_WRITEONLY, gfx::D3DFMT_INDEX16,
                                                              gfx::D3DPOOL_MANAGED, &part->indexBuffer))) {
        part->indexBuffer = nullptr;
        return false;
      }
      if (status::Failed(part->indexBuffer->Lock(0, n * 2u, &data, 0)) || !data) return false;
      std::memcpy(data, part->indices.data(), size_t(n) * 2u);
      part->indexBuffer->Unlock();
      part->indices.clear();
      part->indices.shrink_to_fit();
      part->geometry.indexBuffer = part->indexBuffer;
    } else {
      part->geometry.indices = part->indices.data();
    }
    part->geometry.indexCount = n;
  }
  return true;
}

bool DX8Model_PMesh::EndEdit() {
  if (!editing_) return false;
  editing_ = false;
  if (!changed_) return true;

  bool replaced = false;
  if (pendingVertexCount_) {
    const bool sameSize = *pendingVertexCount_ == vertexCount_;
    if (!pendingVertices_ || !(sameSize || pendingIndexCount_)) {
      Clear();
      return true;
    }
    if (!ReplaceVertices()) {
      Clear();
      return true;
    }
    replaced = true;
  }

  if (!pendingPartCount_) {
    if (replaced) PointPartsAtVertices();
  } else {
    if (!pendingIndexCount_) {
      Clear();
      return true;
    }
    DropParts();
    for (uint16_t p = 0; p < *pendingPartCount_; ++p) {
      auto part = std::make_unique<Part>();
      part->item.geometry = &part->geometry;
      part->geometry.world = JMatrix::Identity();
      parts_.push_back(std::move(part));
    }
    PointPartsAtVertices();
  }

  if (pendingIndexCount_ && pendingValues_ && pendingParts_ && !DealIndices()) Clear();
  ClearPending();
  return true;
}

// --- plane edits -------------------------------------------------------------------

void DX8Model_PMesh::SetWidth(float w) {
  if (!Editable4()) return;
  RenderVertex* v = vertices_.data();
  switch (PlaneAnchor(Name())) {
    case Anchor::LowerLeft:
    case Anchor::UpperLeft: v[1].x = v[2].x = w; break;
    case Anchor::UpperRight:
    case Anchor::LowerRight: v[0].x = v[3].x = -w; break;
    case Anchor::Centre:
      v[0].x = v[3].x = -0.5f * w;
      v[1].x = v[2].x = 0.5f * w;
      break;
  }
}

void DX8Model_PMesh::SetHeight(float h) {
  if (!Editable4()) return;
  RenderVertex* v = vertices_.data();
  switch (PlaneAnchor(Name())) {
    case Anchor::LowerLeft:
    case Anchor::LowerRight: v[2].y = v[3].y = h; break;
    case Anchor::UpperLeft:
    case Anchor::UpperRight: v[0].y = v[1].y = -h; break;
    case Anchor::Centre:
      v[0].y = v[1].y = -0.5f * h;
      v[2].y = v[3].y = 0.5f * h;
      break;
  }
}

void DX8Model_PMesh::SetTextureRect(int32_t set, float uLeft, float uRight, float vTop, float vBottom) {
  if (!Editable4() || (set != 0 && set != 1)) return;
  const float u[4] = {uLeft, uRight, uRight, uLeft};
  const float v[4] = {vBottom, vBottom, vTop, vTop};
  for (int i = 0; i < 4; ++i) {
    RenderVertex& r = vertices_[size_t(i)];
    (set == 0 ? r.u : r.u2) = u[i];
    (set == 0 ? r.v : r.v2) = v[i];
  }
}

void DX8Model_PMesh::SetTextureExtent(int32_t set, float u, float v) {
  if (!Editable4() || (set != 0 && set != 1)) return;
  RenderVertex* r = vertices_.data();
  if (set == 0) {
    r[1].u = r[2].u = u;
    r[0].v = r[1].v = v;
  } else {
    r[1].u2 = r[2].u2 = u;
    r[0].v2 = r[1].v2 = v;
  }
}

// --- instances and drawing ------------------------------------------------------------

void DX8Model_PMesh::AddInstance(JMatrix* matrix) { instances_.push_back(matrix); }

void DX8Model_PMesh::RemoveInstance(JMatrix* matrix) {
  auto it = std::find(instances_.begin(), instances_.end(), matrix);
  if (it != instances_.end()) instances_.erase(it);
}

void DX8Model_PMesh::Draw(C3DPass* pass, const JMatrix* world) {
  if (editing_ || !renderer_) return;
  for (auto& part : parts_) {
    if (!part->visible || part->geometry.indexCount == 0) continue;
    part->geometry.world = world ? *world : JMatrix::Identity();
    renderer_->QueueTriangles(pass, &part->item);
  }
}
