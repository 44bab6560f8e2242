// The main menu drawn by the real program on the gl renderer (SDL's
// offscreen driver): the rating screen clicked through, the loading run,
// frames saved as screenshots (kept beside the test's build for a look), and
// pixels read back where "main.gui" places the menu's first button.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/tests/ScreenshotBmp.h"
#include "engine/services/Core3D.h"
#include "engine/services/Panelis.h"
#include "gui/core/GUIEntity.h"
#include "gui/core/GUIListBox.h"
#include "gui/core/GUIMLTextBox.h"
#include "gui/core/GUIScrollBar.h"
#include "gui/core/GUIStatic.h"
#include "screens/ActionOptionsMenu.h"
#include "screens/tests/ProgramRig.h"

namespace frontend {
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The numbers after `keyword` in the first statement of that keyword inside
// the block that opens with `opening` in a description file.
std::vector<float> BlockNumbers(const std::string& text, const std::string& opening, const std::string& keyword) {
  const size_t block = text.find(opening);
  if (block == std::string::npos) return {};
  const size_t end = text.find('}', block);
  const size_t at = text.find(keyword + " ", block);
  if (at == std::string::npos || at > end) return {};
  std::istringstream in(text.substr(at + keyword.size(), text.find(';', at) - at - keyword.size()));
  std::vector<float> numbers;
  for (float value = 0; in >> value;) numbers.push_back(value);
  return numbers;
}

// The solid colour an image recipe fills its picture with ("fill AARRGGBB").
uint32_t RecipeFill(const std::string& recipe) {
  const std::string text = ReadText(recipe);
  const size_t at = text.find("fill ");
  return at == std::string::npos ? 0 : uint32_t(std::stoul(text.substr(at + 5, 8), nullptr, 16));
}

int ChannelDiff(uint32_t a, uint32_t b) {
  int worst = 0;
  for (int s = 0; s < 24; s += 8) worst = std::max(worst, std::abs(int((a >> s) & 255) - int((b >> s) & 255)));
  return worst;
}

struct Pixel {
  int x = 0;
  int y = 0;
};

// A saved 24-bit screenshot read back as A8R8G8B8 words, top row first.
class Shot {
 public:
  bool Load(const std::string& path) { return platform::testing::ReadScreenshotBmp(path, kWidth, kHeight, &pixels_); }
  // The most frequent colour of the 9 x 9 pixels around `p`: the caption's
  // glyph strokes over a button's middle do not decide it.
  uint32_t Around(Pixel p) const {
    std::map<uint32_t, int> seen;
    for (int y = p.y - 4; y <= p.y + 4; ++y)
      for (int x = p.x - 4; x <= p.x + 4; ++x) ++seen[pixels_[size_t(y) * kWidth + x]];
    return std::max_element(seen.begin(), seen.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
  }
  // The columns of the light caption pixels (every channel above 200: the
  // caption's glyphs, not a button or the background) between rows `top`
  // and `bottom`, searched from `from` to `to`.
  std::vector<int> LightColumns(int top, int bottom, int from, int to) const {
    std::vector<int> columns;
    for (int x = std::max(from, 0); x < std::min(to, kWidth); ++x) {
      for (int y = std::max(top, 0); y < std::min(bottom, kHeight); ++y) {
        const uint32_t p = pixels_[size_t(y) * kWidth + x];
        if (((p >> 16) & 255) > 200 && ((p >> 8) & 255) > 200 && (p & 255) > 200) {
          columns.push_back(x);
          break;
        }
      }
    }
    return columns;
  }
  // How many pixels within `radius` of `p` have the pointer's colour
  // `colour` (each channel within 24).
  int CountNear(Pixel p, int radius, uint32_t colour) const {
    int count = 0;
    for (int y = std::max(p.y - radius, 0); y < std::min(p.y + radius, kHeight); ++y)
      for (int x = std::max(p.x - radius, 0); x < std::min(p.x + radius, kWidth); ++x)
        if (ChannelDiff(pixels_[size_t(y) * kWidth + x], colour) <= 24) ++count;
    return count;
  }

 private:
  std::vector<uint32_t> pixels_;
};

// Where "main.gui" places a widget of the main menu's scene, in window
// pixels: its middle, the point left of it by its own width, and its edges.
struct Placed {
  Pixel centre;
  Pixel beside;
  int left = 0;
  int right = 0;
  int top = 0;
  int bottom = 0;
};

Placed PlacedBy(const std::string& kind, const std::string& name) {
  const std::string gui = ReadText(std::string(GAME_SOURCE_DIR) + "/data/main.gui");
  const std::vector<float> width = BlockNumbers(gui, "scene scnMainMenu {", "property width");
  const std::vector<float> height = BlockNumbers(gui, "scene scnMainMenu {", "property height");
  const std::vector<float> position = BlockNumbers(gui, kind + " " + name + " {", "position");
  const std::vector<float> scale = BlockNumbers(gui, kind + " " + name + " {", "scale");
  EXPECT_TRUE(width.size() == 1 && height.size() == 1 && position.size() >= 2 && scale.size() >= 2) << name;
  if (width.size() != 1 || height.size() != 1 || position.size() < 2 || scale.size() < 2) return {};
  const float perX = kWidth / width[0];
  const float perY = kHeight / height[0];
  const int y = int((-position[1] + scale[1] / 2) * perY);
  return {{int((position[0] + scale[0] / 2) * perX), y},
          {int((position[0] - scale[0] / 2) * perX), y},
          int(position[0] * perX),
          int((position[0] + scale[0]) * perX),
          int(-position[1] * perY),
          int((-position[1] + scale[1]) * perY)};
}

class MainMenuPixelProbe : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(SCREENSHOT_DIR);
    ASSERT_TRUE(program.StartAtMainMenu()) << program.Failure();
  }

  Shot Screenshot(const std::string& name) {
    const std::string path = std::string(SCREENSHOT_DIR) + "/" + name + ".bmp";
    EXPECT_TRUE(program.SaveScreenshot(path)) << path;
    Shot shot;
    EXPECT_TRUE(shot.Load(path)) << path;
    return shot;
  }

  // The pointer moved to a window pixel the way the input scripts move it.
  void PointAt(Pixel p) {
    ASSERT_TRUE(program.Play("0 move -4000 -4000\n0 move " + std::to_string(p.x) + " " + std::to_string(p.y) + "\n"));
    ASSERT_TRUE(program.RunFrames(3));
  }

  ProgramRig program;
};

TEST_F(MainMenuPixelProbe, FirstButtonShowsItsColourThenItsMouseOverColourOverTheBackground) {
  const Placed button = PlacedBy("button", "btnMMButton1");
  // Across the button's middle, below its caption: the button's own face.
  const Pixel centre = {button.centre.x, button.bottom - (button.bottom - button.top) / 6};
  // Left of the button by its own width: the menu's background.
  const Pixel beside = button.beside;

  const std::string recipes = std::string(GAME_SOURCE_DIR) + "/data/Interface/MainMenu/";
  const uint32_t normal = RecipeFill(recipes + "btn_default.dds.txt");
  const uint32_t over = RecipeFill(recipes + "btn_over.dds.txt");
  ASSERT_GT(ChannelDiff(normal, over), 24) << "the two states must be told apart";

  PointAt({4, 4});
  const Shot idle = Screenshot("main-menu");
  EXPECT_LE(ChannelDiff(idle.Around(centre), normal), 8) << std::hex << idle.Around(centre);
  EXPECT_GT(ChannelDiff(idle.Around(beside), normal), 24) << std::hex << idle.Around(beside);
  EXPECT_GT(ChannelDiff(idle.Around(beside), over), 24) << std::hex << idle.Around(beside);

  PointAt(centre);
  // The pointer's own pick (the view's mode decides which) finds the button.
  EXPECT_EQ(program.Gui()->GetHoverEntity(), program.Gui()->FindEntity("btnMMButton1"));
  const Shot hovered = Screenshot("main-menu-mouse-over");
  EXPECT_LE(ChannelDiff(hovered.Around(centre), over), 8) << std::hex << hovered.Around(centre);
  EXPECT_EQ(hovered.Around(beside), idle.Around(beside)) << "the background changed under the pointer";
}

// Each caption of the top menu is drawn inside its button, centred across
// it: searched a button width either side, no glyph lies outside.
TEST_F(MainMenuPixelProbe, CaptionsAreDrawnCentredInsideTheirButtons) {
  PointAt({4, 4});
  const Shot shot = Screenshot("main-menu-captions");
  for (const char* name : {"btnMMButton1", "btnMMButton2", "btnMMButton3", "btnPMNew", "btnPMLoad", "btnPMCampaign"}) {
    SCOPED_TRACE(name);
    const Placed button = PlacedBy("button", name);
    const int width = button.right - button.left;
    const std::vector<int> glyphs = shot.LightColumns(button.top, button.bottom, button.left - width, button.right + width);
    ASSERT_FALSE(glyphs.empty()) << "no caption drawn";
    EXPECT_GE(glyphs.front(), button.left);
    EXPECT_LT(glyphs.back(), button.right);
    EXPECT_NEAR((glyphs.front() + glyphs.back()) / 2, button.centre.x, width / 10);
  }
}

// The game's own pointer (the wedge in the cursors' skin colour) is drawn
// where the pointer is, and follows it.
TEST_F(MainMenuPixelProbe, TheWedgeFollowsThePointer) {
  const std::string skin = ReadText(std::string(GAME_SOURCE_DIR) + "/data/Interface/Cursors/cursor.tga.txt");
  const size_t at = skin.find("fill ");
  ASSERT_NE(at, std::string::npos);
  const uint32_t wedge = uint32_t(std::stoul(skin.substr(at + 5, 8), nullptr, 16));
  const Pixel first{160, 140};
  const Pixel second{620, 470};
  PointAt(first);
  const Shot a = Screenshot("pointer-first");
  PointAt(second);
  const Shot b = Screenshot("pointer-second");
  // Each shot shows the wedge at its own pointer and not at the other one.
  EXPECT_GE(a.CountNear(first, 40, wedge), b.CountNear(first, 40, wedge) + 20);
  EXPECT_GE(b.CountNear(second, 40, wedge), a.CountNear(second, 40, wedge) + 20);
}

// A widget's rectangle on screen, from its world matrix (the GUI world is
// 20 x 15 units about its middle, y upwards; a widget's place is its
// lower-left corner).
struct OnScreen {
  float left = 0, top = 0, right = 0, bottom = 0;
  Pixel At(float across, float down) const {
    return {int(left + (right - left) * across), int(top + (bottom - top) * down)};
  }
};
OnScreen PlaceOf(GUIEntity* widget) {
  JMatrix m;
  widget->GetWorldMatrix(&m);
  const float perUnit = kWidth / 20.0f;
  const float w = widget->GetWidth() * m.m[0][0], h = widget->GetHeight() * m.m[1][1];
  const float x = m.m[3][0] + 10.0f, y = 7.5f - m.m[3][1] - h;
  return {x * perUnit, y * perUnit, (x + w) * perUnit, (y + h) * perUnit};
}

// The volume sliders lie along their tracks and move when the track is
// pressed or the thumb dragged; ACCEPT stores where they were left.
TEST_F(MainMenuPixelProbe, VolumeSlidersMoveAndTheirValuesAreStored) {
  const Pixel options = PlacedBy("button", "btnMMButton1").centre;
  ASSERT_TRUE(program.Play("0 move -4000 -4000\n0 move " + std::to_string(options.x) + " " +
                           std::to_string(options.y) + "\n20 button down 0\n60 button up 0\n"));
  for (int i = 0; i < 400 && !program.Shown("scnOptionsMenu"); ++i) ASSERT_TRUE(program.RunFrames(1));
  ASSERT_TRUE(program.Shown("scnOptionsMenu"));
  auto* bar = dynamic_cast<GUIScrollBar*>(program.Gui()->FindEntity("sbOMMusicVolume"));
  ASSERT_NE(bar, nullptr);
  ASSERT_NE(bar->GetThumb(), nullptr);
  const OnScreen track = PlaceOf(bar);
  // The thumb sits on the track, not beside it.
  const OnScreen thumb = PlaceOf(bar->GetThumb());
  const float thumbMiddle = (thumb.top + thumb.bottom) / 2;
  EXPECT_GE(thumbMiddle, track.top);
  EXPECT_LE(thumbMiddle, track.bottom);
  EXPECT_GE(thumb.left, track.left - 1);
  EXPECT_LE(thumb.right, track.right + 1);

  // Held down near the track's right end: the value climbs towards it.
  const int before = bar->GetValue();
  const Pixel nearEnd = track.At(0.85f, 0.5f);
  ASSERT_TRUE(program.PlayToEnd("0 move -4000 -4000\n0 move " + std::to_string(nearEnd.x) + " " +
                                std::to_string(nearEnd.y) + "\n20 button down 0\n900 button up 0\n"));
  const int raised = bar->GetValue();
  EXPECT_GT(raised, before);

  // The thumb dragged to the track's left end: the value follows it down.
  const OnScreen moved = PlaceOf(bar->GetThumb());
  const Pixel grip = moved.At(0.5f, 0.5f);
  const Pixel start = track.At(0.0f, 0.5f);
  std::string drag = "0 move -4000 -4000\n0 move " + std::to_string(grip.x) + " " + std::to_string(grip.y) +
                     "\n20 button down 0\n";
  for (int step = 1; step <= 8; ++step)
    drag += std::to_string(20 + 40 * step) + " move " + std::to_string((start.x + 2 - grip.x) / 8) + " 0\n";
  drag += "400 button up 0\n";
  ASSERT_TRUE(program.PlayToEnd(drag));
  EXPECT_LT(bar->GetValue(), raised);
  const int left = bar->GetValue();

  // ACCEPT stores it (into a scratch file, not the run tree's).
  ActionOptionsMenu* menu = ActionOptionsMenu::GetInstance();
  ASSERT_NE(menu, nullptr);
  const std::string saved = std::string(SCREENSHOT_DIR) + "/sliders-KV9.cfg";
  std::filesystem::remove(saved);
  menu->configFile = saved;
  ASSERT_TRUE(program.Play("0 move -4000 -4000\n0 move " + std::to_string(options.x) + " " +
                           std::to_string(options.y) + "\n20 button down 0\n60 button up 0\n"));
  for (int i = 0; i < 400 && program.Shown("scnOptionsMenu"); ++i) ASSERT_TRUE(program.RunFrames(1));
  const std::string text = ReadText(saved);
  EXPECT_NE(text.find("\"" + std::to_string(left) + "\""), std::string::npos) << text;
  EXPECT_NE(text.find("musicvolume"), std::string::npos) << text;
}

// A click on a row of the campaign screen's scenario list selects it, also
// beside the row's text, and shows that scenario's description.
TEST_F(MainMenuPixelProbe, ClickingAScenarioRowSelectsIt) {
  const Pixel campaign = PlacedBy("button", "btnPMCampaign").centre;
  ASSERT_TRUE(program.PlayToEnd("0 move -4000 -4000\n0 move " + std::to_string(campaign.x) + " " +
                                std::to_string(campaign.y) + "\n20 button down 0\n60 button up 0\n"));
  for (int i = 0; i < 400 && !program.Shown("scnCampaignMenu"); ++i) ASSERT_TRUE(program.RunFrames(1));
  ASSERT_TRUE(program.Shown("scnCampaignMenu"));
  auto* list = dynamic_cast<GUIListBox*>(program.Gui()->FindEntity("lbCMList"));
  auto* text = dynamic_cast<GUIMLTextBox*>(program.Gui()->FindEntity("mlCMDescription"));
  ASSERT_NE(list, nullptr);
  ASSERT_NE(text, nullptr);
  ASSERT_GE(list->GetLineCount(), 3);
  EXPECT_EQ(list->GetSelection(), 0);
  const std::string first = text->GetText();
  const OnScreen box = PlaceOf(list);
  const float perUnit = kWidth / 20.0f;
  const float height = list->GetHeight() * list->ScaleY();
  struct Case {
    const char* name;
    float across;  // share of the box's width
    int row;
  } cases[] = {{"beside the second row's text", 0.8f, 1}, {"on the third row's text", 0.1f, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int y = int(box.top + (list->GetListBounds()[1] * height + (c.row + 0.5f) * list->GetLinePitch()) * perUnit);
    const int x = int(box.left + (box.right - box.left) * c.across);
    ASSERT_TRUE(program.PlayToEnd("0 move -4000 -4000\n0 move " + std::to_string(x) + " " + std::to_string(y) +
                                  "\n20 button down 0\n60 button up 0\n"));
    EXPECT_EQ(list->GetSelection(), c.row);
    EXPECT_NE(text->GetText(), first);
  }
}

TEST_F(MainMenuPixelProbe, OptionsReplaceTheTopMenuOnScreen) {
  EXPECT_TRUE(program.Shown("btnPMNew"));
  const Shot before = Screenshot("main-menu-before-options");
  // The click the front-end tour makes on OPTIONS.
  const Pixel options = PlacedBy("button", "btnMMButton1").centre;
  ASSERT_TRUE(program.Play("0 move -4000 -4000\n0 move " + std::to_string(options.x) + " " +
                           std::to_string(options.y) + "\n20 button down 0\n60 button up 0\n"));
  for (int i = 0; i < 400 && program.Shown("btnPMNew"); ++i) ASSERT_TRUE(program.RunFrames(1));
  EXPECT_FALSE(program.Shown("btnPMNew"));
  EXPECT_TRUE(program.Shown("scnOptionsMenu"));
  const Shot after = Screenshot("options-page");

  // Where the new-game button was drawn, the options page is now.
  GUIEntity* newGame = program.Gui()->FindEntity("btnPMNew");
  ASSERT_NE(newGame, nullptr);
  const Pixel newGameAt = PlacedBy("button", "btnPMNew").centre;
  EXPECT_GT(ChannelDiff(before.Around(newGameAt), after.Around(newGameAt)), 8)
      << std::hex << before.Around(newGameAt) << " " << after.Around(newGameAt);
  EXPECT_FALSE(newGame->IsVisible());
}

}  // namespace
}  // namespace frontend
