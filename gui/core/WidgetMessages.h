#pragma once
// The numeric widget messages and the event words they raise, and the key
// texts of key events.
#include <cstdint>
#include <string>

struct KeyboardPacket;

enum GUIMessage : uint32_t {
  GUIMSG_FOCUS_LOST = 1,
  GUIMSG_FOCUS_GAIN = 2,
  GUIMSG_MOVE = 4,
  GUIMSG_MOUSE_DOWN = 8,
  GUIMSG_DRAG = 9,
  GUIMSG_MOUSE_UP = 10,
  GUIMSG_MOUSE_ENTER = 11,
  GUIMSG_MOUSE_EXIT = 12,
  GUIMSG_CLICK = 13,
  GUIMSG_KEYDOWN = 27,
  GUIMSG_KEYUP = 28,
  GUIMSG_SHOW = 30,
  GUIMSG_HIDE = 31,
  GUIMSG_POINTER_IN = 32,
  GUIMSG_POINTER_OUT = 33,
  GUIMSG_ENABLE = 34,
  GUIMSG_DISABLE = 35,
  GUIMSG_LINEUP = 36,
  GUIMSG_LINEDOWN = 37,
  GUIMSG_TB_UPDATED = 1024,
};

// The event word of a message code; null for the codes without one (the
// mouse button codes 8, 9, 10 and 13 choose theirs per button).
const char* GUIMessageWord(uint32_t code);

// The key text of a key event: modifiers ("lctrl-" or "rctrl-", then
// "lalt-" or "ralt-") before the key's name.
std::string GUIKeyText(const KeyboardPacket& packet);
