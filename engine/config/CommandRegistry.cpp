#include "engine/config/CommandRegistry.h"

OCFactory* OCFactory::instance_ = nullptr;

OCFactory::OCFactory() {
  commands_.reserve(17);
  instance_ = this;
}

OCFactory::~OCFactory() {
  commands_.clear();
  // Only the registry that is recorded clears the pointer, so a short-lived
  // second registry (tests) cannot leave the process pointing at nothing.
  if (instance_ == this) instance_ = nullptr;
}

CommandHandler OCFactory::Lookup(const std::string& name) {
  const auto it = commands_.find(name);
  return it == commands_.end() ? nullptr : it->second;
}

void OCFactory::Register(const std::string& name, CommandHandler handler) { commands_[name] = handler; }

void OCFactory::RegisterAll(const CommandMap& commands) {
  for (const auto& [name, handler] : commands) commands_[name] = handler;
}
