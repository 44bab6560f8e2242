// The airport manager's flights: the daily traffic, the timetable of
// departure banks, placement of signed flights, storage links and arrivals.
#include <algorithm>
#include <cmath>

#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingManager.h"
#include "engine/math/Noise.h"
#include "engine/services/GlobalWrapper.h"
#include "simulation/AirlineContract.h"
#include "simulation/AirportManager.h"
#include "simulation/AirportSite.h"
#include "simulation/AmbientManager.h"
#include "simulation/Calendar.h"
#include "simulation/ContractData.h"
#include "simulation/ContractManager.h"
#include "simulation/EventManager.h"
#include "simulation/FlightContract.h"
#include "simulation/GameScenario.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationServices.h"
#include "simulation/SlowDown.h"
#include "simulation/StatManager.h"
#include "simulation/WeatherManager.h"

namespace {

// The same placed building: class, id, level and serial agree; the
// build-menu category (bits 20-22) is not compared.
constexpr uint32_t kPlacedBuildingMask = ~(7u << 20);

bool IsCargo(const cFlightContract* flight) {
  return (flight->airplane && flight->airplane->cargo) ||
         (flight->airline && flight->airline->data && flight->airline->data->cargo);
}

// The indices 0 .. n-1 in the order random draws take them, each drawn from
// those not yet taken.
std::vector<size_t> RandomOrder(size_t n) {
  std::vector<size_t> left(n);
  for (size_t i = 0; i < n; ++i) left[i] = i;
  std::vector<size_t> order;
  while (!left.empty()) {
    const size_t pick = static_cast<size_t>(Noise_RandomIntInRange(0, static_cast<int32_t>(left.size()) - 1));
    order.push_back(left[pick]);
    left.erase(left.begin() + static_cast<std::ptrdiff_t>(pick));
  }
  return order;
}

void RemoveFirst(std::vector<cFlightContract*>& list, cFlightContract* flight) {
  auto it = std::find(list.begin(), list.end(), flight);
  if (it != list.end()) list.erase(it);
}

bool RouteFound(const PathRequest* route) { return route && route->status && route->secondStatus; }

}  // namespace

// Traffic.

void cEntity_AirportManager::UpdateTraffic() {
  std::copy_backward(history, history + kTrafficHistoryLength - 1, history + kTrafficHistoryLength);
  history[0] = traffic;
  traffic = 0;
  cKV9_GlobalWrapper* table = Table();
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  cEntity_StatManager* stats = table ? table->statManager : nullptr;
  if (!buildings || !site_) return;
  const float population = table->scenario ? static_cast<float>(table->scenario->GetPopulation()) : 0.0f;
  const float satisfaction = stats ? stats->block.satisfactionRating : 0.0f;
  const float demand = population * 0.3f / 365.0f * satisfaction * 0.01f;
  const std::vector<BOInstance*>& terminals = buildings->GetTerminals();
  std::vector<std::vector<cFlightContract*>> flights(terminals.size());
  uint32_t occupied = 0;
  for (size_t t = 0; t < terminals.size(); ++t) {
    site_->CollectGateFlights(terminals[t], flights[t]);
    occupied += static_cast<uint32_t>(flights[t].size());
  }
  const float divisor = static_cast<float>(occupied ? occupied : 1);
  for (size_t t = 0; t < terminals.size(); ++t) {
    const float exact = static_cast<float>(flights[t].size()) / divisor * demand;
    const uint32_t share = exact > 0.0f ? static_cast<uint32_t>(exact) : 0u;
    // The share is spread evenly over the terminal's flights, the first
    // ones taking the remainder; each flight holds what its airplane seats.
    uint32_t taken = 0;
    const size_t n = flights[t].size();
    for (size_t i = 0; i < n; ++i) {
      cFlightContract* flight = flights[t][i];
      uint32_t want = share / static_cast<uint32_t>(n) + (i < share % n ? 1u : 0u);
      const uint32_t seats = flight->airplane ? flight->airplane->maxPassengers : 0u;
      want = std::min(want, seats);
      flight->passengers = static_cast<uint16_t>(std::min<uint32_t>(want, 0xFFFF));
      taken += flight->passengers;
    }
    if (taken < share && stats) stats->block.satisfactionBase -= 0.1f;
    traffic += taken;
  }
}

// The timetable.

void cEntity_AirportManager::ScheduleFlightEvent(uint32_t kind, uint32_t flightId, int32_t hour, int32_t minute,
                                                 int32_t second) {
  cKV9_GlobalWrapper* table = Table();
  cSimulation_Clock* clock = GameClockOf(table);
  cEntity_EventManager* events = table ? table->eventManager : nullptr;
  if (!clock || !events) return;
  const calendar::EventTime t = calendar::NormaliseEventTime(clock->year, clock->dayOfYear, hour, minute);
  EventRecord record;
  record.kind = kind;
  record.second = static_cast<uint8_t>(second);
  record.minute = static_cast<uint8_t>(t.minute);
  record.hour = static_cast<uint8_t>(t.hour);
  record.dayOfYear = static_cast<uint16_t>(t.dayOfYear);
  record.year = static_cast<uint16_t>(t.year);
  record.payload = flightId;
  events->ScheduleEvent(record);
}

void cEntity_AirportManager::SchedulePassengerBank(uint32_t bank) {
  if (bank >= kBankCount) return;
  cKV9_GlobalWrapper* table = Table();
  cEntity_ContractManager* contracts = table ? table->contractManager : nullptr;
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  const int32_t hour = static_cast<int32_t>(2 * bank + 6);
  // A copy: a failed check may take flights off the schedule.
  const std::vector<cFlightContract*> flights = passengerBanks[bank];
  for (cFlightContract* flight : flights) {
    cAirlineContract* airline = flight->airline;
    if (airline && !airline->CheckRequirements(table, nullptr)) {
      if (contracts) contracts->NotifyRequirementsNotMet(airline);
      continue;
    }
    TerminalInstance* terminal = buildings ? buildings->FindTerminalInstanceOfType(flight->buildingWord) : nullptr;
    const int32_t gateHour =
        terminal && site_ ? std::min<int32_t>(site_->GateHour(terminal, flight->slotKeys[0]), 23) : 0;
    const int32_t r = Noise_RandomIntInRange(-10, 30);
    ScheduleFlightEvent(kEvent_PassengerFlight, flight->flightId, hour, 5 * gateHour + r, 0);
    ScheduleFlightEvent(kEvent_FlightCompanion, flight->flightId, hour, 5 * gateHour - 30, 0);
  }
}

void cEntity_AirportManager::ScheduleCargoBank(uint32_t bank) {
  if (bank >= kBankCount) return;
  for (cFlightContract* flight : cargoBanks[bank])
    ScheduleFlightEvent(kEvent_CargoFlight, flight->flightId, static_cast<int32_t>(2 * bank + 6), 0, 0);
}

// The banks.

void cEntity_AirportManager::AddPassengerFlight(uint8_t list, cFlightContract* flight) {
  if (list < kBankCount && flight) passengerBanks[list].push_back(flight);
}

void cEntity_AirportManager::RemovePassengerFlight(uint8_t list, cFlightContract* flight) {
  if (list < kBankCount) RemoveFirst(passengerBanks[list], flight);
}

void cEntity_AirportManager::AddStorageFlight(uint8_t list, cFlightContract* flight) {
  if (list < kBankCount && flight) cargoBanks[list].push_back(flight);
}

void cEntity_AirportManager::RemoveStorageFlight(uint8_t list, cFlightContract* flight) {
  if (list < kBankCount) RemoveFirst(cargoBanks[list], flight);
}

void cEntity_AirportManager::ReleasePassengerFlight(cFlightContract* flight) {
  if (flight) RemovePassengerFlight(flight->slotKeys[1], flight);
}

void cEntity_AirportManager::ClearStorageSlot(uint32_t word, uint8_t slot) {
  if (BOInstance* storage = FindStorageByWord(word); storage && site_) site_->ReleaseDropoff(storage, slot);
}

// Placement.

bool cEntity_AirportManager::PlacePassengerFlight(cFlightContract* flight) {
  if (!flight || !site_) return false;
  const std::vector<BOInstance*> runways = site_->Runways();
  for (size_t r : RandomOrder(runways.size())) {
    const std::vector<BOInstance*> terminals = site_->LinkedTerminals(runways[r]);
    for (size_t t : RandomOrder(terminals.size())) {
      BOInstance* terminal = terminals[t];
      // Only gates a found path joins to this runway can take an airplane.
      std::vector<uint32_t> gates;
      for (uint32_t g = 0; g < site_->GateCount(terminal); ++g) {
        if (RouteFound(site_->GateRoute(runways[r], terminal, g))) gates.push_back(g);
      }
      for (size_t g : RandomOrder(gates.size())) {
        if (!site_->AssignFlightToFreeSlot(terminal, gates[g], flight)) continue;
        if (flight->slotKeys[1] >= kBankCount) return false;
        passengerBanks[flight->slotKeys[1]].push_back(flight);
        return true;
      }
    }
  }
  return false;
}

bool cEntity_AirportManager::PlaceCargoFlight(cFlightContract* flight) {
  if (!flight || !site_) return false;
  const std::vector<BOInstance*> runways = site_->Runways();
  for (size_t r : RandomOrder(runways.size())) {
    std::vector<BOInstance*> linked;
    for (const StorageLink& link : storageLinks_) {
      if (link.runway == runways[r]) linked.push_back(link.storage);
    }
    for (size_t s : RandomOrder(linked.size())) {
      if (!site_->AssignDropoff(linked[s], flight)) continue;
      // Eight cargo banks: a place past them cannot be scheduled.
      if (flight->slotKeys[1] >= kBankCount) {
        site_->ReleaseDropoff(linked[s], flight->slotKeys[1]);
        continue;
      }
      cargoBanks[flight->slotKeys[1]].push_back(flight);
      return true;
    }
  }
  return false;
}

// Storage links.

void cEntity_AirportManager::RequestStorageRoute(BOInstance* runway, BOInstance* storage) {
  cKV9_GlobalWrapper* table = Table();
  cPathFinder* finder = table ? table->pathFinder : nullptr;
  PathRequest* route = nullptr;
  cPathNode* from = site_->RunwayNode(runway);
  cPathNode* to = site_->DropoffNode(storage);
  if (finder && from && to) route = finder->RequestPath(from, to, 1, 0, 0);
  storageLinks_.push_back({runway, storage, route});
}

PathRequest* cEntity_AirportManager::StorageRoute(BOInstance* runway, BOInstance* storage) const {
  for (const StorageLink& link : storageLinks_) {
    if (link.runway == runway && link.storage == storage) return link.route;
  }
  return nullptr;
}

void cEntity_AirportManager::CancelStorageLinks(BOInstance* storage) {
  cKV9_GlobalWrapper* table = Table();
  cPathFinder* finder = table ? table->pathFinder : nullptr;
  std::erase_if(storageLinks_, [&](const StorageLink& link) {
    if (link.storage != storage) return false;
    if (finder && link.route) finder->CancelRequest(link.route);
    return true;
  });
}

void cEntity_AirportManager::AddStorageFacility(BOInstance* storage) {
  if (!storage) return;
  dropoffStorages.push_back(storage);
  if (!site_) return;
  for (BOInstance* runway : site_->Runways()) RequestStorageRoute(runway, storage);
}

void cEntity_AirportManager::LinkStoragesToRunway(BOInstance* runway) {
  if (!runway || !site_) return;
  for (BOInstance* storage : dropoffStorages) {
    if (!StorageRoute(runway, storage)) RequestStorageRoute(runway, storage);
  }
}

void cEntity_AirportManager::RemoveStorageFacility(BOInstance* storage) {
  auto it = std::find(dropoffStorages.begin(), dropoffStorages.end(), storage);
  if (it == dropoffStorages.end()) return;
  CancelStorageLinks(storage);
  dropoffStorages.erase(it);
  if (site_) RescheduleCargoFlights(site_->IdentityWord(storage));
}

void cEntity_AirportManager::RescheduleCargoFlights(uint32_t storageWord) {
  cKV9_GlobalWrapper* table = Table();
  cEntity_ContractManager* contracts = table ? table->contractManager : nullptr;
  std::vector<cFlightContract*> moved;
  for (auto& bank : cargoBanks) {
    std::erase_if(bank, [&](cFlightContract* flight) {
      if ((flight->buildingWord & kPlacedBuildingMask) != (storageWord & kPlacedBuildingMask)) return false;
      moved.push_back(flight);
      return true;
    });
  }
  for (cFlightContract* flight : moved) {
    if (PlaceCargoFlight(flight)) continue;
    cAirlineContract* airline = flight->airline;
    const std::string name = airline ? airline->GetName() : std::string();
    PostNotice(table, "Flight contract lost",
               FormatText("%s flight %d was unable to be rescheduled.  The contract has been lost.", name.c_str(),
                          static_cast<int>(flight->flightId)));
    if (!airline) continue;
    // The lost flight leaves the schedule, so it neither lands nor pays.
    if (contracts) RemoveFirst(contracts->allFlights, flight);
    flight->RemoveFromSchedule(airline, table);
    if (airline->signedFlights.empty() && contracts) {
      contracts->ReturnAirlineToPool(airline);
      airline->state = 12;
      PostNotice(table, "Airline contract lost",
                 FormatText("Your contract with %s has been lost because none of their flights were able to be "
                            "rescheduled.",
                            name.c_str()));
    }
  }
}

void cEntity_AirportManager::RemoveCargoStorage(BOInstance* storage) {
  auto it = std::find(storages.begin(), storages.end(), storage);
  if (it != storages.end()) storages.erase(it);
}

void cEntity_AirportManager::RemoveColdStorage(BOInstance* storage) {
  auto it = std::find(coldStorages.begin(), coldStorages.end(), storage);
  if (it != coldStorages.end()) coldStorages.erase(it);
}

BOInstance* cEntity_AirportManager::FindStorageByWord(uint32_t word) {
  if (!site_) return nullptr;
  for (BOInstance* storage : storages) {
    if ((site_->IdentityWord(storage) & kPlacedBuildingMask) == (word & kPlacedBuildingMask)) return storage;
  }
  return nullptr;
}

bool cEntity_AirportManager::AreGatesOccupied() {
  cKV9_GlobalWrapper* table = Table();
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  if (!buildings || !site_) return false;
  uint32_t gates = 0;
  uint32_t occupied = 0;
  for (BOInstance* terminal : buildings->GetTerminals()) {
    for (uint32_t g = 0; g < site_->GateCount(terminal); ++g) {
      ++gates;
      const cPathNode* node = site_->GateNode(terminal, g);
      if (node && node->lock) ++occupied;
    }
  }
  return gates > 0 && static_cast<float>(occupied) >= 0.8f * static_cast<float>(gates);
}

// Arrivals.

cFlightContract* cEntity_AirportManager::FindScheduledFlight(uint32_t flightId) {
  cKV9_GlobalWrapper* table = Table();
  cEntity_ContractManager* contracts = table ? table->contractManager : nullptr;
  if (!contracts) return nullptr;
  for (cFlightContract* flight : contracts->allFlights) {
    if (flight->flightId == flightId) return flight;
  }
  return nullptr;
}

bool cEntity_AirportManager::RunwayQualifies(BOInstance* runway, cFlightContract* flight, BOInstance* destination) {
  if (!destination || !flight->airplane) return false;
  if (static_cast<float>(flight->airplane->requiredRunway) > site_->RunwayLength(runway)) return false;
  const PathRequest* route = IsCargo(flight) ? StorageRoute(runway, destination)
                                             : site_->GateRoute(runway, destination, flight->slotKeys[0]);
  return RouteFound(route);
}

void cEntity_AirportManager::FlightArrival(uint32_t flightId) {
  cFlightContract* flight = FindScheduledFlight(flightId);
  if (!flight || !site_) return;
  cKV9_GlobalWrapper* table = Table();
  const bool cargo = IsCargo(flight);
  const uint32_t delay = table && table->weatherManager ? table->weatherManager->GetFlightDelay() : 0;
  if (delay > 0 && !flight->delayed) {
    flight->delayed = 1;
    cSimulation_Clock* clock = GameClockOf(table);
    if (clock) {
      // The clock's hour 24 is the first hour of its day, so counts as 0.
      const int32_t minutes = static_cast<int32_t>(std::min<uint32_t>(delay, 1u << 24));
      ScheduleFlightEvent(cargo ? kEvent_CargoFlight : kEvent_PassengerFlight, flight->flightId,
                          calendar::HourOfDay(clock->hour), clock->minute + minutes, 0);
    }
    SlowDownFor(table, Happening::FlightDelay);
    return;
  }
  flight->delayed = 0;
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  BOInstance* destination = nullptr;
  if (cargo) destination = FindStorageByWord(flight->buildingWord);
  else if (buildings) destination = buildings->FindTerminalInstanceOfType(flight->buildingWord);
  const std::vector<BOInstance*> runways = site_->Runways();
  for (size_t r : RandomOrder(runways.size())) {
    if (!RunwayQualifies(runways[r], flight, destination)) continue;
    cEntity_AmbientManager* ambient = table ? table->ambientManager : nullptr;
    if (!ambient) return;
    if (cargo) {
      ambient->CreateCargoAirplane(flight, runways[r], destination);
    } else {
      ambient->CreatePassengerAirplane(flight, runways[r], destination);
      SpawnPassengerTraffic(flight);
    }
    return;
  }
}

void cEntity_AirportManager::SpawnPassengerTraffic(cFlightContract* flight) {
  cKV9_GlobalWrapper* table = Table();
  cEntity_AmbientManager* ambient = table ? table->ambientManager : nullptr;
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  if (!ambient || !buildings || !site_) return;
  const uint32_t p = flight->passengers / 10u;
  const auto whole = [](float v) { return v > 0.0f ? std::floor(v) : 0.0f; };
  const float hourly = whole(ambient->hourlyParking * static_cast<float>(p) * 0.01f);
  const float shortTerm = whole(ambient->shortTermParking * static_cast<float>(p) * 0.01f);
  const float longTerm = whole(ambient->longTermParking * static_cast<float>(p) * 0.01f);
  const std::vector<BOInstance*>& parking = site_->ParkingFacilities();
  float dropOffPlaces = 0.0f;
  float spaces[3] = {};  // hourly, short-term, long-term
  auto spaceIndex = [](BOInstance* facility) {
    const uint8_t level = facility->GetType() ? facility->GetType()->GetLevel() : 0;
    return level == 2 ? 1 : level == 3 ? 2 : 0;
  };
  for (BOInstance* facility : parking) {
    dropOffPlaces += site_->AmbientNumber(facility, 1);
    spaces[spaceIndex(facility)] += site_->AmbientNumber(facility, 2);
  }
  const auto ratio = [](float a, float b) { return b == 0.0f ? 0.0f : std::min(a / b, 1.0f); };
  const float a = ratio(static_cast<float>(p), dropOffPlaces);
  const float share[3] = {ratio(hourly, spaces[0]), ratio(shortTerm, spaces[1]), ratio(longTerm, spaces[2])};
  std::vector<RoadAccessCell> cells;
  auto spawn = [&](BOInstance* facility, uint32_t kind) {
    if (cells.empty()) return;
    RoadAccessCell cell = cells[static_cast<size_t>(Noise_RandomIntInRange(0, static_cast<int32_t>(cells.size()) - 1))];
    switch (cell.direction & 3) {
      case 0: --cell.y; break;
      case 1: ++cell.x; break;
      case 2: ++cell.y; break;
      default: --cell.x; break;
    }
    uint16_t x = 0, y = 0;
    site_->AnchorCell(facility, &x, &y);
    ambient->SpawnVehicle(cell.x, cell.y, x, y, kind, facility, cell.direction);
  };
  for (BOInstance* facility : parking) {
    // The level picks the share, as it picked the spaces summed above.
    const uint32_t n = static_cast<uint32_t>(whole(site_->AmbientNumber(facility, 2) * share[spaceIndex(facility)]));
    const uint32_t m = static_cast<uint32_t>(whole(site_->AmbientNumber(facility, 1) * a));
    cells.clear();
    buildings->GetRoadAccessCells(facility, cells);
    for (uint32_t i = 0; i < n; ++i) spawn(facility, kVehicleKind_Parking);
    for (uint32_t i = 0; i < m; ++i) spawn(facility, kVehicleKind_DropOff);
  }
}
