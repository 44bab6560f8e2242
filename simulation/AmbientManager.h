#pragma once
// The ambient manager ("SPN::KV9:AMBIENTMANAGER"): owner of everything that
// moves on the airport by itself. It creates the airplane of a flight the
// airport manager found a runway for, keeps the airplanes in its lists,
// limits and books ordinary road traffic, and saves which flights had an
// airplane on the field.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/entity/EntityBase.h"
#include "engine/files/SerializedObject.h"
#include "engine/math/JVector.h"
#include "simulation/AmbientData.h"
#include "simulation/RoadTrafficIndex.h"
#include "simulation/TimeObject.h"

class BOInstance;
class cEntity_Airplane;
class cEntity_Maintanance;
class cEntity_Vehicle;
class cPathNode;
struct BuildingHooks;
struct PathRequest;
class cFlightContract;
class cKV9_GlobalWrapper;

// Vehicle kind flags the airport manager spawns with; kinds with a bit of
// 0xF00 are service vehicles and pass the limit.
inline constexpr uint32_t kVehicleKind_Parking = 0x02;
inline constexpr uint32_t kVehicleKind_DropOff = 0x04;
inline constexpr uint32_t kVehicleKind_Service = 0xF00;

// The buildings whose maintenance vehicles reach a path node.
struct MaintConnectionData {
  cPathNode* node = nullptr;
  std::vector<BOInstance*> buildings;
};

class cEntity_AmbientManager : public cEntity_Base, public cSimulation_TimeObject, public cSerialized_Object {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:AMBIENTMANAGER";
  static constexpr const char* kVehicleSpawn = "SPN::KV9:VEHICLE";
  static constexpr const char* kPersonSpawn = "SPN::KV9:PERSON";
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
  // Tick: one finished route request becomes a vehicle; otherwise the lists
  // lose their null entries.
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
  // A vehicle leaving the building from the road cell (x, y) for the
  // entrance: the switch and the limit apply, parking does not.
  virtual void SpawnLeavingVehicle(uint16_t x, uint16_t y, BOInstance* building);
  // A vehicle of `kind` from a road-access cell of `from` to one of `to`.
  virtual void SendVehicleBetweenBuildings(BOInstance* from, BOInstance* to, uint32_t kind);
  // A snow vehicle on a random route between two buildings; the limit does
  // not apply. False when no route was found.
  virtual bool SpawnSnowVehicle();
  // Vehicles bound to or from the building are dropped; maintenance
  // connections forget it.
  virtual void OnBuildingRemoved(BOInstance* building);
  // Puts the manager's traffic operations into the building manager's
  // hooks.
  void InstallBuildingHooks(BuildingHooks& hooks);

  // Ambient-data records: the state byte from the buildings that exist;
  // records with both kinds present stand at the front.
  void AddAmbientData(const AmbientData& record);
  void ActivateAllAmbientData();
  // A road vehicle or person with the model, in the ambient render
  // service, with its running sound; null when the spawn fails.
  cEntity_Vehicle* SpawnAmbient(const std::string& modelName);
  cEntity_Vehicle* SpawnAmbientByIndex(uint32_t index);
  // A model among the records whose kind flags share a bit with the kind;
  // empty when none does.
  std::string ChooseModelForKind(uint32_t kind);
  // A path request whose finished route becomes a vehicle on a later tick.
  void QueueRouteVehicle(PathRequest* request);

  // Road traffic queries: the nearest vehicle ahead in the asking vehicle's
  // lane (distance along its direction); the |dx| + |dz| distance to the
  // nearest vehicle of a kind (10000000 when there is none).
  cEntity_Vehicle* FindVehicleAhead(cEntity_Vehicle* vehicle, float* distance);
  float NearestVehicleDistance(const JVector& point, uint32_t kind, const cEntity_Vehicle* except = nullptr);
  // A listed vehicle's position changed: the traffic grid follows it.
  void VehicleMoved(cEntity_Vehicle* vehicle) { trafficIndex_.Moved(vehicle); }
  // Into the first null entry (else at the end); ordinary traffic counts.
  void AddVehicle(cEntity_Vehicle* vehicle);
  void RemoveVehicle(cEntity_Vehicle* vehicle);
  // A maintenance vehicle's entry becomes null when it ends.
  void ForgetMaintenance(cEntity_Maintanance* vehicle);
  // The console's "NoAmbients": "true" sets the switch, any other word
  // clears it.
  bool SendMessage(uintptr_t sender, std::string& eventName, const std::string& params) override;

  // Maintenance vehicles: whether one of `kind` can reach the cell, and one
  // sent there for the airplane (which clears its under-way flag when the
  // vehicle ends).
  virtual bool CanServeCell(uint16_t x, uint16_t y, uint32_t kind);
  virtual void SpawnMaintenanceVehicle(uint16_t x, uint16_t y, bool returns, uint32_t kind,
                                       cEntity_Airplane* airplane);
  // True when a path request can be made from the building's first taxiway
  // access cell with a path node to the cell's node (made and cancelled).
  virtual bool CanRouteFromTaxiwayAccess(BOInstance* building, uint16_t x, uint16_t y);
  // A path request from the building's first taxiway access cell with a
  // path node to the cell's node; null when either is missing.
  PathRequest* RequestRouteFromTaxiwayAccess(BOInstance* building, uint16_t x, uint16_t y);
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
  std::vector<AmbientData> ambientData;
  int32_t activeRecordCount = 0;
  std::vector<cEntity_Vehicle*> vehicles;  // null: finished
  std::vector<cEntity_Maintanance*> maintenanceVehicles;  // null: ended
  std::vector<MaintConnectionData> maintConnections;
  std::vector<PathRequest*> routeRequests;
  // The traffic queries look among the vehicles of the grid cells around
  // the asking vehicle; off, they walk the whole list (the reference the
  // grid is checked against).
  bool useTrafficGrid = true;

 private:
  cKV9_GlobalWrapper* Table();
  cEntity_Airplane* MakeAirplane(cFlightContract* flight, BOInstance* runway);
  // A road vehicle with a model for the kind, attached, scaled, sounding and
  // on the clock; null when the spawn fails.
  cEntity_Vehicle* MakeVehicle(uint32_t kind);
  // Refuses ordinary traffic over the limit, while flights do not run or
  // the airport is closed.
  bool AdmitOrdinary(uint32_t kind);
  void VehicleFromRoute(PathRequest* request);
  // The building that serves the kind at the node and a request from it.
  BOInstance* FindServiceSource(uint16_t x, uint16_t y, uint32_t kind, PathRequest** request);
  // A random road-access cell of the building stepped one cell out; false
  // when it has none with a path node.
  bool RoadCellOutside(BOInstance* building, uint16_t* x, uint16_t* y, uint8_t* direction);
  // Placed buildings by type; with `operatingOnly` the functional ones.
  std::vector<BOInstance*> PlacedBuildings(bool operatingOnly = true);
  // The connection entry of the node, null when none. An index of the
  // entries' nodes answers without a walk over the list, which grows with
  // every service cell of the airport; entries are only appended (the index
  // follows) or all cleared (`Clear` drops the index).
  MaintConnectionData* ConnectionAt(cPathNode* node);
  bool registered_ = false;
  std::unordered_map<cPathNode*, size_t> connectionIndex_;
  RoadTrafficIndex trafficIndex_;
  size_t connectionsIndexed_ = 0;
};
