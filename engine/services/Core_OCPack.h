#pragma once
// A module that carries script commands. The library manager copies its
// command map into the command registry when the package is bound.
#include <cstddef>

#include "engine/config/CommandHandler.h"
#include "engine/services/CoreBase.h"

class Core_OCPack : public CoreBase {
 public:
  Core_OCPack() = default;
  ~Core_OCPack() override;

  bool Init() override { return true; }
  void Shutdown() override {}
  void LoadConfig() override {}
  uint32_t GetConfig(CoreBaseConfigMap** options) override;
  bool ApplyConfig() override { return true; }
  void ClearConfig() override {}
  const char* GetName() override { return "[OCPackage]"; }
  const char* GetDescription() override { return "Object Command Package Class"; }
  eServiceType GetServiceType() override { return eService_OCPack; }
  // A package keeps no library path.
  void SetLibraryPath(std::string) override {}

  virtual CommandMap* GetCommandMap() { return &commands_; }
  // Copies every name -> handler pair into `target`, replacing same-named
  // entries. False, leaving the target alone, when the pack has no commands.
  virtual bool CopyCommandsTo(CommandMap& target);

 protected:
  // Packages with many commands size the map up front.
  explicit Core_OCPack(size_t hashSize) { commands_.reserve(hashSize); }

 private:
  CommandMap commands_;
};
