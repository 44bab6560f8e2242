#include "game/GameWeatherHost.h"

#include "engine/entity/EntityManager.h"
#include "engine/frame/RenderService.h"
#include "engine/services/C3DBaseShader.h"
#include "engine/services/C3DPass.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/Panelis.h"
#include "game/KV9GameManager.h"
#include "game/world/Terrain.h"
#include "game/world/TerrainManager.h"
#include "gui/core/GUIEntity.h"
#include "gui/core/GUIStaticText.h"
#include "scene/AudioManager.h"
#include "scene/ParticleFactoryManager.h"
#include "simulation/AirportManager.h"
#include "simulation/AmbientManager.h"
#include "simulation/EventManager.h"
#include "simulation/SimulationServices.h"

namespace {

// The render services whose light, fog and ambient colour the weather sets.
template <typename Apply>
void ForEachWorldPass(cEntity_Manager* entities, Apply apply) {
  if (!entities) return;
  for (const char* name : cKV9_GameManager::kRenderServiceNames) {
    if (auto* service = dynamic_cast<cRenderService*>(entities->FindEntity(name))) apply(service);
  }
}

}  // namespace

GameWeatherHost::GameWeatherHost(cEntity_Manager* entities) : game_(entities, "GameWeatherHost") {}

cSimulation_Clock* GameWeatherHost::GameClock() { return game_.GameClock(); }

bool GameWeatherHost::GetOption(const std::string& section, const std::string& key, std::string* value) {
  return game_.GetOption(section, key, value);
}

void GameWeatherHost::SetLightColour(float r, float g, float b) {
  if (cKV9_GameManager* manager = game_.GameManager()) manager->SetLightColour(r, g, b);
}

void GameWeatherHost::SetFogDensity(float density) {
  ForEachWorldPass(game_.Entities(), [density](cRenderService* service) {
    if (C3DPass* pass = service->GetRenderPass()) pass->SetFogDensity(density);
  });
}

void GameWeatherHost::SetAmbientColour(float r, float g, float b) {
  ForEachWorldPass(game_.Entities(),
                   [r, g, b](cRenderService* service) { service->SetAmbientLight(JVector(r, g, b)); });
}

void GameWeatherHost::ShowWeatherIcon(const std::string& material) {
  cKV9_GlobalWrapper* t = game_.Table();
  GUIEntity* icon = t && t->gui ? t->gui->FindEntity("stcIGWeatherNow") : nullptr;
  if (!icon) return;  // no in-game interface: nothing shows the weather
  if (material.empty() || !t->graphics) {
    icon->SetShader(nullptr);
    return;
  }
  C3DBaseShader* shader = t->graphics->CreateShader(8, game_.ResourceDirectory() + material);
  icon->SetShader(shader);
  // The widget holds its own reference now.
  if (shader) t->graphics->ReleaseResource(shader);
}

void GameWeatherHost::SetLabel(const char* widget, const std::string& text) {
  cKV9_GlobalWrapper* t = game_.Table();
  if (auto* label = t && t->gui ? dynamic_cast<GUIStaticText*>(t->gui->FindEntity(widget)) : nullptr) {
    label->SetText(text, true);
  }
}

void GameWeatherHost::ShowWeatherLabel(const std::string& label) { SetLabel("sttIGWeather", label); }

void GameWeatherHost::ShowReadouts(const std::string& temperature, const std::string& wind) {
  SetLabel("sttIGTemp", temperature);
  SetLabel("sttIGWind", wind);
}

int32_t GameWeatherHost::StartEffect(WeatherEffect effect, const JVector* wind) {
  cKV9_GlobalWrapper* t = game_.Table();
  cEntity_ParticleFactoryManager* effects = t ? game_.Live(t->particleFactoryManager) : nullptr;
  if (!effects) {
    game_.Missing("particle-factory manager");
    return -1;
  }
  effects->SetWind(wind);
  uint32_t id = 0;
  switch (effect) {
    case WeatherEffect::Rain:
      id = effects->StartRain();
      break;
    case WeatherEffect::StormRain:
      id = effects->StartStormRain();
      break;
    case WeatherEffect::Snow:
      id = effects->StartSnow();
      break;
    case WeatherEffect::Blizzard:
      id = effects->StartBlizzard();
      break;
  }
  // The manager's id 0 is "no effect".
  return id == 0 ? -1 : static_cast<int32_t>(id);
}

void GameWeatherHost::StopEffect(int32_t id) {
  cKV9_GlobalWrapper* t = game_.Table();
  cEntity_ParticleFactoryManager* effects = t ? game_.Live(t->particleFactoryManager) : nullptr;
  if (effects && id > 0) effects->StopEffect(static_cast<uint32_t>(id));
}

cEntity_AudioManager* GameWeatherHost::Audio() {
  cKV9_GlobalWrapper* t = game_.Table();
  cEntity_AudioManager* audio = t ? game_.Live(t->audioManager) : nullptr;
  if (!audio) game_.Missing("audio manager");
  return audio;
}

void GameWeatherHost::CrossFadeLoop(const std::string& file, float target, float fadeSeconds) {
  // The loop lives under the resource directory, wherever the game was started.
  const std::string path = file.empty() ? file : game_.ResourceDirectory() + file;
  if (cEntity_AudioManager* audio = Audio()) audio->CrossFadeLoop(path, target, fadeSeconds);
}

void GameWeatherHost::SetCrossFadeMix(float mix) {
  if (cEntity_AudioManager* audio = Audio()) audio->SetCrossFadeMix(mix);
}

void GameWeatherHost::SetLoopVolume(float volume) {
  if (cEntity_AudioManager* audio = Audio()) audio->SetLoopVolume(volume);
}

void GameWeatherHost::PlaySound(const std::string& file) {
  if (cEntity_AudioManager* audio = Audio()) audio->PlaySound(file, false, 0);
}

void GameWeatherHost::PostNotice(const std::string& subject, const std::string& text) {
  ::PostNotice(game_.Table(), subject, text);
}

void GameWeatherHost::ChangeAirportClosure(int32_t delta) {
  cKV9_GlobalWrapper* t = game_.Table();
  cEntity_AirportManager* airport = t ? game_.Live(t->airportManager) : nullptr;
  if (!airport) {
    game_.Missing("airport manager");
    return;
  }
  int32_t count = static_cast<int32_t>(airport->closure) + delta;
  if (count < 0) count = 0;
  if (count > 255) count = 255;
  airport->closure = static_cast<uint8_t>(count);
}

void GameWeatherHost::ScheduleEvent(const EventRecord& event) {
  cKV9_GlobalWrapper* t = game_.Table();
  if (cEntity_EventManager* events = t ? game_.Live(t->eventManager) : nullptr) {
    events->ScheduleEvent(event);
  } else {
    game_.Missing("event manager");
  }
}

void GameWeatherHost::SpawnSnowVehicle() {
  cKV9_GlobalWrapper* t = game_.Table();
  if (cEntity_AmbientManager* ambient = t ? game_.Live(t->ambientManager) : nullptr) {
    ambient->SpawnSnowVehicle();
  } else {
    game_.Missing("ambient manager");
  }
}

cEntity_Terrain* GameWeatherHost::Terrain() {
  cKV9_GameManager* manager = game_.GameManager();
  auto* terrain =
      manager ? dynamic_cast<cEntity_TerrainManager*>(game_.Live(manager->GetTerrainManagerEntity())) : nullptr;
  return terrain ? terrain->GetTerrain() : nullptr;
}

bool GameWeatherHost::GetTerrainSnow(int32_t* state, float* amount) {
  cEntity_Terrain* terrain = Terrain();
  if (!terrain) return false;
  if (state) *state = terrain->snowState;
  if (amount) *amount = terrain->snowAmount;
  return true;
}

void GameWeatherHost::SetTerrainSnow(int32_t state, float rate) {
  if (cEntity_Terrain* terrain = Terrain()) {
    terrain->snowState = state;
    terrain->snowRate = rate;
  }
}
