#include <gtest/gtest.h>

#include "simulation/Calendar.h"

namespace {

TEST(CalendarTest, MonthLengthsFollowTheGregorianRule) {
  struct Case {
    const char* name;
    uint32_t month, year, days;
  } cases[] = {
      {"january", 1, 1970, 31},        {"april", 4, 1970, 30},         {"february plain", 2, 1970, 28},
      {"february 2000", 2, 2000, 29},  {"february 2100", 2, 2100, 28}, {"february 2400", 2, 2400, 29},
      {"february 2004", 2, 2004, 29},  {"december", 12, 1999, 31},     {"month 0", 0, 1970, 0},
      {"month 13", 13, 1970, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(calendar::DaysInMonth(c.month, c.year), c.days) << c.name;
}

TEST(CalendarTest, DayOfYearCountsLeapDaysAndLeavesOutTheSkippedDay) {
  struct Case {
    const char* name;
    uint32_t year, month, day;
    uint16_t dayOfYear;
  } cases[] = {
      {"new year", 1970, 1, 1, 1},           {"13 September 2003", 2003, 9, 13, 256},
      {"31 December 2004", 2004, 12, 31, 366}, {"1 March 2000", 2000, 3, 1, 61},
      {"1 March 2100", 2100, 3, 1, 60},        {"10 September 2001", 2001, 9, 10, 253},
      {"12 September 2001", 2001, 9, 12, 254}, {"31 December 2001", 2001, 12, 31, 364},
  };
  for (const Case& c : cases) EXPECT_EQ(calendar::DayOfYear(c.year, c.month, c.day), c.dayOfYear) << c.name;
}

TEST(CalendarTest, SecondsAndDatesConvertBothWays) {
  struct Case {
    const char* name;
    uint32_t seconds;
    uint16_t year;
    uint8_t month, day, hour, minute, second;
  } cases[] = {
      {"epoch", 0, 1970, 1, 1, 0, 0, 0},
      {"noon of the first day", 43200, 1970, 1, 1, 12, 0, 0},
      {"end of 1970", 31535999, 1970, 12, 31, 23, 59, 59},
      {"1 January 1971", 31536000, 1971, 1, 1, 0, 0, 0},
      {"29 February 1972", 68169600, 1972, 2, 29, 0, 0, 0},
      {"10 September 2001, last second", 1000166399, 2001, 9, 10, 23, 59, 59},
      {"next day is 12 September 2001", 1000166400, 2001, 9, 12, 0, 0, 0},
      {"1 January 2002 is a day early", 1009756800, 2002, 1, 1, 0, 0, 0},
  };
  for (const Case& c : cases) {
    const calendar::Date d = calendar::SecondsToDate(c.seconds);
    EXPECT_EQ(d.year, c.year) << c.name;
    EXPECT_EQ(d.month, c.month) << c.name;
    EXPECT_EQ(d.day, c.day) << c.name;
    EXPECT_EQ(d.hour, c.hour) << c.name;
    EXPECT_EQ(d.minute, c.minute) << c.name;
    EXPECT_EQ(d.second, c.second) << c.name;
    EXPECT_EQ(d.dayOfYear, calendar::DayOfYear(c.year, c.month, c.day)) << c.name;
    EXPECT_EQ(calendar::DateToSeconds(c.year, c.month, c.day, c.hour, c.minute, c.second), c.seconds) << c.name;
  }
}

TEST(CalendarTest, TheClockHour24IsMidnight) {
  EXPECT_EQ(calendar::HourOfDay(24), 0);
  EXPECT_EQ(calendar::HourOfDay(1), 1);
  EXPECT_EQ(calendar::DateToSeconds(1970, 1, 2, 24, 0, 0), calendar::DateToSeconds(1970, 1, 2, 0, 0, 0));
}

TEST(CalendarTest, MonthNames) {
  EXPECT_STREQ(calendar::MonthName(1), "January");
  EXPECT_STREQ(calendar::MonthName(12), "December");
  EXPECT_STREQ(calendar::ShortMonthName(9), "Sept");
  EXPECT_STREQ(calendar::ShortMonthName(6), "Jun");
  EXPECT_STREQ(calendar::MonthName(13), "");
}

TEST(CalendarTest, EventTimesCarryAndBorrowIntoRange) {
  struct Case {
    const char* name;
    int32_t year, dayOfYear, hour, minute;
    calendar::EventTime want;
  } cases[] = {
      {"31 December 23:75 is new year 00:15", 1999, 365, 23, 75, {2000, 1, 0, 15}},
      {"a leap year keeps day 366", 2000, 366, 23, 30, {2000, 366, 23, 30}},
      {"past day 366 of a leap year", 2000, 366, 23, 75, {2001, 1, 0, 15}},
      {"minute -30 borrows an hour", 1990, 100, 6, -30, {1990, 100, 5, 30}},
      {"hour 24 is the next day's hour 0", 1990, 100, 24, 0, {1990, 101, 0, 0}},
      {"minute -70 at midnight of new year", 1990, 1, 0, -70, {1989, 365, 22, 50}},
      {"day 0 borrows a leap year's length", 1997, 0, 5, 0, {1996, 366, 5, 0}},
      {"three days of minutes", 1990, 365, 12, 3 * 24 * 60, {1991, 3, 12, 0}},
      {"the year without 11 September has 364 days", 2001, 364, 23, 60, {2002, 1, 0, 0}},
      {"in range stays", 1985, 200, 13, 59, {1985, 200, 13, 59}},
  };
  for (const Case& c : cases) {
    const calendar::EventTime t = calendar::NormaliseEventTime(c.year, c.dayOfYear, c.hour, c.minute);
    EXPECT_EQ(t.year, c.want.year) << c.name;
    EXPECT_EQ(t.dayOfYear, c.want.dayOfYear) << c.name;
    EXPECT_EQ(t.hour, c.want.hour) << c.name;
    EXPECT_EQ(t.minute, c.want.minute) << c.name;
  }
}

}  // namespace
