#pragma once
// One month of a location's climate: seven floats, January first in a table
// of twelve.
struct MonthlyClimate {
  float low = 0.0f;                     // typical daily low, degrees Fahrenheit
  float high = 0.0f;                    // typical daily high, degrees Fahrenheit
  float fogChance = 0.0f;               // 0-1, chance of fog forming at 3:00
  float windScale = 0.0f;               // miles per hour at noise value 1
  float cloudThreshold = 0.0f;          // clouds when the cloud noise lies below
  float precipitationThreshold = 0.0f;  // precipitation when its noise lies below
  float thunderThreshold = 0.0f;        // thunder when its noise lies below
};

inline constexpr int kClimateMonths = 12;
