// Per-group draw data: the vertices a group uses, its distinct corners
// (vertex and texture coordinates) with three corner indices per triangle,
// and the group's box in every key frame.
#include <limits>

#include "renderer/formats/SSMObject.h"

namespace {

void UsedVertices(const SSMObject& m, SSMGroup& g) {
  std::vector<uint8_t> used(static_cast<size_t>(m.vertexCount), 0);
  for (uint16_t t : g.triangles)
    for (int16_t v : m.faces[t].vertex) used[static_cast<size_t>(v)] = 1;
  g.usedVertices.clear();
  for (size_t v = 0; v < used.size(); ++v)
    if (used[v]) g.usedVertices.push_back(static_cast<uint16_t>(v));
  g.usedVertexCount = static_cast<int32_t>(g.usedVertices.size());
}

void Boxes(const SSMObject& m, SSMGroup& g) {
  constexpr float kBig = std::numeric_limits<float>::max();
  g.frameBoxes.assign(m.frames.size(), SSMBox{kBig, kBig, kBig, -kBig, -kBig, -kBig});
  for (size_t f = 0; f < m.frames.size(); ++f) {
    SSMBox& b = g.frameBoxes[f];
    const auto& verts = m.frames[f]->vertices;
    for (uint16_t v : g.usedVertices) {
      const SSMVec3& p = verts[v];
      if (p.x < b.minX) b.minX = p.x;
      if (p.y < b.minY) b.minY = p.y;
      if (p.z < b.minZ) b.minZ = p.z;
      if (p.x > b.maxX) b.maxX = p.x;
      if (p.y > b.maxY) b.maxY = p.y;
      if (p.z > b.maxZ) b.maxZ = p.z;
    }
  }
}

// Corners are matched by vertex and exact texture coordinates. Candidates are
// chained per vertex, so the search looks only at corners of the same vertex
// and still finds the first match in collection order.
void Corners(const SSMObject& m, SSMGroup& g) {
  g.corners.clear();
  g.cornerIndices.clear();
  g.cornerIndices.reserve(g.triangles.size() * 3);
  std::vector<int32_t> head(static_cast<size_t>(m.vertexCount), -1);
  std::vector<int32_t> next;
  for (uint16_t t : g.triangles) {
    const SSMFace& face = m.faces[t];
    for (int k = 0; k < 3; ++k) {
      const int32_t vertex = face.vertex[k];
      const float u = face.uv[k][0];
      const float v = face.uv[k][1];
      int32_t found = -1;
      int32_t last = -1;
      for (int32_t c = head[static_cast<size_t>(vertex)]; c >= 0; c = next[static_cast<size_t>(c)]) {
        const SSMCorner& cand = g.corners[static_cast<size_t>(c)];
        if (cand.u == u && cand.v == v) {
          found = c;
          break;
        }
        last = c;
      }
      if (found < 0) {
        found = static_cast<int32_t>(g.corners.size());
        g.corners.push_back({vertex, u, v});
        next.push_back(-1);
        if (last < 0) {
          head[static_cast<size_t>(vertex)] = found;
        } else {
          next[static_cast<size_t>(last)] = found;
        }
      }
      g.cornerIndices.push_back(static_cast<uint16_t>(found));
    }
  }
  g.cornerCount = static_cast<int32_t>(g.corners.size());
}

}  // namespace

void SSMObject::BuildDrawData() {
  for (auto& g : groups) {
    UsedVertices(*this, *g);
    Boxes(*this, *g);
    Corners(*this, *g);
  }
}
