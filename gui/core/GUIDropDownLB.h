#pragma once
// A selection text, an arrow button and a hidden list box that opens below
// the box; the text shows the list's selected line.
#include <cstdint>
#include <string>

#include "gui/core/Widget.h"

class GUIButton;
class GUIListBox;
class GUIStaticText;

class GUIDropDownLB : public Widget {
 public:
  explicit GUIDropDownLB(cEntity_Manager* owner);
  ~GUIDropDownLB() override;

  // The widget's completion, then the layout of the parts.
  CoreStatus Initialize() override;
  bool OnMessage(uintptr_t sender, uint32_t code, uintptr_t parameter) override;

  virtual bool CreateListBox();
  virtual bool CreateArrowButton();
  virtual bool CreateSelectionText();
  // Places the list below the box, the square arrow at its side and the
  // text beside it. Repeatable: every placement is absolute.
  virtual void Layout();
  virtual GUIListBox* GetListBox() { return list_; }
  virtual GUIButton* GetArrowButton() { return arrow_; }
  virtual GUIStaticText* GetSelectionTextWidget() { return text_; }
  // Sets the text, then shows the list's selection in its place.
  virtual void SetSelectionText(const std::string& text);
  virtual std::string GetSelectionText();
  virtual void SetSelectionTextScale(float x, float y, float z);
  virtual void SetSelectionTextScaleV(JVector v) { SetSelectionTextScale(v.x, v.y, v.z); }
  virtual float GetSelectionScaleX();
  virtual float GetSelectionScaleY();
  virtual float GetSelectionScaleZ();
  virtual void SetTextBounds(float left, float top, float right, float bottom);
  virtual void SetTextBoundsV(const float bounds[4]) { SetTextBounds(bounds[0], bounds[1], bounds[2], bounds[3]); }
  virtual void UpdateSelectionText();
  virtual void SetArrowSide(uint8_t right) { arrowSide_ = right; }
  virtual uint8_t GetArrowSide() { return arrowSide_; }

  bool IsOpen() const;

 protected:
  void ChildLeft(GUIEntity* child) override;

 private:
  // The text bounds less the arrow's part of the width.
  void EffectiveBounds(float out[4]);

  GUIStaticText* text_ = nullptr;
  GUIListBox* list_ = nullptr;
  GUIButton* arrow_ = nullptr;
  float textBounds_[4] = {0.0f, 0.0f, 1.0f, 1.0f};
  uint8_t arrowSide_ = 1;
};
