// The main menu through the real "main.gui": every command from each menu
// state against the captions, which buttons and sub-scenes are shown, and
// the state the menu ends in.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/Skyvane.h"
#include "platform/window/Window.h"
#include "screens/ActionCreditsMenu.h"
#include "screens/ActionMainMenu.h"
#include "screens/ActionOptionsMenu.h"
#include "screens/ScreenCommand.h"
#include "screens/tests/FrontEndRig.h"

namespace frontend {
namespace {

constexpr int32_t kNot = screens::kNotHandled;

class MainMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(platform::InitWindowSystem(platform::WindowBackend::Headless), status::Ok);
    ASSERT_TRUE(fe.LoadMainMenu());
    fe.config.SetValue("Graphics", "Resolution", "800 600");
    menu = ActionMainMenu::GetInstance();
    ASSERT_NE(menu, nullptr);
  }
  void TearDown() override {
    TakeQuitCode();
    platform::ShutdownWindowSystem();
  }
  std::string Captions() {
    std::string out;
    for (int i = 1; i <= 4; ++i) out += (i > 1 ? "," : "") + fe.Caption("btnMMButton" + std::to_string(i));
    return out;
  }
  std::string ShownButtons() {
    std::string out;
    for (int i = 1; i <= 4; ++i) out += fe.Visible("btnMMButton" + std::to_string(i)) ? '1' : '0';
    return out;
  }
  std::string ShownScenes() {
    std::string out;
    for (const char* scene : {"scnOptionsMenu", "scnAutopauseMenu", "scnLoadMenu", "scnCredits", "scnCampaignMenu"})
      if (fe.Visible(scene)) out += std::string(out.empty() ? "" : ",") + scene;
    return out;
  }

  FrontEndRig fe;
  ActionMainMenu* menu = nullptr;
};

TEST_F(MainMenu, EveryCommandFromEveryState) {
  struct Case {
    const char* name;
    std::vector<const char*> commands;
    int32_t lastResult;
    uint16_t state;
    const char* captions;
    const char* shownButtons;  // buttons 1-4
    bool fixedButtons;         // new, load, campaign
    bool background;
    const char* scenes;        // the sub-scenes shown
  };
  const Case cases[] = {
      {"top menu", {"Show"}, 0, 0, "OPTIONS,CREDITS,EXIT,CANCEL", "1110", true, true, ""},
      {"options", {"Show", "ClickButton1"}, 0, 1, "ACCEPT,DEFAULT,EVENTS,CANCEL", "1111", false, false,
       "scnOptionsMenu"},
      {"options accepted", {"Show", "ClickButton1", "ClickButton1"}, 0, 0, "OPTIONS,CREDITS,EXIT,CANCEL", "1110", true,
       true, ""},
      {"options defaults", {"Show", "ClickButton1", "ClickButton2"}, 0, 1, "ACCEPT,DEFAULT,EVENTS,CANCEL", "1111",
       false, false, "scnOptionsMenu"},
      {"options cancelled", {"Show", "ClickButton1", "ClickButton4"}, kNot, 0, "OPTIONS,CREDITS,EXIT,CANCEL", "1110",
       true, true, ""},
      {"events", {"Show", "ClickButton1", "ClickButton3"}, 0, 6, "ACCEPT,DEFAULT,CANCEL,CANCEL", "1110", false, false,
       "scnAutopauseMenu"},
      {"events accepted", {"Show", "ClickButton1", "ClickButton3", "ClickButton1"}, 0, 1,
       "ACCEPT,DEFAULT,EVENTS,CANCEL", "1111", false, false, "scnOptionsMenu"},
      {"events defaults", {"Show", "ClickButton1", "ClickButton3", "ClickButton2"}, 0, 6,
       "ACCEPT,DEFAULT,CANCEL,CANCEL", "1110", false, false, "scnAutopauseMenu"},
      {"events cancelled", {"Show", "ClickButton1", "ClickButton3", "ClickButton3"}, 0, 1,
       "ACCEPT,DEFAULT,EVENTS,CANCEL", "1111", false, false, "scnOptionsMenu"},
      {"credits", {"Show", "ClickButton2"}, 0, 2, "CANCEL,DEFAULT,CANCEL,CANCEL", "1000", false, false, "scnCredits"},
      {"credits third button does nothing", {"Show", "ClickButton2", "ClickButton3"}, 0, 2,
       "CANCEL,DEFAULT,CANCEL,CANCEL", "1000", false, false, "scnCredits"},
      {"credits cancelled", {"Show", "ClickButton2", "ClickButton1"}, 0, 0, "OPTIONS,CREDITS,EXIT,CANCEL", "1110", true,
       true, ""},
      {"load", {"Show", "ClickButtonLoad"}, kNot, 3, "ACCEPT,DELETE,CANCEL,CANCEL", "1110", false, false,
       "scnLoadMenu"},
      {"load from options keeps the options scene", {"Show", "ClickButton1", "ClickButtonLoad"}, kNot, 3,
       "ACCEPT,DELETE,CANCEL,CANCEL", "1110", false, false, "scnOptionsMenu,scnLoadMenu"},
      {"load cancelled", {"Show", "ClickButtonLoad", "ClickButton3"}, 0, 0, "OPTIONS,CREDITS,EXIT,CANCEL", "1110",
       true, true, ""},
      {"load accept without a load menu", {"Show", "ClickButtonLoad", "ClickButton1"}, 0, 3,
       "ACCEPT,DELETE,CANCEL,CANCEL", "1110", false, false, "scnLoadMenu"},
      {"fourth button in the top menu", {"Show", "ClickButton4"}, kNot, 0, "OPTIONS,CREDITS,EXIT,CANCEL", "1110", true,
       true, ""},
      {"words ignore case", {"Show", "clickbutton2"}, 0, 2, "CANCEL,DEFAULT,CANCEL,CANCEL", "1000", false, false,
       "scnCredits"},
      {"a bar ends the word", {"Show", "ClickButton1|extra"}, 0, 1, "ACCEPT,DEFAULT,EVENTS,CANCEL", "1111", false,
       false, "scnOptionsMenu"},
      {"scenario button", {"Show", "ClickButtonScenario"}, kNot, 0, "OPTIONS,CREDITS,EXIT,CANCEL", "1110", true, true,
       ""},
      {"unknown word", {"Show", "Dance"}, kNot, 0, "OPTIONS,CREDITS,EXIT,CANCEL", "1110", true, true, ""},
      {"empty text", {"Show", ""}, kNot, 0, "OPTIONS,CREDITS,EXIT,CANCEL", "1110", true, true, ""},
      {"only delimiters", {"Show", " | "}, kNot, 0, "OPTIONS,CREDITS,EXIT,CANCEL", "1110", true, true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int32_t result = 0;
    for (const char* command : c.commands) result = fe.Run("MainMenu", command);
    EXPECT_EQ(result, c.lastResult);
    EXPECT_EQ(menu->menuState, c.state);
    EXPECT_EQ(Captions(), c.captions);
    EXPECT_EQ(ShownButtons(), c.shownButtons);
    for (const char* fixed : {"btnPMNew", "btnPMLoad", "btnPMCampaign"}) EXPECT_EQ(fe.Visible(fixed), c.fixedButtons);
    EXPECT_EQ(fe.Visible("stcMMBackgroundZ"), c.background);
    EXPECT_EQ(ShownScenes(), c.scenes);
    fe.Run("MainMenu", "Show");
    EXPECT_EQ(TakeQuitCode(), -1000) << "no quit message";
  }
}

TEST_F(MainMenu, ExitPostsQuitWithZeroAndResetReturnsToTheTop) {
  EXPECT_EQ(fe.Run("MainMenu", "ClickButton2"), 0);
  EXPECT_EQ(menu->menuState, ActionMainMenu::kCredits);
  menu->Reset();
  EXPECT_EQ(menu->menuState, ActionMainMenu::kTopMenu);
  EXPECT_EQ(fe.Run("MainMenu", "ClickButton3"), 0);
  EXPECT_EQ(TakeQuitCode(), 0);
}

TEST_F(MainMenu, OptionsAcceptWritesTheConfigurationAndTheCreditsSceneHearsShowAndHide) {
  auto* options = dynamic_cast<ActionOptionsMenu*>(fe.Action("OptionsMenu"));
  ASSERT_NE(options, nullptr);
  fe.Run("MainMenu", "ClickButton1");
  // "LoadSettings" reached the options screen before it was shown: the
  // resolution box of the stored 800 x 600 is checked.
  EXPECT_TRUE(fe.Checked("chkOMMedRes"));
  fe.Run("MainMenu", "ClickButton1");
  EXPECT_NE(fe.dir.Read("KV9.cfg").find("800 600"), std::string::npos);

  // The credits scene's own bindings start and stop its page cycle.
  auto* credits = dynamic_cast<ActionCreditsMenu*>(fe.Action("CreditsMenu"));
  ASSERT_NE(credits, nullptr);
  fe.Run("MainMenu", "ClickButton2");
  EXPECT_TRUE(credits->running);
  fe.Run("MainMenu", "ClickButton1");
  EXPECT_FALSE(credits->running);
}

TEST_F(MainMenu, TheRatingScreenEndsOnceHoweverManyReleasesArrive) {
  // One click reaches the rating picture as a release and as a click; only
  // the first may end the rating screen and start the loading, which here
  // fails at once (the application has no game manager set up) and says so
  // with a quit message.
  cSkyvane application(&fe.table);
  fe.table.application = &application;
  application.SetRating(true);
  EXPECT_EQ(fe.Run("MainMenu", "ClickThroughESRB"), 0);
  EXPECT_FALSE(application.IsRatingShowing());
  EXPECT_NE(fe.rig.gui.FindEntity("SplashGraphic"), nullptr);
  EXPECT_NE(TakeQuitCode(), -1000);
  EXPECT_EQ(fe.Run("MainMenu", "ClickThroughESRB"), 0);
  EXPECT_EQ(TakeQuitCode(), -1000) << "the loading ran a second time";
  fe.table.application = nullptr;
}

}  // namespace
}  // namespace frontend
