#include <gtest/gtest.h>

#include <cstring>

#include "engine/entity/EntityManager.h"
#include "simulation/AirlineManager.h"
#include "simulation/Calendar.h"
#include "simulation/EventManager.h"
#include "simulation/Simulation.h"
#include "simulation/StatManager.h"
#include "simulation/tests/kit/SimWorld.h"

namespace {

using simkit::SimWorld;

TEST(SimulationWorldTest, TheGameManagerSpawnsTheSimulationAndItsChildren) {
  SimWorld world;
  ASSERT_TRUE(world.ready);
  EXPECT_EQ(world.table.simulation, world.simulation);
  EXPECT_NE(world.table.airlineManager, nullptr);
  EXPECT_EQ(world.table.eventManager, world.events);
  EXPECT_EQ(world.table.airlineManager, world.simulation->GetAirlineManager());
  EXPECT_EQ(world.table.statManager, world.stats);
}

TEST(SimulationWorldTest, TheTimeServiceDrivesTheClock) {
  SimWorld world;
  ASSERT_TRUE(world.ready);
  world.BuildWorld();
  // Airline manager, event manager, statistics, in world-build order.
  ASSERT_EQ(world.Clock().GetTimeObjects().size(), 3u);
  EXPECT_EQ(world.Clock().GetTimeObjects()[0], world.simulation->GetAirlineManager());
  EXPECT_EQ(world.Clock().GetTimeObjects()[1], world.events);
  EXPECT_EQ(world.Clock().GetTimeObjects()[2], world.stats);
  const uint32_t start = world.Clock().totalSeconds;
  world.Clock().SetSpeed(10);
  world.RunFrame(0.5f);
  world.RunFrame(0.5f);
  EXPECT_EQ(world.Clock().totalSeconds, start + 10);
  EXPECT_FLOAT_EQ(world.Clock().realTime, 1.0f);
  world.ClearWorld();
  EXPECT_TRUE(world.Clock().GetTimeObjects().empty());
  // The timeline is gone: frames no longer reach the clock.
  world.RunFrame(0.5f);
  world.RunFrame(0.5f);
  EXPECT_EQ(world.Clock().realTime, 1.0f);
}

TEST(SimulationWorldTest, AFrameDestroysTheEntitiesMarkedForRemoval) {
  SimWorld world;
  ASSERT_TRUE(world.ready);
  world.BuildWorld();
  cEntity_Base* doomed = nullptr;
  ASSERT_EQ(world.manager->SpawnEntity("SPN::KIT:CAMERA", &doomed), 0);
  doomed->SetName("Doomed");
  cEntity_Base* kept = nullptr;
  ASSERT_EQ(world.manager->SpawnEntity("SPN::KIT:CAMERA", &kept), 0);
  kept->SetName("Kept");
  ASSERT_EQ(world.manager->DestroyEntity(doomed), 0);
  world.RunFrame(0.5f);
  EXPECT_EQ(world.table.entityManager->FindEntity("Doomed"), nullptr);
  EXPECT_EQ(world.table.entityManager->FindEntity("Kept"), kept);
}

TEST(SimulationWorldTest, SettingsAndHelpComeFromTheDataFolder) {
  SimWorld world;
  ASSERT_TRUE(world.ready);
  world.BuildWorld();
  EXPECT_FLOAT_EQ(world.stats->tuning.defaultBusinessSatisfaction, 80.0f);
  EXPECT_FLOAT_EQ(world.stats->tuning.defaultAirlineSatisfaction, 80.0f);
  cObjectDef* help = world.events->GetHelpFile().FindObject("DefinedHelpMessages");
  ASSERT_NE(help, nullptr);
  for (int topic : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15, 16, 17}) {
    cObjectDef* object = help->FindChild("HelpMess" + std::to_string(topic));
    ASSERT_NE(object, nullptr) << topic;
    EXPECT_GT(object->GetFloat("time"), 0.0f) << topic;
    EXPECT_NE(object->GetString("text1"), nullptr) << topic;
    EXPECT_NE(object->GetString("text2"), nullptr) << topic;
  }
  EXPECT_GT(help->FindChild("HelpMess1")->GetInt("wait6"), 0);
}

TEST(SimulationWorldTest, AutosaveRunsOnRealTimeEvenWhilePaused) {
  SimWorld world;
  ASSERT_TRUE(world.ready);
  world.BuildWorld();
  world.Clock().SetSpeed(0);
  for (int i = 0; i < 600; ++i) world.RunFrame(1.0f);
  EXPECT_TRUE(world.scenario.calls.empty());
  world.RunFrame(1.0f);
  EXPECT_EQ(world.scenario.calls, (std::vector<std::string>{"picture 0", "save autosave.kv9"}));
  EXPECT_FLOAT_EQ(world.Clock().autosaveThreshold, 1201.0f);
  world.config.SetValue("App", "Autosave", "FALSE");
  for (int i = 0; i < 601; ++i) world.RunFrame(1.0f);
  EXPECT_EQ(world.scenario.calls.size(), 2u);
}

TEST(SimulationWorldTest, TheClockBlobRoundTripsAndALoadKeepsTheTimeOfDay) {
  SimWorld world;
  ASSERT_TRUE(world.ready);
  world.BuildWorld();
  world.Clock().SetDate(2003, 6, 5, 14, 7, 9);
  SerialBlock blob;
  uint32_t size = 0;
  ASSERT_TRUE(world.simulation->Save(&blob, &size));
  ASSERT_EQ(size, 32u);
  const uint32_t expected[8] = {5, 14, 156, 7, 6, 9, 0, 2003};
  for (int i = 0; i < 8; ++i) {
    uint32_t v = 0;
    std::memcpy(&v, blob.get() + 4 * i, 4);
    EXPECT_EQ(v, expected[i]) << i;
  }
  world.ClearWorld();
  ASSERT_TRUE(world.simulation->Load(blob.get(), size));
  world.BuildWorld();
  EXPECT_EQ(world.Clock().hour, 14);
  EXPECT_EQ(world.Clock().year, 2003);
  EXPECT_EQ(world.Clock().dayOfYear, 156);
  EXPECT_EQ(world.Clock().totalSeconds, calendar::DateToSeconds(2003, 6, 5, 14, 7, 9));
  SerialBlock again;
  uint32_t againSize = 0;
  ASSERT_TRUE(world.simulation->Save(&again, &againSize));
  EXPECT_EQ(std::vector<uint8_t>(again.get(), again.get() + againSize),
            std::vector<uint8_t>(blob.get(), blob.get() + size));
  // A new game after that starts at noon again.
  world.ClearWorld();
  world.BuildWorld();
  EXPECT_EQ(world.Clock().hour, 12);
}

TEST(SimulationWorldTest, CorruptClockBlobsAreRefused) {
  SimWorld world;
  ASSERT_TRUE(world.ready);
  auto blob = [](std::vector<uint32_t> v) {
    std::vector<uint8_t> b;
    for (uint32_t x : v)
      for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(x >> (8 * i)));
    return b;
  };
  const std::vector<uint32_t> good = {29, 24, 60, 0, 2, 0, 8, 2004};
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"truncated", [&] { auto b = blob(good); b.pop_back(); return b; }()},
      {"too long", [&] { auto b = blob(good); b.push_back(0); return b; }()},
      {"day 30 of February", blob({30, 24, 60, 0, 2, 0, 8, 2004})},
      {"29 February 2003", blob({29, 24, 60, 0, 2, 0, 8, 2003})},
      {"skipped day", blob({11, 24, 254, 0, 9, 0, 8, 2001})},
      {"hour 0", blob({29, 0, 60, 0, 2, 0, 8, 2004})},
      {"hour 25", blob({29, 25, 60, 0, 2, 0, 8, 2004})},
      {"minute 60", blob({29, 24, 60, 60, 2, 0, 8, 2004})},
      {"second 60", blob({29, 24, 60, 0, 2, 60, 8, 2004})},
      {"month 13", blob({29, 24, 60, 0, 13, 0, 8, 2004})},
      {"year 1969", blob({29, 24, 60, 0, 2, 0, 8, 1969})},
      {"week 54", blob({29, 24, 60, 0, 2, 0, 54, 2004})},
  };
  world.Clock().SetDate(1999, 3, 4, 5, 6, 7);
  for (const Case& c : cases) {
    EXPECT_FALSE(world.simulation->Load(c.bytes.data(), static_cast<uint32_t>(c.bytes.size()))) << c.name;
    EXPECT_EQ(world.Clock().year, 1999) << c.name;
    EXPECT_EQ(world.Clock().day, 4) << c.name;
  }
  EXPECT_FALSE(world.simulation->Load(nullptr, 32));
  const auto ok = blob(good);
  ASSERT_TRUE(world.simulation->Load(ok.data(), 32));
  EXPECT_EQ(world.Clock().dayOfYear, 60);  // 29 February of a leap year
}

TEST(SimulationWorldTest, TheAirlineManagerIsInert) {
  SimWorld world;
  ASSERT_TRUE(world.ready);
  auto* airlines = world.simulation->GetAirlineManager();
  EXPECT_EQ(airlines->Stop(), 0);  // never started: the clock is untouched
  world.BuildWorld();
  world.Clock().SetSpeed(0);
  world.RunFrame(0.5f);
  EXPECT_TRUE(airlines->GetAirlines().empty());
  EXPECT_EQ(airlines->Stop(), 0);
  world.RunFrame(0.5f);
  EXPECT_FALSE(world.Clock().IsRegistered(airlines));
}

}  // namespace
