// Every text of the front end laid out by the real program (gl renderer,
// the run tree's fonts): measured with its own font and placed by its text
// matrix, each text stays on the screen, inside its scene, inside the button
// it captions, and clear of every other text and button shown with it. The
// screens are visited as a player opens them; a screenshot of each is kept.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "engine/services/Core3D.h"
#include "engine/services/Panelis.h"
#include "gui/core/GUIButton.h"
#include "gui/core/GUIScene.h"
#include "gui/core/GUIStaticText.h"
#include "gui/core/GUIWorld.h"
#include "screens/tests/ProgramRig.h"

namespace frontend {
namespace {

// A rectangle in the interface's units, y up.
struct Box {
  float left = 0, top = 0, right = 0, bottom = 0;
};

constexpr float kSlack = 0.02f;  // rounding of the measured extents

bool Inside(const Box& in, const Box& outer) {
  return in.left >= outer.left - kSlack && in.right <= outer.right + kSlack && in.top <= outer.top + kSlack &&
         in.bottom >= outer.bottom - kSlack;
}

bool Overlap(const Box& a, const Box& b) {
  return std::min(a.right, b.right) - std::max(a.left, b.left) > kSlack &&
         std::min(a.top, b.top) - std::max(a.bottom, b.bottom) > kSlack;
}

std::string Describe(const Box& b) {
  std::ostringstream s;
  s << "[" << b.left << ", " << b.top << " .. " << b.right << ", " << b.bottom << "]";
  return s.str();
}

Box Span(const JMatrix& m, float x0, float y0, float x1, float y1) {
  Box b{1e9f, -1e9f, -1e9f, 1e9f};
  for (float x : {x0, x1})
    for (float y : {y0, y1}) {
      const float wx = x * m.m[0][0] + y * m.m[1][0] + m.m[3][0];
      const float wy = x * m.m[0][1] + y * m.m[1][1] + m.m[3][1];
      b.left = std::min(b.left, wx);
      b.right = std::max(b.right, wx);
      b.top = std::max(b.top, wy);
      b.bottom = std::min(b.bottom, wy);
    }
  return b;
}

// A widget's rectangle as its pivot and world matrix place its plane.
Box WidgetBox(const ProgramRig& program, GUIEntity* e) {
  float r[4] = {};
  EXPECT_TRUE(program.WidgetRect(e, r));
  return {r[0], r[1], r[2], r[3]};
}

// A scene's rectangle: its size from its position (a scene has no scale).
Box SceneBox(GUIEntity* e) {
  const JMatrix& m = *e->GetTranslationMatrixPtr();
  return {m.m[3][0], m.m[3][1], m.m[3][0] + e->GetWidth(), m.m[3][1] - e->GetHeight()};
}

struct Text {
  std::string name;
  std::string text;
  Box box;
  GUIEntity* entity = nullptr;
  GUIEntity* scene = nullptr;   // the nearest scene above it
  GUIButton* button = nullptr;  // the button it captions
  bool shown = false;
};

struct Layout {
  std::vector<Text> texts;
  std::vector<std::pair<GUIEntity*, Box>> buttons;  // shown buttons
  Box screen;
};

bool ShownUp(GUIEntity* e) {
  for (; e; e = e->GetParent())
    if (!e->IsVisible()) return false;
  return true;
}

void Collect(const ProgramRig& program, GUIEntity* e, GUIEntity* scene, Layout* out) {
  if (dynamic_cast<GUIScene*>(e)) scene = e;
  if (auto* label = dynamic_cast<GUIStaticText*>(e)) {
    const std::string text = label->GetText();
    if (label->GetFont() && text.find_first_not_of(' ') != std::string::npos) {
      label->UpdateTransform();
      float lo[3] = {}, hi[3] = {};
      label->GetFont()->Measure(text, &lo[0], &lo[1], &lo[2], &hi[0], &hi[1], &hi[2]);
      Text t;
      t.name = e->GetName();
      t.text = text;
      t.box = Span(label->GetTextMatrix(), lo[0], lo[1], hi[0], hi[1]);
      t.entity = e;
      t.scene = scene;
      t.button = dynamic_cast<GUIButton*>(e->GetParent());
      t.shown = ShownUp(e);
      out->texts.push_back(t);
    }
  }
  if (dynamic_cast<GUIButton*>(e) && ShownUp(e)) out->buttons.push_back({e, WidgetBox(program, e)});
  for (GUIEntity* child : e->Children()) Collect(program, child, scene, out);
}

class TextFit : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(SCREENSHOT_DIR);
    ASSERT_TRUE(program.StartAtMainMenu()) << program.Failure();
  }

  Layout Measure() {
    Layout layout;
    GUIWorld* world = program.Gui()->GetWorld();
    const JMatrix& m = *world->GetTranslationMatrixPtr();
    layout.screen = {m.m[3][0], m.m[3][1], m.m[3][0] + world->GetWidth(), m.m[3][1] - world->GetHeight()};
    for (GUIEntity* child : world->Children()) Collect(program, child, nullptr, &layout);
    return layout;
  }

  // Every text, shown or not, on the screen, inside its scene and inside
  // the button it captions.
  void CheckPlaces(const Layout& layout) {
    EXPECT_GT(layout.texts.size(), 20u);
    for (const Text& t : layout.texts) {
      SCOPED_TRACE(t.name + " \"" + t.text + "\" at " + Describe(t.box));
      EXPECT_TRUE(Inside(t.box, layout.screen)) << "off the screen " << Describe(layout.screen);
      if (t.scene) EXPECT_TRUE(Inside(t.box, SceneBox(t.scene))) << "outside " << t.scene->GetName();
      if (t.button) EXPECT_TRUE(Inside(t.box, WidgetBox(program, t.button))) << "outside its button";
    }
  }

  // The texts shown together: none over another, none over a button it
  // does not caption.
  void CheckShownApart(const Layout& layout, const std::string& screen) {
    SCOPED_TRACE(screen);
    int shown = 0;
    for (size_t i = 0; i < layout.texts.size(); ++i) {
      const Text& a = layout.texts[i];
      if (!a.shown) continue;
      ++shown;
      for (size_t j = i + 1; j < layout.texts.size(); ++j) {
        const Text& b = layout.texts[j];
        if (b.shown && Overlap(a.box, b.box))
          ADD_FAILURE() << a.name << " \"" << a.text << "\" " << Describe(a.box) << " overlaps " << b.name << " \""
                        << b.text << "\" " << Describe(b.box);
      }
      for (const auto& [button, box] : layout.buttons)
        if (button != a.entity->GetParent() && Overlap(a.box, box))
          ADD_FAILURE() << a.name << " \"" << a.text << "\" " << Describe(a.box) << " lies over the button "
                        << button->GetName() << " " << Describe(box);
    }
    EXPECT_GT(shown, 2);
    EXPECT_TRUE(program.SaveScreenshot(std::string(SCREENSHOT_DIR) + "/text-fit-" + screen + ".bmp"));
  }

  void Click(const std::string& name) { ASSERT_TRUE(program.Click(name)) << name; }

  ProgramRig program;
};

TEST_F(TextFit, EveryTextFitsItsPlaceAndTheShownOnesStayApart) {
  const Layout start = Measure();
  CheckPlaces(start);
  CheckShownApart(start, "main-menu");

  Click("btnMMButton1");  // OPTIONS
  ASSERT_TRUE(program.Shown("scnOptionsMenu"));
  const Layout options = Measure();
  CheckPlaces(options);
  CheckShownApart(options, "options");
  Click("btnMMButton4");  // CANCEL

  Click("btnPMNew");
  ASSERT_TRUE(program.Shown("scnChooseLocationMenu"));
  CheckShownApart(Measure(), "location");
  Click("btnNAmerica");
  const Layout chosen = Measure();
  CheckPlaces(chosen);
  CheckShownApart(chosen, "location-chosen");
}

}  // namespace
}  // namespace frontend
