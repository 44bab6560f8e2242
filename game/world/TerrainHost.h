#pragma once
// What the terrain needs of the game around it: the renderer, the resource
// folder, options, the scenario's height field and plot texture, the land
// plot's size, the game clock, the camera, and the spawning of the terrain
// entity. The game program answers these; tests answer them with a fake.
#include <string>

#include "engine/math/JVector.h"

class Core3D;
class cEntity_Base;
class cSimulation_Clock;

class TerrainHost {
 public:
  virtual ~TerrainHost() = default;

  virtual Core3D* Renderer() = 0;
  // Ends with a separator.
  virtual std::string ResourceDirectory() = 0;
  virtual bool GetOption(const std::string& section, const std::string& key, std::string* value) = 0;
  // The scenario's 128 x 128 heights, or null before a world is built.
  virtual const float* Heights() = 0;
  virtual std::string PlotTexture() = 0;
  // The land plot's width and length in cells.
  virtual void PlotSize(float* width, float* length) = 0;
  virtual cSimulation_Clock* GameClock() = 0;
  virtual void SetCameraTarget(const JVector& target) = 0;
  // The entity of that spawn name made through the game manager, or null.
  virtual cEntity_Base* Spawn(const std::string& spawnName) = 0;
  // The game manager destroys an entity it spawned.
  virtual void Destroy(cEntity_Base* entity) = 0;
};
