#include "renderer/resources/DX8_DynaMesh.h"

#include <algorithm>
#include <cstring>

#include "platform/graphics/GfxDevice.h"
#include "platform/graphics/ImageUtil.h"
#include "renderer/Lumetra.h"
#include "renderer/resources/DX8Image.h"
#include "renderer/shaders/DX8MaterialShader.h"

namespace gfx = platform::gfx;

namespace {

gfx::Matrix DeviceMatrix(const JMatrix& m) {
  gfx::Matrix out;
  std::memcpy(out.m, m.Data(), sizeof out.m);
  return out;
}

template <typename Buffer>
void ReleaseBuffer(Buffer** buffer, uint32_t* capacity) {
  if (*buffer) (*buffer)->Release();
  *buffer = nullptr;
  *capacity = 0;
}

}  // namespace

DX8_DynaMesh::DX8_DynaMesh(Lumetra* owner, uint32_t flags, std::string name)
    : C3DMesh(owner, flags, std::move(name)), renderer_(owner) {
  item_.geometry = &geometry_;
}

DX8_DynaMesh::~DX8_DynaMesh() {
  if (ownsVertices_) delete[] vertices_;
  if (ownsIndices_) delete[] indices_;
  ReleaseBuffer(&vertexBuffer_, &vertexCapacity_);
  ReleaseBuffer(&indexBuffer_, &indexCapacity_);
  SetShader(nullptr);
}

bool DX8_DynaMesh::EnsureVertexBuffer(uint32_t count, bool force) {
  if (!force && vertexBuffer_ && count <= vertexCapacity_) return true;
  ReleaseBuffer(&vertexBuffer_, &vertexCapacity_);
  geometry_.vertexBuffer = nullptr;
  gfx::Device* device = renderer_ ? renderer_->GetDevice() : nullptr;
  if (!device || status::Failed(device->CreateVertexBuffer(count * 32u, gfx::D3DUSAGE_WRITEONLY, 0,
                                                           gfx::D3DPOOL_MANAGED, &vertexBuffer_))) {
    vertexBuffer_ = nullptr;
    return false;
  }
  vertexCapacity_ = count;
  geometry_.vertexBuffer = vertexBuffer_;
  return true;
}

bool DX8_DynaMesh::EnsureIndexBuffer(uint32_t count, bool force) {
  if (!force && indexBuffer_ && count <= indexCapacity_) return true;
  ReleaseBuffer(&indexBuffer_, &indexCapacity_);
  geometry_.indexBuffer = nullptr;
  gfx::Device* device = renderer_ ? renderer_->GetDevice() : nullptr;
  if (!device || status::Failed(device->CreateIndexBuffer(count * 2u, gfx::D3DUSAGE_WRITEONLY, gfx::D3DFMT_INDEX16,
                                                          gfx::D3DPOOL_MANAGED, &indexBuffer_))) {
    indexBuffer_ = nullptr;
    return false;
  }
  indexCapacity_ = count;
  geometry_.indexBuffer = indexBuffer_;
  return true;
}

void DX8_DynaMesh::Reserve(uint32_t vertexCount, uint32_t indexCount) {
  if (!useBuffers_) return;
  EnsureVertexBuffer(vertexCount, true);
  EnsureIndexBuffer(indexCount, true);
}

void DX8_DynaMesh::SetShader(C3DMaterialShader* shader) {
  auto* material = dynamic_cast<DX8MaterialShader*>(shader);
  if (material != shader_) {
    if (shader_) shader_->Release();
    shader_ = material;
    if (shader_) shader_->AddRef();
  }
  item_.shader = shader_;
  for (size_t k = 0; k < item_.images.size(); ++k)
    item_.images[k] = shader_ && k < shader_->GetLayerCount() ? shader_->GetLayerImage(int32_t(k)) : nullptr;
}

bool DX8_DynaMesh::SetVertices(RenderVertex* vertices, uint32_t count, bool owns, bool force) {
  if (count > kMaxVertices) return false;
  // An owned array given again is kept, not freed under the caller.
  if (ownsVertices_ && vertices_ != vertices) delete[] vertices_;
  vertices_ = vertices;
  ownsVertices_ = owns;
  vertexCount_ = 0;
  SetVertexCount(0);
  geometry_.vertices = vertices;
  if (useBuffers_) {
    if (!EnsureVertexBuffer(count, force)) return false;
    if (count > 0 && vertices) {
      uint8_t* data = nullptr;
      if (status::Failed(vertexBuffer_->Lock(0, count * 32u, &data, 0))) return false;
      std::memcpy(data, vertices, size_t(count) * 32u);
      vertexBuffer_->Unlock();
    }
  }
  vertexCount_ = vertices ? count : 0;
  SetVertexCount(int32_t(vertexCount_));
  return true;
}

bool DX8_DynaMesh::SetIndices(uint16_t* indices, uint32_t count, bool owns, bool force) {
  if (count > 0x3FFFFFFFu) return false;
  if (ownsIndices_ && indices_ != indices) delete[] indices_;
  indices_ = indices;
  ownsIndices_ = owns;
  indexCount_ = 0;
  SetIndexCount(0);
  geometry_.indices = indices;
  if (useBuffers_) {
    if (!EnsureIndexBuffer(count, force)) return false;
    if (count > 0 && indices) {
      uint8_t* data = nullptr;
      if (status::Failed(indexBuffer_->Lock(0, count * 2u, &data, 0))) return false;
      std::memcpy(data, indices, size_t(count) * 2u);
      indexBuffer_->Unlock();
    }
  }
  indexCount_ = indices ? count : 0;
  SetIndexCount(int32_t(std::min<uint32_t>(indexCount_, INT32_MAX)));
  return true;
}

int32_t DX8_DynaMesh::SetVertexCount(int32_t count) {
  verticesInUse_ = uint32_t(std::clamp<int64_t>(count, 0, vertexCount_));
  geometry_.vertexCount = uint16_t(verticesInUse_);
  return int32_t(verticesInUse_);
}

int32_t DX8_DynaMesh::SetIndexCount(int32_t count) {
  indicesInUse_ = uint32_t(std::clamp<int64_t>(count, 0, indexCount_));
  geometry_.indexCount = indicesInUse_;
  return int32_t(indicesInUse_);
}

uint8_t DX8_DynaMesh::SetUseBuffers(uint8_t use) { return useBuffers_ = use; }
uint8_t DX8_DynaMesh::SetLineMode(uint8_t lines) { return lineMode_ = lines; }

void DX8_DynaMesh::Draw(C3DPass* pass, const JMatrix* world) {
  if (!renderer_) return;
  const bool lines = lineMode_ != 0;
  if (lines ? verticesInUse_ == 0 : (verticesInUse_ == 0 || indicesInUse_ == 0)) return;
  geometry_.world = world ? *world : JMatrix::Identity();
  if (lines) {
    renderer_->QueueLines(pass, &item_);
  } else {
    renderer_->QueueTriangles(pass, &item_);
  }
}

void DX8_DynaMesh::RenderToImage(C3DImage* image, const JMatrix* world, const JMatrix* view,
                                 const JMatrix* projection) {
  auto* target = dynamic_cast<DX8Image*>(image);
  if (!renderer_ || !renderer_->GetDevice() || indicesInUse_ == 0 || verticesInUse_ == 0 || !shader_ || !target ||
      !target->GetDeviceTexture())
    return;
  DrawInto(shader_, target, world ? *world : JMatrix::Identity(), view ? *view : JMatrix::Identity(),
           projection ? *projection : JMatrix::Identity());
}

void DX8_DynaMesh::DrawInto(DX8MaterialShader* shader, DX8Image* image, const JMatrix& world, const JMatrix& view,
                            const JMatrix& projection) {
  gfx::Device* device = renderer_->GetDevice();
  lumetra::RenderStateCache& states = renderer_->GetStateCache();
  gfx::Surface* level0 = nullptr;
  if (status::Failed(image->GetDeviceTexture()->GetSurfaceLevel(0, &level0)) || !level0) return;
  gfx::SurfaceDesc desc;
  level0->GetDesc(&desc);
  const uint32_t width = image->GetWidth(), height = image->GetHeight();
  gfx::Texture* targetTexture = nullptr;
  gfx::Surface* targetSurface = nullptr;
  if (width == 0 || height == 0 ||
      status::Failed(device->CreateTexture(width, height, 1, gfx::D3DUSAGE_RENDERTARGET, desc.format,
                                           gfx::D3DPOOL_DEFAULT, &targetTexture)) ||
      status::Failed(targetTexture->GetSurfaceLevel(0, &targetSurface))) {
    if (targetTexture) targetTexture->Release();
    level0->Release();
    return;
  }
  gfx::Viewport saved;
  device->GetViewport(&saved);
  {
    gfx::RenderToSurface scene(device, width, height, desc.format, false, 0);
    const gfx::Viewport viewport{0, 0, width, height, 0.0f, 1.0f};
    if (status::Succeeded(scene.BeginScene(targetSurface, &viewport))) {
      device->SetViewport(&viewport);
      device->Clear(0, nullptr, gfx::D3DCLEAR_TARGET, 0xFFFF00FFu, 1.0f, 0);

      // The image's present content as the backdrop, point-sampled.
      gfx::Matrix m;
      m(0, 0) = float(width);
      m(1, 1) = float(height);
      device->SetTransform(gfx::D3DTS_WORLD, &m);
      m = gfx::Matrix();
      m(3, 2) = 100.0f;
      device->SetTransform(gfx::D3DTS_VIEW, &m);
      m = gfx::Matrix();
      m(0, 0) = 2.0f / float(width);
      m(1, 1) = 2.0f / float(height);
      m(2, 2) = 0.0005f;
      device->SetTransform(gfx::D3DTS_PROJECTION, &m);
      for (int32_t stage = 0; stage < 4; ++stage) states.ApplyStage(device, stage, lumetra::DefaultStageRequest());
      lumetra::StageRequest copy{{gfx::D3DTADDRESS_WRAP, gfx::D3DTADDRESS_WRAP, gfx::D3DTEXF_POINT, gfx::D3DTEXF_POINT,
                                  gfx::D3DTEXF_POINT, gfx::D3DTOP_SELECTARG1, gfx::D3DTA_TEXTURE, gfx::D3DTA_TEXTURE,
                                  gfx::D3DTOP_SELECTARG1, gfx::D3DTA_TEXTURE, gfx::D3DTA_TEXTURE}};
      states.ApplyStage(device, 0, copy);
      device->SetTexture(0, image->GetDeviceTexture());
      device->SetTexture(1, nullptr);
      const RenderVertex quad[4] = {{-0.5f, 0.5f, 0, 0xFFFFFFFFu, 0, 0, 0, 0},
                                    {0.5f, 0.5f, 0, 0xFFFFFFFFu, 1, 0, 0, 0},
                                    {0.5f, -0.5f, 0, 0xFFFFFFFFu, 1, 1, 0, 0},
                                    {-0.5f, -0.5f, 0, 0xFFFFFFFFu, 0, 1, 0, 0}};
      const uint16_t quadIndices[6] = {0, 1, 3, 1, 2, 3};
      device->SetVertexShader(gfx::kRenderVertexFvf);
      device->DrawIndexedPrimitiveUP(gfx::D3DPT_TRIANGLELIST, 0, 4, 2, quadIndices, gfx::D3DFMT_INDEX16, quad, 32);

      // The mesh with its material.
      const gfx::Matrix w = DeviceMatrix(world), v = DeviceMatrix(view), p = DeviceMatrix(projection);
      device->SetTransform(gfx::D3DTS_WORLD, &w);
      device->SetTransform(gfx::D3DTS_VIEW, &v);
      device->SetTransform(gfx::D3DTS_PROJECTION, &p);
      for (int32_t stage = 0; stage < 4; ++stage) states.ApplyStage(device, stage, lumetra::DefaultStageRequest());
      states.ApplyShaderBlock(device, shader->GetStateBlock());
      int32_t stage = 0;
      for (; stage < std::min<int32_t>(shader->GetLayerCount(), 4); ++stage) {
        if (!shader->IsPassLayerEnabled(stage)) break;
        auto* layerImage = dynamic_cast<DeviceImage*>(shader->GetLayerImage(stage));
        device->SetTexture(uint32_t(stage), layerImage ? layerImage->GetDeviceTexture() : nullptr);
        states.ApplyStage(device, stage, shader->GetPassLayerRequest(stage));
      }
      if (stage < 4) device->SetTexture(uint32_t(stage), nullptr);
      const MeshGeometry& g = geometry_;
      if (g.vertexBuffer && g.indexBuffer) {
        device->SetStreamSource(0, g.vertexBuffer, 32);
        device->SetIndices(g.indexBuffer, 0);
        device->DrawIndexedPrimitive(gfx::D3DPT_TRIANGLELIST, 0, g.vertexCount, 0, g.indexCount / 3u);
      } else if (g.vertices && g.indices && g.indexCount >= 3) {
        device->DrawIndexedPrimitiveUP(gfx::D3DPT_TRIANGLELIST, 0, g.vertexCount, g.indexCount / 3u, g.indices,
                                       gfx::D3DFMT_INDEX16, g.vertices, 32);
      }
      scene.EndScene();
      gfx::LoadSurfaceFromSurface(level0, nullptr, targetSurface, nullptr, gfx::D3DX_FILTER_NONE, 0);
    }
  }
  targetSurface->Release();
  targetTexture->Release();
  level0->Release();
  device->SetViewport(&saved);
  for (uint32_t stage = 0; stage < 4; ++stage) device->SetTexture(stage, nullptr);
  renderer_->ForgetLastTextures();
  states.SetupStages(device);
}
