#pragma once
// What the scene's managers (audio, particle effects) need of the game that
// builds them: the listener's camera, the game speed, the particle factories
// the game manager loaded and the buildings a tornado passes over. The game
// installs its host when it makes its game manager; until then the managers
// place no sounds, start no effects and damage nothing.
#include <cstdint>

class cEntity_BaseCamera;
class cEntity_ParticleFactory;
class cKV9_GlobalWrapper;
class JVector;

class SceneHost {
 public:
  virtual ~SceneHost() = default;

  // The table's main camera, or null (no game manager or no camera).
  virtual cEntity_BaseCamera* MainCamera(cKV9_GlobalWrapper* table) = 0;
  // The simulation clock's speed; 1 while there is no simulation.
  virtual float GameSpeed(cKV9_GlobalWrapper* table) = 0;
  // The game manager's particle factory `index`, or null; and their count.
  virtual cEntity_ParticleFactory* ParticleFactory(cKV9_GlobalWrapper* table, uint16_t index) = 0;
  virtual uint16_t ParticleFactoryCount(cKV9_GlobalWrapper* table) = 0;
  // A tornado at `position` damages the buildings it passes over.
  virtual void ApplyTornadoDamage(cKV9_GlobalWrapper* table, const JVector& position) = 0;
};

// The installed host, or null. The host outlives every scene manager.
SceneHost* InstalledSceneHost();
void InstallSceneHost(SceneHost* host);
