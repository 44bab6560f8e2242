#pragma once
// A placed building. The building-instances issue completes it.
#include <cstdint>
#include <vector>

class cBuildableObject;
class cContract;
class cEntity_BuildingManager;
class cFlightContract;
struct TaxiwayAccessCell;
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
  // One more road connection; when the count becomes 1 the functional state
  // is evaluated again and the building registered or withdrawn with its
  // type when it changed.
  virtual void AddRoadConnection() = 0;
  // One more (one fewer) taxiway contact; the step from 0 to 1 (1 to 0)
  // evaluates the functional state again.
  virtual void AddTaxiwayConnection() = 0;
  virtual void RemoveTaxiwayConnection() = 0;
  // The type's taxiway access rectangles, turned and moved to this
  // building's place.
  virtual void GetTaxiwayAccessCells(std::vector<TaxiwayAccessCell>& out) = 0;

  // The path nodes of the access rectangles, in the path finder of the
  // manager's service table: added when a placement is finished (true when
  // the building has access rectangles), removed with the building.
  bool AddTaxiwayAccessNodes(cEntity_BuildingManager* manager);
  void RemoveTaxiwayAccessNodes(cEntity_BuildingManager* manager);
};

// A placed terminal: the flights standing at its gates.
class TerminalInstance : public BOInstance {
 public:
  // Takes the flight off its gate slot.
  virtual void RemoveFlight(cFlightContract* flight) = 0;
  // Puts a flight back into gate `gate`'s slot `slot` and at the end of the
  // terminal's flight list (after a load).
  virtual void AssignFlightToGate(cFlightContract* flight, uint8_t gate, uint8_t slot) = 0;
  // Takes away the interior object placed at (x, y); a business placed there
  // goes back to its pool.
  virtual void RemoveTerminalItem(uint8_t x, uint8_t y) = 0;
};
