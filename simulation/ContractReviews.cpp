// What happens to contracts after signing: the daily reviews (renewal,
// dissatisfaction, loss, expiry), withdrawal of lapsed offers, negotiation
// replies, returns to the pools and relinking after a load.
#include <algorithm>
#include <cstdio>

#include "base/StringUtil.h"
#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingManager.h"
#include "construction/TerminalItem.h"
#include "engine/services/GlobalWrapper.h"
#include "simulation/AirlineContract.h"
#include "simulation/AirportManager.h"
#include "simulation/BusinessContract.h"
#include "simulation/ContractManager.h"
#include "simulation/FlightContract.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationServices.h"
#include "simulation/SimulationWidgets.h"
#include "simulation/SlowDown.h"

namespace {

constexpr uint32_t kPlacementSeconds = 2592000;     // 30 days
constexpr uint32_t kRenewalSeconds = 7776000;       // 90 days
constexpr uint32_t kWarnAfterSeconds = 15552000;    // 180 days, exclusive
constexpr uint32_t kWarnBeforeSeconds = 17884800;   // 207 days, exclusive
constexpr uint16_t kExpiredAirlineCoolDown = 12;    // months
constexpr uint16_t kLostBusinessCoolDown = 180;     // days

std::string Printf(const char* format, const std::string& name) {
  char text[512];
  std::snprintf(text, sizeof text, format, name.c_str());
  return text;
}

float Threshold(uint8_t demand) { return demand * 20.0f + 30.0f; }

template <typename T>
bool Remove(std::vector<T*>& list, T* item) {
  auto it = std::find(list.begin(), list.end(), item);
  if (it == list.end()) return false;
  list.erase(it);
  return true;
}

const char* const kLostSubjects[3] = {"Business contract lost", "Hotel contract lost", "Gas contract lost"};
const char* const kRenewalBodies[3] = {"Your business contract with %s has come up for renewal.",
                                       "Your hotel contract with %s has come up for renewal.",
                                       "Your gas contract with %s has come up for renewal."};
const uint32_t kCompleteMessage[4] = {11, 13, 15, 17};
const uint32_t kStalledMessage[4] = {12, 14, 16, 18};

}  // namespace

void cEntity_ContractManager::ShowDissatisfied(const std::string& name) {
  cKV9_GlobalWrapper* table = Table();
  cSimulation_Clock* clock = GameClockOf(table);
  const bool slow = table && table->eventManager && SlowDownFor(table, Happening::ContractRenew);
  if (!(clock && clock->speed == 1.0f) && !slow) return;
  if (clock) clock->SetSpeed(1);
  if (SimulationWidgets* widgets = GetSimulationWidgets()) {
    widgets->SetMultiLineText("scnContractorDissatisfied", "mlConDMessage",
                              Printf("%s is dissatisfied with your airport and may not renew.", name));
    widgets->ShowScene("scnContractorDissatisfied", true);
  }
}

void cEntity_ContractManager::UpdateAirlineContracts(uint32_t now) {
  cKV9_GlobalWrapper* table = Table();
  std::vector<cAirlineContract*>& active = airlineLists[kList_Active];
  for (size_t i = 0; i < active.size();) {
    cAirlineContract* c = active[i];
    const std::string name = c->data ? c->data->name : c->GetName();
    const uint32_t left = c->end - now;
    const bool satisfied = c->GetSatisfaction() >= Threshold(c->data ? c->data->demand : 0);
    if (c->end <= now) {
      ExpireAirlineContract(c);
      active.erase(active.begin() + i);
      airlineLists[kList_Pool].push_back(c);
      continue;
    }
    if (left < kRenewalSeconds) {
      if (satisfied) {
        active.erase(active.begin() + i);
        c->renewal = 1;
        airlineLists[kList_Offered].push_back(c);
        PostNotice(table, "Contract Renewal", Printf("Your airline contract with %s has come up for renewal.", name));
        SlowDownFor(table, Happening::ContractRenew);
        continue;
      }
    } else if (left > kWarnAfterSeconds && left < kWarnBeforeSeconds && !satisfied) {
      ShowDissatisfied(name);
    }
    ++i;
  }
}

void cEntity_ContractManager::UpdateBusinessContracts(uint32_t group, uint32_t now) {
  cKV9_GlobalWrapper* table = Table();
  std::vector<cBusinessContract*>& active = businessLists[group][kList_Active];
  for (size_t i = 0; i < active.size();) {
    cBusinessContract* c = active[i];
    const bool shop = group == kGroup_Business && c->terminalShop;
    const std::string name = shop || !c->data ? c->GetName() : c->data->name;
    // Signed: a renewal accepted early starts after now.
    const int64_t sinceStart = static_cast<int64_t>(now) - static_cast<int64_t>(c->start);
    if (!c->placed && sinceStart > kPlacementSeconds) {
      active.erase(active.begin() + i);
      businessLists[group][kList_Pool].push_back(c);
      c->coolDown = kLostBusinessCoolDown;
      PostNotice(table, kLostSubjects[group],
                 Printf(shop ? "You have lost your contract with %s because you did not place it within your "
                               "terminal within the first 30 days."
                             : "You have lost your contract with %s because you did not construct it within the "
                               "first 30 days.",
                        name));
      continue;
    }
    if (c->end <= now) {
      if (!c->placed) {
        active.erase(active.begin() + i);
        businessLists[group][kList_Pool].push_back(c);
      }
      ExpireBusinessContract(group, c);
      // A placed business whose building or place did not hand it back
      // would expire again every day: it goes to its pool now.
      if (i < active.size() && active[i] == c) ReturnBusinessToPool(group, c);
      continue;
    }
    const uint32_t left = c->end - now;
    const bool satisfied = c->GetSatisfaction() >= Threshold(c->data ? c->data->demand : 0);
    if (left < kRenewalSeconds) {
      if (satisfied) {
        active.erase(active.begin() + i);
        c->renewal = 1;
        businessLists[group][kList_Offered].push_back(c);
        PostNotice(table, "Contract Renewal", Printf(kRenewalBodies[group], name));
        SlowDownFor(table, Happening::ContractRenew);
        continue;
      }
    } else if (left > kWarnAfterSeconds && left < kWarnBeforeSeconds && !satisfied) {
      ShowDissatisfied(name);
    }
    ++i;
  }
}

void cEntity_ContractManager::WithdrawLapsedAirlineOffers() {
  const uint32_t now = Now();
  std::vector<cAirlineContract*>& offered = airlineLists[kList_Offered];
  for (size_t i = 0; i < offered.size();) {
    if (offered[i]->end <= now) DeclineAirlineOffer(static_cast<uint32_t>(i));
    else ++i;
  }
}

void cEntity_ContractManager::WithdrawLapsedBusinessOffers(uint32_t group) {
  const uint32_t now = Now();
  std::vector<cBusinessContract*>& offered = businessLists[group][kList_Offered];
  for (size_t i = 0; i < offered.size();) {
    if (offered[i]->end <= now) DeclineBusinessOffer(group, static_cast<uint32_t>(i));
    else ++i;
  }
}

void cEntity_ContractManager::UpdateNegotiations() {
  cKV9_GlobalWrapper* table = Table();
  std::vector<cAirlineContract*>& airlinesWaiting = airlineLists[kList_Waiting];
  for (size_t i = 0; i < airlinesWaiting.size();) {
    cContract* c = airlinesWaiting[i];
    const bool reply = c->state == 1;
    --c->state;
    if (reply) {
      airlineLists[kList_Offered].push_back(airlinesWaiting[i]);
      airlinesWaiting.erase(airlinesWaiting.begin() + i);
      PostStandardMessage(table, c->attempts == kNegotiationBroken ? kStalledMessage[0] : kCompleteMessage[0]);
      continue;
    }
    ++i;
  }
  for (uint32_t g = 0; g < 3; ++g) {
    std::vector<cBusinessContract*>& waiting = businessLists[g][kList_Waiting];
    for (size_t i = 0; i < waiting.size();) {
      cContract* c = waiting[i];
      const bool reply = c->state == 1;
      --c->state;
      if (reply) {
        businessLists[g][kList_Offered].push_back(waiting[i]);
        waiting.erase(waiting.begin() + i);
        PostStandardMessage(table,
                            c->attempts == kNegotiationBroken ? kStalledMessage[g + 1] : kCompleteMessage[g + 1]);
        continue;
      }
      ++i;
    }
  }
}

void cEntity_ContractManager::NotifyNotFunctional() {
  PostNotice(Table(), "Airport not functional",
             "Your airport is not currently functional.  You will not receive any contracts or flights until it has "
             "been made functional again.");
}

void cEntity_ContractManager::NotifyRequirementsNotMet(cAirlineContract* contract) {
  PostNotice(Table(), "Airline requirements not met",
             Printf("Some of all of the requirements for %s are not currently met.  None of their flights will land "
                    "and they will offer no new flights until the requirements are met.  View the airline's "
                    "contract proposal to see the unmet requirements.",
                    contract->data ? contract->data->name : contract->GetName()));
}

void cEntity_ContractManager::RemoveAirlineFlights(cAirlineContract* contract) {
  for (cFlightContract* flight : contract->signedFlights) Remove(allFlights, flight);
  contract->UnscheduleAllFlights(Table());
}

void cEntity_ContractManager::ExpireAirlineContract(cAirlineContract* contract) {
  PostNotice(Table(), "Airline contract expired",
             Printf("Your contract with %s has expired.", contract->data ? contract->data->name : contract->GetName()));
  RemoveAirlineFlights(contract);
  contract->coolDown = kExpiredAirlineCoolDown;
}

void cEntity_ContractManager::ExpireBusinessContract(uint32_t group, cBusinessContract* contract) {
  cKV9_GlobalWrapper* table = Table();
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  const std::string recordName = contract->data ? contract->data->name : contract->GetName();
  const char* subject = group == kGroup_Hotel        ? "Hotel contract expired"
                        : group == kGroup_GasStation ? "Gas contract expired"
                                                     : "Business contract expired";
  if (group == kGroup_Business && contract->terminalShop) {
    if (contract->placed) {
      TerminalInstance* terminal = buildings ? buildings->FindTerminalInstanceOfType(contract->buildingWord) : nullptr;
      if (terminal) terminal->RemoveTerminalItem(contract->placeKeys[0], contract->placeKeys[1]);
      else ReturnBusinessToPool(group, contract);
    }
    PostNotice(table, subject, Printf("Your contract with %s has expired.", contract->GetName()));
    return;
  }
  if (group != kGroup_Business) PostNotice(table, subject, Printf("Your contract with %s has expired.", recordName));
  if (contract->placed) {
    cBuildableObject* type = nullptr;
    if (buildings) type = buildings->GetBuildingType(kBuildingClass_Amenity,
                                                     buildings->FindTypeIndexByName(kBuildingClass_Amenity, recordName), 1);
    // Each removal takes one instance away; the count guards against a
    // removal that leaves it standing.
    for (uint32_t n = type ? type->GetInstanceCount() : 0; type && n > 0 && type->GetInstanceCount() > 0; --n) {
      PostNotice(table, "Building destroyed",
                 Printf("Your %s was demolished when its contract expired.", type->GetName()));
      if (cSimulation_Clock* clock = GameClockOf(table)) clock->SetSpeed(1);
      buildings->RemoveInstance(type->GetInstance(0));
    }
  } else {
    RefreshBuildMenu();
  }
  if (group == kGroup_Business) PostNotice(table, subject, Printf("Your contract with %s has expired.", recordName));
}

void cEntity_ContractManager::ReturnAirlineToPool(cAirlineContract* contract) {
  // Out of every list first, so a contract returned twice is pooled once.
  for (auto& list : airlineLists) {
    while (Remove(list, contract)) {}
  }
  airlineLists[kList_Pool].push_back(contract);
}

void cEntity_ContractManager::ReturnBusinessToPool(uint32_t group, cBusinessContract* contract) {
  contract->placed = 0;
  for (auto& list : businessLists[group]) {
    while (Remove(list, contract)) {}
  }
  businessLists[group][kList_Pool].push_back(contract);
}

cAirlineContract* cEntity_ContractManager::FindAirlineContractByName(const std::string& name) const {
  for (uint32_t list : {kList_Active, kList_Offered}) {
    for (cAirlineContract* c : airlineLists[list]) {
      if (c->data && str::EqualsNoCase(c->data->name, name)) return c;
    }
  }
  return nullptr;
}

void cEntity_ContractManager::RelinkAirlineFlights(uint32_t list) {
  cKV9_GlobalWrapper* table = Table();
  cEntity_AirportManager* airport = table ? table->airportManager : nullptr;
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  if (list >= 4) return;
  for (cAirlineContract* c : airlineLists[list]) {
    for (cFlightContract* flight : c->signedFlights) {
      if (!(c->data && c->data->cargo) && buildings) {
        if (TerminalInstance* terminal = buildings->FindTerminalInstanceOfType(flight->buildingWord))
          terminal->AssignFlightToGate(flight, flight->slotKeys[0], flight->slotKeys[1]);
      }
      if (!airport) continue;
      if (flight->airplane && flight->airplane->cargo) airport->AddStorageFlight(flight->slotKeys[1], flight);
      else airport->AddPassengerFlight(flight->slotKeys[1], flight);
    }
  }
}

void cEntity_ContractManager::RelinkBusinessContracts() {
  cKV9_GlobalWrapper* table = Table();
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  if (!buildings) return;
  for (auto& group : businessLists) {
    for (auto& list : group) {
      for (cBusinessContract* c : list) {
        if (!c->data) continue;
        if (c->data->businessType >= kBusinessType_FirstTerminalShop) {
          if (TerminalItem* item = buildings->FindTerminalObject(c->data->name)) item->business = c;
        } else {
          const uint16_t id = buildings->FindTypeIndexByName(kBuildingClass_Amenity, c->data->name);
          if (cBuildableObject* type = buildings->GetBuildingType(kBuildingClass_Amenity, id, 1))
            type->SetBusinessContract(c);
        }
      }
    }
  }
}
