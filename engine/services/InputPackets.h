#pragma once
// The two input records that cross from the input plug-in to the game by
// pointer, one per device event. Layouts are fixed (little-endian) because
// they are shared across library boundaries; a key binding repeats the
// first four fields of the keyboard record.
#include <cstddef>
#include <cstdint>

// Modifier bits of KeyboardPacket::modifiers.
enum eKeyModifier : uint8_t {
  eKeyMod_RightCtrl = 0x01,
  eKeyMod_LeftCtrl = 0x02,
  eKeyMod_RightShift = 0x04,
  eKeyMod_LeftShift = 0x08,
  eKeyMod_RightAlt = 0x10,
  eKeyMod_LeftAlt = 0x20,
  eKeyMod_CapsLock = 0x40,
  eKeyMod_NumLock = 0x80,
};

struct KeyboardPacket {
  uint8_t scanCode = 0;  // key code of the event
  uint8_t pad0[3] = {};
  uint32_t released = 0;   // 1 the key went up, 0 it went down
  uint32_t timeStamp = 0;  // milliseconds of the system tick count
  uint8_t modifiers = 0;   // modifier byte after this event was applied
  uint8_t pad1[3] = {};
};
static_assert(sizeof(KeyboardPacket) == 16);
static_assert(offsetof(KeyboardPacket, released) == 4);
static_assert(offsetof(KeyboardPacket, timeStamp) == 8);
static_assert(offsetof(KeyboardPacket, modifiers) == 12);

struct MousePacket {
  int32_t dx = 0;  // horizontal motion of this event
  int32_t dy = 0;  // vertical motion, positive downwards
  int32_t dz = 0;  // wheel, 120 per notch
  int32_t x = 0;   // position after this event
  int32_t y = 0;
  uint32_t timeStamp = 0;
  uint8_t pressed = 0;   // bit n: button n went down in this event
  uint8_t held = 0;      // buttons held apart from this event's
  uint8_t released = 0;  // bit n: button n went up in this event
  uint8_t pad = 0;
};
static_assert(sizeof(MousePacket) == 28);
static_assert(offsetof(MousePacket, timeStamp) == 20);
static_assert(offsetof(MousePacket, pressed) == 24);
