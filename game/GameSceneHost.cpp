#include "game/GameSceneHost.h"

#include "construction/BuildingManager.h"
#include "engine/services/GlobalWrapper.h"
#include "game/KV9GameManager.h"
#include "game/WorldPartOps.h"
#include "scene/SceneHost.h"
#include "simulation/Simulation.h"

namespace {

class GameHost : public SceneHost {
 public:
  cEntity_BaseCamera* MainCamera(cKV9_GlobalWrapper* table) override {
    return table && table->gameManager ? table->gameManager->GetCamera() : nullptr;
  }
  float GameSpeed(cKV9_GlobalWrapper* table) override {
    return table && table->simulation ? table->simulation->clock.speed : 1.0f;
  }
  cEntity_ParticleFactory* ParticleFactory(cKV9_GlobalWrapper* table, uint16_t index) override {
    return table && table->gameManager ? table->gameManager->GetParticleFactory(index) : nullptr;
  }
  uint16_t ParticleFactoryCount(cKV9_GlobalWrapper* table) override {
    return table && table->gameManager ? table->gameManager->GetParticleFactoryCount() : 0;
  }
  void ApplyTornadoDamage(cKV9_GlobalWrapper* table, const JVector& position) override {
    if (auto* buildings = table ? dynamic_cast<BuildingManagerOps*>(table->buildingManager) : nullptr)
      buildings->ApplyTornadoDamage(position);
  }
};

}  // namespace

SceneHost& GameSceneHost() {
  static GameHost host;
  return host;
}
