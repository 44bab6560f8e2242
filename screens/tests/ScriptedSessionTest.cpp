// The committed input scripts played on the front end: every pointer move
// and button goes to the GUI as the input plug-in would deliver it, frames
// run between the events' times, and each click must land on the widget its
// comment names. Until the loading sequence's managers exist the program
// cannot play them itself; this plays them on the game's library with the
// stand-ins of the front end's tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/entity/InputSocketManager.h"
#include "gui/plugin/GUIInputSocket.h"
#include "platform/window/ScriptedInput.h"
#include "platform/window/Window.h"
#include "screens/ActionChooseLocationMenu.h"
#include "screens/ActionCreditsMenu.h"
#include "screens/ActionMainMenu.h"
#include "screens/tests/FrontEndRig.h"

namespace frontend {
namespace {

struct Played {
  std::vector<std::string> missed;  // "<wanted> got <hit>" per click off target
  std::vector<std::string> clicked;
  std::string lastLine;
};

bool Within(GUIEntity* e, const std::string& name) {
  for (; e; e = e->GetParent()) {
    if (e->GetName() == name) return true;
  }
  return false;
}

Played Play(FrontEndRig& fe, const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  platform::ScriptedInput check;
  EXPECT_EQ(check.Parse(text.str(), file), status::Ok) << file;

  cCore_Base_InputMGR input;
  input.AddMouseSocket(fe.rig.gui.GetInputSocket());
  input.AddKeySocket(fe.rig.gui.GetInputSocket());
  Played played;
  int x = 400;
  int y = 300;
  uint32_t now = 0;
  std::string wanted;
  std::string line;
  while (std::getline(text, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line[0] == '#') {
      if (line.rfind("# click ", 0) == 0) wanted = line.substr(8, line.find(':') - 8);
      continue;
    }
    played.lastLine = line;
    std::istringstream words(line);
    uint32_t time = 0;
    std::string what;
    words >> time >> what;
    // Frames of 20 ms up to the event's time.
    while (now + 20 <= time) {
      now += 20;
      fe.rig.gui.Update(0.02f);
      fe.rig.manager.Update(0.02f);
    }
    MousePacket p;
    if (what == "move") {
      int dx = 0;
      int dy = 0;
      words >> dx >> dy;
      x = std::clamp(x + dx, 0, 800);
      y = std::clamp(y + dy, 0, 600);
      p.dx = dx;
      p.dy = dy;
    } else if (what == "button") {
      std::string dir;
      int button = 0;
      words >> dir >> button;
      if (dir == "down") p.pressed = static_cast<uint8_t>(1u << button);
      else p.released = static_cast<uint8_t>(1u << button);
      if (dir == "up" && button == 0) {
        GUIEntity* hit = fe.rig.gui.GetHoverEntity();
        if (!Within(hit, wanted)) played.missed.push_back(wanted + " got " + (hit ? hit->GetName() : "nothing"));
        played.clicked.push_back(wanted);
      }
    } else {
      continue;  // keys and window events have no widget to reach here
    }
    p.x = x;
    p.y = y;
    input.OnMousePacket(&p);
  }
  return played;
}

class ScriptedSession : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(platform::InitWindowSystem(platform::WindowBackend::Headless), status::Ok);
    ASSERT_TRUE(fe.StartGameManager());
    ASSERT_TRUE(fe.LoadMainMenu());
  }
  void TearDown() override { platform::ShutdownWindowSystem(); }
  FrontEndRig fe;
};

TEST_F(ScriptedSession, FrontEndTourHitsEveryWidgetAndExitsWithZero) {
  auto* credits = ActionCreditsMenu::GetInstance();
  ASSERT_NE(credits, nullptr);
  const Played played = Play(fe, DataDir() + "front-end-tour.input");
  EXPECT_TRUE(played.missed.empty()) << ::testing::PrintToString(played.missed);
  EXPECT_EQ(played.clicked.back(), "btnMMButton3");
  // The credits turned a page before they were left.
  EXPECT_EQ(credits->page, 1);
  // The options were applied: snow off, and always-slow left unapplied by
  // the autopause page's CANCEL.
  std::string snow;
  ASSERT_TRUE(fe.config.GetString("App", "SnowAccumulation", snow));
  EXPECT_EQ(snow, "false");
  EXPECT_NE(fe.dir.Read("KV9.cfg").find("\"false\""), std::string::npos);
  std::string always;
  EXPECT_FALSE(fe.config.GetString("Autoslow", "AlwaysSlow", always));
  EXPECT_EQ(ActionMainMenu::GetInstance()->menuState, ActionMainMenu::kTopMenu);
  EXPECT_EQ(TakeQuitCode(), 0);
}

TEST_F(ScriptedSession, NewGameChoosesALocationAndStarts) {
  fe.scenario->campaignGame = 1;
  const Played played = Play(fe, DataDir() + "new-game.input");
  EXPECT_TRUE(played.missed.empty()) << ::testing::PrintToString(played.missed);
  // The first location of North America became current, the start checked
  // the choice (and used it up) and reached the scenario start.
  EXPECT_EQ(fe.scenario->GetContinent(), 0);
  EXPECT_FALSE(fe.scenario->GetLocationName().empty());
  EXPECT_EQ(ActionChooseLocationMenu::GetInstance()->locationName, "");
  EXPECT_EQ(fe.scenario->campaignGame, 0);
  EXPECT_EQ(played.lastLine.substr(played.lastLine.find(' ') + 1), "window close");
}

}  // namespace
}  // namespace frontend
