#pragma once
// The base of every contract: the partner's name, dates, negotiation state,
// satisfaction, the requirement list and the result of the last check.
#include <cstdint>
#include <string>
#include <vector>

#include "simulation/ContractRequirement.h"

class cKV9_GlobalWrapper;
class cEntity_BuildingManager;
class BOInstance;
class Core3D;
class C3DBaseShader;

enum ContractKind : uint8_t {
  kContractKind_Business = 0,
  kContractKind_Airline = 1,
  kContractKind_Flight = 2,
};

// Game seconds an offer stays open, and a contract runs once accepted.
inline constexpr uint32_t kOfferSeconds = 7776000;      // 90 days
inline constexpr uint32_t kContractSeconds = 31536000;  // 365 days
// Attempts byte once negotiations have broken down.
inline constexpr uint8_t kNegotiationBroken = 255;

class cContract {
 public:
  explicit cContract(uint8_t kind) : kind(kind) {}
  virtual ~cContract() = default;
  cContract(const cContract&) = delete;
  cContract& operator=(const cContract&) = delete;

  virtual void SetName(const std::string& text) { name_ = text; }
  virtual const std::string& GetName() const { return name_; }
  virtual void UpdateRequirements(cEntity_BuildingManager* buildings) = 0;
  // Evaluates the requirements, sets met, possible and the messages; the
  // disregarded building (may be null) is one about to be removed.
  virtual bool CheckRequirements(cKV9_GlobalWrapper* services, BOInstance* disregarded) = 0;
  virtual float GetSatisfaction() const { return satisfaction; }

  uint8_t kind;
  uint32_t timeStamp = 0;
  uint32_t start = 0;
  uint32_t end = 0;
  uint8_t attempts = 0;
  uint8_t renewal = 0;
  float satisfaction = -1.0f;
  // The negotiation reply countdown in game minutes while one is pending.
  uint8_t state = 0;
  // Months for an airline contract, days for the others.
  uint16_t coolDown = 0;
  RequirementList requirements;
  float minSecurity = 0.0f;
  float minSafety = 0.0f;
  float minSatisfaction = 0.0f;
  uint8_t checkInsToDedicate = 0;
  uint8_t checkInExtra[2] = {0, 0};
  double levelValue = 0.0;
  uint32_t requiredTraffic = 0;
  uint8_t met = 0;
  uint8_t possible = 0;
  // Empty exactly when the contract is met.
  std::vector<std::string> messages;
  uint32_t reservedWord = 0;
  // The building a placed flight or a terminal business stands in.
  uint32_t buildingWord = 0;
  uint8_t placeKeys[2] = {255, 255};

 protected:
  std::string name_;
};

// A renderer resource held by a contract: released when replaced or when
// the holder goes.
class ContractLogo {
 public:
  ContractLogo() = default;
  ~ContractLogo() { Set(nullptr, nullptr); }
  ContractLogo(const ContractLogo&) = delete;
  ContractLogo& operator=(const ContractLogo&) = delete;
  // Takes over `shader` (one reference) and releases the one held.
  void Set(Core3D* renderer, C3DBaseShader* shader);
  C3DBaseShader* Get() const { return shader_; }

 private:
  Core3D* renderer_ = nullptr;
  C3DBaseShader* shader_ = nullptr;
};
