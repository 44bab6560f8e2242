// The click check in the program itself: each scripted release of the left
// button must land on the widget its comment names; a planted wrong name
// stops the script, names its line and asks the program to quit.
#include <gtest/gtest.h>

#include <string>

#include "screens/tests/ProgramRig.h"

namespace frontend {
namespace {

// The pointer to a window pixel the way the committed scripts move it, then
// a click there aimed at `aim`.
std::string Click(int x, int y, const std::string& aim) {
  return "0 move -4000 -4000\n"
         "0 move " + std::to_string(x) + " " + std::to_string(y) + "\n"
         "# click " + aim + ": the aim\n"
         "20 button down 0\n"
         "60 button up 0\n";
}

TEST(ProgramClickCheck, ARightAimPlaysOnAndAWrongOneStopsTheRunNamingTheLine) {
  ProgramRig program;
  ASSERT_TRUE(program.StartAtMainMenu()) << program.Failure();

  // NEW GAME where new-game.input clicks it.
  ASSERT_TRUE(program.Play(Click(97, 264, "btnPMNew")));
  for (int i = 0; i < 20 && !program.Shown("scnChooseLocationMenu"); ++i) ASSERT_TRUE(program.Frame());
  EXPECT_TRUE(program.Shown("scnChooseLocationMenu"));
  EXPECT_EQ(program.ScriptFailure(), "");

  // NORTH AMERICA's button, named as another.
  ASSERT_TRUE(program.Play(Click(99, 111, "btnEurope")));
  bool quit = false;
  for (int i = 0; i < 20 && !quit; ++i) quit = !program.Frame();
  EXPECT_TRUE(quit) << "the program was not asked to quit";
  EXPECT_EQ(program.ScriptFailure(), "input script line 5: the click aimed at btnEurope lands on btnNAmerica");
}

}  // namespace
}  // namespace frontend
