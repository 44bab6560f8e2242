#pragma once
// One bindable command: the key it is bound to (laid out like the first four
// fields of a keyboard record, so the two compare field by field), the
// handler that does the command, and its names.
#include <cstdint>
#include <string>
#include <string_view>

#include "base/Status.h"

struct KeyboardPacket;

using KeyHandler = CoreStatus (*)(KeyboardPacket* packet);

struct KeyBinding {
  uint32_t scanCode = 0;   // 0: not bound
  uint32_t released = 0;   // 0: the binding answers a key press
  uint32_t timeStamp = 0;  // always 0
  uint32_t modifiers = 0;  // modifier byte of the keyboard record
  KeyHandler handler = nullptr;
  std::string command;      // name used in scripts, e.g. "camera_forward"
  std::string displayName;  // text shown to the player
  std::string keySpec;      // as written in the last "bind"; empty when never bound
};

// Parses a key spec ("W", "ctrl-W", "lctrl-lalt-Q") into the binding's key
// fields: the scan code and released flag are replaced, the modifier bits are
// OR-ed into those it has. The text after the last "-" is the key name (an
// unknown name gives code 0); the names before it are modifiers. False when a
// modifier name is unknown (the known ones still count).
bool ParseKeySpec(std::string_view spec, KeyBinding* binding);
