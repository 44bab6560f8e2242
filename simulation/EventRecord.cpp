#include "simulation/EventRecord.h"

#include "simulation/Calendar.h"

uint64_t EventTimeKey(uint16_t year, uint16_t dayOfYear, uint8_t hour, uint8_t minute, uint8_t second) {
  return (static_cast<uint64_t>(year) << 40) | (static_cast<uint64_t>(dayOfYear) << 24) |
         (static_cast<uint64_t>(calendar::HourOfDay(hour)) << 16) | (static_cast<uint64_t>(minute) << 8) | second;
}
