#pragma once
// What the GUI benchmarks share: the pointer positions and rays of a frame
// sequence over the 800 x 600 screen (20 x 15 units), and the naive pick
// they measure the service's depth-first pick against.
#include <vector>

#include "gui/core/GUIEntity.h"

namespace guibench {

inline MousePacket PacketAt(int i) {
  MousePacket p;
  p.x = (i * 37) % 800;
  p.y = (i * 53) % 600;
  return p;
}

inline GUIRay RayAt(int i) {
  const float x = static_cast<float>((i * 37) % 800) / 40.0f - 10.0f;
  const float y = 7.5f - static_cast<float>((i * 53) % 600) / 40.0f;
  return GUIRay{{x, y, 100.0f}, {x, y, -400.0f}};
}

// Tests every widget's box and keeps the nearest solid hit.
inline GUIEntity* NaiveScan(const std::vector<GUIEntity*>& widgets, const GUIRay& ray) {
  GUIEntity* best = nullptr;
  float bestZ = -1e30f;
  for (GUIEntity* w : widgets) {
    if (!w->IsLive() || !w->IsSolid() || !w->HitBox(ray)) continue;
    const float z = w->GetWorldMatrixPtr()->m[3][2];
    if (z > bestZ) {
      bestZ = z;
      best = w;
    }
  }
  return best;
}

}  // namespace guibench
