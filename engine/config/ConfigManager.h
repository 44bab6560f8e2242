#pragma once
// The engine's settings store and script runner. Every setting is a string
// under the key section + "|" + name, lower-cased as a whole, so section and
// setting names are case-insensitive while values keep their case. It reads
// and writes configuration scripts, runs command scripts, and holds the
// display settings block the renderer creates its device from.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/config/ConfigParser.h"
#include "engine/services/DisplaySettings.h"
#include "engine/config/KeyBinding.h"
#include "engine/config/SettingsStore.h"
#include "base/Status.h"

class cCore_GlobalWrapper;
class cGameManager;

class cCore_ConfigManager {
 public:
  // Restarts the services in `serviceMask` from this manager's settings; the
  // library manager installs it (SetServiceRestart).
  using ServiceRestart = std::function<CoreStatus(uint32_t serviceMask, cCore_ConfigManager* config,
                                                  cCore_GlobalWrapper* table)>;
  static constexpr uint32_t kGraphicsService = 8;

  cCore_ConfigManager();
  virtual ~cCore_ConfigManager();
  cCore_ConfigManager(const cCore_ConfigManager&) = delete;
  cCore_ConfigManager& operator=(const cCore_ConfigManager&) = delete;

  // Reads a configuration script ("setting", "settings", "bind" statements).
  virtual CoreStatus LoadConfig(const std::string& fileName);
  // Appends the whole store to `out` as a configuration script.
  virtual void WriteConfig(std::string* out);
  // Writes the configuration to the file, replacing it whole: the text goes to
  // a temporary file that is then renamed over the old one. Fail when the
  // file cannot be written.
  virtual CoreStatus SaveConfig(const std::string& fileName);
  // Runs a command script: every statement's keyword is looked up in the
  // keyword languages.
  virtual CoreStatus RunScript(const std::string& fileName);

  virtual void SetValue(std::string_view section, std::string_view name, std::string_view value);
  // Lower-cases the caller's key in place, then stores the value under it.
  virtual void SetValueByKey(std::string& key, std::string_view value);
  // The getters answer whether the setting exists; a missing one leaves the
  // out value as it was.
  virtual bool GetBool(std::string_view section, std::string_view name, bool& out);
  virtual bool GetInt(std::string_view section, std::string_view name, int32_t& out);
  virtual bool GetFloat(std::string_view section, std::string_view name, float& out);
  virtual bool GetString(std::string_view section, std::string_view name, std::string& out);

  virtual void SetWindowSize(int32_t width, int32_t height);
  virtual void SetWindowed(bool windowed);
  virtual void SetAdapter(int32_t adapter);
  virtual void SetBackBufferCount(int32_t count);
  virtual void SetMultiSampleType(int32_t type);
  virtual void SetModeFormat(int32_t bits0, int32_t bits1, int32_t bits2, int32_t bits3, int32_t bits4);
  virtual void SetDepthFormat(int32_t depthBits, int32_t stencilBits, int32_t paddingBits);
  virtual void GetWindowSize(int32_t& width, int32_t& height);
  virtual int32_t GetWidth();
  virtual int32_t GetHeight();
  virtual bool IsWindowed();
  virtual void SetWindowedAllowed(bool allowed);
  virtual bool IsWindowedAllowed();
  virtual DisplaySettings* GetDisplaySettings();
  virtual const DisplaySettings* GetDisplaySettings() const;
  // Keeps a copy of the block (after each successful device start).
  virtual void SaveDisplaySettings();
  virtual DisplaySettings* GetSavedDisplaySettings();
  virtual const DisplaySettings* GetSavedDisplaySettings() const;
  virtual void RestoreDisplaySettings();
  // Switches between window and full screen and restarts the graphics
  // service. Fail, changing nothing, when going to a window is not allowed
  // or no restart is installed.
  virtual CoreStatus ToggleDisplayMode(cCore_GlobalWrapper* table);
  virtual void SetDesktopModeIndex(int32_t index);
  virtual int32_t GetDesktopModeIndex();
  virtual ConfigParser* GetParser();
  virtual void SetGameManager(cGameManager* manager);
  virtual cGameManager* GetGameManager();

  // Key bindings live in the derived key-binding manager; here they are none.
  virtual bool Bind(const std::string& command, const std::string& keySpec);
  virtual void ClearKey(uint32_t scanCode, uint32_t released, uint32_t timeStamp, uint32_t modifiers);
  virtual void ClearBindings();
  virtual KeyBinding* FindBindingByHandler(KeyHandler handler);
  virtual KeyBinding* FindBindingByCommand(std::string_view command);
  virtual KeyBinding* FindBindingByName(std::string_view displayName);
  virtual void ListBindings(std::vector<std::string>& commands, std::vector<std::string>& names,
                            std::vector<std::string>& keySpecs);

  // The name the screens use for SaveConfig.
  CoreStatus SaveToFile(const std::string& fileName) { return SaveConfig(fileName); }

  void SetServiceRestart(ServiceRestart restart) { serviceRestart_ = std::move(restart); }
  const SettingsStore& GetStore() const { return store_; }
  // Room for `count` more settings (the reader's estimate for a file).
  void ReserveSettings(size_t count) { store_.Reserve(store_.Size() + count); }

  // Writes `text` between quote marks so the reader gives it back unchanged:
  // backslashes doubled, control characters as escapes. A quote mark or NUL
  // cannot be read back from a script at all, so those are left out; the
  // answer is false when that happened.
  static bool AppendQuoted(std::string* out, std::string_view text);

 private:
  // Builds section + "|" + name, lower-cased, at the front of `key_`
  // (reused, so reading a setting allocates nothing of its own). Storing
  // needs no key built: the store takes section and name apart.
  std::string_view KeyOf(std::string_view section, std::string_view name);

  SettingsStore store_;
  std::string key_;  // the last key at its front, then unused bytes
  std::string keySection_;  // the section `key_` begins with, as given
  bool keyFresh_ = false;   // key_ begins with keySection_ folded
  ConfigParser parser_;
  DisplaySettings display_{};
  DisplaySettings savedDisplay_{};
  bool windowedAllowed_ = true;
  int32_t desktopModeIndex_ = -1;
  cGameManager* gameManager_ = nullptr;
  ServiceRestart serviceRestart_;
};
