// "main.gui" and "ingame.gui" as the screens need them: every widget the
// screens look up exists with the kind they expect, every statement is
// taken (bound actions are registered, statements ended), and loading
// leaves the keyword languages as it found them.
#include <gtest/gtest.h>

#include <string>

#include "engine/config/LanguageManager.h"
#include "platform/DebugOutput.h"
#include "screens/tests/FrontEndRig.h"

namespace frontend {
namespace {

struct Widget {
  const char* name;
  int32_t kind;
  const char* parent;  // null: any
};

void CheckWidgets(FrontEndRig& fe, const Widget* widgets, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const Widget& w = widgets[i];
    SCOPED_TRACE(w.name);
    GUIEntity* e = fe.rig.gui.FindEntity(w.name);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(static_cast<int32_t>(e->GetKind()), w.kind);
    if (w.parent) {
      ASSERT_NE(e->GetParent(), nullptr);
      EXPECT_EQ(e->GetParent()->GetName(), w.parent);
    }
  }
}

TEST(MainGuiContract, EveryNamedWidgetWithItsKindAndNoStatementRefused) {
  FrontEndRig fe;
  LanguageManager& languages = fe.rig.languages;
  CoreLanguage* languageBefore = languages.GetCurrentLanguage();
  const size_t depthBefore = languages.GetStackDepth();
  platform::ScopedDebugCapture capture;
  ASSERT_TRUE(fe.LoadMainMenu());
  EXPECT_FALSE(capture.Contains("refused")) << capture.Text();
  EXPECT_FALSE(capture.Contains("[GUI::LoadGUIFile]")) << capture.Text();
  EXPECT_EQ(languages.GetCurrentLanguage(), languageBefore);
  EXPECT_EQ(languages.GetStackDepth(), depthBefore);

  constexpr int32_t S = GUIKIND_SCENE, G = GUIKIND_GROUP, B = GUIKIND_BUTTON, C = GUIKIND_CHECKBOX,
                    ST = GUIKIND_STATIC, T = GUIKIND_STATICTEXT, L = GUIKIND_LISTBOX, SB = GUIKIND_SCROLLBAR,
                    ML = GUIKIND_MLTEXTBOX;
  const Widget widgets[] = {
      // Main menu.
      {"scnMainMenu", S, "TheWorld"}, {"stcMMBackgroundZ", ST, "scnMainMenu"},
      {"btnMMButton1", B, "scnMainMenu"}, {"btnMMButton2", B, "scnMainMenu"}, {"btnMMButton3", B, "scnMainMenu"},
      {"btnMMButton4", B, "scnMainMenu"}, {"btnPMNew", B, "scnMainMenu"}, {"btnPMLoad", B, "scnMainMenu"},
      {"btnPMCampaign", B, "scnMainMenu"}, {"scnOptionsMenu", S, "scnMainMenu"},
      {"scnAutopauseMenu", S, "scnMainMenu"}, {"scnLoadMenu", S, "scnMainMenu"}, {"scnCredits", S, "scnMainMenu"},
      {"scnCampaignMenu", S, "scnMainMenu"}, {"scnMMLoading", S, "TheWorld"}, {"sttMMLoadingButton", ST, nullptr},
      // Options.
      {"gOMResBoxes", G, nullptr}, {"chkOMHiRes", C, "gOMResBoxes"}, {"chkOMMedRes", C, "gOMResBoxes"},
      {"chkOMLoRes", C, "gOMResBoxes"}, {"grpOMTexture", G, nullptr}, {"chkOMHelper", C, nullptr},
      {"chkOMDayNight", C, nullptr}, {"chkOMParticles", C, nullptr}, {"chkOMSnow", C, nullptr},
      {"chkOMAutosave", C, nullptr}, {"grpOMSliders", G, nullptr}, {"sbOMMusicVolume", SB, "grpOMSliders"},
      {"sbOMSoundVolume", SB, "grpOMSliders"},
      // Autopause.
      {"chkAPAlwaysSlow", C, "scnAutopauseMenu"}, {"chkAPNeverSlow", C, "scnAutopauseMenu"},
      {"chkAPPlaneLanding", C, nullptr}, {"chkAPPlaneTakeoff", C, nullptr}, {"chkAPVehicleArrive", C, nullptr},
      {"chkAPVehicleLeave", C, nullptr}, {"chkAPEmergency", C, nullptr}, {"chkAPSecurity", C, nullptr},
      {"chkAPSafety", C, nullptr}, {"chkAPFlightDelay", C, nullptr}, {"chkAPFlightCancel", C, nullptr},
      {"chkAPContractOffer", C, nullptr}, {"chkAPContractRenew", C, nullptr},
      // Load menu.
      {"lbLMSaveGames", L, "scnLoadMenu"}, {"sbLMSaveScrollbar", SB, "scnLoadMenu"},
      {"btnLMDelete", B, "scnLoadMenu"}, {"stcLMScreenshot", ST, "scnLoadMenu"},
      // Credits.
      {"scnQuillmoor", S, "scnCredits"}, {"scnOrbanet", S, "scnCredits"}, {"scnTessaline", S, "scnCredits"},
      {"sttCQTeam1", T, "scnQuillmoor"}, {"sttCQTeam6", T, "scnQuillmoor"},
      // Campaign, both paths.
      {"lbCMList", L, "scnCampaignMenu"}, {"sbCMListScrollbar", SB, "scnCampaignMenu"},
      {"mlCMDescription", ML, "scnCampaignMenu"}, {"stcCMScreenshot", ST, "scnCampaignMenu"},
      {"lbCMCampaigns", L, "scnCampaignMenu"}, {"lbCMScenarios", L, "scnCampaignMenu"},
      {"mltbCMScenarioDescription", ML, "scnCampaignMenu"}, {"btnCMPlay", B, "scnCampaignMenu"},
      // Location choice.
      {"scnChooseLocationMenu", S, "TheWorld"}, {"lbCLMLocations", L, "scnChooseLocationMenu"},
      {"tbCLMContinentName", T, nullptr}, {"sttCLMPopulation", T, "scnChooseLocationMenu"},
      {"sttCLMDomestic", T, "scnChooseLocationMenu"}, {"sttCLMInternational", T, "scnChooseLocationMenu"},
      {"grpCLMHazards", G, "scnChooseLocationMenu"}, {"btnAfrica", B, "scnChooseLocationMenu"},
      {"btnNAmerica", B, "scnChooseLocationMenu"}, {"btnSAmerica", B, "scnChooseLocationMenu"},
      {"btnAustralia", B, "scnChooseLocationMenu"}, {"btnAsia", B, "scnChooseLocationMenu"},
      {"btnEurope", B, "scnChooseLocationMenu"}, {"stBlizzardIcon", ST, "grpCLMHazards"},
      {"stHeatwaveIcon", ST, "grpCLMHazards"}, {"stRainIcon", ST, "grpCLMHazards"},
      {"stSnowIcon", ST, "grpCLMHazards"}, {"stSunIcon", ST, "grpCLMHazards"},
      {"stThunderstormIcon", ST, "grpCLMHazards"}, {"stTropStormIcon", ST, "grpCLMHazards"},
      {"stEarthquakeIcon", ST, "grpCLMHazards"},
  };
  CheckWidgets(fe, widgets, sizeof(widgets) / sizeof(widgets[0]));

  // The file lays out the top menu; the game's first entry only shows it.
  EXPECT_EQ(fe.Caption("btnMMButton1"), "OPTIONS");
  EXPECT_EQ(fe.Caption("btnMMButton3"), "EXIT");
  EXPECT_FALSE(fe.Visible("btnMMButton4"));
  for (const char* hidden : {"scnOptionsMenu", "scnAutopauseMenu", "scnLoadMenu", "scnCredits", "scnCampaignMenu",
                             "scnMMLoading", "scnChooseLocationMenu"})
    EXPECT_FALSE(fe.Visible(hidden)) << hidden;
}

// "ingame.gui" loaded after "main.gui", as a game's start loads it: every
// row's widget with its kind and parent, every binding taken (an action
// that is not registered is refused), and the keyword languages left as
// they were. Each in-game screen adds its rows here.
TEST(MainGuiContract, InGameFileHasEveryScreensWidgetsWithTheirKinds) {
  FrontEndRig fe;
  LanguageManager& languages = fe.rig.languages;
  CoreLanguage* languageBefore = languages.GetCurrentLanguage();
  const size_t depthBefore = languages.GetStackDepth();
  platform::ScopedDebugCapture capture;
  ASSERT_TRUE(fe.LoadMainMenu());
  ASSERT_TRUE(fe.rig.gui.LoadGUIFile(DataDir() + "ingame.gui"));
  EXPECT_FALSE(capture.Contains("refused")) << capture.Text();
  EXPECT_FALSE(capture.Contains("[GUI::LoadGUIFile]")) << capture.Text();
  EXPECT_EQ(languages.GetCurrentLanguage(), languageBefore);
  EXPECT_EQ(languages.GetStackDepth(), depthBefore);

  constexpr int32_t S = GUIKIND_SCENE, B = GUIKIND_BUTTON, ST = GUIKIND_STATIC, T = GUIKIND_STATICTEXT,
                    SB = GUIKIND_SCROLLBAR;
  const Widget widgets[] = {
      // Loading, the in-game bar's scene and the land purchase's.
      {"scnLoading", S, "TheWorld"}, {"sttLoadingButton", ST, "scnLoading"}, {"scnInGame", S, "TheWorld"},
      {"scnPurchaseLand", S, "TheWorld"},
      // Build menu.
      {"scnBuildMenu", S, "TheWorld"}, {"btnBMCScenery", B, "scnBuildMenu"},
      {"btnBMCPublicServices", B, "scnBuildMenu"}, {"btnBMCAirportSupport", B, "scnBuildMenu"},
      {"btnBMCStorageFacilities", B, "scnBuildMenu"}, {"btnBMCAirsideNavigation", B, "scnBuildMenu"},
      {"btnBMCTransportation", B, "scnBuildMenu"}, {"btnBMCEmergencyServices", B, "scnBuildMenu"},
      {"sttBMCategory", T, "scnBuildMenu"}, {"scnBMCategories", S, "scnBuildMenu"},
      {"btnBMObject0", B, "scnBuildMenu"}, {"btnBMObject1", B, "scnBuildMenu"}, {"btnBMObject2", B, "scnBuildMenu"},
      {"btnBMObject3", B, "scnBuildMenu"}, {"stcBMHighlight", ST, "scnBuildMenu"},
      {"sbBMBuildings", SB, "scnBuildMenu"}, {"sttBMName", T, "scnBuildMenu"},
      {"sttBMDimensions", T, "scnBuildMenu"}, {"sttBMBuildCost", T, "scnBuildMenu"},
      // Demolish dialog.
      {"scnDemolishDlg", S, "TheWorld"}, {"btnDDAccept", B, "scnDemolishDlg"},
      {"btnDDCancel", B, "scnDemolishDlg"},
  };
  CheckWidgets(fe, widgets, sizeof(widgets) / sizeof(widgets[0]));
  for (const char* hidden : {"scnLoading", "scnPurchaseLand", "scnDemolishDlg", "stcBMHighlight"})
    EXPECT_FALSE(fe.Visible(hidden)) << hidden;
  // The panel starts outside the screen, at the right edge.
  EXPECT_FLOAT_EQ(fe.rig.gui.FindEntity("scnBuildMenu")->GetPositionX(), 20.0f);
}

}  // namespace
}  // namespace frontend
