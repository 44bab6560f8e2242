#pragma once
// The command registry: command name -> handler. Engine modules and command
// packages register their handlers here; keyword languages then bind
// keywords to handlers taken from here by command name. Names are compared
// exactly (case-sensitive). One registry exists; its constructor records it
// in a process-wide pointer and its destructor clears that pointer.
#include <string>

#include "engine/config/CommandHandler.h"

class OCFactory {
 public:
  OCFactory();
  virtual ~OCFactory();
  OCFactory(const OCFactory&) = delete;
  OCFactory& operator=(const OCFactory&) = delete;

  // The handler registered under exactly this name, or null.
  virtual CommandHandler Lookup(const std::string& name);
  // Sets the handler of that name, replacing an existing entry.
  virtual void Register(const std::string& name, CommandHandler handler);
  // Copies every pair of `commands` in, replacing same-named entries.
  virtual void RegisterAll(const CommandMap& commands);

  size_t GetCommandCount() const { return commands_.size(); }

  // The registry alive in this process, or null.
  static OCFactory* GetInstance() { return instance_; }

 private:
  CommandMap commands_;
  static OCFactory* instance_;
};
