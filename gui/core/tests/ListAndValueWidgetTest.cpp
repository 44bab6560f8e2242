// List boxes, drop-downs, sliders and scroll bars on their own: lines in
// view, selection and view clamping, the scroll bar showing and hiding,
// dropped lines destroyed, value placement and degenerate ranges.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "gui/core/GUIDropDownLB.h"
#include "gui/core/GUIListBox.h"
#include "gui/core/GUIScrollBar.h"
#include "gui/core/GUISlider.h"
#include "gui/core/GUISpin.h"
#include "gui/core/WidgetMessages.h"
#include "gui/core/tests/GUITestKit.h"

namespace {

using guitest::Kit;

// A list box as its creating command makes it: font, highlight, scroll bar.
GUIListBox* MakeList(Kit& kit, float height, float pitch = 1.0f) {
  return kit.Make<GUIListBox>(GUIKIND_LISTBOX, "list", nullptr, 0, 0, 0, 1, 1, [&](GUIListBox* list) {
    list->SetFont(kit.world->GetDefaultFont());
    EXPECT_TRUE(list->CreateHighlight());
    EXPECT_TRUE(list->CreateScrollBar());
    list->SetLineScale(1.0f, pitch, 1.0f);
    list->SetScale(8.0f, height, 1.0f, true);
  });
}

TEST(ListBox, LinesInViewFollowTheBoundsAndThePitch) {
  struct Case {
    const char* name;
    float height;
    float pitch;
    int lines;
    int shown;
  };
  const Case cases[] = {
      {"4.9 pitches show 4", 4.9f, 1.0f, 10, 4},
      {"fewer lines than room", 6.0f, 1.0f, 3, 3},
      {"half pitch doubles the room", 2.0f, 0.5f, 10, 4},
      {"no lines", 4.0f, 1.0f, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Kit kit;
    GUIListBox* list = MakeList(kit, c.height, c.pitch);
    for (int i = 0; i < c.lines; ++i) list->AddLine("line " + std::to_string(i));
    EXPECT_EQ(list->LinesInView(), c.shown);
    EXPECT_EQ(static_cast<int>(list->LineWidgets().size()), c.shown);
  }
}

TEST(ListBox, ScrollBarShowsWhenLinesOverflowAndHidesWhenCleared) {
  Kit kit;
  GUIListBox* list = MakeList(kit, 3.0f);
  GUIScrollBar* bar = list->GetScrollBar();
  ASSERT_NE(bar, nullptr);
  for (int i = 0; i < 3; ++i) list->AddLine("l" + std::to_string(i));
  EXPECT_FALSE(bar->IsVisible());
  EXPECT_FLOAT_EQ(list->GetListBounds()[2], 1.0f);
  list->AddLine("l3");
  EXPECT_TRUE(bar->IsVisible());
  EXPECT_FLOAT_EQ(list->GetListBounds()[2], 0.9f);  // narrowed by the buffer
  EXPECT_EQ(list->GetTopLine(), 0);
  EXPECT_EQ(bar->GetMax(), 1);
  EXPECT_EQ(bar->GetValue(), 1);  // at the first line the value is the maximum
  list->ClearLines();
  EXPECT_FALSE(bar->IsVisible());
  EXPECT_FLOAT_EQ(list->GetListBounds()[2], 1.0f);
  EXPECT_EQ(list->GetSelection(), -1);
}

TEST(ListBox, SelectionAndViewStayInsideTheLines) {
  Kit kit;
  GUIListBox* list = MakeList(kit, 3.0f);
  for (const char* line : {"a", "b", "c", "d", "e", "f"}) list->AddLine(line);
  struct Case {
    const char* name;
    int select;
    int selection;
    int top;
    bool highlight;
  };
  const Case cases[] = {
      {"beyond the last selects the last", 99, 5, 3, true},
      {"above the view scrolls up", 1, 1, 1, true},
      {"none hides the highlight and scrolls to the top", -5, -1, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    list->SetSelection(c.select);
    EXPECT_EQ(list->GetSelection(), c.selection);
    EXPECT_EQ(list->GetTopLine(), c.top);
    EXPECT_EQ(list->GetHighlight()->IsVisible(), c.highlight);
  }
  EXPECT_EQ(list->GetLine(-1), "");
  EXPECT_EQ(list->GetLine(6), "");
  EXPECT_EQ(list->FindLine("D"), 3);
  list->SetSelection(5);
  ASSERT_TRUE(list->RemoveLine(5));  // the selected last line: the one above is selected
  EXPECT_EQ(list->GetSelection(), 4);
  EXPECT_EQ(list->GetSelectedText(), "e");
  EXPECT_FALSE(list->RemoveLine(5));
  list->SetTopLine(99);
  EXPECT_EQ(list->GetTopLine(), 2);  // line count 5 - 3 in view
  EXPECT_EQ(list->InsertLineAtTop("top"), 0);
  EXPECT_EQ(list->GetTopLine(), 3);
  EXPECT_EQ(list->GetSelection(), 5);
  EXPECT_EQ(list->GetSelectedText(), "e");
}

TEST(ListBox, DroppedLineWidgetsAreDestroyed) {
  Kit kit;
  GUIListBox* list = MakeList(kit, 3.0f);
  for (const char* line : {"a", "b", "c"}) list->AddLine(line);
  GUIStaticText* last = list->LineWidgets().back();
  EXPECT_FALSE(last->IsMarkedForRemoval());
  list->ClearLines();
  EXPECT_TRUE(list->LineWidgets().empty());
  EXPECT_TRUE(last->IsMarkedForRemoval());
  EXPECT_EQ(last->GetParent(), nullptr);
}

TEST(ListBox, ScrollCodesMoveTheViewAndHighlightCodesTheSelection) {
  Kit kit;
  GUIListBox* list = MakeList(kit, 2.0f);
  for (int i = 0; i < 8; ++i) list->AddLine(std::to_string(i));
  struct Case {
    uint32_t code;
    int top;
    int selection;
  };
  const Case cases[] = {
      {514, 1, -1}, {515, 3, -1}, {512, 2, -1}, {513, 0, -1}, {518, 6, -1}, {517, 0, -1},
      {771, 0, 0},  {772, 1, 2},  {769, 1, 1},  {770, 0, -1}, {769, 0, -1}, {771, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    list->OnMessage(0, c.code, 0);
    EXPECT_EQ(list->GetTopLine(), c.top);
    EXPECT_EQ(list->GetSelection(), c.selection);
  }
  // A drag of the scroll bar's thumb reports the bar's value.
  list->OnMessage(EntityWord(list->GetScrollBar()), GUIMSG_SLM_DRAGCHANGE, 2);
  EXPECT_EQ(list->GetTopLine(), list->GetScrollBar()->GetMax() - 2);
}

TEST(DropDown, ShowsMakeASelectionUntilTheFirstUpdateThenTheSelection) {
  Kit kit;
  auto* drop = kit.Make<GUIDropDownLB>(GUIKIND_DROPDOWN, "dd", nullptr, 0, 0, 0, 1, 1, [](GUIDropDownLB* d) {
    ASSERT_TRUE(d->CreateListBox());
    ASSERT_TRUE(d->CreateArrowButton());
    ASSERT_TRUE(d->CreateSelectionText());
    d->SetScale(6.0f, 1.0f, 1.0f, true);
    d->SetSelectionTextScale(0.01f, 0.01f, 1.0f);
  });
  EXPECT_EQ(drop->GetSelectionText(), "Make a selection");
  drop->UpdateSelectionText();
  EXPECT_EQ(drop->GetSelectionText(), "");
  drop->GetListBox()->SetScale(6.0f, 3.0f, 1.0f, true);
  drop->GetListBox()->AddLine("Paris");
  drop->GetListBox()->SetSelection(0);
  drop->OnMessage(EntityWord(drop->GetListBox()), GUIMSG_LBM_SELCHANGE, 0);
  EXPECT_EQ(drop->GetSelectionText(), "Paris");
  // The arrow opens the list and the box grows to hold it.
  const float closed = drop->GetHeight();
  MousePacket down;
  down.pressed = 1;
  drop->OnMessage(EntityWord(drop->GetArrowButton()), GUIMSG_MOUSE_DOWN, reinterpret_cast<uintptr_t>(&down));
  EXPECT_TRUE(drop->IsOpen());
  EXPECT_FLOAT_EQ(drop->GetHeight(), closed + 3.0f);
  MousePacket up;
  up.released = 1;
  drop->OnMessage(EntityWord(drop->GetListBox()), GUIMSG_CLICK, reinterpret_cast<uintptr_t>(&up));
  EXPECT_FALSE(drop->IsOpen());
  EXPECT_FLOAT_EQ(drop->GetHeight(), closed);
}

GUISlider* MakeSlider(Kit& kit) {
  return kit.Make<GUISlider>(GUIKIND_SLIDER, "slider", nullptr, 0, 0, 0, 1, 1, [](GUISlider* s) {
    ASSERT_TRUE(s->CreateThumb());
    s->SetScale(10.0f, 1.0f, 1.0f, true);
  });
}

TEST(Slider, PointerFractionGivesTheValue) {
  struct Case {
    const char* name;
    int min, max;
    float start, end, at;
    int value;
  };
  const Case cases[] = {
      {"middle of 0..100", 0, 100, 0.1f, 0.9f, 0.5f, 50},
      {"start of the track", 0, 100, 0.1f, 0.9f, 0.1f, 0},
      {"end of the track clamps", 0, 100, 0.1f, 0.9f, 0.9f, 100},
      {"degenerate track stays at the minimum", 3, 9, 0.5f, 0.5f, 0.5f, 3},
      {"range of one value", 7, 7, 0.1f, 0.9f, 0.5f, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Kit kit;
    GUISlider* slider = MakeSlider(kit);
    slider->SetTrack(c.start, c.end);
    slider->SetMin(c.min);
    slider->SetMax(c.max);
    slider->SetHitPoint(c.at, 0.5f);
    MousePacket down;
    down.pressed = 1;
    EXPECT_TRUE(slider->OnMessage(0, GUIMSG_MOUSE_DOWN, reinterpret_cast<uintptr_t>(&down)));
    EXPECT_EQ(slider->GetValue(), c.value);
  }
}

TEST(Slider, ValueShowsOnItsDisplayAndItsThumbMovesAlongTheTrack) {
  Kit kit;
  GUISlider* slider = MakeSlider(kit);
  auto* label = kit.Make<GUIStaticText>(GUIKIND_STATICTEXT, "label", nullptr, 0, -5, 0);
  slider->SetDisplayWidget(label);
  slider->SetValue(150);
  EXPECT_EQ(slider->GetValue(), 100);
  EXPECT_EQ(label->GetText(), "100");
  const float atMax = slider->GetThumb()->GetPositionX();
  slider->SetValue(0);
  EXPECT_EQ(label->GetText(), "0");
  EXPECT_FLOAT_EQ(slider->GetThumb()->GetPositionX(), 0.1f * 10.0f);
  EXPECT_GT(atMax, slider->GetThumb()->GetPositionX());
  int bound = 40;
  slider->BindValue(&bound);
  slider->SetValue(60);
  EXPECT_EQ(bound, 60);
}

TEST(Slider, ADisplayHoldingTheSliderAmongItsChildrenIsWrittenOnce) {
  // Writing the display updates the display's transform, which reaches the
  // slider as its child, which sets its value again: the write must not
  // start over inside itself.
  Kit kit;
  auto* label = kit.Make<GUIStaticText>(GUIKIND_STATICTEXT, "label", nullptr, 0, -5, 0);
  GUISlider* slider = kit.Make<GUISlider>(GUIKIND_SLIDER, "slider", label, 0, 0, 0, 1, 1, [](GUISlider* s) {
    ASSERT_TRUE(s->CreateThumb());
  });
  slider->SetDisplayWidget(label);
  slider->SetValue(42);
  EXPECT_EQ(label->GetText(), "42");
  label->UpdateTransform();
  slider->SetValue(7);
  EXPECT_EQ(label->GetText(), "7");
}

GUIScrollBar* MakeBar(Kit& kit) {
  return kit.Make<GUIScrollBar>(GUIKIND_SCROLLBAR, "bar", nullptr, 0, 0, 0, 1, 1, [](GUIScrollBar* b) {
    ASSERT_TRUE(b->CreateThumb());
    ASSERT_TRUE(b->CreateButtons());
    b->SetScale(1.0f, 6.0f, 1.0f, true);
  });
}

TEST(ScrollBar, EqualEndsHideAndDisableTheThumbAndLayoutSurvivesDegenerateRanges) {
  Kit kit;
  GUIScrollBar* bar = MakeBar(kit);
  bar->SetMax(0);
  EXPECT_FALSE(bar->GetThumb()->IsVisible());
  EXPECT_FALSE(bar->GetThumb()->IsEnabled());
  const float scale = bar->GetThumb()->ScaleY();
  // max + page - min + 1 = 0: the thumb keeps its scale.
  bar->SetPageSize(-1);
  EXPECT_FLOAT_EQ(bar->GetThumb()->ScaleY(), scale);
  EXPECT_TRUE(std::isfinite(bar->GetThumbLength()));
  bar->SetPageSize(2);
  bar->SetMax(10);
  EXPECT_TRUE(bar->GetThumb()->IsVisible());
  EXPECT_TRUE(bar->GetThumb()->IsEnabled());
}

TEST(ScrollBar, HoldingTheIncreaseButtonStepsThenRepeatsUntilTheMaximum) {
  Kit kit;
  GUIScrollBar* bar = MakeBar(kit);
  bar->SetMax(3);
  bar->SetValue(0);
  MousePacket down;
  down.pressed = 1;
  bar->OnMessage(EntityWord(bar->GetIncreaseButton()), GUIMSG_MOUSE_DOWN, reinterpret_cast<uintptr_t>(&down));
  EXPECT_EQ(bar->GetValue(), 1);
  const std::vector<std::pair<float, int>> frames = {{0.45f, 1}, {0.1f, 2}, {0.04f, 3}, {0.04f, 3}, {1.0f, 3}};
  for (const auto& [seconds, value] : frames) {
    bar->Update(seconds);
    EXPECT_EQ(bar->GetValue(), value) << seconds;
  }
  MousePacket up;
  up.released = 1;
  bar->OnMessage(EntityWord(bar->GetIncreaseButton()), GUIMSG_CLICK, reinterpret_cast<uintptr_t>(&up));
  EXPECT_FALSE(bar->IsIncreaseHeld());
}

TEST(ScrollBar, HoldingOnTheTrackPagesTowardThePointerAndStops) {
  Kit kit;
  GUIScrollBar* bar = MakeBar(kit);
  bar->SetTrack(0.0f, 1.0f);
  bar->SetMax(20);
  bar->SetPageSize(2);
  bar->SetValue(0);
  bar->SetHitPoint(0.5f, 0.5f);  // value 10 there
  MousePacket down;
  down.pressed = 1;
  bar->OnMessage(0, GUIMSG_MOUSE_DOWN, reinterpret_cast<uintptr_t>(&down));
  EXPECT_EQ(bar->GetValue(), 2);
  for (int i = 0; i < 20; ++i) bar->Update(0.5f);
  EXPECT_GE(bar->GetValue(), 10);
  EXPECT_LE(bar->GetValue(), 12);
}

TEST(Spin, CountsItsTargetAndHalvesItsButtons) {
  Kit kit;
  auto* box = kit.Make<GUITextBox>(GUIKIND_TEXTBOX, "box", nullptr, 0, -5, 0, 1, 1, [](GUITextBox* b) {
    ASSERT_TRUE(b->CreateTextWidget());
    ASSERT_TRUE(b->CreateCaret());
  });
  auto* spin = kit.Make<GUISpin>(GUIKIND_SPIN, "spin", nullptr, 5, 0, 0, 1, 1, [](GUISpin* s) {
    ASSERT_TRUE(s->CreateButtons());
    s->SetScale(1.0f, 2.0f, 1.0f, true);
  });
  EXPECT_FLOAT_EQ(spin->GetIncreaseButton()->ScaleY(), 1.0f);
  EXPECT_FLOAT_EQ(spin->GetDecreaseButton()->GetPositionY(), -1.0f);
  spin->SetTarget(box);
  box->SetText("abc", true);
  MousePacket down;
  down.pressed = 1;
  spin->OnMessage(EntityWord(spin->GetIncreaseButton()), GUIMSG_MOUSE_DOWN, reinterpret_cast<uintptr_t>(&down));
  EXPECT_EQ(box->GetText(), "1");
  spin->OnMessage(EntityWord(spin->GetDecreaseButton()), GUIMSG_MOUSE_DOWN, reinterpret_cast<uintptr_t>(&down));
  spin->OnMessage(EntityWord(spin->GetDecreaseButton()), GUIMSG_MOUSE_DOWN, reinterpret_cast<uintptr_t>(&down));
  EXPECT_EQ(box->GetText(), "-1");
}

}  // namespace
