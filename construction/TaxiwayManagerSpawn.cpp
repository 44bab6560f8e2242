#include "construction/TaxiwayManagerSpawn.h"

#include <new>

#include "construction/TaxiwayManager.h"

SpawnTaxiwayManager::SpawnTaxiwayManager() : cSpawn_Base(cEntity_TaxiwayManager::kSpawnName) {}

cEntity_Base* SpawnTaxiwayManager::Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) {
  return new (std::nothrow) cEntity_TaxiwayManager(creator, kEntityType_Base);
}
