#pragma once
// The configuration manager with key bindings: a fixed list of bindable
// commands (made by the program), whose keys "bind" statements in the
// configuration scripts choose and whose bindings are written back with the
// settings.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/config/ConfigManager.h"
#include "engine/config/KeyBinding.h"

class cGM_ConfigManager : public cCore_ConfigManager {
 public:
  cGM_ConfigManager() = default;
  ~cGM_ConfigManager() override;

  // The settings, then a "bind" line for every binding that has a key spec.
  void WriteConfig(std::string* out) override;
  // Gives the command's binding the key of `keySpec`. False when no binding
  // has that command word (nothing changes) or a modifier name is unknown.
  bool Bind(const std::string& command, const std::string& keySpec) override;
  // Unbinds the first binding whose scan code, released flag and modifier
  // bits equal the event's (its key spec is forgotten as well).
  void ClearKey(uint32_t scanCode, uint32_t released, uint32_t timeStamp, uint32_t modifiers) override;
  void ClearBindings() override;
  KeyBinding* FindBindingByHandler(KeyHandler handler) override;
  KeyBinding* FindBindingByCommand(std::string_view command) override;
  KeyBinding* FindBindingByName(std::string_view displayName) override;
  void ListBindings(std::vector<std::string>& commands, std::vector<std::string>& names,
                    std::vector<std::string>& keySpecs) override;

  // Creates an unbound binding at the end of the list (the program's
  // constructor makes its bindable commands with this).
  KeyBinding* AddBinding(KeyHandler handler, std::string command, std::string displayName);
  size_t GetBindingCount() const { return bindings_.size(); }
  KeyBinding* GetBinding(size_t index) { return index < bindings_.size() ? bindings_[index].get() : nullptr; }

 private:
  std::vector<std::unique_ptr<KeyBinding>> bindings_;
};
