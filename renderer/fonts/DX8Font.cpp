#include "renderer/fonts/DX8Font.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "platform/graphics/GfxDevice.h"
#include "renderer/DeviceRelease.h"
#include "renderer/C3DPassDX8.h"
#include "renderer/Lumetra.h"
#include "renderer/shaders/DX8MaterialShader.h"

namespace gfx = platform::gfx;

DX8Font::DX8Font(Lumetra* owner, uint32_t flags, std::string name)
    : C3DFont(owner, flags, std::move(name)), renderer_(owner) {}

DX8Font::~DX8Font() {
  for (auto& b : buffers_) {
    ReleaseDeviceObject(&b->vertexBuffer);
    ReleaseDeviceObject(&b->indexBuffer);
  }
}

void DX8Font::MakeBuffers(size_t pages) {
  buffers_.clear();
  for (size_t p = 0; p < pages; ++p) buffers_.push_back(std::make_unique<QuadBuffer>());
}

void DX8Font::Reserve(QuadBuffer& b, uint32_t more) {
  const uint64_t need = uint64_t(b.used) + more;
  if (need <= b.capacity) return;
  const uint32_t capacity = static_cast<uint32_t>(std::min<uint64_t>(need + 25, UINT32_MAX / 6));
  b.vertices.resize(size_t(capacity) * 4, RenderVertex{0, 0, 0, 0xFFFFFFFFu, 0, 0, 0, 0});
  b.indices.resize(size_t(capacity) * 6);
  for (uint32_t k = b.capacity; k < capacity; ++k) {
    // Indices count from the start of each draw's chunk of quads.
    const uint16_t base = static_cast<uint16_t>(4 * (k % kMaxQuadsPerDraw));
    const uint16_t quad[6] = {base, uint16_t(base + 1), uint16_t(base + 3), uint16_t(base + 1), uint16_t(base + 2),
                              uint16_t(base + 3)};
    std::memcpy(&b.indices[size_t(k) * 6], quad, sizeof quad);
  }
  b.capacity = capacity;
  b.geometry.vertices = b.vertices.data();
  b.geometry.indices = b.indices.data();
}

RenderVertex* DX8Font::NextQuad(QuadBuffer& b) { return &b.vertices[size_t(b.used) * 4]; }

void DX8Font::Place(RenderVertex& v, float px, float py, const float* m, float u, float t) {
  v.x = px * m[0] + py * m[4] + m[12];
  v.y = px * m[1] + py * m[5] + m[13];
  v.z = px * m[2] + py * m[6] + m[14];
  v.u = u;
  v.v = t;
}

void DX8Font::Commit(QuadBuffer& b, uint32_t quads) {
  b.used += quads;
  b.geometry.vertexCount = static_cast<uint16_t>(std::min<uint64_t>(uint64_t(b.used) * 4, 0xFFFF));
  b.geometry.indexCount = b.used * 6;
}

bool DX8Font::Upload(QuadBuffer& b, uint32_t quads) {
  gfx::Device* device = renderer_ ? renderer_->GetDevice() : nullptr;
  if (!device) return false;
  if (b.deviceCapacity < quads || !b.vertexBuffer || !b.indexBuffer) {
    ReleaseDeviceObject(&b.vertexBuffer);
    ReleaseDeviceObject(&b.indexBuffer);
    b.deviceCapacity = 0;
    b.geometry.vertexBuffer = nullptr;
    b.geometry.indexBuffer = nullptr;
    if (status::Failed(device->CreateVertexBuffer(quads * 128u, gfx::D3DUSAGE_WRITEONLY, 0, gfx::D3DPOOL_MANAGED,
                                                  &b.vertexBuffer)) ||
        status::Failed(device->CreateIndexBuffer(quads * 12u, gfx::D3DUSAGE_WRITEONLY, gfx::D3DFMT_INDEX16,
                                                 gfx::D3DPOOL_MANAGED, &b.indexBuffer))) {
      ReleaseDeviceObject(&b.vertexBuffer);
      ReleaseDeviceObject(&b.indexBuffer);
      return false;
    }
    b.deviceCapacity = quads;
  }
  uint8_t* data = nullptr;
  if (status::Failed(b.vertexBuffer->Lock(0, quads * 128u, &data, 0)) || !data) return false;
  std::memcpy(data, b.vertices.data(), size_t(quads) * 128u);
  b.vertexBuffer->Unlock();
  data = nullptr;
  if (status::Failed(b.indexBuffer->Lock(0, quads * 12u, &data, 0)) || !data) return false;
  std::memcpy(data, b.indices.data(), size_t(quads) * 12u);
  b.indexBuffer->Unlock();
  b.geometry.vertexBuffer = b.vertexBuffer;
  b.geometry.indexBuffer = b.indexBuffer;
  b.geometry.vertexCount = static_cast<uint16_t>(quads * 4);
  b.geometry.indexCount = quads * 6;
  return true;
}

void DX8Font::QueueGeometry(C3DPass* pass, MeshGeometry* geometry, DX8MaterialShader* shader) {
  auto* dx8 = dynamic_cast<C3DPassDX8*>(pass);
  if (!dx8 || !shader) return;
  void* memory = dx8->Allocator().Allocate(sizeof(DrawItem));
  if (!memory) return;
  auto* item = new (memory) DrawItem();
  item->geometry = geometry;
  item->shader = shader;
  Lumetra::BindLayerImages(item);
  renderer_->QueueTriangles(pass, item);
}

void DX8Font::FlushBuffer(QuadBuffer& b, C3DPass* pass, DX8MaterialShader* shader) {
  const uint32_t quads = b.used;
  if (quads == 0) return;
  b.used = 0;
  if (!renderer_) return;
  if (quads <= kMaxQuadsPerDraw) {
    if (Upload(b, quads)) QueueGeometry(pass, &b.geometry, shader);
    return;
  }
  // More quads than one draw can address: each chunk is drawn from the
  // system arrays through a geometry record of the pass's own memory, which
  // lives until the pass is reset.
  auto* dx8 = dynamic_cast<C3DPassDX8*>(pass);
  if (!dx8) return;
  for (uint32_t first = 0; first < quads; first += kMaxQuadsPerDraw) {
    const uint32_t count = std::min(kMaxQuadsPerDraw, quads - first);
    void* memory = dx8->Allocator().Allocate(sizeof(MeshGeometry));
    if (!memory) return;
    auto* chunk = new (memory) MeshGeometry();
    chunk->vertexCount = static_cast<uint16_t>(count * 4);
    chunk->vertices = &b.vertices[size_t(first) * 4];
    chunk->indexCount = count * 6;
    chunk->indices = &b.indices[size_t(first) * 6];
    QueueGeometry(pass, chunk, shader);
  }
}
