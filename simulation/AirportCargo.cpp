// The airport manager's cargo exchange with an airplane at its gate.
#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "engine/services/GlobalWrapper.h"
#include "simulation/AirlineContract.h"
#include "simulation/Airplane.h"
#include "simulation/AirportManager.h"
#include "simulation/AirportSite.h"
#include "simulation/AmbientManager.h"
#include "simulation/ContractData.h"

namespace {

constexpr uint8_t kStorageClass = 7;

// The airline name of a storage's owner contract; empty when the storage is
// dedicated to none or to a contract without an airline record.
std::string OwnerAirline(AirportSite* site, BOInstance* storage) {
  auto* owner = dynamic_cast<cAirlineContract*>(site->OwnerContract(storage));
  return owner && owner->data ? owner->data->name : std::string();
}

}  // namespace

void cEntity_AirportManager::UnloadAirplaneCargo(cEntity_Airplane* airplane, uint16_t x, uint16_t y) {
  cKV9_GlobalWrapper* table = Table();
  cEntity_AmbientManager* ambient = table ? table->ambientManager : nullptr;
  if (!airplane || !site_ || !ambient) return;
  const std::string name = airplane->AirlineName();
  if (name.empty()) return;
  const std::vector<BOInstance*> list = airplane->coldStorage ? coldStorages : storages;
  auto usable = [&](BOInstance* storage) {
    if (!storage || !storage->GetType() || storage->GetType()->GetClass() != kStorageClass) return false;
    if (!(site_->ServiceKinds(storage) & cEntity_Airplane::kCargoKind)) return false;
    if (airplane->coldStorage && !site_->ProvidesColdStorage(storage)) return false;
    return site_->StorageFreeSpace(storage) > 0;
  };
  // First the airline's own storages, then shared ones.
  for (BOInstance* storage : list) {
    if (!usable(storage) || OwnerAirline(site_, storage) != name) continue;
    if (!ambient->CanRouteFromTaxiwayAccess(storage, x, y)) continue;
    if (airplane->StoreCargoInStorage(storage)) return;
  }
  for (BOInstance* storage : list) {
    if (!usable(storage)) continue;
    const std::string owner = OwnerAirline(site_, storage);
    if (!owner.empty() && owner != name) continue;
    if (!ambient->ConnectBuilding(storage, x, y)) continue;
    if (airplane->StoreCargoInStorage(storage)) return;
  }
}

void cEntity_AirportManager::LoadAirplaneCargo(cEntity_Airplane* airplane, uint16_t x, uint16_t y) {
  cKV9_GlobalWrapper* table = Table();
  cEntity_AmbientManager* ambient = table ? table->ambientManager : nullptr;
  if (!airplane || !site_ || !ambient) return;
  const std::string name = airplane->AirlineName();
  if (name.empty()) return;
  const std::vector<BOInstance*> list = airplane->coldStorage ? coldStorages : storages;
  for (BOInstance* storage : list) {
    if (!storage || !(site_->ServiceKinds(storage) & cEntity_Airplane::kCargoKind)) continue;
    if (airplane->coldStorage && !site_->ProvidesColdStorage(storage)) continue;
    if (site_->StoredCargo(storage, airplane->now, name) == 0) continue;
    if (!ambient->ConnectBuilding(storage, x, y)) continue;
    if (airplane->TakeCargoFromStorage(storage)) return;
  }
}
