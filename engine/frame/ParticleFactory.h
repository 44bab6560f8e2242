#pragma once
// The game's particle effect entity: a model entity that is also a time
// item, a render item and a particle item. It runs the emitters of one
// effect and draws their camera-facing quads in dynamic meshes of the
// renderer, one mesh per texture frame.
#include <cstdint>
#include <vector>

#include "engine/entity/EntityModel.h"
#include "engine/frame/ParticleServiceItem.h"
#include "engine/frame/RenderServiceItem.h"
#include "engine/entity/SpawnBase.h"
#include "engine/frame/TimeService.h"

class C3DMesh;

class cEntity_ParticleFactory : public cEntity_BaseModel,
                                public TimeServiceItem,
                                public cRenderServiceItem,
                                public cParticleServiceItem {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:PARTICLE:FACTORY";
  static constexpr const char* kMeshName = "dynamicmesh_ParticleFactory";

  explicit cEntity_ParticleFactory(cEntity_Manager* manager);
  // Gives the meshes back to the renderer.
  ~cEntity_ParticleFactory() override;

  // A new emitter holding one reference for the caller.
  cParticleEmitter* CreateEmitter(const JVector& position, const JVector& direction) override;
  // Makes one dynamic mesh per texture frame, each room for the effect's
  // quad capacity.
  void SetFrameCount(uint16_t frames) override;
  // Builds the quads for the render service's view and draws every frame's
  // mesh that has any. The quads are built in view space, so the mesh is
  // drawn with the inverse of the view as its world matrix.
  CoreStatus Render(C3DPass* pass, Core3D* renderer) override;
  // The particle item's own Render (view and camera) stays callable.
  using cParticleServiceItem::Render;

  C3DMesh* GetMesh(uint16_t frame) const { return frame < meshes_.size() ? meshes_[frame] : nullptr; }
  // The renderer the meshes come from (the service table's, unless set).
  void SetRenderer(Core3D* renderer) { renderer_ = renderer; }

 private:
  Core3D* Renderer();
  void ReleaseMeshes();

  Core3D* renderer_ = nullptr;
  std::vector<C3DMesh*> meshes_;
};

class SpawnParticleFactory : public cSpawn_Base {
 public:
  SpawnParticleFactory() : cSpawn_Base(cEntity_ParticleFactory::kSpawnName) {}
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override {
    return new cEntity_ParticleFactory(creator);
  }
};
