// The GUI actions through the action factory: editing, moving, turning,
// texture-coordinate slides, sequences, scenes, the list-box highlight,
// modal scenes, tooltips and dragging; and entities leaving their lists.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>
#include <vector>

#include "engine/math/CameraView.h"
#include "gui/core/GUIListBox.h"
#include "gui/core/actions/GUIActions.h"
#include "gui/core/tests/GUITestKit.h"

namespace {

using guitest::Kit;

class GUIActions : public ::testing::Test {
 protected:
  void SetUp() override {
    kit.AddGUIActions();
    w = kit.Make<GUIStatic>(GUIKIND_STATIC, "w", nullptr, 0, 0, 0, 1, 1);
  }
  CoreStatus Run(const char* action, cEntity_Base* entity, const std::string& params, uintptr_t sender = 0) {
    cAction_Base* a = kit.factory.GetAction(action);
    EXPECT_NE(a, nullptr) << action;
    if (!a) return status::Fail;
    const CoreStatus result = a->Execute(entity, sender, params);
    kit.factory.ReleaseAction(a);
    return result;
  }
  Kit kit;
  GUIStatic* w = nullptr;
};

constexpr CoreStatus kNotDone = kActionNotDone;

TEST_F(GUIActions, EditWidgetCommands) {
  auto* button = kit.Make<GUIButton>(GUIKIND_BUTTON, "b", nullptr, 0, 0, 0);
  ASSERT_TRUE(button->CreateCaption());
  struct Case {
    const char* name;
    cEntity_Base* entity;
    const char* params;
    CoreStatus result;
  };
  const Case cases[] = {
      {"visible false", w, "visible false", status::Ok},
      {"visible TRUE", w, "visible TRUE", status::Ok},
      {"enabled without value", w, "enabled", kNotDone},
      {"scale multiplies", w, "scale 2 3", status::Ok},
      {"setscale sets", w, "setscale 4 4 4", status::Ok},
      {"position needs three", w, "position 1 2", kNotDone},
      {"position", w, "position 1 2 3", status::Ok},
      {"caption of a button", button, "caption Hello there", status::Ok},
      {"caption of a static", w, "caption Hello", kNotDone},
      {"caption without text", button, "caption", kNotDone},
      {"hide", w, "hide", status::Ok},
      {"unknown word", w, "sparkle", kNotDone},
      {"empty", w, "", kNotDone},
  };
  for (const Case& c : cases) EXPECT_EQ(Run("EditWidget", c.entity, c.params), c.result) << c.name;
  EXPECT_FALSE(w->IsVisible());
  EXPECT_FLOAT_EQ(w->ScaleX(), 4.0f);
  EXPECT_FLOAT_EQ(w->GetPositionZ(), 3.0f);
  EXPECT_EQ(button->GetCaption()->GetText(), "Hello there");
  EXPECT_EQ(Run("EditOtherWidget", button, "W show"), status::Ok);
  EXPECT_TRUE(w->IsVisible());
  EXPECT_EQ(Run("EditOtherWidget", button, "nobody show"), kNotDone);
  EXPECT_EQ(Run("EditOtherWidget", button, "w"), kNotDone);
  EXPECT_EQ(Run("ButtonSetShader", w, "1"), kActionWrongKind);
  EXPECT_EQ(Run("ButtonSetShader", button, "6"), kNotDone);
  EXPECT_EQ(Run("ButtonSetShader", button, "1"), status::Ok);
}

TEST_F(GUIActions, MoveWidgetArrivesExtendsAndRefusesNoSpeed) {
  EXPECT_EQ(Run("MoveWidget", w, "0 10 0"), kNotDone);
  EXPECT_EQ(Run("MoveWidget", w, "0 10 0 0"), kNotDone);  // would never arrive
  const float y0 = w->GetPositionY();
  EXPECT_EQ(Run("MoveWidget", w, "0 10 0 20"), status::Ok);
  kit.gui.Update(0.25f);
  EXPECT_FLOAT_EQ(w->GetPositionY(), y0 + 5.0f);
  // A second move shifts the target of the one under way.
  EXPECT_EQ(Run("MoveWidget", w, "0 5 0 -10"), status::Ok);
  kit.gui.Update(0.5f);
  EXPECT_FLOAT_EQ(w->GetPositionY(), y0 + 10.0f);
  kit.gui.Update(1.0f);
  EXPECT_FLOAT_EQ(w->GetPositionY(), y0 + 15.0f);
  EXPECT_FALSE(GA_MoveWidget::GetInstance()->IsMoving(w));
}

TEST_F(GUIActions, RotationEndsPerAxisAndEndlessAtZeroAngle) {
  auto* other = kit.Make<GUIStatic>(GUIKIND_STATIC, "other", nullptr, 0, 0, 0);
  EXPECT_EQ(Run("RotateWidget", w, "1 1 0 0 0"), kNotDone);
  EXPECT_EQ(Run("RotateWidget", w, "0.5 1 0 0 0 0"), status::Ok);
  EXPECT_EQ(Run("RotateWidget", other, "0 2 0 0 0 0"), status::Ok);
  EXPECT_TRUE(w->IsRotating());
  kit.gui.Update(1.0f);
  EXPECT_FALSE(w->IsRotating());
  float remaining = 0.0f;
  float speed = 0.0f;
  // The other keeps turning: angle 0 turns without end.
  ASSERT_TRUE(GA_RotateWidget::GetInstance()->GetAxis(other, 0, &remaining, &speed));
  EXPECT_FLOAT_EQ(speed, 2.0f);
  EXPECT_FLOAT_EQ(remaining, 0.0f);
  kit.gui.Update(10.0f);
  EXPECT_TRUE(other->IsRotating());
  EXPECT_TRUE(GA_RotateWidget::GetInstance()->Stop(other));
  EXPECT_FALSE(other->IsRotating());
  EXPECT_FALSE(GA_RotateWidget::GetInstance()->Stop(other));
}

TEST_F(GUIActions, UVSlidesEndOnTheirTargetsAndAZeroChangeHasArrived) {
  EXPECT_EQ(Run("MoveUVCoords", w, "UV_SET 0 0 1 1"), status::Ok);
  EXPECT_EQ(Run("MoveUVCoords", w, "UV_MOVE 0.5 1 0 1 1 1 1 -1"), kNotDone);
  EXPECT_EQ(Run("MoveUVCoords", w, "UV_MOVE 0.5 1 0 1 1 1 1"), kNotDone);
  EXPECT_EQ(Run("MoveUVCoords", w, "UV_MOVE 0.5 2 0 1 1 1 1 1"), status::Ok);
  kit.gui.Update(0.25f);
  float u[2];
  w->GetUV0(u);
  EXPECT_FLOAT_EQ(u[0], 0.25f);
  kit.gui.Update(1.0f);
  w->GetUV0(u);
  EXPECT_FLOAT_EQ(u[0], 0.5f);
  // Every value already at its target: the slide ends on the next frame.
  EXPECT_EQ(Run("MoveUVCoords", w, "UV_MOVE 0.5 1 0 1 1 1 1 1"), status::Ok);
  EXPECT_EQ(Run("MultiAction", w, "1 MoveUVCoords UV_MOVE 0.5 1 0 1 1 1 1 1; EditWidget hide"), status::Ok);
  kit.gui.Update(0.1f);
  EXPECT_FALSE(w->IsVisible());
  EXPECT_EQ(Run("MoveUVCoords", w, "U_SET 0.1 0.9"), status::Ok);
  w->GetUV0(u);
  EXPECT_FLOAT_EQ(u[1], 0.9f);
  EXPECT_EQ(Run("MoveUVCoords", w, "SOMETHING"), status::Ok);
  EXPECT_EQ(Run("MoveUVCoords", w, ""), kNotDone);
}

TEST_F(GUIActions, MultiActionSequenceAndAllAtOnce) {
  const float y0 = w->GetPositionY();
  EXPECT_EQ(Run("MultiAction", w, "1 MoveWidget 0 10 0 20; EditWidget hide"), status::Ok);
  EXPECT_TRUE(w->IsMultiActionPending());
  kit.gui.Update(0.25f);
  EXPECT_TRUE(w->IsVisible());
  kit.gui.Update(0.25f);
  EXPECT_FLOAT_EQ(w->GetPositionY(), y0 + 10.0f);
  EXPECT_FALSE(w->IsVisible());
  EXPECT_FALSE(w->IsMultiActionPending());

  auto* v = kit.Make<GUIStatic>(GUIKIND_STATIC, "v", nullptr, 0, 0, 0);
  EXPECT_EQ(Run("MultiAction", v, "0 MoveWidget 0 10 0 20; EditWidget hide"), status::Ok);
  EXPECT_FALSE(v->IsVisible());  // at once, while the move starts
  EXPECT_TRUE(GA_MoveWidget::GetInstance()->IsMoving(v));
  EXPECT_EQ(Run("MultiAction", v, "0 EditWidget sparkle"), kNotDone);

  // A first step that fails leaves no queue and no pending bit.
  EXPECT_EQ(Run("MultiAction", v, "1 EditWidget sparkle; EditWidget hide"), status::Fail);
  EXPECT_FALSE(v->IsMultiActionPending());
  EXPECT_EQ(GA_MultiAction::GetInstance()->QueueLength(v), 0u);
  // Immediate steps run one inside the other to the end.
  EXPECT_EQ(Run("MultiAction", v, "1 EditWidget show; EditWidget hide; EditWidget show"), status::Ok);
  EXPECT_TRUE(v->IsVisible());
  EXPECT_FALSE(v->IsMultiActionPending());
}

TEST_F(GUIActions, EditSceneAndHighlightAndModalScenes) {
  auto* scene = kit.Make<GUIScene>(GUIKIND_SCENE, "scn", nullptr, 0, 0, 0);
  EXPECT_EQ(Run("EditScene", w, "scn hide"), status::Ok);
  EXPECT_FALSE(scene->IsVisible());
  EXPECT_EQ(Run("EditScene", w, "scn sparkle"), status::Ok);
  EXPECT_FALSE(scene->IsVisible());
  EXPECT_EQ(Run("EditScene", w, "scn"), kNotDone);
  EXPECT_EQ(Run("EditScene", w, "w show"), kActionWrongKind);

  auto* list = kit.Make<GUIListBox>(GUIKIND_LISTBOX, "lb", nullptr, 0, 0, 0, 1, 1, [&](GUIListBox* l) {
    l->SetFont(kit.world->GetDefaultFont());
    ASSERT_TRUE(l->CreateHighlight());
    ASSERT_TRUE(l->CreateScrollBar());
    l->SetScale(4.0f, 3.0f, 1.0f, true);
  });
  for (const char* line : {"a", "b", "c", "d"}) list->AddLine(line);
  EXPECT_EQ(Run("MoveListBoxHighlight", w, "lb down"), status::Ok);
  EXPECT_EQ(Run("MoveListBoxHighlight", w, "lb pagedown"), status::Ok);
  EXPECT_EQ(list->GetSelection(), 3);
  EXPECT_EQ(Run("MoveListBoxHighlight", w, "lb sideways"), kNotDone);
  EXPECT_EQ(list->GetSelection(), 3);

  EXPECT_EQ(Run("EditGUI", scene, "entermodal"), status::Ok);
  EXPECT_EQ(kit.gui.GetModalScenes().size(), 1u);
  EXPECT_EQ(Run("EditGUI", w, "endmodal scn"), status::Ok);
  EXPECT_TRUE(kit.gui.GetModalScenes().empty());
  EXPECT_EQ(Run("EditGUI", w, "open"), kNotDone);
  EXPECT_EQ(Run("EditGUI", w, ""), kNotDone);
}

TEST_F(GUIActions, TooltipDelayDurationAndEndless) {
  ASSERT_TRUE(w->CreateTooltip());
  GA_DisplayTooltip* tips = GA_DisplayTooltip::GetInstance();
  EXPECT_FALSE(tips->Start(nullptr, 1.0f, 1.0f));
  EXPECT_TRUE(tips->Start(w, 0.5f, 1.0f));
  kit.gui.Update(0.4f);
  EXPECT_FALSE(w->GetTooltip()->IsVisible());
  kit.gui.Update(0.2f);
  EXPECT_TRUE(w->GetTooltip()->IsVisible());
  kit.gui.Update(1.1f);
  EXPECT_FALSE(w->GetTooltip()->IsVisible());
  EXPECT_FALSE(tips->IsListed(w));
  EXPECT_TRUE(tips->Start(w, 0.0f, FLT_MAX));
  kit.gui.Update(0.1f);
  kit.gui.Update(1e6f);
  EXPECT_TRUE(w->GetTooltip()->IsVisible());
  EXPECT_EQ(Run("DisplayTooltip", w, "anything"), kNotDone);
  kit.gui.ResetInputState();
  EXPECT_FALSE(w->GetTooltip()->IsVisible());
  EXPECT_FALSE(tips->IsListed(w));
}

TEST_F(GUIActions, DragFollowsTheCursorInWorldUnits) {
  CameraView* view = kit.gui.GetCamera();
  view->perspective = false;
  view->focalDistance = 10.0f;
  view->fieldOfView = 2.0f * std::atan(1.0f);
  kit.gui.UpdateCamera();
  w->SetHitPoint(0.0f, 1.0f);  // grabbed at its upper-left corner
  EXPECT_EQ(Run("DragWidget", w, "BeginDrag"), kNotDone);
  EXPECT_EQ(GA_DragWidget::GetInstance()->GetDragged(), w);
  MousePacket p;
  p.x = 400;  // the middle: world (0, 0)
  p.y = 300;
  kit.gui.PickOrthographic(kit.world, &p);
  Run("DragWidget", w, "Drag");
  // The world's corner is at (-5000, 5000).
  EXPECT_FLOAT_EQ(w->GetPositionX(), 5000.0f);
  EXPECT_FLOAT_EQ(w->GetPositionY(), -5000.0f);
  Run("DragWidget", w, "EndDrag");
  EXPECT_EQ(GA_DragWidget::GetInstance()->GetDragged(), nullptr);
}

TEST_F(GUIActions, ExitingEntitiesLeaveEveryList) {
  ASSERT_TRUE(w->CreateTooltip());
  EXPECT_EQ(Run("MoveWidget", w, "0 10 0 1"), status::Ok);
  EXPECT_EQ(Run("MoveUVCoords", w, "UV_MOVE 0.5 1 0 1 1 1 1 1"), status::Ok);
  EXPECT_EQ(Run("MultiAction", w, "1 MoveWidget 0 1 0 1; EditWidget hide"), status::Ok);
  EXPECT_TRUE(GA_DisplayTooltip::GetInstance()->Start(w, 1.0f, 1.0f));
  auto record = std::make_unique<MessageRepeatRecord>();
  record->message = 27;
  record->packet = std::make_unique<KeyboardPacket>();
  GA_MessageRepeater::GetInstance()->Start(w, std::move(record));
  Run("DragWidget", w, "BeginDrag");
  kit.gui.DestroyEntity(w);
  EXPECT_FALSE(GA_MoveWidget::GetInstance()->IsMoving(w));
  EXPECT_FALSE(GA_DisplayTooltip::GetInstance()->IsListed(w));
  EXPECT_FALSE(GA_MessageRepeater::GetInstance()->IsRepeating(w));
  EXPECT_EQ(GA_MultiAction::GetInstance()->QueueLength(w), 0u);
  EXPECT_EQ(GA_DragWidget::GetInstance()->GetDragged(), nullptr);
  kit.manager.Update(0.0f);  // deletes it
  kit.gui.Update(1.0f);      // nothing left to reach it
}

}  // namespace
