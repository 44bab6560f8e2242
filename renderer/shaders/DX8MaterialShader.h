#pragma once
// A material: the render states a surface is drawn with, up to four texture
// layers (image, stage states, enabled switch, the layer's own command
// list), a device material colour, a sort priority and a depth-sort switch.
// Built by a ".jsm" script or filled through C3DMaterialShader; the passes
// read it through PassShader, models hold it through SSMShaderRef.
#include <array>
#include <cstdint>
#include <vector>

#include "renderer/DrawItem.h"
#include "renderer/RenderStateCache.h"
#include "renderer/formats/SSMShaderRef.h"
#include "renderer/shaders/DX8BaseShader.h"

// Positions in the material's state block.
enum MaterialState : size_t {
  kZEnable, kZWriteEnable, kZFunc, kZBias, kAlphaRef, kAlphaFunc, kAlphaTestEnable, kAlphaBlendEnable,
  kSrcBlend, kDestBlend, kCullMode, kLighting, kShadeMode, kAmbientSource, kDiffuseSource,
};
// Positions in a layer's stage request.
enum LayerStage : size_t {
  kAddressU, kAddressV, kMagFilter, kMinFilter, kMipFilter, kColorOp, kColorArg1, kColorArg2,
  kAlphaOp, kAlphaArg1, kAlphaArg2,
};

struct DX8SHADER_Layer {
  C3DImage* image = nullptr;  // one reference held; always a device image
  lumetra::StageRequest request = lumetra::DefaultLayerRequest();
  bool enabled = true;
  DX8CommandList commands;
};

class DX8MaterialShader : public DX8BaseShader,
                          public C3DMaterialShader,
                          public PassShader,
                          public SSMShaderRef {
 public:
  static constexpr int32_t kMaxLayers = 4;

  DX8MaterialShader(Lumetra* owner, uint32_t flags, std::string name);
  ~DX8MaterialShader() override;

  // C3DMaterialShader
  uint16_t GetLayerCount() override;
  C3DImage* GetLayerImage(int32_t index) override;
  void SetLayerImage(int32_t index, C3DImage* image) override;
  bool EnableLayer(int32_t index) override;
  bool DisableLayer(int32_t index) override;
  void SetLayerBlend(int32_t index, bool textureAlpha, bool diffuse) override;
  int32_t SetLayerCount(int32_t count) override;
  void SetAmbient(float red, float green, float blue, float alpha) override;
  void SetDiffuse(float red, float green, float blue, float alpha) override;

  // PassShader
  const lumetra::ShaderStateBlock& GetStateBlock() override { return block_; }
  uint16_t GetPassLayerCount() override { return GetLayerCount(); }
  C3DImage* GetPassLayerImage(int32_t layer) override { return GetLayerImage(layer); }
  bool IsPassLayerEnabled(int32_t layer) override;
  const lumetra::StageRequest& GetPassLayerRequest(int32_t layer) override;
  int32_t GetSortPriority() override { return priority_; }
  bool IsDepthSortedShader() override { return depthSort_; }
  platform::gfx::ColorValue GetMaterialDiffuse() override { return diffuse_; }
  platform::gfx::ColorValue GetMaterialAmbient() override { return ambient_; }
  void PrepareDraw(MeshGeometry* geometry) override;

  // SSMShaderRef
  void AddShaderRef() override { AddRef(); }
  void ReleaseShaderRef() override { Release(); }

  // Commands go to the current layer's list while a layer is current.
  void AddCommand(ShaderExecutor executor, const uint32_t* operands, uint16_t count) override;

  int16_t GetCurrentLayer() const { return currentLayer_; }
  void SetCurrentLayer(int16_t layer) { currentLayer_ = layer; }
  // A new layer with the default values; null when there are four.
  DX8SHADER_Layer* AddLayer();
  DX8SHADER_Layer* Layer(int32_t index);
  void SetSortPriority(int32_t value) { priority_ = value; }
  void SetDepthSort(bool on) { depthSort_ = on; }
  void GetDeviceMaterial(platform::gfx::Material* out) const;
  // The item draws with this material and its layer images; the material
  // gains one reference.
  void BindToDrawItem(DrawItem* item);

  uint32_t GetState(size_t position) const { return block_.values[position]; }
  void SetState(size_t position, uint32_t value) { block_.values[position] = value; }

 private:
  int16_t currentLayer_ = -1;
  lumetra::ShaderStateBlock block_;
  std::vector<DX8SHADER_Layer> layers_;
  bool depthSort_ = false;
  int32_t priority_ = 0;
  platform::gfx::ColorValue ambient_{1.0f, 1.0f, 1.0f, 1.0f};
  platform::gfx::ColorValue diffuse_{1.0f, 1.0f, 1.0f, 1.0f};
};
