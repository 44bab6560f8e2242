#pragma once
// One flight of an airline contract, flown by one airplane model.
#include <cstdint>

#include "simulation/Contract.h"

struct AirplaneData;
class cAirlineContract;

class cFlightContract : public cContract {
 public:
  cFlightContract(const AirplaneData* airplane, cAirlineContract* airline, uint32_t id)
      : cContract(kContractKind_Flight), airplane(airplane), airline(airline), flightId(id) {}

  void UpdateRequirements(cEntity_BuildingManager*) override {}
  // Met once the clock's year has reached the model's first year.
  bool CheckRequirements(cKV9_GlobalWrapper* services, BOInstance* disregarded) override;
  // Takes a signed flight off the schedule and back to the open flights:
  // its queued events, the airline's signed array, the airport's flight list.
  void RemoveFromSchedule(cAirlineContract* owner, cKV9_GlobalWrapper* services);

  const AirplaneData* airplane;  // not owned
  uint32_t reserved = 0;
  cAirlineContract* airline;  // the owner
  uint32_t flightId;
  // Passengers booked on the flight today (the terminal's daily share).
  uint16_t passengers = 0;
  // The gate-slot keys; the second also numbers the airport's flight list
  // that holds the flight.
  uint8_t slotKeys[2] = {0, 0};
  // Set while the flight's arrival is put back by bad weather.
  uint8_t delayed = 0;
};
