#pragma once
// "OptionsMenu": the front end's options screen. Reads the configuration into
// the display, texture, world-detail and sound widgets and the autopause
// page, writes them back to the configuration and the running managers, and
// saves "KV9.cfg".
#include <cstdint>
#include <string>

#include "engine/entity/ActionBase.h"
#include "engine/entity/Singleton.h"

class cCore_GlobalWrapper;
class cKV9_GlobalWrapper;

class ActionOptionsMenu : public cAction_Base, public Singleton<ActionOptionsMenu> {
 public:
  explicit ActionOptionsMenu(cCore_GlobalWrapper* table);

  CoreStatus Execute(cEntity_Base* sender, uintptr_t code, const std::string& params) override;
  // Forgets the remembered resolution, so the next apply resets the device.
  void Reset() override { rememberedWidth = rememberedHeight = 0; }

  void DisableEventBoxes() { SetEventBoxesEnabled(false); }
  void EnableEventBoxes() { SetEventBoxesEnabled(true); }

  // Undoes the autopause page: its boxes and the event manager's switches
  // back to the configuration (the page's toggles change the switches at
  // once).
  void CancelAutopauseSettings();
  // False after an apply whose "KV9.cfg" could not be written (the player
  // was told; the options page stays open).
  bool SettingsSaved() const { return settingsSaved_; }

  int32_t rememberedWidth = 0;
  int32_t rememberedHeight = 0;

  // Where ApplySettings saves the configuration, under the working data
  // tree; tests point it at a scratch copy.
  std::string configFile = "KV9.cfg";

 private:
  void ApplySettings();
  void ApplyResolution(int32_t width, int32_t height);
  void ApplyTextureSize();
  void LoadSettings();
  void LoadTextureRows();
  void SetDefaultOptions();
  void LoadAutopauseSettings();
  void ApplyAutopauseSettings();
  void SetDefaultEvents();
  void ToggleMaster(bool always);
  void ToggleEventRow(int row);
  void SetEventBoxesEnabled(bool on);
  void SetManagerVolume(bool music, int32_t value);

  cCore_GlobalWrapper* base_ = nullptr;
  cKV9_GlobalWrapper* table_ = nullptr;
  bool settingsSaved_ = true;
};
