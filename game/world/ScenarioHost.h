#pragma once
// What the scenario needs of the game around it: folders, the loading
// display, the world reset, the camera's view, the land plot's measures, the
// in-game interface and the managers' save records. The game program answers
// these from its own managers; tests answer them with a fake.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/Status.h"
#include "engine/files/SerializedObject.h"
#include "game/world/MonthlyClimate.h"
#include "game/world/SaveGameFile.h"

// One manager's record in the save file: Save hands out a block the caller
// owns; Load reads the block during the call. Either may be empty for a
// manager the game does not have (its record is then written empty and
// skipped on load).
struct SaveRecordSlot {
  std::function<bool(SerialBlock*, uint32_t*)> save;
  std::function<bool(const uint8_t*, uint32_t)> load;
};

// The slot of an object saved through the shared mix-in.
SaveRecordSlot SaveRecordSlotOf(cSerialized_Object* object);

class ScenarioHost {
 public:
  virtual ~ScenarioHost() = default;

  // Folders, each ending in a separator: the game's "Locations\" folder, the
  // save folder (resource path + "Save\") and the scenario folder.
  virtual std::string LocationsDirectory() = 0;
  virtual std::string SaveDirectory() = 0;
  virtual std::string ScenarioDirectory() = 0;

  // Records 4 to 15 in file order: statistics, clock, airport, plot, path
  // finder, roads, buildings, taxiways, contracts, ambient traffic, weather,
  // events.
  virtual std::array<SaveRecordSlot, kSaveManagerRecords> SaveRecordSlots() = 0;

  // The loading scene made visible with its progress widget, the cursor
  // hidden and the progress reset; and undone again (cursor shown).
  virtual void ShowLoadingScreen() = 0;
  virtual void HideLoadingScreen() = 0;
  virtual void AdvanceProgress(int32_t amount) = 0;
  // The game manager's world reset, before a load.
  virtual void ClearWorld() = 0;

  // The game camera: its fixed overview (purchase-land) view and its home
  // view as eleven words.
  virtual bool IsCameraFixedView() = 0;
  virtual void SetCameraFixedView(bool fixed) = 0;
  virtual void StoreHomeView(uint32_t words[11]) = 0;
  virtual void SetHomeView(const uint32_t words[11]) = 0;
  // The purchase-land or the in-game scene turned on, the fixed view entered
  // or left accordingly.
  virtual void EnterScenarioView(bool fixedView) = 0;

  // The land plot: its extent value (cells x 0.02), world width, cell size,
  // and its base height.
  virtual float PlotExtent() = 0;
  virtual float PlotWorldWidth() = 0;
  virtual float PlotCellSize() = 0;
  virtual void SetPlotOriginY(float height) = 0;

  // The in-game interface: with inGame false "ingame.gui" replaces the GUI
  // world; the GUI input state is reset either way.
  virtual CoreStatus LoadInGameInterface(bool inGame) = 0;
  // The terrain manager gets the location's textures, the building manager
  // builds its build menu, and the loading scene shows its progress widget
  // while `loading` is set.
  virtual void PrepareWorldBuild(const std::vector<std::string>& terrainTextures, bool loading) = 0;
  // The weather manager gets the current location's climate and hazards.
  virtual void SetClimate(const std::array<MonthlyClimate, kClimateMonths>* climate, uint32_t hazards) = 0;

  // "scnObjectiveMenu" with a text and a title, its quit and win-lose
  // buttons on or off.
  virtual void ShowObjectiveScreen(const std::string& text, const std::string& title, bool quitButton,
                                   bool winLoseButton) = 0;
  // The GUI world emptied and "main.gui" shown.
  virtual void ShowMainMenu() = 0;
};
