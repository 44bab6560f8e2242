#pragma once
// The translucent pass: the render item of the render service "AlphaService"
// (spawned as "SPN::KV9:ALPHAMANAGER"). Each frame it draws its list of
// models with their matrices, then every registered updatee (the road
// manager and the game plot register themselves).
#include <cstdint>
#include <vector>

#include "engine/entity/EntityBase.h"
#include "engine/entity/SpawnBase.h"
#include "engine/frame/RenderServiceItem.h"
#include "engine/math/JMatrix.h"

class C3DModel;
class C3DPass;
class Core3D;
class cKV9_GlobalWrapper;

// Something drawn in the translucent pass.
class cAlphaUpdatee {
 public:
  virtual ~cAlphaUpdatee() = default;
  virtual void DrawTranslucent(C3DPass* pass, Core3D* renderer) = 0;
};

class cEntity_AlphaManager : public cEntity_Base, public cRenderServiceItem {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:ALPHAMANAGER";
  static constexpr uint32_t kInitialCapacity = 16;

  explicit cEntity_AlphaManager(cEntity_Manager* manager);
  ~cEntity_AlphaManager() override;

  // Loading: both capacities 16, both counts 0. True.
  bool InitLists();
  // World build: the arrays at their capacities, every slot empty. True.
  bool AllocateLists();
  // World clear: every listed model released, counts 0, arrays freed. True.
  bool ReleaseLists();

  // Appended at the count; the list doubles first when full. Virtual so
  // that the construction library's land plot registers itself without
  // linking the game library.
  virtual void AddUpdatee(cAlphaUpdatee* updatee);
  // The first slot holding it becomes empty; the count drops only when it
  // was the last slot. False when it is not listed.
  virtual bool RemoveUpdatee(cAlphaUpdatee* updatee);
  void GrowList();
  // A model drawn with that matrix each frame until the world clear, which
  // releases the reference the list holds.
  void AddModel(C3DModel* model, const JMatrix& matrix);

  // The models with their matrices, then every listed updatee. 0.
  CoreStatus Render(C3DPass* pass, Core3D* renderer) override;

  uint32_t GetUpdateeCount() const { return updateeCount_; }
  uint32_t GetUpdateeCapacity() const { return updateeCapacity_; }
  cAlphaUpdatee* GetUpdatee(uint32_t i) const { return i < updatees_.size() ? updatees_[i] : nullptr; }
  uint32_t GetModelCount() const { return modelCount_; }
  uint32_t GetModelCapacity() const { return modelCapacity_; }

 private:
  std::vector<C3DModel*> models_;
  uint32_t modelCount_ = 0;
  uint32_t modelCapacity_ = kInitialCapacity;
  std::vector<JMatrix> matrices_;
  cKV9_GlobalWrapper* wrapper_ = nullptr;
  std::vector<cAlphaUpdatee*> updatees_;
  uint32_t updateeCount_ = 0;
  uint32_t updateeCapacity_ = kInitialCapacity;
};

class SpawnAlphaManager : public cSpawn_Base {
 public:
  SpawnAlphaManager() : cSpawn_Base(cEntity_AlphaManager::kSpawnName) {}
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override;
};
