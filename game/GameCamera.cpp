#include "game/GameCamera.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <new>

#include "construction/BuildingManager.h"
#include "construction/GamePlot.h"
#include "construction/RoadManager.h"
#include "engine/config/GMConfigManager.h"
#include "engine/entity/EntityManager.h"
#include "engine/math/CameraView.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/InputPackets.h"
#include "game/GameCursor.h"
#include "game/KV9ConfigManager.h"
#include "game/KV9GameManager.h"
#include "game/Skyvane.h"
#include "game/WorldPartOps.h"
#include "platform/Random.h"
#include "scene/KV9InputManager.h"
#include "simulation/EventManager.h"
#include "simulation/Simulation.h"
#include "simulation/WeatherManager.h"

namespace {

constexpr float kMinZoom = 0.1f;
constexpr uint32_t kDoubleClickMs = 250;
// The edge band that scrolls the view: this many pixels of an 800 x 600
// client area, scaled with the window, so that buttons near the border lie
// outside it.
constexpr int32_t kEdgeBandAt800x600 = 4;
constexpr float kWheelNotch = 0.008333334f;
constexpr float kMouseSmoothing = 0.7500007f;
constexpr float kMotionSmoothing = 0.2649185f;

// DirectInput scan codes of the camera's own keys and the command each sets.
struct KeyCommand {
  uint8_t scanCode;
  int command;
};
constexpr KeyCommand kKeyCommands[] = {
    {0xC8, 0}, {0x48, 0},  // up, keypad 8
    {0xD0, 1}, {0x50, 1},  // down, keypad 2
    {0xCB, 2}, {0x4B, 2},  // left, keypad 4
    {0xCD, 3}, {0x4D, 3},  // right, keypad 6
    {0xC7, 4}, {0x47, 4},  // home, keypad 7
    {0xCF, 5}, {0x4F, 5},  // end, keypad 1
    {0xC9, 6}, {0x49, 6},  // page up, keypad 9
    {0xD1, 7}, {0x51, 7},  // page down, keypad 3
    {0x4A, 8},             // keypad minus
    {0x4E, 9},             // keypad plus
};
constexpr uint8_t kEscape = 0x01;
constexpr uint8_t kDelete = 0xD3;

const char* ModeOf(int command) {
  switch (command) {
    case 0: case 1: case 2: case 3: case 11: case 20: case 21: case 22: case 23: return "move";
    case 4: case 5: case 10: case 16: case 17: return "rotate";
    case 6: case 7: case 18: case 19: return "pitch";
    case 8: case 9: case 12: return "zoom";
    default: return nullptr;
  }
}

// Puts `value` in front of the history and answers the weighted sum.
float PushHistory(float (&history)[cEntity_GameCamera::kHistory], float value, float ratio) {
  for (int i = cEntity_GameCamera::kHistory - 1; i > 0; --i) history[i] = history[i - 1];
  history[0] = value;
  float sum = 0.0f;
  float weight = 1.0f;
  for (float h : history) {
    sum += weight * h;
    weight *= ratio;
  }
  return sum;
}

JVector Flat(const JVector& v) {
  const float length = std::sqrt(v.x * v.x + v.z * v.z);
  return length > 0.0f ? JVector(v.x / length, 0.0f, v.z / length) : JVector(0.0f, 0.0f, 1.0f);
}

}  // namespace

cEntity_GameCamera::cEntity_GameCamera(cEntity_Manager* manager)
    : cEntity_BaseCamera(manager), cCore_Base_InputSocket("MainCamera") {
  if (manager) wrapper_ = dynamic_cast<cKV9_GlobalWrapper*>(manager->GetGlobalWrapper());
  if (wrapper_) inner_ = InnerRectFor(wrapper_->clientRect);
  ResetMotion();
}

cEntity_GameCamera::~cEntity_GameCamera() = default;

platform::RECT cEntity_GameCamera::InnerRectFor(const platform::RECT& client) {
  const int32_t width = std::max(0, client.right - client.left);
  const int32_t height = std::max(0, client.bottom - client.top);
  const int32_t bandX = std::max(1, (kEdgeBandAt800x600 * width + 400) / 800);
  const int32_t bandY = std::max(1, (kEdgeBandAt800x600 * height + 300) / 600);
  return platform::RECT{bandX, bandY, width - 1 - bandX, height - 1 - bandY};
}

void cEntity_GameCamera::ResetMotion() {
  position_ = JVector(0.0f, 50.0f, 0.0f);
  target_ = JVector(0.0f, 0.0f, 0.0f);
  height_ = 0.0f;
  heading_ = 0.0f;
  pitch_ = 15.0f;
  SetOrbitAngles(pitch_, heading_);
  moveSpeed_ = 60.0f;
  turnSpeed_ = 30.0f;
  zoomSpeed_ = 30.0f;
  for (int i = 0; i < kHistory; ++i) {
    historyX_[i] = historyY_[i] = historyZ_[i] = 0.0f;
    mouseHistoryX_[i] = mouseHistoryY_[i] = 0.0f;
  }
  for (int i = 0; i < kCommandCount; ++i) commands_[i] = MotionCommand{0, 0, i < 4 ? 1 : -1, 0};
  motion_ = JVector(0.0f, 0.0f, 0.0f);
  moveRate_ = 10.0f;
  moving_ = 0;
  holdTime_ = 0.0f;
  mouseX_ = mouseY_ = 0;
}

CoreStatus cEntity_GameCamera::Exit() {
  if (wrapper_ && wrapper_->inputManager) {
    wrapper_->inputManager->RemoveMouseSocket(this);
    wrapper_->inputManager->RemoveKeySocket(this);
  }
  if (TimeService* owner = GetTimeOwner()) owner->RemoveItem(this);
  return status::Ok;
}

CoreStatus cEntity_GameCamera::AttachView(Core3D* renderer, const platform::RECT* viewport) {
  const bool first = GetView() == nullptr;
  const CoreStatus result = cEntity_BaseCamera::AttachView(renderer, viewport);
  if (status::Failed(result) || !first) return result;
  if (wrapper_ && wrapper_->inputManager) {
    wrapper_->inputManager->AddMouseSocket(this);
    wrapper_->inputManager->AddKeySocket(this);
  }
  cEntity_Manager* entities = GetManager();
  if (auto* time = entities ? dynamic_cast<TimeService*>(entities->FindEntity("TimeService")) : nullptr) {
    time->AddItem(this);
    TimeService_AddItemTimeline(this, 1, TimeEvent::kByFrames, 1.0f, FLT_MAX, false);
  }
  return result;
}

CoreStatus cEntity_GameCamera::SetTargetFromObject(cEntity_Base* object) {
  if (!object) return status::Fail;
  SetTarget(object->GetPosition());
  return status::Ok;
}

void cEntity_GameCamera::SetTarget(JVector target) {
  target_ = target;
  if (limitsOn_) ApplyLimits();
  height_ = target_.y;
  moving_ = 0;
  UpdateView();
}

bool cEntity_GameCamera::ScenarioExists() const { return wrapper_ && wrapper_->scenario; }

void cEntity_GameCamera::ApplyLimits() {
  if (!ScenarioExists()) return;
  auto* plot = wrapper_ ? dynamic_cast<GamePlotOps*>(wrapper_->gamePlot) : nullptr;
  if (!plot) return;
  const float bound = 160.0f * plot->GetExtent();
  target_.x = std::clamp(target_.x, -bound, bound);
  target_.z = std::clamp(target_.z, -bound, bound);
}

void cEntity_GameCamera::UpdateView() {
  if (limitsOn_) ApplyLimits();
  position_ = JVector(target_.x - zoom_ * orbit_.x, target_.y - zoom_ * orbit_.y, target_.z - zoom_ * orbit_.z);
  CameraView* view = GetView();
  if (!view) return;
  const float eye[3] = {position_.x + lift_.x, position_.y + lift_.y, position_.z + lift_.z};
  const float at[3] = {target_.x + lift_.x, target_.y + lift_.y, target_.z + lift_.z};
  const float up[3] = {up_.x, up_.y, up_.z};
  view->LookAt(eye, at, up);
}

void cEntity_GameCamera::SetOrbitAngles(float pitch, float heading) {
  heading_ = std::fmod(heading, 360.0f);
  if (heading_ < 0.0f) heading_ += 360.0f;
  pitch_ = std::clamp(std::clamp(pitch, pitchMin_, pitchMax_), 1.0f, 89.0f);
  const float p = pitch_ * kToRadians;
  const float h = heading_ * kToRadians;
  orbit_ = JVector(std::cos(p) * std::sin(h), -std::sin(p), std::cos(p) * std::cos(h));
}

void cEntity_GameCamera::AddPitch(float delta) { SetOrbitAngles(pitch_ + delta, heading_); }

void cEntity_GameCamera::SetZoom(float value) {
  zoom_ = std::max(value, kMinZoom);
  if (limitsOn_) zoom_ = std::clamp(zoom_, zoomMin_, zoomMax_);
}

void cEntity_GameCamera::Zoom(float delta) {
  SetZoom(zoom_ + delta);
  if (locked_) return;
  auto* plot = wrapper_ ? dynamic_cast<GamePlotOps*>(wrapper_->gamePlot) : nullptr;
  if (!plot) return;
  const float band = (zoomMax_ - zoomMin_) / 12.0f;
  plot->SetZoomLevel(zoom_ <= zoomMin_ + band ? 1 : zoom_ <= zoomMin_ + 4.0f * band ? 2 : 3);
}

void cEntity_GameCamera::StartMoveTo(const JVector& point) {
  destination_ = JVector(point.x, height_, point.z);
  moveStartOrbit_ = orbit_;
  moving_ = 1;
}

void cEntity_GameCamera::SetFocusXZ(float x, float z) {
  destination_ = JVector(x, height_, z);
  if (!locked_) commands_[kFocus].active = 1;
}

void cEntity_GameCamera::SetCommandActive(int index, bool active) {
  if (index >= 0 && index < kCommandCount) commands_[index].active = active ? 1 : 0;
}

void cEntity_GameCamera::StoreHomeView() {
  home_ = HomeView{heading_, pitch_, height_, target_.x, target_.z, zoom_, zoomMin_, zoomMax_, pitchMin_, pitchMax_};
}

void cEntity_GameCamera::GetHomeViewWords(uint32_t words[11]) const {
  static_assert(sizeof(HomeView) == 10 * sizeof(uint32_t), "the home view is ten floats");
  std::memcpy(words, &home_, sizeof(HomeView));
  words[10] = static_cast<uint32_t>(homeStored_);
}

void cEntity_GameCamera::SetHomeViewWords(const uint32_t words[11]) {
  // Ten floats, trivially copyable; the member initialisers only set defaults.
  std::memcpy(static_cast<void*>(&home_), words, sizeof(HomeView));
  homeStored_ = static_cast<int32_t>(words[10]);
}

void cEntity_GameCamera::RestoreHomeView() {
  ResetMotion();
  zoomMin_ = home_.zoomMin;
  zoomMax_ = home_.zoomMax;
  pitchMin_ = home_.pitchMin;
  pitchMax_ = home_.pitchMax;
  SetOrbitAngles(home_.pitch, home_.heading);
  SetZoom(home_.zoom);
  height_ = home_.height;
  target_ = JVector(home_.targetX, home_.height, home_.targetZ);
  homeStored_ = 1;
  UpdateView();
}

void cEntity_GameCamera::EnterFixedView(bool force) {
  if (locked_ && !force) return;
  if (homeStored_) StoreHomeView();
  SetFieldOfView(1.57f);
  if (CameraView* view = GetView()) {
    view->fieldOfView = 1.57f;
    view->BuildProjection();
  }
  zoomMin_ = zoomMax_ = 200.0f;
  pitchMin_ = pitchMax_ = 66.0f;
  locked_ = 1;
  fixedView = 1;
  followBuildings_ = 0;
  if (auto* weather = wrapper_ ? dynamic_cast<WeatherManagerOps*>(wrapper_->weatherManager) : nullptr)
    weather->ResetLighting();
  if (auto* plot = wrapper_ ? dynamic_cast<GamePlotOps*>(wrapper_->gamePlot) : nullptr) plot->SetGameViewActive(false);
  cKV9_GameManager* manager = wrapper_ ? wrapper_->gameManager : nullptr;
  if (manager) {
    if (auto* cursor = dynamic_cast<cEntity_GameCursor*>(manager->GetCursor())) cursor->SelectModel(2);
    manager->HideAmbients();
  }
  SetOrbitAngles(66.0f, 135.0f);
  SetZoom(200.0f);
  const float ground = wrapper_ && wrapper_->gamePlot ? wrapper_->gamePlot->GetGroundHeight() : 0.0f;
  target_ = JVector(-80.0f, ground + 52.0f, 80.0f);
  height_ = target_.y;
  UpdateView();
}

void cEntity_GameCamera::LeaveFixedView(bool force, bool keepQuiet) {
  if (!locked_ && !force) return;
  if (!keepQuiet && wrapper_ && wrapper_->eventManager) wrapper_->eventManager->StartHelpTopic(1);
  locked_ = 0;
  fixedView = 0;
  followBuildings_ = 1;
  auto* plot = wrapper_ ? dynamic_cast<GamePlotOps*>(wrapper_->gamePlot) : nullptr;
  if (plot) {
    plot->BuildFenceMesh();
    plot->BuildRoadLeadInMesh();
    plot->SetGameViewActive(true);
  }
  cKV9_GameManager* manager = wrapper_ ? wrapper_->gameManager : nullptr;
  if (manager) {
    if (auto* cursor = dynamic_cast<cEntity_GameCursor*>(manager->GetCursor())) cursor->SelectModel(0);
    manager->ShowAmbients();
  }
  if (homeStored_) {
    RestoreHomeView();
    return;
  }
  zoomMin_ = 4.0f;
  zoomMax_ = 70.0f;
  pitchMin_ = 15.0f;
  pitchMax_ = 90.0f;
  auto* roads = wrapper_ ? dynamic_cast<RoadManagerOps*>(wrapper_->roadManager) : nullptr;
  SetOrbitAngles(20.0f, roads ? roads->GetEdgeEntryHeading() : 0.0f);
  const float ground = wrapper_ && wrapper_->gamePlot ? wrapper_->gamePlot->GetGroundHeight() : 0.0f;
  target_ = JVector(0.0f, ground, 0.0f);
  height_ = ground;
  SetZoom(20.0f);
  SetFieldOfView(1.047f);
  if (CameraView* view = GetView()) {
    view->fieldOfView = 1.047f;
    view->BuildProjection();
  }
  if (auto* weather = wrapper_ ? dynamic_cast<WeatherManagerOps*>(wrapper_->weatherManager) : nullptr)
    weather->ApplyLighting();
  UpdateView();
}

void cEntity_GameCamera::ToggleFixedView() {
  if (fixedView) {
    LeaveFixedView(false, false);
  } else {
    EnterFixedView(false);
  }
}

void cEntity_GameCamera::StartShake(int32_t amplitude, float duration) {
  if (!shaking_) {
    shakePosition_ = position_;
    shakeTarget_ = target_;
  }
  shaking_ = 1;
  amplitude_ = static_cast<float>(amplitude);
  shakeLeft_ = duration;
}

float cEntity_GameCamera::MoveFactor() const {
  const float span = zoomMax_ - zoomMin_;
  if (span <= 0.0f) return 1.0f;
  return ((std::clamp(zoom_, zoomMin_, zoomMax_) - zoomMin_) / span) * 0.8f + 0.2f;
}

CoreStatus cEntity_GameCamera::OnMouse(MousePacket* packet) {
  if (!packet) return status::Fail;
  cSkyvane* application = wrapper_ ? wrapper_->application : nullptr;
  if (application && application->IsSplashShowing()) return status::Fail;
  pointerX_ = packet->x;
  pointerY_ = packet->y;
  mouseX_ += packet->dx;
  mouseY_ += packet->dy;
  // Pointer positions are client pixels; the window may have been resized
  // since the last packet.
  if (wrapper_) inner_ = InnerRectFor(wrapper_->clientRect);
  const bool outside = packet->x < inner_.left || packet->x > inner_.right || packet->y < inner_.top ||
                       packet->y > inner_.bottom;
  auto* buildings = wrapper_ ? dynamic_cast<BuildingManagerOps*>(wrapper_->buildingManager) : nullptr;
  auto* plot = wrapper_ ? dynamic_cast<GamePlotOps*>(wrapper_->gamePlot) : nullptr;
  cCore_Base_InputMGR* manager = GetMouseManager();
  if (buildings && buildings->IsPlacing()) {
    if (plot && plot->GetPlacementHandler()) plot->GetPlacementHandler()->OnMouse(packet);
  } else if (!locked_) {
    if (packet->pressed & 0x1) {
      if (hadLeftPress_ && packet->timeStamp - lastLeftPress_ < kDoubleClickMs) {
        commands_[kDoubleClick].active = 1;
      } else {
        commands_[kDrag].active = 1;
        anchorX_ = packet->x;
        anchorY_ = packet->y;
        if (manager) manager->CaptureMouse(this);
      }
      hadLeftPress_ = true;
      lastLeftPress_ = packet->timeStamp;
    }
    if (packet->released & 0x1) {
      commands_[kDrag].active = 0;
      if (manager && manager->GetCapturedSocket() == this) manager->ReleaseMouse();
    }
    if (packet->pressed & 0x2) {
      commands_[kMouseRotate].active = 1;
      if (manager) manager->CaptureMouse(this);
    }
    if (packet->released & 0x2) {
      commands_[kMouseRotate].active = 0;
      if (manager && manager->GetCapturedSocket() == this) manager->ReleaseMouse();
    }
    if (packet->dz != 0) {
      commands_[kWheel].active = 1;
      notches_ = static_cast<float>(packet->dz) * kWheelNotch;
    }
  }
  commands_[kEdge].active = outside ? 1 : 0;
  if (manager && manager->GetCapturedSocket() == this && wrapper_ && wrapper_->gameManager) {
    // The cursor keeps following the pointer while the camera holds it.
    if (cEntity_BaseCursor* cursor = wrapper_->gameManager->GetCursor()) cursor->OnMouse(packet);
  }
  return status::Ok;
}

CoreStatus cEntity_GameCamera::OnKey(KeyboardPacket* packet) {
  if (!packet) return status::Fail;
  if (status::Succeeded(cCore_Base_InputSocket::OnKey(packet))) return status::Ok;
  // A binding matches the key going down; its key coming up (whatever the
  // modifiers by then) must reach the same handler, or the movement would
  // never stop.
  if (packet->released) {
    for (const KeyBindingRef& ref : GetKeyHandlers()) {
      if (ref.binding && ref.binding->released == 0 && ref.binding->scanCode == packet->scanCode)
        return ref.handler(packet);
    }
  }
  if (packet->scanCode == kEscape || packet->scanCode == kDelete) {
    cCore_Base_InputMGR* manager = GetMouseManager();
    if (manager && manager->GetCapturedSocket() == this) manager->ReleaseMouse();
    return status::Fail;
  }
  for (const KeyCommand& key : kKeyCommands) {
    if (key.scanCode != packet->scanCode) continue;
    const bool down = packet->released == 0;
    if (down && locked_) return status::Ok;
    commands_[key.command].active = down ? 1 : 0;
    return status::Ok;
  }
  return status::Fail;
}

CoreStatus cEntity_GameCamera::RegisterKeyHandlers(cGM_ConfigManager* bindings) {
  if (!bindings) return status::Fail;
  for (int i = 0; i < 8; ++i) {
    KeyHandler handler = cKV9_ConfigManager::CameraKeyHandler(i);
    if (KeyBinding* binding = bindings->FindBindingByHandler(handler)) AddKeyHandler(binding, handler);
  }
  return status::Ok;
}

CoreStatus cEntity_GameCamera::ReloadKeyHandlers(cGM_ConfigManager* bindings) {
  UnregisterKeyHandlers(bindings);
  return RegisterKeyHandlers(bindings);
}

CoreStatus cEntity_GameCamera::UnregisterKeyHandlers(cGM_ConfigManager*) {
  // The binding records stay the configuration manager's.
  ClearKeyHandlers();
  return status::Ok;
}

void cEntity_GameCamera::OnTimeEvent(TimeEvent* event) { Tick(event ? event->accumulated : 0.0f); }

void cEntity_GameCamera::SendModeToCursor(const char* mode) {
  cKV9_GameManager* manager = wrapper_ ? wrapper_->gameManager : nullptr;
  auto* cursor = manager ? dynamic_cast<cEntity_GameCursor*>(manager->GetCursor()) : nullptr;
  if (cursor) cursor->SetCursorState(mode, false);
}

void cEntity_GameCamera::FlyToPointer() {
  if (!wrapper_) return;
  const float width = static_cast<float>(wrapper_->clientRect.right - wrapper_->clientRect.left);
  const float height = static_cast<float>(wrapper_->clientRect.bottom - wrapper_->clientRect.top);
  JVector start, second;
  if (status::Failed(ScreenToRay(static_cast<float>(pointerX_), static_cast<float>(pointerY_), width, height, &start,
                                 &second)))
    return;
  const float dy = second.y - start.y;
  if (dy == 0.0f) return;
  const float t = (height_ - start.y) / dy;
  if (t < 0.0f) return;
  const JVector point(start.x + (second.x - start.x) * t, height_, start.z + (second.z - start.z) * t);
  const float dx = point.x - target_.x;
  const float dz = point.z - target_.z;
  if (dx != 0.0f || dz != 0.0f) SetOrbitAngles(pitch_, std::atan2(dx, dz) * kToDegrees);
  StartMoveTo(point);
}

void cEntity_GameCamera::RunCommands(float dt) {
  const float mouseX = std::trunc(kMouseSmoothing * PushHistory(mouseHistoryX_, static_cast<float>(mouseX_), 0.25f));
  const float mouseY = std::trunc(kMouseSmoothing * PushHistory(mouseHistoryY_, static_cast<float>(mouseY_), 0.25f));
  mouseX_ = mouseY_ = 0;

  motion_ = JVector(0.0f, 0.0f, 0.0f);
  int32_t highest = INT32_MIN;
  for (const MotionCommand& c : commands_) {
    if (c.active) highest = std::max(highest, c.priority);
  }
  for (MotionCommand& c : commands_) {
    if (c.active && (c.priority >= highest || c.priority < 0)) c.triggered = 1;
  }

  const JVector forward = Flat(orbit_);
  const JVector left(-forward.z, 0.0f, forward.x);
  const float speed = (0.5f + 0.5f * std::min(std::max(holdTime_, 0.0f), 1.0f)) * MoveFactor() * moveSpeed_;
  const char* mode = nullptr;
  bool moved = false;
  auto move = [&](const JVector& along, float amount) {
    motion_.x += along.x * amount;
    motion_.z += along.z * amount;
    moved = true;
  };
  for (int i = 0; i < kCommandCount; ++i) {
    MotionCommand& c = commands_[i];
    if (!c.triggered) continue;
    c.triggered = 0;
    moving_ = 0;
    switch (i) {
      case kForward: case kForwardB: move(forward, speed); break;
      case kBackward: case kBackwardB: move(forward, -speed); break;
      case kLeft: case kLeftB: move(left, speed); break;
      case kRight: case kRightB: move(left, -speed); break;
      case kRotateLeft: case kRotateLeftB: heading_ += dt * turnSpeed_; break;
      case kRotateRight: case kRotateRightB: heading_ -= dt * turnSpeed_; break;
      case kPitchUp: case kPitchUpB: pitch_ -= dt * turnSpeed_; break;
      case kPitchDown: case kPitchDownB: pitch_ += dt * turnSpeed_; break;
      case kZoomOut: Zoom(dt * zoomSpeed_); break;
      case kZoomIn: Zoom(-dt * zoomSpeed_); break;
      case kMouseRotate:
        pitch_ += (invertMousePitch_ ? -1.0f : 1.0f) * 0.2f * mouseY;
        heading_ -= 0.2f * mouseX;
        break;
      case kDrag: {
        const float f = 0.25f * MoveFactor();
        move(left, -f * static_cast<float>(pointerX_ - anchorX_));
        move(forward, -f * static_cast<float>(pointerY_ - anchorY_));
        break;
      }
      case kWheel:
        Zoom(-zoom_ * 0.1f * notches_);
        c.active = 0;
        break;
      case kDoubleClick:
        c.active = 0;
        break;
      case kEdge: {
        if (!wrapper_) break;
        const float f = 0.25f * MoveFactor();
        // The pointer is in client pixels, so is the middle it is measured from.
        const int32_t cx = (wrapper_->clientRect.right - wrapper_->clientRect.left) / 2;
        const int32_t cy = (wrapper_->clientRect.bottom - wrapper_->clientRect.top) / 2;
        move(left, -f * static_cast<float>(pointerX_ - cx));
        move(forward, -f * static_cast<float>(pointerY_ - cy));
        break;
      }
      default:
        break;
    }
    if (const char* word = ModeOf(i)) mode = word;
    if (i == kDoubleClick) FlyToPointer();
  }
  if (mode) SendModeToCursor(mode);
  lastMode_ = mode;
  holdTime_ = moved ? holdTime_ + dt : 0.0f;
}

void cEntity_GameCamera::StepMoveTo(float dt) {
  target_.x += (destination_.x - target_.x) * moveRate_ * dt * 0.25f;
  target_.y += (destination_.y - target_.y) * moveRate_ * dt * 0.25f;
  target_.z += (destination_.z - target_.z) * moveRate_ * dt * 0.25f;
  const float k = std::min(2.0f * dt, 1.0f);
  JVector o(orbit_.x + (moveStartOrbit_.x - orbit_.x) * k, orbit_.y + (moveStartOrbit_.y - orbit_.y) * k,
            orbit_.z + (moveStartOrbit_.z - orbit_.z) * k);
  const float length = std::sqrt(o.x * o.x + o.y * o.y + o.z * o.z);
  if (length > 0.0f) orbit_ = JVector(o.x / length, o.y / length, o.z / length);
  heading_ = std::atan2(orbit_.x, orbit_.z) * kToDegrees;
  pitch_ = -std::atan2(orbit_.y, std::sqrt(orbit_.x * orbit_.x + orbit_.z * orbit_.z)) * kToDegrees;
}

void cEntity_GameCamera::Shake(float dt) {
  if (!shaking_) return;
  const bool running = wrapper_ && wrapper_->simulation && wrapper_->simulation->clock.speed > 0.0f;
  if (!running) return;
  shakeLeft_ -= dt;
  if (shakeLeft_ <= 0.0f) {
    shaking_ = 0;
    position_ = shakePosition_;
    target_ = shakeTarget_;
    return;
  }
  auto offset = [this]() { return (static_cast<float>(platform::Rand()) / 32767.0f * 2.0f - 1.0f) * amplitude_; };
  target_.x = shakeTarget_.x + offset();
  target_.z = shakeTarget_.z + offset();
}

void cEntity_GameCamera::FollowBuildings(float dt) {
  dt = std::min(dt, 1.0f);
  auto* plot = wrapper_ ? dynamic_cast<GamePlotOps*>(wrapper_->gamePlot) : nullptr;
  auto* buildings = wrapper_ ? dynamic_cast<BuildingManagerOps*>(wrapper_->buildingManager) : nullptr;
  const JVector point(position_.x + lift_.x, position_.y + lift_.y, position_.z + lift_.z);
  int32_t cellX = 0, cellY = 0;
  if (followBuildings_ && plot && buildings && plot->WorldToCell(point.x, point.z, &cellX, &cellY)) {
    bool found = false;
    float highest = 0.0f;
    for (int32_t y = cellY - 3; y <= cellY + 3; ++y) {
      for (int32_t x = cellX - 3; x <= cellX + 3; ++x) {
        float top = 0.0f;
        if (x < 0 || y < 0 || !buildings->GetBuildingTop(x, y, &top) || top < point.y) continue;
        if (!found || top > highest) highest = top;
        found = true;
      }
    }
    if (found) {
      const float rise = highest - point.y;
      lift_.y += std::min(4.0f * dt * rise, rise);
      return;
    }
  }
  lift_.x -= std::min(2.0f * dt * lift_.x, lift_.x);
  lift_.y -= std::min(2.0f * dt * lift_.y, lift_.y);
  lift_.z -= std::min(2.0f * dt * lift_.z, lift_.z);
}

void cEntity_GameCamera::Tick(float dt) {
  RunCommands(dt);
  if (moving_) {
    StepMoveTo(dt);
  } else {
    const float sx = std::trunc(kMotionSmoothing * PushHistory(historyX_, motion_.x, 0.75f));
    const float sy = std::trunc(kMotionSmoothing * PushHistory(historyY_, motion_.y, 0.75f));
    const float sz = std::trunc(kMotionSmoothing * PushHistory(historyZ_, motion_.z, 0.75f));
    target_.x += sx * dt;
    target_.y += sy * dt;
    target_.z += sz * dt;
    SetOrbitAngles(pitch_, heading_);
  }
  Shake(dt);
  FollowBuildings(dt);
  UpdateView();
}

cEntity_Base* SpawnGameCamera::Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) {
  return new (std::nothrow) cEntity_GameCamera(creator);
}
