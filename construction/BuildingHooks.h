#pragma once
// What placed buildings ask of the ambient and airport managers, whose
// declarations come with their own issues: the game installs these hooks on
// the building manager when it builds the world; an empty hook does nothing.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class BOInstance;
class C3DModel;
class cContract;
struct AmbientData;

struct BuildingHooks {
  // Ambient traffic.
  std::function<void(uint16_t x, uint16_t y, BOInstance* building)> spawnVehicle;
  std::function<void(uint16_t x, uint16_t y, BOInstance* building)> spawnLeavingVehicle;
  std::function<void(BOInstance* from, BOInstance* to, uint32_t kind)> sendVehicleBetween;
  std::function<void(BOInstance* building)> onBuildingRemoved;
  std::function<void()> activateAmbientRecords;
  // Data the tables hand on: an ambient-traffic record (true: the ambient
  // manager keeps it and owns it) and a scenery model with its four
  // parameters (the terrain keeps the reference it is given).
  std::function<bool(AmbientData* record)> addAmbientData;
  std::function<void(C3DModel* model, const std::vector<std::string>& params)> addStaticModel;
  // Airport storage and administration bookkeeping.
  std::function<void(BOInstance* storage)> addStorageFacility;
  std::function<void(BOInstance* storage)> removeStorageFacility;
  std::function<void(BOInstance* storage)> addCargoStorage;
  std::function<void(BOInstance* storage)> removeCargoStorage;
  std::function<void(BOInstance* storage)> addColdStorage;
  std::function<void(BOInstance* storage)> removeColdStorage;
  std::function<void(BOInstance* runway)> linkStoragesToRunway;
  std::function<void(BOInstance* building)> assignToAdmin;
  std::function<void(BOInstance* building)> releaseFromAdmin;
  std::function<void(BOInstance* admin)> releaseAdmin;
};
