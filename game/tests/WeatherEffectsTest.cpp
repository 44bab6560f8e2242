// The weather on the game's real neighbours: the particle-effect manager with
// the run tree's factory table on the recording renderer, and the audio
// manager on the sound service's recording output. The game clock is driven
// by hand, an hour or a few ticks at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "engine/entity/EntityManager.h"
#include "engine/frame/ParticleEmitter.h"
#include "engine/frame/ParticleFactory.h"
#include "engine/frame/ParticleService.h"
#include "engine/math/Noise.h"
#include "game/tests/GameTestWorld.h"
#include "game/world/KV9WeatherManager.h"
#include "platform/Random.h"
#include "platform/audio/AudioOutput.h"
#include "scene/AudioManager.h"
#include "scene/ParticleFactoryManager.h"
#include "simulation/Simulation.h"
#include "sound/SoundHandleDX.h"
#include "sound/SoundMgrDX8.h"

namespace gametest {
namespace {

const std::string kRunData = GAME_DATA_DIR;

// The loudest sample of `frames` frames mixed on the recording output.
int Loudest(size_t frames) {
  platform::RenderAudioFrames(frames);
  int loudest = 0;
  for (int16_t s : platform::TakeRecordedSamples()) loudest = std::max(loudest, std::abs(static_cast<int>(s)));
  return loudest;
}

// The file a sound handle plays; empty for none.
std::string FileOf(SoundHandle* handle) { return handle ? static_cast<SoundHandleDX*>(handle)->fileName : ""; }

// The game as it runs: the run tree's data as the working directory and the
// resource path, every manager of this folder real (the weather made by the
// game's own spawn), the sound service on its recording output, and the
// other parts' managers faked.
class WeatherWorld {
  WorkingDirectory directory_;

 public:
  WeatherWorld() : directory_(kRunData) {
    platform::SetAudioOutputKind(platform::AudioOutputKind::Recording);
    // Repeatable random draws: the weather's rolls, its lightning and the
    // particles.
    platform::SRand(7);
    noiseTime_ = int64_t{1} << 40;
    previousNoiseClock_ = Noise_SetClock(&SteadyNoiseClock);
    sound = std::make_unique<SoundMgrDX8>();
    if (!sound->ResetDeviceSelection() || !sound->Init(nullptr)) return;
    world = std::make_unique<GameWorld>();
    world->table.SetSound(sound.get());
    world->table.entityManager->SetResourcePath(kRunData);
    std::vector<std::string> fakes;
    for (const auto& spawn : MakeFakeSpawns()) {
      if (spawn->GetName() != cKV9_WeatherManager::kSpawnName) fakes.push_back(spawn->GetName());
    }
    if (world->LoadRealTable(fakes) != status::Ok) return;
    cKV9_GlobalWrapper& t = world->table;
    weather = dynamic_cast<cKV9_WeatherManager*>(t.weatherManager);
    effects = t.particleFactoryManager;
    audio = t.audioManager;
    particles = world->FindAs<cParticleService>("ParticleService");
    clock = t.simulation ? &t.simulation->clock : nullptr;
    ready = weather && effects && audio && particles && clock;
    // Only the weather is to be heard.
    if (audio) audio->PlayMusic("");
  }
  ~WeatherWorld() {
    world.reset();
    if (sound) sound->ReleaseAll();
    sound.reset();
    Noise_SetClock(previousNoiseClock_);
  }

  // Starts the weather at 6:00 on a January day over a climate that lets
  // snow and thunderstorms happen; no blizzard of its own (those come as
  // events) and no wind (so no storm brings a tornado).
  bool Start() {
    for (MonthlyClimate& m : climate) m = {50.0f, 50.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    weather->SetClimate(&climate, 0x28);
    clock->SetDate(2003, 1, 15, 6, 0, 0);
    clock->SetSpeed(60);
    return weather->Start() == 0;
  }

  // The next hour's sky: thresholds of 1.5 lie above every noise value, 0
  // below; the day's lows and highs all at `temperature`.
  void SetSky(float clouds, float precipitation, float thunder, float temperature) {
    WeatherBlock& b = weather->MutableBlock();
    b.cloudThreshold = clouds;
    b.precipitationThreshold = precipitation;
    b.thunderThreshold = thunder;
    for (int i = 0; i < 3; ++i) b.lows[i] = b.highs[i] = temperature;
  }

  // One game hour at a minute a tick.
  void RunHour() {
    for (int i = 0; i < 60; ++i) clock->Tick(1.0f);
  }

  // Ten seconds of particles: stopped effects die out and their records go.
  void RunParticles() {
    for (int i = 0; i < 40; ++i) {
      particles->Update(0.25f);
      effects->UpdateEffects();
    }
  }

  // Stops the thunder claps of a storm, so that only the loops are heard.
  void StopClaps() {
    for (SoundHandle* h : *sound->GetSoundList()) {
      if (FileOf(h).find("WE_thunder") != std::string::npos) sound->StopSound(h);
    }
  }

  // Two listener ticks of a tenth of a second at the clock's speed of 60,
  // six game seconds each against fades of three: the fading-out loop
  // reaches silence and goes, the fading-in one its full volume.
  void RunFades() {
    TimeEvent event;
    event.accumulated = 0.1f;
    for (int i = 0; i < 2; ++i) audio->OnTimeEvent(&event);
  }

  std::unique_ptr<SoundMgrDX8> sound;
  std::unique_ptr<GameWorld> world;
  std::array<MonthlyClimate, kClimateMonths> climate{};
  cKV9_WeatherManager* weather = nullptr;
  cEntity_ParticleFactoryManager* effects = nullptr;
  cEntity_AudioManager* audio = nullptr;
  cParticleService* particles = nullptr;
  cSimulation_Clock* clock = nullptr;
  bool ready = false;

 private:
  // A clock that moves the same way on every run; the draws take their seed
  // from it.
  static int64_t SteadyNoiseClock() { return noiseTime_ += 7919; }
  static inline int64_t noiseTime_ = 0;
  NoiseClock previousNoiseClock_ = nullptr;
};

// Hour after hour the sky changes; after each change exactly the state's
// effect runs from its factory of the table, the stopped effects die out and
// leave, and the state's loop fades in over the old one and is heard.
TEST(WeatherEffects, HourlyWeatherDrivesEffectsAndLoops) {
  WeatherWorld w;
  ASSERT_TRUE(w.ready) << (w.world ? w.world->manager->GetLoadingFailure() : "no sound service");
  ASSERT_TRUE(w.Start());
  using M = cEntity_ParticleFactoryManager;
  struct Step {
    const char* name;
    float clouds, precipitation, thunder, temperature;
    bool blizzardEvent;  // the event manager's blizzard after the hour
    uint8_t state;
    int factory;       // the running effect's factory, -1 for none
    const char* loop;  // under "Sounds\Weather\", null for silence
  } steps[] = {
      {"clear skies", 0.0f, 0.0f, 0.0f, 50.0f, false, kWeather_Sunny, -1, nullptr},
      {"rain sets in", 1.5f, 1.5f, 0.0f, 50.0f, false, kWeather_Rainy, M::kFactoryRain, "WE_lrain.wav"},
      {"rain goes on with a fresh effect", 1.5f, 1.5f, 0.0f, 50.0f, false, kWeather_Rainy, M::kFactoryRain,
       "WE_lrain.wav"},
      {"a thunderstorm", 1.5f, 1.5f, 1.5f, 50.0f, false, kWeather_Thunderstorm, M::kFactoryStormRain,
       "WE_srain.wav"},
      {"freezing: snow falls quietly", 1.5f, 1.5f, 0.0f, 20.0f, false, kWeather_Snowing, M::kFactorySnow, nullptr},
      {"a blizzard hits the snow", 1.5f, 1.5f, 0.0f, 20.0f, true, kWeather_Snowing, M::kFactoryBlizzard,
       "WE_blizzard.wav"},
      {"the sky clears and the blizzard ends", 0.0f, 0.0f, 0.0f, 20.0f, false, kWeather_Sunny, -1, nullptr},
      {"rain again after the snow", 1.5f, 1.5f, 0.0f, 50.0f, false, kWeather_Rainy, M::kFactoryRain,
       "WE_lrain.wav"},
  };
  const int weatherFactories[] = {M::kFactorySnow, M::kFactoryStormRain, M::kFactoryRain, M::kFactoryBlizzard};
  const std::string loops = kRunData + "Sounds\\Weather\\";
  int32_t lastEffect = -1;
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    w.SetSky(s.clouds, s.precipitation, s.thunder, s.temperature);
    w.RunHour();
    if (s.blizzardEvent) w.weather->StartBlizzard(0);
    ASSERT_EQ(w.weather->Block().state, s.state);

    // The running effect is new each hour and comes from the state's factory.
    const int32_t id = w.weather->EffectId();
    if (s.factory < 0) {
      EXPECT_EQ(id, -1);
    } else {
      ASSERT_GT(id, 0);
      EXPECT_NE(id, lastEffect);
      cParticleEmitter* emitter = w.effects->GetEffectEmitter(static_cast<uint32_t>(id));
      ASSERT_NE(emitter, nullptr);
      EXPECT_FALSE(emitter->suppressed);
      EXPECT_EQ(emitter->force, w.weather->GetWind());
      cEntity_ParticleFactory* factory = w.world->manager->GetParticleFactory(static_cast<uint16_t>(s.factory));
      ASSERT_NE(factory, nullptr);
      bool mine = false;
      for (int32_t i = 0; i < factory->GetEmitterCount(); ++i) mine = mine || factory->GetEmitter(i) == emitter;
      EXPECT_TRUE(mine);
    }
    lastEffect = id;
    // The stopped effects die out: only the running one is left anywhere.
    w.RunParticles();
    EXPECT_EQ(w.effects->GetEffectCount(), s.factory < 0 ? 0u : 1u);
    w.particles->Update(0.25f);
    for (int f : weatherFactories) {
      const int32_t expected = f == s.factory ? 1 : 0;
      EXPECT_EQ(w.world->manager->GetParticleFactory(static_cast<uint16_t>(f))->GetEmitterCount(), expected)
          << "factory " << f;
    }
    if (s.factory >= 0) {
      EXPECT_GT(w.effects->GetEffectEmitter(static_cast<uint32_t>(id))->GetLiveCount(), 0u);
    }

    // The state's loop fades in over the last one and is heard alone.
    w.RunFades();
    w.StopClaps();
    EXPECT_EQ(FileOf(w.audio->GetFadingIn()), s.loop ? loops + s.loop : "");
    EXPECT_EQ(w.audio->GetFadingOut(), nullptr);
    if (s.loop) {
      EXPECT_TRUE(w.sound->IsPlaying(w.audio->GetFadingIn()));
      EXPECT_FLOAT_EQ(w.sound->GetVolume(w.audio->GetFadingIn()), 1.0f);
      EXPECT_GT(Loudest(2048), 0);
    } else {
      EXPECT_EQ(Loudest(2048), 0);
    }
  }
}

// Lightning comes only with thunderstorms, and each flash's thunder clap
// is one of the four claps, played once and heard.
TEST(WeatherEffects, ThunderOnlyInStorms) {
  struct Case {
    const char* name;
    float thunder;
    bool claps;
  } cases[] = {
      {"thunderstorm", 1.5f, true},
      {"plain rain", 0.0f, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WeatherWorld w;
    ASSERT_TRUE(w.ready);
    ASSERT_TRUE(w.Start());
    w.SetSky(1.5f, 1.5f, c.thunder, 50.0f);
    w.RunHour();
    w.RunFades();
    // The loop is silenced so that only a clap can be heard.
    w.audio->SetCrossFadeMix(0.0f);
    EXPECT_EQ(Loudest(2048), 0);
    // A second a tick: a flash starts with probability 0.008 a tick.
    w.clock->SetSpeed(1);
    std::vector<std::string> claps;
    int loudest = 0;
    for (int i = 0; i < 3000 && claps.empty(); ++i) {
      w.clock->Tick(0.05f);
      for (SoundHandle* h : *w.sound->GetSoundList()) {
        if (FileOf(h).find("WE_thunder") != std::string::npos) claps.push_back(FileOf(h));
      }
      loudest = std::max(loudest, Loudest(64));
    }
    if (!c.claps) {
      EXPECT_TRUE(claps.empty());
      EXPECT_EQ(loudest, 0);
      continue;
    }
    ASSERT_EQ(claps.size(), 1u);
    const std::string& clap = claps[0];
    EXPECT_EQ(clap.substr(0, clap.size() - 5), "Sounds\\weather\\WE_thunder");
    EXPECT_GE(clap[clap.size() - 5], '1');
    EXPECT_LE(clap[clap.size() - 5], '4');
    EXPECT_GT(loudest + Loudest(4096), 0);
  }
}

}  // namespace
}  // namespace gametest
