#pragma once
// A slider with a decrease and an increase button, a page size, a thumb
// whose length shows the page, and repeats while a button or the track is
// held. Its value grows toward its up end: a vertical bar has the minimum at
// the bottom. List boxes scroll with one.
#include <cstdint>

#include "gui/core/GUISlider.h"

class GUIButton;

// Scroll bar messages raised to itself and then to the parent; no data.
enum GUIScrollBarMessage : uint32_t {
  GUIMSG_SBM_UP = 512,
  GUIMSG_SBM_PAGEUP = 513,
  GUIMSG_SBM_DOWN = 514,
  GUIMSG_SBM_PAGEDOWN = 515,
  GUIMSG_SBM_MAX = 517,
  GUIMSG_SBM_MIN = 518,
};

class GUIScrollBar : public GUISlider {
 public:
  explicit GUIScrollBar(cEntity_Manager* owner);
  ~GUIScrollBar() override;

  // The widget's completion, then the parts' set-up.
  CoreStatus Initialize() override;
  bool OnMessage(uintptr_t sender, uint32_t code, uintptr_t parameter) override;
  // Places the buttons at their ends, then the slider's work.
  void UpdateTransform() override;
  // The repeat of a held button or track.
  void Update(float seconds) override;
  void SetMin(int32_t v) override;
  void SetMax(int32_t v) override;
  void SetTrack(float start, float end) override;
  // A bar turned the other way lays its thumb out afresh along the new
  // axis, at the current value.
  void SetVertical(uint8_t on, bool update) override;

  virtual bool CreateButtons();
  // Bounds and plane models of the thumb and buttons, the buttons' looks.
  virtual void InitChildren();
  // Sizes the thumb to the page.
  virtual void Layout();
  virtual void SetDecreaseButton(GUIButton* button) { decrease_ = button; }
  virtual GUIButton* GetDecreaseButton() { return decrease_; }
  virtual void SetDecreaseButtonScale(float x, float y, float z);
  virtual void SetIncreaseButton(GUIButton* button) { increase_ = button; }
  virtual GUIButton* GetIncreaseButton() { return increase_; }
  virtual void SetIncreaseButtonScale(float x, float y, float z);
  virtual void SetPageSize(int32_t n);
  virtual int32_t GetPageSize() { return page_; }
  virtual void SetBarScale(float x, float y, float z);
  virtual void ScaleBarBy(float x, float y, float z);
  // The positions are kept only for manual placement.
  virtual void SetButtonPlacement(uint8_t automatic, float incX, float incY, float decX, float decY);

  float GetRepeatTimer() const { return timer_; }
  bool IsIncreaseHeld() const { return increaseHeld_ != 0; }
  bool IsDecreaseHeld() const { return decreaseHeld_ != 0; }
  bool IsTrackHeld() const { return trackHeld_ != 0; }

 protected:
  void ChildLeft(GUIEntity* child) override;

 private:
  // Value plus a step with the thumb snapped, then the code raised.
  void Step(int32_t delta, uint32_t code);
  void ClearHeld();

  GUIButton* decrease_ = nullptr;
  GUIButton* increase_ = nullptr;
  uint8_t automaticPlacement_ = 1;
  float increasePos_[2] = {0.0f, 0.0f};
  float decreasePos_[2] = {0.0f, 0.0f};
  float timer_ = 0.0f;
  float lastPosition_ = 0.0f;
  uint8_t trackHeld_ = 0;
  uint8_t pagingStopped_ = 0;
  uint8_t thumbHeld_ = 0;
  uint8_t pagingUp_ = 0;
  uint8_t increaseHeld_ = 0;
  uint8_t decreaseHeld_ = 0;
  int32_t page_ = 2;
};
