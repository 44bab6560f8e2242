#include "renderer/models/DX8Model_SSM.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

#include "platform/graphics/GfxDevice.h"
#include "renderer/DeviceRelease.h"
#include "renderer/C3DPassDX8.h"
#include "renderer/Lumetra.h"
#include "renderer/formats/SSMObject.h"
#include "renderer/shaders/DX8MaterialShader.h"

namespace gfx = platform::gfx;

namespace {

constexpr float kFloatMax = std::numeric_limits<float>::max();

// A group is filled and bounded only when its file says it is shown and it
// has something to show.
bool Drawable(const SSMGroup& g) { return (g.flags & SSMGroup::kVisible) && g.triangleCount > 0 && g.cornerCount > 0; }

}  // namespace

DX8Model_SSM* DX8Model_SSM::Create(Lumetra* owner, SSMObject* object, uint32_t flags, const std::string& name) {
  if (!object) return nullptr;
  auto* model = new (std::nothrow) DX8Model_SSM(owner, object, flags, name);
  if (model && !model->Build(flags)) {
    delete model;
    return nullptr;
  }
  return model;
}

DX8Model_SSM::DX8Model_SSM(Lumetra* owner, SSMObject* object, uint32_t flags, std::string name)
    : DX8Model(owner, flags, std::move(name)), object_(object) {
  handle_ = object_->CreateHandle();
  SetStatic();
}

bool DX8Model_SSM::Build(uint32_t flags) {
  // Every corner of every group is one vertex addressed by a 16-bit index.
  uint32_t corners = 0;
  for (const auto& g : object_->groups) corners += static_cast<uint32_t>(std::max(g->cornerCount, 0));
  if (corners > 0xFFFFu) return false;
  vertexCount_ = static_cast<uint16_t>(corners);

  for (size_t i = 0; i < object_->groups.size(); ++i) {
    auto record = std::make_unique<Record>();
    record->item.geometry = &record->geometry;
    record->geometry.instances = &instances_;
    auto* shared = i < handle_->groups.size() ? dynamic_cast<DX8MaterialShader*>(handle_->groups[i]->shader) : nullptr;
    if (shared && renderer_) {
      // Each model draws with a shader instance of its own, so its script
      // variables are its own. A material over a picture stores RF_EMPTY,
      // which asked again would give a blank picture: only the kind of
      // shader is asked for.
      const uint32_t shaderFlags = (shared->GetFlags() & ~uint32_t(RF_FINDONLY | RF_EMPTY)) | RF_UNSHARED;
      C3DBaseShader* made = renderer_->CreateShader(shaderFlags, shared->Name());
      record->shader = dynamic_cast<DX8MaterialShader*>(made);
      if (!record->shader && made) made->Release();
      if (record->shader) {
        record->item.shader = record->shader;
        Lumetra::BindLayerImages(&record->item);
      }
    }
    records_.push_back(std::move(record));
  }

  frameA_ = frameB_ = 0;
  blend_ = 0.0f;
  if (!static_) {
    systemVertices_.resize(vertexCount_);
    FillVertices(systemVertices_.data());
    for (auto& r : records_) {
      r->geometry.vertexCount = vertexCount_;
      r->geometry.vertices = systemVertices_.data();
    }
  } else if (!MakeVertexBuffer(false) || !RefillBuffer(false)) {
    return false;
  }
  (void)flags;
  return BuildIndexLists();
}

DX8Model_SSM::~DX8Model_SSM() {
  for (auto& r : records_) {
    if (r->shader) r->shader->Release();
    ReleaseDeviceObject(&r->indexBuffer);
  }
  records_.clear();
  ReleaseDeviceObject(&vertexBuffer_);
  if (object_ && handle_) object_->ReleaseHandle(handle_);
  delete handle_;
  instances_.clear();
}

bool DX8Model_SSM::MakeVertexBuffer(bool dynamic) {
  ReleaseDeviceObject(&vertexBuffer_);
  dynamicBuffer_ = dynamic ? 1 : 0;
  for (auto& r : records_) {
    r->geometry.vertexBuffer = nullptr;
    r->geometry.vertexCount = 0;
  }
  gfx::Device* device = renderer_ ? renderer_->GetDevice() : nullptr;
  if (vertexCount_ == 0) return true;
  const uint32_t usage = dynamic ? gfx::D3DUSAGE_WRITEONLY | gfx::D3DUSAGE_DYNAMIC : gfx::D3DUSAGE_WRITEONLY;
  const uint32_t pool = dynamic ? gfx::D3DPOOL_DEFAULT : gfx::D3DPOOL_MANAGED;
  if (!device || status::Failed(device->CreateVertexBuffer(vertexCount_ * 32u, usage, 0, pool, &vertexBuffer_)) ||
      !vertexBuffer_) {
    vertexBuffer_ = nullptr;
    return false;
  }
  for (auto& r : records_) {
    r->geometry.vertexBuffer = vertexBuffer_;
    r->geometry.vertexCount = vertexCount_;
  }
  return true;
}

bool DX8Model_SSM::RefillBuffer(bool discard) {
  if (vertexCount_ == 0) return true;
  if (!vertexBuffer_) return false;
  uint8_t* data = nullptr;
  if (status::Failed(vertexBuffer_->Lock(0, vertexCount_ * 32u, &data, discard ? gfx::D3DLOCK_DISCARD : 0)) || !data)
    return false;
  FillVertices(reinterpret_cast<RenderVertex*>(data));
  vertexBuffer_->Unlock();
  return true;
}

void DX8Model_SSM::FillVertices(RenderVertex* out) const {
  const uint32_t colour = renderer_ ? renderer_->modelVertexColour : 0xFFFFFFFFu;
  const size_t frames = object_->frames.size();
  const SSMFrame* a = size_t(frameA_) < frames ? object_->frames[size_t(frameA_)].get() : nullptr;
  const SSMFrame* b = size_t(frameB_) < frames ? object_->frames[size_t(frameB_)].get() : nullptr;
  const float t = blend_;
  size_t next = 0;
  for (const auto& g : object_->groups) {
    const size_t count = static_cast<size_t>(std::max(g->cornerCount, 0));
    if (Drawable(*g) && a) {
      for (size_t c = 0; c < count && c < g->corners.size(); ++c) {
        const SSMCorner& corner = g->corners[c];
        const size_t vi = static_cast<size_t>(corner.vertex);
        SSMVec3 p = vi < a->vertices.size() ? a->vertices[vi] : SSMVec3{};
        if (t != 0.0f && b && vi < b->vertices.size()) {
          const SSMVec3& q = b->vertices[vi];
          p = {(q.x - p.x) * t + p.x, (q.y - p.y) * t + p.y, (q.z - p.z) * t + p.z};
        }
        out[next + c] = {p.x, p.y, p.z, colour, corner.u, corner.v, corner.u, corner.v};
      }
    }
    // A group not filled keeps its range, so every fill puts each group at
    // the same place.
    next += count;
  }
}

bool DX8Model_SSM::BuildIndexLists() {
  gfx::Device* device = renderer_ ? renderer_->GetDevice() : nullptr;
  uint32_t base = 0;
  for (size_t i = 0; i < records_.size(); ++i) {
    const SSMGroup& g = *object_->groups[i];
    Record& r = *records_[i];
    const size_t n = std::min(size_t(3) * size_t(std::max(g.triangleCount, 0)), g.cornerIndices.size());
    r.indices.resize(n);
    for (size_t k = 0; k < n; ++k) r.indices[k] = static_cast<uint16_t>(g.cornerIndices[k] + base);
    base += static_cast<uint32_t>(std::max(g.cornerCount, 0));
    r.geometry.indexCount = static_cast<uint32_t>(n);
    if (n == 0) continue;
    // The list stays in memory too: a model made dynamic later draws from it.
    r.geometry.indices = r.indices.data();
    if (!static_) continue;
    uint8_t* data = nullptr;
    if (!device || status::Failed(device->CreateIndexBuffer(uint32_t(n) * 2u, gfx::D3DUSAGE_WRITEONLY,
                                                            gfx::D3DFMT_INDEX16, gfx::D3DPOOL_MANAGED, &r.indexBuffer)) ||
        !r.indexBuffer) {
      r.indexBuffer = nullptr;
      return false;
    }
    if (status::Failed(r.indexBuffer->Lock(0, uint32_t(n) * 2u, &data, 0)) || !data) return false;
    std::memcpy(data, r.indices.data(), n * 2u);
    r.indexBuffer->Unlock();
    r.geometry.indexBuffer = r.indexBuffer;
  }
  return true;
}

const MeshGeometry* DX8Model_SSM::GroupGeometry(uint16_t index) const {
  return index < records_.size() ? &records_[index]->geometry : nullptr;
}

// --- anchors -----------------------------------------------------------------

int32_t DX8Model_SSM::GetAnchorCount() { return object_ ? static_cast<int32_t>(object_->anchors.size()) : 0; }

void DX8Model_SSM::SetAnchor(int32_t index) { rootAnchor_ = index >= 0 && index < GetAnchorCount() ? index : -1; }

std::string DX8Model_SSM::GetAnchorName(int32_t index) {
  return index >= 0 && index < GetAnchorCount() ? object_->anchors[size_t(index)]->name : "";
}

bool DX8Model_SSM::AnchorTransformAt(int32_t index, int32_t frameA, int32_t frameB, float blend, float q[4],
                                     float p[3], float* length) const {
  if (!object_ || index < 0 || size_t(index) >= object_->anchors.size()) return false;
  const SSMAnchor& a = *object_->anchors[size_t(index)];
  const size_t fa = size_t(frameA), fb = size_t(frameB);
  if (frameA < 0 || fa >= a.positions.size() || fa >= a.orientations.size() || fa >= a.lengths.size()) return false;
  SSMQuat rotation = a.orientations[fa];
  SSMVec3 position = a.positions[fa];
  float l = a.lengths[fa];
  if (blend != 0.0f && frameB >= 0 && fb < a.positions.size() && fb < a.orientations.size() && fb < a.lengths.size()) {
    const SSMVec3& pb = a.positions[fb];
    l = l + (a.lengths[fb] - l) * blend;
    position = {position.x + (pb.x - position.x) * blend, position.y + (pb.y - position.y) * blend,
                position.z + (pb.z - position.z) * blend};
    rotation = SSMQuatSlerp(rotation, a.orientations[fb], blend);
  }
  if (q) {
    q[0] = rotation.x;
    q[1] = rotation.y;
    q[2] = rotation.z;
    q[3] = rotation.w;
  }
  if (p) {
    p[0] = position.x;
    p[1] = position.y;
    p[2] = position.z;
  }
  if (length) *length = l;
  return true;
}

bool DX8Model_SSM::AnchorMatrixAt(int32_t index, int32_t frameA, int32_t frameB, float blend, JMatrix* out) const {
  float q[4], p[3], l = 1.0f;
  if (!out || !AnchorTransformAt(index, frameA, frameB, blend, q, p, &l)) return false;
  const float x = q[0], y = q[1], z = q[2], w = q[3];
  JMatrix m = JMatrix::Identity();
  m.m[0][0] = 1 - 2 * (y * y + z * z);
  m.m[0][1] = 2 * (x * y - z * w);
  m.m[0][2] = 2 * (x * z + y * w);
  m.m[1][0] = 2 * (x * y + z * w);
  m.m[1][1] = 1 - 2 * (x * x + z * z);
  m.m[1][2] = 2 * (y * z - x * w);
  m.m[2][0] = 2 * (x * z - y * w);
  m.m[2][1] = 2 * (y * z + x * w);
  m.m[2][2] = 1 - 2 * (x * x + y * y);
  m.m[3][0] = p[0];
  m.m[3][1] = p[1];
  m.m[3][2] = p[2];
  // A zero-length anchor axis would scale by infinity: it keeps unit scale.
  const float s = l != 0.0f ? 1.0f / l : 1.0f;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 3; ++c) m.m[r][c] *= s;
  *out = m;
  return true;
}

bool DX8Model_SSM::GetAnchorTransform(int32_t index, float rotation[4], float position[3], float* scale) {
  return AnchorTransformAt(index, frameA_, frameB_, blend_, rotation, position, scale);
}

bool DX8Model_SSM::GetAnchorMatrix(int32_t index, JMatrix* out) {
  return AnchorMatrixAt(index, frameA_, frameB_, blend_, out);
}

void DX8Model_SSM::GetBounds(float minimum[3], float maximum[3], JMatrix* matrix) {
  if (!object_ || !handle_) return;
  int32_t fa = 0, fb = 0;
  float t = 0.0f;
  const SSMAnimHandle* chosen = nullptr;
  for (const auto& h : handle_->anims)
    if (h->state & 1u) {
      chosen = h.get();
      break;
    }
  if (!chosen && !handle_->anims.empty()) chosen = handle_->anims.back().get();
  if (chosen) {
    fa = chosen->frameA;
    fb = chosen->frameB;
    t = chosen->blend;
  }
  JMatrix m = JMatrix::Identity();
  if (rootAnchor_ != -1 && !AnchorMatrixAt(rootAnchor_, fa, fb, t, &m)) m = JMatrix::Identity();

  float lo[3] = {kFloatMax, kFloatMax, kFloatMax};
  float hi[3] = {-kFloatMax, -kFloatMax, -kFloatMax};
  for (size_t i = 0; i < object_->groups.size(); ++i) {
    const SSMGroup& g = *object_->groups[i];
    if (!IsPartVisible(static_cast<uint16_t>(i)) || g.triangleCount <= 0 || g.cornerCount <= 0) continue;
    if (fa < 0 || size_t(fa) >= g.frameBoxes.size()) continue;
    SSMBox box = g.frameBoxes[size_t(fa)];
    if (t != 0.0f && fb >= 0 && size_t(fb) < g.frameBoxes.size()) {
      const SSMBox& b = g.frameBoxes[size_t(fb)];
      box = {box.minX + (b.minX - box.minX) * t, box.minY + (b.minY - box.minY) * t,
             box.minZ + (b.minZ - box.minZ) * t, box.maxX + (b.maxX - box.maxX) * t,
             box.maxY + (b.maxY - box.maxY) * t, box.maxZ + (b.maxZ - box.maxZ) * t};
    }
    lo[0] = std::min(lo[0], box.minX);
    lo[1] = std::min(lo[1], box.minY);
    lo[2] = std::min(lo[2], box.minZ);
    hi[0] = std::max(hi[0], box.maxX);
    hi[1] = std::max(hi[1], box.maxY);
    hi[2] = std::max(hi[2], box.maxZ);
  }
  float outLo[3] = {kFloatMax, kFloatMax, kFloatMax};
  float outHi[3] = {-kFloatMax, -kFloatMax, -kFloatMax};
  for (int corner = 0; corner < 8; ++corner) {
    const float p[3] = {(corner & 1) ? hi[0] : lo[0], (corner & 2) ? hi[1] : lo[1], (corner & 4) ? hi[2] : lo[2]};
    for (int c = 0; c < 3; ++c) {
      const float v = p[0] * m.m[0][c] + p[1] * m.m[1][c] + p[2] * m.m[2][c] + m.m[3][c];
      outLo[c] = std::min(outLo[c], v);
      outHi[c] = std::max(outHi[c], v);
    }
  }
  for (int c = 0; c < 3; ++c) {
    if (minimum) minimum[c] = outLo[c];
    if (maximum) maximum[c] = outHi[c];
  }
  if (matrix) {
    *matrix = JMatrix::Identity();
    for (int c = 0; c < 3; ++c) matrix->m[3][c] = (outLo[c] + outHi[c]) / 2.0f;
  }
}

// --- parts -------------------------------------------------------------------

uint16_t DX8Model_SSM::GetPartCount() { return object_ ? static_cast<uint16_t>(object_->groups.size()) : 0; }

void DX8Model_SSM::SetPartVisible(uint16_t index, bool visible) {
  if (!handle_ || index >= handle_->groups.size()) return;
  uint32_t& flags = handle_->groups[index]->flags;
  flags = visible ? (flags | 1u) : (flags & ~1u);
}

bool DX8Model_SSM::IsPartVisible(uint16_t index) {
  return handle_ && index < handle_->groups.size() && (handle_->groups[index]->flags & 1u);
}

std::string DX8Model_SSM::GetPartName(uint16_t index) {
  return object_ && index < object_->groups.size() ? object_->groups[index]->name : "";
}

void DX8Model_SSM::SetShader(uint16_t index, C3DBaseShader* shader) {
  if (index >= records_.size()) return;
  Record& r = *records_[index];
  auto* material = dynamic_cast<DX8MaterialShader*>(shader);
  if (material) material->AddRef();
  if (r.shader) r.shader->Release();
  r.shader = material;
  r.item.shader = material;
  r.item.images.fill(nullptr);
  Lumetra::BindLayerImages(&r.item);
}

C3DBaseShader* DX8Model_SSM::GetShader(uint16_t index) {
  return index < records_.size() ? records_[index]->shader : nullptr;
}

// --- animations ----------------------------------------------------------------

int32_t DX8Model_SSM::GetAnimationCount() { return object_ ? static_cast<int32_t>(object_->anims.size()) : 0; }

void DX8Model_SSM::PlayAnimation(int32_t index, float, float speed, bool loop, bool reverse) {
  if (!handle_ || currentAnim_ >= 0 || index < 0 || index >= GetAnimationCount()) return;
  const uint8_t mode = static_cast<uint8_t>((loop ? SSMAnimHandle::kLoop : 0) | (reverse ? SSMAnimHandle::kReverse : 0));
  handle_->Play(static_cast<int16_t>(index), 0, speed, mode);
  currentAnim_ = index;
  verticesDirty_ = 1;
}

void DX8Model_SSM::AdvanceAnimation(int32_t index, float dt) {
  if (handle_) handle_->Advance(static_cast<int16_t>(index), dt);
}

void DX8Model_SSM::StopAnimation(int32_t index) {
  if (!handle_) return;
  handle_->Stop(static_cast<int16_t>(index));
  verticesDirty_ = 0;
  currentAnim_ = -1;
}

float DX8Model_SSM::GetAnimationLength(int32_t index) {
  return index >= 0 && index < GetAnimationCount() ? object_->anims[size_t(index)]->duration : 0.0f;
}

float DX8Model_SSM::GetAnimationTime(int32_t index) {
  if (!handle_ || index < 0 || size_t(index) >= handle_->anims.size()) return 0.0f;
  return handle_->IsPlaying(static_cast<int16_t>(index)) ? handle_->anims[size_t(index)]->time : 0.0f;
}

void DX8Model_SSM::SetAnimationWeight(int32_t index, float weight) {
  if (handle_) handle_->SetWeight(static_cast<int16_t>(index), weight);
}
float DX8Model_SSM::GetAnimationWeight(int32_t index) {
  return handle_ ? handle_->GetWeight(static_cast<int16_t>(index)) : 0.0f;
}
void DX8Model_SSM::SetAnimationSpeed(int32_t index, float speed) {
  if (handle_) handle_->SetSpeed(static_cast<int16_t>(index), speed);
}
float DX8Model_SSM::GetAnimationSpeed(int32_t index) {
  return handle_ ? handle_->GetSpeed(static_cast<int16_t>(index)) : 1.0f;
}
void DX8Model_SSM::SetAnimationLoop(int32_t index, bool loop) {
  if (handle_) handle_->SetLoop(static_cast<int16_t>(index), loop);
}
bool DX8Model_SSM::IsAnimationLooping(int32_t index) {
  return handle_ && handle_->GetLoop(static_cast<int16_t>(index)) != 0;
}
void DX8Model_SSM::SetAnimationReverse(int32_t index, bool reverse) {
  if (handle_) handle_->SetReverse(static_cast<int16_t>(index), reverse);
}
bool DX8Model_SSM::IsAnimationReversed(int32_t index) {
  return handle_ && handle_->GetReverse(static_cast<int16_t>(index)) != 0;
}
bool DX8Model_SSM::IsAnimationPlaying(uint32_t index) {
  return handle_ && index <= 0x7FFF && handle_->IsPlaying(static_cast<int16_t>(index)) != 0;
}

std::string DX8Model_SSM::GetAnimationName(int32_t index) {
  return index >= 0 && index < GetAnimationCount() ? object_->anims[size_t(index)]->name : "";
}

int32_t DX8Model_SSM::FindAnimation(const std::string& name) {
  if (!object_) return -1;
  for (size_t i = 0; i < object_->anims.size(); ++i)
    if (object_->anims[i]->name == name) return static_cast<int32_t>(i);
  return -1;
}

uint16_t DX8Model_SSM::GetVertexCount() { return object_ ? static_cast<uint16_t>(object_->vertexCount) : 0xFFFF; }
uint16_t DX8Model_SSM::GetFaceCount() { return object_ ? static_cast<uint16_t>(object_->faceCount) : 0xFFFF; }

// --- instances and drawing -------------------------------------------------------

void DX8Model_SSM::AddInstance(JMatrix* matrix) { instances_.push_back(matrix); }

void DX8Model_SSM::RemoveInstance(JMatrix* matrix) {
  auto it = std::find(instances_.begin(), instances_.end(), matrix);
  if (it != instances_.end()) instances_.erase(it);
}

void DX8Model_SSM::ReleaseDeviceBuffers() {
  // Only the dynamic buffer lives in the device's own pool; it is made
  // again (and refilled) at the next draw.
  if (!dynamicBuffer_ || !vertexBuffer_) return;
  ReleaseDeviceObject(&vertexBuffer_);
  for (auto& r : records_) r->geometry.vertexBuffer = nullptr;
  verticesDirty_ = 1;
}

void DX8Model_SSM::Draw(C3DPass* pass, const JMatrix* world) {
  if (!dynamic_cast<C3DPassDX8*>(pass) || !renderer_ || !object_ || !handle_) return;
  if (currentAnim_ >= 0 && size_t(currentAnim_) < handle_->anims.size()) {
    const SSMAnimHandle& h = *handle_->anims[size_t(currentAnim_)];
    frameA_ = h.frameA;
    frameB_ = h.frameB;
    blend_ = h.blend;
    if (!(h.state & 1u)) currentAnim_ = -1;
  }
  const JMatrix w = world ? *world : JMatrix::Identity();
  if (rootAnchor_ != drawnRootAnchor_ || currentAnim_ != drawnAnim_ || frameA_ != drawnFrameA_ ||
      frameB_ != drawnFrameB_ || blend_ != drawnBlend_) {
    if (!GetAnchorMatrix(rootAnchor_, &rootMatrix_)) rootMatrix_ = JMatrix::Identity();
  }
  drawMatrix_ = JMath_MatrixProduct(rootMatrix_, w);
  drawnRootAnchor_ = rootAnchor_;
  drawnAnim_ = currentAnim_;
  drawnFrameA_ = frameA_;
  drawnFrameB_ = frameB_;
  drawnBlend_ = blend_;

  // A buffer lost to a device reset is made and filled again; a model
  // made dynamic after creation gets its system array.
  if (static_ && vertexCount_ > 0 && !vertexBuffer_) verticesDirty_ = 1;
  if (!static_ && systemVertices_.size() != vertexCount_) {
    systemVertices_.resize(vertexCount_);
    ReleaseDeviceObject(&vertexBuffer_);
    dynamicBuffer_ = 0;
    for (auto& r : records_) {
      r->geometry.vertexBuffer = nullptr;
      r->geometry.vertices = systemVertices_.data();
      r->geometry.vertexCount = vertexCount_;
    }
    verticesDirty_ = 1;
  }
  if (verticesDirty_) {
    const bool animating = currentAnim_ >= 0;
    if (!static_) {
      FillVertices(systemVertices_.data());
    } else {
      const bool wantDynamic = animating;
      if (!vertexBuffer_ || (dynamicBuffer_ != 0) != wantDynamic) {
        // Without a buffer the draw is skipped; the next one tries again.
        if (!MakeVertexBuffer(wantDynamic)) return;
      }
      if (!RefillBuffer(wantDynamic)) return;
    }
    if (!animating) verticesDirty_ = 0;
  }

  for (size_t i = 0; i < records_.size(); ++i) {
    // A hidden part is not drawn.
    if (!(handle_->groups[i]->flags & 1u)) continue;
    records_[i]->geometry.world = drawMatrix_;
    renderer_->QueueTriangles(pass, &records_[i]->item);
  }
}
