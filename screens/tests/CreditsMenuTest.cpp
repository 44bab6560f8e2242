// The credits screen through the real "main.gui": the page cycle, the team
// lines, the rare variants and the alternate-art page built once.
#include <gtest/gtest.h>

#include <string>

#include "gui/core/GUIStaticText.h"
#include "platform/Random.h"
#include "screens/ActionCreditsMenu.h"
#include "screens/CreditsTexts.h"
#include "screens/ScreenCommand.h"
#include "screens/tests/FrontEndRig.h"

namespace frontend {
namespace {

// A seed after which the generator's next number is `wanted`.
uint32_t SeedGiving(int wanted) {
  for (uint32_t seed = 1;; ++seed) {
    platform::SRand(seed);
    if (platform::Rand() == wanted) return seed;
  }
}

class Credits : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fe.LoadMainMenu());
    credits = ActionCreditsMenu::GetInstance();
    ASSERT_NE(credits, nullptr);
    platform::SRand(1);
  }
  void TearDown() override { platform::SRand(1); }
  std::string Pages() {
    std::string out;
    for (const char* page : {"scnQuillmoor", "scnOrbanet", "scnTessaline", "scnAltArt"})
      out += fe.Visible(page) ? '1' : '0';
    return out;
  }
  int AltArtPages() {
    GUIEntity* scene = fe.rig.gui.FindEntity("scnCredits");
    int n = 0;
    for (int32_t i = 0; scene && i < scene->GetChildCount(); ++i)
      n += scene->GetChild(i)->GetName() == "scnAltArt" ? 1 : 0;
    return n;
  }
  std::string Text(const char* name) { return fe.Text(name); }

  FrontEndRig fe;
  ActionCreditsMenu* credits = nullptr;
};

TEST_F(Credits, PagesTurnOnTheTimer) {
  EXPECT_EQ(fe.Run("CreditsMenu", "show"), 0);
  EXPECT_EQ(AltArtPages(), 1);
  struct Step {
    float seconds;
    int page;
    const char* pages;
  };
  const Step steps[] = {
      {5.9f, 0, "1000"},  // the file's own visibility until the first turn
      {0.2f, 1, "0100"},  {6.1f, 2, "0010"}, {9.9f, 2, "0010"},
      {0.2f, 0, "1000"},  {20.0f, 1, "0100"},  // a long frame turns one page only
  };
  for (const Step& s : steps) {
    credits->Update(s.seconds);
    EXPECT_EQ(credits->page, s.page) << s.seconds;
    EXPECT_EQ(Pages(), s.pages) << s.seconds;
  }
  EXPECT_EQ(Text("sttCQTeam1"), credits::kTeamLines[0]);
  EXPECT_EQ(Text("sttCQTeam6"), credits::kTeamLines[5]);
  // Hidden, the cycle stands still; shown again, it starts at page 0.
  EXPECT_EQ(fe.Run("CreditsMenu", "HIDE"), 0);
  credits->Update(30.0f);
  EXPECT_EQ(credits->page, 1);
  fe.Run("CreditsMenu", "show");
  EXPECT_EQ(credits->page, 0);
  EXPECT_FLOAT_EQ(credits->timer, 6.0f);
}

TEST_F(Credits, TheAlternateArtPageIsBuiltOncePerScene) {
  fe.Run("CreditsMenu", "show");
  fe.Run("CreditsMenu", "show");
  credits->Reset();  // a world clear
  credits->Reset();
  EXPECT_EQ(AltArtPages(), 1);
  EXPECT_EQ(Text("sttCAltHeader"), "Alternate Art:");
  EXPECT_EQ(Text("sttCAltTeam4"), credits::kAltArtLines[3]);
}

TEST_F(Credits, TheRareDraws) {
  fe.Run("CreditsMenu", "show");
  platform::SRand(SeedGiving(1));
  credits->Update(6.5f);
  EXPECT_EQ(Text("sttCQTeam3"), credits::kAlternativeLine);
  EXPECT_EQ(Pages(), "0100");
  platform::SRand(SeedGiving(0));
  credits->Update(6.5f);
  EXPECT_EQ(Pages(), "0001");
  platform::SRand(SeedGiving(2));
  credits->Update(10.5f);
  EXPECT_EQ(Pages(), "1000");
  EXPECT_EQ(Text("sttCQTeam3"), credits::kTeamLines[2]);
}

TEST_F(Credits, WordsAndResults) {
  EXPECT_EQ(fe.Run("CreditsMenu", ""), screens::kNotHandled);
  EXPECT_EQ(fe.Run("CreditsMenu", "dance"), screens::kNotHandled);
  EXPECT_TRUE(credits->IsActive());
  EXPECT_EQ(credits->GetName(), "creditsmenu");  // filed under its lower-cased name
}

}  // namespace
}  // namespace frontend
