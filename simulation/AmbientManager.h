#pragma once
// The ambient manager ("SPN::KV9:AMBIENTMANAGER"): owner of everything that
// moves on the airport by itself. It creates the airplane of a flight the
// airport manager found a runway for, keeps the airplanes in its lists,
// limits and books ordinary road traffic, and saves which flights had an
// airplane on the field.
#include <cstdint>
#include <vector>

#include "engine/entity/EntityBase.h"
#include "engine/files/SerializedObject.h"
#include "simulation/TimeObject.h"

class BOInstance;
class cEntity_Airplane;
class cFlightContract;
class cKV9_GlobalWrapper;

// Vehicle kind flags the airport manager spawns with; kinds with a bit of
// 0xF00 are service vehicles and pass the limit.
inline constexpr uint32_t kVehicleKind_Parking = 0x02;
inline constexpr uint32_t kVehicleKind_DropOff = 0x04;
inline constexpr uint32_t kVehicleKind_Service = 0xF00;

class cEntity_AmbientManager : public cEntity_Base, public cSimulation_TimeObject, public cSerialized_Object {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:AMBIENTMANAGER";
  static constexpr const char* kVehicleSpawn = "SPN::KV9:VEHICLE";
  static constexpr uint32_t kNoFlight = 0xFFFFFFFFu;

  explicit cEntity_AmbientManager(cEntity_Manager* manager, uint32_t type = kEntityType_Base);
  ~cEntity_AmbientManager() override;

  // "AmbientLimit" and the three parking shares of section "App".
  void LoadSettings();
  // Joins the clock and creates the airplanes of a loaded game's flights.
  void RegisterAndRestore();
  // Leaves the clock and finishes every airplane, cargo ones included.
  void Clear();
  CoreStatus Exit() override;
  // Tick: the lists lose one null entry each.
  int32_t OnTime(uint32_t totalSeconds, uint32_t interval, uint32_t eventFlag, float gameDelta) override;
  // The flight ids of the airplane list (0xFFFFFFFF for a null entry).
  bool Save(SerialBlock* bytes, uint32_t* size) override;
  // Keeps the flight ids to restore; false, changing nothing, for a blob
  // whose count does not match its size.
  bool LoadFromBlob(const uint8_t* bytes, uint32_t size) override;

  // The airplane of a flight that has a runway and a gate or storage.
  virtual void CreatePassengerAirplane(cFlightContract* flight, BOInstance* runway, BOInstance* terminal);
  virtual void CreateCargoAirplane(cFlightContract* flight, BOInstance* runway, BOInstance* storage);
  // The airplane of a loaded game's flight, parked at its gate.
  void RestoreAirplane(uint32_t flightId);
  // A road vehicle of `kind` from one cell to another, facing `direction`
  // (0-3) at the start, bound for `building`. Parking pays on arrival
  // here; ordinary traffic is refused over the limit or while the airport
  // is closed.
  virtual void SpawnVehicle(uint16_t fromX, uint16_t fromY, uint16_t toX, uint16_t toY, uint32_t kind,
                            BOInstance* building, uint8_t direction);

  // Maintenance vehicles: whether one of `kind` can reach the cell, and one
  // sent there for the airplane (which clears its under-way flag when the
  // vehicle ends).
  virtual bool CanServeCell(uint16_t x, uint16_t y, uint32_t kind);
  virtual void SpawnMaintenanceVehicle(uint16_t x, uint16_t y, bool returns, uint32_t kind,
                                       cEntity_Airplane* airplane);
  // True when a path request can be made from the building's first taxiway
  // access cell with a path node to the cell's node (made and cancelled).
  virtual bool CanRouteFromTaxiwayAccess(BOInstance* building, uint16_t x, uint16_t y);
  // True when the building's taxiway access reaches the cell's path node.
  virtual bool ConnectBuilding(BOInstance* building, uint16_t x, uint16_t y);
  // A finished airplane leaves its list (its entry becomes null).
  virtual void ForgetAirplane(cEntity_Airplane* airplane);

  // Shares of a flight's passengers that park by the hour, short-term and
  // long-term, in percent.
  float hourlyParking = 33.0f;
  float shortTermParking = 33.0f;
  float longTermParking = 33.0f;
  int32_t ambientLimit = 15;
  int32_t trafficCount = 0;
  int32_t refusedCount = 0;
  uint8_t noAmbients = 0;
  std::vector<cEntity_Airplane*> airplanes;       // null: finished
  std::vector<cEntity_Airplane*> cargoAirplanes;  // not saved
  std::vector<uint32_t> flightsToRestore;

 private:
  cKV9_GlobalWrapper* Table();
  cEntity_Airplane* MakeAirplane(cFlightContract* flight, BOInstance* runway);
  bool registered_ = false;
};
