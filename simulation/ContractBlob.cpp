// The contract manager's save blob: the four airline lists with their
// flights, the twelve business lists, the flight-id counter and the two
// flags. Every list carries a one-byte length.
#include <cstring>
#include <memory>

#include "base/ByteReader.h"
#include "construction/BuildingManager.h"
#include "construction/TerminalItem.h"
#include "engine/services/GlobalWrapper.h"
#include "platform/DebugOutput.h"
#include "simulation/AirlineContract.h"
#include "simulation/BusinessContract.h"
#include "simulation/ContractManager.h"
#include "simulation/ContractRecords.h"
#include "simulation/FlightContract.h"
#include "simulation/GameScenario.h"

namespace {

// Bytes of the fixed part: 16 list lengths, the counter and two flags.
constexpr uint32_t kBlobFixedBytes = 22;

std::vector<cFlightContract*>* FlightArray(cAirlineContract* contract, int which) {
  switch (which) {
    case 0: return &contract->openFlights;
    case 1: return &contract->otherFlights;
    default: return &contract->signedFlights;
  }
}

}  // namespace

bool cEntity_ContractManager::Save(SerialBlock* bytes, uint32_t* size) {
  uint64_t total = kBlobFixedBytes;
  for (auto& list : airlineLists) {
    if (list.size() > kMaxContractList) {
      platform::DebugPrintf("[cEntity_ContractManager::Save] an airline list of %zu does not fit; not saved\n",
                            list.size());
      return false;
    }
    for (cAirlineContract* contract : list) {
      total += kAirlineRecordSize + 3;
      for (int which = 0; which < 3; ++which) {
        const size_t n = FlightArray(contract, which)->size();
        if (n > kMaxContractList) {
          platform::DebugPrintf("[cEntity_ContractManager::Save] %s has %zu flights in one array; not saved\n",
                                contract->GetName().c_str(), n);
          return false;
        }
        total += n * kFlightRecordSize;
      }
    }
  }
  for (auto& group : businessLists) {
    for (auto& list : group) {
      if (list.size() > kMaxContractList) {
        platform::DebugPrintf("[cEntity_ContractManager::Save] a business list of %zu does not fit; not saved\n",
                              list.size());
        return false;
      }
      total += list.size() * kBusinessRecordSize;
    }
  }

  SerialBlock out(new uint8_t[total]);
  uint8_t* at = out.get();
  for (auto& list : airlineLists) {
    *at++ = static_cast<uint8_t>(list.size());
    for (cAirlineContract* contract : list) {
      WriteAirlineRecord(*contract, at);
      at += kAirlineRecordSize;
      for (int which = 0; which < 3; ++which) {
        const std::vector<cFlightContract*>& flights = *FlightArray(contract, which);
        *at++ = static_cast<uint8_t>(flights.size());
        for (cFlightContract* flight : flights) {
          WriteFlightRecord(*flight, at);
          at += kFlightRecordSize;
        }
      }
    }
  }
  for (auto& group : businessLists) {
    for (auto& list : group) {
      *at++ = static_cast<uint8_t>(list.size());
      for (cBusinessContract* contract : list) {
        WriteBusinessRecord(*contract, at);
        at += kBusinessRecordSize;
      }
    }
  }
  for (int i = 0; i < 4; ++i) *at++ = static_cast<uint8_t>(nextFlightId >> (8 * i));
  *at++ = baseRequirementsMet;
  *at++ = running;
  *bytes = std::move(out);
  *size = static_cast<uint32_t>(total);
  return true;
}

bool cEntity_ContractManager::ParseBlob(const uint8_t* bytes, uint32_t size) {
  if (!bytes) return false;
  cKV9_GlobalWrapper* table = Table();
  const uint8_t continent = table && table->scenario ? table->scenario->GetContinent() : 0xFF;
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;

  // Everything is built aside first, so a blob refused halfway changes
  // nothing.
  std::vector<std::unique_ptr<cAirlineContract>> airlinesRead[4];
  std::vector<std::unique_ptr<cBusinessContract>> businessRead[3][4];
  std::vector<std::pair<TerminalItem*, cBusinessContract*>> shopLinks;
  ByteReader r(bytes, size);
  for (auto& list : airlinesRead) {
    const uint8_t count = r.U8();
    for (uint32_t i = 0; i < count && r.Ok(); ++i) {
      if (!r.Need(kAirlineRecordSize)) break;
      const uint8_t* record = r.Current();
      r.Skip(kAirlineRecordSize);
      AirlineData* data = FindAirlineData(continent, RecordName(record));
      std::unique_ptr<cAirlineContract> contract;
      if (data) {
        contract.reset(MakeAirlineContract(data));
        ReadAirlineRecord(record, contract.get());
      }
      for (int which = 0; which < 3 && r.Ok(); ++which) {
        const uint8_t flights = r.U8();
        if (!r.Need(size_t{flights} * kFlightRecordSize)) break;
        for (uint32_t f = 0; f < flights; ++f) {
          const uint8_t* flightRecord = r.Current();
          r.Skip(kFlightRecordSize);
          if (!contract) continue;
          AirplaneData* plane = FindAirplaneData(RecordName(flightRecord));
          if (!plane) continue;
          auto* flight = new cFlightContract(plane, contract.get(), 0);
          ReadFlightRecord(flightRecord, flight);
          FlightArray(contract.get(), which)->push_back(flight);
        }
      }
      if (contract) list.push_back(std::move(contract));
    }
  }
  for (auto& group : businessRead) {
    for (auto& list : group) {
      const uint8_t count = r.U8();
      if (!r.Need(size_t{count} * kBusinessRecordSize)) break;
      for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* record = r.Current();
        r.Skip(kBusinessRecordSize);
        BusinessData* data = FindBusinessData(RecordName(record));
        if (!data) continue;
        auto contract = std::make_unique<cBusinessContract>(data);
        LoadLogo(&contract->logo, data->logo);
        ReadBusinessRecord(record, contract.get());
        if (data->businessType >= kBusinessType_FirstTerminalShop) {
          contract->terminalShop = 1;
          if (TerminalItem* item = buildings ? buildings->FindTerminalObject(data->name) : nullptr)
            shopLinks.emplace_back(item, contract.get());
        }
        list.push_back(std::move(contract));
      }
    }
  }
  const uint32_t flightId = r.U32();
  const uint8_t functional = r.U8();
  const uint8_t wasRunning = r.U8();
  if (!r.Ok() || r.Remaining() != 0) {
    platform::DebugPrintf("[cEntity_ContractManager::ParseBlob] blob of %u bytes is %s; refused\n", size,
                          r.Ok() ? "longer than its lists" : "cut short");
    return false;
  }

  ClearContracts();
  for (int l = 0; l < 4; ++l) {
    for (auto& contract : airlinesRead[l]) {
      for (cFlightContract* flight : contract->signedFlights) allFlights.push_back(flight);
      airlineLists[l].push_back(contract.release());
    }
  }
  for (int g = 0; g < 3; ++g) {
    for (int l = 0; l < 4; ++l) {
      for (auto& contract : businessRead[g][l]) businessLists[g][l].push_back(contract.release());
    }
  }
  for (auto& [item, contract] : shopLinks) item->business = contract;
  nextFlightId = flightId;
  baseRequirementsMet = functional;
  running = wasRunning;
  return true;
}
