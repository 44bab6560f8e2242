#pragma once
// The multi-line edit box: the edit text wrapped into lines at word
// boundaries (a "\n" breaks a line too), shown from the first visible line,
// scrolled a line at a time. Every message goes on to the widget base after
// the box's own handling, so consumed keys still raise "keydown".
#include <cstdint>
#include <string>
#include <vector>

#include "gui/core/GUITextBox.h"

class GUIMLTextBox : public GUITextBox {
 public:
  explicit GUIMLTextBox(cEntity_Manager* owner);
  ~GUIMLTextBox() override;

  bool OnMessage(uintptr_t sender, uint32_t code, uintptr_t parameter) override;
  void Refresh() override;

  int32_t GetFirstLine() const { return firstLine_; }
  // The caret counted from the first character in view.
  int32_t GetCaretInView() const { return caretIndex_ - firstVisible_; }
  bool HasMoreLinesBelow() const { return moreBelow_ != 0; }
  // The wrapped lines of the last refresh.
  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  // Wraps the edit text into lines_ (with the text index each starts at).
  void Wrap();
  void CaretFromLinePoint();
  // The wrapped line holding a text index.
  int32_t LineOf(int32_t index) const;
  // Moves the view by characters, to the line that holds the new start.
  void MoveView(int32_t characters);

  int32_t firstLine_ = 0;
  uint8_t moreBelow_ = 0;
  int32_t viewEnd_ = 0;  // text index just past the last line in view
  std::vector<std::string> lines_;
  std::vector<int32_t> lineStarts_;
};
