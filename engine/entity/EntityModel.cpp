#include "engine/entity/EntityModel.h"

#include <string_view>

#include "engine/services/Core3D.h"
#include "engine/entity/EntityManager.h"
#include "engine/files/ObjectDef.h"
#include "base/StringUtil.h"
#include "platform/Locale.h"

namespace {

// The definition's value for `key`, or empty; the definition is not changed.
std::string Setting(const ObjectDef& def, const std::string& key) {
  const std::string* value = def.FindValue(key);
  return value ? *value : std::string();
}

bool IsPlaneFile(std::string_view extension) {
  for (const char* known : {".jsm", ".tga", ".bmp", ".jpg"}) {
    if (str::EqualsNoCase(extension, known)) return true;
  }
  return false;
}

}  // namespace

cEntity_BaseModel::cEntity_BaseModel(cEntity_Manager* manager) : cEntity_Base3D(manager) { (void)spareWords_; }

cEntity_BaseModel::~cEntity_BaseModel() {
  for (C3DModel* model : loadedModels_) {
    if (model) model->Release();
  }
  loadedModels_.clear();
  currentModel_ = nullptr;
}

bool cEntity_BaseModel::Init(ObjectDef* definition) {
  if (!cEntity_Base3D::Init(definition)) return false;
  SetName(definition->name);

  const std::string position = Setting(*definition, "position");
  if (!position.empty()) {
    const size_t comma = position.find(',');
    SetPositionX(static_cast<float>(platform::ParseInt(std::string_view(position).substr(0, comma))));
    // Without a comma there is no second number and Y stays.
    if (comma != std::string::npos) {
      SetPositionY(static_cast<float>(platform::ParseInt(std::string_view(position).substr(comma + 1))));
    }
  }
  if (str::EqualsNoCase(Setting(*definition, "unique"), "true")) unique_ = 1;

  const std::string model = Setting(*definition, "model");
  if (!model.empty()) {
    modelNames_.push_back(model);
  } else {
    // Numbered names from 0 up; the first empty one ends the list.
    for (int n = 0;; ++n) {
      const std::string numbered = Setting(*definition, "model" + std::to_string(n));
      if (numbered.empty()) break;
      modelNames_.push_back(numbered);
    }
  }
  const std::string pivot = Setting(*definition, "pivot");
  if (!pivot.empty()) pivot_ = platform::ParseInt(pivot);
  return true;
}

CoreStatus cEntity_BaseModel::SetModelNames(Core3D* renderer, const std::vector<std::string>& names) {
  if (!loadedModels_.empty() || !modelNames_.empty()) return status::Fail;
  modelNames_ = names;
  return SetModel(renderer);
}

CoreStatus cEntity_BaseModel::SetModelName(Core3D* renderer, const std::string& name) {
  return SetModelNames(renderer, std::vector<std::string>{name});
}

CoreStatus cEntity_BaseModel::SetModel(Core3D* renderer) {
  if (modelNames_.empty() || !loadedModels_.empty() || !renderer) return status::Fail;
  const std::string resourcePath = GetManager() ? GetManager()->GetResourcePath() : std::string();
  loadedModels_.assign(modelNames_.size(), nullptr);
  loadedCount_ = static_cast<int32_t>(modelNames_.size());
  for (size_t i = 0; i < modelNames_.size(); ++i) {
    std::string& name = modelNames_[i];
    name = resourcePath + name;
    const std::string_view extension =
        name.size() >= 4 ? std::string_view(name).substr(name.size() - 4) : std::string_view();
    C3DModel* loaded = nullptr;
    if (str::EqualsNoCase(extension, ".ssm")) {
      loaded = renderer->CreateModel(unique_ ? kModelFlag_Unique : 0u, name);
    } else if (IsPlaneFile(extension)) {
      loaded = renderer->CreateModel(kModelFlag_Plane, kPlaneModelName);
      if (loaded) {
        loaded->SetTextureExtent(0, 1.0f, 1.0f);
        // A shader the renderer cannot make leaves the plane as it is.
        if (C3DBaseShader* shader = renderer->CreateShader(kShaderFlag_Model, name)) loaded->SetShader(0, shader);
      }
    }
    if (loaded) loaded->SetAnchor(pivot_);
    loadedModels_[i] = loaded;
  }
  currentIndex_ = 0;
  currentModel_ = loadedModels_[0];
  return status::Ok;
}

int32_t cEntity_BaseModel::GetModelIndex() { return currentIndex_; }

const std::string* cEntity_BaseModel::GetModelName(int32_t i) {
  if (i < 0 || static_cast<size_t>(i) >= modelNames_.size()) return nullptr;
  return &modelNames_[static_cast<size_t>(i)];
}

CoreStatus cEntity_BaseModel::SelectModel(int32_t i) {
  if (i < 0 || i >= loadedCount_) return status::Fail;
  currentIndex_ = i;
  currentModel_ = loadedModels_[static_cast<size_t>(i)];
  return status::Ok;
}

void cEntity_BaseModel::AddModelName(const std::string& name) { modelNames_.push_back(name); }

C3DModel* cEntity_BaseModel::GetLoadedModel(int32_t i) const {
  if (i < 0 || i >= loadedCount_) return nullptr;
  return loadedModels_[static_cast<size_t>(i)];
}
