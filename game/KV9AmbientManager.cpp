#include "game/KV9AmbientManager.h"

#include "engine/entity/EntityManager.h"
#include "engine/services/GlobalWrapper.h"
#include "platform/DebugOutput.h"

CoreStatus cKV9_AmbientManager::LoadSettings() {
  cEntity_Manager* entities = GetManager();
  auto* table = entities ? dynamic_cast<cKV9_GlobalWrapper*>(entities->GetGlobalWrapper()) : nullptr;
  if (!table || !table->configManager) {
    platform::DebugPrintf("[cKV9_AmbientManager::LoadSettings] no configuration to read\n");
    return status::Fail;
  }
  cEntity_AmbientManager::LoadSettings();
  return status::Ok;
}
