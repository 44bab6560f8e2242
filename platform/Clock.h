#pragma once
// Time sources: a monotonic performance counter and a 32-bit millisecond tick
// count. A test clock can replace both so frame timing is deterministic.
#include <cstdint>

namespace platform {

bool QueryPerformanceCounter(int64_t* count);
bool QueryPerformanceFrequency(int64_t* frequency);
// The machine's own counter (nanoseconds), never the test clock's: for the
// frame timings a run reports, which stay real under a test clock.
int64_t RealCounterNanoseconds();
// Milliseconds since an arbitrary start, wrapping at 2^32.
uint32_t GetTickCount();
// Seconds since 1970, for the seeds the game takes from the date. Under a
// test clock: TestClock::kWallClockStart plus its whole seconds, so runs on
// a test clock draw the same numbers every time.
int64_t WallClockSeconds();

// Whether the frame timings a run reports (the renderer's metrics) read the
// machine's own counter even while a test clock is installed. Off by
// default, so that tests can time frames on their test clock; the program
// turns it on when it runs on a fixed step.
void SetFrameTimingsReal(bool real);
bool FrameTimingsReal();

// While installed, the counter, tick count and wall clock read from this
// clock.
class TestClock {
 public:
  static constexpr int64_t kFrequency = 1'000'000;  // counts per second
  static constexpr int64_t kWallClockStart = 1'000'000'000;  // seconds since 1970
  TestClock();
  ~TestClock();
  TestClock(const TestClock&) = delete;
  TestClock& operator=(const TestClock&) = delete;

  void AdvanceSeconds(double seconds);
  void AdvanceMicroseconds(int64_t micros) { counter_ += micros; }
  void SetCounter(int64_t counter) { counter_ = counter; }
  int64_t Counter() const { return counter_; }

 private:
  int64_t counter_ = 0;
  TestClock* previous_;
};

}  // namespace platform
