#include "engine/frame/Timer.h"

#include <gtest/gtest.h>

#include "platform/Clock.h"

namespace {

bool NoCounter(int64_t*) { return false; }

class TimerTest : public ::testing::Test {
 protected:
  platform::TestClock clock;
  Timer timer;
};

TEST_F(TimerTest, TableStartsWith64FreeSlotsAndHandsOutTheHighestFirst) {
  EXPECT_EQ(timer.CreateTimeline("early", false, Timer::kUnlimitedTime, -1), -1);
  timer.Init();
  EXPECT_TRUE(timer.UsesCounter());
  EXPECT_EQ(timer.GetCapacity(), 64);
  EXPECT_EQ(timer.GetFreeCount(), 64);
  EXPECT_EQ(timer.CreateTimeline("a", false, Timer::kUnlimitedTime, -1), 63);
  EXPECT_EQ(timer.CreateTimeline("b", true, 5.0f, 3), 62);
  EXPECT_EQ(timer.GetFreeCount(), 62);
  EXPECT_EQ(timer.FindTimeline("b"), 62);
  EXPECT_EQ(timer.FindTimeline("B"), -1);  // names are case-sensitive

  // A name in use gives back its index and keeps its limits and pause state.
  EXPECT_EQ(timer.CreateTimeline("b", false, 99.0f, 9), 62);
  EXPECT_TRUE(timer.IsPaused(62));
  EXPECT_FLOAT_EQ(timer.GetRemainingTime(62), 5.0f);
  EXPECT_EQ(timer.GetRemainingFrames(62), 3);

  timer.Init();  // a second Init changes nothing
  EXPECT_EQ(timer.FindTimeline("a"), 63);

  timer.ReleaseTimeline(63);
  EXPECT_EQ(timer.GetFreeCount(), 63);
  EXPECT_EQ(timer.FindTimeline("a"), -1);
  EXPECT_EQ(timer.CreateTimeline("c", false, Timer::kUnlimitedTime, -1), 63);
}

// Reported frame timings stay real while a test clock steps the game: ten
// seconds on the test clock are not what a real-time timeline measures,
// while an ordinary one measures exactly them.
TEST_F(TimerTest, ARealTimeTimerIgnoresTheTestClock) {
  Timer real;
  real.MeasureRealTime();
  real.Init();
  timer.Init();
  const int32_t a = real.CreateTimeline("frame", false, Timer::kUnlimitedTime, -1);
  const int32_t b = timer.CreateTimeline("frame", false, Timer::kUnlimitedTime, -1);
  clock.AdvanceSeconds(10.0);
  real.TickTimeline(a);
  timer.TickTimeline(b);
  EXPECT_FLOAT_EQ(timer.GetTimelineValue(b), 10000.0f);
  EXPECT_GE(real.GetTimelineValue(a), 0.0f);
  EXPECT_LT(real.GetTimelineValue(a), 5000.0f);
}

TEST_F(TimerTest, The65thTimelineDoublesTheTableAndKeepsIndices) {
  timer.Init();
  for (int i = 0; i < 64; ++i) timer.CreateTimeline("t" + std::to_string(i), false, Timer::kUnlimitedTime, -1);
  EXPECT_EQ(timer.GetFreeCount(), 0);
  EXPECT_EQ(timer.FindTimeline("t0"), 63);
  int32_t extra = timer.CreateTimeline("t64", false, Timer::kUnlimitedTime, -1);
  EXPECT_EQ(timer.GetCapacity(), 128);
  EXPECT_EQ(extra, 127);
  EXPECT_EQ(timer.GetFreeCount(), 63);
  EXPECT_EQ(timer.FindTimeline("t0"), 63);
  EXPECT_EQ(timer.FindTimeline("t63"), 0);
}

TEST_F(TimerTest, TicksMeasureMillisecondsFromTheCounter) {
  timer.Init();
  int32_t t = timer.CreateTimeline("t", false, Timer::kUnlimitedTime, -1);
  clock.AdvanceSeconds(0.25);
  EXPECT_EQ(timer.TickTimeline(t), 1);
  EXPECT_FLOAT_EQ(timer.GetTimelineValue(t), 250.0f);
  clock.AdvanceMicroseconds(1500);
  timer.TickTimeline(t);
  EXPECT_FLOAT_EQ(timer.GetTimelineValue(t), 1.5f);
}

TEST_F(TimerTest, WithoutACounterTheTickCountGivesWholeMilliseconds) {
  Timer::FrequencySource previous = Timer::SetFrequencySource(&NoCounter);
  Timer local;
  local.Init();
  Timer::SetFrequencySource(previous);
  EXPECT_FALSE(local.UsesCounter());
  int32_t t = local.CreateTimeline("t", false, Timer::kUnlimitedTime, -1);
  clock.AdvanceMicroseconds(1700);
  local.TickTimeline(t);
  EXPECT_FLOAT_EQ(local.GetTimelineValue(t), 1.0f);
  clock.AdvanceMicroseconds(1700);
  local.TickTimeline(t);
  EXPECT_FLOAT_EQ(local.GetTimelineValue(t), 2.0f);
}

TEST_F(TimerTest, ATimeLimitCutsTheLastStepAndPauses) {
  timer.Init();
  int32_t t = timer.CreateTimeline("t", false, 100.0f, -1);
  clock.AdvanceSeconds(0.06);
  timer.TickTimeline(t);
  EXPECT_FLOAT_EQ(timer.GetTimelineValue(t), 60.0f);
  EXPECT_FALSE(timer.IsPaused(t));
  clock.AdvanceSeconds(0.06);
  timer.TickTimeline(t);
  EXPECT_FLOAT_EQ(timer.GetTimelineValue(t), 40.0f);
  EXPECT_TRUE(timer.IsPaused(t));
  EXPECT_FLOAT_EQ(timer.GetRemainingTime(t), -20.0f);
  clock.AdvanceSeconds(0.06);
  timer.TickTimeline(t);
  EXPECT_FLOAT_EQ(timer.GetTimelineValue(t), 0.0f);
}

TEST_F(TimerTest, AFrameLimitCountsDownAndPauses) {
  timer.Init();
  int32_t t = timer.CreateTimeline("t", false, Timer::kUnlimitedTime, 2);
  clock.AdvanceSeconds(0.01);
  timer.TickTimeline(t);
  EXPECT_EQ(timer.GetRemainingFrames(t), 1);
  EXPECT_FALSE(timer.IsPaused(t));
  timer.TickTimeline(t);
  EXPECT_EQ(timer.GetRemainingFrames(t), 0);
  EXPECT_TRUE(timer.IsPaused(t));
  timer.TickTimeline(t);
  EXPECT_EQ(timer.GetRemainingFrames(t), 0);  // zero is no limit to count down
}

TEST_F(TimerTest, TimeSpentPausedIsNeverCounted) {
  timer.Init();
  int32_t t = timer.CreateTimeline("t", false, Timer::kUnlimitedTime, -1);
  clock.AdvanceSeconds(0.1);
  timer.SetPaused(t, true);
  clock.AdvanceSeconds(5.0);
  timer.TickTimeline(t);
  EXPECT_FLOAT_EQ(timer.GetTimelineValue(t), 0.0f);
  timer.SetPaused(t, false);
  clock.AdvanceSeconds(0.02);
  timer.TickTimeline(t);
  EXPECT_FLOAT_EQ(timer.GetTimelineValue(t), 20.0f);
}

TEST_F(TimerTest, BadIndicesAreNoOps) {
  // Before Init every operation answers its neutral value.
  EXPECT_EQ(timer.TickTimeline(0), 0);
  EXPECT_FLOAT_EQ(timer.GetRemainingTime(0), Timer::kUnlimitedTime);
  timer.Init();
  timer.CreateTimeline("t", false, 10.0f, 3);
  for (int32_t bad : {-1, 0, 64, 1 << 30}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(timer.TickTimeline(bad), 0);
    EXPECT_FLOAT_EQ(timer.GetTimelineValue(bad), 0.0f);
    EXPECT_FLOAT_EQ(timer.GetRemainingTime(bad), Timer::kUnlimitedTime);
    EXPECT_EQ(timer.GetRemainingFrames(bad), -1);
    timer.SetRemainingTime(bad, 1.0f);
    timer.SetRemainingFrames(bad, 1);
    timer.SetPaused(bad, true);
    timer.ReleaseTimeline(bad);
    EXPECT_EQ(timer.GetFreeCount(), 63);
  }
  timer.Release();
  EXPECT_EQ(timer.GetCapacity(), 0);
  EXPECT_EQ(timer.GetFreeCount(), 0);
  EXPECT_EQ(timer.TickTimeline(63), 0);
  EXPECT_EQ(timer.CreateTimeline("x", false, 1.0f, 1), -1);
}

}  // namespace
