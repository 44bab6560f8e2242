// The airport simulation on real buildings: the real airport manager and
// ambient manager with the site over the real building manager, the real
// path finder, airplanes and maintenance vehicles spawned by name, the
// event queue and the statistics, driven by the game clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <vector>

#include "construction/tests/AirportSiteWorld.h"
#include "construction/TerminalInstance.h"
#include "engine/files/DataFile.h"
#include "platform/FileRead.h"
#include "engine/entity/ActionFactory.h"
#include "engine/entity/EntityManager.h"
#include "simulation/AirlineContract.h"
#include "simulation/Airplane.h"
#include "simulation/AirportManager.h"
#include "simulation/AmbientData.h"
#include "simulation/AmbientManager.h"
#include "simulation/ContractData.h"
#include "simulation/ContractManager.h"
#include "simulation/EventManager.h"
#include "simulation/FlightContract.h"
#include "simulation/Maintenance.h"
#include "simulation/Simulation.h"
#include "simulation/SimulationSpawns.h"
#include "simulation/StatManager.h"

namespace sitetest {
namespace {

// Looks at the airport on every tick: the phases the airplanes pass, the
// maintenance vehicles under way, and who holds the runway.
struct AirportWatch : cSimulation_TimeObject {
  AirportWatch() : cSimulation_TimeObject(kTimeEvent_Tick) {}
  int32_t OnTime(uint32_t, uint32_t, uint32_t, float) override {
    ++ticks;
    std::vector<cEntity_Airplane*> all(ambient->airplanes);
    all.insert(all.end(), ambient->cargoAirplanes.begin(), ambient->cargoAirplanes.end());
    for (cEntity_Airplane* airplane : all) {
      if (!airplane) continue;
      if (phases.empty() || phases.back() != airplane->phase) phases.push_back(airplane->phase);
      if (airplane->phase == kPhase_Landing && *lock && !airplane->holdsRunwayLock) foreignLock = true;
      if (airplane->phase == kPhase_AtGate && airplane->gate) {
        uint16_t x = 0, y = 0;
        if (WorldToPlotCell(airplane->GetPositionX(), airplane->GetPositionZ(), &x, &y)) stands.insert({x, y});
      }
    }
    for (cEntity_Maintanance* vehicle : ambient->maintenanceVehicles) {
      if (vehicle && vehicle->state != cEntity_Maintanance::kEnded) serviceKinds.insert(vehicle->kindFlags);
    }
    return 0;
  }
  cEntity_AmbientManager* ambient = nullptr;
  const uint8_t* lock = nullptr;
  uint32_t ticks = 0;
  std::vector<uint32_t> phases;
  std::set<std::pair<uint16_t, uint16_t>> stands;
  std::set<uint32_t> serviceKinds;
  bool foreignLock = false;
};

class AirportRun : public ::testing::Test {
 protected:
  explicit AirportRun(const std::string& dataRunway = "") : w(dataRunway) {}
  void SetUp() override {
    ASSERT_TRUE(w.ok);
    simkit::SimWorld& sim = w.buildings.roads.world;
    sim.random.UseSeed(26);
    cAction_Factory* factory = sim.table.actionFactory;
    for (cSpawn_Base* spawn : std::initializer_list<cSpawn_Base*>{&spawnAirport_, &spawnAmbient_, &spawnAirplane_,
                                                                   &spawnMaintenance_, &spawnVehicle_})
      factory->RegisterSpawn(spawn);
    sim.simulation->Start();
    sim.events->Start();
    sim.stats->Start();

    contracts.baseRequirementsMet = 1;
    contracts.running = 1;
    sim.table.contractManager = &contracts;

    cEntity_Base* made = nullptr;
    ASSERT_EQ(sim.manager->SpawnEntity(cEntity_AirportManager::kSpawnName, &made), 0);
    airport = dynamic_cast<cEntity_AirportManager*>(made);
    ASSERT_NE(airport, nullptr);
    ASSERT_EQ(sim.manager->SpawnEntity(cEntity_AmbientManager::kSpawnName, &made), 0);
    ambient = dynamic_cast<cEntity_AmbientManager*>(made);
    ASSERT_NE(ambient, nullptr);
    sim.table.airportManager = airport;
    sim.table.ambientManager = ambient;
    airport->Init();
    airport->SetSite(&w.site);
    airport->Start();
    ambient->LoadSettings();
    ambient->RegisterAndRestore();
    // The depot's vehicles: one model for every service kind it sends.
    AmbientData truck;
    truck.modelName = "Models\\service_truck.ssm";
    truck.kindFlags = 0xD8;
    ambient->AddAmbientData(truck);

    watch.ambient = ambient;
    watch.lock = &w.runway->landingLock;
    sim.Clock().RegisterTimeObject(&watch);
  }
  void TearDown() override {
    simkit::SimWorld& sim = w.buildings.roads.world;
    sim.Clock().UnregisterTimeObject(&watch);
    if (ambient) ambient->Clear();
    if (airport) airport->Stop();
    sim.table.airportManager = &sim.airport;
    sim.table.ambientManager = nullptr;
    sim.table.contractManager = nullptr;
  }

  // An active airline with one signed flight of the model, by default a
  // short-field one.
  cFlightContract* SignedFlight(const AirplaneData* model = nullptr) {
    airlineData.name = "Plateau Air";
    auto* airline = new cAirlineContract(&airlineData);
    airline->SetName(airlineData.name);
    for (uint32_t i = 0; i < cEntity_AirportManager::kFeeItemCount; ++i) airline->fees[i] = 10.0f * (i + 1);
    contracts.airlineLists[kList_Active].push_back(airline);
    plane.name = "Hopper";
    plane.sizeClass = 1;
    plane.maxPassengers = 40;
    plane.requiredRunway = 900;
    plane.vertDropMaxVel = 5.0f;
    plane.vertDropAccel = 50.0f;
    plane.horizMaxVel = 4.0f;
    plane.horizAccel = 20.0f;
    plane.taxiVel = 6.0f;
    auto* flight = new cFlightContract(model ? model : &plane, airline, contracts.nextFlightId++);
    airline->signedFlights.push_back(flight);
    contracts.allFlights.push_back(flight);
    return flight;
  }

  // Places the passenger flight at the gate and sets the clock just before
  // its bank's hour, when the timetable hands it to the event queue; the
  // arrival event brings the airplane about an hour on.
  void BookForTheNextBank(cFlightContract* flight, float speed) {
    ASSERT_TRUE(airport->PlacePassengerFlight(flight));
    const uint8_t bank = flight->slotKeys[1];
    ASSERT_LT(bank, cEntity_AirportManager::kBankCount);
    w.terminal->gateBytes[0] = 0;
    Clock().SetSpeed(speed);
    Clock().hour = static_cast<uint8_t>(2 * bank + 4);
    Clock().minute = 59;
    Clock().second = 0;
  }

  // The model of that name in the game's airplane table.
  const AirplaneData* Model(const std::string& name) {
    std::string text;
    platform::FileReadError why;
    if (!platform::ReadFileText("Airplanes/Base.kvp", CDataFile::kMaxFileBytes, &text, &why, GAME_DATA_DIR) ||
        !contracts.ReadAirplaneTable(text))
      return nullptr;
    for (const auto* models : {contracts.passengerPlanes, contracts.cargoPlanes}) {
      for (size_t size = 0; size < kSizeClassCount; ++size) {
        for (const AirplaneData* model : models[size])
          if (model->name == name) return model;
      }
    }
    return nullptr;
  }
  // Runs frames until the airplane that came has gone: a twentieth of a
  // second while an airplane moves on its own at detail speeds, a second
  // otherwise. False when none came or it never left.
  bool RunUntilGone() {
    simkit::SimWorld& sim = w.buildings.roads.world;
    bool appeared = false;
    for (int frame = 0; frame < 200000; ++frame) {
      bool moving = false;
      for (const cEntity_Airplane* a : AllAirplanes()) moving = moving || (a && a->phase != kPhase_AtGate);
      sim.RunFrame(moving && Clock().speed <= kDefaultDetailSpeedLimit ? 0.05f : 1.0f);
      const bool live = !AllAirplanes().empty();
      appeared = appeared || live;
      if (appeared && !live) return true;
    }
    return false;
  }
  std::vector<cEntity_Airplane*> AllAirplanes() const {
    std::vector<cEntity_Airplane*> all;
    for (const auto* list : {&ambient->airplanes, &ambient->cargoAirplanes}) {
      for (cEntity_Airplane* a : *list)
        if (a) all.push_back(a);
    }
    return all;
  }
  std::string Phases() const {
    std::string seen;
    for (uint32_t phase : watch.phases) seen += " " + std::to_string(phase);
    return seen;
  }

  cSimulation_Clock& Clock() { return w.buildings.Clock(); }
  cEntity_StatManager& Stats() { return *w.buildings.roads.world.stats; }

  AirportSiteWorld w;
  cEntity_ContractManager contracts{nullptr};
  AirlineData airlineData;
  AirplaneData plane;
  SpawnAirportManager spawnAirport_;
  SpawnAmbientManager spawnAmbient_;
  SpawnAirplane spawnAirplane_;
  SpawnMaintanance spawnMaintenance_;
  SpawnVehicle spawnVehicle_;
  cEntity_AirportManager* airport = nullptr;
  cEntity_AmbientManager* ambient = nullptr;
  AirportWatch watch;
};

class AirportOnBuildingsTest : public AirportRun {};

TEST_F(AirportOnBuildingsTest, ASignedFlightLandsTaxisToItsGateIsServedPaysAndLeaves) {
  cFlightContract* flight = SignedFlight();
  // The gate joined to the runway by a found path takes the flight; its
  // slot is the bank the timetable schedules.
  ASSERT_TRUE(airport->PlacePassengerFlight(flight));
  EXPECT_EQ(flight->buildingWord, w.terminal->word);
  EXPECT_EQ(flight->slotKeys[0], 0);
  const uint8_t bank = flight->slotKeys[1];
  ASSERT_LT(bank, cEntity_AirportManager::kBankCount);
  EXPECT_EQ(airport->passengerBanks[bank], std::vector<cFlightContract*>{flight});
  EXPECT_EQ(w.terminal->banks[0]->slots[bank], flight);

  // Just before the bank's hour: the timetable hands the flight to the
  // event queue, whose arrival event brings the airplane about an hour on.
  w.terminal->gateBytes[0] = 0;
  Clock().SetSpeed(1);
  Clock().hour = static_cast<uint8_t>(2 * bank + 4);
  Clock().minute = 59;
  Clock().second = 0;
  const size_t requests = w.Finder().RequestCount();
  const double cash = Stats().block.cash;
  const uint32_t flights = Stats().block.flights;

  simkit::SimWorld& sim = w.buildings.roads.world;
  bool appeared = false, gone = false;
  for (int frame = 0; frame < 6 * 3600 && !gone; ++frame) {
    sim.RunFrame(1.0f);
    const bool live = std::any_of(ambient->airplanes.begin(), ambient->airplanes.end(),
                                  [](const cEntity_Airplane* a) { return a != nullptr; });
    appeared = appeared || live;
    gone = appeared && !live;
  }
  ASSERT_TRUE(appeared) << "no airplane came for the flight";
  ASSERT_TRUE(gone) << "the airplane never left; phases seen: " << watch.phases.size();
  EXPECT_GT(watch.ticks, 1800u) << "the stay at the gate alone is half an hour of one-second ticks";

  // Holding, landing on the runway, taxiing in, at the gate, taxiing out,
  // taking off: every phase, in order.
  EXPECT_EQ(watch.phases, (std::vector<uint32_t>{kPhase_Holding, kPhase_Landing, kPhase_TaxiIn, kPhase_AtGate,
                                                 kPhase_TaxiOut, kPhase_TakeOff}));
  EXPECT_FALSE(watch.foreignLock);
  ASSERT_FALSE(watch.stands.empty());
  for (auto [x, y] : watch.stands) {
    EXPECT_EQ(x, AirportSiteWorld::kGateX);
    EXPECT_EQ(y, AirportSiteWorld::kGateY);
  }
  // The depot's vehicles came for baggage, maintenance and catering.
  for (uint32_t kind : {0x08u, 0x10u, 0x80u}) EXPECT_EQ(watch.serviceKinds.count(kind), 1u) << kind;

  // Landing fees on arrival and the stay on departure were paid; the flight
  // counts once.
  EXPECT_GT(Stats().block.cash, cash);
  EXPECT_EQ(Stats().block.flights, flights + 1);
  // Nothing is left held: locks free, the airplane's and the vehicles'
  // path requests given back, the flight still in its bank for tomorrow.
  EXPECT_EQ(w.runway->landingLock, 0);
  EXPECT_EQ(w.site.GateNode(w.terminal, 0)->lock, 0);
  EXPECT_EQ(w.Finder().RequestCount(), requests);
  EXPECT_EQ(airport->passengerBanks[bank], std::vector<cFlightContract*>{flight});
}

// The runways of the game's own data with airplane models of its airplane
// table: the landing rolls out to rest on the runway at detail speeds, the
// airplane taxis to its gate and parks in the terminal's list by gate, and
// leaves it again; above speed 5 the shortcut parks it at once.
struct DataCase {
  const char* name;
  const char* runway;  // a runway type of the building data
  const char* model;   // a passenger model of the airplane data
  float speed;
};

class AirportOnGameDataTest : public AirportRun, public ::testing::WithParamInterface<DataCase> {
 protected:
  AirportOnGameDataTest() : AirportRun(GetParam().runway) {}
};

// Where each airplane was when its roll-out ended, and whether the
// terminal listed it at its gate while it stood there.
struct RolloutWatch : cSimulation_TimeObject {
  RolloutWatch() : cSimulation_TimeObject(kTimeEvent_Tick) {}
  int32_t OnTime(uint32_t, uint32_t, uint32_t, float) override {
    for (cEntity_Airplane* airplane : ambient->airplanes) {
      if (!airplane) continue;
      if (last == kPhase_Landing && airplane->phase != kPhase_Landing) {
        rolledOut = WorldToPlotCell(airplane->GetPositionX(), airplane->GetPositionZ(), &endX, &endY);
      }
      if (airplane->phase == kPhase_AtGate) {
        const auto& parked = terminal->airplanes;
        listedAtGate = listedAtGate || (parked.size() == 1 && parked[0] == airplane);
      }
      last = airplane->phase;
    }
    return 0;
  }
  cEntity_AmbientManager* ambient = nullptr;
  TerminalInstance* terminal = nullptr;
  uint32_t last = kPhase_None;
  bool rolledOut = false;
  uint16_t endX = 0, endY = 0;
  bool listedAtGate = false;
};

TEST_P(AirportOnGameDataTest, LandsOnTheRunwayParksAtItsGateAndLeaves) {
  const DataCase& c = GetParam();
  ASSERT_NE(w.runwayType, nullptr) << c.runway;
  const AirplaneData* model = Model(c.model);
  ASSERT_NE(model, nullptr) << c.model;
  ASSERT_LE(model->requiredRunway, w.runwayType->runwayLength);
  cFlightContract* flight = SignedFlight(model);
  ASSERT_NO_FATAL_FAILURE(BookForTheNextBank(flight, c.speed));
  RolloutWatch rollout;
  rollout.ambient = ambient;
  rollout.terminal = w.terminal;
  Clock().RegisterTimeObject(&rollout);
  const bool gone = RunUntilGone();
  Clock().UnregisterTimeObject(&rollout);
  ASSERT_TRUE(gone) << "no airplane came, or it never left; phases:" << Phases();
  if (c.speed <= kDefaultDetailSpeedLimit) {
    EXPECT_EQ(watch.phases, (std::vector<uint32_t>{kPhase_Holding, kPhase_Landing, kPhase_TaxiIn, kPhase_AtGate,
                                                   kPhase_TaxiOut, kPhase_TakeOff}));
    // At rest on the runway's centre line, within its length.
    ASSERT_TRUE(rollout.rolledOut);
    EXPECT_EQ(rollout.endX, w.runway->x + w.runwayType->GetCentreX());
    EXPECT_GE(rollout.endY, w.runway->y);
    EXPECT_LT(rollout.endY, w.runway->y + w.runwayType->GetLength());
  } else {
    EXPECT_EQ(watch.phases, (std::vector<uint32_t>{kPhase_Holding, kPhase_AtGate}));
  }
  EXPECT_TRUE(rollout.listedAtGate) << "the terminal did not list the airplane at its gate";
  EXPECT_EQ(w.terminal->airplanes, std::vector<cEntity_Airplane*>{nullptr});
  EXPECT_EQ(Stats().block.flights, 1u);
  EXPECT_EQ(w.runway->landingLock, 0);
  EXPECT_EQ(w.site.GateNode(w.terminal, 0)->lock, 0);
}

const DataCase kDataCases[] = {
    {"SmallPropAtSpeedOne", "2000 Meter Runway", "Puddle Jumper 12", 1.0f},
    // The fastest model that taxis on the narrow clearance of the hand-made
    // apron, at the top of the detail speeds.
    {"FastCommuterAtSpeedFive", "2000 Meter Runway", "Commuter Plus 30", 5.0f},
    {"ShortcutAboveSpeedFive", "2000 Meter Runway", "Turboprop 70", 10.0f},
};
INSTANTIATE_TEST_SUITE_P(Cases, AirportOnGameDataTest, ::testing::ValuesIn(kDataCases),
                         [](const ::testing::TestParamInfo<DataCase>& info) { return info.param.name; });

// A cargo flight of the game's data on its runway: it lands at speed 1,
// unloads into a storage that has room (else its airline fines the player)
// and loads the airline's cargo whose pick-up time has come, then is served
// by the storage's cargo handlers and leaves.
struct CargoCase {
  const char* name;
  int32_t capacity;       // of the storage
  uint32_t othersCargo;   // another airline's cargo already stored
  bool fined;
};

class CargoOnGameDataTest : public AirportRun, public ::testing::WithParamInterface<CargoCase> {
 protected:
  CargoOnGameDataTest() : AirportRun("2000 Meter Runway") {}
};

TEST_P(CargoOnGameDataTest, UnloadsIntoAStorageLoadsWhatIsDueAndIsFinedWithoutRoom) {
  const CargoCase& c = GetParam();
  ASSERT_NE(w.runwayType, nullptr);
  const AirplaneData* model = Model("Mail Hopper");
  ASSERT_NE(model, nullptr);
  ASSERT_TRUE(model->cargo);
  // A storage north of the apron with its drop-off place in the middle of
  // its south row, as wide an access area as the terminal's gate has, so
  // the airplane reaches it and the cells it is served from lie on the
  // apron; registered with the airport as the game's building hooks do. It
  // keeps cold cargo too, so the airplane's draw of cold cargo changes
  // nothing.
  auto* type = w.m().Define<cStorageFacility>(kClass_Storage, "Dock", 1, 3, 2);
  ASSERT_NE(type, nullptr);
  type->SetCapacity(c.capacity);
  type->providesStorage = 1;
  type->providesColdStorage = 1;
  type->AddAccessPoint(TAStruct{0, 0, 3, 2, 0});
  type->SetDropoffPlaces({DropoffPlace{1, 1, 1, 1}});
  type->ambient.flags = cEntity_Airplane::kCargoKind;
  BOInstance* dock = w.buildings.BuildFinished(type, 12, 6);
  ASSERT_NE(dock, nullptr);
  airport->storages.push_back(dock);
  airport->coldStorages.push_back(dock);
  airport->AddStorageFacility(dock);
  AmbientData handlers;
  handlers.modelName = "Models\\cargo_truck.ssm";
  handlers.kindFlags = cEntity_Airplane::kCargoKind;
  ambient->AddAmbientData(handlers);

  cFlightContract* flight = SignedFlight(model);
  flight->airline->signingPayment = 20000.0;
  const std::string name = flight->airline->GetName();
  // The airline's cargo that is due, and another airline's.
  ASSERT_EQ(w.site.StoreCargo(dock, name, 30, 0), 30u);
  if (c.othersCargo) {
    ASSERT_EQ(w.site.StoreCargo(dock, "Elsewhere Air", c.othersCargo, 0), c.othersCargo);
  }

  ASSERT_TRUE(airport->PlaceCargoFlight(flight));
  EXPECT_EQ(flight->buildingWord, dock->word);
  const uint8_t bank = flight->slotKeys[1];
  ASSERT_LT(bank, cEntity_AirportManager::kBankCount);
  EXPECT_EQ(airport->cargoBanks[bank], std::vector<cFlightContract*>{flight});
  Clock().SetSpeed(1);
  Clock().hour = static_cast<uint8_t>(2 * bank + 4);
  Clock().minute = 59;
  Clock().second = 0;
  ASSERT_TRUE(RunUntilGone()) << "no airplane came, or it never left; phases:" << Phases();
  EXPECT_EQ(watch.phases, (std::vector<uint32_t>{kPhase_Holding, kPhase_Landing, kPhase_TaxiIn, kPhase_AtGate,
                                                 kPhase_TaxiOut, kPhase_TakeOff}));
  EXPECT_EQ(watch.serviceKinds.count(cEntity_Airplane::kCargoKind), 1u) << "no cargo handlers came";

  // The due cargo went out on the airplane; what it brought waits for its
  // pick-up time (at least 0.7 days on), unless there was no room.
  EXPECT_EQ(w.site.StoredCargo(dock, Clock().totalSeconds, name), 0u);
  const uint32_t unloaded = w.site.StoredCargo(dock, UINT32_MAX, name);
  EXPECT_EQ(unloaded > 0, !c.fined) << unloaded;
  EXPECT_EQ(w.site.StoredCargo(dock, UINT32_MAX, "Elsewhere Air"), c.othersCargo);
  // The fine is 0.05 x the airline's signing payment.
  const auto& posted = w.buildings.roads.world.pda->posted;
  const auto fine = std::find_if(posted.begin(), posted.end(),
                                 [&](const auto& m) { return m.subject == name + " has fined you!"; });
  ASSERT_EQ(fine != posted.end(), c.fined);
  if (c.fined) {
    EXPECT_NE(fine->body.find("You have been fined $1000.00 by " + name + " for not having enough"), std::string::npos)
        << fine->body;
  }
  EXPECT_EQ(w.runway->landingLock, 0);
  EXPECT_EQ(w.site.DropoffNode(dock)->lock, 0);
}

const CargoCase kCargoCases[] = {
    {"RoomToUnload", 1000, 0, false},
    {"FullStorageFinesAndStillLoads", 100, 70, true},
};
INSTANTIATE_TEST_SUITE_P(Cases, CargoOnGameDataTest, ::testing::ValuesIn(kCargoCases),
                         [](const ::testing::TestParamInfo<CargoCase>& info) { return info.param.name; });

}  // namespace
}  // namespace sitetest
