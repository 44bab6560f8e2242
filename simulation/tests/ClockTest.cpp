#include <gtest/gtest.h>

#include "simulation/Calendar.h"
#include "simulation/SimulationClock.h"
#include "simulation/tests/TimeRecorder.h"
#include "simulation/tests/kit/KitRecorders.h"

namespace {

using simtest::Only;
using simtest::TimeRecorder;

constexpr int32_t kFail = static_cast<int32_t>(0x80004005u);

class ClockTest : public ::testing::Test {
 protected:
  // Sets the date and time of day and the matching total.
  void At(uint16_t year, uint8_t month, uint8_t day, uint8_t hour, uint8_t minute, uint8_t second) {
    clock.SetDate(year, month, day, hour, minute, second);
  }
  simkit::RecordingWidgets widgets;
  cSimulation_Clock clock;
  std::vector<std::string> log;
};

TEST_F(ClockTest, StartsAtNoonOfTheFirstDay) {
  clock.Start(0);
  EXPECT_EQ(clock.totalSeconds, 43200u);
  EXPECT_EQ(clock.hour, 12);
  EXPECT_EQ(clock.startYear, 1970);
  EXPECT_EQ(clock.startDateText, "January 1, 1970");
  EXPECT_EQ(widgets.Label("sttIGTime"), "12:00:00 pm");
  EXPECT_EQ(widgets.Label("sttIGDate"), "01/01/1970");
  clock.Tick(0.0f);
  EXPECT_EQ(widgets.Label("sttIGDate"), "January 1, 1970");
}

TEST_F(ClockTest, MidnightRollsSecondMinuteHourAndDayInOrder) {
  TimeRecorder all("a", 0x1FD, &log);
  clock.RegisterTimeObject(&all);
  At(2003, 6, 5, 23, 59, 59);
  const uint32_t begin = clock.totalSeconds;
  clock.Tick(1.0f);
  const std::string t = std::to_string(begin);
  const std::vector<std::string> expected = {
      "a:second " + t + " 1 0.00", "a:minute " + t + " 60 0.00", "a:day " + t + " 3600 0.00",
      "a:hour " + t + " 3600 0.00", "a:tick " + std::to_string(begin + 1) + " 1 1.00"};
  EXPECT_EQ(log, expected);
  EXPECT_EQ(clock.hour, 24);
  EXPECT_EQ(clock.minute, 0);
  EXPECT_EQ(clock.second, 0);
  EXPECT_EQ(clock.day, 6);
  EXPECT_EQ(clock.dayOfYear, 157);
  EXPECT_EQ(clock.GetTimeText(), "12:00:00 am");
  EXPECT_EQ(clock.GetDateText(), "June 6, 2003");
}

TEST_F(ClockTest, YearEndDeliversMonthYearWeekDayHour) {
  TimeRecorder all("a", kTimeEvent_Day | kTimeEvent_Week | kTimeEvent_Month | kTimeEvent_Year | kTimeEvent_Hour,
                   &log);
  TimeRecorder yearOnly("b", kTimeEvent_Year, &log);
  clock.RegisterTimeObject(&all);
  clock.RegisterTimeObject(&yearOnly);
  At(2003, 12, 31, 23, 59, 59);
  clock.week = 52;
  clock.Tick(1.0f);
  std::vector<std::string> names;
  for (const std::string& line : log) names.push_back(line.substr(0, line.find(' ')));
  const std::vector<std::string> expected = {"a:month", "a:year", "a:week", "b:year", "a:day", "a:hour"};
  EXPECT_EQ(names, expected);
  EXPECT_EQ(clock.year, 2004);
  EXPECT_EQ(clock.month, 1);
  EXPECT_EQ(clock.day, 1);
  EXPECT_EQ(clock.dayOfYear, 1);
  EXPECT_EQ(clock.week, 0);
}

TEST_F(ClockTest, ANewcomerRegisteredAtTheYearEventWaitsForTheNextWalk) {
  TimeRecorder late("n", kTimeEvent_Year | kTimeEvent_Week | kTimeEvent_Day, &log);
  TimeRecorder first("a", kTimeEvent_Year, &log);
  first.onTime = [&](uint32_t) {
    clock.RegisterTimeObject(&late);
  };
  clock.RegisterTimeObject(&first);
  At(1999, 12, 31, 23, 59, 59);
  clock.Tick(1.0f);
  std::vector<std::string> names;
  for (const std::string& line : log) names.push_back(line.substr(0, line.find(' ')));
  EXPECT_EQ(names, (std::vector<std::string>{"a:year", "n:day"}));
}

TEST_F(ClockTest, CalendarEdgesAtMidnight) {
  struct Case {
    const char* name;
    uint16_t year;
    uint8_t month, day;
    uint8_t nextMonth, nextDay;
  } cases[] = {
      {"28 February 2000", 2000, 2, 28, 2, 29}, {"28 February 2100", 2100, 2, 28, 3, 1},
      {"28 February 2400", 2400, 2, 28, 2, 29}, {"10 September 2001", 2001, 9, 10, 9, 12},
      {"30 April", 1999, 4, 30, 5, 1},
  };
  for (const Case& c : cases) {
    At(c.year, c.month, c.day, 23, 59, 59);
    const uint16_t dayOfYear = clock.dayOfYear;
    clock.Tick(1.0f);
    EXPECT_EQ(clock.month, c.nextMonth) << c.name;
    EXPECT_EQ(clock.day, c.nextDay) << c.name;
    EXPECT_EQ(clock.dayOfYear, dayOfYear + 1) << c.name;
    // The running total and the date fields name the same moment (while
    // the 32-bit total reaches that far).
    if (c.year > 2105) continue;
    const calendar::Date d = calendar::SecondsToDate(clock.totalSeconds);
    EXPECT_EQ(d.month, c.nextMonth) << c.name;
    EXPECT_EQ(d.day, c.nextDay) << c.name;
    EXPECT_EQ(d.dayOfYear, clock.dayOfYear) << c.name;
  }
}

TEST_F(ClockTest, TickIntervalAndGameDelta) {
  struct Case {
    const char* name;
    uint16_t speed;
    float frame;
    const char* tick;
    uint32_t seconds;
  } cases[] = {
      {"half a second at speed 10", 10, 0.5f, "5.00", 5},
      {"1.2 seconds at speed 10", 10, 1.2f, "12.00", 12},
      {"paused", 0, 2.0f, "0.00", 0},
  };
  const std::vector<uint32_t> intervals = {0, 10, 0};
  int i = 0;
  for (const Case& c : cases) {
    TimeRecorder tick("t", kTimeEvent_Tick, &log);
    cSimulation_Clock fresh;
    fresh.SetSpeed(c.speed);
    fresh.RegisterTimeObject(&tick);
    const uint32_t before = fresh.totalSeconds;
    log.clear();
    fresh.Tick(c.frame);
    ASSERT_EQ(log.size(), 1u) << c.name;
    EXPECT_EQ(log[0], "t:tick " + std::to_string(before + c.seconds) + " " + std::to_string(intervals[i]) + " " +
                          c.tick)
        << c.name;
    ++i;
  }
}

TEST_F(ClockTest, FractionsOfASecondCarryToTheNextFrame) {
  TimeRecorder seconds("s", kTimeEvent_Second, &log);
  clock.RegisterTimeObject(&seconds);
  clock.SetSpeed(3);
  clock.Tick(0.5f);
  EXPECT_EQ(log.size(), 1u);
  EXPECT_FLOAT_EQ(clock.fraction, 0.5f);
  clock.Tick(0.5f);
  EXPECT_EQ(log.size(), 3u);
  EXPECT_FLOAT_EQ(clock.fraction, 0.0f);
}

TEST_F(ClockTest, PausedClockStillTicksAndShowsPaused) {
  TimeRecorder tick("t", kTimeEvent_Tick | kTimeEvent_Second, &log);
  clock.RegisterTimeObject(&tick);
  clock.SetSpeed(0);
  clock.Tick(5.0f);
  EXPECT_EQ(Only(log, "second").size(), 0u);
  EXPECT_EQ(Only(log, "tick").size(), 1u);
  EXPECT_EQ(clock.GetTimeText(), "PAUSED");
}

TEST_F(ClockTest, RegistrationAndRemoval) {
  TimeRecorder a("a", kTimeEvent_Tick, &log), b("b", kTimeEvent_Tick, &log), c("c", kTimeEvent_Tick, &log),
      d("d", kTimeEvent_Tick, &log);
  EXPECT_EQ(clock.RegisterTimeObject(&a), 0);
  EXPECT_EQ(clock.RegisterTimeObject(&b), 0);
  EXPECT_EQ(clock.RegisterTimeObject(&c), 0);
  EXPECT_EQ(clock.RegisterTimeObject(&d), 0);
  EXPECT_EQ(clock.RegisterTimeObject(&a), kFail);
  EXPECT_EQ(clock.UnregisterTimeObject(&c), 0);
  EXPECT_EQ(clock.UnregisterTimeObject(&a), 0);
  EXPECT_EQ(clock.UnregisterTimeObject(&a), 0);  // queued once
  EXPECT_EQ(clock.RegisterTimeObject(&a), kFail);  // still listed until the tick
  clock.Tick(0.0f);
  EXPECT_EQ(clock.GetTimeObjects(), (std::vector<cSimulation_TimeObject*>{&b, &d}));
  EXPECT_EQ(log, (std::vector<std::string>{"b:tick 0 0 0.00", "d:tick 0 0 0.00"}));
  TimeRecorder stranger("x", kTimeEvent_Tick, &log);
  EXPECT_EQ(clock.UnregisterTimeObject(&stranger), kFail);
}

TEST_F(ClockTest, ChangesDuringAWalk) {
  struct Case {
    const char* name;
    bool removeSelf;
    bool registerNew;
    bool stop;
    std::vector<std::string> firstTick;
    std::vector<std::string> secondTick;
  } cases[] = {
      {"removal waits for the next tick", true, false, false, {"a", "b"}, {"b"}},
      {"a newcomer is first called at the next event", false, true, false, {"a", "b"}, {"a", "b", "n"}},
      {"a negative result ends the walk", false, false, true, {"a"}, {"a"}},
  };
  for (const Case& c : cases) {
    cSimulation_Clock fresh;
    std::vector<std::string> names;
    TimeRecorder newcomer("n", kTimeEvent_Tick, &log);
    TimeRecorder a("a", kTimeEvent_Tick, &log), b("b", kTimeEvent_Tick, &log);
    a.onTime = [&](uint32_t) {
      if (c.removeSelf) fresh.UnregisterTimeObject(&a);
      if (c.registerNew) fresh.RegisterTimeObject(&newcomer);
    };
    if (c.stop) a.result = -1;
    fresh.RegisterTimeObject(&a);
    fresh.RegisterTimeObject(&b);
    for (const auto* expected : {&c.firstTick, &c.secondTick}) {
      log.clear();
      fresh.Tick(0.0f);
      names.clear();
      for (const std::string& line : log) names.push_back(line.substr(0, 1));
      EXPECT_EQ(names, *expected) << c.name;
    }
  }
}

TEST_F(ClockTest, SetSpeedRefusesTooFastAndMovesTheSlider) {
  struct Case {
    const char* name;
    uint16_t value;
    bool accepted;
    float speed;
  } cases[] = {
      {"normal", 1, true, 1.0f},       {"fastest", 50000, true, 50000.0f}, {"too fast", 50001, false, 50000.0f},
      {"0xFFFF pauses", 0xFFFF, true, 0.0f},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(clock.SetSpeed(c.value), c.accepted) << c.name;
    EXPECT_EQ(clock.speed, c.speed) << c.name;
    EXPECT_EQ(widgets.sliders["sldGameSpeed"], static_cast<int32_t>(c.speed)) << c.name;
  }
}

TEST_F(ClockTest, PauseKeepsTheSpeedForResume) {
  clock.SetSpeed(20);
  clock.Pause();
  EXPECT_EQ(clock.speed, 0.0f);
  clock.Pause();  // already paused: the kept speed stays
  EXPECT_EQ(clock.savedSpeed, 20.0f);
  clock.Resume();
  EXPECT_EQ(clock.speed, 20.0f);
}

TEST_F(ClockTest, DateTexts) {
  std::string out;
  clock.ConvertDateText("06/05/2003", out);
  EXPECT_EQ(out, "June 5, 2003");
  clock.ConvertDateText("june 5, 2003", out);
  EXPECT_EQ(out, "06/05/2003");
  clock.ConvertDateText("Smarch 5, 2003", out);
  EXPECT_EQ(out, "13/05/2003");
  out = "kept";
  clock.ConvertDateText("", out);
  EXPECT_EQ(out, "kept");
  At(2003, 9, 5, 10, 0, 0);
  clock.GetShortDateText(out);
  EXPECT_EQ(out, "Sept05-2003");
  clock.FormatDate(out);
  EXPECT_EQ(out, "09/05/2003");
  clock.SecondsToNumericDate(clock.totalSeconds, out);
  EXPECT_EQ(out, "09/05/2003");
  clock.SecondsToDateText(1000166400, out);
  EXPECT_EQ(out, "September 12, 2001");
}

TEST_F(ClockTest, TimeLabelOnATwelveHourDial) {
  struct Case {
    uint8_t hour;
    const char* text;
  } cases[] = {{24, "12:00:00 am"}, {1, "01:00:00 am"}, {11, "11:00:00 am"}, {12, "12:00:00 pm"}, {23, "11:00:00 pm"}};
  for (const Case& c : cases) {
    At(2003, 1, 2, c.hour, 0, 0);
    clock.Tick(0.0f);
    EXPECT_EQ(clock.GetTimeText(), c.text) << int{c.hour};
  }
}

TEST_F(ClockTest, ResetDropsEveryRegistration) {
  TimeRecorder a("a", kTimeEvent_Tick, &log);
  clock.RegisterTimeObject(&a);
  clock.Reset();
  EXPECT_TRUE(clock.GetTimeObjects().empty());
  EXPECT_EQ(clock.hour, 1);
  EXPECT_EQ(clock.year, 1970);
}

}  // namespace
