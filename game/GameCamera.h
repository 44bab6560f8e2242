#pragma once
// The in-game orbit camera ("MainCamera", spawned as "SPN::KV9:CAMERA"): the
// base camera plus keyboard and mouse control through 24 motion commands,
// limits, smoothed motion, an overview ("fixed") view, animated moves, a
// shake and building following. Its input socket is "MainCamera"; the time
// service ticks it every frame.
#include <cstdint>

#include "engine/entity/InputSocket.h"
#include "engine/entity/SpawnBase.h"
#include "engine/frame/BaseCamera.h"
#include "engine/frame/TimeService.h"
#include "scene/SceneCamera.h"

class cKV9_GlobalWrapper;

class cEntity_GameCamera : public cEntity_BaseCamera,
                           public cCore_Base_InputSocket,
                           public TimeServiceItem,
                           public SceneCamera {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:CAMERA";
  static constexpr int kCommandCount = 24;
  static constexpr int kHistory = 10;
  // The game's own degree conversions.
  static constexpr float kToRadians = 0.0174632f;
  static constexpr float kToDegrees = 57.2957f;

  // Motion command indices.
  enum Command : int {
    kForward = 0, kBackward = 1, kLeft = 2, kRight = 3, kRotateLeft = 4, kRotateRight = 5,
    kPitchUp = 6, kPitchDown = 7, kZoomOut = 8, kZoomIn = 9, kMouseRotate = 10, kDrag = 11,
    kWheel = 12, kDoubleClick = 13, kFocus = 14, kEdge = 15,
    kRotateLeftB = 16, kRotateRightB = 17, kPitchUpB = 18, kPitchDownB = 19,
    kForwardB = 20, kBackwardB = 21, kLeftB = 22, kRightB = 23,
  };

  struct MotionCommand {
    uint8_t active = 0;
    uint8_t triggered = 0;
    int32_t priority = -1;
    uint32_t spare = 0;
  };

  explicit cEntity_GameCamera(cEntity_Manager* manager);
  ~cEntity_GameCamera() override;

  // Leaves the input manager's lists and drops its timeline. 0.
  CoreStatus Exit() override;
  // The base attach, then the socket joins the input manager's mouse and
  // key lists and a tick timeline is made on the time service.
  CoreStatus AttachView(Core3D* renderer, const platform::RECT* viewport) override;
  CoreStatus SetTargetFromObject(cEntity_Base* object) override;
  // Stores the target (limits applied when on), the camera height follows
  // it, and a running animated move stops.
  void SetTarget(JVector target) override;
  // Limits, eye = target - zoom x orbit direction, then the view's look-at
  // lifted by the building-following offset.
  void UpdateView() override;

  CoreStatus OnMouse(MousePacket* packet) override;
  CoreStatus OnKey(KeyboardPacket* packet) override;
  CoreStatus RegisterKeyHandlers(cGM_ConfigManager* bindings) override;
  CoreStatus ReloadKeyHandlers(cGM_ConfigManager* bindings) override;
  CoreStatus UnregisterKeyHandlers(cGM_ConfigManager* bindings) override;
  // The tick: every frame's time event.
  void OnTimeEvent(TimeEvent* event) override;
  void Tick(float dt);

  void SetOrbitAngles(float pitch, float heading);
  void AddPitch(float delta);
  void SetZoom(float value) override;
  void Zoom(float delta);
  void StartMoveTo(const JVector& point);
  void SetFocusXZ(float x, float z) override;
  void EnterFixedView(bool force);
  void LeaveFixedView(bool force, bool keepQuiet);
  void ToggleFixedView();
  // Amplitude in world units (the earthquake passes its magnitude).
  void StartShake(int32_t amplitude, float duration) override;
  void StoreHomeView();
  void RestoreHomeView();
  // The home view as the save file keeps it: heading, pitch, height, target
  // x and z, zoom, the four limits and the stored flag, one 32-bit word each.
  void GetHomeViewWords(uint32_t words[11]) const;
  void SetHomeViewWords(const uint32_t words[11]);
  void ResetMotion() override;
  void ApplyLimits();

  // Sets a command's active byte (the key handlers and the edit-camera
  // screen drive the camera through this).
  void SetCommandActive(int index, bool active);
  const MotionCommand& GetCommand(int index) const { return commands_[index]; }
  bool IsLocked() const { return locked_ != 0; }
  void SetLimitsOn(bool on) { limitsOn_ = on ? 1 : 0; }
  void SetFollowBuildings(bool on) { followBuildings_ = on ? 1 : 0; }
  void SetInvertMousePitch(bool on) { invertMousePitch_ = on ? 1 : 0; }
  void SetZoomLimits(float minimum, float maximum) {
    zoomMin_ = minimum;
    zoomMax_ = maximum;
  }
  void SetPitchLimits(float minimum, float maximum) {
    pitchMin_ = minimum;
    pitchMax_ = maximum;
  }
  float GetHeading() const { return heading_; }
  float GetPitch() const { return pitch_; }
  float GetZoom() const override { return zoom_; }
  JVector GetOrbitDirection() const { return orbit_; }
  JVector GetLift() const { return lift_; }
  bool IsMoving() const { return moving_ != 0; }
  bool IsShaking() const { return shaking_ != 0; }
  const char* GetLastMode() const { return lastMode_; }
  // The pointer's inner rectangle in client pixels: a pointer outside it
  // scrolls the view.
  const platform::RECT& GetInnerRect() const { return inner_; }
  // The inner rectangle of a client area (window coordinates in, client
  // pixels out): a band a few pixels wide at 800 x 600, scaled with the size.
  static platform::RECT InnerRectFor(const platform::RECT& client);

 private:
  float MoveFactor() const;
  void RunCommands(float dt);
  void StepMoveTo(float dt);
  void Shake(float dt);
  void FollowBuildings(float dt);
  void FlyToPointer();
  void SendModeToCursor(const char* mode);
  bool ScenarioExists() const;

  cKV9_GlobalWrapper* wrapper_ = nullptr;
  // Orbit.
  float heading_ = 0.0f;
  float pitch_ = 15.0f;
  float zoom_ = 8.0f;
  JVector orbit_;
  float height_ = 0.0f;
  // Limits.
  float zoomMin_ = 20.0f;
  float zoomMax_ = 40.0f;
  float pitchMin_ = 10.0f;
  float pitchMax_ = 80.0f;
  uint8_t limitsOn_ = 1;
  uint8_t locked_ = 1;
  uint8_t followBuildings_ = 0;
  MotionCommand commands_[kCommandCount];
  JVector motion_;
  JVector lift_;
  float historyX_[kHistory] = {};
  float historyY_[kHistory] = {};
  float historyZ_[kHistory] = {};
  float mouseHistoryX_[kHistory] = {};
  float mouseHistoryY_[kHistory] = {};
  // Mouse.
  int32_t pointerX_ = 0;
  int32_t pointerY_ = 0;
  int32_t anchorX_ = 0;
  int32_t anchorY_ = 0;
  int32_t mouseX_ = 0;
  int32_t mouseY_ = 0;
  float notches_ = 0.0f;
  uint32_t lastLeftPress_ = 0;
  bool hadLeftPress_ = false;
  platform::RECT inner_;
  uint8_t invertMousePitch_ = 0;
  // Speeds.
  float moveSpeed_ = 60.0f;
  float turnSpeed_ = 30.0f;
  float zoomSpeed_ = 30.0f;
  float holdTime_ = 0.0f;
  // Animated move.
  JVector destination_;
  JVector moveStartOrbit_;
  uint8_t moving_ = 0;
  float moveRate_ = 10.0f;
  // Shake.
  uint8_t shaking_ = 0;
  float amplitude_ = 0.0f;
  float shakeLeft_ = 0.0f;
  JVector shakePosition_;
  JVector shakeTarget_;
  // Home view.
  struct HomeView {
    float heading = 0.0f, pitch = 0.0f, height = 0.0f, targetX = 0.0f, targetZ = 0.0f, zoom = 0.0f;
    float zoomMin = 0.0f, zoomMax = 0.0f, pitchMin = 0.0f, pitchMax = 0.0f;
  } home_;
  int32_t homeStored_ = 0;
  const char* lastMode_ = nullptr;
};

class SpawnGameCamera : public cSpawn_Base {
 public:
  SpawnGameCamera() : cSpawn_Base(cEntity_GameCamera::kSpawnName) {}
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override;
};
