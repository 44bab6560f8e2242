#pragma once
// The player's Autoslow switches (section "Autoslow") and the one slow-down
// rule: a happening the player may want to watch puts the game back to
// speed 1 when "AlwaysSlow" is on, or when "NeverSlow" is off and the
// happening's own switch is on.
#include <cstdint>

class cCore_ConfigManager;
class cKV9_GlobalWrapper;

enum class Happening : uint8_t {
  PlaneLanding,
  PlaneTakeoff,
  VehicleArrive,
  VehicleLeave,
  Emergency,
  Security,
  Safety,
  FlightDelay,
  FlightCancel,
  ContractOffer,
  ContractRenew,
};

struct AutoslowFlags {
  static constexpr int kHappenings = 11;
  // The configuration keys, in Happening order.
  static const char* const kKeys[kHappenings];

  uint8_t alwaysSlow = 0;
  uint8_t neverSlow = 0;
  uint8_t happening[kHappenings] = {};

  // Each switch from section "Autoslow"; absent keys are off.
  void Read(cCore_ConfigManager* config);
  bool ShouldSlow(Happening which) const;
};

// Applies the rule with the event manager's switches: sets speed 1 on the
// clock when it says so. True when it slowed the game.
bool SlowDownFor(cKV9_GlobalWrapper* table, Happening which);
