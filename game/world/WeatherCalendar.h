#pragma once
// The weather's own calendar rules and the daily temperature curve.
#include <cstdint>

// No year up to 1900 is a leap year; after it the Gregorian rule.
bool Weather_IsLeapYear(uint32_t year);
// Days of month 1-12.
uint32_t Weather_DaysInMonth(uint32_t month, bool leap);
