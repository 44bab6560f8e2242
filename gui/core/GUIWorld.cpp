#include "gui/core/GUIWorld.h"

#include "engine/services/C3DResource.h"
#include "engine/services/Core3D.h"

GUIWorld::GUIWorld(cEntity_Manager* owner) : GUIEntity(owner) {
  SetKind(GUIKIND_WORLD);
  // Corners of the unit box (0,0,0)..(1,-1,-1); bit 0 x, bit 1 y, bit 2 z.
  for (int i = 0; i < 8; ++i) {
    boxVertices_[i] = RenderVertex{(i & 1) ? 1.0f : 0.0f, (i & 2) ? -1.0f : 0.0f, (i & 4) ? -1.0f : 0.0f,
                                   0xFFFFFFFFu, 0.0f, 0.0f, 0.0f, 0.0f};
  }
  static constexpr uint16_t kEdges[24] = {0, 1, 2, 3, 4, 5, 6, 7, 0, 2, 1, 3, 4, 6, 5, 7, 0, 4, 1, 5, 2, 6, 3, 7};
  for (int i = 0; i < 24; ++i) boxIndices_[i] = kEdges[i];
}

GUIWorld::~GUIWorld() { GUIWorld::Exit(); }

CoreStatus GUIWorld::Initialize() {
  UpdateTransform();
  return status::Ok;
}

CoreStatus GUIWorld::Exit() {
  boundsMeshes_[0].Reset();
  boundsMeshes_[1].Reset();
  solidShader_.Reset();
  ghostShader_.Reset();
  font1_.Reset();
  font2_.Reset();
  font3_.Reset();
  return GUIEntity::Exit();
}

void GUIWorld::SetBoundsShaders(const std::string& solid, const std::string& ghost) {
  solidShader_.Reset();
  ghostShader_.Reset();
  boundsMeshes_[0].Reset();
  boundsMeshes_[1].Reset();
  if (Core3D* renderer = Renderer()) {
    const std::string base = gui_->GetResourcePath();
    solidShader_.Adopt(renderer->CreateShader(0, base + solid));
    ghostShader_.Adopt(renderer->CreateShader(0, base + ghost));
  }
  SetDefaultFont(nullptr);
}

void GUIWorld::StoreFont(ResourceRef<C3DFont>& slot, C3DFont* font) {
  if (font) {
    slot.Set(font);
    return;
  }
  Core3D* renderer = Renderer();
  slot.Adopt(renderer ? renderer->CreateFont(RF_BUILTIN, "future font") : nullptr);
}

void GUIWorld::OnPassBegin(C3DPass*) {
  Core3D* renderer = Renderer();
  if (renderer && (beginClear_ || beginDepthClear_)) {
    renderer->Clear(beginClear_ != 0, beginColour_, beginDepthClear_ != 0, 1.0f, false, 0);
  }
}

void GUIWorld::OnPassPrepare(C3DPass* pass) {
  if (Core3D* renderer = Renderer()) {
    renderer->Clear(prepareClear_ != 0, prepareColour_, prepareDepthClear_ != 0, 1.0f, false, 0);
    renderer->SetAmbientColour(0.9f, 0.9f, 0.9f, 0.0f);
  }
  if (pass) pass->AddEntity(this);
}

void GUIWorld::Render(C3DPass* pass) {
  if (!active_ || !visible_) return;
  Core3D* renderer = Renderer();
  GUIEntity::Render(renderer, pass);
  if (showBounds_) DrawBounds(renderer, pass);
}

C3DMesh* GUIWorld::GetBoundsMesh(bool solid) {
  ResourceRef<C3DMesh>& slot = boundsMeshes_[solid ? 0 : 1];
  if (slot) return slot.Get();
  Core3D* renderer = Renderer();
  if (!renderer) return nullptr;
  C3DMesh* mesh = renderer->CreateMesh(0, solid ? "GUI bounds solid" : "GUI bounds ghost");
  if (!mesh) return nullptr;
  mesh->SetVertices(boxVertices_, 8, false, true);
  mesh->SetIndices(boxIndices_, 24, false, true);
  mesh->SetLineMode(1);
  mesh->SetShader(dynamic_cast<C3DMaterialShader*>(solid ? solidShader_.Get() : ghostShader_.Get()));
  slot.Adopt(mesh);
  return mesh;
}
