#pragma once
// The view record a camera fills and the renderer draws with: lens values,
// eye and orientation, viewport, and the projection and view matrices built
// from them. The renderer creates these records and owns them; it may extend
// the record after the view matrix.
#include <cstdint>

#include "engine/math/JMatrix.h"

struct CameraView {
  float focalDistance = 10.0f;  // scale of orthographic views
  float fieldOfView = 1.5708f;  // radians, spans the longer viewport side
  float nearPlane = 1.0f;
  float farPlane = 1000.0f;
  float eye[3] = {0.0f, 0.0f, 0.0f};
  // Columns 0, 1, 2 of rows 0-2 hold the right, up and forward axes.
  JMatrix cameraMatrix = JMatrix::Identity();
  float viewportWidth = 800.0f;
  float viewportHeight = 600.0f;
  float zoom = 1.0f;
  bool perspective = true;  // false: orthographic
  JMatrix projection = JMatrix::Zero();
  JMatrix extraMatrix = JMatrix::Zero();  // kept for the view's owner; never touched here
  JMatrix view = JMatrix::Zero();
  JMatrix ownerMatrix = JMatrix::Zero();  // a further matrix for the view's owner
  int32_t index = -1;                     // position in the renderer's view list

  // Rebuilds the projection from the lens, viewport and zoom. The horizontal
  // axis is mirrored (m00 negative). A degenerate set-up (empty viewport, zero
  // field of view, zoom or focal distance, near equal to far) would divide by
  // zero, so the previous projection is kept instead.
  void BuildProjection();
  // Orients the camera at `eye` looking at `target` with `up` as the rough up
  // direction, then rebuilds the view matrix. Nothing changes when eye equals
  // target or up is parallel to the line of sight.
  void LookAt(const float eye[3], const float target[3], const float up[3]);
  // View matrix from the camera matrix and the eye; always 0.
  int32_t BuildViewMatrix();
};
