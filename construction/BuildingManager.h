#pragma once
// The building manager (spawned as "SPN::KV9:BUILDINGMANAGER"): owner of the
// building types and, through them, of the placed buildings. The building
// manager issue completes it.
#include <cstdint>
#include <vector>

#include "engine/entity/EntityBase.h"

class cBuildableObject;
class BOInstance;

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
};
