#pragma once
// The recording renderer with what the terrain needs beyond it: models that
// take geometry, images that keep their pixels, and materials with layers.
#include <memory>
#include <vector>

#include "engine/services/C3DImage.h"
#include "engine/services/tests/FakeCore3D.h"

namespace worldfake {

class EditableModel : public fake3d::FakeModel {
 public:
  using FakeModel::FakeModel;
  bool IsEditable() override { return true; }
  bool BeginEdit() override { return editing = true; }
  bool EndEdit() override {
    const bool was = editing;
    editing = false;
    return was;
  }
  bool IsEditing() override { return editing; }
  void SetVertices(const RenderVertex* v, uint16_t count) override { vertices.assign(v, v + count); }
  void SetIndices(const uint16_t* values, const uint16_t* parts, uint32_t count) override {
    indices.assign(values, values + count);
    indexParts.assign(parts, parts ? parts + count : parts);
  }
  bool editing = false;
  std::vector<RenderVertex> vertices;
  std::vector<uint16_t> indices;
};

using Image = fake3d::PixelImage;

class Material : public fake3d::FakeShader, public C3DMaterialShader {
 public:
  using FakeShader::FakeShader;
  uint16_t GetLayerCount() override { return 1; }
  C3DImage* GetLayerImage(int32_t) override { return layer; }
  void SetLayerImage(int32_t, C3DImage* image) override { layer = image; }
  bool EnableLayer(int32_t) override { return true; }
  bool DisableLayer(int32_t) override { return true; }
  void SetLayerBlend(int32_t, bool, bool) override {}
  int32_t SetLayerCount(int32_t) override { return 0; }
  void SetAmbient(float, float, float, float a) override { alpha = a; }
  void SetDiffuse(float, float, float, float a) override { alpha = a; }
  C3DImage* layer = nullptr;
  float alpha = -1.0f;
};

class WorldCore3D : public fake3d::FakeCore3D {
 public:
  C3DModel* CreateModel(uint32_t flags, std::string name) override {
    requests.push_back(fake3d::Request{"model", flags, name});
    if (refused.count(name)) return nullptr;
    models.push_back(std::make_unique<EditableModel>(this, flags, name));
    return models.back().get();
  }
  C3DBaseShader* CreateShader(uint32_t flags, std::string name) override {
    requests.push_back(fake3d::Request{"shader", flags, name});
    if (refused.count(name)) return nullptr;
    shaders.push_back(std::make_unique<Material>(this, flags, name));
    return shaders.back().get();
  }
  C3DImage* CreateImage(uint32_t flags, std::string name) override {
    requests.push_back(fake3d::Request{"image", flags, name});
    images.push_back(std::make_unique<Image>(this, flags, name));
    return images.back().get();
  }
  void AddRefResource(C3DImage* image) override { image->AddRef(); }
  void ReleaseResource(C3DImage* image) override { image->Release(); }
  CoreStatus GetCapability(int32_t index, uint32_t* value) override {
    if (index != 0 || !value) return -1;
    *value = largestTexture;
    return 0;
  }
  // Everything the code under test still holds.
  int Held() const {
    int held = 0;
    for (auto& m : models) held += m->GetRefCount();
    for (auto& s : shaders) held += s->GetRefCount();
    for (auto& i : images) held += i->GetRefCount();
    for (auto& m : meshes) held += m->GetRefCount();
    return held;
  }
  std::vector<std::unique_ptr<Image>> images;
  uint32_t largestTexture = 2048;
};

}  // namespace worldfake
