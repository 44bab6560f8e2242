#include "simulation/AirlineContract.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingManager.h"
#include "engine/math/Noise.h"
#include "engine/services/GlobalWrapper.h"
#include "platform/DebugOutput.h"
#include "simulation/AirportManager.h"
#include "simulation/ContractData.h"
#include "simulation/ContractManager.h"
#include "simulation/EventManager.h"
#include "simulation/FlightContract.h"
#include "simulation/StatManager.h"

namespace {

enum : uint8_t {
  kClassRunway = 8,
  kClassAdmin = 6,
  kClassStorage = 7,
  kClassEmergency = 9,
  kClassSecurity = 10,
  kClassService = 11,
  kClassOrganizational = 12,
};

struct RequirementSpec {
  uint8_t classCode;
  const char* name;
  uint8_t kind;
  uint8_t level;  // 0 for kinds 1 and 2
  uint8_t build;
  uint8_t dedicate;
};

}  // namespace

cAirlineContract::cAirlineContract(const AirlineData* data) : cContract(kContractKind_Airline), data(data) {
  std::fill(std::begin(feeEnabled), std::end(feeEnabled), uint8_t{1});
}

cAirlineContract::~cAirlineContract() {
  for (auto* list : {&openFlights, &otherFlights, &signedFlights}) {
    for (cFlightContract* flight : *list) delete flight;
    list->clear();
  }
}

void cAirlineContract::UpdateRequirements(cEntity_BuildingManager* buildings) {
  requirements.Clear();
  const uint8_t demand = data ? data->demand : 0;
  const float rating = 30.0f * demand;
  minSecurity = minSafety = minSatisfaction = rating;
  levelValue = 500000.0 * demand;
  checkInsToDedicate = 0;
  if (!data) return;

  std::vector<RequirementSpec> specs;
  if (data->cargo) {
    if (demand == 0) {
      specs = {{kClassStorage, "Cargo", kRequirement_Type, 0, 1, 0}};
    } else if (demand == 1) {
      specs = {{kClassStorage, "Cargo", kRequirement_Type, 0, 1, 1},
               {kClassStorage, "Cold Storage", kRequirement_Type, 0, 1, 1}};
    } else {
      specs = {{kClassStorage, "Cargo", kRequirement_TypeAtLevel, 2, 1, 1},
               {kClassStorage, "Cold Storage", kRequirement_TypeAtLevel, 2, 1, 1}};
    }
  } else if (demand == 1) {
    checkInsToDedicate = 1;
    specs = {{kClassAdmin, "Admin", kRequirement_Type, 0, 1, 0},
             {kClassService, "Turnaround", kRequirement_Type, 0, 1, 1},
             {kClassSecurity, "police station", kRequirement_Type, 0, 1, 0}};
  } else if (demand >= 2) {
    const uint8_t level = demand >= 3 ? 3 : 2;
    checkInsToDedicate = level;
    specs = {{kClassAdmin, "Admin", kRequirement_TypeAtLevel, level, 1, 0},
             {kClassService, "Turnaround", kRequirement_TypeAtLevel, level, 1, 1},
             {kClassOrganizational, "Control Tower", kRequirement_TypeAtLevel, level, 1, 0},
             {kClassEmergency, "fire station", kRequirement_TypeAtLevel, level, 1, 0},
             {kClassSecurity, "police station", kRequirement_TypeAtLevel, level, 1, 0}};
    if (level == 3) specs.push_back({kClassRunway, "3500 Meter Runway", kRequirement_Type, 0, 1, 0});
  }
  if (data->international) specs.push_back({kClassAdmin, "Customs", kRequirement_Type, 0, 1, 0});

  for (const RequirementSpec& spec : specs) {
    const uint16_t id = buildings ? buildings->FindTypeIndexByName(spec.classCode, spec.name) : 0;
    requirements.Add(MakeBuildingWord(spec.classCode, id, spec.level), spec.build, spec.dedicate, spec.kind);
  }
}

void cAirlineContract::Fail(const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  messages.emplace_back(text);
}

bool cAirlineContract::CheckRequirements(cKV9_GlobalWrapper* services, BOInstance* disregarded) {
  messages.clear();
  met = possible = 1;

  if (signedFlights.empty()) {
    bool any = false;
    for (cFlightContract* flight : openFlights) {
      if (flight->CheckRequirements(services, nullptr)) {
        any = true;
        break;
      }
    }
    if (!any) {
      met = possible = 0;
      Fail("No flights are available.");
    }
  }

  cEntity_StatManager* stats = services ? services->statManager : nullptr;
  const float security = stats ? stats->block.securityRating : 0.0f;
  const float safety = stats ? stats->block.safetyRating : 0.0f;
  const float satisfactionRating = stats ? stats->block.satisfactionRating : 0.0f;
  if (security < minSecurity) {
    met = possible = 0;
    Fail("Your security rating is too low.  You must raise it to at least %d.", static_cast<int>(minSecurity));
  }
  if (safety < minSafety) {
    met = possible = 0;
    Fail("Your safety rating is too low.  You must raise it to at least %d.", static_cast<int>(minSafety));
  }
  if (satisfactionRating < minSatisfaction) {
    met = possible = 0;
    Fail("Your customer satisfaction rating is too low.  You must raise it to at least %d.",
         static_cast<int>(minSatisfaction));
  }

  cEntity_ContractManager* manager = services ? services->contractManager : nullptr;
  if (!manager || !manager->IsAirportFunctional()) {
    met = 0;
    Fail("Your base airport requirements have not been met.");
  }

  CheckBuildings(services, disregarded);
  if (data && data->international) CheckCustoms(services);
  if (checkInsToDedicate > 0) CheckCheckIns(services);

  met = messages.empty() ? 1 : 0;
  return met != 0;
}

void cAirlineContract::CheckBuildings(cKV9_GlobalWrapper* services, BOInstance* disregarded) {
  cEntity_BuildingManager* buildings = services ? services->buildingManager : nullptr;
  const uint32_t gone = disregarded && disregarded->GetType() ? disregarded->GetType()->GetTypeWord() : 0;
  for (ContractRequirement* node = requirements.Head(); node && possible; node = node->next) {
    const uint8_t classCode = WordClass(node->word);
    const uint16_t id = WordId(node->word);
    const uint8_t level = WordLevel(node->word);
    uint32_t mask = 0;
    uint32_t built = 0;
    uint32_t dedicated = 0;
    if (buildings) {
      switch (node->kind) {
        case kRequirement_AnyOfClass:
          mask = 0xF;
          built = buildings->CountClassInstances(node->word, this);
          dedicated = buildings->CountClassInstancesB(node->word, this);
          break;
        case kRequirement_Type:
          mask = 0x1FFFF;
          built = buildings->CountInstancesFromLevel1(node->word, this);
          dedicated = buildings->CountInstancesFromLevel1B(node->word, this);
          break;
        case kRequirement_TypeAtLevel:
          mask = 0xFFFFF;
          built = dedicated = buildings->CountInstancesOfType(node->word, this);
          break;
        default:
          break;
      }
    }
    if (disregarded && mask && (gone & mask) == (node->word & mask)) {
      // Never below zero: the building may not be one of those counted.
      built -= built ? 1 : 0;
      dedicated -= dedicated ? 1 : 0;
    }

    if (node->kind == kRequirement_AnyOfClass) {
      if (built < node->buildCount) {
        met = possible = 0;
        const uint32_t shortfall = node->buildCount - built;
        Fail("You must build %d more %s.", static_cast<int>(shortfall), BuildingClassNoun(classCode, shortfall >= 2));
      }
      if (dedicated < node->dedicateCount) {
        met = 0;
        const uint32_t shortfall = node->dedicateCount - dedicated;
        Fail("You must dedicate %d more %s.", static_cast<int>(shortfall),
             BuildingClassNoun(classCode, shortfall >= 2));
      }
    } else if (node->kind == kRequirement_Type) {
      // Missing levels are skipped; a type with no level at all cannot be
      // built, so the requirement can never be met.
      possible = 0;
      cBuildableObject* named = nullptr;
      for (uint8_t l = 0; l < kBuildingLevelCount; ++l) {
        cBuildableObject* type = buildings ? buildings->GetBuildingType(classCode, id, l) : nullptr;
        if (!type) continue;
        if (!named) named = type;
        if (buildings->GetTechFlag(type->GetTechLevel())) {
          possible = 1;
          named = type;
          break;
        }
      }
      if (!named) {
        MissingType(node->word);
        continue;
      }
      const std::string name = named->GetName();
      if (built < node->buildCount) {
        met = 0;
        Fail("You must build %d more %s buildings.", static_cast<int>(node->buildCount - built), name.c_str());
      }
      if (dedicated < node->dedicateCount) {
        met = 0;
        Fail("You must dedicate %d more %s buildings.", static_cast<int>(node->dedicateCount - dedicated),
             name.c_str());
      }
    } else if (node->kind == kRequirement_TypeAtLevel) {
      cBuildableObject* type = buildings ? buildings->GetBuildingType(classCode, id, level) : nullptr;
      if (!type) {
        MissingType(node->word);
        continue;
      }
      if (!buildings->GetTechFlag(type->GetTechLevel())) {
        met = possible = 0;
        Fail("You haven't reached the correct tech level yet.");
        continue;
      }
      const std::string name = type->GetName();
      if (built < node->buildCount) {
        met = 0;
        const uint32_t shortfall = node->buildCount - built;
        if (node->buildCount == 1) Fail("You must construct a level %d %s.", level, name.c_str());
        else
          Fail("You must construct %d more level %d %s%s.", static_cast<int>(shortfall), level, name.c_str(),
               shortfall == 1 ? "" : "s");
      }
      if (dedicated < node->dedicateCount) {
        met = 0;
        const uint32_t shortfall = node->dedicateCount - dedicated;
        Fail("You must dedicate %d more level %d %s%s.", static_cast<int>(shortfall), level, name.c_str(),
             shortfall == 1 ? "" : "s");
      }
    } else {
      met = possible = 0;
      Fail("An unknown requirement is set.");
    }
  }
}

void cAirlineContract::MissingType(uint32_t word) {
  met = possible = 0;
  Fail("An unknown requirement is set.");
  if (!missingTypeLogged_) {
    missingTypeLogged_ = true;
    platform::DebugPrintf("[cAirlineContract::CheckRequirements] %s: no building type for word 0x%x\n",
                          GetName().c_str(), word);
  }
}

uint32_t CountCustomsBuildings(cEntity_BuildingManager* buildings, bool* found) {
  *found = false;
  if (!buildings) return 0;
  const uint16_t id = buildings->FindTypeIndexByName(kClassAdmin, "Customs");
  for (uint8_t level = 1; level < kBuildingLevelCount; ++level) {
    cBuildableObject* type = buildings->GetBuildingType(kClassAdmin, id, level);
    if (type && buildings->GetTechFlag(type->GetTechLevel())) {
      *found = true;
      return type->GetOperatingInstanceCount();
    }
  }
  return 0;
}

void cAirlineContract::CheckCustoms(cKV9_GlobalWrapper* services) {
  bool found = false;
  const uint32_t customs = CountCustomsBuildings(services ? services->buildingManager : nullptr, &found);
  possible = found ? 1 : 0;
  cEntity_ContractManager* manager = services ? services->contractManager : nullptr;
  const uint32_t international = manager ? manager->CountFlaggedFlights() : 0;
  if (!(customs > international / 5)) {
    met = 0;
    Fail("You must construct more Customs buildings.");
  }
}

void cAirlineContract::CheckCheckIns(cKV9_GlobalWrapper* services) {
  cEntity_BuildingManager* buildings = services ? services->buildingManager : nullptr;
  possible = 0;
  uint32_t count = 0;
  if (buildings) {
    for (BOInstance* terminal : buildings->GetTerminals()) {
      count = 0;
      const uint32_t items = terminal->GetInteriorObjectCount();
      for (uint32_t i = 0; i < items; ++i) count += terminal->GetInteriorObjectContract(i) == this ? 1 : 0;
      if (count >= checkInsToDedicate) {
        possible = 1;
        return;
      }
    }
  }
  met = 0;
  Fail("You must dedicate %d more checkins to %s.", static_cast<int>(checkInsToDedicate - count), GetName().c_str());
}

float cAirlineContract::GetSatisfaction() const {
  if (!bonusSource) return satisfaction;
  return std::min(satisfaction + 5.0f, 100.0f);
}

bool cAirlineContract::GrantSatisfactionBonus(uint32_t source) {
  if (bonusSource) return false;
  bonusSource = source;
  satisfaction += 5.0f;
  return true;
}

bool cAirlineContract::NegotiateTerms(cKV9_GlobalWrapper* services) {
  if (attempts == kNegotiationBroken) return false;
  float v = Noise_RandomFloatInRange(4.0f, 8.0f) * attempts + baseOffer;
  if (v >= 100.0f) v = 100.0f;
  cEntity_StatManager* stats = services ? services->statManager : nullptr;
  const float limit = stats ? stats->block.airlineSatisfaction : 0.0f;
  if (v > limit) {
    attempts = kNegotiationBroken;
    return false;
  }
  cEntity_AirportManager* airport = services ? services->airportManager : nullptr;
  for (int i = 0; i < kFeeItemCount; ++i) {
    if (feeEnabled[i] && airport) fees[i] = v * airport->GetFeePrice(static_cast<uint32_t>(i)) * 0.01f;
  }
  signingPayment = v * 10000.0;
  return true;
}

void cAirlineContract::MarkFlightUnscheduled(cFlightContract* flight) {
  auto it = std::find(openFlights.begin(), openFlights.end(), flight);
  if (it == openFlights.end()) return;
  openFlights.erase(it);
  signedFlights.push_back(flight);
}

void cAirlineContract::UnscheduleAllFlights(cKV9_GlobalWrapper* services) {
  cEntity_AirportManager* airport = services ? services->airportManager : nullptr;
  cEntity_BuildingManager* buildings = services ? services->buildingManager : nullptr;
  while (!signedFlights.empty()) {
    cFlightContract* flight = signedFlights.front();
    if (services && services->eventManager) services->eventManager->RemoveFlightEvents(flight->flightId, data && data->cargo);
    signedFlights.erase(signedFlights.begin());
    if (airport) {
      if (flight->airplane && flight->airplane->cargo) airport->RemoveStorageFlight(flight->slotKeys[1], flight);
      else airport->RemovePassengerFlight(flight->slotKeys[1], flight);
    }
    if (data && data->cargo) {
      if (airport) airport->ClearStorageSlot(flight->buildingWord, flight->slotKeys[1]);
    } else if (buildings) {
      if (TerminalInstance* terminal = buildings->FindTerminalInstanceOfType(flight->buildingWord))
        terminal->RemoveFlight(flight);
    }
    openFlights.push_back(flight);
  }
}
