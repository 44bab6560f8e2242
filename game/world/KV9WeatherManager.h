#pragma once
// The outdoor conditions of the airport's location, driven by the game
// clock: the temperature over the day, the wind, six weather states with
// blizzards on top of snow, fog, lightning with thunder, the weather loop,
// the precipitation's particle effect, daylight by time of day, and the
// hazards weather can set off.
#include <array>
#include <cstdint>
#include <string>

#include "engine/files/SerializedObject.h"
#include "game/WorldPartOps.h"
#include "game/world/MonthlyClimate.h"
#include "game/world/WeatherBlock.h"
#include "game/world/WeatherHost.h"
#include "simulation/TimeObject.h"
#include "simulation/WeatherManager.h"

enum WeatherState : uint8_t {
  kWeather_Sunny = 0,
  kWeather_PartlyCloudy = 1,
  kWeather_MostlyCloudy = 2,
  kWeather_Rainy = 3,
  kWeather_Thunderstorm = 4,
  kWeather_Snowing = 5,
  kWeather_None = 6,  // no state yet: the first one is always entered
};

class cKV9_WeatherManager : public cEntity_WeatherManager,
                            public cSimulation_TimeObject,
                            public cSerialized_Object,
                            public WeatherManagerOps {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:WEATHERMANAGER";
  static constexpr uint32_t kEventMask = 0x1d;  // tick, minute, hour, day

  // `host` outlives the manager.
  cKV9_WeatherManager(cEntity_Manager* manager, WeatherHost* host);
  ~cKV9_WeatherManager() override;

  CoreStatus Exit() override;
  using cEntity_WeatherManager::Init;
  CoreStatus Init() override;
  CoreStatus Start() override;
  CoreStatus Stop() override;
  int32_t OnTime(uint32_t totalSeconds, uint32_t interval, uint32_t eventFlag, float elapsed) override;

  // The saved block; a loaded one waits for the next Start.
  bool Save(SerialBlock* bytes, uint32_t* n) override;
  // Keeps the blob only when it is exactly 184 bytes of finite numbers.
  bool LoadFromBlob(const uint8_t* bytes, uint32_t n) override;

  // The current location's twelve months (kept by pointer) and hazard bits.
  void SetClimate(const std::array<MonthlyClimate, kClimateMonths>* climate, uint32_t hazards);

  void StartBlizzard(uint8_t quiet) override;
  // The Parts give the weather no flight delay: always 0.
  uint32_t GetFlightDelay() override { return 0; }
  void EndBlizzard(uint8_t flag);
  void SetWeatherByName(const std::string& name);
  void ResetLighting() override;
  void ApplyLighting() override;
  const JVector* GetWind() override { return &block_.wind; }
  void SetLightLevel(float level, uint8_t applyDaylight);
  void SetAmbientColour(float r, float g, float b, uint8_t applyDaylight);
  void SetFogDensity(float density);

  // The climate model, public for the tables of cases.
  float TemperatureAt(float t) const;
  float BlendMonthlyValue(int field, uint32_t month, uint32_t day) const;
  float DaylightFactor(float v) const;
  void RollDailyClimate();
  void UpdateTemperatureAndWind();
  void UpdateHourlyWeather();
  void UpdateWeatherSound();
  void EnterState(uint8_t state, uint8_t hour);

  const WeatherBlock& Block() const { return block_; }
  WeatherBlock& MutableBlock() { return block_; }
  bool DayNightCycle() const { return dayNight_; }
  void SetDayNightCycle(bool on) { dayNight_ = on; }
  int32_t EffectId() const { return effectId_; }
  const std::string& TemperatureText() const { return temperatureText_; }
  const std::string& WindText() const { return windText_; }

 private:
  // Hour of day 0-23 and the fraction t = hour + minute / 60 from the clock.
  uint8_t HourNow() const;
  float DayTime() const;
  const MonthlyClimate* Month(uint32_t month) const;
  // The precipitation threshold of the day `hours` hours after today's hour h.
  float PrecipitationThresholdAfter(uint8_t h, int hours) const;
  void SetWind(float n);
  void TryEarthquake(uint8_t h);
  void TryBlizzard(uint8_t h);
  void ScheduleBlizzard(uint8_t h);
  void ScheduleTornado(uint8_t h);
  void ScheduleAt(uint32_t kind, int hour);
  void RestartEffect(bool start, WeatherEffect effect);
  void FormatReadouts();

  WeatherHost* host_;
  WeatherBlock block_;
  int32_t effectId_ = -1;
  std::string temperatureText_;
  std::string windText_;
  const std::array<MonthlyClimate, kClimateMonths>* climate_ = nullptr;
  uint32_t hazards_ = 0;
  bool dayNight_ = false;
  bool lightingEnabled_ = false;
  bool snowing_ = false;  // this hour's weather is snow
};
