// A description file with a widget of every kind, loaded through the real
// keyword languages and command package, then driven through the real
// input-socket manager and GUI::Update on a test clock.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/config/CoreLanguage.h"
#include "engine/entity/InputSocketManager.h"
#include "engine/math/CameraView.h"
#include "gui/core/GUIDropDownLB.h"
#include "gui/core/GUIListBox.h"
#include "gui/core/GUIScrollBar.h"
#include "gui/core/GUISlider.h"
#include "gui/core/GUISpin.h"
#include "gui/core/WidgetMessages.h"
#include "gui/core/actions/GUIActions.h"
#include "gui/core/tests/GUITestKit.h"
#include "gui/plugin/GUIInputSocket.h"

namespace {

using guitest::GameSocket;
using guitest::Kit;


struct Pixel {
  int x = -1;
  int y = -1;
};

class GUIScreenFile : public ::testing::Test {
 protected:
  GUIScreenFile() : kit(false) {}

  void SetUp() override {
    kit.AddGUIActions();
    rec = kit.AddRecorder("Rec");
    languageBefore = kit.languages.GetCurrentLanguage();
    depthBefore = kit.languages.GetStackDepth();
    ASSERT_TRUE(kit.gui.LoadGUIFile(std::string(GUI_TEST_DATA) + "screen.gui"));
    kit.gui.ResetInputState();
    input.AddMouseSocket(kit.gui.GetInputSocket());
    input.AddKeySocket(kit.gui.GetInputSocket());
    input.AddMouseSocket(&game);
    input.AddKeySocket(&game);
  }

  template <typename T>
  T* Find(const char* name) {
    auto* found = dynamic_cast<T*>(kit.gui.FindEntity(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }

  // A pixel where the pointer picks exactly this entity.
  Pixel Over(GUIEntity* entity) {
    for (int y = 2; y < 600; y += 4) {
      for (int x = 2; x < 800; x += 4) {
        MousePacket p;
        p.x = x;
        p.y = y;
        if (kit.gui.PickOrthographic(kit.gui.GetWorld(), &p) == entity) return {x, y};
      }
    }
    ADD_FAILURE() << "no pixel over " << entity->GetName();
    return {};
  }

  void Mouse(Pixel at, uint8_t pressed = 0, uint8_t held = 0, uint8_t released = 0) {
    MousePacket p;
    p.x = at.x;
    p.y = at.y;
    p.pressed = pressed;
    p.held = held;
    p.released = released;
    input.OnMousePacket(&p);
  }
  void Click(Pixel at) {
    Mouse(at);
    Mouse(at, 1);
    Mouse(at, 0, 0, 1);
  }
  void Key(uint8_t code, uint32_t released = 0, uint8_t modifiers = 0) {
    KeyboardPacket p;
    p.scanCode = code;
    p.released = released;
    p.modifiers = modifiers;
    input.OnKeyPacket(&p);
  }
  // One frame: the GUI's timed actions, then the entities' own updates.
  void Frame(float seconds) {
    kit.gui.Update(seconds);
    kit.manager.Update(seconds);
  }
  std::vector<std::string> Take() { return std::exchange(rec->log, {}); }

  Kit kit;
  cCore_Base_InputMGR input;
  GameSocket game;
  guitest::Recorder* rec = nullptr;
  CoreLanguage* languageBefore = nullptr;
  size_t depthBefore = 0;
};

TEST_F(GUIScreenFile, BuildsTheTreeAndLeavesTheLanguagesAsTheyWere) {
  GUIWorld* world = kit.gui.GetWorld();
  ASSERT_NE(world, nullptr);
  EXPECT_EQ(world->GetName(), "TheWorld");
  struct Case {
    const char* name;
    int32_t kind;
    const char* parent;
  };
  const Case cases[] = {
      {"scnMain", GUIKIND_SCENE, "TheWorld"},     {"btnOk", GUIKIND_BUTTON, "scnMain"},
      {"grpChoice", GUIKIND_GROUP, "scnMain"},    {"chkA", GUIKIND_CHECKBOX, "grpChoice"},
      {"chkB", GUIKIND_CHECKBOX, "grpChoice"},    {"lbItems", GUIKIND_LISTBOX, "scnMain"},
      {"sbTest", GUIKIND_SCROLLBAR, "scnMain"},   {"stVol", GUIKIND_STATICTEXT, "scnMain"},
      {"sldVol", GUIKIND_SLIDER, "scnMain"},      {"tbNum", GUIKIND_TEXTBOX, "scnMain"},
      {"spnNum", GUIKIND_SPIN, "scnMain"},        {"tbName", GUIKIND_TEXTBOX, "scnMain"},
      {"ddCity", GUIKIND_DROPDOWN, "scnMain"},    {"pbLoad", GUIKIND_PROGRESSBAR, "scnMain"},
      {"mltbInfo", GUIKIND_MLTEXTBOX, "scnMain"}, {"stcPic", GUIKIND_STATIC, "scnMain"},
      {"btnSeq", GUIKIND_BUTTON, "scnMain"},      {"btnOpen", GUIKIND_BUTTON, "scnMain"},
      {"scnDialog", GUIKIND_SCENE, "TheWorld"},   {"btnClose", GUIKIND_BUTTON, "scnDialog"},
      {"ListBox lbItems's scrollbar", GUIKIND_SCROLLBAR, "lbItems"},
      {"Dropdown ddCity's listbox", GUIKIND_LISTBOX, "ddCity"},
  };
  for (const Case& c : cases) {
    GUIEntity* entity = kit.gui.FindEntity(c.name);
    ASSERT_NE(entity, nullptr) << c.name;
    EXPECT_EQ(static_cast<int32_t>(entity->GetKind()), c.kind) << c.name;
    ASSERT_NE(entity->GetParent(), nullptr) << c.name;
    EXPECT_EQ(entity->GetParent()->GetName(), c.parent) << c.name;
  }
  EXPECT_EQ(kit.languages.GetCurrentLanguage(), languageBefore);
  EXPECT_EQ(kit.languages.GetStackDepth(), depthBefore);
  EXPECT_EQ(kit.gui.GetParser()->GetParentDepth(), 0u);
  EXPECT_EQ(kit.gui.GetParser()->GetCurrent(), world);

  // Settings that reached their widgets.
  EXPECT_EQ(world->GetBeginColour(), 0x800000FFu);
  EXPECT_EQ(world->GetPrepareColour(), 0xFF00FF00u);
  EXPECT_FALSE(kit.gui.GetCamera()->perspective);
  EXPECT_FLOAT_EQ(kit.gui.GetCamera()->farPlane, 2000.0f);
  auto* list = Find<GUIListBox>("lbItems");
  EXPECT_EQ(list->GetLineCount(), 6);
  EXPECT_EQ(list->LineWidgets().size(), 4u);
  EXPECT_EQ(list->GetActionPrefix(), "load");
  EXPECT_EQ(list->GetActionSuffix(), "now");
  EXPECT_EQ(Find<GUISlider>("sldVol")->GetMax(), 100);
  EXPECT_EQ(Find<GUISpin>("spnNum")->GetTarget(), Find<GUITextBox>("tbNum"));
  EXPECT_EQ(Find<GUIDropDownLB>("ddCity")->GetListBox()->GetLineCount(), 3);
  EXPECT_TRUE(Find<GUICheckBox>("chkB")->IsChecked());
  EXPECT_EQ(Find<GUIButton>("btnOk")->GetCaption()->GetText(), "O K");
  EXPECT_EQ(Find<GUIProgressBar>("pbLoad")->GetStatusText(), "Loading");
}

TEST_F(GUIScreenFile, ButtonStatesCaptionFontsClickSoundAndRadioGroup) {
  auto* ok = Find<GUIButton>("btnOk");
  const Pixel at = Over(ok);
  Mouse(at);
  EXPECT_EQ(ok->GetShader()->GetName(), "res/btnhover.bmp");
  EXPECT_EQ(ok->GetCaption()->GetFont(), kit.gui.GetWorld()->GetFont2());
  Mouse(at, 1);
  EXPECT_EQ(ok->GetShader()->GetName(), "res/btndown.bmp");
  EXPECT_EQ(ok->GetCaption()->GetFont(), kit.gui.GetWorld()->GetFont3());
  kit.sound.log.clear();
  Mouse(at, 0, 0, 1);
  EXPECT_EQ(Take(), (std::vector<std::string>{"btnOk|ok pressed"}));
  ASSERT_FALSE(kit.sound.log.empty());
  EXPECT_EQ(kit.sound.log.back(), "play sounds/ok.wav once");

  auto* a = Find<GUICheckBox>("chkA");
  auto* b = Find<GUICheckBox>("chkB");
  Click(Over(a));
  EXPECT_TRUE(a->IsChecked());
  EXPECT_FALSE(b->IsChecked());
  EXPECT_EQ(Take(), (std::vector<std::string>{"chkA|a on"}));
}

TEST_F(GUIScreenFile, ListBoxClickRunsTheBoundActionWithPrefixLineAndSuffix) {
  auto* list = Find<GUIListBox>("lbItems");
  Click(Over(list->LineWidgets()[1]));
  EXPECT_EQ(list->GetSelection(), 1);
  EXPECT_EQ(list->GetSelectedText(), "Beta");
  EXPECT_EQ(Take(), (std::vector<std::string>{"lbItems|load Beta now"}));
  EXPECT_TRUE(list->GetHighlight()->IsVisible());
}

TEST_F(GUIScreenFile, ScrollBarHeldRepeatsAfterHalfASecondThenQuickly) {
  auto* bar = Find<GUIScrollBar>("sbTest");
  const Pixel up = Over(bar->GetIncreaseButton());
  const int start = bar->GetValue();
  Mouse(up);
  Mouse(up, 1);
  EXPECT_EQ(bar->GetValue(), start + 1);
  EXPECT_EQ(Take(), (std::vector<std::string>{"sbTest|sb up"}));
  Frame(0.4f);
  EXPECT_EQ(bar->GetValue(), start + 1);
  Frame(0.2f);
  EXPECT_EQ(bar->GetValue(), start + 2);
  Frame(0.04f);
  EXPECT_EQ(bar->GetValue(), start + 3);
  Mouse(up, 0, 0, 1);
  Frame(1.0f);
  EXPECT_EQ(bar->GetValue(), start + 3);
}

TEST_F(GUIScreenFile, SliderClickAndDragShowTheValueOnItsDisplay) {
  auto* slider = Find<GUISlider>("sldVol");
  auto* display = Find<GUIStaticText>("stVol");
  const Pixel any = Over(slider);
  // Scene x of the slider runs 1 .. 11: the middle is pixel 240.
  Mouse({240, any.y});
  Mouse({240, any.y}, 1);
  EXPECT_EQ(slider->GetValue(), 50);
  EXPECT_EQ(display->GetText(), "50");
  Mouse({400, any.y}, 0, 1);  // fraction 0.9: the end of the track
  EXPECT_EQ(slider->GetValue(), 100);
  EXPECT_EQ(display->GetText(), "100");
  Mouse({400, any.y}, 0, 0, 1);
}

TEST_F(GUIScreenFile, SpinCountsItsTargetTextBox) {
  auto* spin = Find<GUISpin>("spnNum");
  auto* box = Find<GUITextBox>("tbNum");
  Click(Over(spin->GetIncreaseButton()));
  EXPECT_EQ(box->GetText(), "1");  // "abc" counts as 0
  Click(Over(spin->GetDecreaseButton()));
  Click(Over(spin->GetDecreaseButton()));
  EXPECT_EQ(box->GetText(), "-1");
}

TEST_F(GUIScreenFile, DropDownOpensOnItsArrowAndClosesOnAChoice) {
  auto* drop = Find<GUIDropDownLB>("ddCity");
  GUIListBox* list = drop->GetListBox();
  EXPECT_EQ(drop->GetSelectionText(), "Make a selection");
  EXPECT_FALSE(list->IsVisible());
  Click(Over(drop->GetArrowButton()));
  EXPECT_TRUE(list->IsVisible());
  Click(Over(list->LineWidgets()[2]));
  EXPECT_FALSE(list->IsVisible());
  EXPECT_EQ(list->GetSelection(), 2);
  EXPECT_EQ(drop->GetSelectionText(), "Oslo");
  EXPECT_EQ(Take(), (std::vector<std::string>{"Dropdown ddCity's listbox|city Oslo"}));
}

TEST_F(GUIScreenFile, TypingIntoAFocusedTextBoxAndAHeldKeyRepeating) {
  auto* box = Find<GUITextBox>("tbName");
  Click(Over(box));
  EXPECT_EQ(kit.gui.GetFocus(), box);
  Key(35);  // h
  Key(35, 1);
  Key(23, 0, 4);  // I with Shift
  EXPECT_EQ(box->GetText(), "hI");
  Frame(0.45f);
  EXPECT_EQ(box->GetText(), "hI");
  Frame(0.1f);  // first repeat half a second after the key went down
  EXPECT_EQ(box->GetText(), "hII");
  Frame(0.1f);
  EXPECT_EQ(box->GetText(), "hIII");
  Key(23, 1, 4);
  Frame(1.0f);
  EXPECT_EQ(box->GetText(), "hIII");
  EXPECT_EQ(game.keys, 2);  // only the two releases, which no widget takes
}

TEST_F(GUIScreenFile, SequenceMovesAcrossFramesThenHides) {
  auto* seq = Find<GUIButton>("btnSeq");
  const float y0 = seq->GetPositionY();
  Click(Over(seq));
  EXPECT_TRUE(seq->IsMultiActionPending());
  Frame(0.25f);
  EXPECT_FLOAT_EQ(seq->GetPositionY(), y0 + 0.5f);
  EXPECT_TRUE(seq->IsVisible());
  Frame(0.25f);
  Frame(0.25f);  // arrived in the frame before: the hide runs when it arrives
  EXPECT_FLOAT_EQ(seq->GetPositionY(), y0 + 1.0f);
  EXPECT_FALSE(seq->IsVisible());
  EXPECT_FALSE(seq->IsMultiActionPending());
}

TEST_F(GUIScreenFile, ModalSceneSwallowsInputUntilClosed) {
  auto* ok = Find<GUIButton>("btnOk");
  const Pixel okAt = Over(ok);
  const Pixel closeAt = Over(Find<GUIButton>("btnClose"));
  Click(Over(Find<GUIButton>("btnOpen")));
  ASSERT_EQ(kit.gui.GetModalScenes().size(), 1u);
  Take();
  const int gameBefore = game.mouse;
  Click(okAt);
  EXPECT_TRUE(Take().empty());
  EXPECT_EQ(game.mouse, gameBefore);  // held by the modal scene
  Click(closeAt);
  EXPECT_TRUE(kit.gui.GetModalScenes().empty());
  Click(okAt);
  EXPECT_EQ(Take(), (std::vector<std::string>{"btnOk|ok pressed"}));
}

TEST_F(GUIScreenFile, TooltipShowsAfterItsDelayUntilThePointerLeaves) {
  auto* pic = Find<GUIStatic>("stcPic");
  ASSERT_TRUE(pic->HasTooltip());
  Mouse(Over(pic));
  Frame(0.3f);
  EXPECT_FALSE(pic->GetTooltip()->IsVisible());
  Frame(0.3f);
  EXPECT_TRUE(pic->GetTooltip()->IsVisible());
  Frame(100.0f);  // the duration is "until the pointer leaves"
  EXPECT_TRUE(pic->GetTooltip()->IsVisible());
  Mouse({790, 590});
  EXPECT_FALSE(pic->GetTooltip()->IsVisible());
}

}  // namespace
