// The widget base: message codes to event words, bubbling, pressed bytes,
// key texts and bounds.
#include <gtest/gtest.h>

#include "gui/core/WidgetMessages.h"
#include "gui/core/tests/GUITestKit.h"

namespace {

using guitest::Kit;

TEST(Widget, ButtonCodesFireOneWordPerButtonAndBubbleWhenUntaken) {
  Kit kit;
  auto* rec = kit.AddRecorder("Rec");
  auto* parent = kit.Make<GUIStatic>(GUIKIND_STATIC, "parent", nullptr, 0, 0, 0);
  auto* child = kit.Make<GUIStatic>(GUIKIND_STATIC, "child", parent, 0, 0, 0);
  for (const char* word : {"mouse0_down", "mouse1_down", "mouse1_click", "mouse0_drag"}) {
    child->BindAction(word, "Rec", word);
  }
  parent->BindAction("mouse0_up", "Rec", "parent up");
  MousePacket both;
  both.pressed = 3;
  EXPECT_TRUE(child->OnMessage(0, GUIMSG_MOUSE_DOWN, reinterpret_cast<uintptr_t>(&both)));
  EXPECT_EQ(rec->log, (std::vector<std::string>{"child|mouse0_down", "child|mouse1_down"}));
  rec->log.clear();

  struct Case {
    const char* name;
    uint32_t code;
    uint8_t pressed, held, released;
    bool result;
    std::vector<std::string> log;
  };
  const Case cases[] = {
      {"unbound up bubbles and still answers true", GUIMSG_MOUSE_UP, 0, 0, 1, true, {"parent|parent up"}},
      {"unbound click answers false", GUIMSG_CLICK, 0, 0, 1, false, {}},
      {"bound click of button 1", GUIMSG_CLICK, 0, 0, 2, true, {"child|mouse1_click"}},
      {"drag of button 0", GUIMSG_DRAG, 0, 1, 0, true, {"child|mouse0_drag"}},
      {"unbound drag answers false", GUIMSG_DRAG, 0, 2, 0, false, {}},
  };
  for (const Case& c : cases) {
    rec->log.clear();
    MousePacket p;
    p.pressed = c.pressed;
    p.held = c.held;
    p.released = c.released;
    EXPECT_EQ(child->OnMessage(0, c.code, reinterpret_cast<uintptr_t>(&p)), c.result) << c.name;
    EXPECT_EQ(rec->log, c.log) << c.name;
  }
}

TEST(Widget, PressedBytesEndWithTheReleaseAndWithFocusLoss) {
  Kit kit;
  auto* w = kit.Make<GUIStatic>(GUIKIND_STATIC, "w", nullptr, 0, 0, 0);
  MousePacket down;
  down.pressed = 1;
  MousePacket up;
  up.released = 1;
  w->OnMessage(0, GUIMSG_MOUSE_DOWN, reinterpret_cast<uintptr_t>(&down));
  EXPECT_TRUE(w->IsButtonPressed(&up));
  w->OnMessage(0, GUIMSG_CLICK, reinterpret_cast<uintptr_t>(&up));
  EXPECT_FALSE(w->IsButtonPressed(&up));  // a later release elsewhere is no click
  w->OnMessage(0, GUIMSG_MOUSE_DOWN, reinterpret_cast<uintptr_t>(&down));
  w->OnMessage(0, GUIMSG_FOCUS_LOST, 0);
  EXPECT_FALSE(w->IsButtonPressed(&up));
}

TEST(Widget, KeyTextsCarryTheirModifiers) {
  struct Case {
    uint8_t code;
    uint8_t modifiers;
    const char* text;
  };
  const Case cases[] = {
      {16, eKeyMod_LeftCtrl | eKeyMod_RightAlt, "lctrl-ralt-q"},
      {16, eKeyMod_LeftCtrl | eKeyMod_RightCtrl, "lctrl-q"},
      {28, eKeyMod_RightCtrl | eKeyMod_LeftAlt | eKeyMod_RightAlt, "rctrl-lalt-RET"},
      {30, eKeyMod_LeftShift | eKeyMod_CapsLock, "a"},
      {200, 0, "uparrow"},
      {199, 0, "ERROR_UNKNOWN_KEY"},
  };
  for (const Case& c : cases) {
    KeyboardPacket p;
    p.scanCode = c.code;
    p.modifiers = c.modifiers;
    EXPECT_EQ(GUIKeyText(p), c.text);
  }
}

TEST(Widget, KeyEventsFireWithTheKeyText) {
  Kit kit;
  auto* rec = kit.AddRecorder("Rec");
  auto* w = kit.Make<GUIStatic>(GUIKIND_STATIC, "w", nullptr, 0, 0, 0);
  w->BindAction("keydown", "Rec", "Console");
  w->BindAction("KeyUp", "Rec", "");
  KeyboardPacket p;
  p.scanCode = 28;
  EXPECT_TRUE(w->OnMessage(0, GUIMSG_KEYDOWN, reinterpret_cast<uintptr_t>(&p)));
  p.modifiers = eKeyMod_LeftCtrl;
  EXPECT_TRUE(w->OnMessage(0, GUIMSG_KEYUP, reinterpret_cast<uintptr_t>(&p)));
  EXPECT_EQ(rec->log, (std::vector<std::string>{"w|Console|RET", "w|lctrl-RET"}));
}

TEST(Widget, BoundsFollowThePivotAndThePlaneModelIsNamedAfterIt) {
  Kit kit;
  struct Case {
    uint8_t pivot;
    bool add;
    float x, y;
    const char* model;
  };
  const Case cases[] = {
      {GUIPIVOT_UL, false, 0, 0, "polymesh_planeUL_w"},   {GUIPIVOT_UR, false, 4, 0, "polymesh_planeUR_w"},
      {GUIPIVOT_LR, false, 4, -2, "polymesh_planeLR_w"},  {GUIPIVOT_LL, false, 0, -2, "polymesh_planeLL_w"},
      {GUIPIVOT_CC, false, 2, -1, "polymesh_planeCC_w"},  {7, false, 1, 1, "w"},
      {GUIPIVOT_LR, true, 5, -1, "polymesh_planeLR_w"},   {GUIPIVOT_CC, true, 3, 0, "polymesh_planeCC_w"},
  };
  for (const Case& c : cases) {
    GUIStatic w(&kit.manager);
    w.SetGUI(&kit.gui);
    w.SetName("w");
    w.SetWidth(4.0f);
    w.SetHeight(2.0f);
    w.SetOrigin(1.0f, 1.0f, 3.0f, false);
    w.SetPivot(c.pivot);
    w.SetAddPivotOffset(c.add ? 1 : 0);
    w.Initialize();
    EXPECT_FLOAT_EQ(w.GetOriginX(), c.x) << int(c.pivot) << c.add;
    EXPECT_FLOAT_EQ(w.GetOriginY(), c.y) << int(c.pivot) << c.add;
    EXPECT_FLOAT_EQ(w.GetOriginZ(), 0.0f);
    EXPECT_EQ(kit.renderer.requests.back(), (fake3d::Request{"model", 96, c.model}));
  }
}

}  // namespace
