#pragma once
// A module that hands out items (actions or spawns) by index. The library
// manager calls CreateItem with 0, 1, 2, ... until it answers null and files
// every item with the factories. A concrete package overrides the name,
// description, service type and CreateItem.
#include "engine/services/CoreBase.h"

template <typename T>
class CorePack : public CoreBase {
 public:
  bool Init() override { return true; }
  void Shutdown() override {}
  void LoadConfig() override {}
  uint32_t GetConfig(CoreBaseConfigMap** options) override {
    if (options) *options = nullptr;
    return 0;
  }
  bool ApplyConfig() override { return true; }
  void ClearConfig() override {}
  const char* GetName() override { return "[Action_Package]"; }
  const char* GetDescription() override { return "Base Action Package Class"; }
  eServiceType GetServiceType() override { return eService_ActionPack; }
  // A package keeps no library path.
  void SetLibraryPath(std::string) override {}

  // A new item for index 0, 1, 2, ...; null past the last one. The base has none.
  virtual T* CreateItem(uint32_t index) {
    (void)index;
    return nullptr;
  }
};
