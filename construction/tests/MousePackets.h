#pragma once
// Mouse packets by name, as the plot's hand receives them: a left press,
// hold and release, a bare move, and right and middle presses.
#include <cstdint>

#include "engine/services/InputPackets.h"

namespace handtest {

inline MousePacket Packet(uint8_t pressed, uint8_t held, uint8_t released, uint32_t time = 0) {
  MousePacket p;
  p.pressed = pressed;
  p.held = held;
  p.released = released;
  p.timeStamp = time;
  return p;
}
inline MousePacket Press(uint32_t time = 0) { return Packet(1, 0, 0, time); }
inline MousePacket Hold() { return Packet(0, 1, 0); }
inline MousePacket Release() { return Packet(0, 0, 1); }
inline MousePacket Move() { return Packet(0, 0, 0); }
inline MousePacket RightPress() { return Packet(2, 0, 0); }
inline MousePacket MiddlePress() { return Packet(4, 0, 0); }

}  // namespace handtest
