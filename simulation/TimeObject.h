#pragma once
// The game clock's event interface. A registrant sets its event mask before
// it registers; the clock calls OnTime once for each event whose bit is in
// the mask.
#include <cstdint>

// Event bits: exactly one is passed as the event flag.
inline constexpr uint32_t kTimeEvent_Tick = 0x01;
inline constexpr uint32_t kTimeEvent_Minute = 0x04;
inline constexpr uint32_t kTimeEvent_Hour = 0x08;
inline constexpr uint32_t kTimeEvent_Day = 0x10;
inline constexpr uint32_t kTimeEvent_Week = 0x20;
inline constexpr uint32_t kTimeEvent_Month = 0x40;
inline constexpr uint32_t kTimeEvent_Year = 0x80;
inline constexpr uint32_t kTimeEvent_Second = 0x100;

class cSimulation_TimeObject {
 public:
  cSimulation_TimeObject() = default;
  explicit cSimulation_TimeObject(uint32_t mask) : eventMask(mask) {}
  virtual ~cSimulation_TimeObject() = default;

  // totalSeconds: game seconds since 1970; interval and gameDelta as the
  // clock's event table gives them. A negative result stops this event's
  // delivery to the objects after this one.
  virtual int32_t OnTime(uint32_t totalSeconds, uint32_t interval, uint32_t eventFlag, float gameDelta) = 0;

  uint32_t eventMask = 0;
};
