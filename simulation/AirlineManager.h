#pragma once
// The airline manager ("SPN::KV9:SIMULATION:AIRLINEMANAGER"): a child of the
// simulation entity, registered with the clock for ticks, passing each one
// to its airline schedule objects. Nothing creates such an object, so the
// list stays empty; the airline business runs in the contract manager.
#include <cstdint>
#include <vector>

#include "engine/entity/EntityBase.h"
#include "simulation/ContractModel.h"
#include "simulation/TimeObject.h"

class cEntity_Simulation;
class cEntity_EventManager;

// An airline's schedule: owns its planned flights.
class cSimulation_Airline : public cContract_Airline, public cSimulation_TimeObject {
 public:
  cSimulation_Airline() : cSimulation_TimeObject(kTimeEvent_Tick) {}
  ~cSimulation_Airline() override;
  int32_t OnTime(uint32_t totalSeconds, uint32_t interval, uint32_t eventFlag, float gameDelta) override;
  virtual void Idle() {}

  std::vector<cContract_Flight*> flights;  // owned
};

class cEntity_AirlineManager : public cEntity_Base, public cSimulation_TimeObject {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:SIMULATION:AIRLINEMANAGER";

  explicit cEntity_AirlineManager(cEntity_Manager* manager);
  ~cEntity_AirlineManager() override;

  // Keeps both references and registers with the clock; 0.
  virtual CoreStatus Start(cEntity_Simulation* simulation, cEntity_EventManager* eventManager);
  // Leaves the clock (when a simulation is known), deletes every airline,
  // clears both references; 0.
  virtual CoreStatus Stop();
  int32_t OnTime(uint32_t totalSeconds, uint32_t interval, uint32_t eventFlag, float gameDelta) override;

  const std::vector<cSimulation_Airline*>& GetAirlines() const { return airlines_; }

 private:
  std::vector<cSimulation_Airline*> airlines_;  // owned
  cEntity_Simulation* simulation_ = nullptr;
  cEntity_EventManager* eventManager_ = nullptr;
};
