#include "gui/core/GUIListBox.h"

#include <algorithm>
#include <cmath>

#include "base/StringUtil.h"
#include "engine/entity/ActionBase.h"
#include "engine/entity/ActionFactory.h"
#include "gui/core/GUIButton.h"
#include "gui/core/GUIScript.h"
#include "gui/core/GUIScrollBar.h"
#include "gui/core/GUIStatic.h"
#include "gui/core/GUIStaticText.h"
#include "gui/core/WidgetMessages.h"

GUIListBox::GUIListBox(cEntity_Manager* owner) : Widget(owner) { SetKind(GUIKIND_LISTBOX); }

GUIListBox::~GUIListBox() { GUIListBox::Exit(); }

CoreStatus GUIListBox::Exit() {
  if (action_) {
    if (cAction_Factory* factory = GetActionFactory()) factory->ReleaseAction(action_);
    action_ = nullptr;
  }
  return Widget::Exit();
}

CoreStatus GUIListBox::Initialize() {
  Widget::Initialize();
  InitChildren();
  return status::Ok;
}

void GUIListBox::ChildLeft(GUIEntity* child) {
  Widget::ChildLeft(child);
  if (child == highlight_) highlight_ = nullptr;
  if (child == scrollBar_) scrollBar_ = nullptr;
  lineWidgets_.erase(std::remove(lineWidgets_.begin(), lineWidgets_.end(), child), lineWidgets_.end());
}

bool GUIListBox::CreateHighlight() {
  auto* highlight = SpawnPart<GUIStatic>(gui_, GUIKIND_STATIC, "ListBox " + NameRef() + "'s highlight");
  if (!highlight) return false;
  highlight->MoveBy(0.0f, 0.0f, 0.001f, false);
  highlight->SetSolid(0);
  AddChild(highlight, true);
  highlight_ = highlight;
  return true;
}

bool GUIListBox::CreateScrollBar() {
  if (customScrollBar_) return true;
  auto* bar = SpawnPart<GUIScrollBar>(gui_, GUIKIND_SCROLLBAR, "CreatedScrollBar");
  if (!bar) return false;
  if (!bar->CreateThumb() || !bar->CreateButtons()) {
    gui_->DestroyEntity(bar);
    return false;
  }
  bar->SetName("ListBox " + NameRef() + "'s scrollbar");
  bar->SetVisible(0);
  AddChild(bar, true);
  scrollBar_ = bar;
  return true;
}

void GUIListBox::InitChildren() {
  if (highlight_) {
    highlight_->UpdateBounds();
    if (!highlight_->GetModel()) highlight_->CreatePlaneModel();
  }
  if (!customScrollBar_ && scrollBar_) {
    scrollBar_->UpdateBounds();
    if (!scrollBar_->GetModel()) scrollBar_->CreatePlaneModel();
    scrollBar_->InitChildren();
    scrollBar_->SetMin(0);
    scrollBar_->SetMax(1);
    scrollBar_->SetValue(1);
  }
  LayoutLines();
}

void GUIListBox::SetHeight(float h) {
  Widget::SetHeight(h);
  RebuildLines(false);
}

void GUIListBox::SetScale(float x, float y, float z, bool update) {
  Widget::SetScale(x, y, z, update);
  RebuildLines(false);
}

void GUIListBox::ScaleBy(float x, float y, float z, bool update) {
  Widget::ScaleBy(x, y, z, update);
  RebuildLines(false);
}

void GUIListBox::SetFont(C3DFont* font) {
  font_.Set(font);
  RebuildLines(false);
}

void GUIListBox::SetTextScale(float x, float y, float z) {
  textScale_[0] = x;
  textScale_[1] = y;
  textScale_[2] = z;
  RebuildLines(false);
}

void GUIListBox::SetLineScale(float x, float y, float z) {
  lineScale_[0] = x;
  lineScale_[1] = y;
  lineScale_[2] = z;
  RebuildLines(false);
}

void GUIListBox::SetScrollBarThumbScale(float x, float y, float z) {
  if (scrollBar_) scrollBar_->SetThumbScale(x, y, z, true);
}
void GUIListBox::SetScrollBarTrack(float start, float end) {
  if (scrollBar_) scrollBar_->SetTrack(start, end);
}
void GUIListBox::SetScrollBarFixedThumbLength(uint8_t on) {
  if (scrollBar_) scrollBar_->SetFixedThumbLength(on);
}
void GUIListBox::SetScrollBarFixedThumbWidth(uint8_t on) {
  if (scrollBar_) scrollBar_->SetFixedThumbWidth(on);
}

void GUIListBox::SetScrollBarButtonScale(float x, float y) {
  if (!scrollBar_) return;
  scrollBar_->SetDecreaseButtonScale(x, y, 1.0f);
  scrollBar_->SetIncreaseButtonScale(x, y, 1.0f);
}

void GUIListBox::SetScrollBarButtonScaleMode(uint8_t automatic, float x, float y) {
  buttonScaleAutomatic_ = automatic;
  if (automatic) return;
  buttonScale_[0] = x;
  buttonScale_[1] = y;
}

void GUIListBox::SetScrollBarButtonPlacement(uint8_t automatic, float incX, float incY, float decX, float decY) {
  if (scrollBar_) scrollBar_->SetButtonPlacement(automatic, incX, incY, decX, decY);
}

int32_t GUIListBox::LinesInView() {
  const float pitch = GetLinePitch();
  if (pitch <= 0.0f) return 0;
  const float room = (bounds_[3] - bounds_[1]) * height_ * ScaleY() / pitch;
  // Whole lines only; a negative or absurd room shows none.
  const int32_t n = room > 0.0f && room < 1e6f ? static_cast<int32_t>(room) : 0;
  return std::min(n, GetLineCount());
}

void GUIListBox::SetListBounds(float left, float top, float right, float bottom) {
  bounds_[0] = left;
  bounds_[1] = top;
  bounds_[2] = right;
  bounds_[3] = bottom;
  if (customScrollBar_ || !scrollBar_) {
    RebuildLines(false);
    return;
  }
  const float w = width_ * ScaleX();
  const float h = height_ * ScaleY();
  scrollBar_->SetBarScale((right - left) * w * scrollBarWidth_, static_cast<float>(LinesInView()) * GetLinePitch(),
                          1.0f);
  const float bx = buttonScaleAutomatic_ ? scrollBar_->ScaleX() : buttonScale_[0];
  const float by = buttonScaleAutomatic_ ? scrollBar_->ScaleX() : buttonScale_[1];
  scrollBar_->SetDecreaseButtonScale(bx, by, 1.0f);
  scrollBar_->SetIncreaseButtonScale(bx, by, 1.0f);
  scrollBar_->SetPosition(w * right + scrollBarOffsetX_, -(h * top), 0.015f, true);
  RebuildLines(false);
}

void GUIListBox::RebuildLines(bool relayout) {
  const int32_t n = LinesInView();
  topLine_ = std::clamp(topLine_, 0, std::max(0, GetLineCount() - n));
  selection_ = std::clamp(selection_, -1, GetLineCount() - 1);
  if (static_cast<int32_t>(lineWidgets_.size()) == n && relayout) LayoutLines();
  while (static_cast<int32_t>(lineWidgets_.size()) < n) {
    const std::string name = NameRef() + "'s Line " + std::to_string(lineWidgets_.size());
    auto* line = SpawnPart<GUIStaticText>(gui_, GUIKIND_STATICTEXT, name);
    if (!line) break;
    line->SetText(name, true);
    line->SetFont(font_.Get());
    line->SetTextScale(textScale_[0], textScale_[1], textScale_[2], true);
    line->SetScale(lineScale_[0], lineScale_[1], lineScale_[2], true);
    line->UpdateBounds();
    line->MoveBy(0.0f, 0.0f, 0.01f, true);
    lineWidgets_.push_back(line);
    AddChild(line, true);
  }
  while (static_cast<int32_t>(lineWidgets_.size()) > n) {
    GUIStaticText* line = lineWidgets_.back();
    lineWidgets_.pop_back();
    RemoveChild(line);
    // A dropped line is nobody's: it leaves the entity manager as well.
    if (gui_) gui_->DestroyEntity(line);
    else line->MarkForRemoval();
  }
  UpdateScrollBar();
  LayoutLines();
}

void GUIListBox::LayoutLines() {
  const float w = width_ * ScaleX();
  const float h = height_ * ScaleY();
  const float pitch = GetLinePitch();
  for (size_t i = 0; i < lineWidgets_.size(); ++i) {
    GUIStaticText* line = lineWidgets_[i];
    line->SetFont(font_.Get());
    line->SetTextScale(textScale_[0], textScale_[1], textScale_[2], true);
    line->SetScale(lineScale_[0], lineScale_[1], lineScale_[2], true);
    const float width = lineScale_[0] != 0.0f ? (bounds_[2] - bounds_[0]) * w / lineScale_[0] : 0.0f;
    line->SetPosition(w * bounds_[0], -(h * bounds_[1]) - static_cast<float>(i) * pitch, line->GetPositionZ(), true);
    const std::string text = GetLine(topLine_ + static_cast<int32_t>(i));
    line->SetText(FitTextToWidth(text, font_.Get(), textScale_[0], width), true);
  }
  PlaceHighlight();
}

void GUIListBox::PlaceHighlight() {
  if (!highlight_) return;
  const int32_t n = static_cast<int32_t>(lineWidgets_.size());
  if (n > 0 && selection_ >= topLine_ && selection_ < topLine_ + n) {
    const float w = width_ * ScaleX();
    const float h = height_ * ScaleY();
    highlight_->SetVisible(1);
    highlight_->SetScale((bounds_[2] - bounds_[0]) * w, GetLinePitch(), 1.0f, true);
    highlight_->SetPosition(bounds_[0] * w, -(bounds_[1] * h) - static_cast<float>(selection_ - topLine_) * GetLinePitch(),
                            0.001f, true);
  } else {
    highlight_->SetVisible(0);
  }
}

void GUIListBox::ScrollBarValueFromTop() {
  if (customScrollBar_ || !scrollBar_) return;
  const int32_t want = (GetLineCount() - LinesInView()) - topLine_;
  if (scrollBar_->GetValue() == want) return;
  const uint8_t snap = scrollBar_->GetSnapThumb();
  scrollBar_->SetSnapThumb(1);
  scrollBar_->SetValue(want);
  scrollBar_->SetSnapThumb(snap);
}

void GUIListBox::SetTopLine(int32_t index) {
  const int32_t top = std::clamp(index, 0, std::max(0, GetLineCount() - LinesInView()));
  if (top == topLine_) return;
  topLine_ = top;
  ScrollBarValueFromTop();
  LayoutLines();
}

void GUIListBox::SetSelection(int32_t index) {
  const int32_t selection = std::clamp(index, -1, GetLineCount() - 1);
  if (selection == selection_) return;
  selection_ = selection;
  const int32_t n = LinesInView();
  if (selection < topLine_) SetTopLine(selection);
  else if (selection - topLine_ + 1 > n) SetTopLine(selection - n + 1);
  PlaceHighlight();
}

void GUIListBox::SetHighlightShader(C3DBaseShader* shader) {
  if (highlight_) highlight_->SetShader(shader);
}

void GUIListBox::SetScrollBarShader(int32_t part, C3DBaseShader* shader) {
  if (customScrollBar_ || !scrollBar_ || !shader) return;
  if (part == 1) {
    scrollBar_->SetShader(shader);
  } else if (part == 2) {
    if (GUIStatic* thumb = scrollBar_->GetThumb()) thumb->SetShader(shader);
  } else if (part >= 3 && part <= 12) {
    GUIButton* button = part < 8 ? scrollBar_->GetDecreaseButton() : scrollBar_->GetIncreaseButton();
    const int32_t state = part < 8 ? part - 3 : part - 8;
    if (!button) return;
    if (state == 0) button->SetShader(shader);
    else button->SetStateShader(state, shader);
  }
}

void GUIListBox::UpdateScrollBar() {
  if (customScrollBar_ || !scrollBar_) return;
  const int32_t n = LinesInView();
  const int32_t count = GetLineCount();
  if (n < count) {
    if (!scrollBar_->IsVisible()) {
      scrollBar_->SetVisible(1);
      scrollBar_->SetPageSize(n);
      SetListBounds(bounds_[0], bounds_[1], bounds_[2] - scrollBarBuffer_, bounds_[3]);
    }
    // The distance from the top stays what it was.
    const int32_t oldMax = scrollBar_->GetMax();
    const int32_t oldValue = scrollBar_->GetValue();
    scrollBar_->SetMax(count - n);
    const uint8_t snap = scrollBar_->GetSnapThumb();
    scrollBar_->SetSnapThumb(1);
    scrollBar_->SetValue(scrollBar_->GetMax() + oldValue - oldMax);
    scrollBar_->SetSnapThumb(snap);
  } else if (scrollBar_->IsVisible()) {
    scrollBar_->SetVisible(0);
    SetListBounds(bounds_[0], bounds_[1], bounds_[2] + scrollBarBuffer_, bounds_[3]);
    scrollBar_->SetValue(scrollBar_->GetMax());
  }
}

int32_t GUIListBox::AddLine(const std::string& text) {
  lines_.push_back(text);
  RebuildLines(false);
  return GetLineCount() - 1;
}

int32_t GUIListBox::InsertLineAtTop(const std::string& text) {
  lines_.insert(lines_.begin(), text);
  RebuildLines(false);
  SetTopLine(topLine_ + 1);
  if (selection_ >= 0) SetSelection(selection_ + 1);
  return 0;
}

std::string GUIListBox::GetLine(int32_t index) {
  if (index < 0 || index >= GetLineCount()) return std::string();
  return lines_[static_cast<size_t>(index)];
}

int32_t GUIListBox::FindLine(const std::string& text) {
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (str::EqualsNoCase(lines_[i], text)) return static_cast<int32_t>(i);
  }
  return -1;
}

bool GUIListBox::RemoveLineByText(const std::string& text) {
  for (size_t i = 0; i < lineWidgets_.size(); ++i) {
    if (str::EqualsNoCase(lineWidgets_[i]->GetText(), text)) return RemoveLine(topLine_ + static_cast<int32_t>(i));
  }
  return false;
}

bool GUIListBox::RemoveLine(int32_t index) {
  if (index < 0 || index >= GetLineCount()) return false;
  if (index < selection_ || (index == selection_ && index == GetLineCount() - 1)) SetSelection(selection_ - 1);
  SetTopLine(topLine_ - 1);
  lines_.erase(lines_.begin() + index);
  RebuildLines(true);
  return true;
}

void GUIListBox::ClearLines() {
  lines_.clear();
  topLine_ = 0;
  selection_ = -1;
  RebuildLines(false);
}

int32_t GUIListBox::FindShownLine(int32_t handleId) {
  for (size_t i = 0; i < lineWidgets_.size(); ++i) {
    if (lineWidgets_[i]->GetHandle() == handleId) return static_cast<int32_t>(i);
  }
  return -1;
}

std::string GUIListBox::GetSelectedText() {
  if (!highlight_ || !highlight_->IsVisible() || selection_ < 0) return std::string();
  return GetLine(selection_);
}

void GUIListBox::SetBoundAction(cAction_Base* action) {
  // The box holds the reference its caller took from the factory.
  if (action_ && action_ != action) {
    if (cAction_Factory* factory = GetActionFactory()) factory->ReleaseAction(action_);
  }
  action_ = action;
}

void GUIListBox::RunBoundAction(uint32_t code, int32_t row) {
  if (!action_ || trigger_ != code) return;
  std::string text = prefix_;
  if (!prefix_.empty()) text += ' ';
  text += GetLine(topLine_ + row);
  if (!suffix_.empty()) text += ' ';
  text += suffix_;
  action_->Execute(this, EntityWord(this), text);
}

void GUIListBox::RaiseSelChange(int32_t row) {
  if (parent_) parent_->OnMessage(EntityWord(this), GUIMSG_LBM_SELCHANGE, static_cast<uintptr_t>(row));
}

void GUIListBox::SelectRow(int32_t row) { SetSelection(topLine_ + row); }

int32_t GUIListBox::RowAtHitPoint() {
  const float pitch = GetLinePitch();
  const float h = height_ * ScaleY();
  if (pitch <= 0.0f || h <= 0.0f) return -1;
  // The hit point runs from 0 at the bottom edge to 1 at the top.
  const float down = (1.0f - GetHitPointY()) * h - bounds_[1] * h;
  if (down < 0.0f) return -1;
  const int32_t row = static_cast<int32_t>(down / pitch);
  return row < LinesInView() && topLine_ + row < GetLineCount() ? row : -1;
}

bool GUIListBox::OnMessage(uintptr_t sender, uint32_t code, uintptr_t parameter) {
  auto* source = reinterpret_cast<GUIEntity*>(sender);
  const auto* mouse = reinterpret_cast<const MousePacket*>(parameter);
  int32_t row = -1;
  for (size_t i = 0; i < lineWidgets_.size(); ++i) {
    if (lineWidgets_[i] == source) row = static_cast<int32_t>(i);
  }
  const int32_t n = LinesInView();
  // A pointer over the box itself rather than over a line's text (a short
  // line leaves room beside it): the row is where the pointer stands.
  const bool pointer = code == GUIMSG_MOUSE_DOWN || code == GUIMSG_DRAG || code == GUIMSG_MOUSE_UP ||
                       code == GUIMSG_CLICK;
  if (row < 0 && pointer &&
      std::find(Children().begin(), Children().end(), source) == Children().end())
    row = RowAtHitPoint();
  // The box's own scroll and highlight codes count as taken here.
  bool took = true;
  switch (code) {
    case GUIMSG_MOUSE_DOWN:
      if (row >= 0 && mouse && (mouse->pressed & 1)) {
        if (scrollBar_) {
          const uint8_t snap = scrollBar_->GetSnapThumb();
          scrollBar_->SetSnapThumb(1);
          SelectRow(row);
          scrollBar_->SetSnapThumb(snap);
        } else {
          SelectRow(row);
        }
        RunBoundAction(8, row);
        RaiseSelChange(row);
      }
      took = false;
      break;
    case GUIMSG_DRAG:
      if (row >= 0 && mouse && (mouse->held & 1)) {
        SelectRow(row);
        RaiseSelChange(row);
      }
      took = false;
      break;
    case GUIMSG_MOUSE_UP:
    case GUIMSG_CLICK:
      if (scrollBar_ && source == scrollBar_) return true;
      if (row >= 0 && mouse && (mouse->released & 1)) {
        SelectRow(row);
        RunBoundAction(13, row);
        RaiseSelChange(row);
      }
      took = false;
      break;
    case GUIMSG_SLM_DRAGCHANGE:
      if (scrollBar_) SetTopLine(scrollBar_->GetMax() - static_cast<int32_t>(parameter));
      break;
    case GUIMSG_SBM_UP: SetTopLine(topLine_ - 1); break;
    case GUIMSG_SBM_DOWN: SetTopLine(topLine_ + 1); break;
    case GUIMSG_SBM_PAGEUP: SetTopLine(topLine_ - n); break;
    case GUIMSG_SBM_PAGEDOWN: SetTopLine(topLine_ + n); break;
    case GUIMSG_SBM_MAX: SetTopLine(0); break;
    case GUIMSG_SBM_MIN: SetTopLine(GetLineCount()); break;
    case GUIMSG_LBM_HLUP: SetSelection(selection_ - 1); break;
    case GUIMSG_LBM_HLDOWN: SetSelection(selection_ + 1); break;
    case GUIMSG_LBM_HLPAGEUP: SetSelection(selection_ - n); break;
    case GUIMSG_LBM_HLPAGEDOWN: SetSelection(selection_ + n); break;
    default: took = false; break;
  }
  return Widget::OnMessage(sender, code, parameter) || took;
}
