#include "input/KeyboardDevice.h"

#include <array>

#include "platform/window/KeyCodes.h"

namespace {

// The keys whose state the modifier byte follows while they are held.
struct HeldModifier {
  uint8_t scanCode;
  uint8_t bit;
};
constexpr std::array<HeldModifier, 6> kHeldModifiers{{
    {platform::DIK_RCONTROL, eKeyMod_RightCtrl},
    {platform::DIK_LCONTROL, eKeyMod_LeftCtrl},
    {platform::DIK_RSHIFT, eKeyMod_RightShift},
    {platform::DIK_LSHIFT, eKeyMod_LeftShift},
    {platform::DIK_RMENU, eKeyMod_RightAlt},
    {platform::DIK_LMENU, eKeyMod_LeftAlt},
}};
constexpr uint8_t kHeldMask = eKeyMod_RightCtrl | eKeyMod_LeftCtrl | eKeyMod_RightShift | eKeyMod_LeftShift | eKeyMod_RightAlt | eKeyMod_LeftAlt;

}  // namespace

cDX8_KeyboardDevice::cDX8_KeyboardDevice(platform::HWND window)
    : cDX8_BaseDevice(window, "VORN_KEYBOARD", platform::GUID_SysKeyboard) {
  bufferSize_ = kBufferSize;
}

uint8_t cDX8_KeyboardDevice::ApplyKey(uint8_t modifiers, uint8_t scanCode, bool down) {
  for (const HeldModifier& m : kHeldModifiers) {
    if (m.scanCode == scanCode) return down ? (modifiers | m.bit) : (modifiers & ~m.bit);
  }
  if (down && scanCode == platform::DIK_CAPITAL) return modifiers ^ eKeyMod_CapsLock;
  if (down && scanCode == platform::DIK_NUMLOCK) return modifiers ^ eKeyMod_NumLock;
  return modifiers;
}

platform::HRESULT cDX8_KeyboardDevice::Create(platform::IDirectInput8* input) {
  if (CreateDevice(input, platform::GUID_SysKeyboard, &platform::c_dfDIKeyboard, kCooperativeFlags) < 0) {
    return platform::E_FAIL;
  }
  // The window may not be in front yet; a later read or restore acquires.
  Acquire();
  return platform::DI_OK;
}

platform::HRESULT cDX8_KeyboardDevice::Acquire() {
  if (!device_) return platform::E_FAIL;
  if (device_->Acquire() < 0) return platform::E_FAIL;
  Flush();
  acquired_ = true;
  uint8_t keys[256] = {};
  if (device_->GetDeviceState(sizeof(keys), keys) < 0) return platform::E_FAIL;
  // Key-ups that happened while the device was not acquired never arrive,
  // so the held modifiers are taken afresh from the key state, set and
  // cleared. The lock bits keep their toggle state: holding the key now
  // says nothing about it.
  uint8_t held = 0;
  for (const HeldModifier& m : kHeldModifiers) {
    if (keys[m.scanCode] != 0) held |= m.bit;
  }
  modifiers_ = static_cast<uint8_t>((modifiers_ & ~kHeldMask) | held);
  return platform::DI_OK;
}

platform::HRESULT cDX8_KeyboardDevice::ConvertBufferedData() {
  for (uint32_t i = 0; i < eventCount_; ++i) {
    const platform::DIDEVICEOBJECTDATA& e = events_[i];
    KeyboardPacket& p = packets_[i];
    bool down = (e.dwData & 0x80) != 0;
    uint8_t scanCode = static_cast<uint8_t>(e.dwOfs & 0xFF);
    modifiers_ = ApplyKey(modifiers_, scanCode, down);
    p.scanCode = scanCode;
    p.released = down ? 0 : 1;
    p.timeStamp = e.dwTimeStamp;
    p.modifiers = modifiers_;
  }
  return platform::DI_OK;
}
