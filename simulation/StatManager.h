#pragma once
// The statistics manager ("SPN::KV9:STATMANAGER"): every payment and income
// of the game, the yearly totals, the budget labels and the daily ratings.
// Money is in dollars; cash may go below 0.
#include <cstdint>
#include <limits>
#include <string>

#include "engine/entity/EntityBase.h"
#include "engine/files/SerializedObject.h"
#include "simulation/StatBlock.h"
#include "simulation/TimeObject.h"

class BOInstance;
class cKV9_GlobalWrapper;
struct StringHolder;
struct TerminalItem;

// Tuning values of section "App"; the base targets follow from the weights.
struct StatTuning {
  float safetyDelta = 0.1f;
  float securityDelta = 0.1f;
  float satisfactionDelta = 0.1f;
  float safetyMaintenanceApply = 0.2f;
  float safetyBuildingsApply = 0.2f;
  float safetyInteriorApply = 0.2f;
  float securityBuildingsApply = 0.2f;
  float securityInteriorApply = 0.5f;
  float csSafetyApply = 0.25f;
  float csSecurityApply = 0.25f;
  float csAestheticApply = 0.1f;
  float csBuildingsApply = 0.15f;
  float csInteriorApply = 0.15f;
  float defaultAirlineSatisfaction = 0.8f;
  float defaultBusinessSatisfaction = 0.8f;

  float SafetyTarget() const;
  float SecurityTarget() const;
  float SatisfactionTarget() const;
};

// A business contract's new satisfaction from the airport's traffic and the
// contract's required traffic; a contract that requires no traffic is fully
// satisfied (100).
float BusinessSatisfactionFor(float traffic, float requiredTraffic, float defaultSatisfaction);
// A base moved toward its target by at most delta.
float MoveToward(float value, float target, float delta);

class cEntity_StatManager : public cEntity_Base, public cSerialized_Object, public cSimulation_TimeObject {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:STATMANAGER";
  static constexpr uint32_t kEventMask = kTimeEvent_Tick | kTimeEvent_Day | kTimeEvent_Month | kTimeEvent_Year;

  explicit cEntity_StatManager(cEntity_Manager* manager);
  ~cEntity_StatManager() override;

  // Tuning, new-game block, the loaded blob over it, clock registration,
  // label texts.
  virtual CoreStatus Start();
  int32_t OnTime(uint32_t totalSeconds, uint32_t interval, uint32_t eventFlag, float gameDelta) override;
  bool Save(SerialBlock* bytes, uint32_t* size) override;
  // Keeps a checked copy for Start; a blob that does not check out is
  // refused and the one held before stays.
  bool LoadFromBlob(const uint8_t* bytes, uint32_t size) override;

  // Money.
  double AddFunds(double amount);
  void ChargeCost(float cost, float monthlyExpense);
  void ChargeBuildingCost(BOInstance* building);
  void OnBuildingsChanged(BOInstance* building);
  void OnInteriorChanged(TerminalItem* object);
  void AddFlightIncome(float amount, uint32_t passengers);
  void AddContractIncome(float amount);
  void AddParkingIncome(float amount);
  // Land, at the scenario's price per purchase block.
  bool CanAffordLand(uint32_t plots);
  void ChargeLandPurchase(uint32_t plots);
  void ChargeLandPerPlot(uint32_t plots);
  void CreditLandSale(uint32_t plots);
  void ShowLandCost(uint32_t plots);
  void ShowLandValue(uint32_t plots);
  void RecomputeRatings();

  // Clock work, public for the screens and tests that drive one step.
  void DailyUpdate();
  void MonthlyAmenityIncome();
  void MonthlyUpkeep();
  void YearlyRollOver();

  StatBlock block;
  StatTuning tuning;

  const std::string& GetBudgetText() const;
  const std::string& GetLandCostText() const;
  const std::string& GetLandValueText() const;

 private:
  void ReadTuning();
  void NewGameBlock();
  // Airline and business satisfaction from the running contracts.
  void ContractSatisfaction();
  // Cash += amount, booked as income when positive, else as expense.
  void Book(double amount);
  // Hands a statistic to the airport manager's award check.
  void ReportAward(uint8_t conditionType, float value);
  float LandPrice();
  void ComputeSafety();
  void ComputeSecurity();
  void ComputeAesthetic();
  void ComputeSatisfaction();
  cKV9_GlobalWrapper* Table();

  StringHolder* budgetText_ = nullptr;
  // The cash the budget text shows: the text is formatted again only when
  // the cash moved, not on every tick (NaN: never shown).
  double budgetShown_ = std::numeric_limits<double>::quiet_NaN();
  StringHolder* landCostText_ = nullptr;
  StringHolder* landValueText_ = nullptr;
};
