#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>

#include "simulation/Calendar.h"
#include "simulation/EventManager.h"
#include "simulation/Simulation.h"
#include "simulation/SlowDown.h"
#include "simulation/StatManager.h"
#include "simulation/tests/kit/SimWorld.h"

namespace {

using simkit::FakeType;
using simkit::SimWorld;

EventRecord At(uint32_t kind, uint16_t year, uint16_t dayOfYear, uint8_t hour, uint8_t minute, uint8_t second,
               uint32_t payload = 0) {
  EventRecord e;
  e.kind = kind;
  e.year = year;
  e.dayOfYear = dayOfYear;
  e.hour = hour;
  e.minute = minute;
  e.second = second;
  e.payload = payload;
  return e;
}

class EventManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(world.ready);
    world.BuildWorld();
  }
  cEntity_EventManager& Events() { return *world.events; }
  std::vector<uint32_t> Payloads() {
    std::vector<uint32_t> out;
    for (const EventRecord& e : Events().GetQueue()) out.push_back(e.payload);
    return out;
  }
  EndGame Condition(int32_t criterion, float value, bool lose) {
    EndGame c;
    c.criterion = criterion;
    c.value = value;
    c.lose = lose ? 1 : 0;
    return c;
  }
  SimWorld world;
};

TEST_F(EventManagerTest, TheQueueKeepsTimeOrderAndPutsTheLatestOfEqualTimesFirst) {
  Events().ScheduleEvent(At(4, 1971, 10, 5, 0, 0, 1));
  Events().ScheduleEvent(At(4, 1970, 10, 5, 0, 0, 2));
  Events().ScheduleEvent(At(4, 1971, 10, 5, 0, 0, 3));
  Events().ScheduleEvent(At(4, 1971, 9, 23, 59, 59, 4));
  Events().ScheduleEvent(At(4, 1972, 1, 1, 0, 0, 5));
  EXPECT_EQ(Payloads(), (std::vector<uint32_t>{2, 4, 3, 1, 5}));
}

TEST_F(EventManagerTest, DueTestsAcrossMidnight) {
  struct Case {
    const char* name;
    EventRecord event;
    bool dueAtMidnight;  // at 24:00:00 of day 11 of 1971
  } cases[] = {
      {"later hour of the same day", At(1, 1971, 11, 5, 0, 0), false},
      {"11 pm of the same day", At(1, 1971, 11, 23, 0, 0), false},
      {"midnight itself", At(1, 1971, 11, 0, 0, 0), true},
      {"midnight written as 24", At(1, 1971, 11, 24, 0, 0), true},
      {"late the day before", At(1, 1971, 10, 23, 59, 59), true},
      {"second 60 of the minute before", At(1, 1971, 10, 23, 59, 60), true},
      {"second 1", At(1, 1971, 11, 0, 0, 1), false},
      {"next year", At(1, 1972, 1, 0, 0, 0), false},
  };
  for (const Case& c : cases) {
    SimWorld fresh;
    ASSERT_TRUE(fresh.ready);
    fresh.BuildWorld();
    // 10 January 1971, 23:59:59; one game second brings midnight.
    fresh.Clock().SetDate(1971, 1, 10, 23, 59, 59);
    fresh.events->ScheduleEvent(c.event);
    fresh.Clock().SetSpeed(1);
    fresh.RunFrame(1.0f);
    ASSERT_EQ(fresh.Clock().hour, 24) << c.name;
    EXPECT_EQ(fresh.events->GetQueue().empty(), c.dueAtMidnight) << c.name;
  }
}

TEST_F(EventManagerTest, ASecondAboveFiftyNineRunsInTheNextMinute) {
  world.Clock().SetDate(1971, 1, 10, 10, 4, 58);
  Events().ScheduleEvent(At(1, 1971, 10, 10, 4, 75));
  world.Clock().SetSpeed(1);
  world.RunFrame(1.0f);
  EXPECT_EQ(Events().GetQueue().size(), 1u);
  world.RunFrame(1.0f);
  EXPECT_TRUE(Events().GetQueue().empty());
}

TEST_F(EventManagerTest, DueEventsRunByKind) {
  struct Case {
    const char* name;
    uint32_t kind;
    std::function<void(SimWorld&)> check;
    float speedAfter;
  } cases[] = {
      {"blizzard", 0, [](SimWorld& w) { EXPECT_EQ(w.weather.blizzards, std::vector<uint8_t>{0}); }, 1.0f},
      {"hurricane", 1, [](SimWorld&) {}, 1.0f},
      {"tornado", 2, [](SimWorld& w) {
         ASSERT_EQ(w.particles.effects.size(), 1u);
         EXPECT_EQ(w.particles.effects[0].kind, kParticleEffect_Tornado);
         EXPECT_GE(w.particles.effects[0].position.x, -128.0f);
         EXPECT_LE(w.particles.effects[0].position.x, 127.0f);
         EXPECT_EQ(w.particles.effects[0].position.y, 0.5f);
         EXPECT_EQ(w.particles.effects[0].direction.y, 1.0f);
         ASSERT_EQ(w.pda->posted.size(), 1u);
         EXPECT_EQ(w.pda->posted[0].subject, "Tornado!");
         EXPECT_EQ(w.pda->posted[0].body, "A tornado has touched down!");
       }, 1.0f},
      {"sandstorm", 3, [](SimWorld& w) { EXPECT_EQ(w.particles.sandstorms, 1); }, 1.0f},
      {"drought", 4, [](SimWorld&) {}, 1.0f},
      {"earthquake damage", 6, [](SimWorld& w) { EXPECT_EQ(w.buildings.earthquakes, std::vector<int32_t>{7}); },
       200.0f},
      {"end of the scenario", 7, [](SimWorld& w) {
         EXPECT_EQ(w.scenario.calls, std::vector<std::string>{"lose"});
         EXPECT_EQ(w.Clock().savedSpeed, 200.0f);
       }, 0.0f},
      {"flight companion", 10, [](SimWorld&) {}, 200.0f},
  };
  for (const Case& c : cases) {
    SimWorld fresh;
    ASSERT_TRUE(fresh.ready);
    fresh.BuildWorld();
    fresh.Clock().SetSpeed(200);
    fresh.events->ScheduleEvent(At(c.kind, 1970, 1, 12, 0, 0, 7));
    fresh.RunFrame(0.001f);
    EXPECT_TRUE(fresh.events->GetQueue().empty()) << c.name;
    EXPECT_EQ(fresh.Clock().speed, c.speedAfter) << c.name;
    c.check(fresh);
  }
}

TEST_F(EventManagerTest, EarthquakeShakesPlaysAndSchedulesItsDamage) {
  world.Clock().SetSpeed(5);
  world.random.UseSequence({0.35, 0.5});  // magnitude 3.5, then k = 1.75
  Events().StartEarthquake();
  ASSERT_EQ(world.camera->shakes.size(), 1u);
  EXPECT_EQ(world.camera->shakes[0].first, 3);
  EXPECT_FLOAT_EQ(world.camera->shakes[0].second, 7.0f);
  EXPECT_EQ(world.audio.calls, std::vector<std::string>{"play Sounds\\DIS_equake.wav loop 1"});
  EXPECT_FLOAT_EQ(Events().soundTimer, 7.0f);
  ASSERT_EQ(Events().GetQueue().size(), 2u);
  EXPECT_EQ(Events().GetQueue().front().kind, kEvent_EarthquakeDamage);
  EXPECT_EQ(Events().GetQueue().front().payload, 3u);
  ASSERT_EQ(world.pda->posted.size(), 1u);
  EXPECT_EQ(world.pda->posted[0].subject, "Earthquake!");
  EXPECT_EQ(world.pda->posted[0].body, "A 3.5 earthquake has struck!");
  // A second one during the rumble plays no second sound.
  Events().StartEarthquake();
  EXPECT_EQ(world.audio.calls.size(), 1u);
  // Each quake's damage runs at its second and the second after.
  world.RunFrame(0.01f);
  EXPECT_EQ(world.buildings.earthquakes, (std::vector<int32_t>{3, 3}));
  world.RunFrame(0.2f);
  EXPECT_EQ(world.buildings.earthquakes, (std::vector<int32_t>{3, 3, 3, 3}));
}

TEST_F(EventManagerTest, ASmallEarthquakeStillShakesAndNothingHappensWhilePaused) {
  world.Clock().SetSpeed(5);
  world.random.UseSequence({0.05, 1.0});  // magnitude 0.5, k = 0.5
  Events().StartEarthquake();
  EXPECT_EQ(world.camera->shakes.at(0).first, 0);
  ASSERT_EQ(Events().GetQueue().size(), 1u);
  EXPECT_EQ(Events().GetQueue().front().payload, 0u);
  world.Clock().SetSpeed(0);
  Events().StartEarthquake();
  EXPECT_EQ(world.camera->shakes.size(), 1u);
  world.RunFrame(1.0f);
  EXPECT_EQ(Events().GetQueue().size(), 1u);  // no processing while paused
}

TEST_F(EventManagerTest, TheSoundTimerRunsOutAlsoWhilePaused) {
  world.Clock().SetSpeed(5);
  world.random.UseSequence({0.01, 0.0});  // magnitude 0.1: 0.2 s of rumble
  Events().StartEarthquake();
  world.Clock().SetSpeed(0);
  // 0.02 s a tick while paused: ten ticks use up the 0.2 s.
  for (int i = 0; i < 9; ++i) world.RunFrame(0.5f);
  EXPECT_EQ(world.audio.calls.size(), 1u);
  for (int i = 0; i < 2; ++i) world.RunFrame(0.5f);
  EXPECT_EQ(world.audio.calls.back(), "stop");
  EXPECT_EQ(Events().helpSound, nullptr);
}

TEST_F(EventManagerTest, RemovalOfFlightEvents) {
  struct Case {
    const char* name;
    std::vector<std::pair<uint32_t, uint32_t>> queue;  // kind, payload
    uint32_t flight;
    bool cargo;
    std::vector<uint32_t> left;
  } cases[] = {
      {"first, middle and last", {{8, 5}, {8, 6}, {8, 5}, {10, 5}, {8, 5}}, 5, false, {6, 5}},
      {"adjacent", {{8, 5}, {8, 5}, {8, 7}}, 5, false, {7}},
      {"cargo kind only", {{8, 5}, {9, 5}}, 5, true, {5}},
      {"nothing matches", {{8, 1}}, 5, false, {1}},
  };
  for (const Case& c : cases) {
    world.events->Stop();
    uint8_t second = 0;
    for (auto [kind, payload] : c.queue) Events().ScheduleEvent(At(kind, 1999, 1, 1, 0, second++, payload));
    Events().RemoveFlightEvents(c.flight, c.cargo);
    EXPECT_EQ(Payloads(), c.left) << c.name;
  }
}

TEST_F(EventManagerTest, EndGameCriteria) {
  auto& stats = *world.stats;
  stats.block.income = 1000.0;
  stats.block.expenses = 400.0;
  stats.block.cash = 5000.0;
  stats.block.safetyRating = 50.0f;
  stats.block.passengers = 300;
  stats.block.contractsSigned = 4;
  world.buildings.techFlags[3] = true;
  FakeType* gate = world.buildings.AddType(5, 2, 1);
  world.buildings.Place(gate);
  world.buildings.Place(gate);
  struct Case {
    const char* name;
    int32_t criterion;
    float value;
    bool holds;
  } cases[] = {
      {"earnings met", kCriterion_Earnings, 600.0f, true},
      {"earnings short", kCriterion_Earnings, 600.5f, false},
      {"budget", kCriterion_Budget, 5000.0f, true},
      {"safety", kCriterion_Safety, 50.5f, false},
      {"passengers", kCriterion_Passengers, 300.0f, true},
      {"contracts", kCriterion_Contracts, 5.0f, false},
      {"tech flag set", kCriterion_TechLevel, 3.0f, true},
      {"tech flag clear", kCriterion_TechLevel, 4.0f, false},
      {"tech level 16", kCriterion_TechLevel, 16.0f, false},
      {"tech level -1", kCriterion_TechLevel, -1.0f, false},
      {"buildings", kCriterion_Building, 2.0f, true},
      {"more buildings", kCriterion_Building, 3.0f, false},
      {"criterion 6 always holds", 6, 1e9f, true},
      {"criterion 12 always holds", 12, 1e9f, true},
  };
  for (const Case& c : cases) {
    EndGame condition = Condition(c.criterion, c.value, false);
    condition.types[1] = gate;
    EXPECT_EQ(Events().ConditionHolds(condition), c.holds) << c.name;
  }
}

TEST_F(EventManagerTest, LoseBeatsWinAndLoseAloneIsNoVictory) {
  struct Case {
    const char* name;
    std::vector<std::pair<float, bool>> conditions;  // budget threshold, lose
    EndGameResult result;
  } cases[] = {
      {"none", {}, EndGameResult::None},
      {"a failed lose condition", {{1e9f, false}, {0.0f, false}, {1e12f, true}}, EndGameResult::Lose},
      {"all met", {{0.0f, false}, {1.0f, false}, {0.0f, true}}, EndGameResult::Win},
      {"one win condition short", {{0.0f, false}, {1e12f, false}, {0.0f, true}}, EndGameResult::None},
      {"lose conditions alone, holding", {{0.0f, true}}, EndGameResult::None},
      {"lose conditions alone, failing", {{1e12f, true}}, EndGameResult::Lose},
  };
  for (const Case& c : cases) {
    Events().Stop();
    for (auto [value, lose] : c.conditions) Events().AddEndGame(Condition(kCriterion_Budget, value, lose));
    EXPECT_EQ(Events().CheckEndGame(), c.result) << c.name;
  }
}

TEST_F(EventManagerTest, AWinShowsTheScreenAndPausesOnce) {
  Events().AddEndGame(Condition(kCriterion_Budget, 1.0f, false));
  world.Clock().SetSpeed(4);
  world.RunFrame(0.1f);
  EXPECT_EQ(world.scenario.calls, std::vector<std::string>{"win"});
  EXPECT_EQ(world.Clock().speed, 0.0f);
  world.RunFrame(0.1f);
  EXPECT_EQ(world.scenario.calls.size(), 1u);  // paused: no further check
}

TEST_F(EventManagerTest, HelpTopicsRunFromTheHelpFile) {
  world.Clock().SetSpeed(1);
  Events().StartHelpTopic(1);
  EXPECT_TRUE(world.widgets.visibleScenes["scnHelp"]);
  EXPECT_EQ(world.widgets.texts["scnHelp/mlHelpText"].substr(0, 7), "Welcome");
  EXPECT_FLOAT_EQ(Events().helpTimer, 6.0f);
  // Messages 2 to 6 follow every 6 seconds; the 6th waits.
  for (int i = 0; i < 5; ++i) {
    for (int f = 0; f < 6; ++f) world.RunFrame(1.0f);
    world.RunFrame(0.01f);
  }
  EXPECT_EQ(Events().helpIndex, 6u);
  EXPECT_EQ(Events().helpWaiting, 1);
  for (int f = 0; f < 20; ++f) world.RunFrame(1.0f);
  EXPECT_EQ(Events().helpIndex, 6u);
  Events().ClearHelpWait(1, 1, 5);  // not the current message
  EXPECT_EQ(Events().helpWaiting, 1);
  Events().ClearHelpWait(1, 1, 6);
  EXPECT_EQ(Events().helpWaiting, 0);
  world.RunFrame(0.01f);  // message 7 does not exist: help ends
  EXPECT_FALSE(world.widgets.visibleScenes["scnHelp"]);
  EXPECT_EQ(Events().helpActive, 0);
}

TEST_F(EventManagerTest, HelpStaysOffWithoutTheHelperCharacter) {
  world.config.SetValue("App", "HelperCharacter", "false");
  Events().StartHelpTopic(2);
  EXPECT_EQ(Events().helpActive, 0);
  EXPECT_TRUE(world.widgets.texts.empty());
}

TEST_F(EventManagerTest, TheSlowDownRule) {
  struct Case {
    const char* name;
    bool always, never, own;
    bool slows;
  } cases[] = {
      {"all off", false, false, false, false}, {"own switch", false, false, true, true},
      {"never wins over own", false, true, true, false}, {"always wins over never", true, true, false, true},
  };
  for (const Case& c : cases) {
    world.config.SetValue("Autoslow", "AlwaysSlow", c.always ? "true" : "false");
    world.config.SetValue("Autoslow", "NeverSlow", c.never ? "1" : "0");
    world.config.SetValue("Autoslow", "SlowOnFlightDelay", c.own ? "TRUE" : "no");
    Events().Start();
    world.Clock().SetSpeed(500);
    EXPECT_EQ(SlowDownFor(&world.table, Happening::FlightDelay), c.slows) << c.name;
    EXPECT_EQ(world.Clock().speed, c.slows ? 1.0f : 500.0f) << c.name;
  }
}

TEST_F(EventManagerTest, TheDataSettingsGiveTheAutoslowSwitches) {
  EXPECT_EQ(Events().autoslow.alwaysSlow, 0);
  EXPECT_EQ(Events().autoslow.neverSlow, 0);
  EXPECT_EQ(Events().autoslow.happening[static_cast<int>(Happening::Emergency)], 1);
  EXPECT_EQ(Events().autoslow.happening[static_cast<int>(Happening::PlaneLanding)], 0);
}

}  // namespace

namespace {

// A little-endian blob built field by field.
struct Blob {
  std::vector<uint8_t> bytes;
  Blob& U8(uint8_t v) {
    bytes.push_back(v);
    return *this;
  }
  Blob& U16(uint16_t v) { return U8(static_cast<uint8_t>(v)).U8(static_cast<uint8_t>(v >> 8)); }
  Blob& U32(uint32_t v) { return U16(static_cast<uint16_t>(v)).U16(static_cast<uint16_t>(v >> 16)); }
  Blob& F32(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    return U32(bits);
  }
  Blob& Event(uint32_t kind, uint8_t s, uint8_t m, uint8_t h, uint16_t doy, uint16_t year, uint32_t payload) {
    return U32(kind).U8(s).U8(m).U8(h).U8(0).U16(doy).U16(year).U32(payload);
  }
  Blob& Condition(float value, int32_t criterion, uint8_t cls, uint16_t id, uint32_t kept, uint8_t lose) {
    return F32(value).U32(static_cast<uint32_t>(criterion)).U8(cls).U8(0).U16(id).U32(kept).U8(lose).U8(0).U16(0);
  }
};

std::vector<uint8_t> SaveOf(cEntity_EventManager& events) {
  SerialBlock bytes;
  uint32_t size = 0;
  if (!events.Save(&bytes, &size)) return {};
  return std::vector<uint8_t>(bytes.get(), bytes.get() + size);
}

Blob GoodBlob() {
  Blob b;
  b.U32(2).Event(0, 5, 6, 7, 100, 1975, 0).Event(8, 0, 0, 23, 101, 1975, 42);
  b.U32(1).Condition(2.0f, 3, 5, 2, 99, 0);
  b.U32(1).Condition(1000.0f, 5, 0, 0, 0, 1);
  return b;
}

TEST_F(EventManagerTest, TheBlobRoundTripsByteForByte) {
  FakeType* gate = world.buildings.AddType(5, 2, 1);
  const std::vector<uint8_t> good = GoodBlob().bytes;
  ASSERT_EQ(good.size(), 12u + 16 * 2 + 20 * 2);
  ASSERT_TRUE(Events().LoadFromBlob(good.data(), static_cast<uint32_t>(good.size())));
  EXPECT_EQ(Events().GetQueue().size(), 2u);
  ASSERT_EQ(Events().GetWinConditions().size(), 1u);
  EXPECT_EQ(Events().GetWinConditions()[0].types[1], gate);
  EXPECT_EQ(Events().GetWinConditions()[0].types[0], nullptr);
  EXPECT_EQ(Events().GetWinConditions()[0].kept, 99u);
  ASSERT_EQ(Events().GetLoseConditions().size(), 1u);
  EXPECT_EQ(SaveOf(Events()), good);
}

TEST_F(EventManagerTest, EventsOfEqualTimeKeepTheirOrderThroughSaveAndLoad) {
  Events().ScheduleEvent(At(8, 1975, 101, 23, 0, 0, 1));
  Events().ScheduleEvent(At(8, 1975, 101, 23, 0, 0, 2));
  const std::vector<uint8_t> saved = SaveOf(Events());
  Events().Stop();
  ASSERT_TRUE(Events().LoadFromBlob(saved.data(), static_cast<uint32_t>(saved.size())));
  EXPECT_EQ(Payloads(), (std::vector<uint32_t>{2, 1}));
  EXPECT_EQ(SaveOf(Events()), saved);
}

TEST_F(EventManagerTest, ConditionsAreSavedWithoutQueuedEvents) {
  EXPECT_TRUE(SaveOf(Events()).empty());  // nothing at all: no blob
  Events().AddEndGame(Condition(kCriterion_Budget, 5.0f, true));
  const std::vector<uint8_t> saved = SaveOf(Events());
  ASSERT_EQ(saved.size(), 12u + 20);
  Events().Stop();
  ASSERT_TRUE(Events().LoadFromBlob(saved.data(), static_cast<uint32_t>(saved.size())));
  ASSERT_EQ(Events().GetLoseConditions().size(), 1u);
  EXPECT_EQ(Events().GetLoseConditions()[0].value, 5.0f);
}

TEST_F(EventManagerTest, AStoredHour24ReadsAsMidnight) {
  const std::vector<uint8_t> blob = Blob().U32(1).Event(1, 0, 0, 24, 12, 1971, 0).U32(0).U32(0).bytes;
  ASSERT_TRUE(Events().LoadFromBlob(blob.data(), static_cast<uint32_t>(blob.size())));
  EXPECT_EQ(Events().GetQueue().front().hour, 0);
}

TEST_F(EventManagerTest, CorruptBlobsAreRefusedAndChangeNothing) {
  const std::vector<uint8_t> good = GoodBlob().bytes;
  auto cut = [&](size_t n) { return std::vector<uint8_t>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)); };
  auto patched = [&](size_t at, uint8_t v) {
    std::vector<uint8_t> b = good;
    b[at] = v;
    return b;
  };
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"empty", {}},
      {"inside the event count", cut(3)},
      {"inside an event", cut(4 + 16 + 9)},
      {"before the win count", cut(4 + 32)},
      {"inside a win condition", cut(4 + 32 + 4 + 10)},
      {"before the lose count", cut(4 + 32 + 4 + 20)},
      {"inside a lose condition", cut(good.size() - 1)},
      {"bytes left over", [&] { auto b = good; b.push_back(0); return b; }()},
      {"oversized event count", Blob().U32(0x10000000).bytes},
      {"oversized win count", Blob().U32(0).U32(0xFFFFFFFF).bytes},
      {"hour 25", patched(4 + 6, 25)},
      {"minute 60", patched(4 + 5, 60)},
      {"day of year 0", Blob().U32(1).Event(1, 0, 0, 1, 0, 1971, 0).U32(0).U32(0).bytes},
      {"day of year 367", Blob().U32(1).Event(1, 0, 0, 1, 367, 1971, 0).U32(0).U32(0).bytes},
      {"year 1969", Blob().U32(1).Event(1, 0, 0, 1, 5, 1969, 0).U32(0).U32(0).bytes},
      {"lose flag in the win list", Blob().U32(0).U32(1).Condition(1, 5, 0, 0, 0, 1).U32(0).bytes},
      {"win flag in the lose list", Blob().U32(0).U32(0).U32(1).Condition(1, 5, 0, 0, 0, 0).bytes},
      {"threshold not a number", Blob().U32(0).U32(1).Condition(NAN, 5, 0, 0, 0, 0).U32(0).bytes},
      {"building class 13", Blob().U32(0).U32(1).Condition(1, 3, 13, 0, 0, 0).U32(0).bytes},
  };
  Events().ScheduleEvent(At(4, 1990, 3, 4, 5, 6, 77));
  Events().AddEndGame(Condition(kCriterion_Budget, 1.0f, false));
  const std::vector<uint8_t> before = SaveOf(Events());
  for (const Case& c : cases) {
    EXPECT_FALSE(Events().LoadFromBlob(c.bytes.data(), static_cast<uint32_t>(c.bytes.size()))) << c.name;
    EXPECT_EQ(SaveOf(Events()), before) << c.name;
  }
  EXPECT_FALSE(Events().LoadFromBlob(nullptr, 12));
}

}  // namespace

namespace {

TEST_F(EventManagerTest, TheNewYearDoesNotBringTheWholeYearsEvents) {
  world.Clock().SetDate(1970, 12, 31, 23, 59, 59);
  Events().ScheduleEvent(At(6, 1971, 200, 1, 0, 0, 1));
  Events().ScheduleEvent(At(6, 1971, 1, 0, 0, 0, 2));
  world.Clock().SetSpeed(1);
  world.RunFrame(1.0f);
  ASSERT_EQ(world.Clock().year, 1971);
  EXPECT_EQ(world.buildings.earthquakes, std::vector<int32_t>{2});
  EXPECT_EQ(Payloads(), std::vector<uint32_t>{1});
}

}  // namespace
