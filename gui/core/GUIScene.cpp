#include "gui/core/GUIScene.h"

#include <algorithm>
#include <limits>

#include "engine/math/CameraView.h"
#include "engine/services/Core3D.h"

GUIScene::GUIScene(cEntity_Manager* owner) : Widget(owner) {
  SetKind(GUIKIND_SCENE);
  solid_ = 0;
}

GUIScene::~GUIScene() { GUIScene::Exit(); }

CoreStatus GUIScene::Initialize() {
  if (autoSize_ && !children_.empty()) {
    float left = std::numeric_limits<float>::max(), right = -left;
    float top = -left, bottom = left;
    float front = -left, back = left;
    for (GUIEntity* child : children_) {
      const float x = child->GetPositionX();
      const float y = child->GetPositionY();
      const float z = child->GetPositionZ();
      left = std::min(left, x);
      right = std::max(right, x + child->GetWidth() * child->ScaleX());
      top = std::max(top, y);
      bottom = std::min(bottom, y - child->GetHeight() * child->ScaleY());
      front = std::max(front, z);
      back = std::min(back, z - child->GetDepth() * child->ScaleZ());
    }
    width_ = right - left;
    height_ = top - bottom;
    depth_ = front - back;
  }
  Core3D* renderer = Renderer();
  if (renderer && !view_) {
    view_ = renderer->AddView();
    if (view_) {
      if (const platform::RECT* rect = gui_->GetWrapperBlockRef()) {
        view_->viewportWidth = static_cast<float>(rect->right - rect->left);
        view_->viewportHeight = static_cast<float>(rect->bottom - rect->top);
      }
    }
  }
  UpdateCamera();
  return status::Ok;
}

CoreStatus GUIScene::Exit() {
  // Every reload would otherwise add one more view to the renderer.
  if (view_) {
    if (Core3D* renderer = Renderer()) {
      for (int32_t i = 0; i < renderer->GetViewCount(); ++i) {
        if (renderer->GetView(i) == view_) {
          renderer->RemoveView(i);
          break;
        }
      }
    }
    view_ = nullptr;
  }
  return Widget::Exit();
}

void GUIScene::UpdateCamera() {
  if (!view_) return;
  view_->LookAt(eye_, target_, up_);
  view_->BuildProjection();
}

void GUIScene::SetCameraPosition(float x, float y, float z) {
  eye_[0] = x;
  eye_[1] = y;
  eye_[2] = z;
  UpdateCamera();
}

void GUIScene::SetCameraTarget(float x, float y, float z) {
  target_[0] = x;
  target_[1] = y;
  target_[2] = z;
  UpdateCamera();
}
