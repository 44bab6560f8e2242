#include "simulation/ContractManager.h"

#include "simulation/AirlineContract.h"
#include "simulation/BusinessContract.h"
#include "simulation/FlightContract.h"

cEntity_ContractManager::cEntity_ContractManager(cEntity_Manager* manager)
    : cEntity_Base(manager, kEntityType_Base),
      cSimulation_TimeObject(kTimeEvent_Minute | kTimeEvent_Day | kTimeEvent_Month) {}

cEntity_ContractManager::~cEntity_ContractManager() {
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
  for (auto& array : airlines) {
    for (AirlineData* record : array) delete record;
  }
  for (auto* arrays : {passengerPlanes, cargoPlanes}) {
    for (uint32_t i = 0; i < kSizeClassCount; ++i) {
      for (AirplaneData* record : arrays[i]) delete record;
    }
  }
  for (BusinessData* record : businesses) delete record;
}

uint32_t cEntity_ContractManager::CountFlaggedFlights() const {
  uint32_t n = 0;
  for (const cFlightContract* flight : allFlights) {
    n += flight->airline && flight->airline->data && flight->airline->data->international ? 1 : 0;
  }
  return n;
}
