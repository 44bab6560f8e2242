#include "simulation/AmbientManager.h"

#include <algorithm>

#include "base/ByteReader.h"
#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingManager.h"
#include "construction/PathFinder.h"
#include "construction/TaxiwayAccessNodes.h"
#include "engine/config/ConfigManager.h"
#include "engine/entity/EntityManager.h"
#include "engine/files/SerializeRecord.h"
#include "engine/frame/GameManager.h"
#include "engine/math/Noise.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"
#include "platform/DebugOutput.h"
#include "scene/AudioManager.h"
#include "simulation/Airplane.h"
#include "simulation/AirportManager.h"
#include "simulation/AirportSite.h"
#include "simulation/ContractData.h"
#include "simulation/ContractManager.h"
#include "simulation/FlightContract.h"
#include "simulation/Maintenance.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationServices.h"
#include "simulation/StatManager.h"
#include "simulation/Vehicle.h"

namespace {

constexpr const char* kMaintenanceSpawn = "SPN::KV9:MAINTANANCE";

void ForgetIn(std::vector<cEntity_Airplane*>& list, cEntity_Airplane* airplane) {
  // Searched from the back: the oldest airplanes stand at the front and
  // mostly finish first. An airplane is listed at most once, so the entry
  // found is the same either way.
  auto it = std::find(list.rbegin(), list.rend(), airplane);
  if (it != list.rend()) *it = nullptr;
}

// Every finished airplane's entry goes at once: at high game speed more
// airplanes end in a tick than one a tick could take out, and the list
// (saved with the game) would otherwise grow without end.
void DropNulls(std::vector<cEntity_Airplane*>& list) {
  list.erase(std::remove(list.begin(), list.end(), nullptr), list.end());
}

}  // namespace

cEntity_AmbientManager::cEntity_AmbientManager(cEntity_Manager* manager, uint32_t type)
    : cEntity_Base(manager, type), cSimulation_TimeObject(kTimeEvent_Tick) {}

cEntity_AmbientManager::~cEntity_AmbientManager() = default;

cKV9_GlobalWrapper* cEntity_AmbientManager::Table() { return GameTableOf(this); }

void cEntity_AmbientManager::LoadSettings() {
  cKV9_GlobalWrapper* table = Table();
  cCore_ConfigManager* config = table ? table->configManager : nullptr;
  if (!config) return;
  float limit = static_cast<float>(ambientLimit);
  if (config->GetFloat("App", "AmbientLimit", limit)) ambientLimit = static_cast<int32_t>(limit);
  config->GetFloat("App", "HourlyParking", hourlyParking);
  config->GetFloat("App", "ShortTermParking", shortTermParking);
  config->GetFloat("App", "LongTermParking", longTermParking);
}

void cEntity_AmbientManager::RegisterAndRestore() {
  if (!registered_) {
    if (cSimulation_Clock* clock = GameClockOf(Table())) {
      clock->RegisterTimeObject(this);
      registered_ = true;
    }
  }
  const std::vector<uint32_t> ids = std::move(flightsToRestore);
  flightsToRestore.clear();
  for (uint32_t id : ids) {
    if (id != kNoFlight) RestoreAirplane(id);
  }
}

void cEntity_AmbientManager::Clear() {
  if (registered_) {
    if (cSimulation_Clock* clock = GameClockOf(Table())) clock->UnregisterTimeObject(this);
    registered_ = false;
  }
  const std::vector<cEntity_Vehicle*> liveVehicles = vehicles;
  for (cEntity_Vehicle* vehicle : liveVehicles) {
    if (vehicle) vehicle->Finish();
  }
  vehicles.clear();
  trafficIndex_.Clear();
  // Cargo airplanes are finished too: they must not tick on in a new world
  // whose runway and storage they no longer find.
  for (auto* list : {&airplanes, &cargoAirplanes}) {
    const std::vector<cEntity_Airplane*> live = *list;
    for (cEntity_Airplane* airplane : live) {
      if (airplane) airplane->Finish();
    }
    list->clear();
  }
  const std::vector<cEntity_Maintanance*> liveMaintenance = maintenanceVehicles;
  for (cEntity_Maintanance* vehicle : liveMaintenance) {
    if (vehicle) vehicle->End();
  }
  maintenanceVehicles.clear();
  maintConnections.clear();
  connectionIndex_.clear();
  connectionsIndexed_ = 0;
  cPathFinder* finder = Table() ? Table()->pathFinder : nullptr;
  for (PathRequest* request : routeRequests) {
    if (finder) finder->CancelRequest(request);
  }
  routeRequests.clear();
  trafficCount = 0;
  refusedCount = 0;
}

CoreStatus cEntity_AmbientManager::Exit() {
  Clear();
  ambientData.clear();
  activeRecordCount = 0;
  if (cKV9_GlobalWrapper* table = Table(); table && table->ambientManager == this) table->ambientManager = nullptr;
  return cEntity_Base::Exit();
}

int32_t cEntity_AmbientManager::OnTime(uint32_t, uint32_t, uint32_t eventFlag, float gameDelta) {
  if (eventFlag != kTimeEvent_Tick || !(gameDelta > 0.0f)) return 0;
  for (auto it = routeRequests.begin(); it != routeRequests.end(); ++it) {
    if (!(*it)->status) continue;
    PathRequest* request = *it;
    routeRequests.erase(it);
    VehicleFromRoute(request);
    return 0;
  }
  if (auto it = std::find(vehicles.begin(), vehicles.end(), nullptr); it != vehicles.end()) {
    trafficIndex_.Compacted(static_cast<size_t>(it - vehicles.begin()));
    vehicles.erase(it);
  }
  DropNulls(airplanes);
  DropNulls(cargoAirplanes);
  for (size_t i = 0; i < maintenanceVehicles.size(); ++i) {
    if (!maintenanceVehicles[i]) maintenanceVehicles.erase(maintenanceVehicles.begin() + static_cast<ptrdiff_t>(i));
  }
  return 0;
}

bool cEntity_AmbientManager::Save(SerialBlock* bytes, uint32_t* size) {
  SaveRecordWriter out;
  out.PutU32(static_cast<uint32_t>(airplanes.size()));
  for (cEntity_Airplane* airplane : airplanes)
    out.PutU32(airplane && airplane->flight ? airplane->flight->flightId : kNoFlight);
  return out.Release(bytes, size);
}

bool cEntity_AmbientManager::LoadFromBlob(const uint8_t* bytes, uint32_t size) {
  if (!bytes) return false;
  ByteReader r(bytes, size);
  const uint32_t n = r.U32();
  if (!r.Ok() || r.Remaining() / 4 != n || r.Remaining() % 4 != 0) {
    platform::DebugPrintf("[cEntity_AmbientManager] save blob of %u bytes does not hold its %u flights; refused\n",
                          size, n);
    return false;
  }
  std::vector<uint32_t> ids(n);
  for (uint32_t& id : ids) id = r.U32();
  flightsToRestore = std::move(ids);
  return true;
}

cEntity_Airplane* cEntity_AmbientManager::MakeAirplane(cFlightContract* flight, BOInstance* runway) {
  cKV9_GlobalWrapper* table = Table();
  cGameManager* game = GameManagerOf(table);
  if (!flight || noAmbients || !game) return nullptr;
  cEntity_Base* made = nullptr;
  if (status::Failed(game->SpawnEntity(cEntity_Airplane::kSpawnName, &made))) return nullptr;
  auto* airplane = dynamic_cast<cEntity_Airplane*>(made);
  if (!airplane) return nullptr;
  airplane->SetFlight(flight);
  if (table->graphics && flight->airplane && !flight->airplane->model.empty())
    airplane->SetModelName(table->graphics, flight->airplane->model);
  std::list<std::string> services{"AmbientRenderService"};
  game->AttachToServices(services, airplane);
  if (cSimulation_Clock* clock = GameClockOf(table)) clock->RegisterTimeObject(airplane);
  airplane->SetScale(0.05f, 0.05f, 0.05f);
  airplane->runway = runway;
  return airplane;
}

void cEntity_AmbientManager::CreateCargoAirplane(cFlightContract* flight, BOInstance* runway, BOInstance* storage) {
  cEntity_Airplane* airplane = MakeAirplane(flight, runway);
  if (!airplane) return;
  cKV9_GlobalWrapper* table = Table();
  AirportSite* site = table->airportManager ? table->airportManager->GetSite() : nullptr;
  airplane->gate = site && storage ? site->DropoffNode(storage) : nullptr;
  airplane->standIndex = 0;
  airplane->storage = storage;
  airplane->cargoFlight = 1;
  airplane->Appear();
  if (flight->airplane) airplane->OnTargetEvent(kTargetEvent_PlaneSound);
  cargoAirplanes.push_back(airplane);
}

void cEntity_AmbientManager::CreatePassengerAirplane(cFlightContract* flight, BOInstance* runway,
                                                     BOInstance* terminal) {
  cEntity_Airplane* airplane = MakeAirplane(flight, runway);
  if (!airplane) return;
  cKV9_GlobalWrapper* table = Table();
  AirportSite* site = table->airportManager ? table->airportManager->GetSite() : nullptr;
  airplane->gate = site && terminal ? site->GateNode(terminal, flight->slotKeys[0]) : nullptr;
  // The stand is the gate: the terminal keeps one parked airplane per gate.
  airplane->standIndex = flight->slotKeys[0];
  airplane->terminal = terminal;
  airplane->Appear();
  if (flight->airplane) airplane->OnTargetEvent(kTargetEvent_PlaneSound);
  airplanes.push_back(airplane);
}

void cEntity_AmbientManager::RestoreAirplane(uint32_t flightId) {
  cKV9_GlobalWrapper* table = Table();
  cEntity_ContractManager* contracts = table ? table->contractManager : nullptr;
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  AirportSite* site = table && table->airportManager ? table->airportManager->GetSite() : nullptr;
  if (!contracts || !buildings || !site) return;
  cFlightContract* flight = nullptr;
  for (cFlightContract* f : contracts->allFlights) {
    if (f->flightId == flightId) flight = f;
  }
  BOInstance* terminal = flight ? buildings->FindTerminalInstanceOfType(flight->buildingWord) : nullptr;
  if (!terminal) return;
  BOInstance* runway = site->Runways().empty() ? nullptr : site->Runways().front();
  cEntity_Airplane* airplane = MakeAirplane(flight, runway);
  if (!airplane) return;
  airplane->terminal = terminal;
  airplane->standIndex = flight->slotKeys[0];
  airplane->gate = site->GateNode(airplane->terminal, airplane->standIndex);
  airplane->Appear();
  airplane->arrivalDone = 1;
  if (airplane->gate) {
    airplane->gate->lock = 1;
    airplane->holdsGateLock = 1;
  }
  airplane->GateArrival(true);
  airplane->Park();
  airplanes.push_back(airplane);
}

void cEntity_AmbientManager::ForgetAirplane(cEntity_Airplane* airplane) {
  ForgetIn(airplanes, airplane);
  ForgetIn(cargoAirplanes, airplane);
  // Vehicles still serving it must not reach back into a finished airplane.
  for (cEntity_Maintanance* vehicle : maintenanceVehicles) {
    if (vehicle && vehicle->airplane == airplane) vehicle->airplane = nullptr;
  }
}

void cEntity_AmbientManager::SpawnVehicle(uint16_t fromX, uint16_t fromY, uint16_t toX, uint16_t toY, uint32_t kind,
                                          BOInstance* building, uint8_t direction) {
  if (noAmbients) return;
  cKV9_GlobalWrapper* table = Table();
  cEntity_StatManager* stats = table ? table->statManager : nullptr;
  if ((kind & kVehicleKind_Parking) && building && building->GetType() && stats) {
    const uint8_t level = building->GetType()->GetLevel();
    double charge = 0.0;
    if (level == 3) charge = Noise_RandomIntInRange(5, 14) * 24 * 1.5;
    else if (level == 2) charge = Noise_RandomIntInRange(2, 5) * 24 * 2.5;
    else charge = Noise_RandomIntInRange(1, 4) * 4.0;
    stats->AddParkingIncome(static_cast<float>(charge));
  }
  if (!AdmitOrdinary(kind)) return;
  cEntity_Vehicle* vehicle = MakeVehicle(kind);
  if (!vehicle) return;
  vehicle->refusedBefore = refusedCount;
  // Trips from the entrance end at the road cell before the building (the
  // first cell); trips between buildings run from the first to the second.
  const bool between = (kind & (kVehicleKind_Service | kVehicleKind_Snow)) && !(kind & kVehicleKind_RoundTrip);
  vehicle->destinationBuilding = building;
  AddVehicle(vehicle);
  if (between) vehicle->StartArrival(toX, toY, fromX, fromY, kind, direction);
  else vehicle->StartArrival(fromX, fromY, toX, toY, kind, direction);
}

PathRequest* cEntity_AmbientManager::RequestRouteFromTaxiwayAccess(BOInstance* building, uint16_t x, uint16_t y) {
  cKV9_GlobalWrapper* table = Table();
  cPathFinder* finder = table ? table->pathFinder : nullptr;
  if (!building || !finder) return nullptr;
  std::vector<TaxiwayAccessCell> cells;
  building->GetTaxiwayAccessCells(cells);
  cPathNode* start = nullptr;
  for (const TaxiwayAccessCell& cell : cells) {
    if ((start = finder->GetNodeAt(cell.x, cell.y))) break;
  }
  cPathNode* target = finder->GetNodeAt(x, y);
  if (!start || !target) return nullptr;
  return finder->RequestPath(start, target, 1, 0, 0);
}

bool cEntity_AmbientManager::CanRouteFromTaxiwayAccess(BOInstance* building, uint16_t x, uint16_t y) {
  PathRequest* request = RequestRouteFromTaxiwayAccess(building, x, y);
  if (!request) return false;
  Table()->pathFinder->CancelRequest(request);
  return true;
}

bool cEntity_AmbientManager::ConnectBuilding(BOInstance* building, uint16_t x, uint16_t y) {
  cKV9_GlobalWrapper* table = Table();
  cPathFinder* finder = table ? table->pathFinder : nullptr;
  cPathNode* node = building && finder ? finder->GetNodeAt(x, y) : nullptr;
  if (!node) return false;
  MaintConnectionData* connection = ConnectionAt(node);
  if (connection &&
      std::find(connection->buildings.begin(), connection->buildings.end(), building) != connection->buildings.end())
    return true;
  PathRequest* request = RequestRouteFromTaxiwayAccess(building, x, y);
  if (!request) return false;
  const bool reached = !request->route.empty();
  finder->CancelRequest(request);
  if (!reached) return false;
  if (!connection) {
    maintConnections.push_back({node, {}});
    connection = &maintConnections.back();
  }
  connection->buildings.push_back(building);
  return true;
}

MaintConnectionData* cEntity_AmbientManager::ConnectionAt(cPathNode* node) {
  if (connectionsIndexed_ > maintConnections.size()) {
    connectionIndex_.clear();
    connectionsIndexed_ = 0;
  }
  // The first entry of a node is the one found, as a walk in list order
  // would find it.
  for (; connectionsIndexed_ < maintConnections.size(); ++connectionsIndexed_)
    connectionIndex_.try_emplace(maintConnections[connectionsIndexed_].node, connectionsIndexed_);
  auto it = connectionIndex_.find(node);
  if (it == connectionIndex_.end()) return nullptr;
  if (it->second < maintConnections.size() && maintConnections[it->second].node == node)
    return &maintConnections[it->second];
  // The list was rewritten behind the index: walked instead.
  auto found = std::find_if(maintConnections.begin(), maintConnections.end(),
                            [node](const MaintConnectionData& c) { return c.node == node; });
  return found == maintConnections.end() ? nullptr : &*found;
}

BOInstance* cEntity_AmbientManager::FindServiceSource(uint16_t x, uint16_t y, uint32_t kind, PathRequest** request) {
  *request = nullptr;
  cKV9_GlobalWrapper* table = Table();
  AirportSite* site = table && table->airportManager ? table->airportManager->GetSite() : nullptr;
  cPathFinder* finder = table ? table->pathFinder : nullptr;
  if (!site || !finder) return nullptr;
  // No route ends at a cell without a path node, so no building can serve
  // it: answered before the walk over every building, which an airplane
  // waiting for a service would otherwise repeat each tick.
  cPathNode* node = finder->GetNodeAt(x, y);
  if (!node) return nullptr;
  const auto routed = [&](BOInstance* building) {
    if (!(site->ServiceKinds(building) & kind)) return false;
    PathRequest* made = RequestRouteFromTaxiwayAccess(building, x, y);
    if (made && made->route.size() >= 2) {
      *request = made;
      return true;
    }
    if (made) finder->CancelRequest(made);
    return false;
  };
  // The buildings known to reach the node first, then any that serves the
  // kind.
  if (MaintConnectionData* connection = ConnectionAt(node)) {
    for (BOInstance* building : connection->buildings) {
      if (routed(building)) return building;
    }
  }
  for (BOInstance* building : PlacedBuildings()) {
    if (!routed(building)) continue;
    // Remembered for the node, so the next airplane there is served
    // without a walk over every building.
    if (MaintConnectionData* connection = ConnectionAt(node)) connection->buildings.push_back(building);
    else maintConnections.push_back({node, {building}});
    return building;
  }
  return nullptr;
}

bool cEntity_AmbientManager::CanServeCell(uint16_t x, uint16_t y, uint32_t kind) {
  PathRequest* request = nullptr;
  if (!FindServiceSource(x, y, kind, &request)) return false;
  Table()->pathFinder->CancelRequest(request);
  return true;
}

void cEntity_AmbientManager::SpawnMaintenanceVehicle(uint16_t x, uint16_t y, bool returns, uint32_t kind,
                                                     cEntity_Airplane* airplane) {
  cKV9_GlobalWrapper* table = Table();
  cGameManager* game = GameManagerOf(table);
  PathRequest* request = nullptr;
  BOInstance* source = FindServiceSource(x, y, kind, &request);
  cEntity_Base* made = nullptr;
  auto* vehicle = source && game && status::Ok == game->SpawnEntity(kMaintenanceSpawn, &made)
                      ? dynamic_cast<cEntity_Maintanance*>(made)
                      : nullptr;
  if (!vehicle) {
    if (request && table->pathFinder) table->pathFinder->CancelRequest(request);
    if (made && game) game->DestroyEntity(made);
    // A vehicle that cannot be made ends at once, as a vehicle without a
    // model for its kind does: the airplane stops waiting for it.
    if (!airplane) return;
    for (uint32_t s = 0; s < kServiceCount; ++s) {
      if (cEntity_Airplane::kServiceKinds[s] == kind) airplane->servicesUnderWay[s] = 0;
    }
    if (kind == cEntity_Airplane::kCargoKind) airplane->servicesUnderWay[kServiceCount] = 0;
    return;
  }
  maintenanceVehicles.push_back(vehicle);
  const cPathNode* start = request && !request->route.empty() ? request->route.front() : nullptr;
  vehicle->Start(request, x, y, start ? start->x : x, start ? start->y : y, returns, kind, airplane);
}
