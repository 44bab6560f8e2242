#pragma once
// The scenario's view of the running game: folders from the game manager,
// the loading screen of the root entity, the game camera's views, the land
// plot's measures, the GUI's in-game and main-menu interfaces and the
// objective screen, the terrain manager's textures, the weather's climate,
// and the save records of every manager the game has.
#include "game/GameNeighbours.h"
#include "game/world/ScenarioHost.h"

class cEntity_GameKV9;

class GameScenarioHost : public ScenarioHost {
 public:
  explicit GameScenarioHost(cEntity_Manager* entities);

  std::string LocationsDirectory() override;
  std::string SaveDirectory() override;
  std::string ScenarioDirectory() override;
  std::array<SaveRecordSlot, kSaveManagerRecords> SaveRecordSlots() override;

  void ShowLoadingScreen() override;
  void HideLoadingScreen() override;
  void AdvanceProgress(int32_t amount) override;
  void ClearWorld() override;

  bool IsCameraFixedView() override;
  void SetCameraFixedView(bool fixed) override;
  void StoreHomeView(uint32_t words[11]) override;
  void SetHomeView(const uint32_t words[11]) override;
  void EnterScenarioView(bool fixedView) override;

  float PlotExtent() override;
  float PlotWorldWidth() override;
  float PlotCellSize() override;
  void SetPlotOriginY(float height) override;

  CoreStatus LoadInGameInterface(bool inGame) override;
  void PrepareWorldBuild(const std::vector<std::string>& terrainTextures, bool loading) override;
  void SetClimate(const std::array<MonthlyClimate, kClimateMonths>* climate, uint32_t hazards) override;

  void ShowObjectiveScreen(const std::string& text, const std::string& title, bool quitButton,
                           bool winLoseButton) override;
  void ShowMainMenu() override;

 private:
  // The root game entity, which shows and hides the loading screen.
  cEntity_GameKV9* Root();

  GameNeighbours game_;
};
