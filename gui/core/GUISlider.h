#pragma once
// An integer value between a minimum and a maximum shown by a thumb on a
// track. The pointer sets it by clicking the track or dragging the thumb; it
// can mirror its value into a display widget or move the thumb on a curve.
//
// Placement is in fractions of the bar's length along its axis: the track
// runs from `trackStart` to `trackEnd`, the thumb is `thumbLength` long. A
// vertical bar counts from its bottom edge, a horizontal one from its left.
#include <cstdint>

#include "gui/core/Widget.h"

class GUIStatic;

// Slider messages raised to the parent; the data is the new value.
enum GUISliderMessage : uint32_t {
  GUIMSG_SLM_DRAGCHANGE = 256,
  GUIMSG_SLM_PAGECHANGE = 257,
};

class GUISlider : public Widget {
 public:
  explicit GUISlider(cEntity_Manager* owner);
  ~GUISlider() override;

  // The widget's completion, then the thumb's bounds and plane model.
  CoreStatus Initialize() override;
  bool OnMessage(uintptr_t sender, uint32_t code, uintptr_t parameter) override;
  // The thumb shows exactly while the slider is enabled.
  void SetEnabled(uint8_t on) override;
  // Centres the thumb across the bar, then re-applies the value.
  void UpdateTransform() override;

  virtual bool CreateThumb();
  virtual GUIStatic* GetThumb() { return thumb_; }
  virtual void SetMin(int32_t v);
  virtual int32_t GetMin() { return min_; }
  virtual void SetMax(int32_t v);
  virtual int32_t GetMax() { return max_; }
  virtual int32_t GetValue() { return *value_; }
  // Clamps into the range, places the thumb, shows the value on the display.
  virtual void SetValue(int32_t v);
  virtual void SetTrack(float start, float end);
  virtual void SetTrackV(const float pair[2]) { SetTrack(pair[0], pair[1]); }
  virtual void SetFixedThumbLength(uint8_t on) { fixedLength_ = on; }
  virtual void SetFixedThumbWidth(uint8_t on) { fixedWidth_ = on; }
  virtual void SetVertical(uint8_t on, bool update);
  virtual uint8_t IsVertical() { return vertical_; }
  virtual void SetSnapThumb(uint8_t on) { snap_ = on; }
  virtual uint8_t GetSnapThumb() { return snap_; }
  virtual void SetThumbScale(float x, float y, float z, bool update);
  virtual void SetThumbScaleV(JVector v, bool update) { SetThumbScale(v.x, v.y, v.z, update); }
  virtual void SetThumbUV(float u0, float v0, float u1, float v1);
  virtual void SetDisplayWidget(Widget* widget) { display_ = widget; }
  virtual Widget* GetDisplayWidget() { return display_; }
  // The value is read and written through the caller's int from now on.
  virtual void BindValue(int32_t* value) { value_ = value ? value : &ownValue_; }
  virtual void UnbindValue() { value_ = &ownValue_; }
  virtual void SetCurve(uint8_t on) { curve_ = on; }
  virtual void SetStartPoint(float x, float y) { SetPoint(0, x, y); }
  virtual void SetStartControlPoint(float x, float y) { SetPoint(1, x, y); }
  virtual void SetEndControlPoint(float x, float y) { SetPoint(2, x, y); }
  virtual void SetEndPoint(float x, float y) { SetPoint(3, x, y); }

  float GetTrackStart() const { return trackStart_; }
  float GetTrackEnd() const { return trackEnd_; }
  float GetThumbLength() const { return thumbLength_; }
  // The value a pointer fraction along the axis stands for (not clamped);
  // the minimum on a degenerate track or range.
  int32_t ValueAt(float fraction) const;
  // The thumb's leading edge as a fraction from the start end.
  float ThumbFraction() const;

 protected:
  void ChildLeft(GUIEntity* child) override;
  // The pointer's fraction along the axis from this bar's hit point.
  float AxisHit();
  float ThumbHit();
  // Bar length and the thumb's size along and across the axis, world units.
  float BarLength() { return vertical_ ? height_ * ScaleY() : width_ * ScaleX(); }
  float BarAcross() { return vertical_ ? width_ * ScaleX() : height_ * ScaleY(); }
  void RecomputeThumbLength();
  // Puts the thumb's leading edge at a fraction from the start end.
  void PlaceThumbAt(float fraction);
  // The thumb follows the pointer at the grab offset, inside the track.
  void ThumbFollows(float h);
  void ReapplyWithSnap();
  // Sends a code to this widget and, unless taken there, to the parent.
  bool Raise(uint32_t code, uintptr_t data);
  bool Down(uintptr_t parameter) const;
  bool Held(uintptr_t parameter) const;
  GUIEntity* FromWord(uintptr_t sender) const { return reinterpret_cast<GUIEntity*>(sender); }

  GUIStatic* thumb_ = nullptr;
  Widget* display_ = nullptr;
  // Set while the value is written to the display: a display that holds the
  // slider among its children updates the slider's transform, which would
  // write the display again without end.
  bool writingDisplay_ = false;
  uint8_t fixedLength_ = 0;
  uint8_t fixedWidth_ = 0;
  int32_t min_ = 0;
  int32_t max_ = 100;
  int32_t ownValue_ = 0;
  int32_t* value_ = &ownValue_;
  uint8_t vertical_ = 0;
  uint8_t snap_ = 1;
  float trackStart_ = 0.1f;
  float trackEnd_ = 0.9f;
  float thumbLength_ = 0.0f;
  float grab_ = 0.0f;
  uint8_t curve_ = 0;
  float points_[4][2] = {};

 private:
  void SetPoint(int i, float x, float y) {
    points_[i][0] = x;
    points_[i][1] = y;
  }
};
