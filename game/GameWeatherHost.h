#pragma once
// The weather's view of the running game: the game clock and options, the
// light, fog and ambient colour of the four render services, the in-game
// weather widgets, the particle-factory manager's weather effects, the audio
// manager's loops and sounds, PDA notices, the airport's closure count, the
// event queue and the terrain's snow.
#include "game/GameNeighbours.h"
#include "game/world/WeatherHost.h"

class cEntity_AudioManager;
class cEntity_Terrain;

class GameWeatherHost : public WeatherHost {
 public:
  explicit GameWeatherHost(cEntity_Manager* entities);

  cSimulation_Clock* GameClock() override;
  bool GetOption(const std::string& section, const std::string& key, std::string* value) override;

  void SetLightColour(float r, float g, float b) override;
  void SetFogDensity(float density) override;
  void SetAmbientColour(float r, float g, float b) override;

  void ShowWeatherIcon(const std::string& material) override;
  void ShowWeatherLabel(const std::string& label) override;
  void ShowReadouts(const std::string& temperature, const std::string& wind) override;

  int32_t StartEffect(WeatherEffect effect, const JVector* wind) override;
  void StopEffect(int32_t id) override;

  void CrossFadeLoop(const std::string& file, float target, float fadeSeconds) override;
  void SetCrossFadeMix(float mix) override;
  void SetLoopVolume(float volume) override;
  void PlaySound(const std::string& file) override;

  void PostNotice(const std::string& subject, const std::string& text) override;
  // The count never goes below 0 nor past 255.
  void ChangeAirportClosure(int32_t delta) override;
  void ScheduleEvent(const EventRecord& event) override;
  void SpawnSnowVehicle() override;
  bool GetTerrainSnow(int32_t* state, float* amount) override;
  void SetTerrainSnow(int32_t state, float rate) override;

 private:
  cEntity_AudioManager* Audio();
  cEntity_Terrain* Terrain();
  void SetLabel(const char* widget, const std::string& text);

  GameNeighbours game_;
};
