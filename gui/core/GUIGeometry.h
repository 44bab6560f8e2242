#pragma once
// The geometry of widget picking: pick rays, the segment-box test, the
// collision shapes of an entity and the ray through a screen point of a view.
#include <cstdint>

#include "engine/math/JMatrix.h"
#include "engine/services/Panelis.h"

struct CameraView;

// A collision shape of an entity, in its scaled box units (y from the bottom).
struct GUICollisionShape {
  uint8_t type = 0;  // 0 rectangle, 1 circle
  float x = 0.0f;
  float y = 0.0f;
  float radius = 0.0f;  // circle
  float height = 0.0f;  // rectangle
  float width = 0.0f;
};

// Faces of the segment-box test.
enum GUIBoxFace : int32_t {
  GUIFACE_INSIDE = -1,
  GUIFACE_NONE = 0,
  GUIFACE_X0 = 1,
  GUIFACE_XB = 2,
  GUIFACE_Z0 = 3,
  GUIFACE_ZB = 4,
  GUIFACE_Y0 = 5,
  GUIFACE_YB = 6,
};

// Tests the segment p0..p1 against the box from the origin to `box` (box.z
// may be negative: the box then runs from 0 back to box.z). Answers the last
// face accepted, GUIFACE_INSIDE when both points are inside, GUIFACE_NONE
// when the segment misses; `hit` gets the point where it enters (p0 inside).
int32_t SegmentBoxTest(const float p0[3], const float p1[3], const float box[3], float hit[3]);

// The point (row vector) through the matrix.
void TransformPoint(const JMatrix& m, const float in[3], float out[3]);

// The ray through screen point (x, y) of a width x height viewport, from
// the view's camera: for a perspective view it starts at the eye.
GUIRay ScreenRay(const CameraView& view, float x, float y, float width, float height);
