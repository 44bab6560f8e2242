#include "engine/frame/ParticleFactory.h"

#include "engine/services/C3DBaseShader.h"
#include "engine/services/C3DMesh.h"
#include "engine/math/CameraView.h"
#include "engine/services/Core3D.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/frame/ParticleEmitter.h"
#include "engine/frame/RenderService.h"

cEntity_ParticleFactory::cEntity_ParticleFactory(cEntity_Manager* manager) : cEntity_BaseModel(manager) {
  SetVisible(true);
}

cEntity_ParticleFactory::~cEntity_ParticleFactory() { ReleaseMeshes(); }

Core3D* cEntity_ParticleFactory::Renderer() {
  if (renderer_) return renderer_;
  cCore_GlobalWrapper* table = GetManager() ? GetManager()->GetGlobalWrapper() : nullptr;
  return table ? table->graphics : nullptr;
}

void cEntity_ParticleFactory::ReleaseMeshes() {
  Core3D* renderer = Renderer();
  for (C3DMesh* mesh : meshes_) {
    if (!mesh) continue;
    if (renderer) {
      renderer->ReleaseResource(mesh);
    } else {
      mesh->Release();
    }
  }
  meshes_.clear();
}

cParticleEmitter* cEntity_ParticleFactory::CreateEmitter(const JVector& position, const JVector& direction) {
  cParticleEmitter* emitter = cParticleServiceItem::CreateEmitter(position, direction);
  emitter->AddRef();
  return emitter;
}

void cEntity_ParticleFactory::SetFrameCount(uint16_t frames) {
  cParticleServiceItem::SetFrameCount(frames);
  ReleaseMeshes();
  Core3D* renderer = Renderer();
  if (!renderer) return;
  const uint32_t quads = GetQuadCapacity();
  const auto& materials = GetParams().materials;
  for (uint16_t f = 0; f < GetFrameCount(); ++f) {
    C3DMesh* mesh = renderer->CreateMesh(0, kMeshName);
    if (mesh) {
      mesh->Reserve(quads * 4, quads * 6);
      if (f < materials.size()) {
        if (auto* material = dynamic_cast<C3DMaterialShader*>(materials[f])) mesh->SetShader(material);
      }
    }
    meshes_.push_back(mesh);
  }
}

CoreStatus cEntity_ParticleFactory::Render(C3DPass* pass, Core3D* renderer) {
  cRenderService* service = GetRenderOwner();
  CameraView* view = service ? service->GetView() : nullptr;
  if (!view || !renderer) return status::Ok;
  const JVector eye(view->eye[0], view->eye[1], view->eye[2]);
  cParticleServiceItem::Render(view->view, eye);
  JMatrix world;
  JMath_MatrixInverse(view->view, world);
  for (uint16_t f = 0; f < GetFrameCount() && f < meshes_.size(); ++f) {
    C3DMesh* mesh = meshes_[f];
    const uint32_t quads = GetQuadCount(f);
    if (!mesh || quads == 0 || !IsVisible()) continue;
    mesh->SetVertices(GetVertices(f), quads * 4, false, true);
    mesh->SetIndices(GetIndices(f), quads * 6, false, true);
    renderer->DrawResource(pass, mesh, &world);
  }
  return status::Ok;
}
