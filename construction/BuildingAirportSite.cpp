#include "construction/BuildingAirportSite.h"

#include <algorithm>

#include "construction/BuildableObject.h"
#include "construction/BuildingInstances.h"
#include "construction/BuildingManager.h"
#include "construction/Facilities.h"
#include "construction/TerminalInstance.h"

namespace {

// Rewrites `out` only when it no longer holds `in`, element by element.
template <typename T>
void Mirror(std::vector<BOInstance*>& out, const std::vector<T*>& in) {
  if (std::equal(out.begin(), out.end(), in.begin(), in.end())) return;
  out.assign(in.begin(), in.end());
}

RunwayInstance* AsRunway(BOInstance* building) { return dynamic_cast<RunwayInstance*>(building); }
TerminalInstance* AsTerminal(BOInstance* building) { return dynamic_cast<TerminalInstance*>(building); }
StorageInstance* AsStorage(BOInstance* building) { return dynamic_cast<StorageInstance*>(building); }
AdminInstance* AsAdmin(BOInstance* building) { return dynamic_cast<AdminInstance*>(building); }

const TerminalConnections* LinkTo(RunwayInstance* runway, BOInstance* terminal) {
  if (!runway || !terminal) return nullptr;
  for (const TerminalConnections* link : runway->terminalLinks) {
    if (link && link->terminal == terminal) return link;
  }
  return nullptr;
}

}  // namespace

// Lists.

const std::vector<BOInstance*>& BuildingAirportSite::Runways() {
  if (buildings_) Mirror(runways_, buildings_->runways);
  else runways_.clear();
  return runways_;
}

const std::vector<BOInstance*>& BuildingAirportSite::ParkingFacilities() {
  std::vector<BOInstance*> parking;
  if (buildings_) {
    for (BOInstance* building : buildings_->placed) {
      if (building && OidClass(building->word) == kClass_Parking) parking.push_back(building);
    }
  }
  Mirror(parking_, parking);
  return parking_;
}

const std::vector<BOInstance*>& BuildingAirportSite::AdminBuildings() {
  if (buildings_) Mirror(admins_, buildings_->adminBuildings);
  else admins_.clear();
  return admins_;
}

// Any building.

uint32_t BuildingAirportSite::IdentityWord(BOInstance* building) { return building ? building->word : 0; }

void BuildingAirportSite::AnchorCell(BOInstance* building, uint16_t* x, uint16_t* y) {
  *x = building ? building->x : 0;
  *y = building ? building->y : 0;
}

float BuildingAirportSite::AmbientNumber(BOInstance* building, uint32_t index) {
  auto* type = building ? dynamic_cast<cBuilding*>(building->GetType()) : nullptr;
  if (!type) return 0.0f;
  const AmbientTrafficData& data = type->ambient;
  switch (index) {
    case 0: return static_cast<float>(data.count);
    case 1: return static_cast<float>(data.valueB);
    case 2: return static_cast<float>(data.valueC);
    case 3: return static_cast<float>(data.flag);
    case 4: return data.valueE;
    case 5: return static_cast<float>(data.flags);
    default: return 0.0f;
  }
}

uint8_t BuildingAirportSite::BuildingRotation(BOInstance* building) { return building ? building->rotation & 3 : 0; }

uint32_t BuildingAirportSite::ServiceKinds(BOInstance* building) {
  auto* type = building ? dynamic_cast<cBuilding*>(building->GetType()) : nullptr;
  return type ? static_cast<uint32_t>(type->ambient.flags) : 0u;
}

// Runways.

float BuildingAirportSite::RunwayLength(BOInstance* runway) {
  auto* type = runway ? dynamic_cast<cRunway*>(runway->GetType()) : nullptr;
  return type ? static_cast<float>(type->runwayLength) : 0.0f;
}

cPathNode* BuildingAirportSite::RunwayNode(BOInstance* runway) {
  RunwayInstance* r = AsRunway(runway);
  return r ? r->node : nullptr;
}

std::vector<BOInstance*> BuildingAirportSite::LinkedTerminals(BOInstance* runway) {
  std::vector<BOInstance*> terminals;
  if (RunwayInstance* r = AsRunway(runway)) {
    for (const TerminalConnections* link : r->terminalLinks) {
      if (link && link->terminal) terminals.push_back(link->terminal);
    }
  }
  return terminals;
}

Route* BuildingAirportSite::GateRoute(BOInstance* runway, BOInstance* terminal, uint32_t gate) {
  const TerminalConnections* link = LinkTo(AsRunway(runway), terminal);
  return link && gate < link->routes.size() ? link->routes[gate] : nullptr;
}

bool BuildingAirportSite::RunwayEnabled(BOInstance* runway) {
  RunwayInstance* r = AsRunway(runway);
  return r && r->enabled;
}

uint8_t* BuildingAirportSite::RunwayLandingLock(BOInstance* runway) {
  RunwayInstance* r = AsRunway(runway);
  return r ? &r->landingLock : nullptr;
}

void BuildingAirportSite::RunwayStart(BOInstance* runway, int16_t* x, int16_t* y) {
  RunwayInstance* r = AsRunway(runway);
  *x = r ? static_cast<int16_t>(r->x) : 0;
  *y = r ? static_cast<int16_t>(r->y) : 0;
}

void BuildingAirportSite::RunwayTypeOffset(BOInstance* runway, int16_t* x, int16_t* y) {
  RunwayInstance* r = AsRunway(runway);
  cBuildableObject* type = r ? r->GetType() : nullptr;
  *x = type ? type->GetCentreX() : 0;
  *y = 0;
}

uint16_t BuildingAirportSite::RunwayCells(BOInstance* runway) {
  RunwayInstance* r = AsRunway(runway);
  cBuildableObject* type = r ? r->GetType() : nullptr;
  return type ? type->GetLength() : 0;
}

// Terminals.

uint32_t BuildingAirportSite::GateCount(BOInstance* terminal) {
  TerminalInstance* t = AsTerminal(terminal);
  return t ? static_cast<uint32_t>(t->gates.size()) : 0u;
}

cPathNode* BuildingAirportSite::GateNode(BOInstance* terminal, uint32_t gate) {
  TerminalInstance* t = AsTerminal(terminal);
  return t && gate < t->gates.size() ? t->gates[gate] : nullptr;
}

uint8_t BuildingAirportSite::GateHour(BOInstance* terminal, uint32_t gate) {
  TerminalInstance* t = AsTerminal(terminal);
  return t && gate < t->gateBytes.size() ? t->gateBytes[gate] : 0;
}

bool BuildingAirportSite::AssignFlightToFreeSlot(BOInstance* terminal, uint32_t gate, cFlightContract* flight) {
  TerminalInstance* t = AsTerminal(terminal);
  if (!t || gate >= t->banks.size()) return false;
  return t->AssignFlightToGateRandom(static_cast<uint8_t>(gate), flight);
}

void BuildingAirportSite::ParkAirplane(BOInstance* building, uint8_t stand, cEntity_Airplane* airplane) {
  TerminalInstance* t = AsTerminal(building);
  if (t && stand < t->airplanes.size()) t->airplanes[stand] = airplane;
}

void BuildingAirportSite::UnparkAirplane(BOInstance* building, cEntity_Airplane* airplane) {
  TerminalInstance* t = AsTerminal(building);
  if (!t || !airplane) return;
  std::replace(t->airplanes.begin(), t->airplanes.end(), airplane, static_cast<cEntity_Airplane*>(nullptr));
}

void BuildingAirportSite::CollectGateFlights(BOInstance* terminal, std::vector<cFlightContract*>& out) {
  out.clear();
  if (TerminalInstance* t = AsTerminal(terminal)) t->CollectGateFlights(out);
}

// Storages.

cPathNode* BuildingAirportSite::DropoffNode(BOInstance* storage) {
  StorageInstance* s = AsStorage(storage);
  return s && !s->dropoffNodes.empty() ? s->dropoffNodes.front() : nullptr;
}

bool BuildingAirportSite::AssignDropoff(BOInstance* storage, cFlightContract* flight) {
  StorageInstance* s = AsStorage(storage);
  return s && s->AssignDropoff(flight);
}

void BuildingAirportSite::ReleaseDropoff(BOInstance* storage, uint8_t place) {
  StorageInstance* s = AsStorage(storage);
  if (s && place < s->dropoffFlags.size()) s->dropoffFlags[place] = 0;
}

int32_t BuildingAirportSite::StorageFreeSpace(BOInstance* storage) {
  StorageInstance* s = AsStorage(storage);
  return s ? s->GetFreeSpace() : 0;
}

uint32_t BuildingAirportSite::StoreCargo(BOInstance* storage, const std::string& owner, uint32_t amount,
                                         uint32_t pickUpTime) {
  StorageInstance* s = AsStorage(storage);
  return s ? s->StoreCargo(owner, amount, pickUpTime) : 0u;
}

uint32_t BuildingAirportSite::StoredCargo(BOInstance* storage, uint32_t now, const std::string& owner) {
  StorageInstance* s = AsStorage(storage);
  return s ? s->GetStoredCargo(owner, now) : 0u;
}

uint32_t BuildingAirportSite::TakeCargo(BOInstance* storage, const std::string& owner, uint32_t amount,
                                        uint32_t now) {
  StorageInstance* s = AsStorage(storage);
  return s ? s->TakeCargo(owner, amount, now) : 0u;
}

cContract* BuildingAirportSite::OwnerContract(BOInstance* storage) {
  StorageInstance* s = AsStorage(storage);
  return s ? s->owner : nullptr;
}

bool BuildingAirportSite::ProvidesColdStorage(BOInstance* storage) {
  auto* type = AsStorage(storage) ? dynamic_cast<cStorageFacility*>(storage->GetType()) : nullptr;
  return type && type->providesColdStorage;
}

// Administration.

int32_t BuildingAirportSite::FreeAdminPlaces(BOInstance* admin) {
  AdminInstance* a = AsAdmin(admin);
  return a ? a->freePlaces : 0;
}

void BuildingAirportSite::AddAdministered(BOInstance* admin, uint32_t word) {
  AdminInstance* a = AsAdmin(admin);
  if (!a) return;
  a->administered.push_back(word);
  --a->freePlaces;
}

bool BuildingAirportSite::TakeQueuedType(BOInstance* admin, uint32_t word) {
  AdminInstance* a = AsAdmin(admin);
  return a && a->TakeQueuedType(word);
}
