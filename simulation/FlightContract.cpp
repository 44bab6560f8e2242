#include "simulation/FlightContract.h"

#include <algorithm>

#include "engine/services/GlobalWrapper.h"
#include "simulation/AirlineContract.h"
#include "simulation/AirportManager.h"
#include "simulation/ContractData.h"
#include "simulation/EventManager.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationServices.h"

bool cFlightContract::CheckRequirements(cKV9_GlobalWrapper* services, BOInstance*) {
  messages.clear();
  cSimulation_Clock* clock = GameClockOf(services);
  const bool ready = clock && airplane && clock->year >= airplane->yearAvailable;
  met = possible = ready ? 1 : 0;
  return ready;
}

void cFlightContract::RemoveFromSchedule(cAirlineContract* owner, cKV9_GlobalWrapper* services) {
  if (!owner) return;
  auto it = std::find(owner->signedFlights.begin(), owner->signedFlights.end(), this);
  // A flight that is not signed has no schedule to leave; appending it to the
  // open flights again would list it twice.
  if (it == owner->signedFlights.end()) return;
  if (services && services->eventManager)
    services->eventManager->RemoveFlightEvents(flightId, owner->data && owner->data->cargo);
  owner->signedFlights.erase(it);
  if (cEntity_AirportManager* airport = services ? services->airportManager : nullptr) {
    if (airplane && airplane->cargo) airport->RemoveStorageFlight(slotKeys[1], this);
    else airport->RemovePassengerFlight(slotKeys[1], this);
  }
  owner->openFlights.push_back(this);
}
