#pragma once
// The player's camera as the simulation and the construction see it: the
// game's orbit camera implements it. They reach it through the engine game
// manager's camera, asking whether that camera is one.
#include <cstdint>

class SceneCamera {
 public:
  virtual ~SceneCamera() = default;

  virtual void SetZoom(float value) = 0;
  virtual float GetZoom() const = 0;
  // Moves the target to the point on the ground, keeping the height.
  virtual void SetFocusXZ(float x, float z) = 0;
  // Amplitude in world units, duration in seconds.
  virtual void StartShake(int32_t amplitude, float duration) = 0;
  // Drops every motion command and the smoothed motion.
  virtual void ResetMotion() = 0;

  // Set while the overview ("fixed") view of the land is up.
  uint8_t fixedView = 0;
  // Set when a placement or the demolish mode ends (kept for the camera).
  uint8_t secondFlag = 0;
  // Set while the buildings are not to be drawn.
  uint8_t suppressDrawing = 0;
};
