#pragma once
// The engine's key names: the texts that configuration scripts and GUI key
// events use for keys, and the scan codes they stand for. Names compare
// ignoring case.
#include <cstdint>
#include <string>
#include <string_view>

// Modifier bits of a keyboard record.
namespace keymod {
inline constexpr uint8_t RightCtrl = 0x01;
inline constexpr uint8_t LeftCtrl = 0x02;
inline constexpr uint8_t RightShift = 0x04;
inline constexpr uint8_t LeftShift = 0x08;
inline constexpr uint8_t RightAlt = 0x10;
inline constexpr uint8_t LeftAlt = 0x20;
inline constexpr uint8_t CapsLock = 0x40;
inline constexpr uint8_t NumLock = 0x80;
}  // namespace keymod

// The scan code of a key name ("W" 17, "ESC" 1, "uparrow" 200, " " 57);
// 0 for any other text, the empty text included.
uint8_t KeyNameToScanCode(std::string_view name);
// The name of a scan code as key events spell it: the same table read the
// other way, letters in lower case ("q" 16, "ESC" 1, "uparrow" 200);
// "ERROR_UNKNOWN_KEY" for a code without a name.
std::string ScanCodeToKeyName(uint8_t code);

// The modifier bits of a modifier name in a key spec ("ctrl" 0x03, "rctrl"
// 0x01, "lctrl" 0x02, "alt" 0x30, "ralt" 0x10, "lalt" 0x20); 0 for any other
// text. There are no Shift names.
uint8_t KeyModifierNameToBits(std::string_view name);
