// The GUI service's input: mouse packets picked into the widget tree and
// turned into hover, press, drag and click messages, key packets to the
// focused widget with key repeat, and the pick operations.
#include <memory>

#include "engine/math/CameraView.h"
#include "gui/core/GUIScene.h"
#include "gui/core/GUIWorld.h"
#include "gui/core/WidgetMessages.h"
#include "gui/core/actions/GUIActions.h"
#include "gui/plugin/GUI.h"
#include "gui/plugin/GUIInputSocket.h"

void GUI::SendToCursor(uint32_t code) {
  cCore_Base_InputSocket* cursor = socket_ ? socket_->GetCursorSocket() : nullptr;
  if (auto* entity = dynamic_cast<cEntity_Base*>(cursor)) entity->OnMessage(world_ ? EntityWord(world_) : 0, code, 0);
}

CoreStatus GUI::OnMouse(MousePacket* packet) {
  if (!world_ || !packet) return status::Fail;
  GUIEntity* root = modal_.empty() ? static_cast<GUIEntity*>(world_) : modal_.front();
  CoreStatus result = modal_.empty() ? status::Fail : status::Ok;
  GUIEntity* hit = (this->*pick_)(root, packet);
  const auto word = reinterpret_cast<uintptr_t>(packet);
  if (hit && hit != world_) {
    if (!hover_) {
      SendToCursor(GUIMSG_POINTER_IN);
      if (Send(hit, GUIMSG_MOUSE_ENTER, 0)) result = status::Ok;
    } else if (hover_ != hit && packet->held == 0) {
      Send(hover_, GUIMSG_MOUSE_EXIT, 0);
      if (Send(hit, GUIMSG_MOUSE_ENTER, 0)) result = status::Ok;
    }
    if (GUIEntity* hovered = hover_) {
      uint32_t code = GUIMSG_MOVE;
      if (packet->pressed) {
        code = GUIMSG_MOUSE_DOWN;
      } else if (packet->released) {
        code = hovered->IsButtonPressed(packet) ? GUIMSG_CLICK : GUIMSG_MOUSE_UP;
      } else if (packet->held) {
        code = GUIMSG_DRAG;
      }
      if (Send(hovered, code, word)) result = status::Ok;
    }
    return result;
  }
  if (!hover_) return result;
  if (packet->held) {
    if (Send(hover_, GUIMSG_DRAG, word)) result = status::Ok;
    return result;
  }
  SendToCursor(GUIMSG_POINTER_OUT);
  Send(hover_, GUIMSG_MOUSE_EXIT, 0);
  return result;
}

CoreStatus GUI::OnKey(KeyboardPacket* packet) {
  const CoreStatus otherwise = modal_.empty() ? status::Fail : status::Ok;
  if (!focus_ || !packet) return otherwise;
  const auto word = reinterpret_cast<uintptr_t>(packet);
  if (packet->released == 0) {
    if (!Send(focus_, GUIMSG_KEYDOWN, word)) return otherwise;
    if (focus_) {
      if (GA_MessageRepeater* repeater = GA_MessageRepeater::GetInstance()) {
        auto record = std::make_unique<MessageRepeatRecord>();
        record->message = GUIMSG_KEYDOWN;
        record->packet = std::make_unique<KeyboardPacket>(*packet);
        record->period = 0.1f;
        record->countdown = 0.5f;
        record->stageCountdown = -1.0f;
        repeater->Start(focus_, std::move(record));
      }
    }
    return status::Ok;
  }
  if (packet->released == 1) {
    if (GA_MessageRepeater* repeater = GA_MessageRepeater::GetInstance()) repeater->Stop(focus_, GUIMSG_KEYDOWN);
    if (focus_ && Send(focus_, GUIMSG_KEYUP, word)) return status::Ok;
  }
  return otherwise;
}

GUIEntity* GUI::PickPerspective(GUIEntity* root, MousePacket* packet) {
  if (!root || !root->IsLive() || !view_ || !packet) return nullptr;
  const float saved = view_->focalDistance;
  view_->focalDistance = 500.0f;
  const GUIRay ray = ScreenRay(*view_, static_cast<float>(packet->x), static_cast<float>(packet->y), ViewportWidth(),
                               ViewportHeight());
  view_->focalDistance = saved;
  return PickEntity(root, ray);
}

GUIEntity* GUI::PickOrthographic(GUIEntity* root, MousePacket* packet) {
  if (!root || !root->IsLive() || !view_ || !packet) return nullptr;
  const auto px = static_cast<int16_t>(packet->x & 0xFFFF);
  const auto py = static_cast<int16_t>(packet->y & 0xFFFF);
  const float x = static_cast<float>(px) * unitsPerPixel_[0] - viewSize_[0] / 2.0f;
  const float y = viewSize_[1] / 2.0f - static_cast<float>(py) * unitsPerPixel_[1];
  const float z0 = view_->view.m[3][2];
  cursorX_ = px;
  cursorY_ = py;
  GUIRay ray;
  ray.start[0] = ray.end[0] = x;
  ray.start[1] = ray.end[1] = y;
  ray.start[2] = z0;
  ray.end[2] = z0 - 500.0f;
  return PickEntity(root, ray);
}

GUIEntity* GUI::PickEntity(GUIEntity* entity, const GUIRay& ray) {
  if (!entity || !entity->IsLive()) return nullptr;
  if (!entity->HitBox(ray) || !entity->TestCollisionShape()) return nullptr;
  for (GUIEntity* child : entity->Children()) {
    if (GUIEntity* hit = PickEntity(child, ray)) return hit;
  }
  return entity->IsSolid() ? entity : nullptr;
}

GUIEntity* GUI::HitTest2D(GUIEntity* entity, float x, float y) {
  if (!entity || !entity->IsLive()) return nullptr;
  if (entity->GetParent()) {
    const JMatrix* local = entity->GetLocalMatrixPtr();
    x -= local->m[3][0];
    y += local->m[3][1];
  }
  if (x < 0.0f || y < 0.0f || x > entity->ScaleX() * entity->GetWidth() || y > entity->ScaleY() * entity->GetHeight())
    return nullptr;
  for (GUIEntity* child : entity->Children()) {
    if (GUIEntity* hit = HitTest2D(child, x, y)) return hit;
  }
  return entity->IsSolid() ? entity : nullptr;
}
