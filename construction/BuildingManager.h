#pragma once
// The building manager (spawned as "SPN::KV9:BUILDINGMANAGER"): owner of the
// building types and, through them, of the placed buildings. The building
// manager issue completes it.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/entity/EntityBase.h"

class cBuildableObject;
class BOInstance;
class TerminalInstance;
class cContract;
struct TerminalItem;

// Building class codes; 13 is no building.
inline constexpr uint8_t kBuildingClassCount = 13;
inline constexpr uint8_t kBuildingClass_Amenity = 2;
inline constexpr uint8_t kBuildingLevelCount = 8;
inline constexpr uint32_t kTechnologyFlagCount = 16;

// A road access point of a placed building: cell and the direction it faces
// (0 toward -y, 1 toward +x, 2 toward +y, 3 toward -x).
struct RoadAccessCell {
  uint16_t x = 0;
  uint16_t y = 0;
  uint8_t direction = 0;
};

class cEntity_BuildingManager : public cEntity_Base {
 public:
  using cEntity_Base::cEntity_Base;

  // The type of (class, id, level), or null.
  virtual cBuildableObject* GetBuildingType(uint8_t classCode, uint16_t id, uint8_t level) = 0;
  // Number of ids of a class.
  virtual uint16_t GetTypeIdCount(uint8_t classCode) = 0;
  // Technology flag n (0-15).
  virtual bool GetTechFlag(uint32_t index) = 0;
  virtual const std::vector<BOInstance*>& GetTerminals() = 0;
  // Road access points turned and moved to the instance's place; empty when
  // the type has none.
  virtual void GetRoadAccessCells(BOInstance* instance, std::vector<RoadAccessCell>& out) = 0;
  virtual void ApplyEarthquakeDamage(int32_t magnitude) = 0;

  // The id of a type name in a class, compared without regard to case; a
  // name not yet known is appended and gets the next id.
  virtual uint16_t FindTypeIndexByName(uint8_t classCode, const std::string& name) = 0;
  // The terminal object of that name (any case) in any group, or null.
  virtual TerminalItem* FindTerminalObject(const std::string& name) = 0;
  // The placed terminal whose identity word is `word`, or null.
  virtual TerminalInstance* FindTerminalInstanceOfType(uint32_t word) = 0;

  // Counts of functional buildings whose owning contract is `contract` (null:
  // dedicated to none). Of the word's type from its level up to 7:
  virtual uint32_t CountInstancesOfType(uint32_t word, cContract* contract) = 0;
  // Of the word's type at every level (0 when the id is not below the
  // class's id count); the B form is the one the dedicate tests ask.
  virtual uint32_t CountInstancesFromLevel1(uint32_t word, cContract* contract) = 0;
  virtual uint32_t CountInstancesFromLevel1B(uint32_t word, cContract* contract) = 0;
  // Of every type of the word's class.
  virtual uint32_t CountClassInstances(uint32_t word, cContract* contract) = 0;
  virtual uint32_t CountClassInstancesB(uint32_t word, cContract* contract) = 0;
  // Every placed or unfinished building dedicated to the contract loses its
  // owner and leaves its administration building; an airline contract also
  // loses its satisfaction bonus. Null does nothing.
  virtual void ReleaseContractBuildings(cContract* contract) = 0;
  // Removes a placed building completely (lists, plot, networks) and runs
  // its demolition.
  virtual void RemoveInstance(BOInstance* instance) = 0;

  // 0 to 3 when a placed building's road access point on cell (x, y) faces
  // -y, +x, +y or -x; another value otherwise.
  virtual uint8_t CheckPlacementAt(int32_t x, int32_t y) = 0;
  // The placed building with a road access point on cell (x, y), or null.
  virtual BOInstance* FindInstanceByRoadCell(int32_t x, int32_t y) = 0;
  // The placed building standing on cell (x, y), or null.
  virtual BOInstance* GetInstanceAt(int32_t x, int32_t y) = 0;
  // After new pavement or a network change: every placed building's road
  // and taxiway connections counted again.
  virtual void RecountConnections() = 0;
};
