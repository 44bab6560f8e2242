#pragma once
// The contract manager ("SPN::KV9:CONTRACTMANAGER"): owner of every contract
// of a game and of the airline, airplane and business tables they are made
// from. It watches whether the airport meets its base requirements
// ("functional") and keeps each contract in exactly one list of its kind.
#include <cstdint>
#include <string>
#include <string_view>
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
class ContractLogo;

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

  // Loads the airline, airplane and business tables from the resource path.
  virtual CoreStatus Init();
  using cEntity_Base::Init;
  // Joins the clock, builds the base requirements, then the new game's
  // pools or the lists of a pending save blob.
  virtual CoreStatus Start();
  // Leaves the clock; drops the base requirements and every contract.
  virtual CoreStatus Stop();
  // Frees the table records.
  CoreStatus Exit() override;
  int32_t OnTime(uint32_t totalSeconds, uint32_t interval, uint32_t eventFlag, float gameDelta) override;

  // The blob of every list; false (nothing handed out) when a list is too
  // long for its one-byte count.
  bool Save(SerialBlock* bytes, uint32_t* size) override;
  // Rebuilds the lists from a blob; false, changing nothing, when it does
  // not check out.
  bool ParseBlob(const uint8_t* bytes, uint32_t size);

  // The table readers on text in memory; each replaces its table. Records
  // that cannot be filed are logged and skipped.
  void ReadAirlineTable(std::string_view text);
  bool ReadAirplaneTable(std::string_view text);
  bool ReadBusinessTable(std::string_view text);
  void ClearTables();

  // Clears or sets the airport-functional flag from the base requirements;
  // the first time the airport works, the game starts running.
  void CheckAirportFunctional();
  bool IsBusinessUnplaced(const cBusinessContract* contract) const;
  // The exact name in the continent's array, else in the international one.
  AirlineData* FindAirlineData(uint32_t continent, const std::string& name) const;
  // Any case.
  BusinessData* FindBusinessData(const std::string& name) const;
  AirplaneData* FindAirplaneData(const std::string& name) const;

  // The number of signed flights whose airline is international.
  uint32_t CountFlaggedFlights() const;
  bool IsAirportFunctional() const { return baseRequirementsMet != 0; }
  // Daily: satisfaction eases toward 100 for airlines whose flights ran on
  // time.
  void DriftSatisfaction();

  // Offers, answers and signing (i: index in the offered list).
  void MakeAirlineOffer();
  void MakeBusinessOffer(uint32_t group);
  void AcceptAirlineOffer(uint32_t i);
  void DeclineAirlineOffer(uint32_t i);
  void NegotiateAirlineOffer(uint32_t i, const uint8_t feeFlags[18]);
  void AcceptBusinessOffer(uint32_t group, uint32_t i);
  void DeclineBusinessOffer(uint32_t group, uint32_t i);
  void NegotiateBusinessOffer(uint32_t group, uint32_t i);
  void SignFlightContracts();
  // The same on each business kind's lists.
  void MakeHotelOffer() { MakeBusinessOffer(kGroup_Hotel); }
  void MakeGasStationOffer() { MakeBusinessOffer(kGroup_GasStation); }
  void AcceptHotelOffer(uint32_t i) { AcceptBusinessOffer(kGroup_Hotel, i); }
  void DeclineHotelOffer(uint32_t i) { DeclineBusinessOffer(kGroup_Hotel, i); }
  void NegotiateHotelOffer(uint32_t i) { NegotiateBusinessOffer(kGroup_Hotel, i); }
  void AcceptGasStationOffer(uint32_t i) { AcceptBusinessOffer(kGroup_GasStation, i); }
  void DeclineGasStationOffer(uint32_t i) { DeclineBusinessOffer(kGroup_GasStation, i); }
  void NegotiateGasStationOffer(uint32_t i) { NegotiateBusinessOffer(kGroup_GasStation, i); }

  // Renewal, dissatisfaction, loss and expiry (now: the clock's total).
  void UpdateAirlineContracts(uint32_t now);
  void UpdateBusinessContracts(uint32_t group, uint32_t now);
  void UpdateHotelContracts(uint32_t now) { UpdateBusinessContracts(kGroup_Hotel, now); }
  void UpdateGasStationContracts(uint32_t now) { UpdateBusinessContracts(kGroup_GasStation, now); }
  void WithdrawLapsedAirlineOffers();
  void WithdrawLapsedBusinessOffers(uint32_t group);
  void UpdateNegotiations();
  void NotifyNotFunctional();
  void NotifyRequirementsNotMet(cAirlineContract* contract);
  void ExpireAirlineContract(cAirlineContract* contract);
  void ExpireBusinessContract(uint32_t group, cBusinessContract* contract);
  void RemoveAirlineFlights(cAirlineContract* contract);
  void ReturnAirlineToPool(cAirlineContract* contract);
  void ReturnBusinessToPool(uint32_t group, cBusinessContract* contract);
  void ReturnHotelToPool(cBusinessContract* contract) { ReturnBusinessToPool(kGroup_Hotel, contract); }
  void ReturnGasStationToPool(cBusinessContract* contract) { ReturnBusinessToPool(kGroup_GasStation, contract); }
  cAirlineContract* FindAirlineContractByName(const std::string& name) const;
  void RelinkAirlineFlights(uint32_t list);
  void RelinkBusinessContracts();

  std::vector<cBusinessContract*>& BusinessList(uint32_t group, uint32_t list) { return businessLists[group][list]; }

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

 private:
  cKV9_GlobalWrapper* Table();
  std::string ResourcePath();
  void BuildBaseRequirements();
  void BuildNewGamePools();
  cAirlineContract* MakeAirlineContract(AirlineData* data);
  void LoadLogo(ContractLogo* logo, const std::string& file);
  void ClearContracts();
  uint32_t Now();
  void RefreshBuildMenu();
  void ShowDissatisfied(const std::string& name);
};
