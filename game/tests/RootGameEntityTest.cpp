// The root game entity: a new game and a load handed to the scenario and
// the game manager, and their failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "engine/entity/ActionFactory.h"
#include "engine/frame/BaseCursor.h"
#include "game/GameKV9.h"
#include "game/tests/GameTestWorld.h"
#include "simulation/StatManager.h"

namespace gametest {
namespace {

std::vector<std::string> CallsSince(size_t first) {
  const auto& calls = Log().calls;
  return std::vector<std::string>(calls.begin() + static_cast<std::ptrdiff_t>(first), calls.end());
}

TEST(RootGameEntity, NewGameBuildsTheWorld) {
  GameWorld w;
  ASSERT_EQ(w.Load(), status::Ok) << w.manager->GetLoadingFailure();
  cEntity_GameKV9* game = w.table.game;
  ASSERT_NE(game, nullptr);
  EXPECT_EQ(game->NameRef(), "GameKV9");
  w.table.statManager->block.cash = 5.0;
  const size_t start = Log().calls.size();
  ASSERT_EQ(game->StartNewGame(""), status::Ok);
  const std::vector<std::string> calls = CallsSince(start);
  ASSERT_GE(calls.size(), 5u);
  const std::vector<std::string> first(calls.begin(), calls.begin() + 5);
  EXPECT_EQ(first, (std::vector<std::string>{"scenario loading 1", "scenario terrain ''", "plot grid 40 16",
                                             "scenario build new", "terrain BuildWorld"}));
  EXPECT_EQ(calls.back(), "ambient RegisterAndRestore");
  EXPECT_DOUBLE_EQ(w.table.statManager->block.cash, 20000000.0);

  ASSERT_EQ(game->StartNewGame("Island"), status::Ok);
  EXPECT_NE(std::find(Log().calls.begin(), Log().calls.end(), "scenario terrain 'Island'"), Log().calls.end());
}

TEST(RootGameEntity, FailedNewGameTakesTheLoadingScreenDown) {
  GameWorld w;
  ASSERT_EQ(w.Load(), status::Ok);
  cEntity_BaseCursor* cursor = w.manager->GetCursor();
  ASSERT_NE(cursor, nullptr);
  auto* scenario = dynamic_cast<LScenario*>(w.table.scenario);
  scenario->buildFails = true;
  const size_t start = Log().calls.size();
  EXPECT_EQ(w.table.game->StartNewGame(""), status::Fail);
  // No world was built, and the cursor is back.
  for (const std::string& c : CallsSince(start)) EXPECT_NE(c, "terrain BuildWorld");
  EXPECT_FALSE(cursor->IsHidden());
}

TEST(RootGameEntity, LoadEndsTheLoadingDisplay) {
  GameWorld w;
  ASSERT_EQ(w.Load(), status::Ok);
  cEntity_BaseCursor* cursor = w.manager->GetCursor();
  ASSERT_NE(cursor, nullptr);
  cursor->Hide();
  w.manager->SetLoadingProgress(0, true);
  const size_t start = Log().calls.size();
  // No music for this location: none plays, and the display still ends.
  ASSERT_EQ(w.table.game->LoadGame("Save\\Normal\\one.kv9", false), status::Ok);
  const std::vector<std::string> calls = CallsSince(start);
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[0], "scenario loading 1");
  EXPECT_EQ(calls[1], "scenario load Save\\Normal\\one.kv9");
  EXPECT_FLOAT_EQ(w.manager->GetLoadingFraction(), 1.0f);
  EXPECT_FALSE(cursor->IsHidden());

  dynamic_cast<LScenario*>(w.table.scenario)->loadFails = true;
  const size_t again = Log().calls.size();
  EXPECT_EQ(w.table.game->LoadGame("bad.kv9", true), status::Fail);
  for (const std::string& c : CallsSince(again)) EXPECT_NE(c, "terrain BuildWorld");
}

// A scenario spawn that makes another kind of entity.
struct NotAScenario : LTerrain {
  static constexpr const char* kSpawn = "SPN::KV9:SCENARIO";
  using LTerrain::LTerrain;
};

TEST(RootGameEntity, AScenarioOfAnotherClassIsRefused) {
  GameWorld w;
  ASSERT_EQ(w.Init(), status::Ok);
  FakeSpawn<NotAScenario> wrong;
  w.Replace(&wrong, true);
  EXPECT_EQ(w.manager->InitGameSystem(), status::Fail);
  EXPECT_EQ(w.manager->GetLoadingFailure(), "no spawn SPN::KV9:SCENARIO");
  ASSERT_NE(w.table.game, nullptr);
  EXPECT_EQ(w.table.scenario, nullptr);
  EXPECT_EQ(w.table.game->SpawnScenario(), status::Fail);
  EXPECT_EQ(w.table.scenario, nullptr);
  w.table.actionFactory->UnregisterSpawn(&wrong);
}

}  // namespace
}  // namespace gametest
