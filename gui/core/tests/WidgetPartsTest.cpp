// Tooltips, sounds inherited up the tree, a scene's auto-size and the check
// box's caption layout.
#include <gtest/gtest.h>

#include <cfloat>

#include "gui/core/WidgetMessages.h"
#include "gui/core/actions/GUIActions.h"
#include "gui/core/tests/GUITestKit.h"

namespace {

using guitest::Kit;

class Tooltips : public GA_DisplayTooltip {
 public:
  Tooltips() = default;
  CoreStatus Execute(cEntity_Base*, uintptr_t, const std::string&) override { return status::Ok; }
  bool Start(Widget* widget, float delay, float duration) override {
    log.push_back("start " + widget->GetName() + " " + std::to_string(delay) + " " +
                  (duration == FLT_MAX ? std::string("until exit") : std::to_string(duration)));
    return true;
  }
  bool Stop(Widget* widget) override {
    log.push_back("stop " + widget->GetName());
    return true;
  }
  void StopAll() override { log.push_back("stop all"); }
  std::vector<std::string> log;
};

TEST(WidgetTooltip, StartsOnEnterStopsAndHidesOnExitAndIsPlacedByItsCode) {
  Kit kit;
  auto* tooltips = new Tooltips;
  kit.factory.RegisterAction(tooltips, true);
  auto* rec = kit.AddRecorder("Rec");
  auto* w = kit.Make<GUIStatic>(GUIKIND_STATIC, "w", nullptr, 0, 0, 0, 4, 2);
  EXPECT_EQ(w->GetTooltipText(), "ERROR::NO TOOLTIP");
  ASSERT_TRUE(w->CreateTooltip());
  EXPECT_EQ(w->GetTooltip()->GetName(), "Button w's Tooltip");
  EXPECT_EQ(w->GetTooltipText(), "Tooltip message");
  EXPECT_FALSE(w->GetTooltip()->IsVisible());
  w->BindAction("mouseover_enter", "Rec", "enter");
  w->BindAction("mouseover_exit", "Rec", "exit");
  w->GetTooltip()->SetVisible(1);
  w->OnMessage(0, GUIMSG_MOUSE_ENTER, 0);
  w->OnMessage(0, GUIMSG_MOUSE_EXIT, 0);
  EXPECT_EQ(tooltips->log, (std::vector<std::string>{"start w 1.000000 until exit", "stop w"}));
  EXPECT_EQ(rec->log, (std::vector<std::string>{"w|enter", "w|exit"}));
  EXPECT_FALSE(w->GetTooltip()->IsVisible());
  kit.gui.ResetInputState();
  EXPECT_EQ(tooltips->log.back(), "stop all");

  struct Case {
    uint8_t code;
    float x, y;  // w = 4, h = 2, t = 1
  };
  const Case cases[] = {{0, 0, 1}, {2, 4, 1}, {4, 2, -0.5f}, {6, 0, -2}, {9, 2, -2}};
  // Completing again takes the size from the plane model: make it 4 x 2.
  auto* plane = static_cast<fake3d::FakeModel*>(w->GetModel());
  plane->boundsMax[0] = 4.0f;
  plane->boundsMax[1] = 2.0f;
  for (const Case& c : cases) {
    w->SetTooltipPosition(c.code);
    w->Initialize();
    EXPECT_FLOAT_EQ(w->GetTooltip()->GetPositionX(), c.x) << int(c.code);
    EXPECT_FLOAT_EQ(w->GetTooltip()->GetPositionY(), c.y) << int(c.code);
  }
  w->SetTooltipPosition(10);
  EXPECT_EQ(w->GetTooltipPosition(), 9);
}

TEST(WidgetSound, SwitchedOffYieldsNoneAndMissingInheritsTheParents) {
  Kit kit;
  kit.manager.SetResourcePath("data/");
  auto* parent = kit.Make<GUIStatic>(GUIKIND_STATIC, "parent", nullptr, 0, 0, 0);
  auto* on = kit.Make<GUIStatic>(GUIKIND_STATIC, "on", parent, 0, 0, 0);
  auto* off = kit.Make<GUIStatic>(GUIKIND_STATIC, "off", parent, 0, 0, 0);
  parent->SetClickSound("click.wav", true);
  off->SetClickSound("", false);
  EXPECT_EQ(kit.sound.NameOf(parent->GetClickSound()), "data/click.wav");
  EXPECT_EQ(on->GetClickSound(), parent->GetClickSound());
  EXPECT_EQ(off->GetClickSound(), nullptr);
  EXPECT_EQ(on->GetHoverSound(), nullptr);
}

TEST(GUIScene, AutoSizeSpansTheChildrenAndKeepsItsSizeWithoutThem) {
  Kit kit;
  auto* scene = kit.Make<GUIScene>(GUIKIND_SCENE, "scn", nullptr, 0, 0, 0, 3, 3);
  scene->SetAutoSize(1);
  scene->Initialize();
  EXPECT_EQ(scene->GetWidth(), 3.0f);
  kit.Make<GUIStatic>(GUIKIND_STATIC, "a", scene, 1, 0, 0, 4, 2);
  auto* b = kit.Make<GUIStatic>(GUIKIND_STATIC, "b", scene, -2, -3, 0.5f, 2, 2);
  b->SetScale(2, 1, 1, true);
  scene->Initialize();
  EXPECT_FLOAT_EQ(scene->GetWidth(), 7.0f);   // -2 .. 5
  EXPECT_FLOAT_EQ(scene->GetHeight(), 5.0f);  // 0 .. -5
  ASSERT_NE(scene->GetCamera(), nullptr);
  EXPECT_EQ(scene->GetCamera()->viewportWidth, 800.0f);
}

TEST(GUICheckBox, CaptionIsCentredVertically) {
  Kit kit;
  auto* box = kit.Make<GUICheckBox>(GUIKIND_CHECKBOX, "chk", nullptr, 0, 0, 0, 2, 4);
  ASSERT_TRUE(box->CreateCaption());
  EXPECT_EQ(box->GetCaption()->GetName(), "Checkbox chk's caption");
  box->GetCaption()->SetHeight(1.0f);
  box->SetCaptionPosition(3.0f, 0.0f, 0.001f, true);
  EXPECT_FLOAT_EQ(box->GetCaption()->GetPositionX(), 3.0f);
  EXPECT_FLOAT_EQ(box->GetCaption()->GetPositionY(), -(4.0f / 2.0f - 1.0f / 2.0f));
  box->SetCaptionLayout(0);  // the caption then stays where it is put
  box->SetCaptionPosition(3.0f, 0.25f, 0.001f, true);
  EXPECT_FLOAT_EQ(box->GetCaption()->GetPositionY(), 0.25f);
}

// The caption scale sizes the drawn text (the text matrix), not only the
// caption widget: a scale of 0.35 draws the glyphs at 0.35 of the font.
TEST(GUICheckBox, CaptionScaleSizesTheDrawnText) {
  Kit kit;
  auto* box = kit.Make<GUICheckBox>(GUIKIND_CHECKBOX, "chk", nullptr, 0, 0, 0, 2, 4);
  ASSERT_TRUE(box->CreateCaption());
  box->SetCaptionScale(0.35f, 0.4f, 1.0f, true);
  GUIStaticText* caption = box->GetCaption();
  EXPECT_FLOAT_EQ(caption->TextScaleX(), 0.35f);
  EXPECT_FLOAT_EQ(caption->TextScaleY(), 0.4f);
  caption->UpdateTransform();
  EXPECT_FLOAT_EQ(caption->GetTextMatrix().m[0][0], 0.35f);
  EXPECT_FLOAT_EQ(caption->GetTextMatrix().m[1][1], 0.4f);
}

}  // namespace
