#pragma once
// The game's input-socket manager ("KV9 Input Manager"): the input plug-in's
// receiver. Before offering a key packet to its key sockets it notes whether
// a shift or a control key is held, for the screens that read it.
#include <cstdint>

#include "engine/entity/InputSocketManager.h"

class cKV9_InputManager : public cCore_Base_InputMGR {
 public:
  static constexpr const char* kName = "KV9 Input Manager";

  cKV9_InputManager();

  // Sets the two flags from the packet's modifier byte, then offers the
  // packet to the key sockets front to back as the base does.
  CoreStatus OnKeyPacket(KeyboardPacket* packet) override;

  // The table's hooks that make and destroy this manager.
  static cKV9_InputManager* Create();
  static void Destroy(cKV9_InputManager* manager);

  uint8_t shiftHeld = 0;    // modifier bits 0x4 or 0x8
  uint8_t controlHeld = 0;  // modifier bits 0x1 or 0x2
};
