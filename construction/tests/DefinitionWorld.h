#pragma once
// A building manager with a recording renderer, a resource path and the
// ambient and scenery hooks installed, for the definition and table tests,
// their fuzz targets and the run of the real data.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "construction/tests/TestBuildingManager.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/tests/FakeCore3D.h"
#include "simulation/AmbientData.h"

namespace buildtest {

// A material shader that records the layer calls made on it.
class LayerShader : public fake3d::FakeShader, public C3DMaterialShader {
 public:
  using fake3d::FakeShader::FakeShader;
  uint16_t GetLayerCount() override { return 2; }
  C3DImage* GetLayerImage(int32_t) override { return nullptr; }
  void SetLayerImage(int32_t, C3DImage*) override {}
  bool EnableLayer(int32_t index) override {
    calls.push_back("enable " + std::to_string(index));
    return true;
  }
  bool DisableLayer(int32_t index) override {
    calls.push_back("disable " + std::to_string(index));
    return true;
  }
  void SetLayerBlend(int32_t index, bool alpha, bool diffuse) override {
    calls.push_back("blend " + std::to_string(index) + " " + std::to_string(alpha) + " " + std::to_string(diffuse));
  }
  int32_t SetLayerCount(int32_t) override { return 0; }
  void SetAmbient(float, float, float, float) override {}
  void SetDiffuse(float, float, float, float) override {}
  std::vector<std::string> calls;
};

// A model with named animations and a material on its one part.
class AnimatedModel : public fake3d::FakeModel {
 public:
  using fake3d::FakeModel::FakeModel;
  int32_t GetAnimationCount() override { return static_cast<int32_t>(animations.size()); }
  std::string GetAnimationName(int32_t index) override {
    return index >= 0 && static_cast<size_t>(index) < animations.size() ? animations[static_cast<size_t>(index)]
                                                                          : std::string();
  }
  std::vector<std::string> animations;
};

// The recording renderer: every model it makes carries its own material,
// and a model load leaves a tint behind, as a real load may.
class DefinitionCore3D : public fake3d::FakeCore3D {
 public:
  C3DModel* CreateModel(uint32_t flags, std::string name) override {
    requests.push_back(fake3d::Request{"model", flags, name});
    modelVertexColour = kLeftoverTint;
    if (refused.count(name) || (onlyExisting && !exists(name))) return nullptr;
    auto model = std::make_unique<AnimatedModel>(this, flags, name);
    auto it = animations.find(name);
    if (it != animations.end()) model->animations = it->second;
    materials.push_back(std::make_unique<LayerShader>(this, 0, name + " material"));
    model->shader = materials.back().get();
    AnimatedModel* raw = model.get();
    models.push_back(std::move(model));
    return raw;
  }

  static constexpr uint32_t kLeftoverTint = 0x80FF0000u;
  // Animation names of the models made from a name.
  std::map<std::string, std::vector<std::string>> animations;
  std::vector<std::unique_ptr<LayerShader>> materials;
  // When set, names whose file `exists` denies are refused.
  bool onlyExisting = false;
  std::function<bool(const std::string&)> exists;
};

struct DefinitionWorld {
  explicit DefinitionWorld(const std::string& resourcePath = "Res\\") {
    entities.SetResourcePath(resourcePath);
    table.graphics = &renderer;
    manager.SetTable(&table);
    manager.hooks.addAmbientData = [this](AmbientData* record) {
      offered.push_back(record->name);
      if (!acceptAmbient) return false;
      ambient.emplace_back(record);
      return true;
    };
    manager.hooks.addStaticModel = [this](C3DModel* model, const std::vector<std::string>& params) {
      scenery.emplace_back(model, params);
    };
  }
  ~DefinitionWorld() {
    for (auto& [model, params] : scenery) renderer.ReleaseResource(model);
    table.graphics = nullptr;
  }
  DefinitionWorld(const DefinitionWorld&) = delete;
  DefinitionWorld& operator=(const DefinitionWorld&) = delete;

  cBuildableObject* Type(uint8_t classCode, const std::string& name, uint8_t level) {
    const uint16_t count = manager.GetTypeIdCount(classCode);
    for (uint16_t id = 0; id < count; ++id) {
      const std::string* typeName = manager.GetTypeName(classCode, id);
      if (typeName && *typeName == name) return manager.GetBuildingType(classCode, id, level);
    }
    return nullptr;
  }

  DefinitionCore3D renderer;
  cEntity_Manager entities{nullptr};
  cKV9_GlobalWrapper table;
  TestBuildingManager manager{&entities};
  bool acceptAmbient = true;
  std::vector<std::string> offered;
  std::vector<std::unique_ptr<AmbientData>> ambient;
  std::vector<std::pair<C3DModel*, std::vector<std::string>>> scenery;
};

}  // namespace buildtest
