// Speed of a game day of airport traffic. A headless world with the real
// airport, ambient, road and contract managers, the real airplanes, road
// vehicles and maintenance vehicles, on the test kit's building side: gates
// in five terminal rows on the taxiway, a road grid on the land side. Every
// game day `flights` airplanes are put on the approach (spread evenly over
// the day) and the road is kept at `vehicles` live vehicles.
//
// "x_real_time" is how many times faster than real time the frames (1/60 s
// each at game speed 50,000) are computed. The scaled pair, 1x (25 gates,
// 200 flights, 50 vehicles) and 10x (250 gates, 2,000 flights, 500
// vehicles), shows how the cost grows with the airport. The detailed pair
// runs the road alone at game speed 1, where vehicles follow each other.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "construction/PathFinder.h"
#include "construction/RoadManager.h"
#include "engine/frame/RenderService.h"
#include "simulation/Airplane.h"
#include "simulation/AmbientManager.h"
#include "simulation/EventManager.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationSpawns.h"
#include "simulation/Vehicle.h"
#include "simulation/tests/AirportTestWorld.h"

namespace {

constexpr float kFrame = 1.0f / 60.0f;
constexpr uint32_t kTerminals = 5;

class TrafficAirport : public cSimulation_TimeObject {
 public:
  TrafficAirport(uint32_t gates, uint32_t flightsPerDay, uint32_t vehicles)
      : cSimulation_TimeObject(kTimeEvent_Tick), flightsPerDay_(flightsPerDay), vehicles_(vehicles) {
    simkit::SimWorld& world = a.w.world;
    world.random.UseSeed(3);
    for (cSpawn_Base* spawn : std::initializer_list<cSpawn_Base*>{&spawnAmbient_, &spawnAirplane_, &spawnVehicle_,
                                                                  &spawnMaintenance_})
      world.table.actionFactory->RegisterSpawn(spawn);
    cEntity_Base* made = nullptr;
    // The render service every airplane and vehicle joins, made at start-up
    // as the game makes it: without it each spawn would look for it among
    // every entity and log its absence.
    world.manager->SpawnEntity(cRenderService::kSpawnName, &made);
    if (made) made->SetName("AmbientRenderService");
    world.manager->SpawnEntity(cEntity_AmbientManager::kSpawnName, &made);
    ambient = dynamic_cast<cEntity_AmbientManager*>(made);
    world.table.ambientManager = ambient;
    ambient->LoadSettings();
    ambient->ambientLimit = 1000000;  // the road is kept full by the driver below
    ambient->RegisterAndRestore();
    a.w.manager.running = 1;
    // The driver below puts the airplanes on the approach; the airport
    // manager's own timetable stays off the clock.
    a.airport->Stop();
    // A player watching the day at top speed: nothing slows the game down.
    world.events->autoslow.alwaysSlow = 0;
    world.events->autoslow.neverSlow = 1;

    // Airside: five rows, each a taxiway at y = 2 + 7r with its runway node
    // at x = 0, its terminal's gates just above it (from x = 2, so every
    // service cell beside a gate is on the grid), and behind the gates two
    // service lanes at y + 3 and y + 5, where the ground crews stop. A
    // turnaround building joins the lanes halfway along and serves the row.
    airline_ = a.ActiveAirline("Bench Air");
    const uint32_t perRow = (gates + kTerminals - 1) / kTerminals;
    for (uint32_t r = 0; r < kTerminals; ++r) {
      const uint16_t y = static_cast<uint16_t>(2 + 7 * r);
      for (uint16_t x = 0; x <= perRow + 2; ++x) a.site.Node(x, y);
      BOInstance* runway = a.Place(8, "Runway " + std::to_string(r));
      a.site.AddRunway(runway, 4000.0f, 0, y);
      BOInstance* terminal = a.Place(5, "Terminal " + std::to_string(r));
      std::vector<std::pair<uint16_t, uint16_t>> cells;
      for (uint32_t g = 0; g < perRow; ++g) cells.emplace_back(static_cast<uint16_t>(2 + g), static_cast<uint16_t>(y + 1));
      a.site.AddTerminal(terminal, cells);
      a.site.Link(runway, terminal);
      for (uint16_t x = 0; x <= perRow + 3; ++x) {
        a.site.Node(x, static_cast<uint16_t>(y + 3));
        a.site.Node(x, static_cast<uint16_t>(y + 5));
      }
      const uint16_t middle = static_cast<uint16_t>(2 + perRow / 2);
      a.site.Node(middle, static_cast<uint16_t>(y + 4));
      simkit::FakeInstance* service = a.Place(11, "Turnaround " + std::to_string(r));
      service->taxiwayAccess = {{middle, static_cast<uint16_t>(y + 4), 1, 1}};
      a.site.SetServiceKinds(service, 0x1F8);
      rows_.push_back({runway, terminal});
    }
    // The day's timetable: every signed flight lands once a day, at its
    // row's next gate in turn.
    for (uint32_t i = 0; i < flightsPerDay; ++i) {
      cFlightContract* flight = a.SignedFlight(airline_);
      flight->slotKeys[0] = static_cast<uint8_t>((i / kTerminals) % perRow);
      flight->slotKeys[1] = 0;
      timetable_.push_back(flight);
    }

    // Land side: roads along y = 44, 50, 56, 62 and x = 0, 16, 32, 48, 63.
    roads_ = std::make_unique<cEntity_RoadManager>(world.table.entityManager, kEntityType_Base);
    world.table.roadManager = roads_.get();
    roads_->BuildWorld();
    roads_->SetEntranceCell(0, 44);
    for (uint16_t y : {44, 50, 56, 62}) {
      roads_->PlaceRoad(0, y, 64, 1, false);
      roads_->FinishRoadPlacement();
    }
    for (uint16_t x : {0, 16, 32, 48, 63}) {
      roads_->PlaceRoad(x, 44, 1, 19, false);
      roads_->FinishRoadPlacement();
    }
    for (int32_t y = 44; y < 64; ++y) {
      for (int32_t x = 0; x < 64; ++x) {
        if (cPathNode* node = world.pathFinder.GetNodeAt(x, y); node && node->kind == kPathNode_Road)
          destinations_.push_back(node);
      }
    }
    AmbientData car;
    car.modelName = "Models\\car.ssm";
    car.kindFlags = 0x1F0F;
    ambient->AddAmbientData(car);
    world.Clock().RegisterTimeObject(this);
  }
  ~TrafficAirport() override {
    a.w.world.Clock().UnregisterTimeObject(this);
    ambient->Clear();
    a.w.world.table.roadManager = &a.w.world.roads;
    a.w.world.table.ambientManager = &a.ambient;
  }

  // Puts the due airplanes on the approach and fills the road.
  int32_t OnTime(uint32_t, uint32_t, uint32_t, float gameDelta) override {
    due_ += gameDelta * static_cast<float>(flightsPerDay_) / 86400.0f;
    while (due_ >= 1.0f) {
      due_ -= 1.0f;
      Arrive();
    }
    KeepRoadFull();
    return 0;
  }

  void RunDay(uint16_t speed) {
    cSimulation_Clock& clock = a.w.world.Clock();
    clock.SetSpeed(speed);
    const uint32_t until = clock.totalSeconds + 86400u;
    // The test kit's audio and renderer recorders log every call; the logs
    // of past days are of no use here and would only grow.
    a.w.world.audio.calls.clear();
    a.w.world.renderer.requests.clear();
    while (clock.totalSeconds < until) {
      a.w.world.RunFrame(kFrame);
      ++frames;
    }
  }
  void RunFrames(uint16_t speed, uint32_t n) {
    a.w.world.Clock().SetSpeed(speed);
    for (uint32_t i = 0; i < n; ++i) a.w.world.RunFrame(kFrame);
    frames += n;
  }

  size_t CanceledFlights() const {
    const std::vector<simkit::RecordingPDA::Message>& posted = a.w.world.pda->posted;
    return static_cast<size_t>(std::count_if(posted.begin(), posted.end(), [](const auto& m) {
      return m.subject == "Flight Canceled";
    }));
  }

  uint64_t frames = 0;
  airporttest::AirportWorld a;
  cEntity_AmbientManager* ambient = nullptr;

 private:
  struct Row {
    BOInstance* runway;
    BOInstance* terminal;
  };

  void Arrive() {
    if (timetable_.empty()) return;
    const uint32_t i = next_++ % static_cast<uint32_t>(timetable_.size());
    const Row& row = rows_[i % kTerminals];
    ambient->CreatePassengerAirplane(timetable_[i], row.runway, row.terminal);
  }
  void KeepRoadFull() {
    uint32_t live = 0;
    for (const cEntity_Vehicle* v : ambient->vehicles) live += v ? 1 : 0;
    for (; live < vehicles_ && destinations_.size() > 1; ++live) {
      cPathNode* to = destinations_[pick_++ % destinations_.size()];
      ambient->SpawnVehicle(to->x, to->y, to->x, to->y, kVehicleKind_RoundTrip, nullptr, 1);
    }
  }

  SpawnAmbientManager spawnAmbient_;
  SpawnAirplane spawnAirplane_;
  SpawnVehicle spawnVehicle_;
  SpawnMaintanance spawnMaintenance_;
  std::unique_ptr<cEntity_RoadManager> roads_;
  cAirlineContract* airline_ = nullptr;
  std::vector<Row> rows_;
  std::vector<cFlightContract*> timetable_;
  std::vector<cPathNode*> destinations_;
  uint32_t flightsPerDay_;
  uint32_t vehicles_;
  uint32_t next_ = 0;
  uint32_t pick_ = 7;
  float due_ = 0.0f;
};

// One game day per iteration at game speed 50,000.
void BM_AirportDayAtTopSpeed(benchmark::State& state) {
  const uint32_t scale = static_cast<uint32_t>(state.range(0));
  TrafficAirport airport(25 * scale, 200 * scale, 50 * scale);
  airport.RunDay(50000);  // warm up: the road and the gates fill
  airport.frames = 0;
  const size_t noticesBefore = airport.CanceledFlights();
  for (auto _ : state) airport.RunDay(50000);
  const double days = static_cast<double>(state.iterations());
  state.counters["x_real_time"] =
      benchmark::Counter(kFrame * static_cast<double>(airport.frames), benchmark::Counter::kIsRate);
  state.counters["frames_per_day"] = static_cast<double>(airport.frames) / days;
  // Flights the ground crews could not reach (0 when every gate is served).
  state.counters["canceled_per_day"] = static_cast<double>(airport.CanceledFlights() - noticesBefore) / days;
}
BENCHMARK(BM_AirportDayAtTopSpeed)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime();

// The road alone at game speed 1, 60 frames a second of real time each
// iteration, where each vehicle looks for the one ahead. The second
// argument picks how: 1 through the traffic grid, 0 by the walk over every
// vehicle it replaced (the reference). "ns_per_vehicle_frame" is the cost of
// one vehicle's frame: at 10x the vehicles it should stay near the 1x figure.
void BM_DetailedRoadSecond(benchmark::State& state) {
  const uint32_t vehicles = static_cast<uint32_t>(state.range(0));
  TrafficAirport airport(5, 0, vehicles);
  airport.ambient->useTrafficGrid = state.range(1) != 0;
  airport.RunFrames(1, 120);
  airport.frames = 0;
  for (auto _ : state) airport.RunFrames(1, 60);
  state.counters["x_real_time"] =
      benchmark::Counter(kFrame * static_cast<double>(airport.frames), benchmark::Counter::kIsRate);
  state.counters["ns_per_vehicle_frame"] = benchmark::Counter(
      static_cast<double>(airport.frames) * vehicles * 1e-9,
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DetailedRoadSecond)
    ->ArgNames({"vehicles", "grid"})
    ->Args({50, 1})
    ->Args({500, 1})
    ->Args({50, 0})
    ->Args({500, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
