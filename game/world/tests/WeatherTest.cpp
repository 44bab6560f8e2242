#include "game/world/KV9WeatherManager.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "game/world/WeatherCalendar.h"
#include "game/world/tests/FakeWeatherHost.h"
#include "platform/Random.h"

namespace {

// A climate of the same month twelve times.
std::array<MonthlyClimate, kClimateMonths> Climate(float low, float high, float clouds, float precipitation,
                                                   float thunder) {
  std::array<MonthlyClimate, kClimateMonths> table{};
  for (size_t m = 0; m < table.size(); ++m) {
    table[m] = {low, high, 0.0f, 10.0f, clouds, precipitation, thunder};
  }
  return table;
}

class WeatherTest : public ::testing::Test {
 protected:
  WeatherTest() : weather(nullptr, &host) {
    host.clock.SetDate(2003, 1, 15, 12, 0, 0);
    weather.Init();
  }
  FakeWeatherHost host;
  cKV9_WeatherManager weather;
};

TEST(WeatherCalendar, LeapYearsAndMonths) {
  struct Case {
    uint32_t year;
    bool leap;
  } cases[] = {{1896, false}, {1900, false}, {1904, true}, {2000, true}, {2100, false}, {2004, true}, {2003, false}};
  for (const Case& c : cases) EXPECT_EQ(Weather_IsLeapYear(c.year), c.leap) << c.year;
  EXPECT_EQ(Weather_DaysInMonth(2, true), 29u);
  EXPECT_EQ(Weather_DaysInMonth(2, false), 28u);
  EXPECT_EQ(Weather_DaysInMonth(11, false), 30u);
  EXPECT_EQ(Weather_DaysInMonth(12, false), 31u);
}

TEST_F(WeatherTest, MonthlyValuesBlendAtTheEnds) {
  std::array<MonthlyClimate, kClimateMonths> table{};
  for (size_t m = 0; m < 12; ++m) {
    table[m].cloudThreshold = static_cast<float>(m + 1) * 0.05f;
    table[m].thunderThreshold = 0.3f;
  }
  weather.SetClimate(&table, 0);
  struct Case {
    const char* name;
    int field;
    uint32_t month, day;
    float expected;
  } cases[] = {
      {"day 7 is the month's own", 4, 3, 7, 0.15f},
      {"mid-month is the month's own", 4, 3, 15, 0.15f},
      {"the last day is the next month's", 4, 3, 31, 0.20f},
      {"day 0 is the previous month's", 4, 3, 0, 0.10f},
      {"January's previous is December", 4, 1, 0, 0.60f},
      {"December's next is January", 4, 12, 31, 0.05f},
      {"thunder without the hazard is 0", 6, 5, 15, 0.0f},
  };
  for (const Case& c : cases) EXPECT_NEAR(weather.BlendMonthlyValue(c.field, c.month, c.day), c.expected, 1e-6f) << c.name;
  weather.SetClimate(&table, 0x20);
  EXPECT_FLOAT_EQ(weather.BlendMonthlyValue(6, 5, 15), 0.3f);
}

TEST_F(WeatherTest, TemperatureMeetsTheLowAndTheHigh) {
  WeatherBlock& b = weather.MutableBlock();
  const float lows[3] = {10, 20, 30}, highs[3] = {40, 50, 60};
  std::copy(lows, lows + 3, b.lows);
  std::copy(highs, highs + 3, b.highs);
  EXPECT_FLOAT_EQ(weather.TemperatureAt(3.0f), 20.0f);
  EXPECT_FLOAT_EQ(weather.TemperatureAt(13.0f), 50.0f);
  EXPECT_NEAR(weather.TemperatureAt(27.0f), 30.0f, 1e-4f);  // the next day's 3:00 by the evening curve
  EXPECT_NEAR(weather.TemperatureAt(2.999f), 20.0f, 0.05f);
}

TEST_F(WeatherTest, DaylightFollowsTheClockOnlyWhenTheCycleIsOn) {
  struct Case {
    uint8_t hour, minute;
    float factor;
  } cases[] = {{12, 0, 1.0f}, {24, 0, 0.15f}, {5, 0, 0.15f}, {20, 0, 0.15f}, {19, 30, 0.15f}};
  for (const Case& c : cases) {
    host.clock.SetDate(2003, 6, 1, c.hour, c.minute, 0);
    weather.SetDayNightCycle(false);
    EXPECT_FLOAT_EQ(weather.DaylightFactor(0.8f), 0.8f);
    weather.SetDayNightCycle(true);
    EXPECT_NEAR(weather.DaylightFactor(0.8f), 0.8f * c.factor, 1e-5f) << int(c.hour);
  }
  host.options["App|Day\\NightCycle"] = "TRUE";
  weather.Init();
  EXPECT_TRUE(weather.DayNightCycle());
  host.options["App|Day\\NightCycle"] = "yes";
  weather.Init();
  EXPECT_FALSE(weather.DayNightCycle());
}

// Clouds and precipitation every hour (thresholds above any noise) in a
// freezing month: what falls depends on the location's hazard bits.
TEST_F(WeatherTest, HazardBitsDecideWhatFalls) {
  struct Case {
    const char* name;
    uint32_t hazards;
    float low, high, thunder;
    uint8_t state;
    int32_t snow;
  } cases[] = {
      {"no snow bit: rain below freezing", 0x00, 0.0f, 10.0f, 0.0f, kWeather_Rainy, kSnowNone},
      {"snow bit: snow below freezing", 0x08, 0.0f, 10.0f, 0.0f, kWeather_Snowing, kSnowAccumulating},
      {"snow bit but warm: rain", 0x08, 50.0f, 60.0f, 0.0f, kWeather_Rainy, kSnowNone},
      {"thunder threshold without the thunder bit: rain", 0x00, 50.0f, 60.0f, 1.5f, kWeather_Rainy, kSnowNone},
      {"thunder bit: thunderstorm", 0x20, 50.0f, 60.0f, 1.5f, kWeather_Thunderstorm, kSnowNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeWeatherHost h;
    h.clock.SetDate(2003, 1, 15, 12, 0, 0);
    cKV9_WeatherManager w(nullptr, &h);
    w.Init();
    const auto table = Climate(c.low, c.high, 1.5f, 1.5f, c.thunder);
    w.SetClimate(&table, c.hazards);
    ASSERT_EQ(w.Start(), 0);
    EXPECT_EQ(w.Block().state, c.state);
    EXPECT_EQ(h.snowState, c.snow);
    EXPECT_EQ(h.snowVehicles, c.state == kWeather_Snowing ? 1 : 0);
    EXPECT_NE(h.running, -1);  // the precipitation's effect runs
    w.Stop();
    EXPECT_EQ(h.running, -1);
    EXPECT_EQ(h.icon, "");
  }
}

// A long freezing spell of snow: only a location with the blizzard bit ever
// schedules a blizzard (one in two hundred snowy hours), and the scheduled
// one is marked as coming.
TEST(WeatherHazards, BlizzardsOnlyWhereTheLocationHasThem) {
  struct Case {
    const char* name;
    uint32_t hazards;
    bool blizzard;
  } cases[] = {
      {"snow and blizzard bits", 0x09, true},
      {"snow bit only", 0x08, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::SRand(3);
    FakeWeatherHost h;
    h.clock.SetDate(2003, 1, 15, 12, 0, 0);
    cKV9_WeatherManager w(nullptr, &h);
    w.Init();
    const auto table = Climate(0.0f, 10.0f, 1.5f, 1.5f, 0.0f);
    w.SetClimate(&table, c.hazards);
    ASSERT_EQ(w.Start(), 0);
    for (int hour = 0; hour < 3000; ++hour) {
      w.UpdateHourlyWeather();
      ASSERT_EQ(w.Block().state, kWeather_Snowing);
    }
    bool scheduled = false;
    for (const EventRecord& e : h.events) scheduled = scheduled || e.kind == kEvent_Blizzard;
    EXPECT_EQ(scheduled, c.blizzard);
    EXPECT_EQ(w.Block().blizzardFlag, c.blizzard ? 1 : 0);
    EXPECT_EQ(h.closure, 0) << "a coming blizzard has not closed the airport";
  }
}

TEST_F(WeatherTest, ClearSkiesAreSunnyAndMeltTheSnow) {
  const auto table = Climate(50.0f, 60.0f, 0.0f, 0.0f, 0.0f);
  weather.SetClimate(&table, 0x08);
  host.snowState = kSnowComplete;
  host.snowAmount = 1.0f;
  ASSERT_EQ(weather.Start(), 0);
  EXPECT_EQ(weather.Block().state, kWeather_Sunny);
  EXPECT_EQ(host.label, "Mostly Sunny");
  EXPECT_EQ(host.icon, "Interface\\InGame\\WeatherIcons\\stcSunny.jsm");
  EXPECT_EQ(host.snowState, kSnowMelting);
  EXPECT_FLOAT_EQ(host.snowRate, -1.0f / 10800.0f);
  EXPECT_EQ(host.running, -1);
}

TEST_F(WeatherTest, BlizzardsOpenAndCloseTheAirportOnce) {
  const auto table = Climate(50.0f, 60.0f, 0.0f, 0.0f, 0.0f);
  weather.SetClimate(&table, 0x01);
  ASSERT_EQ(weather.Start(), 0);
  // Coming, then called off: the airport was never closed.
  weather.EndBlizzard(1);
  weather.EndBlizzard(0);
  EXPECT_EQ(host.closure, 0);
  EXPECT_TRUE(host.notices.empty());
  // The console's blizzard closes it and marks the blizzard.
  weather.SetWeatherByName("BLIZZARD");
  EXPECT_EQ(weather.Block().blizzardFlag, 1);
  EXPECT_EQ(host.closure, 1);
  EXPECT_EQ(host.effects.back(), WeatherEffect::Blizzard);
  EXPECT_EQ(host.loops.back(), "Sounds\\Weather\\WE_blizzard.wav");
  weather.StartBlizzard(0);  // already blowing: not closed twice
  EXPECT_EQ(host.closure, 1);
  weather.EndBlizzard(0);
  EXPECT_EQ(host.closure, 0);
  weather.EndBlizzard(0);
  EXPECT_EQ(host.closure, 0);
  EXPECT_EQ(host.notices, (std::vector<std::string>{"Blizzard!", "The blizzard has subsided"}));
  weather.StartBlizzard(1);  // quiet: no notice, no closure
  EXPECT_EQ(host.closure, 0);
}

TEST_F(WeatherTest, NamesEnterStates) {
  const auto table = Climate(50.0f, 60.0f, 0.0f, 0.0f, 0.0f);
  weather.SetClimate(&table, 0);
  ASSERT_EQ(weather.Start(), 0);
  struct Case {
    const char* name;
    uint8_t state;
    const char* label;
  } cases[] = {{"Rainy", kWeather_Rainy, "Raining"},
               {"thunderstorm", kWeather_Thunderstorm, "Thunderstorms"},
               {"PartlyCloudy", kWeather_PartlyCloudy, "Partly Cloudy"},
               {"no such weather", kWeather_PartlyCloudy, "Partly Cloudy"},
               {"snowing", kWeather_Snowing, "Snowing"},
               {"mostlycloudy", kWeather_MostlyCloudy, "Mostly Cloudy"}};
  for (const Case& c : cases) {
    weather.SetWeatherByName(c.name);
    EXPECT_EQ(weather.Block().state, c.state) << c.name;
    EXPECT_EQ(host.label, c.label) << c.name;
  }
}

TEST_F(WeatherTest, SavedBlockRoundTripsAndOnlyWhole) {
  const auto table = Climate(50.0f, 60.0f, 0.0f, 0.0f, 0.0f);
  weather.SetClimate(&table, 0);
  ASSERT_EQ(weather.Start(), 0);
  weather.SetWeatherByName("rainy");
  weather.MutableBlock().temperature = 55.5f;
  SerialBlock bytes;
  uint32_t n = 0;
  ASSERT_TRUE(weather.Save(&bytes, &n));
  ASSERT_EQ(n, 184u);
  EXPECT_EQ(bytes[181], kWeather_Rainy);
  float t;
  std::memcpy(&t, bytes.get(), 4);
  EXPECT_EQ(t, 55.5f);

  FakeWeatherHost otherHost;
  otherHost.clock.SetDate(2003, 1, 15, 12, 0, 0);
  cKV9_WeatherManager other(nullptr, &otherHost);
  other.Init();
  other.SetClimate(&table, 0);
  EXPECT_FALSE(other.LoadFromBlob(bytes.get(), 183));
  std::vector<uint8_t> nan(bytes.get(), bytes.get() + 184);
  nan[2] = 0xC0;
  nan[3] = 0x7F;
  EXPECT_FALSE(other.LoadFromBlob(nan.data(), 184));
  ASSERT_TRUE(other.LoadFromBlob(bytes.get(), n));
  ASSERT_EQ(other.Start(), 0);
  EXPECT_EQ(other.Block().state, kWeather_Rainy);
  EXPECT_EQ(other.Block().temperature, 55.5f);
  EXPECT_EQ(otherHost.label, "Raining");
  EXPECT_EQ(otherHost.temperature, " 56`F");
  EXPECT_EQ(other.GetBlobSize(), 0u);
}

// A game day on the clock at speed 60: every event reaches the weather, the
// temperature stays within the day's climate, lightning only in storms.
TEST_F(WeatherTest, AGameDayOnTheClock) {
  const auto table = Climate(20.0f, 40.0f, 0.7f, 0.4f, 0.5f);
  weather.SetClimate(&table, 0x7F);
  host.clock.SetDate(2003, 1, 15, 24, 0, 0);
  host.clock.SetSpeed(60);
  ASSERT_EQ(weather.Start(), 0);
  ASSERT_TRUE(host.clock.IsRegistered(&weather));
  float lowest = 1e9f, highest = -1e9f;
  for (int i = 0; i < 24 * 60; ++i) {
    host.clock.Tick(1.0f);
    lowest = std::min(lowest, weather.Block().temperature);
    highest = std::max(highest, weather.Block().temperature);
    ASSERT_LT(weather.Block().state, kWeather_None);
    ASSERT_GE(host.light, 0.0f);
    ASSERT_LE(host.light, 1.0f);
  }
  EXPECT_GE(lowest, 20.0f - 5.0f - 3.0f);
  EXPECT_LE(highest, 40.0f + 5.0f + 3.0f);
  EXPECT_LT(lowest, highest);
  EXPECT_FALSE(host.wind.empty());
  weather.Stop();
  host.clock.Tick(1.0f);
  EXPECT_FALSE(host.clock.IsRegistered(&weather));
}

}  // namespace
