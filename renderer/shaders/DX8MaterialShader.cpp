#include "renderer/shaders/DX8MaterialShader.h"

#include "base/Status.h"
#include "engine/services/C3DImage.h"
#include "platform/graphics/GfxConstants.h"

namespace gfx = platform::gfx;

DX8MaterialShader::DX8MaterialShader(Lumetra* owner, uint32_t flags, std::string name)
    : DX8BaseShader(owner, flags, std::move(name)) {
  block_.values = {1,
                   1,
                   gfx::D3DCMP_LESSEQUAL,
                   0,
                   0,
                   gfx::D3DCMP_ALWAYS,
                   0,
                   0,
                   gfx::D3DBLEND_ONE,
                   gfx::D3DBLEND_ZERO,
                   gfx::D3DCULL_CCW,
                   0,
                   gfx::D3DSHADE_GOURAUD,
                   gfx::D3DMCS_COLOR1,
                   gfx::D3DMCS_COLOR1};
}

DX8MaterialShader::~DX8MaterialShader() {
  for (DX8SHADER_Layer& layer : layers_) {
    if (layer.image) layer.image->Release();
    layer.image = nullptr;
  }
}

DX8SHADER_Layer* DX8MaterialShader::Layer(int32_t index) {
  if (index < 0 || index >= static_cast<int32_t>(layers_.size())) return nullptr;
  return &layers_[static_cast<size_t>(index)];
}

uint16_t DX8MaterialShader::GetLayerCount() { return static_cast<uint16_t>(layers_.size()); }

C3DImage* DX8MaterialShader::GetLayerImage(int32_t index) {
  DX8SHADER_Layer* layer = Layer(index);
  return layer ? layer->image : nullptr;
}

void DX8MaterialShader::SetLayerImage(int32_t index, C3DImage* image) {
  DX8SHADER_Layer* layer = Layer(index);
  if (!layer || layer->image == image) return;
  if (layer->image) layer->image->Release();
  // Only images with a device texture can be drawn by a layer.
  C3DImage* kept = dynamic_cast<DeviceImage*>(image) ? image : nullptr;
  if (kept) kept->AddRef();
  layer->image = kept;
}

bool DX8MaterialShader::EnableLayer(int32_t index) {
  DX8SHADER_Layer* layer = Layer(index);
  if (!layer) return false;
  layer->enabled = true;
  return true;
}

bool DX8MaterialShader::DisableLayer(int32_t index) {
  DX8SHADER_Layer* layer = Layer(index);
  if (!layer) return false;
  layer->enabled = false;
  return true;
}

void DX8MaterialShader::SetLayerBlend(int32_t index, bool textureAlpha, bool diffuse) {
  DX8SHADER_Layer* layer = Layer(index);
  if (!layer) return;
  auto& r = layer->request.values;
  if (textureAlpha && diffuse) {
    r[kColorOp] = gfx::D3DTOP_BLENDTEXTUREALPHA;
    r[kColorArg1] = gfx::D3DTA_TEXTURE;
    r[kColorArg2] = gfx::D3DTA_DIFFUSE;
  } else {
    r[kColorOp] = gfx::D3DTOP_MODULATE;
    r[kColorArg1] = gfx::D3DTA_TEXTURE;
    r[kColorArg2] = gfx::D3DTA_CURRENT;
  }
}

int32_t DX8MaterialShader::SetLayerCount(int32_t count) {
  if (count < 1 || count > kMaxLayers) return status::Fail;
  while (static_cast<int32_t>(layers_.size()) < count) layers_.emplace_back();
  return status::Ok;
}

void DX8MaterialShader::SetAmbient(float red, float green, float blue, float alpha) {
  ambient_ = {red, green, blue, alpha};
}

void DX8MaterialShader::SetDiffuse(float red, float green, float blue, float alpha) {
  diffuse_ = {red, green, blue, alpha};
}

bool DX8MaterialShader::IsPassLayerEnabled(int32_t layer) {
  DX8SHADER_Layer* l = Layer(layer);
  return l && l->enabled;
}

const lumetra::StageRequest& DX8MaterialShader::GetPassLayerRequest(int32_t layer) {
  static const lumetra::StageRequest kDefault = lumetra::DefaultStageRequest();
  DX8SHADER_Layer* l = Layer(layer);
  return l ? l->request : kDefault;
}

void DX8MaterialShader::PrepareDraw(MeshGeometry* geometry) {
  PrepareRun();
  Run(root_, geometry);
}

void DX8MaterialShader::AddCommand(ShaderExecutor executor, const uint32_t* operands, uint16_t count) {
  if (DX8SHADER_Layer* layer = Layer(currentLayer_)) {
    AddCommandTo(executor, operands, count, &layer->commands);
  } else {
    AddCommandTo(executor, operands, count, &root_);
  }
}

DX8SHADER_Layer* DX8MaterialShader::AddLayer() {
  if (static_cast<int32_t>(layers_.size()) >= kMaxLayers) return nullptr;
  layers_.emplace_back();
  return &layers_.back();
}

void DX8MaterialShader::GetDeviceMaterial(gfx::Material* out) const {
  if (!out) return;
  *out = gfx::Material{};
  out->diffuse = diffuse_;
  out->ambient = ambient_;
}

void DX8MaterialShader::BindToDrawItem(DrawItem* item) {
  if (!item) return;
  item->shader = this;
  for (size_t k = 0; k < item->images.size(); ++k)
    item->images[k] = k < layers_.size() ? layers_[k].image : nullptr;
  AddRef();
}
