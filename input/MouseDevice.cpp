#include "input/MouseDevice.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/window/Window.h"

namespace {

// A position plus a motion, worked out wide and kept within 0..limit.
int16_t MoveWithin(int16_t position, int32_t delta, int32_t limit) {
  int64_t moved = static_cast<int64_t>(position) + delta;
  return static_cast<int16_t>(std::clamp<int64_t>(moved, 0, limit));
}

}  // namespace

cDX8_MouseDevice::cDX8_MouseDevice(platform::HWND window)
    : cDX8_BaseDevice(window, "VORN_MOUSE", platform::GUID_SysMouse) {
  Clear();
  ResetState();
}

platform::HRESULT cDX8_MouseDevice::Clear() {
  cDX8_BaseDevice::Clear();
  frameWidth2_ = 2 * platform::GetSystemMetrics(platform::SM_CXFRAME);
  frameHeight2_ = 2 * platform::GetSystemMetrics(platform::SM_CYFRAME);
  captionHeight_ = platform::GetSystemMetrics(platform::SM_CYCAPTION);
  held_ = 0;
  sensitivity_ = 1.0f;
  bufferSize_ = kBufferSize;
  return ResetState();
}

void cDX8_MouseDevice::UpdateDrawingArea() {
  platform::RECT r;
  if (!platform::GetWindowRect(window_, &r)) return;
  // Positions are 16-bit: a drawing area is at most that wide, and never
  // negative for a window smaller than its frame.
  constexpr int32_t kMax = std::numeric_limits<int16_t>::max();
  int64_t w = static_cast<int64_t>(r.right) - r.left - frameWidth2_;
  int64_t h = static_cast<int64_t>(r.bottom) - r.top - captionHeight_ - frameHeight2_;
  areaWidth_ = static_cast<int32_t>(std::clamp<int64_t>(w, 0, kMax));
  areaHeight_ = static_cast<int32_t>(std::clamp<int64_t>(h, 0, kMax));
}

platform::HRESULT cDX8_MouseDevice::ResetState() {
  UpdateDrawingArea();
  x_ = static_cast<int16_t>(areaWidth_ / 2);
  y_ = static_cast<int16_t>(areaHeight_ / 2);
  return platform::DI_OK;
}

platform::HRESULT cDX8_MouseDevice::Create(platform::IDirectInput8* input) {
  if (CreateDevice(input, platform::GUID_SysMouse, &platform::c_dfDIMouse2, kCooperativeFlags) < 0) {
    return platform::E_FAIL;
  }
  // The window may not be in front yet; a later read or restore acquires.
  Acquire();
  return platform::DI_OK;
}

platform::HRESULT cDX8_MouseDevice::Acquire() {
  platform::HRESULT hr = cDX8_BaseDevice::Acquire();
  if (hr < 0) return hr;
  // A button released while the device was not acquired never reports its
  // release, so the held mask is taken afresh from the button state.
  platform::DIMOUSESTATE2 state{};
  if (device_->GetDeviceState(sizeof(state), &state) < 0) return platform::E_FAIL;
  uint8_t held = 0;
  for (int b = 0; b < 8; ++b) {
    if (state.rgbButtons[b] & 0x80) held |= static_cast<uint8_t>(1u << b);
  }
  held_ = held;
  return hr;
}

int32_t cDX8_MouseDevice::Scale(uint32_t data) const {
  double scaled = std::trunc(static_cast<double>(static_cast<int32_t>(data)) * sensitivity_);
  constexpr double kLo = std::numeric_limits<int32_t>::min();
  constexpr double kHi = std::numeric_limits<int32_t>::max();
  if (!(scaled >= kLo)) return std::numeric_limits<int32_t>::min();
  if (scaled > kHi) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(scaled);
}

platform::HRESULT cDX8_MouseDevice::ConvertBufferedData() {
  UpdateDrawingArea();
  for (uint32_t i = 0; i < eventCount_; ++i) {
    const platform::DIDEVICEOBJECTDATA& e = events_[i];
    MousePacket& p = packets_[i];
    p.dx = p.dy = p.dz = 0;
    p.pressed = p.released = 0;
    p.held = held_;
    switch (e.dwOfs) {
      case platform::DIMOFS_X:
        p.dx = Scale(e.dwData);
        x_ = MoveWithin(x_, p.dx, areaWidth_);
        break;
      case platform::DIMOFS_Y:
        p.dy = Scale(e.dwData);
        y_ = MoveWithin(y_, p.dy, areaHeight_);
        break;
      case platform::DIMOFS_Z:
        p.dz = Scale(e.dwData);
        break;
      default:
        if (e.dwOfs >= platform::DIMOFS_BUTTON0 && e.dwOfs <= platform::DIMOFS_BUTTON7) {
          uint8_t bit = static_cast<uint8_t>(1u << (e.dwOfs - platform::DIMOFS_BUTTON0));
          if (e.dwData & 0x80) {
            p.pressed = bit;
            p.held = held_;
            held_ |= bit;
          } else {
            held_ &= static_cast<uint8_t>(~bit);
            p.held = held_;
            p.released = bit;
          }
        }
        break;
    }
    p.x = x_;
    p.y = y_;
    p.timeStamp = e.dwTimeStamp;
  }
  return platform::DI_OK;
}
