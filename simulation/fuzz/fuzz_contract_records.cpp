// The airline (232-byte) and flight (100-byte) save records: whatever the
// bytes, a record read and written once is written again unchanged, and the
// name never reads past its 64-byte field.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "simulation/AirlineContract.h"
#include "simulation/ContractData.h"
#include "simulation/ContractRecords.h"
#include "simulation/FlightContract.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kAirlineRecordSize + kFlightRecordSize) return 0;
  AirlineData airline;
  airline.name = RecordName(data);
  if (airline.name.size() > kRecordNameSize) std::abort();
  cAirlineContract a(&airline);
  ReadAirlineRecord(data, &a);
  uint8_t once[kAirlineRecordSize], twice[kAirlineRecordSize];
  WriteAirlineRecord(a, once);
  cAirlineContract b(&airline);
  ReadAirlineRecord(once, &b);
  WriteAirlineRecord(b, twice);
  if (std::memcmp(once, twice, sizeof once) != 0) std::abort();

  const uint8_t* flightBytes = data + kAirlineRecordSize;
  AirplaneData plane;
  plane.name = RecordName(flightBytes);
  cFlightContract f(&plane, &a, 0);
  ReadFlightRecord(flightBytes, &f);
  uint8_t fOnce[kFlightRecordSize], fTwice[kFlightRecordSize];
  WriteFlightRecord(f, fOnce);
  cFlightContract g(&plane, &a, 0);
  ReadFlightRecord(fOnce, &g);
  WriteFlightRecord(g, fTwice);
  if (std::memcmp(fOnce, fTwice, sizeof fOnce) != 0) std::abort();
  return 0;
}
