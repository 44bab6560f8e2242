// Marker groups become anchors: two triangles sharing an edge mark an
// attachment frame. The shared edge is the anchor's axis (from the shared
// vertex nearer the first triangle's apex), the first triangle's normal its
// up direction.
#include <cmath>

#include "platform/DebugOutput.h"
#include "renderer/formats/SSMObject.h"

namespace {

SSMVec3 Sub(const SSMVec3& a, const SSMVec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
float Dot(const SSMVec3& a, const SSMVec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
SSMVec3 Cross(const SSMVec3& a, const SSMVec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
SSMVec3 Scale(const SSMVec3& a, float k) { return {a.x * k, a.y * k, a.z * k}; }

struct Marker {
  int apex, shared0, shared1;  // vertex indices
  int a0, a1, a2;              // the first triangle's corners
};

// The corners of the first triangle that the second also uses are shared;
// exactly two shared and one apex make a usable marker.
bool ClassifyMarker(const SSMObject& m, const SSMGroup& g, Marker* out) {
  const SSMFace& t0 = m.faces[g.triangles[0]];
  const SSMFace& t1 = m.faces[g.triangles[1]];
  int shared[3];
  int sharedCount = 0;
  int apex = -1;
  for (int16_t v : t0.vertex) {
    const bool inT1 = v == t1.vertex[0] || v == t1.vertex[1] || v == t1.vertex[2];
    if (inT1) {
      shared[sharedCount++] = v;
    } else {
      apex = v;
    }
  }
  if (sharedCount != 2 || apex < 0) return false;
  *out = {apex, shared[0], shared[1], t0.vertex[0], t0.vertex[1], t0.vertex[2]};
  return true;
}

std::unique_ptr<SSMAnchor> MakeAnchor(const SSMObject& m, const SSMGroup& g, const Marker& mk) {
  const auto& f0 = m.frames[0]->vertices;
  int nearV = mk.shared0;
  int farV = mk.shared1;
  const SSMVec3 u = f0[static_cast<size_t>(mk.apex)];
  const SSMVec3 d0 = Sub(u, f0[static_cast<size_t>(mk.shared0)]);
  const SSMVec3 d1 = Sub(u, f0[static_cast<size_t>(mk.shared1)]);
  if (Dot(d1, d1) < Dot(d0, d0)) {
    nearV = mk.shared1;
    farV = mk.shared0;
  }

  auto anchor = std::make_unique<SSMAnchor>();
  anchor->name = g.name;
  anchor->frameCount = static_cast<int32_t>(m.frames.size());
  anchor->positions.resize(m.frames.size());
  anchor->lengths.assign(m.frames.size(), 1.0f);
  anchor->orientations.assign(m.frames.size(), SSMQuatIdentity());
  for (size_t f = 0; f < m.frames.size(); ++f) {
    const auto& p = m.frames[f]->vertices;
    auto at = [&](int v) { return p[static_cast<size_t>(v)]; };
    const SSMVec3 origin = at(nearV);
    SSMVec3 axis = Sub(at(farV), origin);
    const float length = std::sqrt(Dot(axis, axis));
    axis = length != 0.0f ? Scale(axis, 1.0f / length) : SSMVec3{0, 0, 1};
    SSMVec3 normal = Cross(Sub(at(mk.a2), at(mk.a0)), Sub(at(mk.a1), at(mk.a2)));
    const float nl = std::sqrt(Dot(normal, normal));
    normal = nl != 0.0f ? Scale(normal, 1.0f / nl) : SSMVec3{0, 1, 0};
    const SSMVec3 side = Cross(normal, axis);
    const float r[4][4] = {{side.x, normal.x, axis.x, 0},
                           {side.y, normal.y, axis.y, 0},
                           {side.z, normal.z, axis.z, 0},
                           {0, 0, 0, 1}};
    anchor->orientations[f] = SSMQuatFromMatrix(r);
    anchor->positions[f] = {-Dot(side, origin), -Dot(normal, origin), -Dot(axis, origin)};
    anchor->lengths[f] = length;
  }
  return anchor;
}

}  // namespace

void SSMObject::BuildAnchors() {
  for (size_t i = 0; i < groups.size();) {
    const SSMGroup& g = *groups[i];
    if (!(g.flags & SSMGroup::kAnchorMarker)) {
      ++i;
      continue;
    }
    Marker mk;
    // A marker needs two triangles sharing one edge, and a key frame to
    // measure them in; anything else is dropped without an anchor.
    if (g.triangleCount == 2 && !frames.empty() && ClassifyMarker(*this, g, &mk)) {
      anchors.push_back(MakeAnchor(*this, g, mk));
    } else {
      platform::DebugPrintf("SSM model: marker group \"%s\" is not two triangles on a key frame; dropped\n",
                            g.name.c_str());
    }
    groups.erase(groups.begin() + static_cast<std::ptrdiff_t>(i));
  }
}
