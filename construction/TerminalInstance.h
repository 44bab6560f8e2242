#pragma once
// A placed terminal: its 12 x 12 interior with the items placed there, its
// gates (path nodes) with a bank of eight flight slots each, its flights and
// the runways linked to it.
#include <cstdint>
#include <string>
#include <vector>

#include "construction/BOInstance.h"
#include "construction/PathFinder.h"

class cEntity_Airplane;
class cEntity_ContractManager;
class RunwayInstance;

inline constexpr uint32_t kInteriorSide = 12;
inline constexpr uint32_t kFlightBankSlots = 8;

struct FlightBank {
  cFlightContract* slots[kFlightBankSlots] = {};
};

struct TerminalItemNode {
  TerminalItem* item = nullptr;  // not owned
  uint32_t spare = 0;
  uint32_t x = 0;
  uint32_t y = 0;
  cContract* contract = nullptr;  // the airline an item is dedicated to, or null
};

class TerminalInstance : public BOInstance {
 public:
  TerminalInstance() = default;
  ~TerminalInstance() override;

  // Builds the usable interior map from the type's interior space.
  void Init() override;
  // Needs interior items of kinds 0, 1 and 3.
  bool IsFunctional() override;
  void UpdateStatus(cKV9_GlobalWrapper* table) override;
  void Demolish(cKV9_GlobalWrapper* table) override;

  uint32_t GetInteriorObjectCount() override { return static_cast<uint32_t>(items.size()); }
  TerminalItem* GetInteriorObject(uint32_t index) override {
    return index < items.size() ? items[index].item : nullptr;
  }
  cContract* GetInteriorObjectContract(uint32_t index) override {
    return index < items.size() ? items[index].contract : nullptr;
  }

  // Takes the flight off its gate slot and out of the terminal's flights.
  virtual void RemoveFlight(cFlightContract* flight);
  // Puts a flight back into gate `gate`'s slot `slot` and at the end of the
  // terminal's flight list (after a load); out-of-range places are ignored.
  virtual void AssignFlightToGate(cFlightContract* flight, uint8_t gate, uint8_t slot);
  // Takes away the interior object placed at (x, y); a business placed there
  // goes back to its pool.
  virtual void RemoveTerminalItem(uint8_t x, uint8_t y);

  // A random free slot of the gate's bank; false when it is full.
  bool AssignFlightToGateRandom(uint8_t gate, cFlightContract* flight);
  // Appends the item at (x, y); a business item is marked placed.
  TerminalItemNode* AddTerminalItem(TerminalItem* item, uint32_t x, uint32_t y);
  // Removes the item at (x, y) and frees its cells; with a contract manager
  // its business goes back to the pool with 365 days to wait.
  void RemoveTerminalItemWith(uint8_t x, uint8_t y, cEntity_ContractManager* contracts);
  // Removes without returning the business and adds at the new place.
  bool MoveTerminalItem(uint8_t fromX, uint8_t fromY, uint8_t toX, uint8_t toY);
  // Places the type's default items at the first free spots.
  void PlaceDefaultItems(cEntity_BuildingManager* manager, const std::string& today);
  void AddGate(cPathNode* node, uint8_t randomByte);
  uint32_t CountOccupiedGateSlots() const;
  void CollectGateFlights(std::vector<cFlightContract*>& out);
  // Places every gate flight again after a demolition.
  void RescheduleFlights(cKV9_GlobalWrapper* table);

  uint8_t usable[kInteriorSide][kInteriorSide] = {};
  uint8_t occupied[kInteriorSide][kInteriorSide] = {};
  std::vector<cPathNode*> gates;
  std::vector<Route*> gateRoutes;
  std::vector<uint64_t> gateRecords;
  std::vector<FlightBank*> banks;  // owned
  std::vector<cFlightContract*> flights;
  std::vector<uint8_t> gateBytes;
  std::string name = "Terminal";
  std::vector<TerminalItemNode> items;
  std::vector<RunwayInstance*> runways;
  std::vector<cEntity_Airplane*> airplanes;
  uint32_t lastWord = 0;

 private:
  void MarkItemCells(const TerminalItemNode& node, uint8_t value);
};
