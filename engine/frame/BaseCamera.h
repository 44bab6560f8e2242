#pragma once
// The engine's plain camera: eye, target and up vectors that feed a view
// record of the renderer. Render services draw with its view once it is
// bound to them; the game's orbit camera derives from it.
#include <cstdint>

#include "engine/entity/EntityBase.h"
#include "engine/math/JVector.h"
#include "engine/entity/SpawnBase.h"
#include "platform/window/WindowTypes.h"

class Core3D;
struct CameraView;

class cEntity_BaseCamera : public cEntity_Base {
 public:
  static constexpr const char* kSpawnName = "SPN::BASE:CAMERA";

  explicit cEntity_BaseCamera(cEntity_Manager* manager);
  ~cEntity_BaseCamera() override;

  // First call: takes a new view from the renderer, gives it the lens and
  // the look-at, then the viewport when one is given. Later calls only hand
  // on the viewport. 0; 0x80004005 without a renderer or view.
  virtual CoreStatus AttachView(Core3D* renderer, const platform::RECT* viewport);
  virtual CameraView* GetView();
  // Without a view nothing; else keeps the rectangle and rebuilds the
  // projection.
  virtual void SetViewport(const platform::RECT* viewport);
  virtual void UpdateProjection();
  virtual void SetPositionXYZ(float x, float y, float z);
  // Vectors of length 0 are ignored by the three setters.
  virtual CoreStatus SetPosition(JVector position);
  virtual void SetTargetXYZ(float x, float y, float z);
  virtual CoreStatus SetTargetFromObject(cEntity_Base* object);
  virtual void SetTarget(JVector target);
  virtual void SetUpXYZ(float x, float y, float z);
  // Normalised when its length is not 1.
  virtual void SetUp(JVector up);
  // Lens values are stored only; the view takes them at the next attach.
  virtual void SetFocalDistance(float value);
  virtual void SetFarPlane(float value);
  virtual void SetNearPlane(float value);
  virtual void SetFieldOfView(float value);
  virtual void SetOrthographic(bool orthographic);
  virtual void SetFlagA(uint8_t flag);
  // The pick ray through screen point (x, y): its start and a second point,
  // in world space. 0; 0x80004005 without a view or with an empty viewport.
  virtual CoreStatus ScreenToRay(float x, float y, float width, float height, JVector* start, JVector* second);
  // The eye position.
  JVector GetPosition() override;
  virtual JVector GetTarget();
  virtual void UpdateView();

  JVector GetUp() const { return up_; }
  float GetFocalDistance() const { return focalDistance_; }
  float GetFarPlane() const { return farPlane_; }
  float GetNearPlane() const { return nearPlane_; }
  float GetFieldOfView() const { return fieldOfView_; }
  bool IsPerspective() const { return perspective_ != 0; }
  const platform::RECT* GetViewport() const { return viewport_; }

 protected:
  JVector position_;
  JVector target_;
  JVector up_{0.0f, 1.0f, 0.0f};
  const platform::RECT* viewport_ = nullptr;
  CameraView* view_ = nullptr;
  uint8_t flagA_ = 1;
  uint8_t perspective_ = 1;
  float focalDistance_ = 10.0f;
  float fieldOfView_ = 1.5707963f;
  float nearPlane_ = 1.0f;
  float farPlane_ = 1000.0f;
};

class SpawnBaseCamera : public cSpawn_Base {
 public:
  SpawnBaseCamera() : cSpawn_Base(cEntity_BaseCamera::kSpawnName) {}
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override {
    return new cEntity_BaseCamera(creator);
  }
};
