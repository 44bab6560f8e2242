#pragma once
// A 3D entity with a look: one or more renderer models, loaded by name
// through the renderer and switched between. Names come from the object
// definition ("Model", or "Model0", "Model1", ...), or are given directly;
// the models are loaded once, by SetModel, and each is released once when
// the entity is destroyed.
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "engine/entity/Entity3D.h"

class C3DModel;
class Core3D;

// Model request flags the model entity uses.
inline constexpr uint32_t kModelFlag_Unique = 0x40;  // a model of its own, not shared by name
inline constexpr uint32_t kModelFlag_Plane = 0x60;   // the built-in plane for images and materials
inline constexpr uint32_t kShaderFlag_Model = 8;
// The built-in plane that shows an image or material file.
inline constexpr const char* kPlaneModelName = "polymesh_planeUL_cursor";

class cEntity_BaseModel : public cEntity_Base3D {
 public:
  explicit cEntity_BaseModel(cEntity_Manager* manager);
  // Releases every loaded model once.
  ~cEntity_BaseModel() override;

  // The base Init, then "Position" (x,y as whole numbers), "Unique",
  // "Model" or the numbered "Model<n>" settings, and "Pivot". Loads nothing.
  bool Init(ObjectDef* definition) override;

  // 0x80004005 when names are set or models loaded; else the names are
  // taken and loaded with SetModel.
  virtual CoreStatus SetModelNames(Core3D* renderer, const std::vector<std::string>& names);
  virtual CoreStatus SetModelName(Core3D* renderer, const std::string& name);
  // Loads one model per name (the manager's resource path put in front of
  // each): ".ssm" files as models, ".jsm"/".tga"/".bmp"/".jpg" as a shader
  // on the built-in plane, anything else as no model. 0x80004005 when there
  // are no names or models are loaded already.
  virtual CoreStatus SetModel(Core3D* renderer);
  virtual int32_t GetModelIndex();
  // Name i, or null outside the names.
  virtual const std::string* GetModelName(int32_t i);
  // 0x80004005 outside 0..loaded-1 (the current model stays).
  virtual CoreStatus SelectModel(int32_t i);
  virtual void AddModelName(const std::string& name);

  C3DModel* GetCurrentModel() const { return currentModel_; }
  int32_t GetLoadedCount() const { return loadedCount_; }
  C3DModel* GetLoadedModel(int32_t i) const;
  size_t GetModelNameCount() const { return modelNames_.size(); }
  bool IsUnique() const { return unique_ != 0; }
  int32_t GetPivot() const { return pivot_; }

 protected:
  C3DModel* currentModel_ = nullptr;
  uint32_t spareWords_[2] = {0, 0};
  std::list<cEntity_BaseModel*> modelEntities_;
  int32_t currentIndex_ = 0;
  int32_t loadedCount_ = 0;
  std::vector<C3DModel*> loadedModels_;
  std::vector<std::string> modelNames_;
  uint8_t unique_ = 0;
  int32_t pivot_ = 0;
};
