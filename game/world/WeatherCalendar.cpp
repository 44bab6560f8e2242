#include "game/world/WeatherCalendar.h"

#include "simulation/Calendar.h"

bool Weather_IsLeapYear(uint32_t year) {
  if (year <= 1900) return false;
  if (year % 400 == 0) return true;
  if (year % 100 == 0) return false;
  return year % 4 == 0;
}

uint32_t Weather_DaysInMonth(uint32_t month, bool leap) {
  // February follows the weather's own leap rule; the other months are the
  // clock's calendar in any common year.
  if (month == 2) return leap ? 29 : 28;
  return calendar::DaysInMonth(month, 2001);
}
