#include "gui/core/GUIMLTextBox.h"

#include <algorithm>
#include <cmath>

#include "gui/core/GUIStatic.h"
#include "gui/core/GUIStaticText.h"
#include "gui/core/WidgetMessages.h"

namespace {

constexpr uint8_t kBackspace = 14;
constexpr uint8_t kLeftShift = 42;
constexpr uint8_t kRightShift = 54;
constexpr uint8_t kHome = 199;
constexpr uint8_t kUp = 200;
constexpr uint8_t kLeft = 203;
constexpr uint8_t kRight = 205;
constexpr uint8_t kEnd = 207;
// How far the view moves when the caret meets its edge.
constexpr int32_t kViewStep = 10;

}  // namespace

GUIMLTextBox::GUIMLTextBox(cEntity_Manager* owner) : GUITextBox(owner) { SetKind(GUIKIND_MLTEXTBOX); }

GUIMLTextBox::~GUIMLTextBox() = default;

void GUIMLTextBox::Wrap() {
  lines_.clear();
  lineStarts_.clear();
  const float view = ViewWidth();
  const float scale = textWidget_ ? textWidget_->TextScaleX() : 1.0f;
  std::string line;
  int32_t lineStart = 0;
  float lineWidth = 0.0f;
  const auto endLine = [&](int32_t nextStart) {
    lines_.push_back(line);
    lineStarts_.push_back(lineStart);
    line.clear();
    lineWidth = 0.0f;
    lineStart = nextStart;
  };
  const int32_t n = Length();
  int32_t i = 0;
  while (i < n) {
    if (text_[static_cast<size_t>(i)] == ' ') {  // a run of spaces counts as one
      ++i;
      continue;
    }
    int32_t end = i;
    while (end < n && text_[static_cast<size_t>(end)] != ' ' && text_[static_cast<size_t>(end)] != '\n') ++end;
    const std::string word = text_.substr(static_cast<size_t>(i), static_cast<size_t>(end - i)) + " ";
    const float w = (textWidget_ ? textWidget_->MeasureWidth(word) : 0.0f) * scale;
    if (!line.empty() && lineWidth + w > view) endLine(i);
    if (line.empty()) lineStart = i;
    line += word;
    lineWidth += w;
    if (end < n && text_[static_cast<size_t>(end)] == '\n') {
      endLine(end + 1);
      i = end + 1;
      continue;
    }
    i = end;
  }
  if (!line.empty() || lines_.empty()) endLine(n);
}

void GUIMLTextBox::Refresh() {
  anchor_ = std::clamp(anchor_, 0, Length());
  selectionLength_ = std::clamp(selectionLength_, -anchor_, Length() - anchor_);
  caretIndex_ = std::min(caretIndex_, Length());
  Wrap();
  const float textScaleY = textWidget_ ? textWidget_->TextScaleY() : 1.0f;
  const int32_t inView = textScaleY > 0.0f ? static_cast<int32_t>(std::floor(height_ * ScaleY() / textScaleY)) : 0;
  const int32_t count = static_cast<int32_t>(lines_.size());
  firstLine_ = std::clamp(firstLine_, 0, std::max(count - 1, 0));
  firstVisible_ = lineStarts_.empty() ? 0 : std::min(lineStarts_[static_cast<size_t>(firstLine_)], Length());
  shown_.clear();
  const int32_t last = std::min(count, firstLine_ + std::max(inView, 0));
  for (int32_t l = firstLine_; l < last; ++l) {
    if (l > firstLine_) shown_ += '\n';
    shown_ += lines_[static_cast<size_t>(l)];
  }
  moreBelow_ = last < count ? 1 : 0;
  viewEnd_ = last < count ? lineStarts_[static_cast<size_t>(last)] : Length();
  if (caret_ && caretIndex_ >= 0 && count > 0) {
    // The caret goes on the line that holds its index, when that is in view.
    int32_t line = 0;
    while (line + 1 < count && lineStarts_[static_cast<size_t>(line + 1)] <= caretIndex_) ++line;
    if (line >= firstLine_ && line < last) {
      const std::string& text = lines_[static_cast<size_t>(line)];
      const size_t column = std::min(static_cast<size_t>(caretIndex_ - lineStarts_[static_cast<size_t>(line)]),
                                     text.size());
      C3DFont* font = GetFont();
      const float lineHeight = font ? font->GetLineHeight() * textScaleY : 1.0f;
      const float x = ScaleX() * bounds_[0] +
                      (textWidget_ ? textWidget_->MeasureWidth(text.substr(0, column)) * textWidget_->TextScaleX()
                                   : 0.0f) -
                      caret_->ScaleX() * 0.5f;
      const float y = -(bounds_[1] * ScaleY()) - static_cast<float>(line - firstLine_) * lineHeight;
      caret_->SetPosition(x, y, caret_->GetPositionZ(), true);
    } else {
      caret_->SetVisible(0);
    }
  }
  if (textWidget_) {
    textWidget_->SetSelectionLength(0);
    textWidget_->SetText(shown_, true);
  }
  Widget::OnMessage(EntityWord(this), GUIMSG_TB_UPDATED, 0);
}

int32_t GUIMLTextBox::LineOf(int32_t index) const {
  int32_t line = 0;
  const auto count = static_cast<int32_t>(lineStarts_.size());
  while (line + 1 < count && lineStarts_[static_cast<size_t>(line + 1)] <= index) ++line;
  return line;
}

void GUIMLTextBox::MoveView(int32_t characters) {
  // The view shows whole lines: it starts at the line that holds the new
  // first character, and a move forward moves at least one line.
  const int32_t target = std::clamp(firstVisible_ + characters, 0, Length());
  int32_t line = LineOf(target);
  if (characters > 0 && line <= firstLine_ && moreBelow_) line = firstLine_ + 1;
  firstLine_ = line;
}

void GUIMLTextBox::CaretFromLinePoint() {
  C3DFont* font = GetFont();
  const float textScaleY = textWidget_ ? textWidget_->TextScaleY() : 1.0f;
  const float lineHeight = font ? font->GetLineHeight() * textScaleY : 1.0f;
  const float below = ((1.0f - bounds_[1]) - hitPoint_[1]) * height_ * ScaleY();
  const int32_t count = static_cast<int32_t>(lines_.size());
  if (count == 0) {
    caretIndex_ = 0;
    return;
  }
  const int32_t line =
      std::clamp(firstLine_ + static_cast<int32_t>(std::floor(below / lineHeight)), 0, count - 1);
  const std::string& text = lines_[static_cast<size_t>(line)];
  const float distance = (hitPoint_[0] - bounds_[0]) * width_ * ScaleX();
  float sum = 0.0f;
  int32_t column = static_cast<int32_t>(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const float w = CharWidth(text[i]);
    if (sum + w > distance) {
      column = static_cast<int32_t>(i) + (distance < sum + w * 0.5f ? 0 : 1);
      break;
    }
    sum += w;
  }
  caretIndex_ = std::clamp(lineStarts_[static_cast<size_t>(line)] + column, 0, Length());
}

bool GUIMLTextBox::OnMessage(uintptr_t sender, uint32_t code, uintptr_t parameter) {
  const auto* mouse = reinterpret_cast<const MousePacket*>(parameter);
  switch (code) {
    case GUIMSG_LINEUP:
      if (firstLine_ > 0) {
        --firstLine_;
        Refresh();
      }
      break;
    case GUIMSG_LINEDOWN:
      if (moreBelow_) {
        ++firstLine_;
        Refresh();
      }
      break;
    case GUIMSG_MOUSE_DOWN:
      if (mouse && (mouse->pressed & 1) && HitInTextBounds()) {
        CaretFromLinePoint();
        anchor_ = caretIndex_;
        selectionLength_ = 0;
        Refresh();
      }
      break;
    case GUIMSG_KEYDOWN: {
      if (!parameter) break;
      const auto& key = *reinterpret_cast<const KeyboardPacket*>(parameter);
      const int32_t caret = std::clamp(caretIndex_, 0, Length());
      if (key.scanCode == kLeftShift || key.scanCode == kRightShift) {
        // Always, selection or not; a selection kept must stay inside the text.
        anchor_ = caret;
        selectionLength_ = std::clamp(selectionLength_, -anchor_, Length() - anchor_);
      } else if (key.scanCode == kUp) {
        if (selectionLength_ > 0) {
          ClearSelection();
          caretIndex_ = firstVisible_;
          Refresh();
        }
      } else if (key.scanCode == kBackspace && selectionLength_ == 0 && caret > 0 && caret == firstVisible_) {
        // At the view's top-left corner the view moves back instead.
        MoveView(-kViewStep);
        Refresh();
      } else if (key.scanCode == kLeft && caret > 0 && caret == firstVisible_) {
        // The caret keeps its place in the text; the view moves back.
        if (!(key.modifiers & (eKeyMod_LeftShift | eKeyMod_RightShift))) ClearSelection();
        MoveView(-kViewStep);
        Refresh();
      } else if (key.scanCode == kRight && caret < Length() && moreBelow_ &&
                 caret >= viewEnd_ - 1) {
        // At the end of the shown text the view moves on; the caret stays.
        if (!(key.modifiers & (eKeyMod_LeftShift | eKeyMod_RightShift))) ClearSelection();
        MoveView(kViewStep);
        Refresh();
      } else {
        if (key.scanCode == kHome || key.scanCode == kEnd) firstLine_ = 0;
        OnKeyDown(key);
      }
      break;
    }
    default:
      break;
  }
  return Widget::OnMessage(sender, code, parameter);
}
