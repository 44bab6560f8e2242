#include "engine/frame/GameManager.h"

#include <gtest/gtest.h>

#include <list>
#include <string>
#include <vector>

#include "engine/frame/BaseCamera.h"
#include "engine/config/CommandRegistry.h"
#include "engine/services/InputPackets.h"
#include "engine/config/LanguageManager.h"
#include "engine/frame/RenderService.h"
#include "engine/frame/TimeService.h"
#include "engine/frame/tests/FrameTestWorld.h"

namespace {

using frametest::FrameWorld;

// A service of type 0 that is not a render service, and a general service
// that counts its frames.
class Odd : public cBaseService {
 public:
  Odd(cEntity_Manager* m, int32_t type) : cBaseService(m) { SetServiceType(type); }
  void Update(float seconds) override {
    ++updates;
    last = seconds;
  }
  int updates = 0;
  float last = -1.0f;
};

class Socket : public cCore_Base_InputSocket {
 public:
  Socket(std::string n, CoreStatus answer) : cCore_Base_InputSocket(std::move(n)), answer_(answer) {}
  CoreStatus OnMouse(MousePacket*) override {
    ++seen;
    return answer_;
  }
  CoreStatus RegisterKeyHandlers(cGM_ConfigManager*) override { return status::Ok; }
  CoreStatus ReloadKeyHandlers(cGM_ConfigManager*) override { return status::Ok; }
  CoreStatus UnregisterKeyHandlers(cGM_ConfigManager*) override { return status::Ok; }
  int seen = 0;

 private:
  CoreStatus answer_;
};

class GameManagerTest : public ::testing::Test {
 protected:
  GameManagerTest() { platform::SetDebugStderr(false); }
  ~GameManagerTest() override { platform::SetDebugStderr(true); }
  FrameWorld world;
};

TEST_F(GameManagerTest, InitRegistersCommandsAndLanguagesAndNeedsItsScript) {
  cGameManager& gm = *world.manager;
  world.manager->SetStartupScript(world.dir.File("missing.cfg"));
  EXPECT_EQ(gm.Init(&world.config), status::Fail);
  EXPECT_EQ(world.table.commandRegistry->GetCommandCount(), 22u);
  for (const char* name : {"TimeServiceCommand", "TLEndLangCommand", "PartServEndLangCommand", "CursorServiceCommand"}) {
    EXPECT_NE(world.table.commandRegistry->Lookup(name), nullptr) << name;
  }
  std::string common = "ConfigCommon";
  EXPECT_EQ(world.table.languageManager->GetCurrentLanguage(), world.table.languageManager->FindLanguage(common));
  EXPECT_NE(world.table.languageManager->LookupKeyword("particleservice"), nullptr);
  EXPECT_EQ(world.table.languageManager->LookupKeyword("pass"), nullptr);

  // An empty start-up script is enough; no camera means no cursor either.
  FrameWorld other;
  EXPECT_EQ(other.Init("// nothing yet\nsettings App;\n"), status::Ok);
  EXPECT_EQ(other.manager->GetCamera(), nullptr);
  EXPECT_EQ(other.config.GetGameManager(), other.manager.get());
}

TEST_F(GameManagerTest, ServicesAreFiledByTypeAndUpdatedOncePerFrame) {
  cGameManager& gm = *world.manager;
  cEntity_Manager* em = world.table.entityManager;
  EXPECT_EQ(gm.AddService(nullptr), status::Fail);
  Odd fake(em, eServiceKind_Render);
  EXPECT_EQ(gm.AddService(&fake), status::Fail);  // type 0 but no render service
  Odd other(em, 7);
  EXPECT_EQ(gm.AddService(&other), status::Ok);  // accepted, filed nowhere
  cRenderService render(em);
  EXPECT_EQ(gm.AddService(&render), status::Ok);
  EXPECT_EQ(gm.AddService(&render), status::Ok);
  EXPECT_EQ(gm.GetRenderServices().size(), 1u);

  // No time service: every service gets the previous frame time, 0 at first.
  Odd general(em, 9);
  gm.AddGeneralService(&general);
  gm.AddGeneralService(&render);  // already updated as a render service
  gm.Update(false);
  EXPECT_FLOAT_EQ(render.GetFrameTime(), 0.0f);
  EXPECT_EQ(general.updates, 1);
  EXPECT_FLOAT_EQ(general.last, 0.0f);
  EXPECT_FALSE(general.GetUpdateMark());  // cleared at the end of the frame
  EXPECT_EQ(other.updates, 0);

  // With two time services the last one's span wins.
  TimeService early(em);
  world.clock.AdvanceSeconds(0.5);
  TimeService late(em);
  gm.AddService(&early);
  gm.AddService(&late);
  world.clock.AdvanceSeconds(0.25);
  gm.Update(false);
  EXPECT_FLOAT_EQ(gm.GetFrameTime(), 0.25f);
  EXPECT_FLOAT_EQ(render.GetFrameTime(), 0.25f);
  EXPECT_FLOAT_EQ(general.last, 0.25f);
  EXPECT_EQ(general.updates, 2);
  EXPECT_EQ(gm.GetTimeServices().size(), 2u);
}

TEST_F(GameManagerTest, AServiceThatGoesAwayLeavesTheFrame) {
  cGameManager& gm = *world.manager;
  {
    TimeService gone(world.table.entityManager);
    gm.AddService(&gone);
    EXPECT_EQ(gm.GetTimeServices().size(), 1u);
  }
  EXPECT_TRUE(gm.GetTimeServices().empty());
  gm.Update(false);
}

TEST_F(GameManagerTest, SpawnAndDestroyEntities) {
  cGameManager& gm = *world.manager;
  ASSERT_EQ(world.Init("settings App;\n"), status::Ok);
  cEntity_Base* entity = reinterpret_cast<cEntity_Base*>(1);
  EXPECT_EQ(gm.SpawnEntity("SPN::NOTHING", &entity), status::Fail);
  EXPECT_EQ(entity, nullptr);
  EXPECT_TRUE(gm.GetEntities().empty());
  ASSERT_EQ(gm.SpawnEntity("spn::base:camera", &entity), status::Ok);
  ASSERT_NE(dynamic_cast<cEntity_BaseCamera*>(entity), nullptr);
  entity->SetName("MainCamera");
  cEntity_Base* second = nullptr;
  ASSERT_EQ(gm.SpawnEntity("SPN::GM:SERVICE:TIME", &second), status::Ok);
  EXPECT_EQ(gm.GetEntities().size(), 2u);

  EXPECT_EQ(gm.DestroyEntityByName("nobody"), status::Fail);
  EXPECT_EQ(gm.DestroyEntityByName("maincamera"), status::Ok);
  EXPECT_TRUE(entity->IsMarkedForRemoval());
  EXPECT_EQ(gm.DestroyEntity(entity), status::Fail);  // no longer held
  EXPECT_EQ(gm.DestroyEntity(second), status::Ok);
  EXPECT_EQ(gm.DestroyEntity(nullptr), status::Fail);
  EXPECT_TRUE(gm.GetEntities().empty());
  world.table.entityManager->Update(0.01f);
  EXPECT_EQ(world.Find("MainCamera"), nullptr);

  gm.SpawnEntity("SPN::BASE:CAMERA", &entity);
  gm.Shutdown();
  EXPECT_TRUE(gm.GetEntities().empty());
  EXPECT_EQ(gm.GetActionManager(), nullptr);
}

TEST_F(GameManagerTest, MousePacketsGoDownItsOwnList) {
  cGameManager& gm = *world.manager;
  Socket declines("declines", status::Fail);
  Socket takes("takes", status::Ok);
  Socket behind("behind", status::Ok);
  MousePacket packet;
  EXPECT_EQ(gm.OnMouse(&packet), status::Fail);  // empty list
  gm.AddMouseSocket(&declines);
  gm.AddMouseSocket(&takes);
  gm.AddMouseSocket(&behind);
  EXPECT_EQ(gm.OnMouse(&packet), status::Ok);
  EXPECT_EQ(declines.seen, 1);
  EXPECT_EQ(takes.seen, 1);
  EXPECT_EQ(behind.seen, 0);
  gm.RemoveMouseSocket(&declines);
  gm.RemoveMouseSocket(&takes);
  gm.RemoveMouseSocket(&behind);
}

}  // namespace
