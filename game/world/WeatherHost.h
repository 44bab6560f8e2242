#pragma once
// What the weather needs of the game around it: the game clock, options,
// the light, fog and ambient colour of the render passes, the weather
// widgets, particle effects, sounds, notices, the airport's closure, the
// event queue, snow vehicles and the terrain's snow. The game program answers
// these from its managers; tests answer them with a recording fake.
#include <cstdint>
#include <string>

#include "engine/math/JVector.h"
#include "simulation/EventRecord.h"

class cSimulation_Clock;

enum class WeatherEffect { Rain, StormRain, Snow, Blizzard };

// Snow on the terrain: its state (0 none, 1 accumulating, 2 complete,
// 3 melting) and its rate in cover per game second.
enum TerrainSnowState : int32_t {
  kSnowNone = 0,
  kSnowAccumulating = 1,
  kSnowComplete = 2,
  kSnowMelting = 3,
};

class WeatherHost {
 public:
  virtual ~WeatherHost() = default;

  virtual cSimulation_Clock* GameClock() = 0;
  // A configuration value; false when it is not set.
  virtual bool GetOption(const std::string& section, const std::string& key, std::string* value) = 0;

  // The game manager's light colour; fog density and ambient colour of the
  // four render passes.
  virtual void SetLightColour(float r, float g, float b) = 0;
  virtual void SetFogDensity(float density) = 0;
  virtual void SetAmbientColour(float r, float g, float b) = 0;

  // "stcIGWeatherNow" gets the icon material (an empty name clears it),
  // "sttIGWeather" the label, "sttIGTemp" and "sttIGWind" the readouts.
  virtual void ShowWeatherIcon(const std::string& material) = 0;
  virtual void ShowWeatherLabel(const std::string& label) = 0;
  virtual void ShowReadouts(const std::string& temperature, const std::string& wind) = 0;

  // The particle-factory manager's weather effects; the emitters keep the
  // wind vector. An id of -1 means none was started.
  virtual int32_t StartEffect(WeatherEffect effect, const JVector* wind) = 0;
  virtual void StopEffect(int32_t id) = 0;

  // The audio manager: the weather loop (named under the resource
  // directory; an empty name fades the old one out), its mix and volume, and
  // one-shot sounds.
  virtual void CrossFadeLoop(const std::string& file, float target, float fadeSeconds) = 0;
  virtual void SetCrossFadeMix(float mix) = 0;
  virtual void SetLoopVolume(float volume) = 0;
  virtual void PlaySound(const std::string& file) = 0;

  virtual void PostNotice(const std::string& subject, const std::string& text) = 0;
  virtual void ChangeAirportClosure(int32_t delta) = 0;
  virtual void ScheduleEvent(const EventRecord& event) = 0;
  virtual void SpawnSnowVehicle() = 0;
  // False when there is no terrain.
  virtual bool GetTerrainSnow(int32_t* state, float* amount) = 0;
  virtual void SetTerrainSnow(int32_t state, float rate) = 0;
};
