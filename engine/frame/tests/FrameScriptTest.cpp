// The frame services made by a configuration script through the real
// command pass, then driven frame by frame with the test clock.
#include <gtest/gtest.h>

#include <list>
#include <string>
#include <utility>
#include <vector>

#include "engine/frame/BaseCamera.h"
#include "engine/math/CameraView.h"
#include "engine/services/CorePhysics.h"
#include "engine/math/JMatrix.h"
#include "engine/frame/ParticleEmitter.h"
#include "engine/frame/ParticleService.h"
#include "engine/frame/ParticleServiceItem.h"
#include "engine/frame/PhysicsService.h"
#include "engine/frame/RenderService.h"
#include "engine/frame/TimeService.h"
#include "engine/frame/tests/FrameTestWorld.h"

namespace {

using frametest::FrameWorld;

constexpr const char* kScript = R"(
// The frame services of a small game.
timeservice TimeService {
  timeline Weather {
    property timespan max;
    property framespan max;
  }
  timeline Once {
  }
  timeline Short {
    property TimeSpan 0.5;
    property framespan max;
    property paused false;
  }
}
renderservice RenderService {
  property AmbientLight 0.5 0.25 1;
  property FrameClear TRUE;
  property Camera MainCamera;
}
renderservice AlphaService {
  property Parent CORE3DROOT;
  property CamPos "1 2 3";
}
particleservice ParticleService {
  property MaxParticles 5000;
  property GravityVector 0 -8 0;
}
physicsservice PhysicsService {
  property anything goes;
}
camera MainCamera {
  property CamPos 0 10 -20;
  property FieldOfView 1.0;
  service TimeService;
  service Nowhere;
}
)";

// An entity that records the time events it receives with the frame.
class TickEntity : public cEntity_Base, public TimeServiceItem {
 public:
  explicit TickEntity(cEntity_Manager* manager) : cEntity_Base(manager, kEntityType_Base) {}
  void OnTimeEvent(TimeEvent* event) override { fired.emplace_back(frame, event->id); }
  int frame = 0;
  std::vector<std::pair<int, int>> fired;  // (frame, event id)
};

class CountingPhysics : public CorePhysics {
 public:
  bool Init() override { return true; }
  void Shutdown() override {}
  void LoadConfig() override {}
  uint32_t GetConfig(CoreBaseConfigMap** options) override {
    *options = nullptr;
    return 0;
  }
  bool ApplyConfig() override { return true; }
  void ClearConfig() override {}
  const char* GetName() override { return "physics"; }
  const char* GetDescription() override { return "counting physics"; }
  eServiceType GetServiceType() override { return eService_Physics; }
  CoreStatus CreateWorld(int32_t* id) override {
    calls.push_back("world");
    *id = 7;
    return status::Ok;
  }
  CoreStatus CreateSpace(int32_t* id) override {
    calls.push_back("space");
    *id = 9;
    return status::Ok;
  }
  CoreStatus AttachSpaceToWorld(int32_t, int32_t) override {
    calls.push_back("attach");
    return status::Ok;
  }
  CoreStatus CreateBody(void*, int32_t) override {
    calls.push_back("body");
    return status::Ok;
  }
  CoreStatus SetBodyTransform(void*, const JMatrix*) override {
    calls.push_back("transform");
    return status::Ok;
  }
  std::vector<std::string> calls;
};

class FrameScriptTest : public ::testing::Test {
 protected:
  FrameScriptTest() { platform::SetDebugStderr(false); }
  ~FrameScriptTest() override { platform::SetDebugStderr(true); }
  FrameWorld world;
};

TEST_F(FrameScriptTest, ScriptBlocksYieldTheServices) {
  platform::ScopedDebugCapture capture;
  ASSERT_EQ(world.Init(kScript), status::Ok);
  cGameManager& gm = *world.manager;

  ASSERT_EQ(gm.GetTimeServices().size(), 1u);
  ASSERT_EQ(gm.GetRenderServices().size(), 2u);
  ASSERT_EQ(gm.GetParticleServices().size(), 1u);
  // No physics module is bound, so the physics block's end refuses to file.
  EXPECT_TRUE(gm.GetPhysicsServices().empty());
  EXPECT_NE(dynamic_cast<PhysicsService*>(world.Find("PhysicsService")), nullptr);

  TimeService* time = gm.GetTimeServices()[0];
  EXPECT_EQ(time->NameRef(), "TimeService");
  Timer& timer = time->GetTimer();
  const int32_t weather = timer.FindTimeline("Weather");
  const int32_t once = timer.FindTimeline("Once");
  const int32_t shortLine = timer.FindTimeline("Short");
  ASSERT_NE(weather, -1);
  ASSERT_NE(once, -1);
  ASSERT_NE(shortLine, -1);
  EXPECT_TRUE(timer.IsPaused(weather));  // created paused, never resumed
  EXPECT_FALSE(timer.IsPaused(shortLine));
  EXPECT_FLOAT_EQ(timer.GetRemainingTime(shortLine), 500.0f);
  EXPECT_EQ(timer.GetRemainingFrames(weather), -1);

  // Passes: "RenderService" went in at 0, "AlphaService" went in at 0 and
  // was moved to the end by its root parent.
  ASSERT_EQ(world.renderer.GetPassCount(), 2);
  EXPECT_EQ(world.renderer.GetPass(0)->GetName(), "RenderService");
  EXPECT_EQ(world.renderer.GetPass(1)->GetName(), "AlphaService");
  auto* alpha = dynamic_cast<cRenderService*>(world.Find("AlphaService"));
  ASSERT_NE(alpha, nullptr);
  EXPECT_FLOAT_EQ(alpha->GetCameraPosition().y, 2.0f);
  EXPECT_FLOAT_EQ(alpha->GetView()->eye[2], 3.0f);
  auto* main = dynamic_cast<cRenderService*>(world.Find("RenderService"));
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(main->GetFrameClear());
  EXPECT_FLOAT_EQ(main->GetAmbientLight().y, 0.25f);
  // Its camera did not exist when its block ended: it draws with its own view.
  EXPECT_EQ(main->GetCamera(), nullptr);

  auto* particles = gm.GetParticleServices()[0];
  EXPECT_EQ(particles->GetMaxParticles(), 5000);
  EXPECT_FLOAT_EQ(particles->GetGravity().y, -8.0f);

  // The camera block attached its view with the client rectangle, and Init
  // found it by name.
  auto* camera = gm.GetCamera();
  ASSERT_NE(camera, nullptr);
  ASSERT_NE(camera->GetView(), nullptr);
  EXPECT_FLOAT_EQ(camera->GetView()->viewportWidth, 800.0f);
  EXPECT_FLOAT_EQ(camera->GetView()->fieldOfView, 1.0f);
  EXPECT_FLOAT_EQ(camera->GetView()->eye[1], 10.0f);
  EXPECT_EQ(gm.GetCursor(), nullptr);
  // An unknown service name is refused with a diagnostic, not dereferenced.
  EXPECT_TRUE(capture.Contains("no service named \"Nowhere\""));
  EXPECT_TRUE(capture.Contains("no camera \"MainCamera\""));
  EXPECT_TRUE(capture.Contains("[GAMEMANAGER::Init]:: Camera INIT"));

  // A timeline without both limits is gone after the first frame; the
  // others stay.
  world.clock.AdvanceSeconds(0.25);
  gm.Update(false);
  EXPECT_EQ(timer.FindTimeline("Once"), -1);
  EXPECT_EQ(timer.FindTimeline("Weather"), weather);
  EXPECT_EQ(timer.FindTimeline("Short"), shortLine);
  EXPECT_FLOAT_EQ(timer.GetRemainingTime(shortLine), 250.0f);
  EXPECT_FLOAT_EQ(gm.GetFrameTime(), 0.25f);
  // "Short" ran out at 0.5 s and is released in that frame.
  world.clock.AdvanceSeconds(0.3);
  gm.Update(false);
  EXPECT_EQ(timer.FindTimeline("Short"), -1);
}

TEST_F(FrameScriptTest, TimeEventsFireOnTheirFrames) {
  ASSERT_EQ(world.Init(kScript), status::Ok);
  cGameManager& gm = *world.manager;
  TickEntity tick(world.table.entityManager);
  std::list<std::string> names{"Nowhere", "RenderService", "TimeService"};
  EXPECT_EQ(gm.AttachToServices(names, &tick), status::Ok);
  EXPECT_TRUE(names.empty());
  ASSERT_EQ(tick.GetTimeOwner(), gm.GetTimeServices()[0]);

  ASSERT_EQ(TimeService_AddItemTimeline(&tick, 1, TimeEvent::kByTime, 0.5f, Timer::kUnlimitedTime, false),
            status::Ok);
  ASSERT_EQ(TimeService_AddItemTimeline(&tick, 2, TimeEvent::kByFrames, 2.0f, Timer::kUnlimitedTime, false),
            status::Ok);
  // Every frame, for three frames of life: its timeline runs out in the
  // third frame, which releases the event before it fires.
  ASSERT_EQ(TimeService_AddItemTimeline(&tick, 3, TimeEvent::kByFrames, 1.0f, 3.0f, false), status::Ok);
  EXPECT_EQ(TimeService_AddItemTimeline(&tick, 1, TimeEvent::kByTime, 1.0f, Timer::kUnlimitedTime, false),
            status::Fail);  // duplicate id refused
  EXPECT_EQ(tick.GetBehaviorCount(), 3);
  EXPECT_NE(tick.FindBehavior("Timeline:1:0:0"), nullptr);

  for (int frame = 1; frame <= 6; ++frame) {
    tick.frame = frame;
    world.clock.AdvanceSeconds(0.25);
    gm.Update(false);
  }
  const std::vector<std::pair<int, int>> expected{{1, 3}, {2, 2}, {2, 3}, {3, 1}, {4, 2}, {6, 1}, {6, 2}};
  EXPECT_EQ(tick.fired, expected);
  EXPECT_EQ(tick.GetBehaviorCount(), 2);

  // Removing event 2 takes effect at the next frame.
  EXPECT_EQ(TimeService_RemoveItemTimeline(&tick, 2, 0), status::Ok);
  EXPECT_EQ(TimeService_RemoveItemTimeline(&tick, 2, 1), status::Fail);
  tick.fired.clear();
  for (int frame = 7; frame <= 8; ++frame) {
    tick.frame = frame;
    world.clock.AdvanceSeconds(0.25);
    gm.Update(false);
  }
  EXPECT_TRUE(tick.fired.empty());
  EXPECT_EQ(tick.GetBehaviorCount(), 1);
}

TEST_F(FrameScriptTest, APausedFrameSkipsParticlesOnly) {
  CountingPhysics physics;
  world.table.SetPhysics(&physics);
  ASSERT_EQ(world.Init(kScript), status::Ok);
  cGameManager& gm = *world.manager;
  ASSERT_EQ(gm.GetPhysicsServices().size(), 1u);
  PhysicsService* physicsService = gm.GetPhysicsServices()[0];
  EXPECT_EQ(physics.calls, (std::vector<std::string>{"world", "space", "attach"}));

  cParticleService* particles = gm.GetParticleServices()[0];
  struct Effect : cParticleServiceItem {} effect;
  ParticleFactoryParams params;
  params.particleLifespan = {10.0f, 10.0f};
  params.pulseCount = 1;
  params.cycle = {100.0f, 100.0f};
  params.maxParticles = 4;
  uint16_t index = 0;
  ASSERT_TRUE(particles->AddFactory(params, &index));
  ASSERT_EQ(particles->AddItem(&effect), status::Ok);
  ASSERT_EQ(effect.Init(index), status::Ok);
  cParticleEmitter* emitter = effect.CreateEmitter(JVector(0, 5, 0), JVector(0, 1, 0));

  TickEntity tick(world.table.entityManager);
  ASSERT_EQ(gm.GetTimeServices()[0]->AddItem(&tick), status::Ok);
  ASSERT_EQ(TimeService_AddItemTimeline(&tick, 1, TimeEvent::kByFrames, 1.0f, Timer::kUnlimitedTime, false),
            status::Ok);

  world.clock.AdvanceSeconds(0.5);
  gm.Update(true);
  EXPECT_TRUE(gm.GetTimeServices()[0]->GetUpdateMark());
  EXPECT_TRUE(physicsService->GetUpdateMark());
  EXPECT_TRUE(gm.GetRenderServices()[0]->GetUpdateMark());
  EXPECT_FALSE(particles->GetUpdateMark());
  EXPECT_FLOAT_EQ(gm.GetRenderServices()[1]->GetFrameTime(), 0.5f);
  EXPECT_EQ(tick.fired.size(), 1u);
  EXPECT_EQ(emitter->GetLiveCount(), 0u);
  EXPECT_FLOAT_EQ(emitter->GetAge(), 0.0f);

  world.clock.AdvanceSeconds(0.5);
  gm.Update(false);
  EXPECT_TRUE(particles->GetUpdateMark());
  EXPECT_EQ(emitter->GetLiveCount(), 1u);
  EXPECT_FLOAT_EQ(emitter->GetAge(), 0.5f);
  EXPECT_EQ(tick.fired.size(), 2u);
  // The physics service is never enabled: its frames reach no module.
  EXPECT_EQ(physics.calls.size(), 3u);
  world.table.SetPhysics(nullptr);
}

TEST_F(FrameScriptTest, MalformedBlocksAreRefusedWithoutHarm) {
  struct Case {
    const char* script;
    size_t time, render, particle;
  };
  const Case cases[] = {
      {"timeservice;\n", 0, 0, 0},                             // no name
      {"property paused 1;\n}\n", 0, 0, 0},                   // words outside any block
      {"timeline Loose {\n property framespan 3;\n}\n", 0, 0, 0},
      {"timeservice T {\n timeline;\n property x;\n}\n}\n}\n", 1, 0, 0},
      {"renderservice R {\n property CamPos 1 2;\n property;\n property Unknown 1;\n}\n", 0, 1, 0},
      {"particleservice P {\n property GravityVector a b c d;\n property Max 1;\n}\n", 0, 0, 1},
      {"camera C {\n service;\n property Ortho;\n property CamPos \"1\";\n}\n", 0, 0, 0},
      {"cursor K {\n property Scale 1;\n service Nowhere;\n}\n", 0, 0, 0},
      {"\x01\x02timeservice \xff;\n\x7f}\n", 0, 0, 0},
      {"renderservice {\n}\n particleservice;\n", 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    FrameWorld local;
    local.Init(c.script);
    EXPECT_EQ(local.manager->GetTimeServices().size(), c.time);
    EXPECT_EQ(local.manager->GetRenderServices().size(), c.render);
    EXPECT_EQ(local.manager->GetParticleServices().size(), c.particle);
    local.clock.AdvanceSeconds(0.1);
    local.manager->Update(false);
    local.renderer.RunFrame();
  }
}

}  // namespace
