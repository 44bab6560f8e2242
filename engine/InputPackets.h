#pragma once
// The two input records the input plug-in hands to the game, by pointer and
// valid only during the call.
#include <cstdint>

// One key event (16 bytes).
struct KeyboardPacket {
  uint8_t scanCode = 0;  // the DIK_ key code
  uint8_t pad0[3] = {0, 0, 0};
  uint32_t released = 0;   // 1 the key went up, 0 it went down
  uint32_t timeStamp = 0;  // milliseconds of the tick count
  uint8_t modifiers = 0;   // KeyModifier bits after this event
  uint8_t pad1[3] = {0, 0, 0};
};
static_assert(sizeof(KeyboardPacket) == 16, "a keyboard packet is 16 bytes");

enum KeyModifier : uint8_t {
  KEYMOD_RCONTROL = 0x01,
  KEYMOD_LCONTROL = 0x02,
  KEYMOD_RSHIFT = 0x04,
  KEYMOD_LSHIFT = 0x08,
  KEYMOD_RALT = 0x10,
  KEYMOD_LALT = 0x20,
  KEYMOD_CAPSLOCK = 0x40,
  KEYMOD_NUMLOCK = 0x80,
};

// One mouse event (28 bytes). Bit n of each button mask is button n:
// 0 left, 1 right, 2 middle.
struct MousePacket {
  int32_t dx = 0;
  int32_t dy = 0;  // positive downwards
  int32_t dz = 0;  // wheel, 120 per notch
  int32_t x = 0;   // position after this event
  int32_t y = 0;
  uint32_t timeStamp = 0;  // milliseconds of the tick count
  uint8_t pressed = 0;     // the button that went down in this event
  uint8_t held = 0;        // the other buttons held
  uint8_t releasedButtons = 0;  // the button that went up in this event
  uint8_t pad = 0;
};
static_assert(sizeof(MousePacket) == 28, "a mouse packet is 28 bytes");
