#pragma once
// The root of one screen or dialog, with a camera view of its own. A scene
// is not solid: the pointer passes through to its widgets.
#include <cstdint>

#include "gui/core/Widget.h"

struct CameraView;

class GUIScene : public Widget {
 public:
  explicit GUIScene(cEntity_Manager* owner);
  ~GUIScene() override;

  // Auto-size from the children, then a view of its own sized to the client
  // rectangle. No plane model and no "widget_init".
  CoreStatus Initialize() override;
  // Gives the view back to the renderer.
  CoreStatus Exit() override;

  virtual uint8_t GetAutoSize() { return autoSize_; }
  virtual void SetAutoSize(uint8_t on) { autoSize_ = on; }
  virtual CameraView* GetCamera() { return view_; }
  virtual void UpdateCamera();
  virtual void SetCameraPosition(float x, float y, float z);
  virtual void SetCameraPositionV(JVector v) { SetCameraPosition(v.x, v.y, v.z); }
  virtual void SetCameraTarget(float x, float y, float z);
  virtual void SetCameraTargetV(JVector v) { SetCameraTarget(v.x, v.y, v.z); }

 private:
  uint8_t autoSize_ = 0;
  CameraView* view_ = nullptr;
  float eye_[3] = {0.0f, 0.0f, 10.0f};
  float target_[3] = {0.0f, 0.0f, 0.0f};
  float up_[3] = {0.0f, 1.0f, 0.0f};
};
