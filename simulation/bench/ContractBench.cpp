// A game day of contract work: one day event and 1,440 minute events on the
// contract manager with 150 active airline contracts and 2,000 signed
// flights (argument 1), up to ten times the flights (argument 10).
// "of_day_at_top_speed" is the time taken as a share of the 1.728 s of real
// time a game day lasts at speed 50,000; under 1 keeps up.
#include <benchmark/benchmark.h>

#include <memory>

#include "engine/entity/ActionFactory.h"
#include "simulation/SimulationSpawns.h"
#include "simulation/TimeObject.h"
#include "simulation/tests/ContractTestWorld.h"

namespace {

constexpr double kDaySecondsAtTopSpeed = 86400.0 / 50000.0;

void BM_ContractDay(benchmark::State& state) {
  const int scale = static_cast<int>(state.range(0));
  contracttest::ContractWorld w;
  if (!w.world.ready) {
    state.SkipWithError("world not ready");
    return;
  }
  w.world.BuildWorld();
  w.SetRatings(100, 100, 100);
  SpawnContractManager spawn;
  w.world.table.actionFactory->RegisterSpawn(&spawn);
  cEntity_Base* made = nullptr;
  w.world.manager->SpawnEntity(cEntity_ContractManager::kSpawnName, &made);
  auto* spawned = dynamic_cast<cEntity_ContractManager*>(made);
  if (!spawned) {
    state.SkipWithError("no contract manager");
    return;
  }
  cEntity_ContractManager& m = *spawned;
  w.world.table.contractManager = &m;
  m.running = 1;
  m.baseRequirementsMet = 1;
  std::vector<std::unique_ptr<AirlineData>> data;
  const AirplaneData* plane = w.Plane("Hopper", 0, false);
  const int flights = 2000 * scale;
  for (int a = 0; a < 150; ++a) {
    data.push_back(std::make_unique<AirlineData>(AirlineData{"Air " + std::to_string(a), "", 0, 0, 0, 0, {}}));
    auto* contract = new cAirlineContract(data.back().get());
    contract->SetName(data.back()->name);
    contract->UpdateRequirements(&w.world.buildings);
    contract->satisfaction = 10.0f;  // below the signed share: no new flights
    contract->end = 0xFFFFFFF0u;
    for (int f = a; f < flights; f += 150) {
      auto* flight = new cFlightContract(plane, contract, m.nextFlightId++);
      contract->signedFlights.push_back(flight);
      m.allFlights.push_back(flight);
    }
    contract->openFlights.push_back(new cFlightContract(plane, contract, m.nextFlightId++));
    m.airlineLists[kList_Active].push_back(contract);
  }
  for (auto _ : state) {
    m.OnTime(1000, 86400, kTimeEvent_Day, 1.0f);
    for (int minute = 0; minute < 1440; ++minute) m.OnTime(1000, 60, kTimeEvent_Minute, 1.0f);
  }
  // Elapsed time over (iterations x 1.728 s).
  state.counters["of_day_at_top_speed"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kDaySecondsAtTopSpeed,
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  m.Stop();
  w.world.table.contractManager = nullptr;
}
BENCHMARK(BM_ContractDay)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace
