#include "engine/services/Core_OCPack.h"

Core_OCPack::~Core_OCPack() { commands_.clear(); }

uint32_t Core_OCPack::GetConfig(CoreBaseConfigMap** options) {
  if (options) *options = nullptr;
  return 0;
}

bool Core_OCPack::CopyCommandsTo(CommandMap& target) {
  if (commands_.empty()) return false;
  for (const auto& [name, handler] : commands_) target[name] = handler;
  return true;
}
