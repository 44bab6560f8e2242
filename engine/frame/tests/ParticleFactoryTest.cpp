#include "engine/frame/ParticleFactory.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/math/CameraView.h"
#include "engine/frame/ParticleEmitter.h"
#include "engine/frame/ParticleService.h"
#include "engine/frame/RenderService.h"
#include "engine/frame/tests/FrameTestWorld.h"
#include "platform/Random.h"

namespace {

TEST(ParticleFactoryTest, QuadsGoIntoOneDynamicMeshPerFrameClampedToItsSize) {
  platform::SRand(3);
  frametest::FrameWorld world;
  fake3d::FakeCore3D& r = world.renderer;
  cRenderService render(world.table.entityManager);
  render.SetName("AlphaService");
  render.SetCameraPosition(JVector(0, 5, -10));
  ASSERT_EQ(render.Initialise(&r), status::Ok);
  cParticleService particles(world.table.entityManager);

  ParticleFactoryParams p;
  p.particleLifespan = {5.0f, 5.0f};
  p.pulseCount = 8;
  p.cycle = {10.0f, 10.0f};
  p.scaleBirth = p.scaleDeath = {1.0f, 1.0f};
  p.maxParticles = 10;
  p.materials.assign(2, nullptr);
  p.iterationType = 0;  // every particle shows frame 0
  uint16_t index = 0;
  ASSERT_TRUE(particles.AddFactory(p, &index));

  cEntity_ParticleFactory factory(world.table.entityManager);
  ASSERT_EQ(particles.AddItem(&factory), status::Ok);
  ASSERT_EQ(factory.cParticleServiceItem::Init(index), status::Ok);
  factory.SetFrameCount(2);
  ASSERT_EQ(r.meshes.size(), 2u);
  EXPECT_EQ(r.meshNames[0], "dynamicmesh_ParticleFactory");
  EXPECT_EQ(r.meshes[0]->reservedVertices, 40u);
  EXPECT_EQ(r.meshes[0]->reservedIndices, 60u);
  ASSERT_EQ(render.AddItem(&factory), status::Ok);

  // Two emitters of 8 particles each share a mesh sized for 10 quads.
  cParticleEmitter* a = factory.CreateEmitter(JVector(0, 1, 0), JVector(0, 1, 0));
  cParticleEmitter* b = factory.CreateEmitter(JVector(4, 1, 0), JVector(0, 1, 0));
  EXPECT_EQ(a->GetRefCount(), 1);
  particles.Update(0.1f);
  ASSERT_EQ(a->GetLiveCount() + b->GetLiveCount(), 16u);
  r.RunFrame();
  ASSERT_EQ(r.draws.size(), 1u);  // frame 1 has no quads
  EXPECT_EQ(r.draws[0].resource, r.meshes[0].get());
  EXPECT_EQ(r.draws[0].vertexCount, 40u);
  EXPECT_EQ(r.draws[0].indexCount, 60u);
  EXPECT_EQ(r.draws[0].pass, render.GetRenderPass());
  // Built in view space and drawn with the inverse view: each corner of the
  // first quad lies half a diagonal of the unit square from its particle.
  const JVector centre = a->GetFirstLive()->position;
  for (int k = 0; k < 4; ++k) {
    const RenderVertex& v = r.meshes[0]->vertices[k];
    JVector corner(v.x, v.y, v.z);
    corner.Transform(r.draws[0].world);
    const float dx = corner.x - centre.x;
    const float dy = corner.y - centre.y;
    const float dz = corner.z - centre.z;
    EXPECT_NEAR(std::sqrt(dx * dx + dy * dy + dz * dz), 0.70710678f, 1e-3f) << k;
  }
  a->Release();
  b->Release();
}

}  // namespace
