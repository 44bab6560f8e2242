#include "gui/plugin/PanelisDescriptors.h"

#include <new>

#include "gui/core/actions/GUIActions.h"
#include "gui/plugin/GUI.h"
#include "gui/plugin/WidgetSpawns.h"
#include "gui/plugin/commands/GUICommands.h"

namespace {

PanelisDescriptor g_panelis;
GUIOCPackDesc g_commands;
GUISpawnPackDesc g_spawns;
GUIActionPackDesc g_actions;

}  // namespace

cAction_Base* GUIActionPack::CreateItem(uint32_t index) { return CreateGUIAction(index); }
cSpawn_Base* GUISpawnPack::CreateItem(uint32_t index) { return WidgetSpawnOfPackIndex(index); }

GUI_OCPack::GUI_OCPack() : Core_OCPack(107) {
  for (const guicmd::CommandEntry& entry : guicmd::kCommands) (*GetCommandMap())[entry.name] = entry.handler;
}

float PanelisDescriptor::GetBaseAPIVersion() { return PanelisGetBaseAPIVersion(); }
float GUIOCPackDesc::GetBaseAPIVersion() { return PanelisGetBaseAPIVersion(); }
float GUISpawnPackDesc::GetBaseAPIVersion() { return PanelisGetBaseAPIVersion(); }
float GUIActionPackDesc::GetBaseAPIVersion() { return PanelisGetBaseAPIVersion(); }
float CorePhysicsDescriptor::GetVersion() { return PanelisGetBaseAPIVersion(); }
float CorePhysicsDescriptor::GetBaseAPIVersion() { return PanelisGetBaseAPIVersion(); }

CoreBase* PanelisDescriptor::CreateCoreClass() { return new (std::nothrow) GUI(); }
CoreBase* GUIOCPackDesc::CreateCoreClass() { return new (std::nothrow) GUI_OCPack(); }
CoreBase* GUISpawnPackDesc::CreateCoreClass() { return new (std::nothrow) GUISpawnPack(); }
CoreBase* GUIActionPackDesc::CreateCoreClass() { return new (std::nothrow) GUIActionPack(); }

CPhysics_Asset::~CPhysics_Asset() = default;

CoreBaseDescriptor* PanelisGetCoreDesc(int32_t index) {
  switch (index) {
    case 0: return &g_panelis;
    case 1: return &g_commands;
    case 2: return &g_spawns;
    case 3: return &g_actions;
    default: return nullptr;
  }
}

const char* PanelisGetDescription() { return "The New Interface DLL"; }
float PanelisGetBaseAPIVersion() { return 1.0f; }
