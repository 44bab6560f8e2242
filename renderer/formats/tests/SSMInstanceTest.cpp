// Anchors, draw data, handles and animation of loaded models.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/DebugOutput.h"
#include "renderer/formats/SSMObject.h"
#include "renderer/formats/SSMQuat.h"
#include "renderer/formats/SSMShaderRef.h"
#include "renderer/formats/tests/SSMFixtures.h"

namespace {

// A marker group: triangles (apex, s0, s1) and (s1, s0, other) sharing the
// edge s0-s1, appended as group `name` over new vertices.
void AddMarker(SSMObject& m, const std::string& name, SSMVec3 apex, SSMVec3 s0, SSMVec3 s1, SSMVec3 other,
               SSMVec3 shift = {}) {
  const int base = m.vertexCount;
  m.vertexCount += 4;
  int f = 0;
  for (auto& frame : m.frames) {
    for (SSMVec3 p : {apex, s0, s1, other})
      frame->vertices.push_back({p.x + shift.x * f, p.y + shift.y * f, p.z + shift.z * f});
    ++f;
  }
  auto g = std::make_unique<SSMGroup>();
  g->name = name;
  g->flags = SSMGroup::kAnchorMarker;
  const int16_t group = int16_t(m.groups.size());
  m.groups.push_back(std::move(g));
  SSMFace t0, t1;
  t0.vertex[0] = int16_t(base);
  t0.vertex[1] = int16_t(base + 1);
  t0.vertex[2] = int16_t(base + 2);
  t1.vertex[0] = int16_t(base + 2);
  t1.vertex[1] = int16_t(base + 1);
  t1.vertex[2] = int16_t(base + 3);
  t0.group = t1.group = group;
  m.faces.push_back(t0);
  m.faces.push_back(t1);
}

// Through the writer and reader, as a model reaches the renderer.
std::unique_ptr<SSMObject> Reloaded(const SSMObject& m) {
  std::vector<uint8_t> bytes;
  EXPECT_EQ(status::Ok, m.Save(&bytes));
  auto back = std::make_unique<SSMObject>();
  EXPECT_EQ(status::Ok, back->Load(bytes.data(), bytes.size()));
  return back;
}

TEST(SSMAnchors, MarkerBecomesAnAnchorAlongItsSharedEdge) {
  auto model = SSMBoxModel(1, 2);
  // Apex (0,0,1); shared vertices (1,0,0) [nearer the apex] and (3,0,0);
  // key frame 1 lifts everything by 2 in y.
  AddMarker(*model, "hook", {0, 0, 1}, {3, 0, 0}, {1, 0, 0}, {2, 1, 0}, {0, 2, 0});
  auto m = Reloaded(*model);
  m->BuildAnchors();
  ASSERT_EQ(m->groups.size(), 1u);  // the marker group is gone
  ASSERT_EQ(m->anchors.size(), 1u);
  const SSMAnchor& a = *m->anchors[0];
  EXPECT_EQ(a.name, "hook");
  ASSERT_EQ(a.frameCount, 2);
  // Axis a = +x, normal n = (0,-1,0) for this winding, side s = n x a =
  // (0,0,1). R has the columns s, n, a; as a quaternion (sqrt 1/2, 0, sqrt 1/2, 0).
  const float h = std::sqrt(0.5f);
  for (int f = 0; f < 2; ++f) {
    SCOPED_TRACE(f);
    EXPECT_FLOAT_EQ(a.lengths[f], 2.0f);
    EXPECT_NEAR(a.orientations[f].x, h, 1e-6f);
    EXPECT_NEAR(a.orientations[f].y, 0.0f, 1e-6f);
    EXPECT_NEAR(a.orientations[f].z, h, 1e-6f);
    EXPECT_NEAR(a.orientations[f].w, 0.0f, 1e-6f);
  }
  // Translation (-(s.O), -(n.O), -(a.O)) with O = (1,0,0), then (1,2,0).
  EXPECT_FLOAT_EQ(a.positions[0].x, 0.0f);
  EXPECT_FLOAT_EQ(a.positions[0].y, 0.0f);
  EXPECT_FLOAT_EQ(a.positions[0].z, -1.0f);
  EXPECT_FLOAT_EQ(a.positions[1].y, 2.0f);
  EXPECT_FLOAT_EQ(a.positions[1].z, -1.0f);
}

TEST(SSMAnchors, UnusableMarkersAreDroppedWithoutAnAnchor) {
  // One triangle only.
  auto one = SSMBoxModel(1, 1);
  AddMarker(*one, "single", {0, 0, 0}, {0, 0, 1}, {0, 1, 0}, {1, 1, 1});
  one->faces.pop_back();
  // Two triangles sharing no edge (one vertex only).
  auto apart = SSMBoxModel(1, 1);
  AddMarker(*apart, "apart", {0, 0, 0}, {0, 0, 1}, {0, 1, 0}, {1, 1, 1});
  apart->faces.back().vertex[0] = apart->faces.back().vertex[2];
  apart->faces.back().vertex[2] = 0;
  // A model without key frames.
  auto noFrames = SSMBoxModel(1, 0);
  AddMarker(*noFrames, "frameless", {0, 0, 0}, {0, 0, 1}, {0, 1, 0}, {1, 1, 1});
  platform::ScopedDebugCapture capture;
  for (SSMObject* src : {one.get(), apart.get(), noFrames.get()}) {
    auto m = Reloaded(*src);
    m->BuildAnchors();
    EXPECT_TRUE(m->anchors.empty());
    ASSERT_EQ(m->groups.size(), 1u);
    EXPECT_EQ(m->groups[0]->name, "box0");
  }
  EXPECT_TRUE(capture.Contains("\"frameless\""));
}

TEST(SSMDrawData, CornersAreDistinctPerVertexAndUvWithinEachGroup) {
  auto m = Reloaded(*SSMBoxModel(2, 2));
  // Two faces of box 0 share vertex 0 with different uv: make one differ.
  m->faces[0].uv[0][0] = 0.25f;
  m->BuildAnchors();
  m->BuildDrawData();
  ASSERT_EQ(m->groups.size(), 2u);
  for (const auto& g : m->groups) {
    EXPECT_EQ(g->usedVertexCount, 8);
    EXPECT_EQ(g->cornerIndices.size(), size_t(g->triangleCount) * 3);
    // Every corner index names a corner with the face's own vertex and uv.
    for (size_t t = 0; t < g->triangles.size(); ++t) {
      const SSMFace& face = m->faces[g->triangles[t]];
      for (int k = 0; k < 3; ++k) {
        const SSMCorner& c = g->corners[g->cornerIndices[t * 3 + k]];
        EXPECT_EQ(c.vertex, face.vertex[k]);
        EXPECT_EQ(c.u, face.uv[k][0]);
        EXPECT_EQ(c.v, face.uv[k][1]);
      }
    }
  }
  // Box faces use each vertex with one uv (uv follows the corner), so 8
  // corners, plus the one changed corner in group 0.
  EXPECT_EQ(m->groups[0]->cornerCount, 9);
  EXPECT_EQ(m->groups[1]->cornerCount, 8);
  EXPECT_EQ(m->groups[1]->usedVertices.front(), 8);
  // Boxes per key frame: frame 1 is lifted by 0.25.
  const SSMBox& b0 = m->groups[1]->frameBoxes[0];
  const SSMBox& b1 = m->groups[1]->frameBoxes[1];
  EXPECT_FLOAT_EQ(b0.minX, 2.3f);
  EXPECT_FLOAT_EQ(b0.maxX, 3.3f);
  EXPECT_FLOAT_EQ(b0.minY, 0.0f);
  EXPECT_FLOAT_EQ(b1.minY, 0.25f);
  EXPECT_FLOAT_EQ(b1.maxY, 1.25f);
  EXPECT_FLOAT_EQ(b1.minZ, -0.7f);
}

TEST(SSMDrawData, GroupWithoutTrianglesKeepsAnEmptyBox) {
  auto model = SSMBoxModel(1, 1);
  auto empty = std::make_unique<SSMGroup>();
  empty->name = "empty";
  model->groups.push_back(std::move(empty));
  auto m = Reloaded(*model);
  m->BuildDrawData();
  const SSMGroup& g = *m->groups[1];
  EXPECT_EQ(g.usedVertexCount, 0);
  EXPECT_EQ(g.cornerCount, 0);
  ASSERT_EQ(g.frameBoxes.size(), 1u);
  EXPECT_GT(g.frameBoxes[0].minX, g.frameBoxes[0].maxX);
}

// ---- handles and animation -----------------------------------------------

struct CountingShader : SSMShaderRef {
  int refs = 1;
  void AddShaderRef() override { ++refs; }
  void ReleaseShaderRef() override { --refs; }
};

std::unique_ptr<SSMObject> Animated(std::vector<float> durations) {
  auto m = SSMBoxModel(1, int(durations.size()));
  m->anims[0]->keyDurations = durations;
  float total = 0;
  for (float d : durations) total += d;
  m->anims[0]->duration = total;
  auto loaded = Reloaded(*m);
  loaded->BuildAnchors();
  loaded->BuildDrawData();
  return loaded;
}

TEST(SSMHandle, TakesAndGivesBackGroupShaderReferences) {
  auto m = Reloaded(*SSMBoxModel(2, 1));
  CountingShader shader;
  m->resources[0]->shader = &shader;
  SSMHandle* a = m->CreateHandle();
  SSMHandle* b = m->CreateHandle();
  EXPECT_EQ(shader.refs, 5);
  ASSERT_EQ(a->groups.size(), 2u);
  EXPECT_EQ(a->groups[0]->flags, SSMGroup::kVisible);
  EXPECT_EQ(m->handles.size(), 2u);
  delete a;
  EXPECT_EQ(shader.refs, 3);
  EXPECT_EQ(m->handles.size(), 1u);
  m->ReleaseHandle(b);
  EXPECT_EQ(shader.refs, 1);
  EXPECT_EQ(b->object, nullptr);
  EXPECT_TRUE(m->handles.empty());
  delete b;
  EXPECT_EQ(shader.refs, 1);
}

TEST(SSMHandle, OutlivingItsObjectIsHarmless) {
  auto m = Animated({1.0f, 1.0f});
  SSMHandle* h = m->CreateHandle();
  m.reset();
  EXPECT_EQ(h->object, nullptr);
  h->Play(0, 0, 1.0f, 0);
  h->Advance(0, 0.5f);
  delete h;
}

TEST(SSMHandle, OutOfRangeIndicesGiveTheDefaults) {
  auto m = Animated({1.0f, 1.0f});
  std::unique_ptr<SSMHandle> h(m->CreateHandle());
  for (int16_t i : {int16_t(-1), int16_t(1), int16_t(32767)}) {
    h->Play(i, 0, 2.0f, 1);
    h->SetSpeed(i, 3.0f);
    h->SetWeight(i, 3.0f);
    EXPECT_EQ(h->IsPlaying(i), 0u);
    EXPECT_EQ(h->GetSpeed(i), 1.0f);
    EXPECT_EQ(h->GetWeight(i), 1.0f);
    EXPECT_EQ(h->GetLoop(i), 0);
    EXPECT_EQ(h->GetReverse(i), 0);
  }
  EXPECT_EQ(h->GetSpeed(0), 1.0f);
  h->SetReverse(0, true);
  EXPECT_EQ(h->GetReverse(0), 16);
}

TEST(SSMHandle, NonLoopingForwardPlayStopsOnTheLastKeyHoldingItsFrame) {
  auto m = Animated({1.0f, 1.0f});
  std::unique_ptr<SSMHandle> h(m->CreateHandle());
  h->Play(0, 0, 1.0f, 0);
  EXPECT_EQ(h->IsPlaying(0), 1u);
  EXPECT_EQ(h->anims[0]->frameA, 0);
  EXPECT_EQ(h->anims[0]->frameB, 1);
  h->Advance(0, 0.5f);
  EXPECT_FLOAT_EQ(h->anims[0]->blend, 0.5f);
  h->Play(0, 0, 1.0f, 0);
  h->Advance(0, 2.5f);
  const SSMAnimHandle& a = *h->anims[0];
  EXPECT_EQ(a.loops, 1);
  EXPECT_EQ(h->IsPlaying(0), 0u);
  EXPECT_EQ(a.key, 1);
  EXPECT_EQ(a.blend, 0.0f);
  EXPECT_EQ(a.frameB, a.frameA);
  EXPECT_FLOAT_EQ(a.time, 0.5f);
}

TEST(SSMHandle, LoopingPlayNeverStopsAndCountsCycles) {
  auto m = Animated({1.0f, 1.0f, 2.0f});
  std::unique_ptr<SSMHandle> h(m->CreateHandle());
  h->Play(0, 0, 2.0f, SSMAnimHandle::kLoop);
  for (int i = 0; i < 40; ++i) h->Advance(0, 0.25f);  // 20 s of play at speed 2: 5 cycles of 4 s
  EXPECT_EQ(h->IsPlaying(0), 1u);
  EXPECT_EQ(h->anims[0]->loops, 5);
  EXPECT_EQ(h->anims[0]->key, 0);
  h->Advance(0, 1.25f);  // 2.5 s of play: key 2, half a second in
  EXPECT_EQ(h->anims[0]->key, 2);
  EXPECT_FLOAT_EQ(h->anims[0]->blend, 0.25f);
  EXPECT_EQ(h->anims[0]->frameB, 0);  // blends back to the first key
}

TEST(SSMHandle, ReversePlayStartsOnTheLastKeyAndStopsOnTheFirst) {
  auto m = Animated({1.0f, 1.0f, 1.0f});
  std::unique_ptr<SSMHandle> h(m->CreateHandle());
  h->Play(0, 0, 1.0f, SSMAnimHandle::kReverse);
  EXPECT_EQ(h->anims[0]->key, 2);
  EXPECT_EQ(h->anims[0]->frameA, 2);
  h->Advance(0, 0.5f);
  EXPECT_EQ(h->anims[0]->key, 1);
  EXPECT_FLOAT_EQ(h->anims[0]->blend, 0.5f);
  h->Advance(0, 3.0f);
  EXPECT_EQ(h->IsPlaying(0), 0u);
  EXPECT_EQ(h->anims[0]->key, 0);
}

TEST(SSMHandle, ReverseWalkCreditsTheDurationOfTheKeyEntered) {
  // Keys of 1 s and 3 s: half a second back from the start of key 1 is
  // half a second into key 0, whose own duration is 1 s.
  auto m = Animated({1.0f, 3.0f});
  std::unique_ptr<SSMHandle> h(m->CreateHandle());
  h->Play(0, 0, 1.0f, SSMAnimHandle::kReverse | SSMAnimHandle::kLoop);
  h->Advance(0, 0.5f);
  EXPECT_EQ(h->anims[0]->key, 0);
  EXPECT_FLOAT_EQ(h->anims[0]->keyTime, 0.5f);
  EXPECT_FLOAT_EQ(h->anims[0]->blend, 0.5f);
  h->Advance(0, 1.0f);  // back past key 0 into key 1 (3 s): 2.5 s into it
  EXPECT_EQ(h->anims[0]->key, 1);
  EXPECT_FLOAT_EQ(h->anims[0]->keyTime, 2.5f);
  EXPECT_EQ(h->anims[0]->loops, 1);
}

TEST(SSMHandle, HostileTimesAndSpeedsNeitherHangNorOverflow) {
  auto m = Animated({0.0f, 1.0f, 0.0f});
  std::unique_ptr<SSMHandle> h(m->CreateHandle());
  h->Play(0, 0, 1.0f, SSMAnimHandle::kLoop);
  h->Advance(0, 3.0e38f);
  h->Advance(0, std::nanf(""));
  h->Advance(0, -std::numeric_limits<float>::infinity());
  h->SetSpeed(0, -1.0e6f);
  for (int i = 0; i < 100; ++i) h->Advance(0, 0.7f);
  h->SetReverse(0, true);
  h->SetSpeed(0, 1.0f);
  h->Advance(0, 0.3f);
  const SSMAnimHandle& a = *h->anims[0];
  EXPECT_GE(a.key, 0);
  EXPECT_LT(a.key, 3);
  EXPECT_TRUE(std::isfinite(a.blend));
  EXPECT_TRUE(std::isfinite(a.keyTime));
}

TEST(SSMQuat, MatricesConvertAndInterpolate) {
  // 90 degrees about y: x -> -z, z -> x (row vectors).
  const float ry[4][4] = {{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 0, 1}};
  const SSMQuat q = SSMQuatFromMatrix(ry);
  const float h = std::sqrt(0.5f);
  EXPECT_NEAR(std::fabs(q.w), h, 1e-6f);
  EXPECT_NEAR(std::fabs(q.y), h, 1e-6f);
  // 180 degrees about x: the trace is -1, the m00 branch.
  const float rx[4][4] = {{1, 0, 0, 0}, {0, -1, 0, 0}, {0, 0, -1, 0}, {0, 0, 0, 1}};
  const SSMQuat p = SSMQuatFromMatrix(rx);
  EXPECT_NEAR(p.x, 1.0f, 1e-6f);
  EXPECT_NEAR(p.w, 0.0f, 1e-6f);
  const SSMQuat id = SSMQuatIdentity();
  const SSMQuat mid = SSMQuatSlerp(id, q, 0.5f);
  EXPECT_NEAR(mid.w, std::cos(3.14159265f / 8), 1e-5f);
  const SSMQuat end = SSMQuatSlerp(id, q, 1.0f);
  EXPECT_NEAR(end.y, q.y, 1e-6f);
  // Nearly equal quaternions blend linearly.
  const SSMQuat same = SSMQuatSlerp(id, id, 0.3f);
  EXPECT_FLOAT_EQ(same.w, 1.0f);
  // Opposite ones turn through the perpendicular quaternion.
  const SSMQuat neg{0, 0, 0, -1};
  const SSMQuat half = SSMQuatSlerp(id, neg, 1.0f);
  EXPECT_NEAR(half.z, -1.0f, 1e-4f);
  EXPECT_EQ(half.w, 0.0f);
}

}  // namespace
