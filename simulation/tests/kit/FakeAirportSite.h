#pragma once
// Fakes of the airport manager's neighbours on the building side and of the
// ambient manager: runways linked to terminal gates and storages through the
// (fake) path finder, gate slots, drop-off places, parking facilities and
// administration places; the ambient manager records what it is asked.
#include <cstdint>
#include <algorithm>
#include <map>
#include <set>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "engine/math/Noise.h"
#include "simulation/AirportSite.h"
#include "simulation/AmbientManager.h"
#include "simulation/FlightContract.h"
#include "simulation/tests/kit/KitFakes.h"

namespace simkit {

class FakeAirportSite : public AirportSite {
 public:
  static constexpr uint32_t kSlots = 8;

  struct Gate {
    cPathNode* node = nullptr;  // the path finder's
    uint8_t hour = 0;
    cFlightContract* slots[kSlots] = {};
    cEntity_Airplane* parked = nullptr;
  };
  struct Storage {
    cPathNode* node = nullptr;
    std::vector<cFlightContract*> places;  // null: free
  };
  struct Runway {
    bool enabled = true;
    uint8_t lock = 0;
    int16_t startX = 0, startY = 0;
    int16_t offsetX = 0, offsetY = 0;
    uint16_t cells = 40;  // length along the axis
  };
  struct Cargo {
    std::string owner;
    uint32_t amount = 0;
    uint32_t pickUp = 0;
  };
  struct CargoStore {
    int32_t capacity = 0;
    std::vector<Cargo> cargo;
    cContract* owner = nullptr;
    bool cold = false;
    uint32_t kinds = 0x20;
  };
  struct Admin {
    int32_t free = 0;
    std::vector<uint32_t> administered;
  };

  explicit FakeAirportSite(cPathFinder* finder) : finder_(finder) {}
  ~FakeAirportSite() override {
    for (auto& [key, routes] : gateRoutes_) {
      for (Route* route : routes) finder_->CancelRequest(route);
    }
  }

  // A runway of that length whose path node stands at (x, y).
  void AddRunway(BOInstance* runway, float length, uint16_t x, uint16_t y) {
    runways_.push_back(runway);
    runway_[runway].startX = static_cast<int16_t>(x);
    runway_[runway].startY = static_cast<int16_t>(y);
    runwayLength_[runway] = length;
    runwayNode_[runway] = Node(x, y);
  }
  // A terminal with one gate per (x, y), each with its hour byte.
  void AddTerminal(BOInstance* terminal, const std::vector<std::pair<uint16_t, uint16_t>>& cells,
                   const std::vector<uint8_t>& hours = {}) {
    std::vector<Gate>& gates = gates_[terminal];
    // A flight leaving the terminal frees its slot, as a terminal does.
    if (auto* fake = dynamic_cast<FakeInstance*>(terminal)) {
      fake->onRemoveFlight = [this, terminal](cFlightContract* flight) {
        for (Gate& gate : gates_[terminal])
          for (cFlightContract*& slot : gate.slots)
            if (slot == flight) slot = nullptr;
      };
    }
    for (size_t i = 0; i < cells.size(); ++i) {
      Gate gate;
      gate.node = Node(cells[i].first, cells[i].second);
      gate.hour = i < hours.size() ? hours[i] : 0;
      gates.push_back(gate);
    }
  }
  // The runway's paths to every gate of the terminal, as a runway links a
  // terminal: requested from the path finder.
  void Link(BOInstance* runway, BOInstance* terminal) {
    links_[runway].push_back(terminal);
    std::vector<Route*>& routes = gateRoutes_[{runway, terminal}];
    for (Gate& gate : gates_[terminal]) routes.push_back(finder_->RequestPath(runwayNode_[runway], gate.node, 1, 0, 0));
  }
  void AddStorage(BOInstance* storage, uint32_t word, uint16_t x, uint16_t y, uint32_t places) {
    words_[storage] = word;
    storages_[storage].node = Node(x, y);
    storages_[storage].places.assign(places, nullptr);
  }
  void AddParking(BOInstance* facility, float dropOff, float spaces, uint16_t anchorX, uint16_t anchorY) {
    parking_.push_back(facility);
    ambient_[facility] = {0.0f, dropOff, spaces};
    anchors_[facility] = {anchorX, anchorY};
  }
  void AddAdmin(BOInstance* admin, int32_t free) {
    admins_.push_back(admin);
    admin_[admin].free = free;
  }
  void SetWord(BOInstance* building, uint32_t word) { words_[building] = word; }
  void SetRotation(BOInstance* building, uint8_t rotation) { rotations_[building] = rotation; }
  Runway& RunwayOf(BOInstance* runway) { return runway_[runway]; }
  CargoStore& CargoOf(BOInstance* storage) { return cargo_[storage]; }
  Gate& GateOf(BOInstance* terminal, uint32_t gate) { return gates_[terminal][gate]; }
  Storage& StorageOf(BOInstance* storage) { return storages_[storage]; }
  Admin& AdminOf(BOInstance* admin) { return admin_[admin]; }
  // A path node the fake finder links (x, y) to its four neighbours with.
  cPathNode* Node(uint16_t x, uint16_t y) {
    cPathNode* node = finder_->GetNodeAt(x, y);
    if (!node) node = finder_->AddNode(x, y, kPathNode_Taxiway);
    for (auto [dx, dy] : {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}}) {
      if (cPathNode* other = finder_->GetNodeAt(x + dx, y + dy)) finder_->LinkNodes(node, other);
    }
    return node;
  }

  const std::vector<BOInstance*>& Runways() override { return runways_; }
  const std::vector<BOInstance*>& ParkingFacilities() override { return parking_; }
  const std::vector<BOInstance*>& AdminBuildings() override { return admins_; }
  uint32_t IdentityWord(BOInstance* building) override {
    auto it = words_.find(building);
    if (it != words_.end()) return it->second;
    return building && building->GetType() ? building->GetType()->GetTypeWord() : 0;
  }
  void AnchorCell(BOInstance* building, uint16_t* x, uint16_t* y) override {
    *x = anchors_[building].first;
    *y = anchors_[building].second;
  }
  float AmbientNumber(BOInstance* building, uint32_t index) override {
    const std::vector<float>& values = ambient_[building];
    return index < values.size() ? values[index] : 0.0f;
  }
  float RunwayLength(BOInstance* runway) override { return runwayLength_[runway]; }
  cPathNode* RunwayNode(BOInstance* runway) override { return runwayNode_[runway]; }
  std::vector<BOInstance*> LinkedTerminals(BOInstance* runway) override { return links_[runway]; }
  Route* GateRoute(BOInstance* runway, BOInstance* terminal, uint32_t gate) override {
    auto it = gateRoutes_.find({runway, terminal});
    return it != gateRoutes_.end() && gate < it->second.size() ? it->second[gate] : nullptr;
  }
  bool RunwayEnabled(BOInstance* runway) override { return runway_[runway].enabled; }
  uint8_t* RunwayLandingLock(BOInstance* runway) override { return &runway_[runway].lock; }
  void RunwayStart(BOInstance* runway, int16_t* x, int16_t* y) override {
    *x = runway_[runway].startX;
    *y = runway_[runway].startY;
  }
  void RunwayTypeOffset(BOInstance* runway, int16_t* x, int16_t* y) override {
    *x = runway_[runway].offsetX;
    *y = runway_[runway].offsetY;
  }
  uint16_t RunwayCells(BOInstance* runway) override { return runway_[runway].cells; }
  uint8_t BuildingRotation(BOInstance* building) override { return rotations_[building]; }
  int32_t StorageFreeSpace(BOInstance* storage) override {
    CargoStore& c = cargo_[storage];
    int32_t used = 0;
    for (const Cargo& item : c.cargo) used += static_cast<int32_t>(item.amount);
    return c.capacity - used;
  }
  uint32_t StoreCargo(BOInstance* storage, const std::string& owner, uint32_t amount, uint32_t pickUp) override {
    const int32_t free = StorageFreeSpace(storage);
    const uint32_t stored = free > 0 ? std::min<uint32_t>(amount, static_cast<uint32_t>(free)) : 0;
    if (stored && !owner.empty()) cargo_[storage].cargo.push_back({owner, stored, pickUp});
    return owner.empty() ? 0 : stored;
  }
  uint32_t StoredCargo(BOInstance* storage, uint32_t now, const std::string& owner) override {
    uint32_t n = 0;
    for (const Cargo& item : cargo_[storage].cargo) n += item.owner == owner && item.pickUp <= now ? item.amount : 0;
    return n;
  }
  uint32_t TakeCargo(BOInstance* storage, const std::string& owner, uint32_t amount, uint32_t now) override {
    uint32_t taken = 0;
    for (Cargo& item : cargo_[storage].cargo) {
      if (item.owner != owner || item.pickUp > now || taken == amount) continue;
      const uint32_t t = std::min(item.amount, amount - taken);
      item.amount -= t;
      taken += t;
    }
    std::erase_if(cargo_[storage].cargo, [](const Cargo& c) { return c.amount == 0; });
    return taken;
  }
  cContract* OwnerContract(BOInstance* storage) override { return cargo_[storage].owner; }
  bool ProvidesColdStorage(BOInstance* storage) override { return cargo_[storage].cold; }
  uint32_t ServiceKinds(BOInstance* building) override {
    auto it = cargo_.find(building);
    if (it != cargo_.end()) return it->second.kinds;
    auto kinds = serviceKinds_.find(building);
    return kinds != serviceKinds_.end() ? kinds->second : 0;
  }
  // A service building whose vehicles are of these kinds.
  void SetServiceKinds(BOInstance* building, uint32_t kinds) { serviceKinds_[building] = kinds; }
  uint32_t GateCount(BOInstance* terminal) override { return static_cast<uint32_t>(gates_[terminal].size()); }
  cPathNode* GateNode(BOInstance* terminal, uint32_t gate) override {
    return gate < gates_[terminal].size() ? gates_[terminal][gate].node : nullptr;
  }
  uint8_t GateHour(BOInstance* terminal, uint32_t gate) override {
    return gate < gates_[terminal].size() ? gates_[terminal][gate].hour : 0;
  }
  bool AssignFlightToFreeSlot(BOInstance* terminal, uint32_t gate, cFlightContract* flight) override {
    if (gate >= gates_[terminal].size()) return false;
    Gate& g = gates_[terminal][gate];
    std::vector<uint8_t> free;
    for (uint8_t s = 0; s < kSlots; ++s) {
      if (!g.slots[s]) free.push_back(s);
    }
    if (free.empty()) return false;
    const uint8_t slot = free[static_cast<size_t>(Noise_RandomIntInRange(0, static_cast<int32_t>(free.size()) - 1))];
    g.slots[slot] = flight;
    flight->buildingWord = IdentityWord(terminal);
    flight->slotKeys[0] = static_cast<uint8_t>(gate);
    flight->slotKeys[1] = slot;
    return true;
  }
  void ParkAirplane(BOInstance* building, uint8_t stand, cEntity_Airplane* airplane) override {
    auto it = gates_.find(building);
    if (it != gates_.end() && stand < it->second.size()) it->second[stand].parked = airplane;
  }
  void UnparkAirplane(BOInstance* building, cEntity_Airplane* airplane) override {
    auto it = gates_.find(building);
    if (it == gates_.end() || !airplane) return;
    for (Gate& gate : it->second) {
      if (gate.parked == airplane) gate.parked = nullptr;
    }
  }
  void CollectGateFlights(BOInstance* terminal, std::vector<cFlightContract*>& out) override {
    out.clear();
    for (Gate& gate : gates_[terminal]) {
      for (cFlightContract* flight : gate.slots) {
        if (flight) out.push_back(flight);
      }
    }
  }
  cPathNode* DropoffNode(BOInstance* storage) override {
    auto it = storages_.find(storage);
    return it != storages_.end() ? it->second.node : nullptr;
  }
  bool AssignDropoff(BOInstance* storage, cFlightContract* flight) override {
    std::vector<cFlightContract*>& places = storages_[storage].places;
    for (size_t i = 0; i < places.size(); ++i) {
      if (places[i]) continue;
      places[i] = flight;
      flight->buildingWord = IdentityWord(storage);
      flight->slotKeys[0] = 0;
      flight->slotKeys[1] = static_cast<uint8_t>(i);
      return true;
    }
    return false;
  }
  void ReleaseDropoff(BOInstance* storage, uint8_t place) override {
    std::vector<cFlightContract*>& places = storages_[storage].places;
    if (place < places.size()) places[place] = nullptr;
  }
  int32_t FreeAdminPlaces(BOInstance* admin) override { return admin_[admin].free; }
  void AddAdministered(BOInstance* admin, uint32_t word) override {
    admin_[admin].administered.push_back(word);
    --admin_[admin].free;
  }
  bool TakeQueuedType(BOInstance* admin, uint32_t word) override {
    std::vector<uint32_t>& list = admin_[admin].administered;
    for (auto it = list.begin(); it != list.end(); ++it) {
      if ((*it & ~(7u << 20)) == (word & ~(7u << 20))) {
        list.erase(it);
        ++admin_[admin].free;
        return true;
      }
    }
    return false;
  }

 private:
  cPathFinder* finder_;
  std::vector<BOInstance*> runways_;
  std::vector<BOInstance*> parking_;
  std::vector<BOInstance*> admins_;
  std::map<BOInstance*, uint32_t> words_;
  std::map<BOInstance*, float> runwayLength_;
  std::map<BOInstance*, cPathNode*> runwayNode_;
  std::map<BOInstance*, std::vector<BOInstance*>> links_;
  std::map<std::pair<BOInstance*, BOInstance*>, std::vector<Route*>> gateRoutes_;
  std::map<BOInstance*, std::vector<Gate>> gates_;
  std::map<BOInstance*, Storage> storages_;
  std::map<BOInstance*, std::vector<float>> ambient_;
  std::map<BOInstance*, std::pair<uint16_t, uint16_t>> anchors_;
  std::map<BOInstance*, Admin> admin_;
  std::map<BOInstance*, Runway> runway_;
  std::map<BOInstance*, CargoStore> cargo_;
  std::map<BOInstance*, uint8_t> rotations_;
  std::map<BOInstance*, uint32_t> serviceKinds_;
};

// Records the airplanes and vehicles it is asked for, as text.
class FakeAmbient : public cEntity_AmbientManager {
 public:
  using cEntity_AmbientManager::cEntity_AmbientManager;
  void CreatePassengerAirplane(cFlightContract* flight, BOInstance* runway, BOInstance* terminal) override {
    airplanes.push_back({flight, runway, terminal});
    calls.push_back("passenger airplane " + std::to_string(flight->flightId));
  }
  void CreateCargoAirplane(cFlightContract* flight, BOInstance* runway, BOInstance* storage) override {
    airplanes.push_back({flight, runway, storage});
    calls.push_back("cargo airplane " + std::to_string(flight->flightId));
  }
  void SpawnVehicle(uint16_t fromX, uint16_t fromY, uint16_t toX, uint16_t toY, uint32_t kind, BOInstance*,
                    uint8_t direction) override {
    calls.push_back("vehicle " + std::to_string(kind) + " " + std::to_string(fromX) + "," + std::to_string(fromY) +
                    "->" + std::to_string(toX) + "," + std::to_string(toY) + " d" + std::to_string(direction));
  }
  bool CanServeCell(uint16_t x, uint16_t y, uint32_t kind) override {
    calls.push_back("can serve " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(kind));
    return (servedKinds & kind) != 0;
  }
  void SpawnMaintenanceVehicle(uint16_t x, uint16_t y, bool, uint32_t kind, cEntity_Airplane*) override {
    calls.push_back("maintenance " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(kind));
  }
  bool ConnectBuilding(BOInstance* building, uint16_t, uint16_t) override { return connected.count(building) != 0; }
  bool CanRouteFromTaxiwayAccess(BOInstance* building, uint16_t, uint16_t) override {
    return connected.count(building) != 0;
  }
  void ForgetAirplane(cEntity_Airplane* airplane) override { forgotten.push_back(airplane); }

  uint32_t servedKinds = 0xFF;
  std::set<BOInstance*> connected;
  std::vector<cEntity_Airplane*> forgotten;
  struct Airplane {
    cFlightContract* flight;
    BOInstance* runway;
    BOInstance* destination;
  };
  std::vector<Airplane> airplanes;
  std::vector<std::string> calls;
};

}  // namespace simkit
