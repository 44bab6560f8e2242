// The market side of the contract manager: offers from the pools, the
// player's accept, decline and negotiate answers, and the daily signing of
// one flight per airline.
#include <algorithm>
#include <cstdio>

#include "construction/BuildingManager.h"
#include "engine/entity/ActionFactory.h"
#include "engine/math/Noise.h"
#include "engine/services/GlobalWrapper.h"
#include "simulation/ActionBuildMenu.h"
#include "simulation/AirlineContract.h"
#include "simulation/AirportManager.h"
#include "simulation/BusinessContract.h"
#include "simulation/ContractManager.h"
#include "simulation/FlightContract.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationServices.h"
#include "simulation/SlowDown.h"
#include "simulation/StatManager.h"

namespace {

constexpr uint16_t kAirlineCoolDownMonths = 6;
constexpr uint16_t kBusinessCoolDownDays = 180;

std::string Format(const char* format, const std::string& a, const std::string& b = std::string()) {
  char text[512];
  std::snprintf(text, sizeof text, format, a.c_str(), b.c_str());
  return text;
}

template <typename T>
T* TakeAt(std::vector<T*>& list, uint32_t i) {
  if (i >= list.size()) return nullptr;
  T* item = list[i];
  list.erase(list.begin() + i);
  return item;
}

const char* const kBusinessOfferSubjects[3] = {"New business contract", "New hotel contract",
                                               "New gas station contract"};

}  // namespace

uint32_t cEntity_ContractManager::Now() {
  cSimulation_Clock* clock = GameClockOf(Table());
  return clock ? clock->totalSeconds : 0;
}

void cEntity_ContractManager::RefreshBuildMenu() {
  cKV9_GlobalWrapper* table = Table();
  if (!table || !table->actionFactory) return;
  if (auto* menu = dynamic_cast<ActionBuildMenu*>(table->actionFactory->GetAction("BuildMenu")))
    menu->ShowCategory(menu->currentCategory, true);
}

void cEntity_ContractManager::MakeAirlineOffer() {
  std::vector<cAirlineContract*>& pool = airlineLists[kList_Pool];
  if (pool.empty()) return;
  std::vector<cAirlineContract*> candidates;
  for (cAirlineContract* contract : pool) {
    if (contract->coolDown > 0) --contract->coolDown;
    else candidates.push_back(contract);
  }
  cKV9_GlobalWrapper* table = Table();
  while (!candidates.empty()) {
    const int32_t pick = Noise_RandomIntInRange(0, static_cast<int32_t>(candidates.size()) - 1);
    const size_t index = std::min(static_cast<size_t>(std::max(pick, 0)), candidates.size() - 1);
    cAirlineContract* contract = candidates[index];
    candidates.erase(candidates.begin() + index);
    contract->CheckRequirements(table, nullptr);
    if (!contract->possible) continue;

    const uint32_t now = Now();
    contract->renewal = 0;
    contract->timeStamp = now;
    contract->end = now + kOfferSeconds;
    pool.erase(std::find(pool.begin(), pool.end(), contract));
    airlineLists[kList_Offered].push_back(contract);
    cEntity_StatManager* stats = table ? table->statManager : nullptr;
    if (contract->satisfaction < 0.0f)
      contract->satisfaction = Noise_RandomFloatInRange(0.5f, 1.0f) * (stats ? stats->block.airlineSatisfaction : 0.0f);
    contract->baseOffer = contract->GetSatisfaction();
    contract->NegotiateTerms(table);
    PostNotice(table, "New airline contract", Format("%s has offered an airline contract", contract->GetName()));
    SlowDownFor(table, Happening::ContractOffer);
    return;
  }
}

void cEntity_ContractManager::MakeBusinessOffer(uint32_t group) {
  std::vector<cBusinessContract*>& pool = businessLists[group][kList_Pool];
  std::vector<cBusinessContract*> candidates;
  for (cBusinessContract* contract : pool) {
    if (contract->coolDown > 0) --contract->coolDown;
    else candidates.push_back(contract);
  }
  cKV9_GlobalWrapper* table = Table();
  cEntity_StatManager* stats = table ? table->statManager : nullptr;
  const float businessSatisfaction = stats ? stats->block.businessSatisfaction : 0.0f;
  const float chance = businessSatisfaction * 0.1f + 5.0f;
  while (!candidates.empty()) {
    const int32_t pick = Noise_RandomIntInRange(0, static_cast<int32_t>(candidates.size()) - 1);
    const size_t index = std::min(static_cast<size_t>(std::max(pick, 0)), candidates.size() - 1);
    cBusinessContract* contract = candidates[index];
    candidates.erase(candidates.begin() + index);
    if (!contract->CheckRequirements(table, nullptr)) continue;
    if (!(Noise_RandomFloatInRange(0.0f, 100.0f) < chance)) continue;

    pool.erase(std::find(pool.begin(), pool.end(), contract));
    contract->renewal = 0;
    businessLists[group][kList_Offered].push_back(contract);
    const uint32_t now = Now();
    contract->timeStamp = now;
    contract->end = now + kOfferSeconds;
    contract->satisfaction = stats ? stats->tuning.defaultBusinessSatisfaction : 0.0f;
    contract->negotiatedValue = Noise_RandomFloatInRange(0.5f, 1.0f) * businessSatisfaction;
    contract->NegotiateTerms(table);
    const bool shop = group == kGroup_Business && contract->data &&
                      contract->data->businessType >= kBusinessType_FirstTerminalShop;
    const std::string name = shop || !contract->data ? contract->GetName() : contract->data->name;
    PostNotice(table, kBusinessOfferSubjects[group], Format("%s has offered you a contract", name));
    SlowDownFor(table, Happening::ContractOffer);
    return;
  }
}

void cEntity_ContractManager::AcceptAirlineOffer(uint32_t i) {
  cAirlineContract* contract = TakeAt(airlineLists[kList_Offered], i);
  if (!contract) return;
  airlineLists[kList_Active].push_back(contract);
  if (contract->renewal) {
    contract->start = contract->end;
  } else {
    contract->start = Now();
  }
  contract->end = contract->start + kContractSeconds;
}

void cEntity_ContractManager::AcceptBusinessOffer(uint32_t group, uint32_t i) {
  cBusinessContract* contract = TakeAt(businessLists[group][kList_Offered], i);
  if (!contract) return;
  businessLists[group][kList_Active].push_back(contract);
  RefreshBuildMenu();
  cKV9_GlobalWrapper* table = Table();
  if (cEntity_StatManager* stats = table ? table->statManager : nullptr) {
    ++stats->block.contractsSigned;
    stats->AddContractIncome(2.0f * contract->monthlyPayment);
  }
  contract->start = contract->renewal ? contract->end : Now();
  contract->end = contract->start + kContractSeconds;
}

void cEntity_ContractManager::DeclineAirlineOffer(uint32_t i) {
  std::vector<cAirlineContract*>& offered = airlineLists[kList_Offered];
  if (i >= offered.size()) return;
  cAirlineContract* contract = offered[i];
  // A renewal turned down ends the running contract: its flights stop
  // landing and paying as at expiry.
  if (contract->renewal) RemoveAirlineFlights(contract);
  contract->coolDown = kAirlineCoolDownMonths;
  airlineLists[kList_Pool].push_back(contract);
  cKV9_GlobalWrapper* table = Table();
  if (table && table->buildingManager) table->buildingManager->ReleaseContractBuildings(contract);
  offered.erase(offered.begin() + i);
  RefreshBuildMenu();
}

void cEntity_ContractManager::DeclineBusinessOffer(uint32_t group, uint32_t i) {
  std::vector<cBusinessContract*>& offered = businessLists[group][kList_Offered];
  if (i >= offered.size()) return;
  cBusinessContract* contract = offered[i];
  contract->coolDown = kBusinessCoolDownDays;
  businessLists[group][kList_Pool].push_back(contract);
  cKV9_GlobalWrapper* table = Table();
  if (table && table->buildingManager) table->buildingManager->ReleaseContractBuildings(contract);
  offered.erase(offered.begin() + i);
  RefreshBuildMenu();
}

void cEntity_ContractManager::NegotiateAirlineOffer(uint32_t i, const uint8_t feeFlags[18]) {
  std::vector<cAirlineContract*>& offered = airlineLists[kList_Offered];
  if (i >= offered.size()) return;
  cAirlineContract* contract = offered[i];
  std::copy(feeFlags, feeFlags + kFeeItemCount, contract->feeEnabled);
  const bool broken = contract->attempts == kNegotiationBroken;
  if (!broken) ++contract->attempts;
  offered.erase(offered.begin() + i);
  cKV9_GlobalWrapper* table = Table();
  contract->NegotiateTerms(table);
  if (!broken) {
    cSimulation_Clock* clock = GameClockOf(table);
    const int hour = clock ? clock->hour : 0;
    const int minute = clock ? clock->minute : 0;
    // Only the low 8 bits are kept: 0 stands for 256 minutes.
    contract->state = static_cast<uint8_t>((30 - hour) * 60 - minute);
    airlineLists[kList_Waiting].push_back(contract);
  } else {
    PostNotice(table, Format("%s negotiations failed", contract->GetName()),
               Format("Negotiations with %s have broken down and they have retracted their contract offer.",
                      contract->GetName()));
    contract->coolDown = kAirlineCoolDownMonths;
    airlineLists[kList_Pool].push_back(contract);
  }
  RefreshBuildMenu();
}

void cEntity_ContractManager::NegotiateBusinessOffer(uint32_t group, uint32_t i) {
  std::vector<cBusinessContract*>& offered = businessLists[group][kList_Offered];
  if (i >= offered.size()) return;
  cBusinessContract* contract = offered[i];
  ++contract->attempts;
  offered.erase(offered.begin() + i);
  cKV9_GlobalWrapper* table = Table();
  if (!contract->NegotiateTerms(table)) {
    const std::string name =
        group == kGroup_Business || !contract->data ? contract->GetName() : contract->data->name;
    PostNotice(table, Format("%s negotiations failed", name),
               Format("Negotiations with %s have broken down and they have retracted their contract offer.", name));
    contract->coolDown = kBusinessCoolDownDays;
    businessLists[group][kList_Pool].push_back(contract);
  } else {
    contract->state = 2;
    businessLists[group][kList_Waiting].push_back(contract);
  }
  RefreshBuildMenu();
}

void cEntity_ContractManager::SignFlightContracts() {
  cKV9_GlobalWrapper* table = Table();
  cEntity_StatManager* stats = table ? table->statManager : nullptr;
  cEntity_AirportManager* airport = table ? table->airportManager : nullptr;
  std::vector<cAirlineContract*>& active = airlineLists[kList_Active];
  for (size_t a = 0; a < active.size(); ++a) {
    cAirlineContract* contract = active[a];
    if (!contract->CheckRequirements(table, nullptr)) {
      NotifyRequirementsNotMet(contract);
      continue;
    }
    if (contract->openFlights.empty()) continue;
    const size_t s = contract->otherFlights.size() + contract->signedFlights.size();
    // Summed as a whole number: the total of three arrays can pass 255.
    const size_t all = contract->openFlights.size() + s;
    const float share = s > 0 ? static_cast<float>(s) / static_cast<float>(all) * 100.0f : -100.0f;
    if (!(contract->GetSatisfaction() > share)) continue;

    const int32_t pick = Noise_RandomIntInRange(0, static_cast<int32_t>(contract->openFlights.size()) - 1);
    const size_t index = std::min(static_cast<size_t>(std::max(pick, 0)), contract->openFlights.size() - 1);
    cFlightContract* flight = contract->openFlights[index];
    if (!flight->CheckRequirements(table, nullptr)) continue;

    if (contract->data && contract->data->international) {
      bool found = false;
      const uint32_t customs = CountCustomsBuildings(table ? table->buildingManager : nullptr, &found);
      if (!(customs > CountFlaggedFlights() / 5)) {
        PostNotice(table, "Flight contract not signed",
                   Format("A flight contract with %s could not be signed because you do not have enough customs "
                          "buildings to handle more intercontinental flights.\nYou need to construct more customs "
                          "buildings to accommodate more intercontinental flights.",
                          contract->GetName()));
        continue;
      }
    }

    const bool cargo = flight->airplane && flight->airplane->cargo;
    const bool placed = airport && (cargo ? airport->PlaceCargoFlight(flight) : airport->PlacePassengerFlight(flight));
    if (!placed) {
      if (!contract->signedFlights.empty()) continue;
      ++contract->failedPlacements;
      contract->satisfaction -= 1.0f;
      if (contract->failedPlacements % 5 == 0) {
        const double fine = contract->signingPayment * -0.05;
        if (stats) stats->AddFunds(fine);
        char text[512];
        std::snprintf(text, sizeof text,
                      "You have been fined $%.2f by %s for failing to fulfill your contractual obligations.  You "
                      "have been unable to accept any of their flight contracts.",
                      -fine, contract->GetName().c_str());
        PostNotice(table, Format("%s has fined you!", contract->GetName()), text);
      }
      continue;
    }
    if (!contract->firstFlightPaid) {
      if (stats) {
        ++stats->block.contractsSigned;
        stats->AddContractIncome(static_cast<float>(contract->signingPayment));
      }
      contract->firstFlightPaid = 1;
    }
    contract->MarkFlightUnscheduled(flight);
    flight->timeStamp = Now();
    allFlights.push_back(flight);
    if (stats) {
      ++stats->block.contractsSigned;
      stats->AddContractIncome(0.0f);
    }
    PostNotice(table, "New flight contract", Format("%s has awarded you a new flight contract", contract->GetName()));
    SlowDownFor(table, Happening::ContractOffer);
  }
}
