#include "simulation/AirlineManager.h"

#include "simulation/Simulation.h"

cSimulation_Airline::~cSimulation_Airline() {
  for (cContract_Flight* flight : flights) delete flight;
  flights.clear();
}

int32_t cSimulation_Airline::OnTime(uint32_t, uint32_t, uint32_t, float) { return 0; }

cEntity_AirlineManager::cEntity_AirlineManager(cEntity_Manager* manager)
    : cEntity_Base(manager, kEntityType_Base), cSimulation_TimeObject(kTimeEvent_Tick) {}

cEntity_AirlineManager::~cEntity_AirlineManager() {
  for (cSimulation_Airline* airline : airlines_) delete airline;
}

CoreStatus cEntity_AirlineManager::Start(cEntity_Simulation* simulation, cEntity_EventManager* eventManager) {
  simulation_ = simulation;
  eventManager_ = eventManager;
  if (simulation_) simulation_->clock.RegisterTimeObject(this);
  return status::Ok;
}

CoreStatus cEntity_AirlineManager::Stop() {
  if (simulation_) simulation_->clock.UnregisterTimeObject(this);
  for (cSimulation_Airline* airline : airlines_) delete airline;
  airlines_.clear();
  simulation_ = nullptr;
  eventManager_ = nullptr;
  return status::Ok;
}

int32_t cEntity_AirlineManager::OnTime(uint32_t totalSeconds, uint32_t interval, uint32_t eventFlag, float) {
  for (cSimulation_Airline* airline : airlines_) airline->OnTime(totalSeconds, interval, eventFlag, 0.0f);
  return 0;
}
