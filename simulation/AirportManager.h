#pragma once
// The airport manager ("SPN::KV9:AIRPORTMANAGER"): the daily passenger
// traffic and its history, the daily timetable of eight departure banks of
// passenger and cargo flights handed to the event queue, flight placement
// and arrival, storage links, administration places, the airport's fee
// prices, the closure counter of bad weather, the awards and the named
// events. The contracts, the event manager and the statistics reach it
// through the service table.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/entity/EntityBase.h"
#include "engine/files/SerializedObject.h"
#include "simulation/AirportTables.h"
#include "simulation/TimeObject.h"

class AirportSite;
class BOInstance;
class cEntity_Airplane;
class cFlightContract;
class cKV9_GlobalWrapper;
struct AirportBlob;
struct PathRequest;

// Award condition types: the statistic a report carries.
enum AwardCondition : uint8_t {
  kAward_CustomerSatisfaction = 1,
  kAward_Security = 2,
  kAward_Safety = 3,
  kAward_Aesthetic = 4,
  kAward_TotalPassengers = 5,
  kAward_AirlineSatisfaction = 6,
};

class cEntity_AirportManager : public cEntity_Base, public cSerialized_Object, public cSimulation_TimeObject {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:AIRPORTMANAGER";
  static constexpr const char* kAwardTable = "Awards\\Base.kva";
  static constexpr const char* kEventTable = "Events\\Base.kva";
  static constexpr uint32_t kTrafficHistoryLength = 10;
  static constexpr uint32_t kFeeItemCount = 18;
  static constexpr uint32_t kBankCount = 8;

  explicit cEntity_AirportManager(cEntity_Manager* manager, uint32_t type = kEntityType_Base);
  ~cEntity_AirportManager() override;

  // Loads the award table, then the event table; a missing file leaves its
  // table empty.
  virtual CoreStatus Init();
  using cEntity_Base::Init;
  // World build: fee prices, the clock, cleared traffic; with a loaded blob,
  // the PDA messages, won awards, triggered events, closure and traffic are
  // restored and every runway is linked to the drop-off storages.
  virtual CoreStatus Start();
  // Leaves the clock; empties the banks and the three storage lists.
  virtual CoreStatus Stop();
  // Frees the award and event records.
  CoreStatus Exit() override;
  // Day: traffic. Hour: the not-functional notice or a bank. Always 0.
  int32_t OnTime(uint32_t totalSeconds, uint32_t interval, uint32_t eventFlag, float gameDelta) override;
  bool Save(SerialBlock* bytes, uint32_t* size) override;

  // The table readers on text in memory; each replaces its table.
  void ReadAwardTable(std::string_view text);
  void ReadEventTable(std::string_view text);
  // Applies a save blob (as Start does with a loaded one); false, changing
  // nothing, when it does not check out.
  bool ApplyBlob(const uint8_t* bytes, uint32_t size);

  // Passengers the terminals took on the last day.
  virtual uint32_t GetTraffic() { return traffic; }
  // Daily traffic `index` days back (0 newest, up to 9).
  virtual uint32_t GetTrafficHistory(uint32_t index) {
    return index < kTrafficHistoryLength ? history[index] : 0;
  }
  // The airport's own price of fee item `item` (0-17).
  virtual float GetFeePrice(uint32_t item) { return item < kFeeItemCount ? feePrices[item] : 0.0f; }

  // Give a newly signed flight a gate (passenger) or storage place (cargo)
  // and put it into its bank; false when none is free.
  virtual bool PlacePassengerFlight(cFlightContract* flight);
  virtual bool PlaceCargoFlight(cFlightContract* flight);
  // The passenger bank and the cargo bank `list` (the flight's slot): flights
  // join and leave them. A bank number of 8 or more is refused.
  virtual void AddPassengerFlight(uint8_t list, cFlightContract* flight);
  virtual void RemovePassengerFlight(uint8_t list, cFlightContract* flight);
  virtual void AddStorageFlight(uint8_t list, cFlightContract* flight);
  virtual void RemoveStorageFlight(uint8_t list, cFlightContract* flight);
  // Frees drop-off place `slot` of the storage whose identity word is `word`.
  virtual void ClearStorageSlot(uint32_t word, uint8_t slot);
  // Takes a flight that leaves the schedule out of its passenger bank.
  void ReleasePassengerFlight(cFlightContract* flight);

  // Called by the event manager when a flight's arrival event fires.
  virtual void FlightArrival(uint32_t flightId);
  // A statistic reported by the statistics manager; wins every award it
  // qualifies for.
  virtual void CheckAward(uint8_t conditionType, float value);

  // Cargo of an arriving cargo airplane into the storages, and outbound
  // cargo of its airline whose pick-up time has come onto it; `x, y` is the
  // cell the storages must reach.
  void UnloadAirplaneCargo(cEntity_Airplane* airplane, uint16_t x, uint16_t y);
  void LoadAirplaneCargo(cEntity_Airplane* airplane, uint16_t x, uint16_t y);

  // Drop-off storages and their paths from every runway.
  void AddStorageFacility(BOInstance* storage);
  void RemoveStorageFacility(BOInstance* storage);
  void LinkStoragesToRunway(BOInstance* runway);
  void RemoveCargoStorage(BOInstance* storage);
  void RemoveColdStorage(BOInstance* storage);
  // The first storage of the storage list naming the same building (class,
  // id, level, serial; the category is not compared), or null.
  BOInstance* FindStorageByWord(uint32_t word);

  bool HasAdminCapacityFor(BOInstance* building);
  bool AssignToAdmin(BOInstance* building);
  void ReleaseFromAdmin(BOInstance* building);

  // True when at least 80 % of all gates of all terminals are occupied (their
  // node's lock set); false without gates.
  bool AreGatesOccupied();

  cAward* FindAward(const std::string& name);
  void ListWonAwards(std::vector<std::string>& names);

  // The scheduling of one bank (hour 2k + 5 schedules bank k).
  void SchedulePassengerBank(uint32_t bank);
  void ScheduleCargoBank(uint32_t bank);
  // The day's traffic step.
  void UpdateTraffic();

  // The building side; not owned. Without one, nothing is placed or linked.
  void SetSite(AirportSite* site) { site_ = site; }
  AirportSite* GetSite() const { return site_; }

  uint32_t traffic = 0;
  uint32_t history[kTrafficHistoryLength] = {};
  std::vector<cFlightContract*> passengerBanks[kBankCount];  // not owned
  std::vector<cFlightContract*> cargoBanks[kBankCount];      // not owned
  std::vector<BOInstance*> dropoffStorages;
  std::vector<BOInstance*> storages;      // storage instances append themselves
  std::vector<BOInstance*> coldStorages;  // storage instances append themselves
  std::vector<std::unique_ptr<cAward>> awards;
  std::vector<std::unique_ptr<cEvent>> events;
  float feePrices[kFeeItemCount] = {};
  uint8_t closure = 0;  // above 0 the airport is closed

 private:
  struct StorageLink {
    BOInstance* runway;
    BOInstance* storage;
    PathRequest* route;
  };

  cKV9_GlobalWrapper* Table();
  std::string ResourcePath();
  void SetFeePrices();
  void ClearTraffic();
  void RequestStorageRoute(BOInstance* runway, BOInstance* storage);
  PathRequest* StorageRoute(BOInstance* runway, BOInstance* storage) const;
  void CancelStorageLinks(BOInstance* storage);
  void RescheduleCargoFlights(uint32_t storageWord);
  cFlightContract* FindScheduledFlight(uint32_t flightId);
  bool RunwayQualifies(BOInstance* runway, cFlightContract* flight, BOInstance* destination);
  void SpawnPassengerTraffic(cFlightContract* flight);
  void ScheduleFlightEvent(uint32_t kind, uint32_t flightId, int32_t hour, int32_t minute, int32_t second);
  void ApplyLoaded(const AirportBlob& blob);
  void LoadAwardImages();

  AirportSite* site_ = nullptr;
  std::vector<StorageLink> storageLinks_;
  bool registered_ = false;
};
