// The GUI service's own operations: focus, modal scenes, destruction with
// the pointers it keeps, the camera and the widget spawning.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/math/CameraView.h"
#include "gui/core/WidgetMessages.h"
#include "gui/core/tests/GUITestKit.h"

namespace {

using guitest::Kit;

TEST(GUIService, FocusSendsLostAndGainedOnlyOnChange) {
  Kit kit;
  auto* rec = kit.AddRecorder("Rec");
  auto* a = kit.Make<GUIStatic>(GUIKIND_STATIC, "a", nullptr, 0, 0, 0);
  auto* b = kit.Make<GUIStatic>(GUIKIND_STATIC, "b", nullptr, 0, 0, 0);
  for (GUIStatic* w : {a, b}) {
    w->BindAction("focus_lost", "Rec", "lost");
    w->BindAction("focus_gain", "Rec", "gain");
  }
  kit.gui.SetFocus(nullptr);  // nothing focused: nothing sent
  kit.gui.SetFocus(a);
  kit.gui.SetFocus(a);  // the same: nothing
  kit.gui.SetFocus(b);
  kit.gui.SetFocus(nullptr);
  EXPECT_EQ(rec->log, (std::vector<std::string>{"a|gain", "a|lost", "b|gain", "b|lost"}));
  EXPECT_EQ(kit.gui.GetFocus(), nullptr);
}

TEST(GUIService, ModalScenesStackAndMoveTheFocus) {
  Kit kit;
  auto* one = kit.Make<GUIScene>(GUIKIND_SCENE, "scnOne", nullptr, 0, 0, 0);
  auto* two = kit.Make<GUIScene>(GUIKIND_SCENE, "scnTwo", nullptr, 0, 0, 0);
  kit.gui.PushModalScene("scnOne");
  kit.gui.PushModalScene("SCNONE");  // already listed
  kit.gui.PushModalScene("nothing");
  EXPECT_EQ(kit.gui.GetModalScenes(), (std::vector<GUIScene*>{one}));
  kit.gui.PushModalScene("scnTwo");
  EXPECT_EQ(kit.gui.GetModalScenes(), (std::vector<GUIScene*>{two, one}));
  EXPECT_EQ(kit.gui.GetFocus(), two);
  // Popping the one below the top keeps the top focused.
  kit.gui.PopModalScene("scnOne");
  EXPECT_EQ(kit.gui.GetModalScenes(), (std::vector<GUIScene*>{two}));
  EXPECT_EQ(kit.gui.GetFocus(), two);
  kit.gui.PushModalScene("scnOne");
  kit.gui.PopModalScene("scnOne");
  EXPECT_EQ(kit.gui.GetFocus(), two);
  kit.gui.PopModalScene("scnTwo");
  EXPECT_TRUE(kit.gui.GetModalScenes().empty());
  EXPECT_EQ(kit.gui.GetFocus(), nullptr);
}

TEST(GUIService, DestroyingASubtreeClearsHoverFocusAndModalPointers) {
  Kit kit;
  auto* scene = kit.Make<GUIScene>(GUIKIND_SCENE, "scnDialog", nullptr, 0, 0, 0);
  auto* inner = kit.Make<GUIStatic>(GUIKIND_STATIC, "inner", scene, 0, 0, 0);
  kit.gui.PushModalScene("scnDialog");
  kit.gui.SetFocus(inner);
  kit.gui.SetHoverEntity(inner);
  const int32_t views = kit.renderer.GetViewCount();
  EXPECT_EQ(kit.gui.DestroyEntityByName("scnDialog"), status::Ok);
  EXPECT_EQ(kit.gui.GetFocus(), nullptr);
  EXPECT_EQ(kit.gui.GetHoverEntity(), nullptr);
  EXPECT_TRUE(kit.gui.GetModalScenes().empty());
  EXPECT_EQ(kit.gui.FindEntity("inner"), nullptr);
  // The scene gave its view back.
  EXPECT_EQ(kit.renderer.GetViewCount(), views - 1);
  kit.manager.Update(0.0f);  // deletes both; nothing points at them any more
  EXPECT_EQ(kit.gui.GetFocus(), nullptr);
  EXPECT_EQ(kit.gui.DestroyEntityByName("scnDialog"), status::Fail);
  EXPECT_EQ(kit.gui.DestroyEntity(nullptr), status::Fail);
}

TEST(GUIService, DestroyWorldNeedsAWorldAndUnhooksThePass) {
  Kit kit;
  EXPECT_EQ(kit.gui.GetRenderScene()->GetBeginHook(), kit.world);
  EXPECT_EQ(kit.gui.DestroyWorld(), status::Ok);
  EXPECT_EQ(kit.gui.GetRenderScene()->GetBeginHook(), nullptr);
  EXPECT_EQ(kit.gui.GetWorld(), nullptr);
  EXPECT_EQ(kit.gui.DestroyWorld(), status::Fail);
  kit.manager.Update(0.0f);
  kit.renderer.RunFrame();  // the pass no longer reaches the deleted world
  EXPECT_TRUE(kit.renderer.clears.empty());
}

TEST(GUIService, OrthographicCameraScalesPicksToTheClientRectangle) {
  Kit kit;
  CameraView* view = kit.gui.GetCamera();
  view->perspective = false;
  view->focalDistance = 10.0f;
  view->fieldOfView = 1.0f;
  kit.gui.UpdateCamera();
  const float width = 2.0f * std::tan(0.5f) * 10.0f;
  EXPECT_FLOAT_EQ(kit.gui.GetViewWidth(), width);
  EXPECT_FLOAT_EQ(kit.gui.GetViewHeight(), 0.75f * width);
  EXPECT_FLOAT_EQ(kit.gui.GetUnitsPerPixelX(), width / 800.0f);
  EXPECT_FLOAT_EQ(kit.gui.GetUnitsPerPixelY(), 0.75f * width / 600.0f);
}

TEST(GUIService, SpawnWidgetNamesByKindAndRefusesOthers) {
  Kit kit;
  struct Case {
    int32_t kind;
    const char* name;  // null: refused
  };
  const Case cases[] = {{GUIKIND_WORLD, "CreatedWorld"},
                        {GUIKIND_SCENE, "CreatedScene"},
                        {GUIKIND_GROUP, "CreatedGroup"},
                        {GUIKIND_BUTTON, "CreatedButton"},
                        {GUIKIND_CHECKBOX, "CreatedCheckBox"},
                        {GUIKIND_STATIC, "CreatedStatic"},
                        {GUIKIND_STATICTEXT, "CreatedStaticText"},
                        {GUIKIND_LISTBOX, "CreatedListBox"},
                        {GUIKIND_PROGRESSBAR, "CreatedProgressBar"},
                        {GUIKIND_SCROLLBAR, "CreatedScrollBar"},
                        {GUIKIND_SLIDER, "CreatedSlider"},
                        {GUIKIND_SPIN, "CreatedSpin"},
                        {GUIKIND_TEXTBOX, "CreatedTextBox"},
                        {GUIKIND_MLTEXTBOX, "CreatedMultiLineTextBox"},
                        {GUIKIND_DROPDOWN, "CreatedDropDownListBox"},
                        {1, nullptr},
                        {17, nullptr},
                        {0, nullptr}};
  for (const Case& c : cases) {
    GUIEntity* sentinel = kit.world;
    GUIEntity* out = sentinel;
    const CoreStatus result = kit.gui.SpawnWidget(c.kind, &out);
    if (!c.name) {
      EXPECT_EQ(result, status::Fail) << c.kind;
      EXPECT_EQ(out, sentinel) << c.kind;
      continue;
    }
    ASSERT_EQ(result, status::Ok) << c.kind;
    EXPECT_EQ(out->GetName(), c.name);
    EXPECT_EQ(static_cast<int32_t>(out->GetKind()), c.kind);
    EXPECT_EQ(out->GetGUI(), &kit.gui);
  }
}

}  // namespace

namespace {

TEST(GUIService, HitTest2DWalksTheTreeInItsOwnFlatFrame) {
  Kit kit;
  // A 10 x 10 panel at (2, 3) with a 4 x 4 solid child at (1, -1) inside it.
  GUIStatic panel(&kit.manager);
  GUIStatic child(&kit.manager);
  panel.SetWidth(10.0f);
  panel.SetHeight(10.0f);
  panel.SetSolid(0);
  child.SetWidth(4.0f);
  child.SetHeight(4.0f);
  child.SetPosition(1.0f, -1.0f, 0.0f, false);
  panel.AddChild(&child, false);
  struct Case {
    const char* name;
    float x, y;
    GUIEntity* hit;
  };
  const Case cases[] = {
      {"on the child", 2.0f, 2.0f, &child},
      {"child's edge", 5.0f, 3.0f, &child},
      {"panel only: not solid", 8.0f, 8.0f, nullptr},
      {"negative", -1.0f, 2.0f, nullptr},
      {"beyond the width", 10.5f, 2.0f, nullptr},
  };
  for (const Case& c : cases) EXPECT_EQ(kit.gui.HitTest2D(&panel, c.x, c.y), c.hit) << c.name;
  panel.SetSolid(1);
  EXPECT_EQ(kit.gui.HitTest2D(&panel, 8.0f, 8.0f), &panel);
  child.SetVisible(0);
  EXPECT_EQ(kit.gui.HitTest2D(&panel, 2.0f, 2.0f), &panel);
  panel.RemoveAllChildren();
}

}  // namespace
