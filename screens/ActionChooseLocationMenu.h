#pragma once
// "ChooseLocationMenu": the location choice before a new game. The player
// picks a continent, then one of its locations; the screen shows the
// location's population, flight ratings and weather hazards and makes it
// the scenario's current location. "ValidateLocation" tells whether both
// were chosen.
#include <string>
#include <string_view>

#include "engine/entity/ActionBase.h"
#include "engine/entity/Singleton.h"

class cCore_GlobalWrapper;
class cKV9_GlobalWrapper;
class JVector;

class ActionChooseLocationMenu : public cAction_Base, public Singleton<ActionChooseLocationMenu> {
 public:
  explicit ActionChooseLocationMenu(cCore_GlobalWrapper* table);

  CoreStatus Execute(cEntity_Base* sender, uintptr_t code, const std::string& params) override;
  // Forgets the choice and the reference angles.
  void Reset() override;
  // Per axis, the shortest turn from the reference angle to the target, in
  // radians: magnitudes in `amount`, signs (-1, 0, 1) in `sign`; z is 0.
  virtual void GetTurnToward(JVector* amount, JVector* sign, float targetX, float targetY);

  std::string continentName;
  std::string locationName;
  float referenceAngles[3] = {0.0f, 0.0f, 0.0f};

 private:
  CoreStatus SetContinent(std::string_view name);
  CoreStatus SetLocation(std::string_view name);

  cCore_GlobalWrapper* table_ = nullptr;
};
