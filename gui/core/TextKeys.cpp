#include <algorithm>
#include <cctype>

#include "gui/core/GUITextBox.h"

uint8_t KeyToCharacter(uint8_t scanCode, bool shift, bool capsLock) {
  static constexpr char kDigits[] = "1234567890";
  static constexpr char kShiftedDigits[] = "!@#$%^&*()";
  static constexpr char kLetters[] = "qwertyuiop\0\0\0\0asdfghjkl\0\0\0\0\0zxcvbnm";
  if (scanCode >= 2 && scanCode <= 11) {
    return static_cast<uint8_t>(shift ? kShiftedDigits[scanCode - 2] : kDigits[scanCode - 2]);
  }
  const bool upper = shift || capsLock;
  if ((scanCode >= 16 && scanCode <= 25) || (scanCode >= 30 && scanCode <= 38) || (scanCode >= 44 && scanCode <= 50)) {
    const char letter = kLetters[scanCode - 16];
    return static_cast<uint8_t>(upper ? std::toupper(static_cast<unsigned char>(letter)) : letter);
  }
  struct Pair {
    uint8_t code;
    char plain;
    char shifted;
  };
  static constexpr Pair kOthers[] = {{12, '-', '_'}, {13, '=', '+'}, {26, '[', '{'}, {27, ']', '}'},
                                     {39, ';', ':'}, {40, '\'', '"'}, {43, '\\', '|'}, {51, ',', '<'},
                                     {52, '.', '>'}, {53, '/', '?'}, {55, '*', '*'}, {57, ' ', ' '},
                                     {74, '-', '-'}, {78, '+', '+'}};
  for (const Pair& p : kOthers) {
    if (p.code == scanCode) return static_cast<uint8_t>(shift ? p.shifted : p.plain);
  }
  return 255;
}

size_t InsertText(std::string& target, int32_t position, const std::string& text) {
  if (text.empty()) return target.size();
  const size_t at = static_cast<size_t>(std::clamp<int32_t>(position, 0, static_cast<int32_t>(target.size())));
  target.insert(at, text);
  return target.size();
}
