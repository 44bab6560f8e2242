#pragma once
// A dated event of the event manager's queue (16 bytes in the save blob),
// and the one ordering of event times that the queue, the due test and the
// airport manager's timetable share.
#include <cstdint>

enum EventKind : uint32_t {
  kEvent_Blizzard = 0,
  kEvent_Hurricane = 1,
  kEvent_Tornado = 2,
  kEvent_Sandstorm = 3,
  kEvent_Drought = 4,
  kEvent_Earthquake = 5,
  kEvent_EarthquakeDamage = 6,
  kEvent_EndGame = 7,
  kEvent_PassengerFlight = 8,
  kEvent_CargoFlight = 9,
  kEvent_FlightCompanion = 10,
};

struct EventRecord {
  uint32_t kind = 0;
  uint8_t second = 0;  // above 59 is legal: due in the following minute
  uint8_t minute = 0;
  uint8_t hour = 0;    // 0-23
  uint16_t dayOfYear = 1;
  uint16_t year = 1970;
  uint32_t payload = 0;
};

// The time of (year, day of year, hour, minute, second) as one ordered
// number, compared field by field. The clock's hour 24 (the first hour of
// a day) counts as 0, so an event later in the day is not due at midnight.
uint64_t EventTimeKey(uint16_t year, uint16_t dayOfYear, uint8_t hour, uint8_t minute, uint8_t second);
inline uint64_t EventTimeKey(const EventRecord& e) {
  return EventTimeKey(e.year, e.dayOfYear, e.hour, e.minute, e.second);
}
