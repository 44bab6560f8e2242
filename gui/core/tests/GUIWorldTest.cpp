// The world as the GUI pass's hook: clears, draw order and matrices, fonts,
// and the static text's alignment and selection overdraw.
#include <gtest/gtest.h>

#include "gui/core/tests/GUITestKit.h"

namespace {

using guitest::Kit;

TEST(GUIWorld, ClearsOnlyDepthByDefaultAndDrawsTheTreeBackToFront) {
  Kit kit;
  auto* back = kit.Make<GUIStatic>(GUIKIND_STATIC, "back", nullptr, 0, 0, 0.1f);
  auto* front = kit.Make<GUIStatic>(GUIKIND_STATIC, "front", nullptr, 1, 2, 0.2f);
  kit.renderer.RunFrame();
  ASSERT_EQ(kit.renderer.clears.size(), 1u);
  EXPECT_FALSE(kit.renderer.clears[0].target);
  EXPECT_TRUE(kit.renderer.clears[0].depth);
  EXPECT_EQ(kit.renderer.ambient.back(), (std::vector<float>{0.9f, 0.9f, 0.9f, 0.0f}));
  ASSERT_EQ(kit.renderer.draws.size(), 2u);
  EXPECT_EQ(kit.renderer.draws[0].resource, back->GetModel());
  EXPECT_EQ(kit.renderer.draws[1].resource, front->GetModel());
  // Drawn with its world matrix: the LL pivot puts the origin one height down.
  EXPECT_FLOAT_EQ(kit.renderer.draws[1].world.m[3][0], 1.0f);
  EXPECT_FLOAT_EQ(kit.renderer.draws[1].world.m[3][1], 2.0f - 10.0f);
  EXPECT_NEAR(kit.renderer.draws[1].world.m[3][2], 0.2f, 1e-3f);

  kit.renderer.clears.clear();
  kit.renderer.draws.clear();
  kit.world->SetBeginClear(1);
  kit.world->SetBeginColour(0xFF102030u);
  kit.world->SetVisible(0);  // draws nothing, no bounds either
  kit.world->SetShowBounds(1);
  kit.renderer.RunFrame();
  ASSERT_EQ(kit.renderer.clears.size(), 2u);
  EXPECT_TRUE(kit.renderer.clears[0].target);
  EXPECT_EQ(kit.renderer.clears[0].colour, 0xFF102030u);
  EXPECT_TRUE(kit.renderer.draws.empty());

  kit.world->SetVisible(1);
  kit.renderer.RunFrame();
  // Two models, then the bounds of the world and both widgets as line meshes.
  ASSERT_EQ(kit.renderer.draws.size(), 5u);
  EXPECT_EQ(kit.renderer.draws[2].indexCount, 24u);
}

TEST(GUIWorld, MissingFontsBecomeTheBuiltInFont) {
  Kit kit;
  kit.world->SetFont2(nullptr);
  EXPECT_EQ(kit.world->GetFont2()->GetName(), "future font");
  EXPECT_EQ(kit.renderer.requests.back(), (fake3d::Request{"font", RF_BUILTIN, "future font"}));
  EXPECT_EQ(kit.world->GetSolidShader()->GetName(), "res/solidshader.jpg");
  EXPECT_EQ(kit.world->GetGhostShader()->GetName(), "res/ghostshader.jpg");
}

TEST(GUIStaticText, AlignmentMovesTheOriginByTheMeasuredWidth) {
  Kit kit;
  auto* text = kit.Make<GUIStaticText>(GUIKIND_STATICTEXT, "label", nullptr, 0, 0, 0);
  text->SetText("abcd", true);  // 40 wide in the recording font
  struct Case {
    uint8_t align;
    float x;
  };
  for (const Case& c : {Case{GUIALIGN_RIGHT, -40.0f}, Case{GUIALIGN_CENTRE, -20.0f}, Case{GUIALIGN_LEFT, 0.0f}}) {
    text->SetTextAlign(c.align, true);
    EXPECT_FLOAT_EQ(text->GetOriginX(), c.x) << int(c.align);
    EXPECT_FLOAT_EQ(text->GetTextMatrix().m[3][0], c.x);
  }
  GUIStaticText bare(&kit.manager);
  bare.SetOriginX(7.0f, false);
  bare.SetTextAlign(GUIALIGN_RIGHT, true);
  EXPECT_FLOAT_EQ(bare.GetOriginX(), 7.0f);  // no font: nothing measured
}

TEST(GUIStaticText, SelectionIsDrawnAgainInBlackAndTheColoursComeBack) {
  Kit kit;
  auto* text = kit.Make<GUIStaticText>(GUIKIND_STATICTEXT, "label", nullptr, 0, 0, 0);
  text->SetText("ab\ncdef", true);
  text->SetSelectionStart(4);
  text->SetSelectionLength(2);
  kit.renderer.RunFrame();
  ASSERT_EQ(kit.renderer.draws.size(), 2u);
  const fake3d::DrawCall& all = kit.renderer.draws[0];
  const fake3d::DrawCall& selected = kit.renderer.draws[1];
  EXPECT_EQ(all.text, "ab\ncdef");
  EXPECT_EQ(all.colour[0], 1.0f);
  EXPECT_EQ(selected.text, "de");
  for (float c : selected.colour) EXPECT_EQ(c, 0.0f);
  // One character ("c") in on the second row.
  EXPECT_FLOAT_EQ(selected.world.m[3][0] - all.world.m[3][0], 10.0f * 10.0f);
  EXPECT_FLOAT_EQ(selected.world.m[3][1] - all.world.m[3][1], -16.0f);
  auto* font = static_cast<fake3d::FakeFont*>(text->GetFont());
  for (const auto& variable : font->page.variables) EXPECT_EQ(variable.second, 1.0f) << variable.first;

  kit.renderer.draws.clear();
  kit.gui.SetTextRenderEnabled(0);
  kit.renderer.RunFrame();
  EXPECT_TRUE(kit.renderer.draws.empty());
}

TEST(GUIStaticText, BindingTheSameHolderTwiceTakesOneUse) {
  Kit kit;
  StringHolder* holder = nullptr;
  StringHolder::Get(holder) = "bound";
  {
    GUIStaticText text(&kit.manager);
    text.BindText(holder);
    text.BindText(holder);
    EXPECT_EQ(holder->uses, 2);
    EXPECT_EQ(text.GetText(), "bound");
  }
  EXPECT_EQ(holder->uses, 1);
  StringHolder::Release(holder);
  EXPECT_EQ(holder, nullptr);
}

TEST(GUIProgressBar, StepsGapsAndFill) {
  Kit kit;
  auto* bar = kit.Make<GUIProgressBar>(GUIKIND_PROGRESSBAR, "bar", nullptr, 0, 0, 0, 100, 10);
  ASSERT_TRUE(bar->CreateFillControl());
  ASSERT_TRUE(bar->CreateStatusText());
  EXPECT_EQ(bar->GetFillControl()->GetName(), "Progressbar bar's fill control");
  int steps = 0;
  while (!bar->Step() && steps < 5000) ++steps;
  EXPECT_NEAR(steps, 999, 2);
  EXPECT_TRUE(bar->Step());
  EXPECT_EQ(bar->SetBorderGap(4, 0.5f), 4);
  EXPECT_EQ(bar->GetBorderGaps()[0], 0.05f);
  bar->SetProgress(0.5f);
  kit.renderer.RunFrame();
  EXPECT_FLOAT_EQ(bar->GetFillControl()->ScaleX(), 0.9f * 100.0f * 0.5f);
  EXPECT_FLOAT_EQ(bar->GetFillControl()->GetPositionX(), 5.0f);
}

}  // namespace
