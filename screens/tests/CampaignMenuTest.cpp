// The campaign screen through the real "main.gui" and the data tree's
// scenario folder: the scenario list, its details and scroll bar, the
// campaign folders of the older path, and the names that may not reach a
// path.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/core/GUIListBox.h"
#include "gui/core/GUIMLTextBox.h"
#include "gui/core/GUIScrollBar.h"
#include "gui/core/GUIStatic.h"
#include "platform/DebugOutput.h"
#include "screens/ActionCampaignMenu.h"
#include "screens/ScreenCommand.h"
#include "screens/tests/FrontEndRig.h"

namespace frontend {
namespace {

constexpr int32_t kNot = screens::kNotHandled;

class Campaign : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fe.StartGameManager());
    ASSERT_TRUE(fe.LoadMainMenu());
    campaign = ActionCampaignMenu::GetInstance();
    ASSERT_NE(campaign, nullptr);
  }
  std::vector<std::string> Lines(const char* list) { return fe.Lines(list); }
  std::string Description(const char* box) { return fe.Text(box); }

  FrontEndRig fe;
  ActionCampaignMenu* campaign = nullptr;
};

TEST_F(Campaign, TheScenarioListAndItsDetails) {
  // The campaign button shows the scene, whose "show" fills the list.
  GUIEntity* button = fe.Find<GUIEntity>("btnPMCampaign");
  std::string click = "mouse0_click";
  button->SendMessage(0, click, "");
  EXPECT_TRUE(fe.Visible("scnCampaignMenu"));
  EXPECT_EQ(Lines("lbCMList"), (std::vector<std::string>{"First Runway", "Weathering the Storm", "Regional Hub"}));
  EXPECT_EQ(fe.Find<GUIListBox>("lbCMList")->GetSelection(), 0);
  EXPECT_EQ(Description("mlCMDescription").substr(0, 26), "A quiet coastal town wants");
  // No picture could be made (the recording renderer makes none): the
  // screenshot shows no shader rather than the last one.
  EXPECT_EQ(fe.Find<GUIStatic>("stcCMScreenshot")->GetShader(), nullptr);
  // Ten lines fit the list (5 high, lines 0.5 apart): nothing to scroll.
  auto* bar = fe.Find<GUIScrollBar>("sbCMListScrollbar");
  EXPECT_EQ(bar->GetMax(), 0);
  EXPECT_EQ(bar->GetDisplayWidget(), fe.Find<GUIListBox>("lbCMList"));

  fe.Find<GUIListBox>("lbCMList")->SetSelection(2);
  EXPECT_EQ(fe.Run("CampaignMenu", "ListClicked"), kNot);
  EXPECT_EQ(Description("mlCMDescription").substr(0, 20), "Turn a busy field in");
  // A second "Show" rebuilds the list from the table read the first time.
  EXPECT_EQ(fe.Run("CampaignMenu", "Show"), kNot);
  EXPECT_EQ(fe.Find<GUIListBox>("lbCMList")->GetSelection(), 0);
  EXPECT_EQ(Lines("lbCMList").size(), 3u);
}

TEST_F(Campaign, TheOlderPathThroughCampaignFolders) {
  struct Case {
    const char* command;
    int32_t result;
  };
  const Case cases[] = {
      {"LoadCampaigns", 0},
      {"SetCampaign CoastalRoutes", 0},
      {"SetScenario StormSeason", 0},
      {"SetScenario Nowhere", kNot},
      {"SetCampaign ..", kNot},
      {"SetCampaign a/b", kNot},
      {"SetCampaign c:\\x", kNot},
      {"SetScenario ..\\..\\etc", kNot},
      {"SetScenarioFile x|y", 0},
      {"SetScenarioFile", kNot},
      {"LoadScenarios lbCMCampaigns", 0},
      {"LoadScenarios lbNothing", kNot},
      {"LoadScenario", kNot},
      {"", kNot},
      {"Hop", kNot},
  };
  for (const Case& c : cases) {
    platform::ScopedDebugCapture quiet;
    EXPECT_EQ(fe.Run("CampaignMenu", c.command), c.result) << c.command;
    if (std::string(c.command) == "LoadCampaigns") {
      EXPECT_EQ(Lines("lbCMCampaigns"), std::vector<std::string>{"CoastalRoutes"});
    }
    if (std::string(c.command) == "SetCampaign CoastalRoutes") {
      EXPECT_EQ(Lines("lbCMScenarios"), (std::vector<std::string>{"HarbourStart", "StormSeason"}));
      EXPECT_EQ(Description("mltbCMScenarioDescription"),
                "Two scenarios along a stormy coast: open a small harbour airport, then keep it flying through the "
                "storm season.");
      EXPECT_FALSE(fe.Find<GUIEntity>("btnCMPlay")->IsEnabled());
    }
    if (std::string(c.command) == "SetScenario StormSeason") {
      EXPECT_EQ(Description("mltbCMScenarioDescription"),
                "The storm season is coming. Keep the runways open and the passengers safe.");
      EXPECT_TRUE(fe.Find<GUIEntity>("btnCMPlay")->IsEnabled());
    }
  }
  campaign->Reset();
  EXPECT_EQ(campaign->campaignName, "");
  EXPECT_EQ(campaign->scenarioName, "");
}

TEST_F(Campaign, AcceptStartsNothingWithoutAGoodSave) {
  fe.Run("CampaignMenu", "Show");
  // The prepared save is not in the source tree's folder: the header check
  // fails and the menu stays as it was.
  EXPECT_EQ(fe.Run("CampaignMenu", "Accept"), kNot);
  EXPECT_FALSE(fe.scenario->isScenarioFile);
  EXPECT_EQ(fe.scenario->campaignGame, 0);
  // A save name that would leave the folder is refused before any open.
  fe.Find<GUIListBox>("lbCMList")->SetSelection(-1);
  EXPECT_EQ(fe.Run("CampaignMenu", "Accept"), kNot);
  // The changed table would be written back when it goes: to a scratch
  // file, never the data tree's list.
  campaign->scenarioList.SetFileName(fe.dir.File("scenarios.dat"));
  campaign->scenarioList.SetValue("savegame", "../../Save/Normal/x.kv9", "", "scenario0");
  fe.Find<GUIListBox>("lbCMList")->SetSelection(0);
  platform::ScopedDebugCapture capture;
  EXPECT_EQ(fe.Run("CampaignMenu", "Accept"), kNot);
  EXPECT_TRUE(capture.Contains("refused")) << capture.Text();
  EXPECT_FALSE(fe.scenario->isScenarioFile);
}

}  // namespace
}  // namespace frontend
