#pragma once
// An airline that will fly from the airport: its requirements, its fees and
// signing payment, and the flights it owns.
#include <cstdint>
#include <vector>

#include "simulation/Contract.h"

struct AirlineData;
class cFlightContract;

inline constexpr int kFeeItemCount = 18;

class cEntity_BuildingManager;
// The functional Customs buildings of the first level (1-7) whose tech level
// is reached; `found` tells whether there was such a level.
uint32_t CountCustomsBuildings(cEntity_BuildingManager* buildings, bool* found);

class cAirlineContract : public cContract {
 public:
  explicit cAirlineContract(const AirlineData* data);
  ~cAirlineContract() override;

  // The requirement list and minimum ratings of the airline's demand level.
  void UpdateRequirements(cEntity_BuildingManager* buildings) override;
  bool CheckRequirements(cKV9_GlobalWrapper* services, BOInstance* disregarded) override;
  // The stored satisfaction, +5 (at most 100) while a bonus is granted.
  float GetSatisfaction() const override;

  // False when a bonus was granted already; else keeps the source and adds 5.
  bool GrantSatisfactionBonus(uint32_t source);
  // One negotiation step; true when the airline accepts the new terms.
  bool NegotiateTerms(cKV9_GlobalWrapper* services);
  // An open flight becomes signed.
  void MarkFlightUnscheduled(cFlightContract* flight);
  // Every signed flight leaves the schedule and its place, back to open.
  void UnscheduleAllFlights(cKV9_GlobalWrapper* services);

  const AirlineData* data;  // not owned
  ContractLogo logo;
  uint8_t unusedFlag = 0;
  float flightFactor = 0.0f;
  std::vector<cFlightContract*> openFlights;    // owned
  std::vector<cFlightContract*> otherFlights;   // owned; saved, never filled
  std::vector<cFlightContract*> signedFlights;  // owned
  float baseOffer = 0.0f;
  float fees[kFeeItemCount] = {};
  uint8_t feeEnabled[kFeeItemCount];
  double signingPayment = 0.0;
  uint16_t delayCounter = 0;
  uint32_t failedPlacements = 0;
  uint8_t firstFlightPaid = 0;
  uint32_t bonusSource = 0;

 private:
  void Fail(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void CheckBuildings(cKV9_GlobalWrapper* services, BOInstance* disregarded);
  void CheckCustoms(cKV9_GlobalWrapper* services);
  void CheckCheckIns(cKV9_GlobalWrapper* services);
  // A requirement names a type the building data lacks: it can never be met.
  void MissingType(uint32_t word);

  bool missingTypeLogged_ = false;
};
