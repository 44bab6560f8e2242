#pragma once
// The game's scenario: the locations the player can build in and the current
// one, the terrain parameters and the generated height field, the scenario's
// texts and blob, the purchase-land and in-game views, the objective, win and
// lose screens, and the save-game file.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/files/SerializedObject.h"
#include "game/WorldPartOps.h"
#include "game/world/KV9HFGen.h"
#include "game/world/LocationRecord.h"
#include "game/world/ScenarioRecord.h"
#include "game/world/TerrainParams.h"
#include "simulation/GameScenario.h"

class cSerializer;
class ScenarioHost;
class SaveFileImage;

// The terrain block of a new game on `location`: 128 x 128 from its seed and
// corner heights, heights 0 to 1.
TerrainParams NewGameTerrainParams(const _LocationRecord& location);

class cKV9_GameScenario : public cEntity_GameScenario, public cSerialized_Object, public ScenarioOps {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:SCENARIO";
  static constexpr int32_t kTerrainSize = 128;
  // A world height is a height-field sample times this.
  static constexpr float kHeightScale = 320.0f;

  // Reads the location folder the host names; `host` outlives the scenario.
  cKV9_GameScenario(cEntity_Manager* manager, ScenarioHost* host);
  ~cKV9_GameScenario() override;

  // Entity slots.
  CoreStatus Exit() override;
  // The world build's last step: the purchase-land or in-game view.
  CoreStatus Start() override;
  // Frees the height buffer and the blob.
  CoreStatus Stop() override;

  // The loading sequence and the root entity's steps. The progress display
  // and the loading flag are one byte: the loading bar draws while it is set.
  uint8_t GetProgressDisplay() override { return loading ? 1 : 0; }
  void SetProgressDisplay(uint8_t on) override { loading = on != 0; }
  void SetLoadingFlag(uint8_t on) override { loading = on != 0; }
  // An empty name: a 128 x 128 block from the current location's seeds
  // (none current: the block held is kept, with a diagnostic). A name: kept
  // as the map name with the block held.
  void PrepareNewGameTerrain(const std::string& mapName) override;

  void SetMapName(const std::string& name) { mapName_ = name; }
  void ClearMapName() { mapName_.clear(); }
  const std::string& GetMapName() const { return mapName_; }
  void SetTerrainParams(const TerrainParams& params) { params_ = params; }
  const TerrainParams& GetTerrainParams() const { return params_; }

  // The shared interface.
  uint32_t GetPopulation() override;
  uint8_t GetContinent() override;
  float GetLandPrice() override;
  std::string GetPlotTexture() override;
  bool WorldToCell(float x, float z, uint16_t* cellX, uint16_t* cellZ) override;
  void SetScenarioBlob(const uint8_t* bytes, uint32_t size) override;
  CoreStatus SaveGame(const std::string& fileName) override;
  void ShowWinScreen() override;
  void ShowLoseScreen() override;

  // Locations.
  void GetContinentAngles(uint8_t continent, float* a, float* b, float* c) const;
  const std::vector<std::string>& GetContinents() const { return continents_; }
  void LoadLocations();
  bool SelectLocationByName(const std::string& name, uint8_t continent);
  bool SelectLocation(const std::string& name, const std::string& continentName);
  void GetLocationsOfContinent(const std::string& continentName, std::vector<_LocationRecord*>* out) const;
  const std::vector<std::unique_ptr<_LocationRecord>>& GetLocations() const { return locations_; }
  // The current record, or null.
  const _LocationRecord* GetCurrentLocation() const;
  // Getters of the current location: empty or 0 when none is current.
  std::string GetLocationDescription() const;
  std::string GetLocationName() const;
  std::string GetMusic() const override;
  std::string GetSoundLoop() const;
  int32_t GetPopulationOfLocation() const;
  uint32_t GetHazards() const;
  uint8_t GetDomesticFlights() const;
  uint8_t GetInternationalFlights() const;
  const std::vector<std::string>* GetTerrainTextures() const;

  // Texts.
  const std::string& GetDescription() const { return description_; }
  const std::string& GetWinText() const { return winText_; }
  const std::string& GetLoseText() const { return loseText_; }
  void SetWinText(const std::string& text) { winText_ = text; }
  void SetLoseText(const std::string& text) { loseText_ = text; }
  void SetDescription(const std::string& text) { description_ = text; }
  // Takes the buffer as the blob (the blob held before is freed).
  void TakeScenarioBlob(SerialBlock bytes, uint32_t size);
  const uint8_t* GetScenarioBlob() const { return scenarioBlob_.get(); }
  uint32_t GetScenarioBlobSize() const { return scenarioBlobSize_; }

  // World building.
  CoreStatus BuildTerrainAndInterface(bool inGame) override;
  CoreStatus GenerateTerrain(int32_t size);
  // The generated heights, kTerrainSize squared, row-major; null before a
  // world is built.
  const float* GetHeights() const { return heights_.get(); }
  cKV9HFGen& Generator() { return generator_; }
  const std::string& GetReadout1() const { return readout1_; }
  const std::string& GetReadout2() const { return readout2_; }

  // Save-game file.
  CoreStatus LoadFromFile(const std::string& fileName, bool inGame) override;
  bool LoadGame();
  bool CheckSaveHeader(cSerializer* serializer);
  // Reads and checks a whole save file without changing anything. On success
  // `image` holds its records and `record` the decoded scenario record.
  bool ReadSaveFile(const std::string& path, SaveFileImage* image, ScenarioRecord* record, std::string* why);
  // Checks records already split from a file (tests and fuzzing share it).
  bool CheckSaveImage(const SaveFileImage& image, ScenarioRecord* record, std::string* why);
  // The path a save name is written to or read from.
  std::string SavePath(const std::string& fileName) const;
  void SetLoadPath(const std::string& path) { loadPath_ = path; }
  const std::string& GetLoadPath() const { return loadPath_; }

  // The scenario record (record 3).
  bool Save(SerialBlock* bytes, uint32_t* n) override;
  bool LoadFromBlob(const uint8_t* bytes, uint32_t n) override;
  // Applies a decoded record; false when its location is not installed.
  bool ApplyRecord(const ScenarioRecord& record);

  void ShowObjectives();
  void ShowMainMenu();

  bool loading = false;
  bool isScenarioFile = false;
  float spareFactor = 1.0f;

 private:
  bool HasLocation(uint8_t continent, const std::string& name) const;
  void ShowObjectiveScreen(const std::string& text, const std::string& title, bool quit, bool winLose);

  ScenarioHost* host_;
  std::string mapName_ = "default.tga";
  std::unique_ptr<float[]> heights_;
  cKV9HFGen generator_;
  TerrainParams params_;
  std::string readout1_;
  std::string readout2_;
  std::vector<std::string> continents_;
  std::vector<std::unique_ptr<_LocationRecord>> locations_;
  int32_t current_ = -1;
  std::string loadPath_;
  std::string loseText_;
  std::string winText_;
  std::string description_;
  SerialBlock scenarioBlob_;
  uint32_t scenarioBlobSize_ = 0;
};
