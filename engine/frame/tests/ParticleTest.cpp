#include <gtest/gtest.h>

#include <vector>

#include "engine/math/JMatrix.h"
#include "engine/math/Noise.h"
#include "engine/frame/ParticleEmitter.h"
#include "engine/frame/ParticleService.h"
#include "engine/frame/ParticleServiceItem.h"
#include "platform/Random.h"

namespace {

int64_t FixedClock() { return 12345; }

// One fixed value for a range.
ParticleFloatRange Exactly(float v) { return {v, v}; }

ParticleFactoryParams StillEffect() {
  ParticleFactoryParams p;
  p.particleLifespan = Exactly(1.0f);
  p.pulseCount = 4;
  p.cycle = Exactly(0.5f);
  p.scaleBirth = Exactly(1.0f);
  p.scaleDeath = Exactly(3.0f);
  p.coloursBirth.min[3] = p.coloursBirth.max[3] = 255;
  p.maxParticles = 100;
  return p;
}

struct Effect : cParticleServiceItem {};

class ParticleTest : public ::testing::Test {
 protected:
  ParticleTest() {
    platform::SRand(1);
    previousClock = Noise_SetClock(&FixedClock);
  }
  ~ParticleTest() override { Noise_SetClock(previousClock); }

  cParticleEmitter* Start(const ParticleFactoryParams& params, JVector at = JVector(0, 50, 0),
                          JVector direction = JVector(0, 1, 0)) {
    uint16_t index = 0;
    EXPECT_TRUE(service.AddFactory(params, &index));
    EXPECT_EQ(service.AddItem(&effect), status::Ok);
    EXPECT_EQ(effect.Init(index), status::Ok);
    return effect.CreateEmitter(at, direction);
  }

  NoiseClock previousClock = nullptr;
  cParticleService service{nullptr};
  Effect effect;
};

TEST_F(ParticleTest, PulsesEmitUpToTheTotalAndTheEmitterFinishesWithItsLastParticle) {
  ParticleFactoryParams p = StillEffect();
  p.number = {10, 10};
  cParticleEmitter* emitter = Start(p);
  emitter->AddRef();  // keep it for inspection once finished
  ASSERT_EQ(emitter->GetPoolSize(), 100u);
  ASSERT_EQ(emitter->GetTotalAllowed(), 10);
  // Frames of 0.25 s, a pulse every 0.5 s: 4, 4 and the last 2, then each
  // batch dies when older than 1 s.
  const std::vector<uint32_t> live{4, 8, 8, 10, 6, 2, 2, 0, 0};
  const std::vector<int32_t> emitted{4, 8, 8, 10, 10, 10, 10, 10, 10};
  for (size_t frame = 0; frame < live.size(); ++frame) {
    SCOPED_TRACE(frame + 1);
    EXPECT_FALSE(emitter->IsFinished());
    service.Update(0.25f);
    EXPECT_EQ(emitter->GetLiveCount(), live[frame]);
    EXPECT_EQ(emitter->GetEmitted(), emitted[frame]);
  }
  EXPECT_TRUE(emitter->IsEmissionFinished());
  EXPECT_TRUE(emitter->IsFinished());
  // Finished but still held: the item keeps it until released.
  EXPECT_EQ(effect.GetEmitterCount(), 1);
  emitter->Release();
  service.Update(0.25f);
  EXPECT_EQ(effect.GetEmitterCount(), 0);
}

// An endless effect (no life, no total) that is stopped emits no more and
// finishes once its last particle has died, so its item can drop it.
TEST_F(ParticleTest, AStoppedEndlessEmitterFinishesWithItsLastParticle) {
  cParticleEmitter* emitter = Start(StillEffect());
  emitter->AddRef();  // keep it for inspection once finished
  ASSERT_EQ(emitter->GetTotalAllowed(), 0);
  for (int i = 0; i < 8; ++i) service.Update(0.25f);
  EXPECT_FALSE(emitter->IsFinished());
  const int32_t emitted = emitter->GetEmitted();
  ASSERT_GT(emitter->GetLiveCount(), 0u);
  emitter->suppressed = true;
  // Particles live 1 s: five frames of 0.25 s outlive the youngest.
  for (int i = 0; i < 5; ++i) service.Update(0.25f);
  EXPECT_EQ(emitter->GetEmitted(), emitted);
  EXPECT_EQ(emitter->GetLiveCount(), 0u);
  EXPECT_TRUE(emitter->IsFinished());
  emitter->Release();
  service.Update(0.25f);
  EXPECT_EQ(effect.GetEmitterCount(), 0);
}

TEST_F(ParticleTest, ParticlesAgeRecolourResizeAndFallWithGravity) {
  ParticleFactoryParams p = StillEffect();
  p.pulseCount = 1;
  p.cycle = Exactly(100.0f);
  p.particleLifespan = Exactly(2.0f);
  p.gravity = 2.0f;
  p.coloursDeath.min[0] = p.coloursDeath.max[0] = 255;  // red and transparent at death
  service.SetGravity(JVector(0, -5, 0));
  cParticleEmitter* emitter = Start(p);
  emitter->floorHeight = -1.0e5f;
  service.Update(0.25f);
  const cParticle* particle = emitter->GetFirstLive();
  ASSERT_NE(particle, nullptr);
  // Position moves before the velocity takes this frame's acceleration.
  EXPECT_FLOAT_EQ(particle->position.y, 50.0f);
  EXPECT_FLOAT_EQ(particle->velocity.y, -2.5f);
  service.Update(0.25f);
  EXPECT_FLOAT_EQ(particle->position.y, 50.0f - 0.625f);
  EXPECT_FLOAT_EQ(particle->velocity.y, -5.0f);
  // Half its life: size half way from 1 to 3, colour half way.
  service.Update(0.25f);
  service.Update(0.25f);
  EXPECT_FLOAT_EQ(particle->age, 1.0f);
  EXPECT_FLOAT_EQ(particle->size, 2.0f);
  EXPECT_EQ(particle->colour, 0x7F7F0000u);
  // A particle below the floor dies.
  emitter->floorHeight = 100.0f;
  service.Update(0.25f);
  EXPECT_EQ(emitter->GetLiveCount(), 0u);
}

TEST_F(ParticleTest, AStartDelayHoldsTheFirstPulse) {
  ParticleFactoryParams p = StillEffect();
  p.sleepTime = 0.5f;
  cParticleEmitter* emitter = Start(p);
  service.Update(0.3f);
  EXPECT_EQ(emitter->GetLiveCount(), 0u);
  EXPECT_FLOAT_EQ(emitter->GetAge(), 0.0f);
  service.Update(0.3f);
  EXPECT_EQ(emitter->GetLiveCount(), 4u);
  EXPECT_NEAR(emitter->GetAge(), 0.1f, 1e-6f);
  EXPECT_NEAR(emitter->GetFirstLive()->age, 0.1f, 1e-6f);
}

TEST_F(ParticleTest, CycledTextureFramesFollowTheParticleLife) {
  ParticleFactoryParams p = StillEffect();
  p.pulseCount = 1;
  p.cycle = Exactly(100.0f);
  p.particleLifespan = Exactly(1.0f);
  p.iterationType = 1;
  p.materials.assign(4, nullptr);
  cParticleEmitter* emitter = Start(p);
  ASSERT_EQ(effect.GetFrameCount(), 4);
  service.Update(0.0f);  // no time: nothing is emitted yet
  EXPECT_EQ(emitter->GetLiveCount(), 0u);
  std::vector<int32_t> frames;
  for (int i = 0; i < 4; ++i) {
    service.Update(0.249f);
    frames.push_back(emitter->GetFirstLive()->frame);
  }
  // Ages 0.249, 0.498, 0.747, 0.996: never frame 4.
  EXPECT_EQ(frames, (std::vector<int32_t>{1, 2, 3, 3}));
}

TEST_F(ParticleTest, AFrozenEmitterNeitherEmitsNorMoves) {
  ParticleFactoryParams p = StillEffect();
  p.speed = Exactly(4.0f);
  cParticleEmitter* emitter = Start(p);
  service.Update(0.25f);
  ASSERT_EQ(emitter->GetLiveCount(), 4u);
  const JVector before = emitter->GetFirstLive()->position;
  const float age = emitter->GetFirstLive()->age;
  emitter->SetFrozen(true);
  for (int i = 0; i < 4; ++i) service.Update(0.25f);
  EXPECT_EQ(emitter->GetLiveCount(), 4u);
  EXPECT_EQ(emitter->GetEmitted(), 4);
  EXPECT_FLOAT_EQ(emitter->GetFirstLive()->position.y, before.y);
  EXPECT_FLOAT_EQ(emitter->GetFirstLive()->age, age);
  emitter->SetFrozen(false);
  service.Update(0.25f);
  EXPECT_EQ(emitter->GetLiveCount(), 8u);
}

TEST_F(ParticleTest, SeededRunsRepeat) {
  auto run = [&]() {
    platform::SRand(7);
    Effect local;
    ParticleFactoryParams p = StillEffect();
    p.radius = {0.0f, 2.0f};
    p.aperture = {0.2f, 0.6f};
    p.speed = {1.0f, 3.0f};
    uint16_t index = 0;
    service.AddFactory(p, &index);
    service.AddItem(&local);
    local.Init(index);
    cParticleEmitter* e = local.CreateEmitter(JVector(0, 50, 0), JVector(0, 1, 0));
    service.Update(0.25f);
    std::vector<float> out;
    for (const cParticle* q = e->GetFirstLive(); q; q = q->next) {
      out.push_back(q->position.x);
      out.push_back(q->velocity.y);
    }
    return out;
  };
  const std::vector<float> first = run();
  ASSERT_EQ(first.size(), 8u);
  EXPECT_EQ(run(), first);
  // Tilted off the emitter direction, never past the aperture.
  for (size_t i = 1; i < first.size(); i += 2) EXPECT_GT(first[i], 0.0f);
}

TEST_F(ParticleTest, QuadsAreClampedToTheMeshCapacity) {
  ParticleFactoryParams p = StillEffect();
  p.maxParticles = 6;
  p.pulseCount = 6;
  cParticleEmitter* a = Start(p);
  cParticleEmitter* b = effect.CreateEmitter(JVector(10, 50, 0), JVector(0, 1, 0));
  service.Update(0.25f);
  ASSERT_EQ(a->GetLiveCount() + b->GetLiveCount(), 12u);
  EXPECT_EQ(effect.GetQuadCapacity(), 6u);
  effect.Render(JMatrix::Identity(), JVector());
  ASSERT_EQ(effect.GetQuadCount(0), 6u);
  const uint16_t* indices = effect.GetIndices(0);
  const uint16_t quad5[6] = {20, 23, 21, 21, 23, 22};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(indices[30 + k], quad5[k]);
  // A camera-facing square of the particle's size around its position.
  const RenderVertex* v = effect.GetVertices(0);
  const cParticle* first = b->GetFirstLive();
  EXPECT_NEAR(v[1].x - v[0].x, first->size, 1e-4f);
  EXPECT_NEAR(v[0].y - v[3].y, first->size, 1e-4f);
  EXPECT_FLOAT_EQ(v[2].u, 1.0f);
  EXPECT_FLOAT_EQ(v[2].v, 1.0f);

  // 16-bit indices: never more than 16,384 quads per frame list.
  Effect big;
  ParticleFactoryParams huge = StillEffect();
  huge.maxParticles = 1 << 20;
  uint16_t index = 0;
  service.AddFactory(huge, &index);
  service.AddItem(&big);
  big.Init(index);
  EXPECT_EQ(big.GetQuadCapacity(), cParticleServiceItem::kMaxQuads);
  EXPECT_EQ(big.CreateEmitter(JVector(), JVector())->GetPoolSize(), 65536u);
}

TEST_F(ParticleTest, EffectsAreCopiedByIndex) {
  ParticleFactoryParams out;
  EXPECT_FALSE(service.GetFactory(0, &out));
  ParticleFactoryParams a = StillEffect();
  a.name = "Default Factory";
  ParticleFactoryParams b = StillEffect();
  b.name = "Default Rain";
  uint16_t ia = 9;
  uint16_t ib = 9;
  ASSERT_TRUE(service.AddFactory(a, &ia));
  ASSERT_TRUE(service.AddFactory(b, &ib));
  EXPECT_EQ(ia, 0);
  EXPECT_EQ(ib, 1);
  ASSERT_TRUE(service.GetFactory(1, &out));
  EXPECT_EQ(out.name, "Default Rain");
  ASSERT_TRUE(service.GetFactory(40, &out));  // past the end: the first
  EXPECT_EQ(out.name, "Default Factory");
  EXPECT_EQ(service.GetFactoryCount(), 2);
  EXPECT_EQ(effect.Init(0), status::Fail);  // not attached to a service
  service.ReleaseFactories();
  EXPECT_EQ(service.GetFactoryCount(), 0);
}

}  // namespace
