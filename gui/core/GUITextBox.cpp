#include "gui/core/GUITextBox.h"

#include <algorithm>

#include "gui/core/GUIStatic.h"
#include "gui/core/GUIStaticText.h"
#include "gui/core/GUIWorld.h"
#include "gui/core/WidgetMessages.h"

namespace {

enum TextKey : uint8_t {
  kBackspace = 14,
  kLeftShift = 42,
  kRightShift = 54,
  kX = 45,
  kC = 46,
  kV = 47,
  kHome = 199,
  kLeft = 203,
  kRight = 205,
  kEnd = 207,
  kDelete = 211,
};

}  // namespace

GUITextBox::GUITextBox(cEntity_Manager* owner) : Widget(owner) { SetKind(GUIKIND_TEXTBOX); }

GUITextBox::~GUITextBox() = default;

bool GUITextBox::CreateTextWidget() {
  auto* text = SpawnPart<GUIStaticText>(gui_, GUIKIND_STATICTEXT, "TextBox " + NameRef() + "'s text");
  if (!text) return false;
  GUIWorld* world = gui_->GetWorld();
  text->SetFont(world ? world->GetDefaultFont() : nullptr);
  text->SetText("Text message", true);
  text->MoveBy(0.0f, 0.0f, 0.001f, true);
  text->SetSolid(0);
  AddChild(text, false);
  textWidget_ = text;
  return true;
}

bool GUITextBox::CreateCaret() {
  auto* caret = SpawnPart<GUIStatic>(gui_, GUIKIND_STATIC, "TextBox " + NameRef() + "'s caret");
  if (!caret) return false;
  caret->MoveBy(0.0f, 0.0f, 0.005f, true);
  caret->SetSolid(0);
  caret->SetVisible(0);
  AddChild(caret, false);
  caret_ = caret;
  return true;
}

CoreStatus GUITextBox::Initialize() {
  Widget::Initialize();
  if (textWidget_) textWidget_->UpdateBounds();
  if (caret_) {
    caret_->UpdateBounds();
    if (!caret_->GetModel()) caret_->CreatePlaneModel();
  }
  LayoutCaret();
  Refresh();
  return status::Ok;
}

void GUITextBox::ChildLeft(GUIEntity* child) {
  Widget::ChildLeft(child);
  if (child == textWidget_) textWidget_ = nullptr;
  if (child == caret_) caret_ = nullptr;
}

void GUITextBox::SetText(const std::string& text, bool update) {
  text_ = text;
  const int32_t length = Length();
  caretIndex_ = std::min(caretIndex_, length);
  anchor_ = std::clamp(anchor_, 0, length);
  selectionLength_ = std::clamp(selectionLength_, -anchor_, length - anchor_);
  firstVisible_ = std::clamp(firstVisible_, 0, length);
  if (update) Refresh();
}

void GUITextBox::SetTextScale(float x, float y, float z, bool update) {
  if (textWidget_) textWidget_->SetTextScale(x, y, z, update);
  LayoutCaret();
}

void GUITextBox::SetTextBounds(float left, float top, float right, float bottom, bool update) {
  bounds_[0] = left;
  bounds_[1] = top;
  bounds_[2] = right;
  bounds_[3] = bottom;
  if (!textWidget_) return;
  textWidget_->SetPosition(ScaleX() * left, -(ScaleY() * top), textWidget_->GetPositionZ(), update);
  textWidget_->SetScale((right - left) * ScaleX(), (bottom - top) * ScaleY(), textWidget_->ScaleZ(), update);
}

void GUITextBox::SetFont(C3DFont* font) {
  if (textWidget_) textWidget_->SetFont(font);
  LayoutCaret();
}

C3DFont* GUITextBox::GetFont() { return textWidget_ ? textWidget_->GetFont() : nullptr; }

void GUITextBox::LayoutCaret() {
  if (!caret_ || !textWidget_) return;
  const float w = textWidget_->MeasureWidth("l");
  caret_->SetScale(w * textWidget_->TextScaleX() * 0.5f, textWidget_->TextScaleY(), 1.0f, true);
}

void GUITextBox::SetCaretShader(C3DBaseShader* shader) {
  if (caret_) caret_->SetShader(shader);
}

void GUITextBox::SetCaretPosition(int32_t index) {
  index = std::clamp(index, 0, Length());
  caretIndex_ = index;
  if (index < firstVisible_) SetFirstVisible(index);
  if (index == firstVisible_ && index > 0) SetFirstVisible(index);
}

void GUITextBox::SetFirstVisible(int32_t index) {
  // At the left edge the view jumps back ten characters.
  if (index == caretIndex_ && caretIndex_ > 0) index -= 10;
  firstVisible_ = std::clamp(index, 0, Length());
}

float GUITextBox::CharWidth(char c) {
  return textWidget_ ? textWidget_->MeasureWidth(std::string(1, c)) * textWidget_->TextScaleX() : 0.0f;
}

float GUITextBox::ViewWidth() { return (bounds_[2] - bounds_[0]) * width_ * ScaleX(); }

void GUITextBox::SelectionRange(int32_t* start, int32_t* end) const {
  const int32_t a = anchor_;
  const int32_t b = anchor_ + selectionLength_;
  *start = std::clamp(std::min(a, b), 0, Length());
  *end = std::clamp(std::max(a, b), 0, Length());
}

void GUITextBox::Refresh() {
  const float view = ViewWidth();
  const float textScale = textWidget_ ? textWidget_->TextScaleX() : 1.0f;
  // Edits may have shortened the text under the anchor: keep it inside.
  anchor_ = std::clamp(anchor_, 0, Length());
  selectionLength_ = std::clamp(selectionLength_, -anchor_, Length() - anchor_);
  firstVisible_ = std::clamp(firstVisible_, 0, Length());
  if (caretIndex_ >= 0 && caret_ && textWidget_) {
    caretIndex_ = std::min(caretIndex_, Length());
    firstVisible_ = std::min(firstVisible_, caretIndex_);
    const auto widthToCaret = [&]() {
      return textWidget_->MeasureWidth(text_.substr(static_cast<size_t>(firstVisible_),
                                                    static_cast<size_t>(caretIndex_ - firstVisible_))) *
             textScale;
    };
    float w = widthToCaret();
    while (w >= view && firstVisible_ < caretIndex_) {
      ++firstVisible_;
      w = widthToCaret();
    }
    caret_->SetPosition(ScaleX() * bounds_[0] + w - caret_->ScaleX() * 0.5f, -(bounds_[1] * ScaleY()),
                        caret_->GetPositionZ(), true);
  }
  shown_.clear();
  float shownWidth = 0.0f;
  for (size_t i = static_cast<size_t>(firstVisible_); i < text_.size(); ++i) {
    const float w = CharWidth(text_[i]);
    if (shownWidth + w >= view) break;
    shownWidth += w;
    shown_ += text_[i];
  }
  if (textWidget_) {
    int32_t start = 0;
    int32_t end = 0;
    SelectionRange(&start, &end);
    const int32_t viewEnd = firstVisible_ + static_cast<int32_t>(shown_.size());
    start = std::clamp(start, firstVisible_, viewEnd);
    end = std::clamp(end, firstVisible_, viewEnd);
    textWidget_->SetSelectionStart(selectionLength_ != 0 ? start - firstVisible_ : 0);
    textWidget_->SetSelectionLength(selectionLength_ != 0 ? end - start : 0);
    textWidget_->SetText(shown_, true);
  }
  OnMessage(EntityWord(this), GUIMSG_TB_UPDATED, 0);
}

bool GUITextBox::HitInTextBounds() const {
  const float x = hitPoint_[0];
  const float y = hitPoint_[1];
  return x >= bounds_[0] && x <= bounds_[2] && y >= 1.0f - bounds_[3] && y <= 1.0f - bounds_[1];
}

void GUITextBox::CaretFromHitPoint() {
  const float distance = (hitPoint_[0] - bounds_[0]) * width_ * ScaleX();
  float sum = 0.0f;
  int32_t index = firstVisible_ + static_cast<int32_t>(shown_.size());
  for (size_t i = 0; i < shown_.size(); ++i) {
    const float w = CharWidth(shown_[i]);
    if (sum + w > distance) {
      index = firstVisible_ + static_cast<int32_t>(i) + (distance < sum + w * 0.5f ? 0 : 1);
      break;
    }
    sum += w;
  }
  caretIndex_ = std::clamp(index, 0, Length());
}

void GUITextBox::ClearSelection() {
  selectionLength_ = 0;
  if (caret_) caret_->SetVisible(1);
}

void GUITextBox::DeleteSelection() {
  int32_t start = 0;
  int32_t end = 0;
  SelectionRange(&start, &end);
  text_.erase(static_cast<size_t>(start), static_cast<size_t>(end - start));
  caretIndex_ = start;
  anchor_ = start;
  ClearSelection();
}

bool GUITextBox::OnMessage(uintptr_t sender, uint32_t code, uintptr_t parameter) {
  if (!inputEnabled_) return Widget::OnMessage(sender, code, parameter);
  const auto* mouse = reinterpret_cast<const MousePacket*>(parameter);
  switch (code) {
    case GUIMSG_FOCUS_LOST:
      selectionLength_ = 0;
      if (caret_) caret_->SetVisible(0);
      Refresh();
      break;
    case GUIMSG_FOCUS_GAIN:
      anchor_ = 0;
      if (!readOnly_) selectionLength_ = Length();
      Refresh();
      break;
    case GUIMSG_MOUSE_DOWN:
      if (!readOnly_ && mouse && (mouse->pressed & 1) && HitInTextBounds()) {
        CaretFromHitPoint();
        anchor_ = caretIndex_;
        selectionLength_ = 0;
        Refresh();
      }
      break;
    case GUIMSG_DRAG:
      if (!readOnly_ && mouse && (mouse->held & 1) && HitInTextBounds()) {
        CaretFromHitPoint();
        selectionLength_ = caretIndex_ - anchor_;
        Refresh();
      }
      break;
    case GUIMSG_KEYDOWN:
      if (!readOnly_ && parameter && OnKeyDown(*reinterpret_cast<const KeyboardPacket*>(parameter))) return true;
      break;
    default:
      break;
  }
  return Widget::OnMessage(sender, code, parameter);
}

bool GUITextBox::OnKeyDown(const KeyboardPacket& packet) {
  const bool shift = (packet.modifiers & (eKeyMod_LeftShift | eKeyMod_RightShift)) != 0;
  const bool ctrl = (packet.modifiers & (eKeyMod_LeftCtrl | eKeyMod_RightCtrl)) != 0;
  const bool caps = (packet.modifiers & eKeyMod_CapsLock) != 0;
  // No caret placed yet: edits start at the front.
  int32_t caret = std::clamp(caretIndex_, 0, Length());
  const uint8_t code = packet.scanCode;
  const bool navigationOrEdit = code == kBackspace || code == kHome || code == kLeft || code == kRight ||
                                code == kEnd || code == kDelete || ctrl ||
                                KeyToCharacter(code, shift, caps) != 255;
  // The caret shows from the first key that moves it or edits.
  if (navigationOrEdit && code != kLeftShift && code != kRightShift && caret_) caret_->SetVisible(1);
  const int32_t length = Length();
  switch (packet.scanCode) {
    case kBackspace:
      if (selectionLength_ != 0) {
        DeleteSelection();
      } else if (caret > 0) {
        text_.erase(static_cast<size_t>(caret - 1), 1);
        caretIndex_ = caret - 1;
      }
      Refresh();
      return true;
    case kLeftShift:
    case kRightShift:
      if (selectionLength_ == 0) anchor_ = caret;
      return true;
    case kHome:
      if (shift) {
        selectionLength_ = -anchor_;
      } else {
        ClearSelection();
      }
      caretIndex_ = 0;
      Refresh();
      return true;
    case kLeft:
      if (shift) {
        if (caret > 0) --selectionLength_;
      } else {
        ClearSelection();
      }
      caretIndex_ = std::max(caret - 1, 0);
      Refresh();
      return true;
    case kRight:
      if (shift) {
        if (caret < length) ++selectionLength_;
      } else {
        ClearSelection();
      }
      if (caret < length) {
        if (caret == firstVisible_ + static_cast<int32_t>(shown_.size())) SetFirstVisible(firstVisible_ + 10);
        caretIndex_ = caret + 1;
      }
      Refresh();
      return true;
    case kEnd:
      if (shift) {
        selectionLength_ = length - anchor_;
      } else {
        ClearSelection();
      }
      caretIndex_ = length;
      Refresh();
      return true;
    case kDelete:
      if (selectionLength_ != 0) {
        DeleteSelection();
      } else if (caret < length) {
        text_.erase(static_cast<size_t>(caret), 1);
      }
      Refresh();
      return true;
    default:
      break;
  }
  if (ctrl) {
    int32_t start = 0;
    int32_t end = 0;
    SelectionRange(&start, &end);
    const std::string selected = text_.substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
    if (packet.scanCode == kX && selectionLength_ != 0) {
      clipboard_ = selected;
      DeleteSelection();
    } else if (packet.scanCode == kC && selectionLength_ != 0) {
      clipboard_ = selected;
    } else if (packet.scanCode == kV) {
      if (selectionLength_ != 0) DeleteSelection();
      const int32_t at = std::clamp(caretIndex_, 0, Length());
      InsertText(text_, at, clipboard_);
      caretIndex_ = at + static_cast<int32_t>(clipboard_.size());
    }
    Refresh();
    return true;
  }
  const uint8_t character = KeyToCharacter(packet.scanCode, shift, caps);
  if (character == 255) return false;
  if (selectionLength_ != 0) DeleteSelection();
  const int32_t at = std::clamp(caretIndex_, 0, Length());
  InsertText(text_, at, std::string(1, static_cast<char>(character)));
  caretIndex_ = at + 1;
  Refresh();
  return true;
}
