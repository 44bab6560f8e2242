#include "simulation/StatManager.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "construction/BOInstance.h"
#include "construction/BuildableObject.h"
#include "construction/BuildingManager.h"
#include "construction/RoadManager.h"
#include "construction/TerminalItem.h"
#include "engine/config/ConfigManager.h"
#include "engine/files/StringHolder.h"
#include "engine/services/GlobalWrapper.h"
#include "platform/DebugOutput.h"
#include "simulation/AirlineContract.h"
#include "simulation/AirportManager.h"
#include "simulation/BusinessContract.h"
#include "simulation/ContractManager.h"
#include "simulation/DecimalValue.h"
#include "simulation/GameScenario.h"
#include "simulation/MoneyText.h"
#include "simulation/Simulation.h"
#include "simulation/SimulationServices.h"
#include "simulation/SimulationWidgets.h"

namespace {

using TypeVisitor = std::function<void(cBuildableObject*)>;

void ForEachType(cEntity_BuildingManager* buildings, const TypeVisitor& visit) {
  if (!buildings) return;
  for (uint8_t classCode = 0; classCode < kBuildingClassCount; ++classCode) {
    const uint16_t ids = buildings->GetTypeIdCount(classCode);
    for (uint16_t id = 0; id < ids; ++id) {
      for (uint8_t level = 0; level < kBuildingLevelCount; ++level) {
        if (cBuildableObject* type = buildings->GetBuildingType(classCode, id, level)) visit(type);
      }
    }
  }
}

// Sum over every operating instance of rating x second factor x health.
float BuildingsComponent(cEntity_BuildingManager* buildings, float (cBuildableObject::*rating)()) {
  float sum = 0.0f;
  ForEachType(buildings, [&](cBuildableObject* type) {
    const float value = (type->*rating)();
    for (uint32_t i = 0; i < type->GetOperatingInstanceCount(); ++i) {
      if (BOInstance* instance = type->GetOperatingInstance(i))
        sum += value * instance->GetSecondFactor() * instance->GetHealth();
    }
  });
  return sum;
}

// Sum over the terminals' interior objects of one value, per terminal.
float InteriorComponent(cEntity_BuildingManager* buildings, float TerminalItem::*value) {
  if (!buildings) return 0.0f;
  const std::vector<BOInstance*>& terminals = buildings->GetTerminals();
  if (terminals.empty()) return 0.0f;
  float sum = 0.0f;
  for (BOInstance* terminal : terminals) {
    for (uint32_t i = 0; i < terminal->GetInteriorObjectCount(); ++i) {
      if (TerminalItem* object = terminal->GetInteriorObject(i)) sum += object->*value;
    }
  }
  return sum / static_cast<float>(terminals.size());
}

float ReadSetting(cCore_ConfigManager* config, const char* key, float fallback) {
  float value = fallback;
  if (config) config->GetFloat("App", key, value);
  return value;
}

}  // namespace

// The targets are worked out from the weights as written, in double
// precision: the defaults give exactly 40, 30 and 10, which a rating must be
// able to reach against a threshold of that value.
float StatTuning::SafetyTarget() const {
  const double weights =
      DecimalValue(safetyInteriorApply) + DecimalValue(safetyBuildingsApply) + DecimalValue(safetyMaintenanceApply);
  return static_cast<float>((1.0 - weights) * 100.0);
}
float StatTuning::SecurityTarget() const {
  const double weights = DecimalValue(securityInteriorApply) + DecimalValue(securityBuildingsApply);
  return static_cast<float>((1.0 - weights) * 100.0);
}
float StatTuning::SatisfactionTarget() const {
  const double weights = DecimalValue(csInteriorApply) + DecimalValue(csBuildingsApply) +
                         DecimalValue(csAestheticApply) + DecimalValue(csSecurityApply) + DecimalValue(csSafetyApply);
  return static_cast<float>((1.0 - weights) * 100.0);
}

float BusinessSatisfactionFor(float traffic, float requiredTraffic, float defaultSatisfaction) {
  if (requiredTraffic <= 0.0f) return 100.0f;
  const float r = traffic / requiredTraffic;
  if (r < 1.0f) return std::max(0.0f, r * r * defaultSatisfaction);
  return std::min(100.0f, defaultSatisfaction + (r - 1.0f) * (100.0f - defaultSatisfaction));
}

float MoveToward(float value, float target, float delta) {
  if (value > target) return value - std::min(value - target, delta);
  if (value < target) return value + std::min(target - value, delta);
  return value;
}

cEntity_StatManager::cEntity_StatManager(cEntity_Manager* manager)
    : cEntity_Base(manager, kEntityType_Base), cSimulation_TimeObject(kEventMask) {
  ReadTuning();
  NewGameBlock();
}

cEntity_StatManager::~cEntity_StatManager() {
  StringHolder::Release(budgetText_);
  StringHolder::Release(landCostText_);
  StringHolder::Release(landValueText_);
}

cKV9_GlobalWrapper* cEntity_StatManager::Table() { return GameTableOf(this); }

void cEntity_StatManager::ReadTuning() {
  cKV9_GlobalWrapper* table = Table();
  cCore_ConfigManager* config = table ? table->configManager : nullptr;
  StatTuning t;
  t.safetyDelta = ReadSetting(config, "SafetyRatingDelta", t.safetyDelta);
  t.securityDelta = ReadSetting(config, "SecurityRatingDelta", t.securityDelta);
  t.satisfactionDelta = ReadSetting(config, "CustomerSatisfactionDelta", t.satisfactionDelta);
  t.safetyMaintenanceApply = ReadSetting(config, "SafetyMaintenanceApply", t.safetyMaintenanceApply);
  t.safetyBuildingsApply = ReadSetting(config, "SafetyBuildingsApply", t.safetyBuildingsApply);
  t.safetyInteriorApply = ReadSetting(config, "SafetyInteriorApply", t.safetyInteriorApply);
  t.securityBuildingsApply = ReadSetting(config, "SecurityBuildingsApply", t.securityBuildingsApply);
  t.securityInteriorApply = ReadSetting(config, "SecurityInteriorApply", t.securityInteriorApply);
  t.csSafetyApply = ReadSetting(config, "CSSafetyRatingApply", t.csSafetyApply);
  t.csSecurityApply = ReadSetting(config, "CSSecurityRatingApply", t.csSecurityApply);
  t.csAestheticApply = ReadSetting(config, "CSAestheticRatingApply", t.csAestheticApply);
  t.csBuildingsApply = ReadSetting(config, "CSBuildingsApply", t.csBuildingsApply);
  t.csInteriorApply = ReadSetting(config, "CSInteriorApply", t.csInteriorApply);
  t.defaultAirlineSatisfaction = ReadSetting(config, "DefaultAirlineSatisfaction", t.defaultAirlineSatisfaction);
  t.defaultBusinessSatisfaction = ReadSetting(config, "DefaultBusinessSatisfaction", t.defaultBusinessSatisfaction);
  tuning = t;
}

void cEntity_StatManager::NewGameBlock() {
  block = StatBlock{};
  block.safetyBase = tuning.SafetyTarget();
  block.securityBase = tuning.SecurityTarget();
  block.satisfactionBase = tuning.SatisfactionTarget();
}

CoreStatus cEntity_StatManager::Start() {
  ReadTuning();
  NewGameBlock();
  if (blob_ && blobSize_ == StatBlock::kSize) {
    StatBlock::Parse(blob_.get(), blobSize_, &block, nullptr);
  }
  FreeBlob();
  if (cSimulation_Clock* clock = GameClockOf(Table())) clock->RegisterTimeObject(this);
  StringHolder::Get(budgetText_);
  budgetShown_ = std::numeric_limits<double>::quiet_NaN();
  StringHolder::Get(landCostText_) = "$0.00";
  StringHolder::Get(landValueText_) = "$0.00";
  if (SimulationWidgets* widgets = GetSimulationWidgets()) {
    widgets->BindText("sttPLBudget", budgetText_);
    widgets->BindText("sttIGBudget", budgetText_);
    widgets->BindText("sttSDCost", landCostText_);
    widgets->BindText("sttSDValue", landValueText_);
  }
  return status::Ok;
}

bool cEntity_StatManager::LoadFromBlob(const uint8_t* bytes, uint32_t size) {
  if (size == 0) return true;
  StatBlock parsed;
  const char* why = "";
  if (!StatBlock::Parse(bytes, size, &parsed, &why)) {
    platform::OutputDebugString(std::string("[cEntity_StatManager::LoadFromBlob] statistics refused: ") + why + "\n");
    return false;
  }
  return cSerialized_Object::LoadFromBlob(bytes, size);
}

bool cEntity_StatManager::Save(SerialBlock* bytes, uint32_t* size) {
  const std::vector<uint8_t> data = block.Serialize();
  *bytes = SerialBlock(new uint8_t[data.size()]);
  std::copy(data.begin(), data.end(), bytes->get());
  *size = static_cast<uint32_t>(data.size());
  return true;
}

int32_t cEntity_StatManager::OnTime(uint32_t, uint32_t, uint32_t eventFlag, float) {
  switch (eventFlag) {
    case kTimeEvent_Tick:
      if (!(block.cash == budgetShown_)) {
        StringHolder::Get(budgetText_) = FormatBudget(block.cash);
        budgetShown_ = block.cash;
      }
      break;
    case kTimeEvent_Day:
      DailyUpdate();
      break;
    case kTimeEvent_Month:
      MonthlyAmenityIncome();
      MonthlyUpkeep();
      break;
    case kTimeEvent_Year:
      YearlyRollOver();
      break;
    default:
      break;
  }
  return 0;
}

void cEntity_StatManager::Book(double amount) {
  block.cash += amount;
  if (amount > 0.0) {
    block.income += amount;
  } else {
    block.expenses -= amount;
  }
}

double cEntity_StatManager::AddFunds(double amount) {
  Book(amount);
  return block.cash;
}

void cEntity_StatManager::ChargeCost(float cost, float monthlyExpense) {
  Book(-static_cast<double>(cost));
  block.construction += cost;
  block.monthlyUpkeep += monthlyExpense;
}

void cEntity_StatManager::ChargeBuildingCost(BOInstance* building) {
  cBuildableObject* type = building ? building->GetType() : nullptr;
  if (type) ChargeCost(type->GetBuildCost(), type->GetMonthlyExpense());
}

void cEntity_StatManager::OnBuildingsChanged(BOInstance* building) {
  cBuildableObject* type = building ? building->GetType() : nullptr;
  if (type) {
    block.monthlyUpkeep -= type->GetMonthlyExpense();
    const uint32_t left = building->GetConstructionTimeLeft();
    const uint32_t hours = type->GetBuildTime() * 24;
    if (left != 0 && hours != 0) {
      AddFunds(static_cast<double>(type->GetBuildCost()) * left / hours);
    }
  }
  const StatTuning& t = tuning;
  block.satisfactionRating = block.satisfactionBase + t.csInteriorApply * block.satisfactionInterior +
                             t.csBuildingsApply * block.satisfactionBuildings +
                             t.csAestheticApply * block.aesthetic + t.csSecurityApply * block.securityRating +
                             t.csSafetyApply * block.safetyRating;
  block.safetyRating = block.safetyBase + t.safetyMaintenanceApply * block.safetyMaintenance +
                       t.safetyBuildingsApply * block.safetyBuildings + t.safetyInteriorApply * block.safetyInterior;
  block.securityRating = block.securityBase + t.securityBuildingsApply * block.securityBuildings +
                         t.securityInteriorApply * block.securityInterior;
  ComputeAesthetic();
}

void cEntity_StatManager::OnInteriorChanged(TerminalItem* object) {
  if (object) block.monthlyUpkeep -= object->monthlyExpense;
  cKV9_GlobalWrapper* table = Table();
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  const StatTuning& t = tuning;
  block.securityInterior = InteriorComponent(buildings, &TerminalItem::security);
  block.securityRating = block.securityBase + t.securityBuildingsApply * block.securityBuildings +
                         t.securityInteriorApply * block.securityInterior;
  block.safetyInterior = InteriorComponent(buildings, &TerminalItem::safety);
  block.safetyRating = block.safetyBase + t.safetyMaintenanceApply * block.safetyMaintenance +
                       t.safetyBuildingsApply * block.safetyBuildings + t.safetyInteriorApply * block.safetyInterior;
  block.satisfactionInterior = InteriorComponent(buildings, &TerminalItem::satisfaction);
  block.satisfactionRating = block.satisfactionBase + t.csInteriorApply * block.satisfactionInterior +
                             t.csBuildingsApply * block.satisfactionBuildings +
                             t.csAestheticApply * block.aesthetic + t.csSecurityApply * block.securityRating +
                             t.csSafetyApply * block.safetyRating;
}

void cEntity_StatManager::AddFlightIncome(float amount, uint32_t passengers) {
  Book(amount);
  block.passengers += passengers;
  block.ticketSales += amount;
  block.flights += 1;
  ReportAward(kAward_TotalPassengers, static_cast<float>(block.passengers + block.passengersEarlier));
}

void cEntity_StatManager::AddContractIncome(float amount) {
  Book(amount);
  block.contractIncome += amount;
}

void cEntity_StatManager::AddParkingIncome(float amount) {
  block.parkingIncome += amount;
  Book(amount);
}

float cEntity_StatManager::LandPrice() {
  cKV9_GlobalWrapper* table = Table();
  return table && table->scenario ? table->scenario->GetLandPrice() : 0.0f;
}

bool cEntity_StatManager::CanAffordLand(uint32_t plots) {
  return static_cast<double>(LandPrice()) * plots <= block.cash;
}

void cEntity_StatManager::ChargeLandPurchase(uint32_t plots) {
  const double amount = static_cast<double>(LandPrice()) * plots;
  Book(-amount);
  block.construction += amount;
}

void cEntity_StatManager::ChargeLandPerPlot(uint32_t plots) {
  const double price = LandPrice();
  for (uint32_t i = 0; i < plots; ++i) Book(-price);
}

void cEntity_StatManager::CreditLandSale(uint32_t plots) {
  const double price = LandPrice();
  for (uint32_t i = 0; i < plots; ++i) Book(price);
}

void cEntity_StatManager::ShowLandCost(uint32_t plots) {
  StringHolder::Get(landCostText_) = FormatDollars(static_cast<double>(LandPrice()) * plots);
}

void cEntity_StatManager::ShowLandValue(uint32_t plots) {
  StringHolder::Get(landValueText_) = FormatDollars(static_cast<double>(LandPrice()) * plots);
}

void cEntity_StatManager::ComputeSafety() {
  cKV9_GlobalWrapper* table = Table();
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  float health = 0.0f;
  uint32_t count = 0;
  ForEachType(buildings, [&](cBuildableObject* type) {
    for (uint32_t i = 0; i < type->GetInstanceCount(); ++i) {
      if (BOInstance* instance = type->GetInstance(i)) {
        health += instance->GetHealth();
        ++count;
      }
    }
  });
  block.safetyMaintenance = health / static_cast<float>(count ? count : 1);
  block.safetyBuildings = BuildingsComponent(buildings, &cBuildableObject::GetSafetyRating);
  block.safetyInterior = InteriorComponent(buildings, &TerminalItem::safety);
  const StatTuning& t = tuning;
  block.safetyRating = block.safetyBase + t.safetyMaintenanceApply * block.safetyMaintenance +
                       t.safetyBuildingsApply * block.safetyBuildings + t.safetyInteriorApply * block.safetyInterior;
}

void cEntity_StatManager::ComputeSecurity() {
  cKV9_GlobalWrapper* table = Table();
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  block.securityBuildings = BuildingsComponent(buildings, &cBuildableObject::GetSecurityRating);
  block.securityInterior = InteriorComponent(buildings, &TerminalItem::security);
  block.securityRating = block.securityBase + tuning.securityBuildingsApply * block.securityBuildings +
                         tuning.securityInteriorApply * block.securityInterior;
}

void cEntity_StatManager::ComputeAesthetic() {
  cKV9_GlobalWrapper* table = Table();
  block.aesthetic =
      BuildingsComponent(table ? table->buildingManager : nullptr, &cBuildableObject::GetAestheticRating);
}

void cEntity_StatManager::ComputeSatisfaction() {
  cKV9_GlobalWrapper* table = Table();
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  block.satisfactionBuildings = BuildingsComponent(buildings, &cBuildableObject::GetSatisfactionRating);
  block.satisfactionInterior = InteriorComponent(buildings, &TerminalItem::satisfaction);
}

void cEntity_StatManager::RecomputeRatings() {
  ComputeSafety();
  ComputeSecurity();
  ComputeSatisfaction();
}

void cEntity_StatManager::ReportAward(uint8_t conditionType, float value) {
  cKV9_GlobalWrapper* table = Table();
  if (table && table->airportManager) table->airportManager->CheckAward(conditionType, value);
}

void cEntity_StatManager::DailyUpdate() {
  const StatTuning& t = tuning;
  block.safetyBase = MoveToward(block.safetyBase, t.SafetyTarget(), t.safetyDelta);
  ComputeSafety();
  ReportAward(kAward_Safety, block.safetyRating);
  block.securityBase = MoveToward(block.securityBase, t.SecurityTarget(), t.securityDelta);
  ComputeSecurity();
  ReportAward(kAward_Security, block.securityRating);
  ComputeAesthetic();
  ReportAward(kAward_Aesthetic, block.aesthetic);
  block.satisfactionBase = MoveToward(block.satisfactionBase, t.SatisfactionTarget(), t.satisfactionDelta);
  ComputeSatisfaction();
  block.satisfactionRating = block.satisfactionBase + t.csInteriorApply * block.satisfactionInterior +
                             t.csBuildingsApply * block.satisfactionBuildings +
                             t.csAestheticApply * block.aesthetic + t.csSecurityApply * block.securityRating +
                             t.csSafetyApply * block.safetyRating;
  ReportAward(kAward_CustomerSatisfaction, block.satisfactionRating);
  ContractSatisfaction();
}

void cEntity_StatManager::ContractSatisfaction() {
  const StatTuning& t = tuning;
  cKV9_GlobalWrapper* table = Table();
  cEntity_ContractManager* contracts = table ? table->contractManager : nullptr;
  block.airlineSatisfaction = t.defaultAirlineSatisfaction;
  block.businessSatisfaction = t.defaultBusinessSatisfaction;
  if (!contracts) return;
  const auto& airlines = contracts->airlineLists[kList_Active];
  if (!airlines.empty()) {
    float sum = 0.0f;
    for (const cAirlineContract* c : airlines) sum += c->GetSatisfaction();
    block.airlineSatisfaction = sum / static_cast<float>(airlines.size());
  }
  ReportAward(kAward_AirlineSatisfaction, block.airlineSatisfaction);
  // Only running businesses have a partner to be satisfied; pooled and
  // offered ones are left alone.
  const float traffic = table->airportManager ? static_cast<float>(table->airportManager->GetTraffic()) : 0.0f;
  float sum = 0.0f;
  uint32_t count = 0;
  for (auto& group : contracts->businessLists) {
    for (cBusinessContract* c : group[kList_Active]) {
      sum += c->GetSatisfaction();
      ++count;
      c->satisfaction =
          BusinessSatisfactionFor(traffic, static_cast<float>(c->requiredTraffic), t.defaultBusinessSatisfaction);
    }
  }
  if (count) block.businessSatisfaction = sum / static_cast<float>(count);
}

void cEntity_StatManager::MonthlyAmenityIncome() {
  cKV9_GlobalWrapper* table = Table();
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  RoadNetwork* roads = table ? table->roadManager : nullptr;
  double month = 0.0;
  if (buildings && roads) {
    std::vector<RoadAccessCell> cells;
    const uint16_t ids = buildings->GetTypeIdCount(kBuildingClass_Amenity);
    for (uint16_t id = 0; id < ids; ++id) {
      for (uint8_t level = 0; level < kBuildingLevelCount; ++level) {
        cBuildableObject* type = buildings->GetBuildingType(kBuildingClass_Amenity, id, level);
        if (!type) continue;
        for (uint32_t i = 0; i < type->GetInstanceCount(); ++i) {
          BOInstance* instance = type->GetInstance(i);
          if (!instance) continue;
          cells.clear();
          buildings->GetRoadAccessCells(instance, cells);
          for (const RoadAccessCell& cell : cells) {
            static constexpr int kStepX[4] = {0, 1, 0, -1};
            static constexpr int kStepY[4] = {-1, 0, 1, 0};
            const int d = cell.direction & 3;
            if (!roads->IsConnectedRoadCell(cell.x + kStepX[d], cell.y + kStepY[d])) continue;
            Book(type->GetMonthlyIncome());
            month += type->GetMonthlyIncome();
            break;
          }
        }
      }
    }
  }
  block.amenityIncome += month;
  // Shops inside the terminals earn their monthly income in cash too.
  double shops = 0.0;
  if (buildings) {
    for (BOInstance* terminal : buildings->GetTerminals()) {
      for (uint32_t i = 0; i < terminal->GetInteriorObjectCount(); ++i) {
        if (TerminalItem* object = terminal->GetInteriorObject(i)) shops += object->monthlyIncome;
      }
    }
  }
  if (shops != 0.0) Book(shops);
  block.amenityIncome += shops;
}

void cEntity_StatManager::MonthlyUpkeep() {
  cKV9_GlobalWrapper* table = Table();
  double upkeep = 0.0;
  ForEachType(table ? table->buildingManager : nullptr, [&](cBuildableObject* type) {
    const double expense = type->GetMonthlyExpense();
    const double full = type->GetLevel() * 10.0;
    for (uint32_t i = 0; i < type->GetOperatingInstanceCount(); ++i) {
      BOInstance* instance = type->GetOperatingInstance(i);
      if (!instance) continue;
      const double condition = instance->GetCondition();
      // A level-0 type has no condition scale: it always costs its full expense.
      if (full == 0.0 || condition == full) {
        upkeep += expense;
      } else {
        upkeep += expense * 0.3 + expense * 0.7 * condition / full;
      }
    }
  });
  block.monthlyUpkeep = upkeep;
  const double payment = block.upkeepFactor * block.monthlyUpkeep;
  block.cash -= payment;
  block.expenses += payment;
  block.upkeepPaid += payment;
}

void cEntity_StatManager::YearlyRollOver() {
  auto roll = [](auto& current, auto& earlier) {
    earlier += current;
    current = 0;
  };
  roll(block.ticketSales, block.ticketSalesEarlier);
  roll(block.parkingIncome, block.parkingIncomeEarlier);
  roll(block.amenityIncome, block.amenityIncomeEarlier);
  roll(block.contractIncome, block.contractIncomeEarlier);
  roll(block.income, block.incomeEarlier);
  roll(block.construction, block.constructionEarlier);
  roll(block.upkeepPaid, block.upkeepPaidEarlier);
  roll(block.passengers, block.passengersEarlier);
  roll(block.flights, block.flightsEarlier);
}

const std::string& cEntity_StatManager::GetBudgetText() const {
  static const std::string empty;
  return budgetText_ && budgetText_->text ? *budgetText_->text : empty;
}
const std::string& cEntity_StatManager::GetLandCostText() const {
  static const std::string empty;
  return landCostText_ && landCostText_->text ? *landCostText_->text : empty;
}
const std::string& cEntity_StatManager::GetLandValueText() const {
  static const std::string empty;
  return landValueText_ && landValueText_->text ? *landValueText_->text : empty;
}
