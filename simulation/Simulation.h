#pragma once
// The simulation entity ("SPN::KV9:SIMULATION"): holds the game clock, runs
// it once per frame from the engine time service, and spawns and owns the
// airline manager and the event manager.
#include <cstdint>

#include "engine/entity/EntityBase.h"
#include "engine/files/SerializedObject.h"
#include "engine/frame/TimeService.h"
#include "simulation/SimulationClock.h"

class cEntity_AirlineManager;
class cEntity_EventManager;
class cKV9_GlobalWrapper;

class cEntity_Simulation : public cEntity_Base, public TimeServiceItem {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:SIMULATION";
  static constexpr uint32_t kBlobSize = 32;

  explicit cEntity_Simulation(cEntity_Manager* manager);
  ~cEntity_Simulation() override;

  // Spawns both child managers and files them in the table; 0x80004005 when
  // either cannot be spawned or is not of its class.
  virtual CoreStatus Init();
  using cEntity_Base::Init;
  virtual CoreStatus Start();
  virtual CoreStatus Stop();
  // The 32-byte clock blob.
  virtual bool Save(SerialBlock* bytes, uint32_t* size);
  // False, changing nothing, without a blob or for one that does not check out.
  virtual bool Load(const uint8_t* bytes, uint32_t size);
  // Destroys the child managers; answers 0x80004005 as the system does.
  CoreStatus Exit() override;

  // The time service calls this once per frame with the frame's real time.
  void OnTimeEvent(TimeEvent* event) override;

  cEntity_AirlineManager* GetAirlineManager() const { return airlineManager_; }
  cEntity_EventManager* GetEventManager() const { return eventManager_; }

  cSimulation_Clock clock;

 private:
  cKV9_GlobalWrapper* Table();

  cEntity_AirlineManager* airlineManager_ = nullptr;
  cEntity_EventManager* eventManager_ = nullptr;
  int32_t timeline_ = -1;
  // Set by a successful Load, used up by the next Start: a loaded game keeps
  // its time of day.
  bool loadedTime_ = false;
};
