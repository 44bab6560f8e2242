#include "platform/Clock.h"

#include <chrono>
#include <ctime>

namespace platform {
namespace {
TestClock* g_testClock = nullptr;

int64_t SteadyNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}
}  // namespace

bool QueryPerformanceCounter(int64_t* count) {
  if (!count) return false;
  *count = g_testClock ? g_testClock->Counter() : SteadyNanoseconds();
  return true;
}

bool QueryPerformanceFrequency(int64_t* frequency) {
  if (!frequency) return false;
  *frequency = g_testClock ? TestClock::kFrequency : 1'000'000'000;
  return true;
}

int64_t RealCounterNanoseconds() { return SteadyNanoseconds(); }

namespace {
bool g_frameTimingsReal = false;
}

void SetFrameTimingsReal(bool real) { g_frameTimingsReal = real; }
bool FrameTimingsReal() { return g_frameTimingsReal; }

uint32_t GetTickCount() {
  if (g_testClock) return static_cast<uint32_t>(g_testClock->Counter() / (TestClock::kFrequency / 1000));
  return static_cast<uint32_t>(SteadyNanoseconds() / 1'000'000);
}

int64_t WallClockSeconds() {
  if (g_testClock) return TestClock::kWallClockStart + g_testClock->Counter() / TestClock::kFrequency;
  return static_cast<int64_t>(std::time(nullptr));
}

TestClock::TestClock() : previous_(g_testClock) { g_testClock = this; }

TestClock::~TestClock() { g_testClock = previous_; }

void TestClock::AdvanceSeconds(double seconds) { counter_ += static_cast<int64_t>(seconds * kFrequency + 0.5); }

}  // namespace platform
