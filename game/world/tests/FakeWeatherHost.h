#pragma once
// A weather host that records every effect the weather asks for, keeps a
// terrain snow state and answers options from a map.
#include <map>
#include <string>
#include <vector>

#include "game/world/WeatherHost.h"
#include "simulation/SimulationClock.h"

class FakeWeatherHost : public WeatherHost {
 public:
  cSimulation_Clock* GameClock() override { return &clock; }
  bool GetOption(const std::string& section, const std::string& key, std::string* value) override {
    auto it = options.find(section + "|" + key);
    if (it == options.end()) return false;
    *value = it->second;
    return true;
  }
  void SetLightColour(float r, float, float) override { light = r; }
  void SetFogDensity(float density) override { fog = density; }
  void SetAmbientColour(float r, float, float) override { ambient = r; }
  void ShowWeatherIcon(const std::string& material) override { icon = material; }
  void ShowWeatherLabel(const std::string& text) override { label = text; }
  void ShowReadouts(const std::string& t, const std::string& w) override {
    temperature = t;
    wind = w;
  }
  int32_t StartEffect(WeatherEffect effect, const JVector*) override {
    effects.push_back(effect);
    running = nextId;
    return nextId++;
  }
  void StopEffect(int32_t id) override {
    if (id == running) running = -1;
    stopped.push_back(id);
  }
  void CrossFadeLoop(const std::string& file, float, float) override { loops.push_back(file); }
  void SetCrossFadeMix(float) override {}
  void SetLoopVolume(float volume) override { loopVolume = volume; }
  void PlaySound(const std::string& file) override { sounds.push_back(file); }
  void PostNotice(const std::string& subject, const std::string&) override { notices.push_back(subject); }
  void ChangeAirportClosure(int32_t delta) override { closure += delta; }
  void ScheduleEvent(const EventRecord& event) override { events.push_back(event); }
  void SpawnSnowVehicle() override { ++snowVehicles; }
  bool GetTerrainSnow(int32_t* state, float* amount) override {
    *state = snowState;
    *amount = snowAmount;
    return true;
  }
  void SetTerrainSnow(int32_t state, float rate) override {
    snowState = state;
    snowRate = rate;
  }

  cSimulation_Clock clock;
  std::map<std::string, std::string> options;
  float light = -1, fog = -1, ambient = -1, loopVolume = -1;
  std::string icon, label, temperature, wind;
  std::vector<WeatherEffect> effects;
  std::vector<int32_t> stopped;
  int32_t running = -1;
  int32_t nextId = 1;
  std::vector<std::string> loops, sounds, notices;
  int32_t closure = 0;
  std::vector<EventRecord> events;
  int snowVehicles = 0;
  int32_t snowState = 0;
  float snowAmount = 0.0f;
  float snowRate = 0.0f;
};
