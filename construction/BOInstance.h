#pragma once
// A placed building. The building-instances issue completes it.
#include <cstdint>

class cBuildableObject;
class cContract;
class cFlightContract;
struct TerminalItem;

class BOInstance {
 public:
  virtual ~BOInstance() = default;

  virtual cBuildableObject* GetType() = 0;
  virtual bool IsFunctional() = 0;
  virtual float GetHealth() = 0;
  virtual float GetSecondFactor() = 0;
  // 0 .. the type's level x 10.
  virtual float GetCondition() = 0;
  // Hours of construction left (0 once built).
  virtual uint32_t GetConstructionTimeLeft() = 0;
  // Interior objects of a terminal (none for other buildings).
  virtual uint32_t GetInteriorObjectCount() = 0;
  virtual TerminalItem* GetInteriorObject(uint32_t index) = 0;
  // The contract an interior object is dedicated to (a check-in desk given
  // to an airline), or null.
  virtual cContract* GetInteriorObjectContract(uint32_t index) = 0;
};

// A placed terminal: the flights standing at its gates.
class TerminalInstance : public BOInstance {
 public:
  // Takes the flight off its gate slot.
  virtual void RemoveFlight(cFlightContract* flight) = 0;
};
