#include "simulation/SlowDown.h"

#include "engine/config/ConfigManager.h"
#include "engine/services/GlobalWrapper.h"
#include "simulation/EventManager.h"
#include "simulation/Simulation.h"
#include "simulation/SimulationServices.h"

const char* const AutoslowFlags::kKeys[AutoslowFlags::kHappenings] = {
    "SlowOnPlaneLanding", "SlowOnPlaneTakeoff", "SlowOnVehicleArrive", "SlowOnVehicleLeave",
    "SlowOnEmergency",    "SlowOnSecurity",     "SlowOnSafety",        "SlowOnFlightDelay",
    "SlowOnFlightCancel", "SlowOnContractOffer", "SlowOnContractRenew"};

void AutoslowFlags::Read(cCore_ConfigManager* config) {
  auto read = [&](const char* key) -> uint8_t {
    bool on = false;
    if (config) config->GetBool("Autoslow", key, on);
    return on ? 1 : 0;
  };
  alwaysSlow = read("AlwaysSlow");
  neverSlow = read("NeverSlow");
  for (int i = 0; i < kHappenings; ++i) happening[i] = read(kKeys[i]);
}

bool AutoslowFlags::ShouldSlow(Happening which) const {
  return alwaysSlow || (!neverSlow && happening[static_cast<int>(which)]);
}

bool SlowDownFor(cKV9_GlobalWrapper* table, Happening which) {
  cSimulation_Clock* clock = GameClockOf(table);
  if (!clock || !table->eventManager || !table->eventManager->autoslow.ShouldSlow(which)) return false;
  return clock->SetSpeed(1);
}
