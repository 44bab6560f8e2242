#pragma once
// The game's configuration manager: the engine's manager with key bindings,
// made with the eight camera movements the player can rebind. Their handlers
// drive the main camera of the game whose table is installed here.
#include "engine/config/GMConfigManager.h"

class cKV9_GlobalWrapper;

class cKV9_ConfigManager : public cGM_ConfigManager {
 public:
  cKV9_ConfigManager();
  ~cKV9_ConfigManager() override;

  // The table whose game manager's main camera the key handlers move; the
  // application installs its own (null uninstalls).
  static void SetBindingTable(cKV9_GlobalWrapper* table);
  static cKV9_GlobalWrapper* GetBindingTable();

  // The handler of camera motion command `index` (0-7), for the camera's
  // key registration.
  static KeyHandler CameraKeyHandler(int index);
};
