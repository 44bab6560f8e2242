#pragma once
// The contract manager ("SPN::KV9:CONTRACTMANAGER"): owner of every contract
// of a game and of the airline, airplane and business tables they are made
// from. It watches whether the airport meets its base requirements
// ("functional") and keeps each contract in exactly one list of its kind.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/entity/EntityBase.h"
#include "engine/files/SerializedObject.h"
#include "simulation/ContractData.h"
#include "simulation/ContractRequirement.h"
#include "simulation/TimeObject.h"

class cAirlineContract;
class cBusinessContract;
class cFlightContract;
class cKV9_GlobalWrapper;

// Continent arrays of the airline table; the last holds every international
// airline.
inline constexpr uint32_t kContinentCount = 6;
inline constexpr uint32_t kInternationalArray = 6;
inline constexpr uint32_t kSizeClassCount = 4;
// A list is saved with a one-byte length.
inline constexpr size_t kMaxContractList = 255;

enum ContractList : uint32_t { kList_Pool = 0, kList_Offered = 1, kList_Active = 2, kList_Waiting = 3 };
enum BusinessGroup : uint32_t { kGroup_Business = 0, kGroup_Hotel = 1, kGroup_GasStation = 2 };

class cEntity_ContractManager : public cEntity_Base, public cSimulation_TimeObject, public cSerialized_Object {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:CONTRACTMANAGER";
  static constexpr const char* kAirlineTable = "Airlines\\Base.kva";
  static constexpr const char* kAirplaneTable = "Airplanes\\Base.kvp";
  static constexpr const char* kBusinessTable = "Amenities\\Base.kvb";

  explicit cEntity_ContractManager(cEntity_Manager* manager);
  ~cEntity_ContractManager() override;

  // The number of signed flights whose airline is international.
  uint32_t CountFlaggedFlights() const;
  bool IsAirportFunctional() const { return baseRequirementsMet != 0; }

  // Saving is not this step's work yet.
  bool Save(SerialBlock*, uint32_t*) override { return false; }
  int32_t OnTime(uint32_t, uint32_t, uint32_t, float) override { return 0; }

  // The airport's base requirements; the met flag is the airport-functional
  // flag.
  RequirementList baseRequirements;
  uint8_t baseRequirementsMet = 0;
  uint8_t running = 0;

  std::vector<AirlineData*> airlines[kContinentCount + 1];  // owned
  std::vector<AirplaneData*> passengerPlanes[kSizeClassCount];  // owned
  std::vector<AirplaneData*> cargoPlanes[kSizeClassCount];  // owned
  std::vector<BusinessData*> businesses;  // owned

  std::vector<cAirlineContract*> airlineLists[4];  // owned
  // Every signed flight, in signing order; owned by their airline contracts.
  std::vector<cFlightContract*> allFlights;
  std::vector<cBusinessContract*> businessLists[3][4];  // owned
  uint32_t nextFlightId = 0;
};
