#pragma once
// The ambient manager ("SPN::KV9:AMBIENTMANAGER"): owner of everything that
// moves on the airport by itself. Declared with what the airport manager
// asks of it; the ambient manager's own work completes it.
#include <cstdint>

#include "engine/entity/EntityBase.h"

class BOInstance;
class cEntity_Airplane;
class cFlightContract;

// Vehicle kind flags the airport manager spawns with.
inline constexpr uint32_t kVehicleKind_Parking = 0x02;
inline constexpr uint32_t kVehicleKind_DropOff = 0x04;

class cEntity_AmbientManager : public cEntity_Base {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:AMBIENTMANAGER";

  using cEntity_Base::cEntity_Base;

  // The airplane of a flight that has a runway and a gate or storage.
  virtual void CreatePassengerAirplane(cFlightContract* flight, BOInstance* runway, BOInstance* terminal) = 0;
  virtual void CreateCargoAirplane(cFlightContract* flight, BOInstance* runway, BOInstance* storage) = 0;
  // A road vehicle of `kind` from one cell to another, facing `direction`
  // (0-3) at the start, bound for `building`.
  virtual void SpawnVehicle(uint16_t fromX, uint16_t fromY, uint16_t toX, uint16_t toY, uint32_t kind,
                            BOInstance* building, uint8_t direction) = 0;

  // Maintenance vehicles: whether one of `kind` can reach the cell, and one
  // sent there for the airplane (which clears its under-way flag when the
  // vehicle ends).
  virtual bool CanServeCell(uint16_t x, uint16_t y, uint32_t kind) = 0;
  virtual void SpawnMaintenanceVehicle(uint16_t x, uint16_t y, bool returns, uint32_t kind,
                                       cEntity_Airplane* airplane) = 0;
  // True when a path request can be made from the building's first taxiway
  // access cell with a path node to the cell's node (made and cancelled).
  virtual bool CanRouteFromTaxiwayAccess(BOInstance* building, uint16_t x, uint16_t y) = 0;
  // True when the building's taxiway access reaches the cell's path node.
  virtual bool ConnectBuilding(BOInstance* building, uint16_t x, uint16_t y) = 0;
  // A finished airplane leaves the airplane list (its entry becomes null).
  virtual void ForgetAirplane(cEntity_Airplane* airplane) = 0;

  // Shares of a flight's passengers that park by the hour, short-term and
  // long-term, in percent ("HourlyParking", "ShortTermParking",
  // "LongTermParking").
  float hourlyParking = 33.0f;
  float shortTermParking = 33.0f;
  float longTermParking = 33.0f;
};
