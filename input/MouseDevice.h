#pragma once
// The buffered mouse: one MousePacket per mouse event, with the scaled
// motion, a cursor position that the device keeps inside the window's
// drawing area itself (the game draws its own cursor from it) and the
// pressed, held and released button masks.
#include <cstdint>

#include "engine/services/InputPackets.h"
#include "input/BaseDevice.h"

class cDX8_MouseDevice : public cDX8_BaseDevice<MousePacket> {
 public:
  static constexpr int32_t kBufferSize = 32;
  // Flags for the mouse: the program's own while it is in front.
  static constexpr uint32_t kCooperativeFlags = platform::DISCL_EXCLUSIVE | platform::DISCL_FOREGROUND;

  explicit cDX8_MouseDevice(platform::HWND window);

  HRESULT Create(platform::IDirectInput8* input) override;
  HRESULT ConvertBufferedData() override;
  // Puts the position in the middle of the drawing area.
  HRESULT ResetState() override;
  HRESULT Clear() override;
  HRESULT Acquire() override;

  // Stores the position as given; the next motion clamps it.
  void SetPosition(int16_t x, int16_t y) {
    x_ = x;
    y_ = y;
  }
  void GetPosition(int32_t* x, int32_t* y) const {
    if (x) *x = x_;
    if (y) *y = y_;
  }
  uint8_t GetHeldButtons() const { return held_; }
  float GetSensitivity() const { return sensitivity_; }
  int32_t GetAreaWidth() const { return areaWidth_; }
  int32_t GetAreaHeight() const { return areaHeight_; }

 private:
  // Reads the window rectangle into the drawing area; keeps the last one
  // when the window cannot be asked.
  void UpdateDrawingArea();
  int32_t Scale(uint32_t data) const;

  int16_t x_ = 0;
  int16_t y_ = 0;
  uint8_t held_ = 0;
  float sensitivity_ = 1.0f;
  int32_t frameWidth2_ = 0;   // twice the sizing-frame width
  int32_t frameHeight2_ = 0;  // twice the sizing-frame height
  int32_t captionHeight_ = 0;
  int32_t areaWidth_ = 0;
  int32_t areaHeight_ = 0;
};
