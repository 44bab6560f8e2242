#pragma once
// The buffered keyboard: one KeyboardPacket per key event, each carrying the
// modifier byte as it stands after that event.
#include <cstdint>

#include "engine/services/InputPackets.h"
#include "input/BaseDevice.h"

class cDX8_KeyboardDevice : public cDX8_BaseDevice<KeyboardPacket> {
 public:
  static constexpr int32_t kBufferSize = 64;
  // Flags for the keyboard: shared with other programs, only while in front.
  static constexpr uint32_t kCooperativeFlags = platform::DISCL_NONEXCLUSIVE | platform::DISCL_FOREGROUND;

  explicit cDX8_KeyboardDevice(platform::HWND window);

  HRESULT Create(platform::IDirectInput8* input) override;
  HRESULT ConvertBufferedData() override;
  HRESULT ResetState() override { return platform::DI_OK; }
  HRESULT Acquire() override;

  uint8_t GetModifiers() const { return modifiers_; }

  // The modifier byte after a key event: Ctrl, Shift and Alt bits follow
  // their key, Caps Lock and Num Lock toggle on each press.
  static uint8_t ApplyKey(uint8_t modifiers, uint8_t scanCode, bool down);

 private:
  uint8_t modifiers_ = 0;
};
