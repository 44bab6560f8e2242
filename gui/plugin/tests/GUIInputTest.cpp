// Packets through the real input-socket manager with the GUI's socket first:
// hover order, press, drag, click against mouse-up, the cursor's messages,
// key events with repeat, and a modal scene holding all input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/entity/InputSocketManager.h"
#include "engine/math/CameraView.h"
#include "gui/core/WidgetMessages.h"
#include "gui/core/actions/GUIActions.h"
#include "gui/core/tests/GUITestKit.h"
#include "gui/plugin/GUIInputSocket.h"

namespace {

using guitest::GameSocket;
using guitest::Kit;


// The game's cursor: an entity and a socket; logs the GUI's 32 and 33.
class Cursor : public cEntity_Base, public GameSocket {
 public:
  Cursor() : cEntity_Base(nullptr, 2) {}
  bool OnMessage(uintptr_t, uint32_t code, uintptr_t) override {
    log.push_back(code);
    return true;
  }
  std::vector<uint32_t> log;
};

class Repeater : public GA_MessageRepeater {
 public:
  Repeater() = default;
  CoreStatus Execute(cEntity_Base*, uintptr_t, const std::string&) override { return status::Ok; }
  void Start(GUIEntity* entity, std::unique_ptr<MessageRepeatRecord> record) override {
    log.push_back("start " + entity->GetName() + " " + std::to_string(record->message) + " " +
                  std::to_string(record->packet->scanCode) + " " + std::to_string(record->period) + " " +
                  std::to_string(record->countdown));
  }
  void Stop(GUIEntity* entity, uint32_t message) override {
    log.push_back("stop " + (entity ? entity->GetName() : std::string("none")) + " " + std::to_string(message));
  }
  std::vector<std::string> log;
};

class GUIInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Orthographic picking: 20 x 15 units over 800 x 600 pixels, x = px / 40 - 10, y = 7.5 - py / 40.
    CameraView* view = kit.gui.GetCamera();
    view->perspective = false;
    view->focalDistance = 10.0f;
    view->fieldOfView = 2.0f * std::atan(1.0f);
    kit.gui.UpdateCamera();
    rec = kit.AddRecorder("Rec");
    a = kit.Make<GUIStatic>(GUIKIND_STATIC, "A", nullptr, -8, 5, 0, 4, 4);
    b = kit.Make<GUIStatic>(GUIKIND_STATIC, "B", nullptr, 2, 5, 0, 4, 4);
    for (GUIStatic* w : {a, b}) {
      for (const char* word : {"mouseover_enter", "mouseover_exit", "mouse0_down", "mouse0_up", "mouse0_click",
                               "mouse0_drag", "keydown", "keyup", "focus_gain", "focus_lost"}) {
        w->BindAction(word, "Rec", word);
      }
    }
    manager.AddMouseSocket(kit.gui.GetInputSocket());
    manager.AddKeySocket(kit.gui.GetInputSocket());
    manager.AddMouseSocket(&game);
    manager.AddKeySocket(&game);
    kit.gui.SetCursorSocket(&cursor);
  }
  void Mouse(int x, int y, uint8_t pressed = 0, uint8_t held = 0, uint8_t released = 0) {
    MousePacket p;
    p.x = x;
    p.y = y;
    p.pressed = pressed;
    p.held = held;
    p.released = released;
    manager.OnMousePacket(&p);
  }
  void Key(uint8_t code, uint32_t released, uint8_t modifiers = 0) {
    KeyboardPacket p;
    p.scanCode = code;
    p.released = released;
    p.modifiers = modifiers;
    manager.OnKeyPacket(&p);
  }
  std::vector<std::string> Take() { return std::exchange(rec->log, {}); }

  static constexpr int kAX = 160, kBX = 560, kY = 180, kOffX = 400, kOffY = 500;
  Kit kit;
  cCore_Base_InputMGR manager;
  GameSocket game;
  Cursor cursor;
  guitest::Recorder* rec = nullptr;
  GUIStatic* a = nullptr;
  GUIStatic* b = nullptr;
};

TEST_F(GUIInputTest, HoverPressDragAndClickAgainstMouseUp) {
  Mouse(kAX, kY);
  EXPECT_EQ(Take(), (std::vector<std::string>{"A|mouseover_enter"}));
  EXPECT_EQ(cursor.log, (std::vector<uint32_t>{GUIMSG_POINTER_IN}));
  EXPECT_EQ(game.mouse, 0);  // taken by the GUI
  EXPECT_EQ(kit.gui.GetCursorX(), kAX);

  Mouse(kAX, kY, 1);
  EXPECT_EQ(Take(), (std::vector<std::string>{"A|focus_gain", "A|mouse0_down"}));
  EXPECT_EQ(kit.gui.GetFocus(), a);
  Mouse(kAX, kY, 0, 0, 1);
  EXPECT_EQ(Take(), (std::vector<std::string>{"A|mouse0_click"}));

  // A to B: exit before enter.
  Mouse(kBX, kY);
  EXPECT_EQ(Take(), (std::vector<std::string>{"A|mouseover_exit", "B|mouseover_enter"}));
  // Pressed on B, dragged onto A: B keeps the hover and the drag.
  Mouse(kBX, kY, 1);
  Take();
  Mouse(kAX, kY, 0, 1);
  EXPECT_EQ(Take(), (std::vector<std::string>{"B|mouse0_drag"}));
  EXPECT_EQ(kit.gui.GetHoverEntity(), b);
  // Dragged off every widget: the drag goes on to B.
  Mouse(kOffX, kOffY, 0, 1);
  EXPECT_EQ(Take(), (std::vector<std::string>{"B|mouse0_drag"}));
  Mouse(kBX, kY, 0, 0, 1);
  EXPECT_EQ(Take(), (std::vector<std::string>{"B|mouse0_click"}));
  // A release on B of a press made elsewhere is a mouse-up, not a click.
  Mouse(kBX, kY, 0, 0, 1);
  EXPECT_EQ(Take(), (std::vector<std::string>{"B|mouse0_up"}));
  // Off every widget: 33 to the cursor, exit to B; the game gets the packet.
  Mouse(kOffX, kOffY);
  EXPECT_EQ(Take(), (std::vector<std::string>{"B|mouseover_exit"}));
  EXPECT_EQ(cursor.log.back(), GUIMSG_POINTER_OUT);
  EXPECT_EQ(kit.gui.GetHoverEntity(), nullptr);
  Mouse(kOffX, kOffY);
  EXPECT_EQ(game.mouse, 2);
}

TEST_F(GUIInputTest, KeysGoToTheFocusAndRepeatUntilReleased) {
  Repeater repeater;
  Key(28, 0);  // no focus: left to the game
  EXPECT_EQ(game.keys, 1);
  kit.gui.SetFocus(a);
  Take();
  Key(16, 0, eKeyMod_LeftCtrl);
  Key(16, 1, eKeyMod_LeftCtrl);
  EXPECT_EQ(Take(), (std::vector<std::string>{"A|keydown|lctrl-q", "A|keyup|lctrl-q"}));
  EXPECT_EQ(repeater.log, (std::vector<std::string>{"start A 27 16 0.100000 0.500000", "stop A 27"}));
  EXPECT_EQ(game.keys, 1);
}

TEST_F(GUIInputTest, AModalSceneHoldsAllInput) {
  auto* scene = kit.Make<GUIScene>(GUIKIND_SCENE, "scnModal", nullptr, -10, 7.5f, 1, 20, 15);
  auto* ok = kit.Make<GUIStatic>(GUIKIND_STATIC, "Ok", scene, 2, -2.5f, 0, 4, 4);
  ok->BindAction("mouseover_enter", "Rec", "");
  kit.gui.PushModalScene("scnModal");
  Mouse(kAX, kY);  // over A too, but only the modal scene's tree is picked
  EXPECT_EQ(Take(), (std::vector<std::string>{"Ok|"}));
  Mouse(kOffX, kOffY);
  Key(28, 0);
  EXPECT_EQ(game.mouse, 0);
  EXPECT_EQ(game.keys, 0);
  Mouse(kAX, kY);
  kit.gui.PopModalScene("scnModal");
  Mouse(kOffX, kOffY);
  EXPECT_EQ(game.mouse, 1);
}

}  // namespace

namespace {

// The state shaders by name, the shader the button shows after each packet.
TEST_F(GUIInputTest, ButtonStatesAndSoundsFollowThePointer) {
  const char* shaders[] = {nullptr, "over", "active", "default", "disabled"};
  auto* button = kit.Make<GUIButton>(GUIKIND_BUTTON, "btnOk", nullptr, -8, -1, 0, 4, 4, [&](GUIButton* b) {
    for (int s = 1; s < kButtonStates; ++s) {
      C3DBaseShader* shader = kit.renderer.CreateShader(0, shaders[s]);
      b->SetStateShader(s, shader);
      shader->Release();  // the button holds its own reference
    }
  });
  button->SetHoverSound("hover.wav", true);
  button->SetClickSound("click.wav", true);
  ASSERT_TRUE(button->CreateCaption());
  C3DModel* own = button->GetModel();
  const auto shown = [&]() { return button->GetShader() ? button->GetShader()->GetName() : std::string("none"); };
  // Button centre (-6, -3) in pixels.
  const int bx = 160, by = 420;
  Mouse(bx, by);
  EXPECT_EQ(shown(), "over");
  EXPECT_NE(button->GetModel(), own);  // the state's plane model
  Mouse(bx, by, 1);
  EXPECT_EQ(shown(), "active");
  Mouse(bx, by, 0, 0, 1);
  EXPECT_EQ(shown(), "over");
  Mouse(kOffX, kOffY);
  EXPECT_EQ(shown(), "none");  // normal: no state shader
  EXPECT_EQ(button->GetModel(), own);
  EXPECT_EQ(kit.sound.log, (std::vector<std::string>{"volume hover.wav 1.000000", "play hover.wav once",
                                                      "volume click.wav 1.000000", "play click.wav once"}));
  button->SetEnabled(0);
  EXPECT_EQ(shown(), "disabled");
  Mouse(bx, by);  // a disabled button is not picked
  EXPECT_EQ(kit.gui.GetHoverEntity(), nullptr);
  EXPECT_EQ(button->GetCaption()->GetName(), "Button btnOk's caption");
  EXPECT_EQ(button->GetCaption()->GetText(), "Caption message");
  EXPECT_EQ(button->GetCaption()->GetTextAlign(), GUIALIGN_CENTRE);
}

TEST_F(GUIInputTest, ARadioGroupKeepsOneBoxCheckedAndRaisesOnlyForTheClickedOne) {
  auto* group = kit.Make<GUIGroup>(GUIKIND_GROUP, "grp", nullptr, -10, 7.5f, 0.5f, 20, 15);
  auto* first = kit.Make<GUICheckBox>(GUIKIND_CHECKBOX, "chkFirst", group, 2, -2.5f, 0.1f, 4, 4);   // over A
  auto* second = kit.Make<GUICheckBox>(GUIKIND_CHECKBOX, "chkSecond", group, 12, -2.5f, 0.1f, 4, 4);  // over B
  for (GUICheckBox* box : {first, second}) {
    box->BindAction("cb_checked", "Rec", "on");
    box->BindAction("cb_unchecked", "Rec", "off");
  }
  first->SetChecked(true);  // raises nothing
  EXPECT_TRUE(Take().empty());
  Mouse(kAX, kY, 1);  // clicking the checked box keeps it checked, silently
  EXPECT_TRUE(first->IsChecked());
  Mouse(kBX, kY);
  Take();
  Mouse(kBX, kY, 1);
  EXPECT_FALSE(first->IsChecked());
  EXPECT_TRUE(second->IsChecked());
  std::vector<std::string> log = Take();
  EXPECT_EQ(std::count(log.begin(), log.end(), "chkSecond|on"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "chkFirst|off"), 0);
  // Outside a group a box toggles both ways.
  auto* lone = kit.Make<GUICheckBox>(GUIKIND_CHECKBOX, "chkLone", nullptr, 0, 0, 0);
  lone->BindAction("cb_unchecked", "Rec", "off");
  EXPECT_TRUE(lone->Toggle());
  EXPECT_FALSE(lone->Toggle());
  EXPECT_EQ(Take(), (std::vector<std::string>{"chkLone|off"}));
}

TEST_F(GUIInputTest, FocusMovesByClick) {
  Mouse(kAX, kY, 1);
  EXPECT_EQ(kit.gui.GetFocus(), a);
  Mouse(kBX, kY, 0, 0, 1);
  Mouse(kBX, kY, 1);
  EXPECT_EQ(kit.gui.GetFocus(), b);
  std::vector<std::string> log = Take();
  EXPECT_NE(std::find(log.begin(), log.end(), "A|focus_lost"), log.end());
}

}  // namespace
