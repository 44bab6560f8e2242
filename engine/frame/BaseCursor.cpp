#include "engine/frame/BaseCursor.h"

#include <cstring>

#include "engine/frame/BaseCamera.h"
#include "engine/math/CameraView.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/InputPackets.h"

cEntity_BaseCursor::cEntity_BaseCursor(cEntity_Manager* manager)
    : cEntity_BaseModel(manager), cCore_Base_InputSocket("BaseCursor") {
  SetName("MainCursor");
}

cEntity_BaseCursor::~cEntity_BaseCursor() = default;

CoreStatus cEntity_BaseCursor::BindCamera(Core3D* renderer, uint32_t word) {
  word_ = word;
  if (!cameraName_.empty() && GetManager()) {
    if (cEntity_Base* entity = GetManager()->FindEntity(cameraName_)) {
      auto* camera = dynamic_cast<cEntity_BaseCamera*>(entity);
      if (!camera) return status::Fail;
      SetCamera(camera);
    }
  }
  if (status::Failed(cEntity_BaseModel::SetModel(renderer)) || !GetCurrentModel()) return status::Fail;
  node_.mesh = GetCurrentModel();
  return cRenderServiceItem::SetModel(&node_);
}

void cEntity_BaseCursor::SetCamera(cEntity_BaseCamera* camera) {
  camera_ = camera;
  if (!camera_) return;
  camera_->SetOrthographic(true);
  if (CameraView* view = camera_->GetView()) {
    view->perspective = false;
    view->BuildProjection();
    camera_->UpdateView();
  }
}

CoreStatus cEntity_BaseCursor::Render(C3DPass* pass, Core3D* renderer) {
  float world[16];
  GetWorldMatrix(world);
  std::memcpy(node_.local.m, world, sizeof(world));
  return cRenderServiceItem::Render(pass, renderer);
}

void cEntity_BaseCursor::Hide() {
  hidden_ = 1;
  SetVisible(false);
}

void cEntity_BaseCursor::Show() {
  hidden_ = 0;
  SetVisible(true);
}

void cEntity_BaseCursor::SetCameraName(const std::string& name) { cameraName_ = name; }

CoreStatus cEntity_BaseCursor::OnMouse(MousePacket* packet) {
  if (!camera_ || !packet) return status::Fail;
  SetVisible(hidden_ == 0);
  float width = 0.0f;
  float height = 0.0f;
  cCore_GlobalWrapper* table = GetManager() ? GetManager()->GetGlobalWrapper() : nullptr;
  if (table) {
    width = static_cast<float>(table->clientRect.right - table->clientRect.left);
    height = static_cast<float>(table->clientRect.bottom - table->clientRect.top);
  }
  JVector start;
  JVector second;
  if (status::Failed(camera_->ScreenToRay(static_cast<float>(packet->x), static_cast<float>(packet->y), width,
                                          height, &start, &second))) {
    return status::Ok;
  }
  SetPosition(second.x, second.y, second.z);
  return status::Ok;
}
