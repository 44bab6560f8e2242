#include "game/world/WeatherCalendar.h"

bool Weather_IsLeapYear(uint32_t year) {
  if (year <= 1900) return false;
  if (year % 400 == 0) return true;
  if (year % 100 == 0) return false;
  return year % 4 == 0;
}

uint32_t Weather_DaysInMonth(uint32_t month, bool leap) {
  switch (month) {
    case 4:
    case 6:
    case 9:
    case 11:
      return 30;
    case 2:
      return leap ? 29 : 28;
    default:
      return 31;
  }
}
