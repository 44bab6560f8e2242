#pragma once
// The operations the game manager's loading sequence, world build and world
// reset (and the root game entity) call on the managers that other parts of
// the program build: the scenario, the terrain, the construction managers,
// the ambient traffic, the airport manager and the weather. Each owner's
// class derives from its interface here; the game manager reaches an
// operation only through these, and a manager that does not offer its
// interface fails the step that needs it.
#include <cstdint>
#include <string>

#include "base/Status.h"

class cAlphaUpdatee;
class C3DModel;
class JVector;
class cCore_Base_InputSocket;

class ScenarioOps {
 public:
  virtual ~ScenarioOps() = default;
  // The loading bar is drawn only while this byte is set.
  virtual uint8_t GetProgressDisplay() = 0;
  virtual void SetProgressDisplay(uint8_t on) = 0;
  // Set while a game is being loaded or started.
  virtual void SetLoadingFlag(uint8_t on) = 0;
  // A new game's terrain: an empty name generates a 128 x 128 height field
  // from the current location's seeds; a name selects a terrain a scenario
  // file has configured.
  virtual void PrepareNewGameTerrain(const std::string& mapName) = 0;
  // Loads the in-game interface (unless inGame) and generates the terrain.
  virtual CoreStatus BuildTerrainAndInterface(bool inGame) = 0;
  // Reads a saved game or scenario file and rebuilds terrain and interface;
  // on failure the loading screen is hidden and the cursor shown again.
  virtual CoreStatus LoadFromFile(const std::string& fileName, bool inGame) = 0;
  // The current location's music file, empty for none.
  virtual std::string GetMusic() const = 0;
  virtual CoreStatus Start() = 0;
  virtual CoreStatus Stop() = 0;
};

class TerrainManagerOps {
 public:
  virtual ~TerrainManagerOps() = default;
  virtual CoreStatus InitTerrain() = 0;
  virtual CoreStatus BuildWorld() = 0;
  // Stops the terrain and clears its ready byte.
  virtual void StopTerrain() = 0;
};

class RoadManagerOps {
 public:
  virtual ~RoadManagerOps() = default;
  virtual CoreStatus LoadMaterials() = 0;
  virtual CoreStatus BuildWorld() = 0;
  virtual CoreStatus Clear() = 0;
  // The road model the world reset releases (it may be null).
  virtual C3DModel* TakeRoadModel() = 0;
  // The camera's heading (-270, 0, -90 or -180 degrees) facing in from where
  // the road network meets the map edge.
  virtual float GetEdgeEntryHeading() = 0;
  // What the road manager registered with the alpha manager (may be null).
  virtual cAlphaUpdatee* GetAlphaUpdatee() = 0;
};

class TaxiwayManagerOps {
 public:
  virtual ~TaxiwayManagerOps() = default;
  virtual CoreStatus BuildWorld() = 0;
  virtual CoreStatus Clear() = 0;
};

class GamePlotOps {
 public:
  virtual ~GamePlotOps() = default;
  virtual CoreStatus BuildWorld() = 0;
  virtual CoreStatus ClearWorld() = 0;
  virtual void SetPlacement(uint8_t on) = 0;
  virtual void SetGridSize(int32_t cells, int32_t second) = 0;
  // The game cursor's entity messages 32 and 33.
  virtual void OnCursorMessageA() = 0;
  virtual void OnCursorMessageB() = 0;
  // What the game camera asks of the plot: its extent e (targets stay within
  // +-160 e), the zoom band (1 nearest .. 3), the placement handler that
  // gets the mouse while a building is being placed, the overview switch
  // with the meshes rebuilt on leaving it, and the cell under a point.
  virtual float GetExtent() = 0;
  virtual void SetZoomLevel(int32_t level) = 0;
  virtual cCore_Base_InputSocket* GetPlacementHandler() = 0;
  virtual void SetGameViewActive(bool active) = 0;
  virtual void BuildFenceMesh() = 0;
  virtual void BuildRoadLeadInMesh() = 0;
  // False when the point is off the grid.
  virtual bool WorldToCell(float x, float z, int32_t* cellX, int32_t* cellY) = 0;
};

class AmbientManagerOps {
 public:
  virtual ~AmbientManagerOps() = default;
  virtual CoreStatus LoadSettings() = 0;
  virtual CoreStatus RegisterAndRestore() = 0;
  virtual CoreStatus Clear() = 0;
};

class BuildingManagerOps {
 public:
  virtual ~BuildingManagerOps() = default;
  virtual CoreStatus LoadDataTables() = 0;
  virtual CoreStatus RelinkAfterLoad() = 0;
  virtual CoreStatus Reset() = 0;
  // Damages or destroys the buildings the tornado at that point hits.
  virtual void ApplyTornadoDamage(const JVector& position) = 0;
  // The game cursor's entity messages 32 and 33.
  virtual void OnCursorMessageA() = 0;
  virtual void OnCursorMessageB() = 0;
  // True while the player is placing a building.
  virtual bool IsPlacing() = 0;
  // The top of the building placed at a cell (its type's height plus its
  // elevation plus 0.5); false when the cell has none.
  virtual bool GetBuildingTop(int32_t cellX, int32_t cellY, float* top) = 0;
};

// The airport manager's loading and world steps.
class StartStopOps {
 public:
  virtual ~StartStopOps() = default;
  virtual CoreStatus Init() = 0;
  virtual CoreStatus Start() = 0;
  virtual CoreStatus Stop() = 0;
};

class WeatherManagerOps : public StartStopOps {
 public:
  // White light for the overview, and the weather's own light again.
  virtual void ResetLighting() = 0;
  virtual void ApplyLighting() = 0;
  // The wind, the force of the weather's particle effects.
  virtual const JVector* GetWind() = 0;
};
