#pragma once
// The one-line edit box: the edit text, a caret, a selection and the first
// character in view, shown through a child text and a caret widget. Key-down
// packets edit it; what it does not consume goes on as "keydown".
#include <cstdint>
#include <string>

#include "gui/core/Widget.h"

class C3DFont;
class GUIStatic;
class GUIStaticText;

// The character a key types on the US layout, or 255 for none. Letters are
// upper case with Shift or Caps Lock; other keys shift with Shift only.
uint8_t KeyToCharacter(uint8_t scanCode, bool shift, bool capsLock);

// Inserts `text` at `position` (cut into 0 .. length); answers the new length.
size_t InsertText(std::string& target, int32_t position, const std::string& text);

class GUITextBox : public Widget {
 public:
  explicit GUITextBox(cEntity_Manager* owner);
  ~GUITextBox() override;

  // The widget's completion, the parts' bounds, caret size, then a refresh.
  CoreStatus Initialize() override;
  bool OnMessage(uintptr_t sender, uint32_t code, uintptr_t parameter) override;

  virtual bool CreateTextWidget();
  virtual bool CreateCaret();
  // Caret, selection and view are kept inside the new text.
  virtual void SetText(const std::string& text, bool update);
  virtual std::string GetText() { return text_; }
  virtual void SetTextScale(float x, float y, float z, bool update);
  virtual void SetTextBoundsV(const float bounds[4], bool update) {
    SetTextBounds(bounds[0], bounds[1], bounds[2], bounds[3], update);
  }
  // Fractions of the box: left, top, right, bottom.
  virtual void SetTextBounds(float left, float top, float right, float bottom, bool update);
  virtual GUIStaticText* GetTextWidget() { return textWidget_; }
  virtual GUIStatic* GetCaret() { return caret_; }
  virtual void SetFont(C3DFont* font);
  virtual C3DFont* GetFont();
  // Scrolls the caret into view, shows the text in view with its selection
  // and raises "tb_updated".
  virtual void Refresh();
  virtual void LayoutCaret();
  virtual void SetCaretShader(C3DBaseShader* shader);
  virtual void SetCaretPosition(int32_t index);
  virtual void SetFirstVisible(int32_t index);
  virtual void SetReadOnly(uint8_t on) { readOnly_ = on; }
  virtual uint8_t IsReadOnly() { return readOnly_; }
  virtual void SetInputEnabled(uint8_t on) { inputEnabled_ = on; }

  int32_t GetCaretIndex() const { return caretIndex_; }
  int32_t GetAnchor() const { return anchor_; }
  int32_t GetSelectionLength() const { return selectionLength_; }
  int32_t GetFirstVisible() const { return firstVisible_; }
  const std::string& GetClipboard() const { return clipboard_; }
  // The text that Refresh last showed.
  const std::string& GetShownText() const { return shown_; }

 protected:
  void ChildLeft(GUIEntity* child) override;
  // Handles a key-down packet; true when consumed.
  bool OnKeyDown(const KeyboardPacket& packet);
  // Places the caret at the character boundary nearest the hit point.
  void CaretFromHitPoint();
  bool HitInTextBounds() const;
  float CharWidth(char c);
  float ViewWidth();
  // The selected range [start, end) inside the text.
  void SelectionRange(int32_t* start, int32_t* end) const;
  void DeleteSelection();
  void ClearSelection();
  int32_t Length() const { return static_cast<int32_t>(text_.size()); }

  uint8_t readOnly_ = 0;
  uint8_t inputEnabled_ = 1;
  GUIStaticText* textWidget_ = nullptr;
  GUIStatic* caret_ = nullptr;
  int32_t caretIndex_ = -1;
  int32_t anchor_ = 0;
  int32_t selectionLength_ = 0;
  std::string clipboard_;
  std::string text_;
  int32_t firstVisible_ = 0;
  float bounds_[4] = {0.0f, 0.0f, 1.0f, 1.0f};
  std::string shown_;
};
