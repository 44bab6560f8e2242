#include "engine/frame/RenderService.h"

#include <algorithm>

#include "engine/frame/BaseCamera.h"
#include "engine/services/C3DPass.h"
#include "engine/math/CameraView.h"
#include "engine/services/Core3D.h"
#include "engine/entity/EntityManager.h"
#include "engine/frame/RenderServiceItem.h"
#include "base/StringUtil.h"
#include "platform/DebugOutput.h"

namespace {

void ToArray(const JVector& v, float out[3]) {
  out[0] = v.x;
  out[1] = v.y;
  out[2] = v.z;
}

void LookAt(CameraView* view, const JVector& eye, const JVector& target, const JVector& up) {
  float e[3];
  float t[3];
  float u[3];
  ToArray(eye, e);
  ToArray(target, t);
  ToArray(up, u);
  view->LookAt(e, t, u);
}

}  // namespace

cRenderService::cRenderService(cEntity_Manager* creator) : cBaseService(creator) {
  SetServiceType(eServiceKind_Render);
}

cRenderService::~cRenderService() {
  for (cRenderServiceItem* item : items_) item->owner_ = nullptr;
  items_.clear();
}

void cRenderService::OnPassBegin(C3DPass*) {
  if (!active_ || !renderer_) return;
  if (frameClear_ || frameDepthClear_) renderer_->Clear(frameClear_, 0, frameDepthClear_, 1.0f, false, 0);
}

void cRenderService::OnPassPrepare(C3DPass* pass) {
  if (!active_ || !renderer_) return;
  if (passClear_ || passDepthClear_) renderer_->Clear(passClear_, 0, passDepthClear_, 1.0f, false, 0);
  if (pass) pass->AddEntity(this);
  renderer_->SetAmbientColour(ambient_.x, ambient_.y, ambient_.z, 0.0f);
}

void cRenderService::Render(C3DPass* pass) {
  // By position: an item's drawing may add or remove items.
  for (size_t i = 0; i < items_.size(); ++i) items_[i]->Render(pass, renderer_);
}

CoreStatus cRenderService::Initialise(Core3D* renderer) {
  if (!renderer) return status::Fail;
  renderer_ = renderer;
  lineShader_ = renderer->CreateShader(8, renderer->GetResourcePath() + kLineShader);
  pass_ = renderer->InsertPass(0);

  if (pass_ && !parentName_.empty()) {
    if (str::EqualsNoCase(parentName_, kRootParent)) {
      renderer->MovePass(pass_->GetIndex(), -1);
    } else {
      cEntity_Manager* entities = GetManager();
      cEntity_Base* parent = entities ? entities->FindEntity(parentName_) : nullptr;
      if (parent) {
        auto* parentService = dynamic_cast<cRenderService*>(parent);
        if (parentService && parentService->pass_ && parentService->pass_ != pass_) {
          renderer->MovePass(pass_->GetIndex(), parentService->pass_->GetIndex());
        }
      } else {
        bool found = false;
        for (int32_t i = 0; i < renderer->GetPassCount() && !found; ++i) {
          C3DPass* other = renderer->GetPass(i);
          if (other && other != pass_ && str::EqualsNoCase(other->GetName(), parentName_)) {
            renderer->MovePass(pass_->GetIndex(), i);
            found = true;
          }
        }
        if (!found) {
          platform::DebugPrintf("[cRenderService::Initialise] \"%s\": no parent \"%s\"; the pass stays first\n",
                                NameRef().c_str(), parentName_.c_str());
        }
      }
    }
  }

  if (!cameraName_.empty()) {
    cEntity_Manager* entities = GetManager();
    if (auto* camera = dynamic_cast<cEntity_BaseCamera*>(entities ? entities->FindEntity(cameraName_) : nullptr)) {
      SetCamera(camera);
    } else {
      platform::DebugPrintf("[cRenderService::Initialise] \"%s\": no camera \"%s\"; it draws with its own view\n",
                            NameRef().c_str(), cameraName_.c_str());
    }
  }
  if (camera_) ownView_ = camera_->GetView();

  if (!pass_ || !renderer_) {
    pass_ = nullptr;
    renderer_ = nullptr;
    return status::Fail;
  }
  if (!ownView_) {
    ownView_ = renderer->AddView();
    if (ownView_) {
      ownView_->perspective = !orthographic_;
      LookAt(ownView_, camPos_, camTarget_, camUp_);
    }
  }
  pass_->SetPassView(ownView_);
  pass_->SetBeginHook(this);
  pass_->SetPrepareHook(this);
  pass_->SetFinishHook(this);
  pass_->SetEndHook(this);
  pass_->SetName(GetName());
  return status::Ok;
}

void cRenderService::SetViewport(const platform::RECT* viewport) {
  if (!viewport) return;
  viewport_ = viewport;
  if (camera_) {
    camera_->SetViewport(viewport);
  } else if (ownView_) {
    ownView_->viewportWidth = static_cast<float>(viewport->right - viewport->left);
    ownView_->viewportHeight = static_cast<float>(viewport->bottom - viewport->top);
    ownView_->BuildProjection();
    LookAt(ownView_, camPos_, camTarget_, camUp_);
  }
}

void cRenderService::ApplyViewport() {
  if (viewport_) SetViewport(viewport_);
}

CoreStatus cRenderService::AddItem(cRenderServiceItem* item) {
  if (!item) return status::Fail;
  if (item->owner_) item->owner_->RemoveItem(item);
  item->owner_ = this;
  item->listIndex_ = static_cast<int32_t>(items_.size());
  items_.push_back(item);
  return status::Ok;
}

CoreStatus cRenderService::RemoveItem(cRenderServiceItem* item) {
  if (!item || item->owner_ != this) return status::Ok;
  const int32_t at = item->listIndex_;
  if (at < 0 || at >= GetItemCount() || items_[static_cast<size_t>(at)] != item) return status::Ok;
  items_.erase(items_.begin() + at);
  for (size_t i = static_cast<size_t>(at); i < items_.size(); ++i) --items_[i]->listIndex_;
  item->owner_ = nullptr;
  return status::Ok;
}

void cRenderService::Update(float seconds) { frameTime_ = seconds; }

CameraView* cRenderService::GetView() {
  if (camera_) return camera_->GetView();
  return ownView_;
}

void cRenderService::SetCamera(cEntity_BaseCamera* camera) {
  if (ownView_ && !camera_ && renderer_) {
    if (ownView_->index >= 0) renderer_->RemoveView(ownView_->index);
    ownView_ = nullptr;
  }
  camera_ = camera;
  if (pass_ && camera_) pass_->SetPassView(camera_->GetView());
}
