#pragma once
// The one calendar of the game clock: month and year lengths, conversions
// between game seconds and dates, and the day of year. Game seconds count
// from 1 January 1970 00:00:00. The clock's calendar has no 11 September
// 2001 (10 September is followed by 12 September), so every conversion here
// keeps that day out: that year has 364 days and that September 29.
#include <cstdint>

namespace calendar {

inline constexpr uint32_t kSecondsPerDay = 86400;
inline constexpr uint16_t kEpochYear = 1970;

struct Date {
  uint16_t year = kEpochYear;
  uint8_t month = 1;  // 1-12
  uint8_t day = 1;    // 1-31
  uint8_t hour = 0;   // 0-23
  uint8_t minute = 0;
  uint8_t second = 0;
  uint16_t dayOfYear = 1;
};

bool IsLeapYear(uint32_t year);
// Gregorian days of month 1-12 (0 outside that range).
uint32_t DaysInMonth(uint32_t month, uint32_t year);
// True for the day the clock's calendar leaves out.
bool IsSkippedDay(uint32_t year, uint32_t month, uint32_t day);
// Days the clock spends in that month or year (the skipped day left out).
uint32_t ClockDaysInMonth(uint32_t month, uint32_t year);
uint32_t ClockDaysInYear(uint32_t year);
// Day of year (1-366) as the clock counts it.
uint16_t DayOfYear(uint32_t year, uint32_t month, uint32_t day);
// The clock's hours run 24 (midnight), 1 ... 23: the hour of day 0-23.
inline uint8_t HourOfDay(uint8_t clockHour) { return clockHour == 24 ? 0 : clockHour; }

Date SecondsToDate(uint32_t seconds);
// Seconds of a date; hour 0-23 (24 counts as 0). Dates past what 32 bits
// hold wrap, as the clock's own count does.
uint32_t DateToSeconds(uint32_t year, uint32_t month, uint32_t day, uint32_t hour, uint32_t minute,
                       uint32_t second);

// A moment given as possibly out-of-range whole numbers, carried into range:
// minutes into hours, hours into days of year, days into years, each
// borrowing from the next larger unit when below its range. Years are as
// long as the clock's. Hour 24 is simply the next day's hour 0.
struct EventTime {
  int32_t year = kEpochYear;
  int32_t dayOfYear = 1;  // 1 .. the year's length
  int32_t hour = 0;       // 0-23
  int32_t minute = 0;     // 0-59
};
EventTime NormaliseEventTime(int32_t year, int32_t dayOfYear, int32_t hour, int32_t minute);

// "January" ... "December"; "" outside 1-12.
const char* MonthName(uint32_t month);
// "Jan" ... "Dec" ("Sept" for September); "" outside 1-12.
const char* ShortMonthName(uint32_t month);

}  // namespace calendar
