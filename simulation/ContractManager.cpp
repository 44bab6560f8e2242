#include "simulation/ContractManager.h"

#include <algorithm>

#include "base/StringUtil.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingManager.h"
#include "construction/TerminalItem.h"
#include "engine/entity/EntityManager.h"
#include "engine/math/Noise.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"
#include "platform/DebugOutput.h"
#include "platform/FileRead.h"
#include "simulation/AirlineContract.h"
#include "simulation/BusinessContract.h"
#include "simulation/FlightContract.h"
#include "simulation/GameScenario.h"
#include "simulation/SimulationClock.h"
#include "simulation/SimulationServices.h"

namespace {

// The tables are a few kilobytes; a file near this is not one of them.
constexpr uint64_t kMaxTableBytes = 16ull * 1024 * 1024;

}  // namespace

cEntity_ContractManager::cEntity_ContractManager(cEntity_Manager* manager)
    : cEntity_Base(manager, kEntityType_Base),
      cSimulation_TimeObject(kTimeEvent_Minute | kTimeEvent_Day | kTimeEvent_Month) {}

cEntity_ContractManager::~cEntity_ContractManager() {
  ClearContracts();
  ClearTables();
}

cKV9_GlobalWrapper* cEntity_ContractManager::Table() { return GameTableOf(this); }

std::string cEntity_ContractManager::ResourcePath() {
  cEntity_Manager* manager = GetManager();
  return manager ? manager->GetResourcePath() : std::string();
}

CoreStatus cEntity_ContractManager::Init() {
  const std::string base = ResourcePath();
  // A table that cannot be read stays empty: nothing of it is offered.
  auto read = [&](const char* name) {
    std::string text;
    platform::FileReadError why;
    if (!platform::ReadFileText(name, kMaxTableBytes, &text, &why, base)) {
      platform::DebugPrintf("[cEntity_ContractManager::Init] %s: %s\n", name, why.text.c_str());
      text.clear();
    }
    return text;
  };
  ReadAirlineTable(read(kAirlineTable));
  ReadAirplaneTable(read(kAirplaneTable));
  ReadBusinessTable(read(kBusinessTable));
  return status::Ok;
}

CoreStatus cEntity_ContractManager::Start() {
  cKV9_GlobalWrapper* table = Table();
  if (cSimulation_Clock* clock = GameClockOf(table)) clock->RegisterTimeObject(this);
  BuildBaseRequirements();
  running = 0;
  if (GetBlobSize() == 0) {
    BuildNewGamePools();
  } else {
    if (!ParseBlob(GetBlob(), GetBlobSize()))
      platform::DebugPrintf("[cEntity_ContractManager::Start] save blob refused; no contracts restored\n");
    FreeBlob();
  }
  return status::Ok;
}

CoreStatus cEntity_ContractManager::Stop() {
  if (cSimulation_Clock* clock = GameClockOf(Table())) clock->UnregisterTimeObject(this);
  baseRequirements.Clear();
  baseRequirementsMet = 0;
  ClearContracts();
  return status::Ok;
}

CoreStatus cEntity_ContractManager::Exit() {
  ClearTables();
  return cEntity_Base::Exit();
}

void cEntity_ContractManager::ClearContracts() {
  for (auto& list : airlineLists) {
    for (cAirlineContract* contract : list) delete contract;
    list.clear();
  }
  allFlights.clear();
  for (auto& group : businessLists) {
    for (auto& list : group) {
      for (cBusinessContract* contract : list) delete contract;
      list.clear();
    }
  }
}

void cEntity_ContractManager::BuildBaseRequirements() {
  baseRequirements.Clear();
  cKV9_GlobalWrapper* table = Table();
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  auto id = [&](uint8_t classCode, const char* name) -> uint16_t {
    return buildings ? buildings->FindTypeIndexByName(classCode, name) : 0;
  };
  baseRequirements.Add(MakeBuildingWord(5, 0, 0), 1, 0, kRequirement_AnyOfClass);
  baseRequirements.Add(MakeBuildingWord(8, 0, 0), 1, 0, kRequirement_AnyOfClass);
  baseRequirements.Add(MakeBuildingWord(3, 0, 0), 1, 0, kRequirement_AnyOfClass);
  baseRequirements.Add(MakeBuildingWord(11, id(11, "Plane Maintain"), 0), 1, 0, kRequirement_Type);
  baseRequirements.Add(MakeBuildingWord(11, id(11, "Turnaround"), 0), 1, 0, kRequirement_Type);
  baseRequirements.Add(MakeBuildingWord(12, id(12, "Control Tower"), 0), 1, 0, kRequirement_Type);
  baseRequirements.Add(MakeBuildingWord(9, id(9, "fire station"), 0), 1, 0, kRequirement_Type);
}

void cEntity_ContractManager::CheckAirportFunctional() {
  cKV9_GlobalWrapper* table = Table();
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  for (ContractRequirement* node = baseRequirements.Head(); node; node = node->next) {
    uint32_t count = 0;
    if (buildings) {
      switch (node->kind) {
        case kRequirement_AnyOfClass: count = buildings->CountClassInstances(node->word, nullptr); break;
        case kRequirement_Type: count = buildings->CountInstancesFromLevel1(node->word, nullptr); break;
        case kRequirement_TypeAtLevel: count = buildings->CountInstancesOfType(node->word, nullptr); break;
        default: break;
      }
    }
    if (node->kind == kRequirement_Undefined || count < node->buildCount) {
      baseRequirementsMet = 0;
      return;
    }
  }
  if (baseRequirementsMet) return;
  baseRequirementsMet = 1;
  if (running) return;
  running = 1;
  PostStandardMessage(table, 0);
  MakeAirlineOffer();
}

void cEntity_ContractManager::LoadLogo(ContractLogo* logo, const std::string& file) {
  cKV9_GlobalWrapper* table = Table();
  Core3D* renderer = table ? table->graphics : nullptr;
  if (!renderer || file.empty()) return;
  logo->Set(renderer, renderer->CreateShader(8, ResourcePath() + file));
}

cAirlineContract* cEntity_ContractManager::MakeAirlineContract(AirlineData* data) {
  cKV9_GlobalWrapper* table = Table();
  auto* contract = new cAirlineContract(data);
  contract->SetName(data->name);
  LoadLogo(&contract->logo, data->logo);
  contract->UpdateRequirements(table ? table->buildingManager : nullptr);
  return contract;
}

void cEntity_ContractManager::BuildNewGamePools() {
  nextFlightId = 0;
  cKV9_GlobalWrapper* table = Table();
  const uint8_t continent = table && table->scenario ? table->scenario->GetContinent() : 0xFF;
  std::vector<AirlineData*> candidates;
  // No location (0xFF) or an unknown continent has no domestic airlines.
  if (continent < kContinentCount) candidates = airlines[continent];
  candidates.insert(candidates.end(), airlines[kInternationalArray].begin(), airlines[kInternationalArray].end());

  std::vector<cAirlineContract*>& pool = airlineLists[kList_Pool];
  for (AirlineData* data : candidates) {
    if (pool.size() >= kMaxContractList) {
      platform::DebugPrintf("[cEntity_ContractManager] airline pool full; \"%s\" left out\n", data->name.c_str());
      continue;
    }
    cAirlineContract* contract = MakeAirlineContract(data);
    const int32_t n = Noise_RandomIntInRange(10, 15);
    contract->flightFactor = static_cast<float>((35 - n) * 0.3183099);
    std::vector<AirplaneData*>* arrays = data->cargo ? cargoPlanes : passengerPlanes;
    for (int32_t i = 0; i < n; ++i) {
      int d = data->demand;
      const float x = Noise_RandomFloatInRange(0.0f, 1.0f);
      if (d == 0) {
        if (x > 0.8f) d = 1;
      } else if (d == 1 || d == 2) {
        if (x <= 0.1f) d -= 1;
        else if (x > 0.9f) d += 1;
      } else if (x <= 0.2f) {
        d = 2;
      }
      int pick = d;
      while (pick >= 0 && arrays[pick].empty()) --pick;
      // Nothing at or below the class: the nearest class above.
      if (pick < 0) {
        for (pick = d + 1; pick < static_cast<int>(kSizeClassCount) && arrays[pick].empty(); ++pick) {}
        if (pick >= static_cast<int>(kSizeClassCount)) continue;
      }
      const std::vector<AirplaneData*>& models = arrays[pick];
      const int32_t k = Noise_RandomIntInRange(0, static_cast<int32_t>(models.size()) - 1);
      const size_t index = std::min(static_cast<size_t>(std::max(k, 0)), models.size() - 1);
      if (contract->openFlights.size() >= kMaxContractList) break;
      contract->openFlights.push_back(new cFlightContract(models[index], contract, nextFlightId++));
    }
    if (contract->openFlights.empty()) {
      delete contract;
      continue;
    }
    pool.push_back(contract);
  }

  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  for (BusinessData* data : businesses) {
    if (!buildings) break;
    auto contract = std::make_unique<cBusinessContract>(data);
    uint32_t group = kGroup_Business;
    if (data->businessType < kBusinessType_FirstTerminalShop) {
      const uint16_t id = buildings->FindTypeIndexByName(kBuildingClass_Amenity, data->name);
      cBuildableObject* type = buildings->GetBuildingType(kBuildingClass_Amenity, id, 1);
      if (!type) continue;
      LoadLogo(&contract->logo, data->logo);
      contract->requiredTraffic = data->requiredTraffic;
      contract->SetName(type->GetName());
      if (data->businessType == kBusinessType_Hotel) group = kGroup_Hotel;
      else if (data->businessType == kBusinessType_GasStation) group = kGroup_GasStation;
      std::vector<cBusinessContract*>& list = businessLists[group][kList_Pool];
      if (list.size() >= kMaxContractList) {
        platform::DebugPrintf("[cEntity_ContractManager] business pool full; \"%s\" left out\n", data->name.c_str());
        continue;
      }
      type->SetBusinessContract(contract.get());
      list.push_back(contract.release());
    } else {
      TerminalItem* item = buildings->FindTerminalObject(data->name);
      if (!item) continue;
      LoadLogo(&contract->logo, data->logo);
      contract->requiredTraffic = data->requiredTraffic;
      contract->SetName(item->name);
      contract->terminalShop = 1;
      std::vector<cBusinessContract*>& list = businessLists[kGroup_Business][kList_Pool];
      if (list.size() >= kMaxContractList) {
        platform::DebugPrintf("[cEntity_ContractManager] business pool full; \"%s\" left out\n", data->name.c_str());
        continue;
      }
      item->business = contract.get();
      list.push_back(contract.release());
    }
  }
}

int32_t cEntity_ContractManager::OnTime(uint32_t, uint32_t, uint32_t eventFlag, float) {
  if (!running) return 0;
  if (eventFlag == kTimeEvent_Month) {
    if (!IsAirportFunctional())
      PostNotice(Table(), "Airport not functional",
                 "Your airport is not currently functional.  You will not receive any contracts or flights until "
                 "it has been made functional again.");
    else if (!airlineLists[kList_Pool].empty())
      MakeAirlineOffer();
  } else if (eventFlag == kTimeEvent_Day) {
    if (!IsAirportFunctional()) {
      NotifyNotFunctional();
      return 0;
    }
    SignFlightContracts();
    DriftSatisfaction();
    MakeBusinessOffer(kGroup_Business);
    MakeHotelOffer();
    MakeGasStationOffer();
    WithdrawLapsedAirlineOffers();
    for (uint32_t g = 0; g < 3; ++g) WithdrawLapsedBusinessOffers(g);
    const uint32_t now = Now();
    UpdateAirlineContracts(now);
    for (uint32_t g = 0; g < 3; ++g) UpdateBusinessContracts(g, now);
  } else if (eventFlag == kTimeEvent_Minute) {
    if (IsAirportFunctional()) UpdateNegotiations();
  }
  return 0;
}

void cEntity_ContractManager::DriftSatisfaction() {
  for (cAirlineContract* contract : airlineLists[kList_Active]) {
    if (contract->delayCounter == 0) contract->satisfaction += (100.0f - contract->GetSatisfaction()) * 0.05f;
    contract->delayCounter = 0;
  }
}

bool cEntity_ContractManager::IsBusinessUnplaced(const cBusinessContract* contract) const {
  if (!contract || !contract->data) return false;
  const uint8_t type = contract->data->businessType;
  const uint32_t group = type == kBusinessType_Hotel        ? kGroup_Hotel
                         : type == kBusinessType_GasStation ? kGroup_GasStation
                                                            : kGroup_Business;
  const auto& active = businessLists[group][kList_Active];
  return std::find(active.begin(), active.end(), contract) != active.end() && contract->placed == 0;
}

AirlineData* cEntity_ContractManager::FindAirlineData(uint32_t continent, const std::string& name) const {
  if (continent < kInternationalArray) {
    for (AirlineData* record : airlines[continent]) {
      if (record->name == name) return record;
    }
  }
  for (AirlineData* record : airlines[kInternationalArray]) {
    if (record->name == name) return record;
  }
  return nullptr;
}

BusinessData* cEntity_ContractManager::FindBusinessData(const std::string& name) const {
  for (BusinessData* record : businesses) {
    if (str::EqualsNoCase(record->name, name)) return record;
  }
  return nullptr;
}

AirplaneData* cEntity_ContractManager::FindAirplaneData(const std::string& name) const {
  for (auto* arrays : {passengerPlanes, cargoPlanes}) {
    for (uint32_t i = 0; i < kSizeClassCount; ++i) {
      for (AirplaneData* record : arrays[i]) {
        if (record->name == name) return record;
      }
    }
  }
  return nullptr;
}

uint32_t cEntity_ContractManager::CountFlaggedFlights() const {
  uint32_t n = 0;
  for (const cFlightContract* flight : allFlights) {
    n += flight->airline && flight->airline->data && flight->airline->data->international ? 1 : 0;
  }
  return n;
}
