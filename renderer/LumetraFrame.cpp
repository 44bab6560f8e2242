// One frame: lost-device handling, the four sweeps over the passes, the
// drawing of each pass through the state shadow, and presentation. Also the
// viewport and clear slots.
#include <algorithm>
#include <cstring>
#include <functional>
#include <new>

#include "engine/math/CameraView.h"
#include "base/StringUtil.h"
#include "platform/graphics/GfxDevice.h"
#include "renderer/C3DPassDX8.h"
#include "renderer/Lumetra.h"
#include "renderer/resources/LightRecord.h"

namespace gfx = platform::gfx;

namespace {

gfx::Matrix ToDeviceMatrix(const JMatrix& m) {
  gfx::Matrix out;
  std::memcpy(out.m, m.Data(), sizeof out.m);
  return out;
}

// Channel byte of a 0..1 float: times 255, truncated, low 8 bits.
uint32_t FogChannel(float c) {
  const float scaled = c * 255.0f;
  if (!(scaled > -2147483648.0f && scaled < 2147483648.0f)) return 0;
  return static_cast<uint32_t>(static_cast<int32_t>(scaled)) & 0xFFu;
}

uint32_t FloatBits(float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}

// An image's place in the image registry, the key draws are grouped by so
// that items sharing textures are drawn together; -1 for none.
int64_t ImageKey(C3DImage* image) { return image ? image->GetRegistryIndex() : -1; }

// Priority first, then the stage images by registry index, up to the first
// stage where both items have none.
bool PriorityOrder(const DrawItem* a, const DrawItem* b) {
  if (a->priority != b->priority) return a->priority < b->priority;
  for (size_t k = 0; k < a->images.size(); ++k) {
    if (!a->images[k] && !b->images[k]) return false;
    const int64_t ka = ImageKey(a->images[k]), kb = ImageKey(b->images[k]);
    if (ka != kb) return ka < kb;
  }
  return false;
}

// A colour recoloured by a colour matrix as a point (alpha kept).
gfx::ColorValue Recolour(const gfx::ColorValue& c, const JMatrix& m) {
  gfx::ColorValue out = c;
  out.r = c.r * m.m[0][0] + c.g * m.m[1][0] + c.b * m.m[2][0] + m.m[3][0];
  out.g = c.r * m.m[0][1] + c.g * m.m[1][1] + c.b * m.m[2][1] + m.m[3][1];
  out.b = c.r * m.m[0][2] + c.g * m.m[1][2] + c.b * m.m[2][2] + m.m[3][2];
  return out;
}

}  // namespace

// --- viewport and clear -------------------------------------------------------

void Lumetra::SetViewport(uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
  viewport_.left = static_cast<int32_t>(x);
  viewport_.top = static_cast<int32_t>(y);
  viewport_.right = static_cast<int32_t>(x + width);
  viewport_.bottom = static_cast<int32_t>(y + height);
  if (!d3d_ || !device_) return;
  const gfx::Viewport viewport{x, y, width, height, 0.0f, 1.0f};
  ReportError(device_->SetViewport(&viewport));
}

void Lumetra::GetViewport(uint32_t* x, uint32_t* y, uint32_t* width, uint32_t* height) {
  if (x) *x = static_cast<uint32_t>(viewport_.left);
  if (y) *y = static_cast<uint32_t>(viewport_.top);
  if (width) *width = static_cast<uint32_t>(viewport_.right - viewport_.left);
  if (height) *height = static_cast<uint32_t>(viewport_.bottom - viewport_.top);
}

void Lumetra::Clear(bool target, uint32_t colour, bool depth, float depthValue, bool stencil,
                    uint32_t stencilValue) {
  if (!d3d_ || !device_) return;
  const uint32_t flags = (target ? gfx::D3DCLEAR_TARGET : 0u) | (depth ? gfx::D3DCLEAR_ZBUFFER : 0u) |
                         (stencil ? gfx::D3DCLEAR_STENCIL : 0u);
  if (flags == 0) return;  // nothing selected, nothing to clear
  ReportError(device_->Clear(0, nullptr, flags, colour, depthValue, stencilValue));
}

// --- the frame ------------------------------------------------------------------

CoreStatus Lumetra::RenderFrame() {
  if (!d3d_ || !device_) return status::Fail;
  // A frame asked for from inside one of the frame's own callbacks is refused.
  if (inFrame_) return status::Fail;

  const CoreStatus level = device_->TestCooperativeLevel();
  if (level == gfx::D3DERR_DEVICELOST) return 1;
  if (level == gfx::D3DERR_DEVICENOTRESET) {
    // Nothing is drawn in this frame. A reset that fails leaves no device:
    // that is a failure, not a presented frame.
    const C3DDisplayMode mode = mode_;
    return ResetDevice(&mode) ? 1 : status::Fail;
  }
  if (status::Failed(level)) {
    ReportError(level);
    return status::Fail;
  }

  inFrame_ = true;
  if (metrics_[0]) {
    MarkProfiler(false);
    frameIndexCount_ = 0;
    frameVertexCount_ = 0;
  }
  if (sceneOpen_) {
    device_->EndScene();
    sceneOpen_ = false;
  }

  const bool onlyMetrics = passes_.size() == 1 && str::EqualsNoCase(passes_[0]->GetName(), kMetricsPassName);
  if (passes_.empty() || onlyMetrics) {
    const bool began = status::Succeeded(device_->BeginScene());
    const CoreStatus cleared =
        device_->Clear(0, nullptr, gfx::D3DCLEAR_TARGET | gfx::D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    if (began) device_->EndScene();
    if (status::Failed(cleared)) {
      ReportError(cleared);
      inFrame_ = false;
      return status::Fail;
    }
  } else {
    RunPasses();
  }
  if (metrics_[0] && device_) DrawMetricsOverlay();

  if (sceneOpen_ && device_) {
    device_->EndScene();
    sceneOpen_ = false;
  }
  inFrame_ = false;
  for (C3DPassDX8* pass : retiredPasses_) delete pass;
  retiredPasses_.clear();
  if (!device_) return status::Fail;

  const CoreStatus presented = device_->Present(nullptr, nullptr, nullptr, nullptr);
  if (status::Failed(presented)) {
    ReportError(presented);
    return status::Fail;
  }
  if (metrics_[0]) MarkProfiler(true);
  return status::Ok;
}

void Lumetra::RunPasses() {
  // The sweeps walk a copy of the pass list: a callback may insert, move or
  // remove passes. A removed pass (index -1) takes no further part; its
  // memory lives until the frame ends.
  sweepPasses_.assign(passes_.begin(), passes_.end());
  const std::vector<C3DPassDX8*>& passes = sweepPasses_;
  const auto listed = [](C3DPassDX8* pass) { return pass->GetIndex() >= 0; };
  for (C3DPassDX8* pass : passes) {
    pass->ResetForFrame();
    pass->ClearEntities();
  }
  for (C3DPassDX8* pass : passes) {
    if (listed(pass)) pass->RunBeginHook();
  }
  for (C3DPassDX8* pass : passes) {
    if (!listed(pass)) continue;
    pass->RunPrepareHook();
    if (listed(pass)) pass->RenderEntities();
    // Text queued during the frame goes into every pass but the metrics
    // overlay's, which draws its own text later with its own camera.
    const bool takesText = pass != overlayPass_;
    for (uint32_t i = 0; takesText && listed(pass) && i < fonts_.UsedCount(); ++i) {
      if (auto* font = dynamic_cast<C3DFont*>(fonts_.Get(i))) font->Flush(pass);
    }
    if (listed(pass) && device_) DrawPass(pass);
    pass->SetDepthSorted(false);
    if (listed(pass)) pass->RunFinishHook();
  }
  for (C3DPassDX8* pass : passes) {
    if (listed(pass)) pass->RunEndHook();
  }
}

void Lumetra::DrawPass(C3DPassDX8* pass) {
  CameraView* view = pass->GetPassView();
  if (!view || !pass->HasSomethingToDraw()) return;

  // Fog of the pass, kept in the shadow; switching it on brings the whole
  // device in line first.
  if (pass->IsFogEnabled()) {
    float r = 0, g = 0, b = 0;
    pass->GetFogColour(&r, &g, &b);
    const uint32_t colour = FogChannel(r) << 16 | FogChannel(g) << 8 | FogChannel(b);
    if (states_.Get(gfx::D3DRS_FOGENABLE) == 0) {
      states_.Set(gfx::D3DRS_FOGENABLE, 1);
      states_.Set(gfx::D3DRS_FOGTABLEMODE, gfx::D3DFOG_EXP);
      states_.Set(gfx::D3DRS_FOGVERTEXMODE, 0);
      states_.FullFlush(device_, wireframe_);
    }
    states_.Set(gfx::D3DRS_FOGCOLOR, colour);
    states_.Set(gfx::D3DRS_FOGDENSITY, FloatBits(pass->GetFogDensity()));
  } else {
    states_.Set(gfx::D3DRS_FOGENABLE, 0);
  }

  // Device lights: every light slot the registry could use goes off, then
  // the pass's lights take slots from 0 in list order.
  for (uint32_t i = 0; i < lights_.UsedCount(); ++i) device_->LightEnable(i, false);
  uint32_t slot = 0;
  for (int32_t position = 0; position < pass->GetLightCount(); ++position) {
    const gfx::Light* light = BuildDeviceLight(static_cast<uint32_t>(pass->GetLight(position)));
    if (light) {
      device_->SetLight(slot, light);
      device_->LightEnable(slot, true);
      ++slot;
    } else if (static_cast<uint32_t>(position) < lightsEnabledByPreviousPass_) {
      device_->LightEnable(static_cast<uint32_t>(position), false);
    }
  }
  lightsEnabledByPreviousPass_ = slot;

  const gfx::Matrix viewMatrix = ToDeviceMatrix(view->view);
  const gfx::Matrix projection = ToDeviceMatrix(view->projection);
  device_->SetTransform(gfx::D3DTS_VIEW, &viewMatrix);
  device_->SetTransform(gfx::D3DTS_PROJECTION, &projection);
  states_.ApplyPassFogAndFill(device_, wireframe_);

  for (uint32_t stage = 0; stage < 4; ++stage) device_->SetTexture(stage, nullptr);
  lastTextures_.fill(nullptr);
  lastStream_ = nullptr;

  std::vector<DrawItem*>& items = pass->DrawList();
  if (pass->IsSorted() && !items.empty()) {
    // Stable: items that compare equal keep the order they were queued in.
    if (!pass->IsDepthSorted()) {
      std::stable_sort(items.begin(), items.end(), PriorityOrder);
    } else {
      std::stable_sort(items.begin(), items.end(), [](const DrawItem* a, const DrawItem* b) {
        if (a->depthSorted != b->depthSorted) return !a->depthSorted;
        if (!a->depthSorted) return PriorityOrder(a, b);
        return a->depth > b->depth;
      });
    }
  }

  if (!sceneOpen_) {
    if (status::Failed(device_->BeginScene())) return;
    sceneOpen_ = true;
    device_->SetVertexShader(gfx::kRenderVertexFvf);
  }

  for (DrawItem* item : items) {
    PassShader* shader = item->shader;
    MeshGeometry* geometry = item->geometry;
    if (!shader || !geometry) continue;
    const lumetra::ShaderStateBlock& block = shader->GetStateBlock();
    states_.ApplyShaderBlock(device_, block);
    // Positions 13 and 14: ambient and diffuse material sources.
    if (block.values[13] == gfx::D3DMCS_MATERIAL || block.values[14] == gfx::D3DMCS_MATERIAL) {
      gfx::Material material;
      material.diffuse = shader->GetMaterialDiffuse();
      material.ambient = shader->GetMaterialAmbient();
      device_->SetMaterial(&material);
    }

    const int32_t layers = std::min<int32_t>(shader->GetPassLayerCount(), 4);
    int32_t stage = 0;
    for (; stage < layers; ++stage) {
      const size_t k = static_cast<size_t>(stage);
      auto* image = dynamic_cast<DeviceImage*>(item->images[k]);
      gfx::Texture* texture = image ? image->GetDeviceTexture() : nullptr;
      if (texture != lastTextures_[k]) {
        device_->SetTexture(static_cast<uint32_t>(stage), texture);
        lastTextures_[k] = texture;
      }
      if (!shader->IsPassLayerEnabled(stage)) break;
      states_.ApplyStage(device_, stage, shader->GetPassLayerRequest(stage));
    }
    for (; stage < 4; ++stage) {
      const size_t k = static_cast<size_t>(stage);
      if (lastTextures_[k]) {
        device_->SetTexture(static_cast<uint32_t>(stage), nullptr);
        lastTextures_[k] = nullptr;
      }
      states_.ApplyStage(device_, stage, lumetra::DefaultStageRequest());
    }

    if (item->instanced && geometry->HasInstances()) {
      for (const JMatrix* instance : *geometry->instances) {
        if (instance) DrawItemGeometry(*item, *instance);
      }
    } else {
      DrawItemGeometry(*item, item->matrix ? *item->matrix : geometry->world);
    }
    frameIndexCount_ += geometry->indexCount;
    frameVertexCount_ += geometry->vertexCount;
  }
}

const gfx::Light* Lumetra::BuildDeviceLight(uint32_t index) {
  auto* record = dynamic_cast<LightRecord*>(lights_.Get(index));
  if (!record || !(record->lightFlags & LightRecord::kEnabled) || record->kind > 2) return nullptr;
  static constexpr uint32_t kTypes[3] = {gfx::D3DLIGHT_POINT, gfx::D3DLIGHT_SPOT, gfx::D3DLIGHT_DIRECTIONAL};
  gfx::Light& light = record->deviceLight;
  light.type = kTypes[record->kind];
  light.diffuse = record->diffuse;
  light.specular = record->specular;
  light.ambient = record->ambient;
  light.position = record->position;
  light.direction = record->direction;
  light.range = record->range;
  light.falloff = record->falloff;
  light.attenuation0 = record->attenuation0;
  light.attenuation1 = record->attenuation1;
  light.attenuation2 = record->attenuation2;
  light.theta = record->theta;
  light.phi = record->phi;
  for (uint32_t k = 0; k < kColourMatrixCount; ++k) {
    if (!matrixFlags_[k] || !(record->lightFlags & LightRecord::RecolourBit(k))) continue;
    gfx::ColorValue& colour = k < 3 ? light.diffuse : k < 6 ? light.ambient : light.specular;
    colour = Recolour(colour, matrices_[k]);
  }
  return &light;
}

void Lumetra::DrawItemGeometry(const DrawItem& item, const JMatrix& world) {
  const MeshGeometry& g = *item.geometry;
  const gfx::Matrix worldMatrix = ToDeviceMatrix(world);
  device_->SetTransform(gfx::D3DTS_WORLD, &worldMatrix);
  constexpr uint32_t kStride = gfx::kRenderVertexStride;
  if (item.lines) {
    if (!g.vertexBuffer) {
      if (g.vertices && g.vertexCount >= 2)
        device_->DrawPrimitiveUP(gfx::D3DPT_LINELIST, g.vertexCount / 2u, g.vertices, kStride);
      return;
    }
    if (g.vertexBuffer != lastStream_) {
      device_->SetStreamSource(0, g.vertexBuffer, kStride);
      lastStream_ = g.vertexBuffer;
    }
    if (g.vertexCount >= 2) device_->DrawPrimitive(gfx::D3DPT_LINELIST, 0, g.vertexCount / 2u);
    return;
  }
  if (g.indexCount < 3) return;
  if (!g.vertexBuffer || !g.indexBuffer) {
    if (g.vertices && g.indices)
      device_->DrawIndexedPrimitiveUP(gfx::D3DPT_TRIANGLELIST, 0, g.vertexCount, g.indexCount / 3u, g.indices,
                                      gfx::D3DFMT_INDEX16, g.vertices, kStride);
    return;
  }
  if (g.vertexBuffer != lastStream_) {
    device_->SetStreamSource(0, g.vertexBuffer, kStride);
    lastStream_ = g.vertexBuffer;
  }
  device_->SetIndices(g.indexBuffer, 0);
  device_->DrawIndexedPrimitive(gfx::D3DPT_TRIANGLELIST, 0, g.vertexCount, 0, g.indexCount / 3u);
}

// --- queueing -----------------------------------------------------------------------

void Lumetra::QueueTriangles(C3DPass* pass, DrawItem* item) { Queue(pass, item, false); }
void Lumetra::QueueLines(C3DPass* pass, DrawItem* item) { Queue(pass, item, true); }

void Lumetra::BindLayerImages(DrawItem* item) {
  if (!item || !item->shader) return;
  const int32_t layers = std::min<int32_t>(item->shader->GetPassLayerCount(), 4);
  for (int32_t k = 0; k < layers; ++k) item->images[static_cast<size_t>(k)] = item->shader->GetPassLayerImage(k);
}

void Lumetra::Queue(C3DPass* base, DrawItem* item, bool lines) {
  auto* pass = dynamic_cast<C3DPassDX8*>(base);
  if (!pass || !item || !item->shader || !item->geometry || item->shader->GetPassLayerCount() == 0) return;
  PassShader* shader = item->shader;
  const int32_t priority = shader->GetSortPriority();
  const bool depthSorted = shader->IsDepthSortedShader();
  if (depthSorted) pass->SetDepthSorted(true);
  item->depthSorted = depthSorted;

  if (depthSorted && item->geometry->HasInstances()) {
    // Each instance becomes an item of its own so it sorts by its own depth.
    for (const JMatrix* instance : *item->geometry->instances) {
      void* memory = pass->Allocator().Allocate(sizeof(DrawItem));
      if (!memory || !instance) continue;
      auto* copy = new (memory) DrawItem();
      copy->shader = shader;
      copy->geometry = item->geometry;
      copy->instanced = false;
      copy->depthSorted = true;
      BindLayerImages(copy);
      copy->priority = priority;
      copy->lines = lines;
      Enqueue(pass, copy, instance);
    }
    return;
  }
  item->priority = priority;
  item->lines = lines;
  item->instanced = true;
  Enqueue(pass, item, &item->geometry->world);
}

void Lumetra::Enqueue(C3DPassDX8* pass, DrawItem* item, const JMatrix* matrix) {
  item->depth = 0.0f;
  if (item->depthSorted) {
    if (const CameraView* view = pass->GetPassView()) {
      const auto& v = view->view.m;
      const auto& t = matrix->m[3];
      item->depth = t[0] * v[0][2] + t[1] * v[1][2] + t[2] * v[2][2] + v[3][2];
    }
  }
  item->shader->PrepareDraw(item->geometry);
  item->matrix = matrix;
  pass->AppendDrawItem(item);
}
