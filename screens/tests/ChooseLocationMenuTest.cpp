// The location choice through the real "main.gui" and the data tree's
// locations: continents, locations, the figures shown, the hazard icons,
// the start button's check, and the turn toward a target angle.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/math/JVector.h"
#include "gui/core/GUIListBox.h"
#include "gui/core/GUIStaticText.h"
#include "screens/ActionChooseLocationMenu.h"
#include "screens/ScreenCommand.h"
#include "screens/tests/FrontEndRig.h"

namespace frontend {
namespace {

constexpr int32_t kNot = screens::kNotHandled;
const char* const kIcons[] = {"stBlizzardIcon", "stHeatwaveIcon", "stRainIcon",      "stSnowIcon",
                              "stSunIcon",      "stThunderstormIcon", "stTropStormIcon", "stEarthquakeIcon"};

class ChooseLocation : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fe.LoadMainMenu());
    screen = ActionChooseLocationMenu::GetInstance();
    ASSERT_NE(screen, nullptr);
  }
  std::string Text(const char* name) { return fe.Text(name); }
  std::vector<std::string> Lines() { return fe.Lines("lbCLMLocations"); }
  std::string Icons() {
    std::string out;
    for (const char* icon : kIcons) out += fe.Visible(icon) ? '1' : '0';
    return out;
  }
  std::string DisabledContinents() {
    std::string out;
    for (const char* b : {"btnAfrica", "btnNAmerica", "btnSAmerica", "btnAustralia", "btnAsia", "btnEurope"}) {
      if (!fe.Find<GUIEntity>(b)->IsEnabled()) out += b;
    }
    return out;
  }

  FrontEndRig fe;
  ActionChooseLocationMenu* screen = nullptr;
};

TEST_F(ChooseLocation, ContinentsAndLocations) {
  EXPECT_EQ(fe.Run("ChooseLocationMenu", "SetContinent Europe"), 0);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"Castellara\nRepublic of Tirreno", "Lindholm\nKingdom of Vester"}));
  EXPECT_EQ(Text("tbCLMContinentName"), "Europe");
  EXPECT_EQ(DisabledContinents(), "btnEurope");
  // The same continent again changes nothing.
  EXPECT_EQ(fe.Run("ChooseLocationMenu", "SetContinent europe"), kNot);

  struct Case {
    const char* name;
    const char* command;
    int32_t result;
    const char* population;
    const char* domestic;
    const char* international;
    bool ratingsShown;
    const char* icons;  // the eight icons in table order
  };
  const Case cases[] = {
      {"Lindholm", "SetLocation Lindholm", 0, "980000", "0000000", "0000", true, "10110000"},
      {"Castellara", "SetLocation Castellara\nRepublic of Tirreno", 0, "1700000", "00000000", "00000", true,
       "01101101"},
      // A continent change leaves the earthquake icon as it was.
      {"another continent", "SetContinent South America", 0, "", "00000000", "00000", false, "00000001"},
      {"Puerto Ceniza", "SetLocation Puerto Ceniza", 0, "2300000", "0000000", "0000", true, "00100101"},
      {"a location of another continent", "SetLocation Castellara", kNot, "2300000", "0000000", "0000", true,
       "00100101"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(fe.Run("ChooseLocationMenu", c.command), c.result);
    EXPECT_EQ(Text("sttCLMPopulation"), c.population);
    EXPECT_EQ(Text("sttCLMDomestic"), c.domestic);
    EXPECT_EQ(Text("sttCLMInternational"), c.international);
    EXPECT_EQ(fe.Visible("sttCLMDomestic"), c.ratingsShown);
    EXPECT_EQ(fe.Visible("sttCLMInternational"), c.ratingsShown);
    EXPECT_EQ(Icons(), c.icons);
  }
  // The refused location is no choice: START is refused until one is made.
  EXPECT_EQ(screen->locationName, "");
  EXPECT_EQ(fe.Run("ChooseLocationMenu", "ValidateLocation"), kNot);
  EXPECT_EQ(screen->continentName, "South America");
}

TEST_F(ChooseLocation, WithoutAContinentNoLocationBecomesCurrent) {
  ASSERT_TRUE(fe.scenario->SelectLocation("Lindholm", "Europe"));
  EXPECT_EQ(fe.Run("ChooseLocationMenu", "SetLocation Castellara"), kNot);
  EXPECT_EQ(screen->locationName, "");
  EXPECT_EQ(fe.Run("ChooseLocationMenu", "SetContinent Asia"), 0);
  EXPECT_EQ(fe.Run("ChooseLocationMenu", "SetLocation Nowhere"), kNot);
  EXPECT_EQ(fe.Run("ChooseLocationMenu", "ValidateLocation"), kNot);
}

TEST_F(ChooseLocation, CommandWordsAndResults) {
  struct Case {
    const char* command;
    int32_t result;
  };
  const Case cases[] = {
      {"", kNot},
      {"Dance", kNot},
      {"LoadContinents", 0},
      {"ValidateLocation", kNot},
      {"SetContinent", 0},
      {"SetLocation", 0},
      {"setcontinent Africa", 0},
      {"ValidateLocation", kNot},
      {"SetLocation Kasumbe", 0},
      {"VALIDATELOCATION", 0},
      {"ValidateLocation", kNot},
  };
  for (const Case& c : cases) EXPECT_EQ(fe.Run("ChooseLocationMenu", c.command), c.result) << c.command;
  EXPECT_EQ(fe.scenario->GetLocationName(), "Kasumbe");
  screen->continentName = "Asia";
  screen->Reset();
  EXPECT_EQ(screen->continentName, "");
}

TEST_F(ChooseLocation, StartIsRefusedUntilALocationIsChosen) {
  // The start button runs the check first; a refused check stops before the
  // scenario start (which clears the campaign flag as its first step).
  GUIEntity* start = fe.Find<GUIEntity>("btnCLMStart");
  ASSERT_NE(start, nullptr);
  fe.scenario->campaignGame = 1;
  std::string click = "mouse0_click";
  start->SendMessage(0, click, "");
  EXPECT_EQ(fe.scenario->campaignGame, 1);
  fe.Run("ChooseLocationMenu", "SetContinent Africa");
  fe.Run("ChooseLocationMenu", "SetLocation Dunefield");
  click = "mouse0_click";
  start->SendMessage(0, click, "");
  EXPECT_EQ(fe.scenario->campaignGame, 0);
  EXPECT_EQ(screen->locationName, "");
}

TEST(ChooseLocationTurn, ShortestTurnPerAxis) {
  struct Case {
    float target;
    float magnitude;
    float sign;
  };
  const Case cases[] = {
      {3.5f, 2.7831855f, -1.0f}, {-3.5f, 2.7831855f, 1.0f}, {1.0f, 1.0f, 1.0f},
      {-1.0f, 1.0f, -1.0f},      {0.0f, 0.0f, 0.0f},
  };
  FrontEndRig fe;
  auto* screen = ActionChooseLocationMenu::GetInstance();
  ASSERT_NE(screen, nullptr);
  for (const Case& c : cases) {
    JVector amount;
    JVector sign;
    screen->GetTurnToward(&amount, &sign, c.target, -c.target);
    EXPECT_NEAR(amount.x, c.magnitude, 1e-5f) << c.target;
    EXPECT_EQ(sign.x, c.sign) << c.target;
    EXPECT_NEAR(amount.y, c.magnitude, 1e-5f) << c.target;
    EXPECT_EQ(sign.y, c.sign == 0.0f ? 0.0f : -c.sign) << c.target;
    EXPECT_EQ(amount.z, 0.0f);
    EXPECT_EQ(sign.z, 0.0f);
  }
}

}  // namespace
}  // namespace frontend
