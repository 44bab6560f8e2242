#include "game/GameSpawns.h"

#include <new>

#include "engine/frame/ParticleFactory.h"
#include "game/AlphaManager.h"
#include "game/AudioManager.h"
#include "game/GameCamera.h"
#include "game/GameCursor.h"
#include "game/GameKV9.h"
#include "game/ParticleFactoryManager.h"
#include "simulation/SimulationSpawns.h"

namespace {

template <typename Spawn>
cSpawn_Base* Make() {
  return new (std::nothrow) Spawn();
}

// Owners of the rows without a maker add theirs here: the world (scenario,
// terrain, terrain manager, weather manager), construction (road manager,
// game plot, building manager, taxiway manager), the simulation's traffic
// (ambient manager, vehicle, maintenance, airplane, airport manager) and the
// screens (image list).
constexpr GameSpawnRow kRows[] = {
    {"SPN::KV9:GAME", &Make<SpawnGameKV9>},
    {"SPN::KV9:SCENARIO", nullptr},
    {"SPN::KV9:CURSOR", &Make<SpawnGameCursor>},
    {"SPN::KV9:CAMERA", &Make<SpawnGameCamera>},
    {"SPN::KV9:TERRAIN:TERRAIN", nullptr},
    {"SPN::KV9:TERRAIN:MANAGER", nullptr},
    {"SPN::KV9:AUDIO:MANAGER", &Make<SpawnAudioManager>},
    {"SPN::KV9:ROAD:MANAGER", nullptr},
    {"SPN::KV9:GAMEPLOT", nullptr},
    {"SPN::KV9:AMBIENTMANAGER", nullptr},
    {"SPN::KV9:VEHICLE", nullptr},
    {"SPN::KV9:MAINTANANCE", nullptr},
    {"SPN::KV9:AIRPLANE", nullptr},
    {"SPN::KV9:WEATHERMANAGER", nullptr},
    {"SPN::KV9:BUILDINGMANAGER", nullptr},
    {"SPN::KV9:SIMULATION:EVENTMANAGER", &Make<SpawnEventManager>},
    {"SPN::KV9:SIMULATION:AIRLINEMANAGER", &Make<SpawnAirlineManager>},
    {"SPN::KV9:SIMULATION", &Make<SpawnSimulation>},
    {"SPN::KV9:STATMANAGER", &Make<SpawnStatManager>},
    {"SPN::KV9:AIRPORTMANAGER", nullptr},
    {"SPN::KV9:CONTRACTMANAGER", &Make<SpawnContractManager>},
    {"SPN::KV9:IMAGELIST", nullptr},
    {"SPN::KV9:ALPHAMANAGER", &Make<SpawnAlphaManager>},
    {"SPN::KV9:PARTICLE:FACTORY", &Make<SpawnParticleFactory>},
    {"SPN::KV9:PARTICLE:FACTORY:MANAGER", &Make<SpawnParticleFactoryManager>},
    {"SPN::KV9:TAXIWAY:MANAGER", nullptr},
};

}  // namespace

const GameSpawnRow* GetGameSpawnRows(size_t* count) {
  if (count) *count = sizeof(kRows) / sizeof(kRows[0]);
  return kRows;
}
