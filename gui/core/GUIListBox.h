#pragma once
// A list of text lines shown in a window of line widgets, with a highlight
// on the selected line and a vertical scroll bar that shows only while the
// lines do not fit. Raises "lbm_selchange" (768) to its parent with the row
// in view, and can run a bound action with the clicked line's text.
//
// Invariants: 0 <= top line <= max(0, lines - lines in view);
// -1 <= selection <= lines - 1; one line widget per line in view.
#include <cstdint>
#include <string>
#include <vector>

#include "gui/core/Widget.h"

class C3DFont;
class GUIScrollBar;
class GUIStatic;
class GUIStaticText;
class cAction_Base;

enum GUIListBoxMessage : uint32_t {
  GUIMSG_LBM_SELCHANGE = 768,
  GUIMSG_LBM_HLUP = 769,
  GUIMSG_LBM_HLPAGEUP = 770,
  GUIMSG_LBM_HLDOWN = 771,
  GUIMSG_LBM_HLPAGEDOWN = 772,
};

class GUIListBox : public Widget {
 public:
  explicit GUIListBox(cEntity_Manager* owner);
  ~GUIListBox() override;

  // The widget's completion, then the parts' set-up.
  CoreStatus Initialize() override;
  // Gives the bound action back, then leaves.
  CoreStatus Exit() override;
  bool OnMessage(uintptr_t sender, uint32_t code, uintptr_t parameter) override;
  void SetHeight(float h) override;
  void SetScale(float x, float y, float z, bool update) override;
  void ScaleBy(float x, float y, float z, bool update) override;

  virtual bool CreateHighlight();
  virtual bool CreateScrollBar();
  virtual void InitChildren();
  virtual void SetFont(C3DFont* font);
  virtual C3DFont* GetFont() { return font_.Get(); }
  virtual void SetTextScale(float x, float y, float z);
  virtual void SetTextScaleV(JVector v) { SetTextScale(v.x, v.y, v.z); }
  virtual float GetTextScaleX() { return textScale_[0]; }
  virtual float GetTextScaleY() { return textScale_[1]; }
  virtual float GetTextScaleZ() { return textScale_[2]; }
  virtual float GetLinePitch() { return lineScale_[1]; }
  virtual void SetLineScale(float x, float y, float z);
  virtual void SetScrollBarWidth(float fraction) { scrollBarWidth_ = fraction; }
  virtual void SetScrollBarThumbScale(float x, float y, float z);
  virtual void SetScrollBarTrack(float start, float end);
  virtual void SetScrollBarFixedThumbLength(uint8_t on);
  virtual void SetScrollBarFixedThumbWidth(uint8_t on);
  virtual void SetListBoundsV(const float bounds[4]) { SetListBounds(bounds[0], bounds[1], bounds[2], bounds[3]); }
  virtual void SetListBounds(float left, float top, float right, float bottom);
  virtual void SetScrollBarButtonScale(float x, float y);
  virtual void SetScrollBarButtonScaleMode(uint8_t automatic, float x, float y);
  virtual void SetScrollBarButtonPlacement(uint8_t automatic, float incX, float incY, float decX, float decY);
  virtual int32_t GetLineCount() { return static_cast<int32_t>(lines_.size()); }
  // Makes the line widgets match the lines in view (dropped ones are
  // destroyed), then scroll bar and layout.
  virtual void RebuildLines(bool relayout);
  virtual void LayoutLines();
  virtual void SetTopLine(int32_t index);
  virtual int32_t GetTopLine() { return topLine_; }
  virtual void SetSelection(int32_t index);
  virtual int32_t GetSelection() { return selection_; }
  virtual void SetHighlightShader(C3DBaseShader* shader);
  virtual void PlaceHighlight();
  // Part 1 the bar, 2 the thumb, 3 and 8 the decrease and increase buttons'
  // current look, 4-7 and 9-12 their state looks 1-4.
  virtual void SetScrollBarShader(int32_t part, C3DBaseShader* shader);
  virtual void UpdateScrollBar();
  virtual int32_t AddLine(const std::string& text);
  virtual int32_t InsertLineAtTop(const std::string& text);
  // Empty outside the lines.
  virtual std::string GetLine(int32_t index);
  virtual int32_t FindLine(const std::string& text);
  virtual bool RemoveLineByText(const std::string& text);
  virtual bool RemoveLine(int32_t index);
  virtual void ClearLines();
  virtual int32_t FindShownLine(int32_t handleId);
  virtual std::string GetSelectedText();
  virtual void SetBoundAction(cAction_Base* action);
  virtual void SetActionPrefix(const std::string& text) { prefix_ = text; }
  virtual void SetActionSuffix(const std::string& text) { suffix_ = text; }
  virtual void SetActionTrigger(uint32_t code) { trigger_ = code; }
  virtual void SetCustomScrollBar(uint8_t on) { customScrollBar_ = on; }
  virtual void SetScrollBarBuffer(float fraction) { scrollBarBuffer_ = fraction; }
  virtual void SetScrollBarOffsetX(float offset) { scrollBarOffsetX_ = offset; }

  int32_t LinesInView();
  GUIScrollBar* GetScrollBar() const { return scrollBar_; }
  GUIStatic* GetHighlight() const { return highlight_; }
  const std::vector<GUIStaticText*>& LineWidgets() const { return lineWidgets_; }
  const float* GetListBounds() const { return bounds_; }
  // The row in view under the box's last hit point, or -1.
  int32_t RowAtHitPoint();
  cAction_Base* GetBoundAction() const { return action_; }
  uint32_t GetActionTrigger() const { return trigger_; }
  const std::string& GetActionPrefix() const { return prefix_; }
  const std::string& GetActionSuffix() const { return suffix_; }

 protected:
  void ChildLeft(GUIEntity* child) override;

 private:
  // Runs the bound action when its trigger is the code.
  void RunBoundAction(uint32_t code, int32_t row);
  void SelectRow(int32_t row);
  void RaiseSelChange(int32_t row);
  void ScrollBarValueFromTop();

  uint8_t customScrollBar_ = 0;
  ResourceRef<C3DFont> font_;
  float textScale_[3] = {1.0f, 1.0f, 1.0f};
  float lineScale_[3] = {1.0f, 1.0f, 1.0f};
  std::vector<GUIStaticText*> lineWidgets_;
  std::vector<std::string> lines_;
  GUIStatic* highlight_ = nullptr;
  GUIScrollBar* scrollBar_ = nullptr;
  float bounds_[4] = {0.0f, 0.0f, 1.0f, 1.0f};
  float scrollBarWidth_ = 0.1f;
  float scrollBarBuffer_ = 0.1f;
  float scrollBarOffsetX_ = 0.0f;
  uint8_t buttonScaleAutomatic_ = 1;
  float buttonScale_[2] = {1.0f, 1.0f};
  int32_t topLine_ = 0;
  int32_t selection_ = -1;
  cAction_Base* action_ = nullptr;
  std::string prefix_;
  std::string suffix_;
  uint32_t trigger_ = 13;
};
