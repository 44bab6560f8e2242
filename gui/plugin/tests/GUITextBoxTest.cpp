// Typing into a text box through the real input-socket manager: focus by
// click, Shift and Caps Lock, selection, cut, copy and paste, Home and End,
// and the exact texts the bound action receives.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/entity/InputSocketManager.h"
#include "engine/math/CameraView.h"
#include "gui/core/WidgetMessages.h"
#include "gui/core/tests/GUITestKit.h"
#include "gui/plugin/GUIInputSocket.h"

namespace {

using guitest::Kit;

constexpr uint8_t kShift = eKeyMod_LeftShift;
constexpr uint8_t kCtrl = eKeyMod_LeftCtrl;
constexpr uint8_t kCaps = eKeyMod_CapsLock;

class GUITextBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CameraView* view = kit.gui.GetCamera();
    view->perspective = false;
    view->focalDistance = 10.0f;
    view->fieldOfView = 2.0f * std::atan(1.0f);
    kit.gui.UpdateCamera();
    rec = kit.AddRecorder("Rec");
    // 8 units wide at (-8, -1); one character is 1 unit at text scale 0.1.
    box = kit.Make<GUITextBox>(GUIKIND_TEXTBOX, "tbLine0", nullptr, -8, -1, 0, 8, 2, [](GUITextBox* b) {
      ASSERT_TRUE(b->CreateTextWidget());
      ASSERT_TRUE(b->CreateCaret());
      b->SetTextScale(0.1f, 0.1f, 1.0f, true);
      b->SetText("", false);
    });
    box->BindAction("tb_updated", "Rec", "Console");
    box->BindAction("keydown", "Rec", "Console");
    manager.AddMouseSocket(kit.gui.GetInputSocket());
    manager.AddKeySocket(kit.gui.GetInputSocket());
  }
  void Mouse(int x, int y, uint8_t pressed) {
    MousePacket p;
    p.x = x;
    p.y = y;
    p.pressed = pressed;
    manager.OnMousePacket(&p);
  }
  void Key(uint8_t code, uint8_t modifiers) {
    KeyboardPacket p;
    p.scanCode = code;
    p.modifiers = modifiers;
    manager.OnKeyPacket(&p);
    p.released = 1;
    manager.OnKeyPacket(&p);
  }
  std::vector<std::string> Take() { return std::exchange(rec->log, {}); }

  Kit kit;
  cCore_Base_InputMGR manager;
  guitest::Recorder* rec = nullptr;
  GUITextBox* box = nullptr;
};

TEST_F(GUITextBoxTest, TypingAndEditingKeys) {
  // Click into the box, 2.5 characters from its left edge: focus, caret 0
  // (the text is empty).
  Mouse(160 - 60, 60 * 1 + 340, 0);
  Mouse(100, 400, 1);
  ASSERT_EQ(kit.gui.GetFocus(), box);
  Take();

  struct Step {
    const char* name;
    uint8_t code;
    uint8_t modifiers;
    const char* text;
    int32_t caret;
    int32_t selection;  // selection length
    const char* clipboard;
  };
  const Step steps[] = {
      {"shifted letter", 35, kShift, "H", 1, 0, ""},
      {"plain letter", 23, 0, "Hi", 2, 0, ""},
      {"caps lock and shift on a digit", 2, kCaps | kShift, "Hi!", 3, 0, ""},
      {"caps lock letter", 30, kCaps, "Hi!A", 4, 0, ""},
      {"backspace", 14, 0, "Hi!", 3, 0, ""},
      {"home", 199, 0, "Hi!", 0, 0, ""},
      {"shift sets the anchor", 42, kShift, "Hi!", 0, 0, ""},
      {"shift end selects all", 207, kShift, "Hi!", 3, 3, ""},
      {"copy", 46, kCtrl, "Hi!", 3, 3, "Hi!"},
      {"end clears", 207, 0, "Hi!", 3, 0, "Hi!"},
      {"paste", 47, kCtrl, "Hi!Hi!", 6, 0, "Hi!"},
      {"home again", 199, 0, "Hi!Hi!", 0, 0, "Hi!"},
      {"shift left at 0 stays at 0", 203, kShift, "Hi!Hi!", 0, 0, "Hi!"},
      {"shift", 42, kShift, "Hi!Hi!", 0, 0, "Hi!"},
      {"shift right", 205, kShift, "Hi!Hi!", 1, 1, "Hi!"},
      {"shift right again", 205, kShift, "Hi!Hi!", 2, 2, "Hi!"},
      {"cut", 45, kCtrl, "!Hi!", 0, 0, "Hi"},
      {"delete", 211, 0, "Hi!", 0, 0, "Hi"},
      {"right", 205, 0, "Hi!", 1, 0, "Hi"},
      {"ctrl with another key types nothing", 30, kCtrl, "Hi!", 1, 0, "Hi"},
  };
  for (const Step& s : steps) {
    Key(s.code, s.modifiers);
    EXPECT_EQ(box->GetText(), s.text) << s.name;
    EXPECT_EQ(box->GetCaretIndex(), s.caret) << s.name;
    EXPECT_EQ(box->GetSelectionLength(), s.selection) << s.name;
    EXPECT_EQ(box->GetClipboard(), s.clipboard) << s.name;
  }
  Take();
  // Enter is not consumed: it reaches the bound action as "keydown".
  Key(28, 0);
  EXPECT_EQ(Take(), (std::vector<std::string>{"tbLine0|Console|RET"}));
  // A typed key raises "tb_updated" once and no "keydown".
  Key(30, 0);
  EXPECT_EQ(Take(), (std::vector<std::string>{"tbLine0|Console"}));
  EXPECT_EQ(box->GetTextWidget()->GetText(), "Hai!");
  // Backspace at 0 without a selection changes nothing but still refreshes.
  Key(199, 0);
  Take();
  Key(14, 0);
  EXPECT_EQ(box->GetText(), "Hai!");
  EXPECT_EQ(Take(), (std::vector<std::string>{"tbLine0|Console"}));
}

TEST_F(GUITextBoxTest, SelectionShowsInTheTextWidgetAndPasteOfNothingDeletesIt) {
  box->SetText("abcdef", true);
  kit.gui.SetFocus(box);  // focus gain selects the whole text
  EXPECT_EQ(box->GetSelectionLength(), 6);
  EXPECT_EQ(box->GetTextWidget()->GetSelectionStart(), 0);
  EXPECT_EQ(box->GetTextWidget()->GetSelectionLength(), 6);
  Key(47, kCtrl);  // empty clipboard
  EXPECT_EQ(box->GetText(), "");
  EXPECT_EQ(box->GetCaretIndex(), 0);
}

TEST_F(GUITextBoxTest, SetTextKeepsCaretSelectionAndViewInsideTheText) {
  box->SetText("0123456789abcdefghij", true);
  kit.gui.SetFocus(box);
  Key(207, 0);  // End: the view scrolls so that the caret stays inside
  EXPECT_EQ(box->GetCaretIndex(), 20);
  EXPECT_GT(box->GetFirstVisible(), 0);
  EXPECT_LT(box->GetTextWidget()->MeasureWidth(box->GetShownText()) * 0.1f, 8.0f);
  Key(42, kShift);
  Key(199, kShift);
  box->SetText("xyz", true);
  EXPECT_LE(box->GetCaretIndex(), 3);
  EXPECT_LE(box->GetFirstVisible(), 3);
  EXPECT_GE(box->GetAnchor() + box->GetSelectionLength(), 0);
  EXPECT_LE(box->GetAnchor(), 3);
  Key(14, 0);  // deleting the clamped selection stays inside the text
  EXPECT_LE(box->GetText().size(), 3u);
}

TEST_F(GUITextBoxTest, ReadOnlyFocusSelectsNothingAndTypesNothing) {
  box->SetText("fixed", true);
  box->SetReadOnly(1);
  kit.gui.SetFocus(box);
  EXPECT_EQ(box->GetSelectionLength(), 0);
  Key(30, 0);
  EXPECT_EQ(box->GetText(), "fixed");
}

TEST(KeyToCharacter, UsLayout) {
  struct Case {
    uint8_t code;
    bool shift, caps;
    uint8_t character;
  };
  const Case cases[] = {
      {2, false, false, '1'},  {2, true, false, '!'},  {2, false, true, '1'},  {11, true, false, ')'},
      {12, true, false, '_'},  {13, false, false, '='}, {16, false, false, 'q'}, {16, false, true, 'Q'},
      {16, true, true, 'Q'},   {26, true, false, '{'},  {30, true, false, 'A'}, {39, true, false, ':'},
      {40, true, false, '"'},  {43, true, false, '|'},  {50, false, false, 'm'}, {51, true, false, '<'},
      {53, true, false, '?'},  {55, true, false, '*'},  {57, false, false, ' '}, {74, true, false, '-'},
      {78, false, false, '+'}, {41, false, false, 255}, {28, false, false, 255}, {15, false, false, 255},
      {71, false, false, 255}, {181, false, false, 255}, {29, false, false, 255}, {0, false, false, 255},
  };
  for (const Case& c : cases) EXPECT_EQ(KeyToCharacter(c.code, c.shift, c.caps), c.character) << int(c.code);
  std::string s = "ac";
  EXPECT_EQ(InsertText(s, 1, "b"), 3u);
  EXPECT_EQ(InsertText(s, 99, "d"), 4u);
  EXPECT_EQ(InsertText(s, -5, ""), 4u);
  EXPECT_EQ(s, "abcd");
}

}  // namespace

namespace {

class GUIMLTextBoxTest : public GUITextBoxTest {
 protected:
  void SetUp() override {
    GUITextBoxTest::SetUp();
    // 12 units wide (a character is 1 unit at text scale 0.1), 3 lines in view.
    ml = kit.Make<GUIMLTextBox>(GUIKIND_MLTEXTBOX, "mltbText", nullptr, 2, -1, 0, 12, 0.3f, [](GUIMLTextBox* b) {
      ASSERT_TRUE(b->CreateTextWidget());
      ASSERT_TRUE(b->CreateCaret());
      b->SetTextScale(0.1f, 0.1f, 1.0f, true);
      b->SetText("", false);
    });
    ml->BindAction("keydown", "Rec", "ml");
  }
  GUIMLTextBox* ml = nullptr;
};

TEST_F(GUIMLTextBoxTest, WrapsAtWordsAndLineBreaksAndScrollsByLines) {
  ml->SetText("one two three four\nfive six", true);
  // "one two three " would be 14 wide: "three " starts a new line; "\n" breaks one.
  EXPECT_EQ(ml->Lines(), (std::vector<std::string>{"one two ", "three four ", "five six "}));
  EXPECT_EQ(ml->GetTextWidget()->GetText(), "one two \nthree four \nfive six ");
  EXPECT_FALSE(ml->HasMoreLinesBelow());
  ml->SetHeight(0.2f);
  ml->Refresh();
  EXPECT_EQ(ml->GetTextWidget()->GetText(), "one two \nthree four ");
  EXPECT_TRUE(ml->HasMoreLinesBelow());
  ml->OnMessage(0, GUIMSG_LINEDOWN, 0);
  EXPECT_EQ(ml->GetFirstLine(), 1);
  EXPECT_EQ(ml->GetTextWidget()->GetText(), "three four \nfive six ");
  ml->OnMessage(0, GUIMSG_LINEDOWN, 0);  // nothing more below
  EXPECT_EQ(ml->GetFirstLine(), 1);
  ml->OnMessage(0, GUIMSG_LINEUP, 0);
  ml->OnMessage(0, GUIMSG_LINEUP, 0);
  EXPECT_EQ(ml->GetFirstLine(), 0);
}

TEST_F(GUIMLTextBoxTest, ConsumedKeysStillRaiseKeydown) {
  ml->SetText("ab", true);
  kit.gui.SetFocus(ml);
  Take();
  Key(207, 0);  // End
  Key(30, kShift);
  EXPECT_EQ(ml->GetText(), "abA");
  EXPECT_EQ(Take(), (std::vector<std::string>{"mltbText|ml|ERROR_UNKNOWN_KEY", "mltbText|ml|a"}));
}

TEST_F(GUIMLTextBoxTest, AClickPicksTheLineAndColumn) {
  // Lines 0.1 high: the font's line height 1 at text scale 0.1.
  static_cast<fake3d::FakeFont*>(ml->GetFont())->lineHeight = 1.0f;
  ml->SetText("one two three four", true);
  // Second line ("three four "), between "th" and "ree": 2.4 units in, 0.15 down.
  ml->SetHitPoint(2.4f / 12.0f, 1.0f - 0.15f / 0.3f);
  MousePacket down;
  down.pressed = 1;
  ml->OnMessage(0, GUIMSG_MOUSE_DOWN, reinterpret_cast<uintptr_t>(&down));
  EXPECT_EQ(ml->GetCaretIndex(), 8 + 2);
}

}  // namespace

namespace {

TEST_F(GUIMLTextBoxTest, ShiftMovesTheAnchorButKeepsTheSelectionInsideTheText) {
  ml->SetText("abcdef", true);
  kit.gui.SetFocus(ml);
  Key(207, 0);        // End: caret 6
  Key(42, kShift);    // anchor 6
  Key(199, kShift);   // Shift+Home: selection back to the start (-6), caret 0
  Key(42, kShift);    // the anchor follows the caret to 0
  EXPECT_EQ(ml->GetAnchor(), 0);
  EXPECT_GE(ml->GetAnchor() + ml->GetSelectionLength(), 0);
  EXPECT_LE(ml->GetAnchor() + ml->GetSelectionLength(), 6);
}

}  // namespace

namespace {

// Six lines of one word, two in view.
class GUIMLTextBoxViewTest : public GUIMLTextBoxTest {
 protected:
  void SetUp() override {
    GUIMLTextBoxTest::SetUp();
    ml->SetHeight(0.2f);
    ml->SetText("aaaaaaaaa bbbbbbbbb ccccccccc ddddddddd eeeeeeeee fffffffff", true);
    kit.gui.SetFocus(ml);
  }
};

TEST_F(GUIMLTextBoxViewTest, LeftAtTheViewsStartMovesTheViewBackTenAndKeepsTheCaret) {
  ml->OnMessage(0, GUIMSG_LINEDOWN, 0);
  ml->OnMessage(0, GUIMSG_LINEDOWN, 0);
  ASSERT_EQ(ml->GetFirstLine(), 2);
  ml->SetCaretPosition(20);  // the start of "ccccccccc", the view's first character
  ml->Refresh();
  EXPECT_EQ(ml->GetCaretInView(), 0);
  Key(203, 0);
  EXPECT_EQ(ml->GetCaretIndex(), 20);
  EXPECT_EQ(ml->GetFirstLine(), 1);
  EXPECT_EQ(ml->GetCaretInView(), 10);
  Key(203, 0);  // no longer at the view's start: an ordinary step left
  EXPECT_EQ(ml->GetCaretIndex(), 19);
  EXPECT_EQ(ml->GetFirstLine(), 1);
}

TEST_F(GUIMLTextBoxViewTest, BackspaceAtTheViewsStartScrollsBackInsteadOfDeleting) {
  ml->OnMessage(0, GUIMSG_LINEDOWN, 0);
  ml->SetCaretPosition(10);
  ml->Refresh();
  const std::string before = ml->GetText();
  Key(14, 0);
  EXPECT_EQ(ml->GetText(), before);
  EXPECT_EQ(ml->GetFirstLine(), 0);
  Key(14, 0);  // inside the view now: deletes
  EXPECT_EQ(ml->GetText().size(), before.size() - 1);
}

TEST_F(GUIMLTextBoxViewTest, RightAtTheEndOfTheShownTextMovesTheViewOnAndHomeResetsIt) {
  ml->SetCaretPosition(19);  // after "bbbbbbbbb", the end of the shown text
  ml->Refresh();
  Key(205, 0);
  EXPECT_EQ(ml->GetCaretIndex(), 19);
  EXPECT_EQ(ml->GetFirstLine(), 1);
  Key(199, 0);
  EXPECT_EQ(ml->GetFirstLine(), 0);
  EXPECT_EQ(ml->GetCaretIndex(), 0);
}

}  // namespace

