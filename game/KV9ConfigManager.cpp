#include "game/KV9ConfigManager.h"

#include "engine/services/GlobalWrapper.h"
#include "engine/services/InputPackets.h"
#include "game/GameCamera.h"
#include "game/KV9GameManager.h"

namespace {

cKV9_GlobalWrapper* g_bindingTable = nullptr;

// Sets the motion command's active byte to the key's state; a key going down
// is ignored while the camera is locked (the fixed view).
template <int Command>
CoreStatus CameraKey(KeyboardPacket* packet) {
  cKV9_GlobalWrapper* table = g_bindingTable;
  cEntity_GameCamera* camera = table && table->gameManager ? table->gameManager->GetGameCamera() : nullptr;
  if (!camera || !packet) return status::Ok;
  const bool pressed = packet->released == 0;
  if (pressed && camera->IsLocked()) return status::Ok;
  camera->SetCommandActive(Command, pressed);
  return status::Ok;
}

struct CameraBinding {
  const char* command;
  const char* displayName;
  KeyHandler handler;
};

// The rotate-right binding drives command 5 and rotate-left command 4.
constexpr CameraBinding kCameraBindings[] = {
    {"camera_forward", "Move camera forward", &CameraKey<0>},
    {"camera_backward", "Move camera backward", &CameraKey<1>},
    {"camera_left", "Move camera left", &CameraKey<2>},
    {"camera_right", "Move camera right", &CameraKey<3>},
    {"camera_rot_right", "Rotate camera right", &CameraKey<5>},
    {"camera_rot_left", "Rotate camera left", &CameraKey<4>},
    {"camera_pitch_up", "Pitch camera up", &CameraKey<6>},
    {"camera_pitch_down", "Pitch camera down", &CameraKey<7>},
};

}  // namespace

cKV9_ConfigManager::cKV9_ConfigManager() {
  for (const CameraBinding& b : kCameraBindings) AddBinding(b.handler, b.command, b.displayName);
}

cKV9_ConfigManager::~cKV9_ConfigManager() = default;

void cKV9_ConfigManager::SetBindingTable(cKV9_GlobalWrapper* table) { g_bindingTable = table; }
cKV9_GlobalWrapper* cKV9_ConfigManager::GetBindingTable() { return g_bindingTable; }

KeyHandler cKV9_ConfigManager::CameraKeyHandler(int index) {
  static constexpr KeyHandler kByCommand[] = {&CameraKey<0>, &CameraKey<1>, &CameraKey<2>, &CameraKey<3>,
                                              &CameraKey<4>, &CameraKey<5>, &CameraKey<6>, &CameraKey<7>};
  return index >= 0 && index < 8 ? kByCommand[index] : nullptr;
}
