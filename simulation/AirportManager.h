#pragma once
// The airport manager ("SPN::KV9:AIRPORTMANAGER"): traffic and its history,
// the daily flight timetable, storage links, the airport's fee prices. The
// flights issue completes it; the contracts reach it through these.
#include <cstdint>

#include "engine/entity/EntityBase.h"

class cFlightContract;

class cEntity_AirportManager : public cEntity_Base {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:AIRPORTMANAGER";
  static constexpr uint32_t kTrafficHistoryLength = 10;
  static constexpr uint32_t kFeeItemCount = 18;

  using cEntity_Base::cEntity_Base;

  // Passengers the terminals took on the last day.
  virtual uint32_t GetTraffic() = 0;
  // Daily traffic `index` days back (0 newest, up to 9).
  virtual uint32_t GetTrafficHistory(uint32_t index) = 0;
  // The airport's own price of fee item `item` (0-17).
  virtual float GetFeePrice(uint32_t item) = 0;

  // Give a newly signed flight a gate (passenger) or storage slot (cargo);
  // false when none is free.
  virtual bool PlacePassengerFlight(cFlightContract* flight) = 0;
  virtual bool PlaceCargoFlight(cFlightContract* flight) = 0;
  // The passenger flight list `list` (a gate-slot key of the flight) and the
  // per-storage cargo flight list `list`: flights join and leave them.
  virtual void AddPassengerFlight(uint8_t list, cFlightContract* flight) = 0;
  virtual void RemovePassengerFlight(uint8_t list, cFlightContract* flight) = 0;
  virtual void AddStorageFlight(uint8_t list, cFlightContract* flight) = 0;
  virtual void RemoveStorageFlight(uint8_t list, cFlightContract* flight) = 0;
  // Frees slot `slot` of the storage record whose building word is `word`.
  virtual void ClearStorageSlot(uint32_t word, uint8_t slot) = 0;
};
