#pragma once
// The running scenario (spawned as "SPN::KV9:SCENARIO"): the current
// location's figures, the save operation and the objective screens, as the
// simulation and construction reach it. The game's own scenario is
// cKV9_GameScenario (KV9GameScenario.h); tests fake this interface.
#include <cstdint>
#include <string>

#include "engine/entity/EntityBase.h"

class cEntity_GameScenario : public cEntity_Base {
 public:
  using cEntity_Base::cEntity_Base;

  virtual uint32_t GetPopulation() = 0;
  // Continent 0-6 of the current location; 0xFF when none is current.
  virtual uint8_t GetContinent() = 0;
  // Land price per purchase block of the current location, in dollars.
  virtual float GetLandPrice() = 0;
  virtual std::string GetPlotTexture() = 0;
  // False when the point lies outside the plot.
  virtual bool WorldToCell(float x, float z, uint16_t* cellX, uint16_t* cellY) = 0;
  // Kept as the picture record of the next save; the scenario takes a copy.
  virtual void SetScenarioBlob(const uint8_t* bytes, uint32_t size) = 0;
  // Writes the game into the save folder under that name.
  virtual CoreStatus SaveGame(const std::string& saveName) = 0;
  virtual void ShowWinScreen() = 0;
  virtual void ShowLoseScreen() = 0;

  uint8_t noCursor = 0;
  // Set while the game was started from the campaign screen's scenario list.
  uint8_t campaignGame = 0;
};
