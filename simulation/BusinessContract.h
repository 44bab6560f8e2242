#pragma once
// A business renting space at the airport: a shop or service, a hotel, a
// gas station, or a shop in a terminal.
#include <cstdint>

#include "simulation/Contract.h"

struct BusinessData;

class cBusinessContract : public cContract {
 public:
  explicit cBusinessContract(const BusinessData* data) : cContract(kContractKind_Business), data(data) {}

  void UpdateRequirements(cEntity_BuildingManager* buildings) override;
  // Met when the airport's ten-day average traffic reaches the required
  // traffic. No message.
  bool CheckRequirements(cKV9_GlobalWrapper* services, BOInstance* disregarded) override;
  // One negotiation step; true when the business accepts the new value.
  bool NegotiateTerms(cKV9_GlobalWrapper* services);

  const BusinessData* data;  // not owned
  ContractLogo logo;
  // Set while the business's building stands on the map.
  uint8_t placed = 0;
  float negotiatedValue = 0.0f;
  float monthlyPayment = 0.0f;
  uint8_t terminalShop = 0;
};
