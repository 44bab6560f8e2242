#include "game/GameSpawns.h"

#include <new>

#include "engine/entity/SpawnBase.h"
#include "engine/frame/ParticleFactory.h"
#include "game/GameCamera.h"
#include "game/GameCursor.h"
#include "game/GameKV9.h"
#include "game/KV9AirportManager.h"
#include "game/KV9AmbientManager.h"
#include "game/KV9BuildingManager.h"
#include "game/KV9GamePlot.h"
#include "game/KV9RoadManager.h"
#include "game/KV9TaxiwayManager.h"
#include "scene/AlphaManager.h"
#include "scene/AudioManager.h"
#include "scene/ParticleFactoryManager.h"
#include "simulation/SimulationSpawns.h"

namespace {

template <typename Spawn>
cSpawn_Base* Make() {
  return new (std::nothrow) Spawn();
}

// The spawn of a game class that takes its neighbours' steps over a class
// another part builds: it files under that class's spawn name.
template <typename Entity>
class GameSpawn : public cSpawn_Base {
 public:
  GameSpawn() : cSpawn_Base(Entity::kSpawnName) {}
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override {
    return new (std::nothrow) Entity(creator);
  }
};

// The image list's row (the screens) is still without a maker; the world's
// four rows are made over the game's world hosts.
constexpr GameSpawnRow kRows[] = {
    {"SPN::KV9:GAME", &Make<SpawnGameKV9>},
    {"SPN::KV9:SCENARIO", nullptr},
    {"SPN::KV9:CURSOR", &Make<SpawnGameCursor>},
    {"SPN::KV9:CAMERA", &Make<SpawnGameCamera>},
    {"SPN::KV9:TERRAIN:TERRAIN", nullptr},
    {"SPN::KV9:TERRAIN:MANAGER", nullptr},
    {"SPN::KV9:AUDIO:MANAGER", &Make<SpawnAudioManager>},
    {"SPN::KV9:ROAD:MANAGER", &Make<GameSpawn<cKV9_RoadManager>>},
    {"SPN::KV9:GAMEPLOT", &Make<GameSpawn<cKV9_GamePlot>>},
    {"SPN::KV9:AMBIENTMANAGER", &Make<GameSpawn<cKV9_AmbientManager>>},
    {"SPN::KV9:VEHICLE", &Make<SpawnVehicle>},
    {"SPN::KV9:MAINTANANCE", &Make<SpawnMaintanance>},
    {"SPN::KV9:AIRPLANE", &Make<SpawnAirplane>},
    {"SPN::KV9:WEATHERMANAGER", nullptr},
    {"SPN::KV9:BUILDINGMANAGER", &Make<GameSpawn<cKV9_BuildingManager>>},
    {"SPN::KV9:SIMULATION:EVENTMANAGER", &Make<SpawnEventManager>},
    {"SPN::KV9:SIMULATION:AIRLINEMANAGER", &Make<SpawnAirlineManager>},
    {"SPN::KV9:SIMULATION", &Make<SpawnSimulation>},
    {"SPN::KV9:STATMANAGER", &Make<SpawnStatManager>},
    {"SPN::KV9:AIRPORTMANAGER", &Make<GameSpawn<cKV9_AirportManager>>},
    {"SPN::KV9:CONTRACTMANAGER", &Make<SpawnContractManager>},
    {"SPN::KV9:IMAGELIST", nullptr},
    {"SPN::KV9:ALPHAMANAGER", &Make<SpawnAlphaManager>},
    {"SPN::KV9:PARTICLE:FACTORY", &Make<SpawnParticleFactory>},
    {"SPN::KV9:PARTICLE:FACTORY:MANAGER", &Make<SpawnParticleFactoryManager>},
    {"SPN::KV9:TAXIWAY:MANAGER", &Make<GameSpawn<cKV9_TaxiwayManager>>},
};

}  // namespace

const GameSpawnRow* GetGameSpawnRows(size_t* count) {
  if (count) *count = sizeof(kRows) / sizeof(kRows[0]);
  return kRows;
}
