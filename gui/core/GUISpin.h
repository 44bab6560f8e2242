#pragma once
// Two buttons that count the number in a target text box up or down.
#include <cstdint>

#include "gui/core/Widget.h"

class GUIButton;
class GUITextBox;

class GUISpin : public Widget {
 public:
  explicit GUISpin(cEntity_Manager* owner);
  ~GUISpin() override;

  // The widget's completion, then both buttons' bounds, models and looks.
  CoreStatus Initialize() override;
  bool OnMessage(uintptr_t sender, uint32_t code, uintptr_t parameter) override;
  // The buttons take the upper and lower half.
  void SetScale(float x, float y, float z, bool update) override;

  virtual bool CreateButtons();
  virtual void SetTarget(GUITextBox* target) { target_ = target; }
  virtual GUIButton* GetIncreaseButton() { return increase_; }
  virtual GUIButton* GetDecreaseButton() { return decrease_; }

  GUITextBox* GetTarget() const { return target_; }

 protected:
  void ChildLeft(GUIEntity* child) override;

 private:
  GUIButton* increase_ = nullptr;
  GUIButton* decrease_ = nullptr;
  GUITextBox* target_ = nullptr;
};
