#include "simulation/BusinessContract.h"

#include "engine/math/Noise.h"
#include "engine/services/GlobalWrapper.h"
#include "simulation/AirportManager.h"
#include "simulation/ContractData.h"
#include "simulation/StatManager.h"

void cBusinessContract::UpdateRequirements(cEntity_BuildingManager*) {
  requiredTraffic = data ? data->requiredTraffic : 0;
}

bool cBusinessContract::CheckRequirements(cKV9_GlobalWrapper* services, BOInstance*) {
  met = possible = 1;
  messages.clear();
  // Summed wide: ten 32-bit values can exceed 32 bits.
  uint64_t sum = 0;
  cEntity_AirportManager* airport = services ? services->airportManager : nullptr;
  if (airport) {
    for (uint32_t i = 0; i < cEntity_AirportManager::kTrafficHistoryLength; ++i) sum += airport->GetTrafficHistory(i);
  }
  if (sum / cEntity_AirportManager::kTrafficHistoryLength < requiredTraffic) {
    met = possible = 0;
    return false;
  }
  return true;
}

bool cBusinessContract::NegotiateTerms(cKV9_GlobalWrapper* services) {
  for (uint32_t i = 0; i < attempts; ++i) negotiatedValue += Noise_RandomFloatInRange(3.0f, 8.0f);
  cEntity_StatManager* stats = services ? services->statManager : nullptr;
  const float limit = stats ? stats->block.businessSatisfaction : 0.0f;
  if (negotiatedValue > limit) return false;
  const bool terminalObject = data && data->businessType > 3;
  const float demand = data ? static_cast<float>(data->demand) : 0.0f;
  monthlyPayment = (demand + 1.0f) * negotiatedValue * (terminalObject ? 5.0f : 10.0f);
  return true;
}
