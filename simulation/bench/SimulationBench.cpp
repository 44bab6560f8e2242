// Speed of the clock and the event queue. The clock runs frames of 1/60 s at
// the top speed of 50,000 with the ten managers' masks and 1,000 tick-only
// models registered; "x_real_time" says how many times faster than real
// time the frames are computed. The queue inserts are set beside an ordered
// multimap as the plain reference.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <random>
#include <vector>

#include "simulation/EventManager.h"
#include "simulation/SimulationClock.h"
#include "simulation/TimeObject.h"

namespace {

class Registrant : public cSimulation_TimeObject {
 public:
  explicit Registrant(uint32_t mask) : cSimulation_TimeObject(mask) {}
  int32_t OnTime(uint32_t total, uint32_t, uint32_t, float) override {
    benchmark::DoNotOptimize(seen += total);
    return 0;
  }
  uint64_t seen = 0;
};

// The masks of the ten managers that register with the clock.
constexpr uint32_t kManagerMasks[10] = {0x01, 0x01, 0x21, 0x1c, 0x54, 0xd1, 0x1d, 0x1d, 0x01, 0x01};
constexpr float kFrame = 1.0f / 60.0f;

std::vector<std::unique_ptr<Registrant>> MakeRegistrants() {
  std::vector<std::unique_ptr<Registrant>> all;
  for (uint32_t mask : kManagerMasks) all.push_back(std::make_unique<Registrant>(mask));
  for (int i = 0; i < 1000; ++i) all.push_back(std::make_unique<Registrant>(kTimeEvent_Tick));
  return all;
}

void BM_ClockTicksAtTopSpeed(benchmark::State& state) {
  auto registrants = MakeRegistrants();
  cSimulation_Clock clock;
  for (auto& r : registrants) clock.RegisterTimeObject(r.get());
  clock.SetSpeed(50000);
  clock.Start(0);
  for (auto _ : state) clock.Tick(kFrame);
  state.counters["x_real_time"] = benchmark::Counter(kFrame * static_cast<double>(state.iterations()),
                                                     benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ClockTicksAtTopSpeed);

// Reference: the same objects called once per frame in a plain loop, with no
// calendar work.
void BM_Reference_PlainTickLoop(benchmark::State& state) {
  auto registrants = MakeRegistrants();
  uint32_t total = 0;
  for (auto _ : state) {
    total += 833;
    for (auto& r : registrants)
      if (r->eventMask & kTimeEvent_Tick) r->OnTime(total, 0, kTimeEvent_Tick, 0.0f);
  }
  state.counters["x_real_time"] = benchmark::Counter(kFrame * static_cast<double>(state.iterations()),
                                                     benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Reference_PlainTickLoop);

std::vector<EventRecord> RandomEvents(size_t n) {
  std::mt19937 engine(5);
  std::vector<EventRecord> events(n);
  for (EventRecord& e : events) {
    e.year = static_cast<uint16_t>(1970 + engine() % 10);
    e.dayOfYear = static_cast<uint16_t>(1 + engine() % 365);
    e.hour = static_cast<uint8_t>(engine() % 24);
    e.minute = static_cast<uint8_t>(engine() % 60);
  }
  return events;
}

void BM_EventQueueInserts(benchmark::State& state) {
  const auto events = RandomEvents(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    cEntity_EventManager manager(nullptr);
    for (const EventRecord& e : events) manager.ScheduleEvent(e);
    benchmark::DoNotOptimize(manager.GetQueue().size());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_EventQueueInserts)->Arg(1000)->Arg(10000);

void BM_Reference_MultimapInserts(benchmark::State& state) {
  const auto events = RandomEvents(static_cast<size_t>(state.range(0)));
  for (auto _ : state) {
    std::multimap<uint64_t, EventRecord> queue;
    for (const EventRecord& e : events) queue.emplace(EventTimeKey(e), e);
    benchmark::DoNotOptimize(queue.size());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Reference_MultimapInserts)->Arg(1000)->Arg(10000);

}  // namespace
