#pragma once
// A table of named timelines read from the high-resolution performance
// counter (or from the millisecond tick count on a machine without one).
// Each tick measures the milliseconds since the previous tick of that
// timeline and counts down the timeline's optional time and frame limits; a
// timeline that reaches a limit pauses itself.
//
// Every operation takes a timeline index; an index outside the table, a free
// slot or a table that does not exist yet make it a no-op that answers a
// neutral value.
#include <cfloat>
#include <cstdint>
#include <string>
#include <vector>

class Timer {
 public:
  static constexpr int32_t kInitialCapacity = 64;
  static constexpr float kUnlimitedTime = FLT_MAX;
  static constexpr int32_t kUnlimitedFrames = -1;

  // Where the counter frequency comes from; tests replace it to stand for a
  // machine without a performance counter. Null restores the platform's.
  using FrequencySource = bool (*)(int64_t* frequency);
  static FrequencySource SetFrequencySource(FrequencySource source);

  Timer() = default;
  ~Timer() = default;
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  // Before Init: the timelines read the machine's own counter even while a
  // test clock runs the game (for frame timings that are reported).
  void MeasureRealTime() { realTime_ = true; }
  // Once only: reads the frequency and makes 64 free slots.
  void Init();
  // Index of the timeline (an existing one of that name is answered
  // unchanged); -1 before Init. The table doubles when full.
  int32_t CreateTimeline(const std::string& name, bool paused, float remainingMs, int32_t remainingFrames);
  void ReleaseTimeline(int32_t index);
  // 1 for a timeline in use (ticked), 0 otherwise.
  int32_t TickTimeline(int32_t index);
  // Milliseconds measured by the last tick (0 while paused).
  float GetTimelineValue(int32_t index) const;
  float GetRemainingTime(int32_t index) const;
  void SetRemainingTime(int32_t index, float ms);
  int32_t GetRemainingFrames(int32_t index) const;
  void SetRemainingFrames(int32_t index, int32_t frames);
  // Changing the flag restarts the measurement, so time spent paused is
  // never counted.
  void SetPaused(int32_t index, bool paused);
  bool IsPaused(int32_t index) const;
  // The timeline in use with exactly that name, or -1.
  int32_t FindTimeline(const std::string& name) const;
  // Frees the table; capacity and free count become 0.
  void Release();

  bool IsInUse(int32_t index) const { return Slot(index) != nullptr; }
  const std::string* GetTimelineName(int32_t index) const;
  bool UsesCounter() const { return useCounter_; }
  int32_t GetCapacity() const { return capacity_; }
  int32_t GetFreeCount() const { return freeCount_; }
  bool IsInitialised() const { return !slots_.empty(); }

 private:
  struct Timeline {
    std::string name;
    int32_t index = -1;  // own position when in use, -1 when free
    int64_t lastReading = 0;
    float elapsed = 0.0f;
    float remainingTime = kUnlimitedTime;
    int32_t remainingFrames = kUnlimitedFrames;
    bool paused = false;
  };

  int64_t ReadCounter() const;
  Timeline* Slot(int32_t index);
  const Timeline* Slot(int32_t index) const;

  bool useCounter_ = false;
  bool realTime_ = false;
  int64_t frequency_ = 0;
  float frequencyF_ = 1.0f;
  std::vector<Timeline> slots_;
  int32_t capacity_ = 0;
  int32_t freeCount_ = 0;
};
