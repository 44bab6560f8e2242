#include "simulation/Calendar.h"

namespace calendar {

namespace {

constexpr uint32_t kSkippedYear = 2001;
constexpr uint32_t kSkippedMonth = 9;
constexpr uint32_t kSkippedDay = 11;

constexpr const char* kMonthNames[13] = {"",     "January", "February",  "March",   "April",    "May",     "June",
                                         "July", "August",  "September", "October", "November", "December"};
constexpr const char* kShortMonthNames[13] = {"",    "Jan", "Feb", "Mar",  "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sept", "Oct", "Nov", "Dec"};

}  // namespace

bool IsLeapYear(uint32_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

uint32_t DaysInMonth(uint32_t month, uint32_t year) {
  switch (month) {
    case 4:
    case 6:
    case 9:
    case 11:
      return 30;
    case 2:
      return IsLeapYear(year) ? 29 : 28;
    default:
      return month >= 1 && month <= 12 ? 31 : 0;
  }
}

bool IsSkippedDay(uint32_t year, uint32_t month, uint32_t day) {
  return year == kSkippedYear && month == kSkippedMonth && day == kSkippedDay;
}

uint32_t ClockDaysInMonth(uint32_t month, uint32_t year) {
  const uint32_t days = DaysInMonth(month, year);
  return year == kSkippedYear && month == kSkippedMonth ? days - 1 : days;
}

uint32_t ClockDaysInYear(uint32_t year) {
  const uint32_t days = IsLeapYear(year) ? 366 : 365;
  return year == kSkippedYear ? days - 1 : days;
}

uint16_t DayOfYear(uint32_t year, uint32_t month, uint32_t day) {
  uint32_t total = 0;
  for (uint32_t m = 1; m < month && m <= 12; ++m) total += ClockDaysInMonth(m, year);
  if (year == kSkippedYear && month == kSkippedMonth && day > kSkippedDay) --day;
  return static_cast<uint16_t>(total + day);
}

Date SecondsToDate(uint32_t seconds) {
  Date date;
  uint32_t year = kEpochYear;
  uint32_t rest = seconds;
  while (rest >= ClockDaysInYear(year) * kSecondsPerDay) {
    rest -= ClockDaysInYear(year) * kSecondsPerDay;
    ++year;
  }
  uint32_t month = 1;
  while (month < 12 && rest >= ClockDaysInMonth(month, year) * kSecondsPerDay) {
    rest -= ClockDaysInMonth(month, year) * kSecondsPerDay;
    ++month;
  }
  uint32_t day = rest / kSecondsPerDay + 1;
  rest %= kSecondsPerDay;
  const uint16_t dayOfYear = DayOfYear(year, month, day);
  if (year == kSkippedYear && month == kSkippedMonth && day >= kSkippedDay) ++day;
  date.year = static_cast<uint16_t>(year);
  date.month = static_cast<uint8_t>(month);
  date.day = static_cast<uint8_t>(day);
  date.dayOfYear = dayOfYear;
  date.hour = static_cast<uint8_t>(rest / 3600);
  date.minute = static_cast<uint8_t>(rest / 60 % 60);
  date.second = static_cast<uint8_t>(rest % 60);
  return date;
}

uint32_t DateToSeconds(uint32_t year, uint32_t month, uint32_t day, uint32_t hour, uint32_t minute,
                       uint32_t second) {
  uint32_t days = 0;
  for (uint32_t y = kEpochYear; y < year; ++y) days += ClockDaysInYear(y);
  days += DayOfYear(year, month, day) - 1u;
  return days * kSecondsPerDay + ((hour % 24) * 60 + minute) * 60 + second;
}

const char* MonthName(uint32_t month) { return month <= 12 ? kMonthNames[month] : ""; }
const char* ShortMonthName(uint32_t month) { return month <= 12 ? kShortMonthNames[month] : ""; }

EventTime NormaliseEventTime(int32_t year, int32_t dayOfYear, int32_t hour, int32_t minute) {
  // Whole-unit carries by floor division, so any offset settles in one step
  // per unit instead of looping 60 at a time.
  auto carry = [](int32_t* value, int32_t unit) {
    int32_t q = *value / unit;
    if (*value % unit < 0) --q;
    *value -= q * unit;
    return q;
  };
  EventTime t;
  hour += carry(&minute, 60);
  dayOfYear += carry(&hour, 24);
  while (dayOfYear < 1) {
    --year;
    dayOfYear += static_cast<int32_t>(ClockDaysInYear(static_cast<uint32_t>(year)));
  }
  while (dayOfYear > static_cast<int32_t>(ClockDaysInYear(static_cast<uint32_t>(year)))) {
    dayOfYear -= static_cast<int32_t>(ClockDaysInYear(static_cast<uint32_t>(year)));
    ++year;
  }
  t.year = year;
  t.dayOfYear = dayOfYear;
  t.hour = hour;
  t.minute = minute;
  return t;
}

}  // namespace calendar
