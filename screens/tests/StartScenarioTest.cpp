// The scenario start on the game manager with the game's test world: each
// argument text against the calls that reach the scenario, the campaign
// flag, the camera's overview flag and the music.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "game/GameCamera.h"
#include "game/tests/GameTestWorld.h"
#include "platform/DebugOutput.h"
#include "screens/ActionStartScenario.h"
#include "screens/ScreenCommand.h"
#include "screens/tests/FrontEndRig.h"

namespace gametest {
namespace {

constexpr int32_t kNot = screens::kNotHandled;

std::vector<std::string> ScenarioCalls(size_t first) {
  std::vector<std::string> out;
  for (size_t i = first; i < Log().calls.size(); ++i) {
    const std::string& call = Log().calls[i];
    if (call.rfind("scenario terrain", 0) == 0 || call.rfind("scenario load ", 0) == 0 ||
        call == "scenario build new")
      out.push_back(call);
  }
  return out;
}

TEST(StartScenario, EveryArgumentText) {
  struct Case {
    const char* name;
    const char* text;
    bool buildFails;
    bool loadFails;
    const char* music;
    int32_t result;
    std::vector<std::string> calls;
    bool campaignCleared;
    int musicPlays;  // the root entity's load plays it too
  };
  const Case cases[] = {
      {"generated terrain", "new random", false, false, "", 0, {"scenario terrain ''", "scenario build new"}, true,
       0},
      {"words ignore case", "NEW RANDOM", false, false, "", 0, {"scenario terrain ''", "scenario build new"}, true,
       0},
      {"an image name runs to the bar", "new image|Isle of Mann.tga|rest", false, false, "", 0,
       {"scenario terrain 'Isle of Mann.tga'", "scenario build new"}, true, 0},
      {"the location's music", "new random", false, false, "Music\\harbour.ogg", 0,
       {"scenario terrain ''", "scenario build new"}, true, 1},
      {"image without a name", "new image", false, false, "Music\\harbour.ogg", kNot, {}, true, 0},
      {"no mode", "new", false, false, "", kNot, {}, true, 0},
      {"unknown mode", "new sideways", false, false, "", kNot, {}, true, 0},
      {"a bar is no word end here", "new|random", false, false, "", 0, {}, false, 0},
      {"a failed start", "new random", true, false, "Music\\harbour.ogg", kNot,
       {"scenario terrain ''", "scenario build new"}, true, 0},
      {"load", "load town.kv9", false, false, "Music\\harbour.ogg", 0, {"scenario load town.kv9"}, true, 2},
      {"a failed load still sets music", "load town.kv9", false, true, "Music\\harbour.ogg", kNot,
       {"scenario load town.kv9"}, true, 1},
      {"load without a file", "load", false, false, "", kNot, {}, false, 0},
      {"another word", "fly", false, false, "", 0, {}, false, 0},
      {"empty", "", false, false, "", kNot, {}, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameWorld w;
    ASSERT_EQ(w.Load(), status::Ok) << w.manager->GetLoadingFailure();
    frontend::RecordingAudio audio(nullptr);
    w.table.audioManager = &audio;
    auto* scenario = dynamic_cast<LScenario*>(w.table.scenario);
    ASSERT_NE(scenario, nullptr);
    scenario->buildFails = c.buildFails;
    scenario->loadFails = c.loadFails;
    scenario->music = c.music;
    scenario->campaignGame = 1;
    cEntity_GameCamera* camera = w.manager->GetGameCamera();
    ASSERT_NE(camera, nullptr);
    ActionStartScenario start(&w.table);
    const size_t first = Log().calls.size();
    EXPECT_EQ(start.Execute(nullptr, 0, c.text), c.result);
    EXPECT_EQ(ScenarioCalls(first), c.calls);
    EXPECT_EQ(scenario->campaignGame, c.campaignCleared ? 0 : 1);
    const std::string path = w.table.entityManager->GetResourcePath() + "Sounds\\" + c.music;
    EXPECT_EQ(audio.music, std::vector<std::string>(static_cast<size_t>(c.musicPlays), path));
    // A new game sets the overview flag before it starts, even when the
    // start is refused.
    if (c.campaignCleared && std::string(c.text).rfind("new", 0) == 0) {
      EXPECT_EQ(camera->fixedView, 1);
    }
    w.table.audioManager = nullptr;
  }
}

TEST(StartScenario, TheLoadNameMeetsTheScenarioCheck) {
  // The "load" word hands its name to the scenario's load, which refuses a
  // name that leaves the save folder.
  frontend::FrontEndRig fe;
  platform::ScopedDebugCapture capture;
  for (const char* name : {"..\\..\\base.cfg", "../x.kv9", "a/b.kv9", "c:\\x.kv9"}) {
    capture.Clear();
    EXPECT_EQ(fe.scenario->LoadFromFile(name, false), status::Fail) << name;
    EXPECT_TRUE(capture.Contains("refused the save name")) << name;
  }
}

}  // namespace
}  // namespace gametest
