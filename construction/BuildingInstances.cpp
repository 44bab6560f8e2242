#include "construction/BuildingInstances.h"

#include <algorithm>
#include <cmath>

#include "base/ByteReader.h"
#include "base/StringUtil.h"
#include "construction/BuildingManager.h"
#include "construction/Facilities.h"
#include "construction/GamePlot.h"
#include "construction/TaxiwayAccessNodes.h"
#include "engine/files/SerializeRecord.h"
#include "engine/math/Noise.h"
#include "engine/services/GlobalWrapper.h"
#include "simulation/BusinessContract.h"
#include "simulation/ContractData.h"
#include "simulation/ContractManager.h"
#include "simulation/FlightContract.h"
#include "simulation/SimulationWidgets.h"
#include "simulation/StatManager.h"

namespace {

template <typename T>
void Erase(std::vector<T>& list, T item) {
  list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

template <typename T>
void AppendOnce(std::vector<T>& list, T item) {
  if (std::find(list.begin(), list.end(), item) == list.end()) list.push_back(item);
}

bool NamedAs(BOInstance* instance, const char* name) {
  return instance->GetType() && str::EqualsNoCase(instance->GetType()->GetName(), name);
}

}  // namespace

// --- Amenity -----------------------------------------------------------------

void AmenityInstance::Demolish(cKV9_GlobalWrapper* table) {
  cBusinessContract* business = GetType() ? GetType()->GetBusinessContract() : nullptr;
  if (business && table && table->contractManager) {
    const uint8_t kind = business->data ? business->data->businessType : 0;
    const uint32_t group = kind == kBusinessType_Hotel        ? kGroup_Hotel
                           : kind == kBusinessType_GasStation ? kGroup_GasStation
                                                               : kGroup_Business;
    table->contractManager->ReturnBusinessToPool(group, business);
    business->coolDown = 365;
  }
  if (cEntity_BuildingManager* manager = Manager()) Erase(manager->amenities, this);
  BOInstance::Demolish(table);
}

// --- Parking and administration ----------------------------------------------

void ParkingInstance::UpdateStatus(cKV9_GlobalWrapper* table) {
  if (auto* type = dynamic_cast<cParkingFacility*>(GetType())) parkingCapacity = type->GetCapacity();
  BOInstance::UpdateStatus(table);
}

void AdminInstance::UpdateStatus(cKV9_GlobalWrapper* table) {
  if (auto* type = dynamic_cast<cAdminFacility*>(GetType())) freePlaces = type->GetCapacity();
  if (cEntity_BuildingManager* manager = Manager()) AppendOnce(manager->adminBuildings, this);
  BOInstance::UpdateStatus(table);
}

void AdminInstance::Demolish(cKV9_GlobalWrapper* table) {
  if (cEntity_BuildingManager* manager = Manager()) {
    Erase(manager->adminBuildings, this);
    if (manager->hooks.releaseAdmin) manager->hooks.releaseAdmin(this);
  }
  BOInstance::Demolish(table);
}

bool AdminInstance::TakeQueuedType(OID building) {
  for (auto it = administered.begin(); it != administered.end(); ++it) {
    if (SameBuilding(*it, building)) {
      administered.erase(it);
      ++freePlaces;
      return true;
    }
  }
  return false;
}

// --- Control tower -----------------------------------------------------------

void OrgInstance::UpdateStatus(cKV9_GlobalWrapper* table) {
  cEntity_BuildingManager* manager = Manager();
  if (manager && NamedAs(this, "Control Tower")) AppendOnce(manager->controlTowers, this);
  BOInstance::UpdateStatus(table);
}

void OrgInstance::Demolish(cKV9_GlobalWrapper* table) {
  cEntity_BuildingManager* manager = Manager();
  if (manager && NamedAs(this, "Control Tower")) Erase(manager->controlTowers, this);
  for (RunwayInstance* runway : runways) runway->tower = nullptr;
  runways.clear();
  BOInstance::Demolish(table);
}

void OrgInstance::ReleaseRunway(RunwayInstance* runway) { Erase(runways, runway); }

// --- Runway ------------------------------------------------------------------

RunwayInstance::~RunwayInstance() {
  for (TerminalConnections* link : terminalLinks) delete link;
  for (HangarConnection* link : hangarLinks) delete link;
}

cPathFinder* RunwayInstance::Finder() {
  cEntity_BuildingManager* manager = Manager();
  cKV9_GlobalWrapper* table = manager ? manager->Table() : nullptr;
  return table ? table->pathFinder : nullptr;
}

bool RunwayInstance::IsFunctional() {
  if (constructionTimeLeft != 0) return false;
  for (TerminalConnections* link : terminalLinks)
    for (Route* route : link->routes)
      if (route && route->secondStatus) return true;
  return false;
}

bool RunwayInstance::OnOpen(cKV9_GlobalWrapper*) {
  cEntity_BuildingManager* manager = Manager();
  auto* runway = dynamic_cast<cRunway*>(GetType());
  const uint8_t needed = runway ? runway->requiredTowerLevel : 0;
  if (manager) {
    for (OrgInstance* candidate : manager->controlTowers) {
      auto* towerType = dynamic_cast<cOrganizationalFacility*>(candidate->GetType());
      if (!towerType || OidLevel(candidate->word) < needed) continue;
      if (static_cast<int32_t>(candidate->runways.size()) >= towerType->GetCapacity()) continue;
      candidate->runways.push_back(this);
      tower = candidate;
      return true;
    }
  }
  if (SimulationWidgets* widgets = GetSimulationWidgets()) widgets->ShowScene("scnControlTowerDialog", true);
  return false;
}

void RunwayInstance::UpdateStatus(cKV9_GlobalWrapper* table) {
  cEntity_BuildingManager* manager = Manager();
  if (manager) AppendOnce(manager->runways, this);
  std::vector<TaxiwayAccessCell> cells;
  GetTaxiwayAccessCells(cells);
  cPathFinder* finder = table ? table->pathFinder : nullptr;
  node = nullptr;
  if (!cells.empty() && finder)
    node = finder->GetNodeAt(cells[0].x + cells[0].width / 2, cells[0].y + cells[0].length / 2);
  if (manager) {
    for (BOInstance* terminal : manager->terminals) {
      auto* t = dynamic_cast<TerminalInstance*>(terminal);
      bool linked = false;
      for (TerminalConnections* link : terminalLinks) linked = linked || link->terminal == t;
      if (t && !linked) ConnectTerminal(t);
    }
    if (manager->hooks.linkStoragesToRunway) manager->hooks.linkStoragesToRunway(this);
  }
  BOInstance::UpdateStatus(table);
}

void RunwayInstance::CancelAll() {
  cPathFinder* finder = Finder();
  for (TerminalConnections* link : terminalLinks) {
    for (Route* route : link->routes)
      if (finder && route) finder->CancelRequest(route);
    delete link;
  }
  terminalLinks.clear();
  for (HangarConnection* link : hangarLinks) {
    if (finder && link->route) finder->CancelRequest(link->route);
    delete link;
  }
  hangarLinks.clear();
}

void RunwayInstance::Demolish(cKV9_GlobalWrapper* table) {
  if (cEntity_BuildingManager* manager = Manager()) Erase(manager->runways, this);
  if (tower) tower->ReleaseRunway(this);
  tower = nullptr;
  CancelAll();
  BOInstance::Demolish(table);
}

void RunwayInstance::ConnectTerminal(TerminalInstance* terminal) {
  if (!terminal) return;
  auto* link = new TerminalConnections();
  link->terminal = terminal;
  cPathFinder* finder = Finder();
  for (cPathNode* gate : terminal->gates)
    link->routes.push_back(finder && node && gate ? finder->RequestPath(node, gate, 0, 0, 0) : nullptr);
  terminalLinks.push_back(link);
  if (std::find(terminal->runways.begin(), terminal->runways.end(), this) == terminal->runways.end())
    terminal->runways.push_back(this);
}

void RunwayInstance::DisconnectTerminal(TerminalInstance* terminal) {
  for (auto it = terminalLinks.begin(); it != terminalLinks.end(); ++it) {
    if ((*it)->terminal != terminal) continue;
    TerminalConnections* link = *it;
    terminalLinks.erase(it);
    cPathFinder* finder = Finder();
    for (Route* route : link->routes)
      if (finder && route) finder->CancelRequest(route);
    delete link;
    Erase(terminal->runways, this);
    return;
  }
}

void RunwayInstance::ReleaseRequester(void* requester) {
  for (auto it = hangarLinks.begin(); it != hangarLinks.end(); ++it) {
    if ((*it)->requester != requester) continue;
    HangarConnection* link = *it;
    hangarLinks.erase(it);
    if (cPathFinder* finder = Finder(); finder && link->route) finder->CancelRequest(link->route);
    delete link;
    return;
  }
}

// --- Storage -----------------------------------------------------------------

void StorageInstance::BuildDropoffs(cKV9_GlobalWrapper* table) {
  std::vector<StorageDropoff> built;
  std::vector<cPathNode*> nodes;
  cEntity_GamePlot* plot = table ? table->gamePlot : nullptr;
  cPathFinder* finder = table ? table->pathFinder : nullptr;
  for (const DropoffPlace& place : GetType()->GetDropoffPlaces()) {
    const FootprintRect turned = RotateRect(
        FootprintRect{static_cast<int16_t>(place.x), static_cast<int16_t>(place.y), place.w, place.l}, rotation);
    StorageDropoff record;
    record.x = static_cast<uint16_t>(turned.x + x);
    record.y = static_cast<uint16_t>(turned.y + y);
    record.w = turned.w;
    record.l = turned.l;
    if (plot) {
      float a[4] = {}, b[4] = {};
      const uint16_t lastX = static_cast<uint16_t>(record.x + (record.w ? record.w - 1 : 0));
      const uint16_t lastY = static_cast<uint16_t>(record.y + (record.l ? record.l - 1 : 0));
      if (plot->GetCellCentre(record.x, record.y, &a[0], &a[2]) && plot->GetCellCentre(lastX, lastY, &b[0], &b[2])) {
        JVector d((a[0] + b[0]) * 0.5f - world.m[3][0], 0.0f, (a[2] + b[2]) * 0.5f - world.m[3][2]);
        const float length = std::sqrt(d.x * d.x + d.z * d.z);
        if (length > 0.0f) {
          d.x /= length;
          d.z /= length;
        }
        record.direction = d;
      }
    }
    built.push_back(record);
    nodes.push_back(finder ? finder->GetNodeAt(record.x, record.y) : nullptr);
  }
  dropoffs = std::move(built);
  dropoffNodes = std::move(nodes);
  SetDropoffCount(static_cast<uint8_t>(dropoffs.size()));
}

void StorageInstance::UpdateStatus(cKV9_GlobalWrapper* table) {
  BuildDropoffs(table);
  auto* type = dynamic_cast<cStorageFacility*>(GetType());
  if (cEntity_BuildingManager* manager = Manager()) {
    if (!dropoffs.empty() && manager->hooks.addStorageFacility) manager->hooks.addStorageFacility(this);
    if (type && type->providesStorage && manager->hooks.addCargoStorage) manager->hooks.addCargoStorage(this);
    if (type && type->providesColdStorage && manager->hooks.addColdStorage) manager->hooks.addColdStorage(this);
  }
  BOInstance::UpdateStatus(table);
  ResetCargo(type ? type->GetCapacity() : 0);
}

void StorageInstance::Demolish(cKV9_GlobalWrapper* table) {
  if (cEntity_BuildingManager* manager = Manager()) {
    if (manager->hooks.removeStorageFacility) manager->hooks.removeStorageFacility(this);
    if (manager->hooks.removeCargoStorage) manager->hooks.removeCargoStorage(this);
    if (manager->hooks.removeColdStorage) manager->hooks.removeColdStorage(this);
  }
  BOInstance::Demolish(table);
}

void StorageInstance::SetDropoffCount(uint8_t count) { dropoffFlags.assign(count, 0); }

bool StorageInstance::AssignDropoff(cFlightContract* flight) {
  std::vector<uint8_t> free;
  for (size_t i = 0; i < dropoffFlags.size(); ++i)
    if (!dropoffFlags[i]) free.push_back(static_cast<uint8_t>(i));
  if (free.empty() || !flight) return false;
  const uint8_t pick = free[static_cast<size_t>(Noise_RandomIntInRange(0, static_cast<int32_t>(free.size()) - 1))];
  dropoffFlags[pick] = 1;
  flight->buildingWord = word;
  flight->slotKeys[0] = 0;
  flight->slotKeys[1] = pick;
  return true;
}

void StorageInstance::ResetCargo(int32_t newCapacity) {
  cargo.clear();
  capacity = newCapacity;
}

int32_t StorageInstance::GetFreeSpace() const {
  int64_t used = 0;
  for (const CargoSpace& entry : cargo) used += entry.amount;
  return static_cast<int32_t>(capacity - used);
}

uint32_t StorageInstance::StoreCargo(const std::string& owner, uint32_t amount, uint32_t time) {
  if (owner.empty()) return 0;
  const int32_t free = GetFreeSpace();
  if (free <= 0) return 0;
  const uint32_t stored = std::min<uint32_t>(amount, static_cast<uint32_t>(free));
  if (stored == 0) return 0;
  cargo.push_back(CargoSpace{owner, stored, time});
  return stored;
}

uint32_t StorageInstance::TakeCargo(const std::string& owner, uint32_t amount, uint32_t time) {
  if (owner.empty()) return 0;
  uint32_t taken = 0;
  for (auto it = cargo.begin(); it != cargo.end() && taken < amount;) {
    if (it->owner != owner || it->time > time) {
      ++it;
      continue;
    }
    const uint32_t wanted = amount - taken;
    if (it->amount > wanted) {
      it->amount -= wanted;
      taken += wanted;
      ++it;
    } else {
      taken += it->amount;
      it = cargo.erase(it);
    }
  }
  return taken;
}

uint32_t StorageInstance::GetStoredCargo(const std::string& owner, uint32_t time) const {
  uint32_t sum = 0;
  for (const CargoSpace& entry : cargo)
    if (entry.owner == owner && entry.time <= time) sum += entry.amount;
  return sum;
}

void StorageInstance::SaveCargo(SaveRecordWriter& out) const {
  out.PutU32(1);
  out.PutU32(static_cast<uint32_t>(cargo.size()));
  for (const CargoSpace& entry : cargo) {
    const size_t n = std::min(entry.owner.size(), kCargoOwnerMax);
    out.PutU32(static_cast<uint32_t>(n));
    out.PutBytes(entry.owner.data(), n);
    out.PutU32(entry.amount);
    out.PutU32(entry.time);
  }
  out.PutU32(static_cast<uint32_t>(capacity));
}

bool StorageInstance::CheckCargo(ByteReader in, size_t* bytes) {
  const size_t start = in.Position();
  in.U32();
  const uint32_t count = in.U32();
  if (!in.Ok() || count > in.Remaining() / 12) return false;
  for (uint32_t i = 0; i < count && in.Ok(); ++i) {
    const uint32_t n = in.U32();
    if (n > kCargoOwnerMax) return false;
    in.Skip(n + 8);
  }
  in.U32();
  if (!in.Ok()) return false;
  if (bytes) *bytes = in.Position() - start;
  return true;
}

void StorageInstance::LoadCargo(ByteReader& in) {
  in.U32();
  const uint32_t count = in.U32();
  for (uint32_t i = 0; i < count && in.Ok(); ++i) {
    const uint32_t n = std::min<uint32_t>(in.U32(), kCargoOwnerMax);
    CargoSpace entry;
    entry.owner = in.String(n);
    entry.amount = in.U32();
    entry.time = in.U32();
    if (in.Ok()) cargo.push_back(std::move(entry));
  }
  capacity = static_cast<int32_t>(in.U32());
}

// --- Service -----------------------------------------------------------------

void ServiceInstance::UpdateStatus(cKV9_GlobalWrapper* table) {
  auto* type = dynamic_cast<cServiceFacility*>(GetType());
  if (!upkeepShareTaken && type && table && table->statManager) {
    table->statManager->block.upkeepFactor -= type->GetServiceCost();
    upkeepShareTaken = 1;
  }
  cEntity_BuildingManager* manager = Manager();
  if (manager && NamedAs(this, "Airport Maintain")) AppendOnce(manager->maintenanceServices, this);
  BOInstance::UpdateStatus(table);
}

void ServiceInstance::Demolish(cKV9_GlobalWrapper* table) {
  cEntity_BuildingManager* manager = Manager();
  if (manager && NamedAs(this, "Airport Maintain")) Erase(manager->maintenanceServices, this);
  auto* type = dynamic_cast<cServiceFacility*>(GetType());
  if (upkeepShareTaken && type && table && table->statManager) {
    table->statManager->block.upkeepFactor += type->GetServiceCost();
    upkeepShareTaken = 0;
  }
  BOInstance::Demolish(table);
}
