#pragma once
// The GUI library's module descriptors and packages: the GUI service, its
// command package, its spawn package of widget factories and its action
// package of GUI actions; and the physics descriptor that offers nothing.
#include <string>

#include "engine/entity/ActionBase.h"
#include "engine/entity/SpawnBase.h"
#include "engine/services/CoreBaseDescriptor.h"
#include "engine/services/CorePack.h"
#include "engine/services/Core_OCPack.h"

class GUIActionPack : public CorePack<cAction_Base> {
 public:
  // A new GUI action of the index (0 to 15); null past the last.
  cAction_Base* CreateItem(uint32_t index) override;
};

class GUISpawnPack : public CorePack<cSpawn_Base> {
 public:
  // The static widget factory of the index (0 to 14); the same one on every
  // call; null past the last.
  cSpawn_Base* CreateItem(uint32_t index) override;
};

// The GUI's command package: the 102 command names of the description
// files and their handlers.
class GUI_OCPack : public Core_OCPack {
 public:
  GUI_OCPack();
};

class PanelisDescriptor : public CoreBaseDescriptor {
 public:
  const char* GetName() override { return "Panelis"; }
  const char* GetDescription() override { return "New Vorn Interface"; }
  float GetVersion() override { return 2.0f; }
  float GetBaseAPIVersion() override;
  eServiceType GetServiceType() override { return eService_GUI; }
  CoreBase* CreateCoreClass() override;
};

class OCPackDesc : public CoreBaseDescriptor {};

class GUIOCPackDesc : public OCPackDesc {
 public:
  const char* GetName() override { return "GUI ObjectCommand Pack"; }
  const char* GetDescription() override { return "GUI Object Commands Package"; }
  float GetVersion() override { return 1.0f; }
  float GetBaseAPIVersion() override;
  eServiceType GetServiceType() override { return eService_OCPack; }
  CoreBase* CreateCoreClass() override;
};

class GUISpawnPackDesc : public CoreBaseDescriptor {
 public:
  const char* GetName() override { return "[GUISpawnPack]"; }
  const char* GetDescription() override { return "GUI Spawn Pack"; }
  float GetVersion() override { return 1.0f; }
  float GetBaseAPIVersion() override;
  eServiceType GetServiceType() override { return eService_SpawnPack; }
  CoreBase* CreateCoreClass() override;
};

class GUIActionPackDesc : public CoreBaseDescriptor {
 public:
  const char* GetName() override { return "[GUIActionPack]"; }
  const char* GetDescription() override { return "GUI Action Pack"; }
  float GetVersion() override { return 1.0f; }
  float GetBaseAPIVersion() override;
  eServiceType GetServiceType() override { return eService_ActionPack; }
  CoreBase* CreateCoreClass() override;
};

// A physics descriptor for hosts that link it directly; no library hands it
// out and no physics module exists.
class CorePhysicsDescriptor : public CoreBaseDescriptor {
 public:
  const char* GetName() override { return "CorePhysics"; }
  const char* GetDescription() override { return "Physics Simulation Layer"; }
  float GetVersion() override;
  float GetBaseAPIVersion() override;
  eServiceType GetServiceType() override { return eService_Physics; }
  CoreBase* CreateCoreClass() override { return nullptr; }
};

class CPhysics_Asset {
 public:
  ~CPhysics_Asset();
  std::string first;
  std::string second;
};

// The library's entry points, for tests that link the classes directly.
CoreBaseDescriptor* PanelisGetCoreDesc(int32_t index);
const char* PanelisGetDescription();
float PanelisGetBaseAPIVersion();
