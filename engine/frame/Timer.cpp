#include "engine/frame/Timer.h"

#include "platform/Clock.h"

namespace {
Timer::FrequencySource g_frequencySource = nullptr;
}  // namespace

Timer::FrequencySource Timer::SetFrequencySource(FrequencySource source) {
  FrequencySource previous = g_frequencySource;
  g_frequencySource = source;
  return previous;
}

void Timer::Init() {
  if (!slots_.empty()) return;
  int64_t frequency = 0;
  bool ok = false;
  if (realTime_) {
    frequency = 1'000'000'000;  // nanoseconds
    ok = true;
  } else {
    ok = g_frequencySource ? g_frequencySource(&frequency) : platform::QueryPerformanceFrequency(&frequency);
  }
  useCounter_ = ok && frequency > 0;
  if (useCounter_) {
    frequency_ = frequency;
    frequencyF_ = static_cast<float>(frequency);
  }
  slots_.assign(kInitialCapacity, Timeline{});
  capacity_ = kInitialCapacity;
  freeCount_ = kInitialCapacity;
}

int64_t Timer::ReadCounter() const {
  if (realTime_) return platform::RealCounterNanoseconds();
  if (useCounter_) {
    int64_t now = 0;
    platform::QueryPerformanceCounter(&now);
    return now;
  }
  return static_cast<int64_t>(platform::GetTickCount());
}

Timer::Timeline* Timer::Slot(int32_t index) {
  if (index < 0 || index >= capacity_ || static_cast<size_t>(index) >= slots_.size()) return nullptr;
  Timeline& t = slots_[static_cast<size_t>(index)];
  return t.index == -1 ? nullptr : &t;
}

const Timer::Timeline* Timer::Slot(int32_t index) const { return const_cast<Timer*>(this)->Slot(index); }

int32_t Timer::CreateTimeline(const std::string& name, bool paused, float remainingMs, int32_t remainingFrames) {
  if (slots_.empty()) return -1;
  int32_t existing = FindTimeline(name);
  if (existing != -1) return existing;
  if (freeCount_ == 0) {
    // Doubling keeps every index in use meaning the same slot.
    int32_t old = capacity_;
    slots_.resize(static_cast<size_t>(old) * 2);
    capacity_ = old * 2;
    freeCount_ = old;
  }
  for (int32_t i = capacity_ - 1; i >= 0; --i) {
    Timeline& t = slots_[static_cast<size_t>(i)];
    if (t.index != -1) continue;
    t.name = name;
    t.index = i;
    t.paused = paused;
    t.remainingTime = remainingMs;
    t.remainingFrames = remainingFrames;
    t.lastReading = ReadCounter();
    t.elapsed = 0.0f;
    --freeCount_;
    return i;
  }
  return -1;
}

void Timer::ReleaseTimeline(int32_t index) {
  Timeline* t = Slot(index);
  if (!t) return;
  t->index = -1;
  t->name.clear();
  ++freeCount_;
}

int32_t Timer::TickTimeline(int32_t index) {
  Timeline* t = Slot(index);
  if (!t) return 0;
  if (t->paused) {
    t->elapsed = 0.0f;
    return 1;
  }
  int64_t now = ReadCounter();
  int64_t delta = now - t->lastReading;
  t->lastReading = now;
  if (useCounter_) {
    t->elapsed = static_cast<float>(delta * 1000) / frequencyF_;
  } else {
    t->elapsed = static_cast<float>(delta);
  }
  if (t->remainingTime < kUnlimitedTime && t->remainingTime > 0.0f) {
    t->remainingTime -= t->elapsed;
    if (t->remainingTime <= 0.0f) {
      // Only the part of the step that was still left counts.
      t->elapsed += t->remainingTime;
      t->paused = true;
    }
  }
  if (t->remainingFrames > 0) {
    --t->remainingFrames;
    if (t->remainingFrames == 0) t->paused = true;
  }
  return 1;
}

float Timer::GetTimelineValue(int32_t index) const {
  const Timeline* t = Slot(index);
  return t ? t->elapsed : 0.0f;
}

float Timer::GetRemainingTime(int32_t index) const {
  const Timeline* t = Slot(index);
  return t ? t->remainingTime : kUnlimitedTime;
}

void Timer::SetRemainingTime(int32_t index, float ms) {
  if (Timeline* t = Slot(index)) t->remainingTime = ms;
}

int32_t Timer::GetRemainingFrames(int32_t index) const {
  const Timeline* t = Slot(index);
  return t ? t->remainingFrames : kUnlimitedFrames;
}

void Timer::SetRemainingFrames(int32_t index, int32_t frames) {
  if (Timeline* t = Slot(index)) t->remainingFrames = frames;
}

void Timer::SetPaused(int32_t index, bool paused) {
  Timeline* t = Slot(index);
  if (!t || t->paused == paused) return;
  t->paused = paused;
  t->lastReading = ReadCounter();
}

bool Timer::IsPaused(int32_t index) const {
  const Timeline* t = Slot(index);
  return t ? t->paused : false;
}

int32_t Timer::FindTimeline(const std::string& name) const {
  for (const Timeline& t : slots_) {
    if (t.index != -1 && t.name == name) return t.index;
  }
  return -1;
}

const std::string* Timer::GetTimelineName(int32_t index) const {
  const Timeline* t = Slot(index);
  return t ? &t->name : nullptr;
}

void Timer::Release() {
  slots_.clear();
  slots_.shrink_to_fit();
  capacity_ = 0;
  freeCount_ = 0;
}
