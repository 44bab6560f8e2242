#include "game/world/KV9WeatherManager.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "base/StringUtil.h"
#include "engine/math/Noise.h"
#include "game/world/WeatherCalendar.h"
#include "simulation/Calendar.h"
#include "simulation/SimulationClock.h"

namespace {

struct StateInfo {
  float lightTarget;
  const char* label;
  const char* icon;  // under "Interface\InGame\WeatherIcons\"
  int32_t intensityLo, intensityHi;
  bool hasEffect;
  WeatherEffect effect;
  const char* loop;  // under "Sounds\Weather\"; empty for none
};

const StateInfo kStates[6] = {
    {1.0f, "Mostly Sunny", "stcSunny.jsm", 0, 0, false, WeatherEffect::Rain, ""},
    {0.9f, "Partly Cloudy", "stcPartlyCloudy.jsm", 0, 0, false, WeatherEffect::Rain, ""},
    {0.8f, "Mostly Cloudy", "stcMostlyCloudy.jsm", 0, 0, false, WeatherEffect::Rain, ""},
    {0.8f, "Raining", "stcRain.jsm", 0, 5, true, WeatherEffect::Rain, "WE_lrain.wav"},
    {0.7f, "Thunderstorms", "stcThunderStorm.jsm", 5, 15, true, WeatherEffect::StormRain, "WE_srain.wav"},
    {0.9f, "Snowing", "stcSnow.jsm", 0, 10, true, WeatherEffect::Snow, ""},
};
// The loop key of a blowing blizzard, beside the six states.
constexpr uint8_t kBlizzardLoop = 7;
constexpr const char* kBlizzardLoopFile = "WE_blizzard.wav";
constexpr float kFreezing = 32.0f;

float Random01() { return Noise_RandomFloatInRange(0.0f, 1.0f); }

// Moves `current` toward `target` over the time constant; true when it moved.
bool Approach(float& current, float target, float& timeConstant, float elapsed) {
  if (current == target) {
    timeConstant = 0.0f;
    return false;
  }
  if (!(timeConstant > 0.0f)) return false;
  const float step = (target - current) / timeConstant * elapsed;
  if (std::fabs(step) >= std::fabs(target - current))
    current = target;
  else
    current += step;
  if (current == target) timeConstant = 0.0f;
  return true;
}

}  // namespace

cKV9_WeatherManager::cKV9_WeatherManager(cEntity_Manager* manager, WeatherHost* host)
    : cEntity_WeatherManager(manager, kEntityType_Base), host_(host) {}

cKV9_WeatherManager::~cKV9_WeatherManager() = default;

CoreStatus cKV9_WeatherManager::Exit() { return Stop(); }

CoreStatus cKV9_WeatherManager::Init() {
  WeatherBlock& b = block_;
  for (float& c : b.lightColour) c = 1.0f;
  b.lightLevel = b.lightTarget = 0.9f;
  for (int i = 0; i < 3; ++i) b.ambient[i] = b.ambientTarget[i] = 0.9f;
  b.fog = b.fogTarget = 0.001f;
  b.fogTime = b.lightTime = b.ambientTime = 0.0f;
  b.loopLevel = b.loopTarget = b.loopTime = 1.0f;
  b.crossFade[0] = b.crossFade[1] = b.spare = 0.0f;
  b.flashTimer = 0.0f;
  b.blizzardFlag = 0;
  b.blizzardBlowing = 0;
  b.intensity = 0;
  effectId_ = -1;
  lightingEnabled_ = true;
  std::string option;
  dayNight_ = host_ && host_->GetOption("App", "Day\\NightCycle", &option) && str::EqualsNoCase(option, "true");
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", 0.0);
  temperatureText_ = text;
  std::snprintf(text, sizeof text, "%.2f MPH", 0.0);
  windText_ = text;
  return 0;
}

void cKV9_WeatherManager::SetClimate(const std::array<MonthlyClimate, kClimateMonths>* climate, uint32_t hazards) {
  climate_ = climate;
  hazards_ = hazards;
}

uint8_t cKV9_WeatherManager::HourNow() const {
  const cSimulation_Clock* clock = host_ ? host_->GameClock() : nullptr;
  return clock ? static_cast<uint8_t>(calendar::HourOfDay(clock->hour) % 24) : 12;
}

float cKV9_WeatherManager::DayTime() const {
  const cSimulation_Clock* clock = host_ ? host_->GameClock() : nullptr;
  if (!clock) return 12.0f;
  return static_cast<float>(calendar::HourOfDay(clock->hour) % 24) + static_cast<float>(clock->minute) / 60.0f;
}

const MonthlyClimate* cKV9_WeatherManager::Month(uint32_t month) const {
  if (!climate_ || month < 1 || month > 12) return nullptr;
  return &(*climate_)[month - 1];
}

float cKV9_WeatherManager::TemperatureAt(float t) const {
  const WeatherBlock& b = block_;
  const float lowYesterday = b.lows[0], low = b.lows[1], lowTomorrow = b.lows[2];
  const float highYesterday = b.highs[0], high = b.highs[1], highTomorrow = b.highs[2];
  if (t >= 3.0f && t <= 13.0f) return Noise_CubicInterpolate(highYesterday, low, high, lowTomorrow, (t - 3.0f) * 0.1f);
  if (t > 13.0f) return Noise_CubicInterpolate(low, high, lowTomorrow, highTomorrow, (t - 13.0f) / 14.0f);
  return Noise_CubicInterpolate(lowYesterday, highYesterday, low, high, (11.0f + t) / 14.0f);
}

float cKV9_WeatherManager::BlendMonthlyValue(int field, uint32_t month, uint32_t day) const {
  auto value = [&](uint32_t m) -> float {
    const MonthlyClimate* c = Month(m);
    if (!c) return 0.0f;
    switch (field) {
      case 4:
        return c->cloudThreshold;
      case 5:
        return c->precipitationThreshold;
      case 6:
        return (hazards_ & 0x20) ? c->thunderThreshold : 0.0f;
      default:
        return 0.0f;
    }
  };
  if (month < 1 || month > 12) return 0.0f;
  const cSimulation_Clock* clock = host_ ? host_->GameClock() : nullptr;
  const bool leap = clock && Weather_IsLeapYear(clock->year);
  const float n = static_cast<float>(Weather_DaysInMonth(month, leap));
  const float d = static_cast<float>(day);
  const float own = value(month);
  if (d > 7.0f && d < n - 7.0f) return own;
  if (d <= 7.0f) {
    const float w = d / 7.0f;
    return w * own + (1.0f - w) * value(month == 1 ? 12 : month - 1);
  }
  const float w = (n - d) / 7.0f;
  return w * own + (1.0f - w) * value(month == 12 ? 1 : month + 1);
}

float cKV9_WeatherManager::DaylightFactor(float v) const {
  if (!dayNight_) return v;
  const float t = DayTime();
  constexpr float kHalfPi = 1.5707964f;
  if (t < 5.5f || t > 19.5f) return 0.15f * v;
  if (t <= 12.0f) return (0.15f + 0.85f * std::sin((t - 5.5f) / 6.5f * kHalfPi)) * v;
  return (0.15f + 0.85f * std::sin((19.5f - t) / 7.5f * kHalfPi)) * v;
}

void cKV9_WeatherManager::RollDailyClimate() {
  WeatherBlock& b = block_;
  b.lows[0] = b.lows[1];
  b.highs[0] = b.highs[1];
  b.lows[1] = b.lows[2];
  b.highs[1] = b.highs[2];
  const cSimulation_Clock* clock = host_ ? host_->GameClock() : nullptr;
  const uint32_t month = clock ? clock->month : 1;
  const uint32_t day = clock ? clock->day : 1;
  const MonthlyClimate* m = Month(month);
  b.lows[2] = (m ? m->low : 0.0f) + Noise_RandomFloatInRange(-5.0f, 5.0f);
  b.highs[2] = (m ? m->high : 0.0f) + Noise_RandomFloatInRange(-5.0f, 5.0f);
  b.cloudThreshold = BlendMonthlyValue(4, month, day);
  b.precipitationThreshold = BlendMonthlyValue(5, month, day);
  b.thunderThreshold = BlendMonthlyValue(6, month, day);
}

void cKV9_WeatherManager::FormatReadouts() {
  char text[64];
  std::snprintf(text, sizeof text, "%3.0f`F", static_cast<double>(block_.temperature));
  temperatureText_ = text;
  std::snprintf(text, sizeof text, "%.2f MPH", static_cast<double>(block_.windSpeed));
  windText_ = text;
  if (host_) host_->ShowReadouts(temperatureText_, windText_);
}

void cKV9_WeatherManager::SetWind(float n) {
  const float scale = block_.windSpeed * 1.4666667f * 0.30487806f;
  block_.wind = JVector(std::cos(n) * scale, 0.0f, -std::sin(n) * scale, block_.wind.w);
}

void cKV9_WeatherManager::UpdateTemperatureAndWind() {
  WeatherBlock& b = block_;
  b.temperature = TemperatureAt(DayTime());
  const float n = Noise_InterpolatedNoise1D(b.noise[0], false) + 1.0f;
  b.noise[0] += 0.01f;
  const cSimulation_Clock* clock = host_ ? host_->GameClock() : nullptr;
  const MonthlyClimate* m = Month(clock ? clock->month : 1);
  b.windSpeed = n * (m ? m->windScale : 0.0f);
  SetWind(n);
  FormatReadouts();
}

void cKV9_WeatherManager::RestartEffect(bool start, WeatherEffect effect) {
  if (host_ && effectId_ != -1) host_->StopEffect(effectId_);
  effectId_ = -1;
  if (start && host_) effectId_ = host_->StartEffect(effect, &block_.wind);
}

void cKV9_WeatherManager::EnterState(uint8_t state, uint8_t hour) {
  if (state >= kWeather_None || state == block_.state) return;
  const StateInfo& info = kStates[state];
  block_.state = state;
  block_.lightTarget = info.lightTarget;
  block_.lightTime = 300.0f;
  if (host_) {
    host_->ShowWeatherIcon(std::string("Interface\\InGame\\WeatherIcons\\") + info.icon);
    host_->ShowWeatherLabel(info.label);
  }
  block_.intensity = static_cast<uint8_t>(
      info.intensityHi ? Noise_RandomIntInRange(info.intensityLo, info.intensityHi) : 0);
  RestartEffect(info.hasEffect, info.effect);
  if (state == kWeather_Thunderstorm) {
    if (block_.windSpeed > 10.0f && Random01() < 0.005f) ScheduleTornado(hour);
  } else if (state == kWeather_Snowing && host_) {
    int32_t snow = kSnowNone;
    float amount = 0.0f;
    if (host_->GetTerrainSnow(&snow, &amount) && (snow == kSnowNone || snow == kSnowMelting))
      host_->SetTerrainSnow(kSnowAccumulating, 1.0f / 3600.0f);
    const cSimulation_Clock* clock = host_->GameClock();
    if (clock && clock->speed <= 5.0f) host_->SpawnSnowVehicle();
    TryBlizzard(hour);
  }
}

void cKV9_WeatherManager::UpdateHourlyWeather() {
  WeatherBlock& b = block_;
  const uint8_t h = HourNow();
  const float h1 = static_cast<float>(h < 23 ? h + 1 : 0);
  snowing_ = false;
  const float cloud = (Noise_InterpolatedNoise1D(b.noise[1], false) + 1.0f) / 2.0f;
  b.noise[1] += 0.05f;
  if (cloud >= b.cloudThreshold) {
    EndBlizzard(0);
    EnterState(kWeather_Sunny, h);
  } else {
    EnterState(2.0f * cloud >= b.cloudThreshold ? kWeather_PartlyCloudy : kWeather_MostlyCloudy, h);
    const float precip = (Noise_InterpolatedNoise1D(b.noise[2], false) + 1.0f) / 2.0f;
    b.noise[2] += 0.05f;
    if (precip >= b.precipitationThreshold) {
      EndBlizzard(0);
    } else if ((hazards_ & 0x08) && b.temperature <= kFreezing && TemperatureAt(h1) <= kFreezing) {
      EnterState(kWeather_Snowing, h);
      snowing_ = true;
    } else {
      EndBlizzard(0);
      EnterState(kWeather_Rainy, h);
      const float thunder = (Noise_InterpolatedNoise1D(b.noise[3], false) + 1.0f) / 2.0f;
      b.noise[3] += 0.05f;
      if (thunder < b.thunderThreshold) EnterState(kWeather_Thunderstorm, h);
    }
  }
  // Fog forms before dawn and lifts in the morning.
  const cSimulation_Clock* clock = host_ ? host_->GameClock() : nullptr;
  const MonthlyClimate* m = Month(clock ? clock->month : 1);
  if (h == 3) {
    const float r = Random01();
    const float chance = m ? m->fogChance : 0.0f;
    if (r < chance) {
      b.fogTarget = (chance - r) * 0.05f;
      b.fogTime = 10800.0f;
    }
  } else if (h == 7) {
    b.fogTarget = 0.0f;
    b.fogTime = 3600.0f;
  }
  if (!snowing_ && host_) {
    int32_t snow = kSnowNone;
    float amount = 0.0f;
    if (host_->GetTerrainSnow(&snow, &amount)) {
      if (b.temperature > kFreezing || TemperatureAt(h1) > kFreezing) {
        if (snow == kSnowAccumulating || snow == kSnowComplete) host_->SetTerrainSnow(kSnowMelting, -1.0f / 10800.0f);
      } else if ((snow == kSnowMelting || snow == kSnowNone) && amount > 0.0f) {
        host_->SetTerrainSnow(snow, 0.0f);
      }
    }
  }
  if (hazards_ & 0x40) TryEarthquake(h);
}

void cKV9_WeatherManager::ScheduleAt(uint32_t kind, int hour) {
  const cSimulation_Clock* clock = host_ ? host_->GameClock() : nullptr;
  if (!host_ || !clock) return;
  EventRecord event;
  event.kind = kind;
  uint32_t day = clock->dayOfYear;
  uint32_t year = clock->year;
  while (hour >= 24) {
    hour -= 24;
    if (++day > calendar::ClockDaysInYear(year)) {
      day = 1;
      ++year;
    }
  }
  event.hour = static_cast<uint8_t>(hour);
  event.dayOfYear = static_cast<uint16_t>(day);
  event.year = static_cast<uint16_t>(year);
  event.minute = static_cast<uint8_t>(Noise_RandomIntInRange(0, kind == kEvent_Blizzard ? 59 : 50));
  event.second = static_cast<uint8_t>(Noise_RandomIntInRange(0, 59));
  host_->ScheduleEvent(event);
}

void cKV9_WeatherManager::TryEarthquake(uint8_t h) {
  if (Noise_RandomFloatInRange(0.0f, 500000.0f) < 1.0f) ScheduleAt(kEvent_Earthquake, h);
}

void cKV9_WeatherManager::ScheduleTornado(uint8_t h) { ScheduleAt(kEvent_Tornado, h); }

void cKV9_WeatherManager::ScheduleBlizzard(uint8_t h) {
  ScheduleAt(kEvent_Blizzard, h + Noise_RandomIntInRange(0, 2));
  EndBlizzard(1);
}

float cKV9_WeatherManager::PrecipitationThresholdAfter(uint8_t h, int hours) const {
  const cSimulation_Clock* clock = host_ ? host_->GameClock() : nullptr;
  if (!clock) return block_.precipitationThreshold;
  if (h + hours < 24) return block_.precipitationThreshold;
  // The next day, rolling over the month and the year.
  uint32_t month = clock->month, day = clock->day + 1, year = clock->year;
  if (day > Weather_DaysInMonth(month, Weather_IsLeapYear(year))) {
    day = 1;
    if (++month > 12) {
      month = 1;
      ++year;
    }
  }
  return BlendMonthlyValue(5, month, day);
}

void cKV9_WeatherManager::TryBlizzard(uint8_t h) {
  WeatherBlock& b = block_;
  if (b.blizzardFlag || !(hazards_ & 0x01)) return;
  const float p = (Noise_InterpolatedNoise1D(b.noise[2], false) + 1.0f) / 2.0f;
  if (!(p < PrecipitationThresholdAfter(h, h == 23 ? 1 : 0) && b.temperature <= kFreezing &&
        TemperatureAt(static_cast<float>((h + 1) % 24)) <= kFreezing))
    return;
  const float p2 = (Noise_InterpolatedNoise1D(b.noise[2] + 0.05f, false) + 1.0f) / 2.0f;
  if (!(p2 < PrecipitationThresholdAfter(h, 1) && TemperatureAt(static_cast<float>((h + 1) % 24)) <= kFreezing &&
        TemperatureAt(static_cast<float>((h + 2) % 24)) <= kFreezing))
    return;
  if (Random01() < 0.005f) ScheduleBlizzard(h);
}

void cKV9_WeatherManager::StartBlizzard(uint8_t quiet) {
  block_.lightTarget = 0.8f;
  block_.lightTime = 300.0f;
  RestartEffect(true, WeatherEffect::Blizzard);
  if (!quiet) {
    block_.blizzardFlag = 1;
    if (!block_.blizzardBlowing && host_) {
      host_->PostNotice("Blizzard!",
                        "A blizzard has hit!  Your airport has been shut down until the storm subsides.  No flights "
                        "may land or take off in this weather.");
      host_->ChangeAirportClosure(1);
    }
    block_.blizzardBlowing = 1;
  }
  UpdateWeatherSound();
}

void cKV9_WeatherManager::EndBlizzard(uint8_t flag) {
  if (block_.blizzardFlag == flag) return;
  // Only a blizzard that hit (and closed the airport) reopens it: one that
  // was coming and is called off never touched the closure count.
  if (block_.blizzardFlag && block_.blizzardBlowing) {
    if (host_) {
      host_->ChangeAirportClosure(-1);
      host_->PostNotice("The blizzard has subsided", "The blizzard has died down, allowing your airport to reopen.");
    }
    block_.blizzardBlowing = 0;
  }
  block_.blizzardFlag = flag;
}

void cKV9_WeatherManager::UpdateWeatherSound() {
  uint8_t key = block_.state;
  std::string loop;
  if (block_.blizzardBlowing) {
    key = kBlizzardLoop;
    loop = kBlizzardLoopFile;
  } else if (key < kWeather_None) {
    loop = (key == kWeather_Snowing && block_.blizzardFlag) ? kBlizzardLoopFile : kStates[key].loop;
    if (key == kWeather_Snowing && block_.blizzardFlag) key = kBlizzardLoop;
  }
  if (key == block_.lastLoopState) return;
  block_.lastLoopState = key;
  if (host_) host_->CrossFadeLoop(loop.empty() ? std::string() : "Sounds\\Weather\\" + loop, 1.0f, 3.0f);
}

void cKV9_WeatherManager::SetWeatherByName(const std::string& name) {
  static const char* const kNames[6] = {"sunny", "partlycloudy", "mostlycloudy", "rainy", "thunderstorm", "snowing"};
  if (str::EqualsNoCase(name, "blizzard")) {
    StartBlizzard(0);
  } else {
    for (uint8_t i = 0; i < 6; ++i)
      if (str::EqualsNoCase(name, kNames[i])) EnterState(i, HourNow());
  }
  UpdateWeatherSound();
}

void cKV9_WeatherManager::SetLightLevel(float level, uint8_t applyDaylight) {
  if (!lightingEnabled_) return;
  block_.lightLevel = level;
  const float v = applyDaylight == 1 ? DaylightFactor(level) : level;
  for (float& c : block_.lightColour) c = v;
  if (host_) host_->SetLightColour(v, v, v);
}

void cKV9_WeatherManager::SetAmbientColour(float r, float g, float b, uint8_t applyDaylight) {
  // The stored colour stays unscaled, so refreshing it every minute follows
  // the daylight instead of darkening it again each time.
  block_.ambient[0] = r;
  block_.ambient[1] = g;
  block_.ambient[2] = b;
  float c[3] = {r, g, b};
  for (int i = 0; i < 3; ++i) {
    if (applyDaylight == 1) c[i] = DaylightFactor(c[i]);
    c[i] *= block_.lightColour[i];
  }
  if (host_) host_->SetAmbientColour(c[0], c[1], c[2]);
}

void cKV9_WeatherManager::SetFogDensity(float density) {
  if (!lightingEnabled_) return;
  if (host_) host_->SetFogDensity(density);
  block_.fog = density;
}

void cKV9_WeatherManager::ResetLighting() {
  if (!host_) return;
  host_->SetLightColour(1.0f, 1.0f, 1.0f);
  host_->SetFogDensity(0.0f);
}

void cKV9_WeatherManager::ApplyLighting() {
  if (!host_) return;
  host_->SetLightColour(block_.lightColour[0], block_.lightColour[1], block_.lightColour[2]);
  host_->SetFogDensity(block_.fog);
}

CoreStatus cKV9_WeatherManager::Start() {
  cSimulation_Clock* clock = host_ ? host_->GameClock() : nullptr;
  eventMask = kEventMask;
  if (clock && !clock->IsRegistered(this)) clock->RegisterTimeObject(this);
  WeatherBlock& b = block_;
  b.flashTimer = 0.0f;
  b.state = kWeather_None;
  b.lastLoopState = kWeather_None;
  effectId_ = -1;
  for (float& n : b.noise) n = Noise_RandomFloatInRange(0.0f, 1000.0f);
  RollDailyClimate();
  b.lows[0] = b.lows[1] = b.lows[2];
  b.highs[0] = b.highs[1] = b.highs[2];
  UpdateTemperatureAndWind();
  UpdateHourlyWeather();
  WeatherBlock saved;
  if (saved.Decode(GetBlob(), GetBlobSize())) {
    FreeBlob();
    const uint8_t state = saved.state;
    saved.state = kWeather_None;
    saved.lastLoopState = kWeather_None;
    b = saved;
    FormatReadouts();
    EnterState(state, HourNow());
  }
  if (lightingEnabled_) {
    const float v = DaylightFactor(b.lightLevel);
    for (float& c : b.lightColour) c = v;
    if (host_) host_->SetLightColour(v, v, v);
  }
  SetFogDensity(b.fog);
  if (host_) {
    host_->SetCrossFadeMix(b.crossFade[0]);
    host_->SetLoopVolume(b.loopLevel);
  }
  SetAmbientColour(b.ambient[0], b.ambient[1], b.ambient[2], 1);
  UpdateWeatherSound();
  return 0;
}

CoreStatus cKV9_WeatherManager::Stop() {
  if (host_) {
    host_->ShowWeatherIcon(std::string());
    if (cSimulation_Clock* clock = host_->GameClock(); clock && clock->IsRegistered(this))
      clock->UnregisterTimeObject(this);
  }
  RestartEffect(false, WeatherEffect::Rain);
  return 0;
}

int32_t cKV9_WeatherManager::OnTime(uint32_t, uint32_t, uint32_t eventFlag, float elapsed) {
  WeatherBlock& b = block_;
  switch (eventFlag) {
    case kTimeEvent_Tick: {
      if (elapsed == 0.0f) break;
      if (b.flashTimer > 0.0f) {
        const float phase = b.flashTimer - 0.2f * std::trunc(b.flashTimer / 0.2f);
        b.flashTimer -= elapsed;
        const float level = b.lightLevel;
        float offset;
        if (phase >= 0.1f) {
          offset = level + Noise_RandomFloatInRange(-0.1f, 0.05f) > 0.85f - level
                       ? 0.85f - level
                       : level + Noise_RandomFloatInRange(-0.1f, 0.05f);
        } else {
          offset = std::max(b.levelBeforeFlash - level, -10.0f * (0.8f - b.levelBeforeFlash) * elapsed);
        }
        const float flash = std::clamp(level + offset, 0.0f, 1.0f);
        if (lightingEnabled_) {
          b.lightLevel = flash;
          for (float& c : b.lightColour) c = flash;
          if (host_) host_->SetLightColour(flash, flash, flash);
          SetAmbientColour(flash, flash, flash, 0);
        }
        if (b.flashTimer <= 0.0f) {
          b.flashTimer = 0.0f;
          SetLightLevel(b.levelBeforeFlash, 1);
          SetAmbientColour(b.levelBeforeFlash, b.levelBeforeFlash, b.levelBeforeFlash, 1);
        }
      } else if (b.state == kWeather_Thunderstorm && Random01() < 0.008f) {
        b.levelBeforeFlash = b.lightLevel;
        b.flashTimer = static_cast<float>(Noise_RandomIntInRange(1, 2)) * 0.2f;
        char file[64];
        std::snprintf(file, sizeof file, "Sounds\\weather\\WE_thunder%d.wav", Noise_RandomIntInRange(0, 3) + 1);
        if (host_) host_->PlaySound(file);
      }
      float light = b.lightLevel;
      if (Approach(light, b.lightTarget, b.lightTime, elapsed)) SetLightLevel(light, 1);
      float fog = b.fog;
      if (Approach(fog, b.fogTarget, b.fogTime, elapsed)) SetFogDensity(fog);
      if (Approach(b.loopLevel, b.loopTarget, b.loopTime, elapsed) && host_) host_->SetLoopVolume(b.loopLevel);
      float ambient[3] = {b.ambient[0], b.ambient[1], b.ambient[2]};
      float time = b.ambientTime;
      bool moved = false;
      for (int i = 0; i < 3; ++i) {
        float t = time;
        moved = Approach(ambient[i], b.ambientTarget[i], t, elapsed) || moved;
      }
      if (ambient[0] == b.ambientTarget[0] && ambient[1] == b.ambientTarget[1] && ambient[2] == b.ambientTarget[2])
        b.ambientTime = 0.0f;
      if (moved) SetAmbientColour(ambient[0], ambient[1], ambient[2], 1);
      break;
    }
    case kTimeEvent_Minute:
      UpdateTemperatureAndWind();
      if (!(b.flashTimer > 0.0f)) {
        SetLightLevel(b.lightLevel, 1);
        SetAmbientColour(b.ambient[0], b.ambient[1], b.ambient[2], 1);
      }
      break;
    case kTimeEvent_Hour:
      UpdateHourlyWeather();
      UpdateWeatherSound();
      break;
    case kTimeEvent_Day:
      RollDailyClimate();
      break;
    default:
      break;
  }
  return 0;
}

bool cKV9_WeatherManager::Save(SerialBlock* bytes, uint32_t* n) {
  if (!bytes || !n) return false;
  *bytes = std::make_unique<uint8_t[]>(WeatherBlock::kBytes);
  block_.Encode(bytes->get());
  *n = WeatherBlock::kBytes;
  return true;
}

bool cKV9_WeatherManager::LoadFromBlob(const uint8_t* bytes, uint32_t n) {
  WeatherBlock check;
  if (!check.Decode(bytes, n)) return false;
  auto copy = std::make_unique<uint8_t[]>(n);
  std::memcpy(copy.get(), bytes, n);
  SetBlob(std::move(copy), n);
  return true;
}
