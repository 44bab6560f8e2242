#include "engine/config/GMConfigManager.h"

#include "base/StringUtil.h"
#include "platform/DebugOutput.h"

cGM_ConfigManager::~cGM_ConfigManager() { ClearBindings(); }

KeyBinding* cGM_ConfigManager::AddBinding(KeyHandler handler, std::string command, std::string displayName) {
  auto binding = std::make_unique<KeyBinding>();
  binding->handler = handler;
  binding->command = std::move(command);
  binding->displayName = std::move(displayName);
  bindings_.push_back(std::move(binding));
  return bindings_.back().get();
}

void cGM_ConfigManager::WriteConfig(std::string* out) {
  cCore_ConfigManager::WriteConfig(out);
  for (const auto& binding : bindings_) {
    if (binding->keySpec.empty()) continue;
    out->append("\tbind\t");
    bool complete = AppendQuoted(out, binding->command);
    out->push_back('\t');
    complete = AppendQuoted(out, binding->keySpec) && complete;
    out->append(";\r\n");
    if (!complete) {
      platform::DebugPrintf("[cGM_ConfigManager::WriteConfig] binding \"%s\" written without its quote marks\n",
                            binding->command.c_str());
    }
  }
}

bool cGM_ConfigManager::Bind(const std::string& command, const std::string& keySpec) {
  KeyBinding* binding = FindBindingByCommand(command);
  if (!binding) return false;
  binding->keySpec = keySpec;
  return ParseKeySpec(keySpec, binding);
}

void cGM_ConfigManager::ClearKey(uint32_t scanCode, uint32_t released, uint32_t, uint32_t modifiers) {
  for (const auto& binding : bindings_) {
    if (binding->scanCode == scanCode && binding->released == released && binding->modifiers == modifiers) {
      binding->scanCode = 0;
      binding->released = 0;
      binding->timeStamp = 0;
      binding->modifiers = 0;
      // The key spec goes too: a cleared key must not come back with the next
      // written configuration.
      binding->keySpec.clear();
      return;
    }
  }
}

void cGM_ConfigManager::ClearBindings() { bindings_.clear(); }

KeyBinding* cGM_ConfigManager::FindBindingByHandler(KeyHandler handler) {
  for (const auto& binding : bindings_) {
    if (binding->handler == handler) return binding.get();
  }
  return nullptr;
}

KeyBinding* cGM_ConfigManager::FindBindingByCommand(std::string_view command) {
  for (const auto& binding : bindings_) {
    if (str::EqualsNoCase(binding->command, command)) return binding.get();
  }
  return nullptr;
}

KeyBinding* cGM_ConfigManager::FindBindingByName(std::string_view displayName) {
  for (const auto& binding : bindings_) {
    if (str::EqualsNoCase(binding->displayName, displayName)) return binding.get();
  }
  return nullptr;
}

void cGM_ConfigManager::ListBindings(std::vector<std::string>& commands, std::vector<std::string>& names,
                                     std::vector<std::string>& keySpecs) {
  for (const auto& binding : bindings_) {
    commands.push_back(binding->command);
    names.push_back(binding->displayName);
    keySpecs.push_back(binding->keySpec);
  }
}
