#include "scene/KV9InputManager.h"

#include <new>

#include "engine/services/InputPackets.h"

cKV9_InputManager::cKV9_InputManager() = default;

CoreStatus cKV9_InputManager::OnKeyPacket(KeyboardPacket* packet) {
  if (packet) {
    controlHeld = (packet->modifiers & 0x3) != 0 ? 1 : 0;
    shiftHeld = (packet->modifiers & 0xC) != 0 ? 1 : 0;
  }
  return cCore_Base_InputMGR::OnKeyPacket(packet);
}

cKV9_InputManager* cKV9_InputManager::Create() { return new (std::nothrow) cKV9_InputManager(); }

void cKV9_InputManager::Destroy(cKV9_InputManager* manager) { delete manager; }
