#pragma once
// The save forms of an airline contract (232 bytes) and of a flight (100
// bytes), little-endian. Requirement lists, messages, logos and the
// fee-enabled flags are not saved: they are rebuilt after loading.
#include <cstddef>
#include <cstdint>
#include <string>

class cAirlineContract;
class cFlightContract;
class cBusinessContract;

inline constexpr size_t kAirlineRecordSize = 232;
inline constexpr size_t kFlightRecordSize = 100;
inline constexpr size_t kBusinessRecordSize = 200;
inline constexpr size_t kRecordNameSize = 64;

// The name in a 64-byte zero-padded field; a field with no zero ends at 64.
std::string RecordName(const uint8_t* field);

// Writes the whole record, reserved bytes as 0. The name is the record's:
// the airline's from its data, the airplane model's for a flight.
void WriteAirlineRecord(const cAirlineContract& contract, uint8_t* out);
void WriteFlightRecord(const cFlightContract& flight, uint8_t* out);

// Fill a contract from a record (everything but the name, which the caller
// used to find the data record). Reserved bytes are ignored.
void ReadAirlineRecord(const uint8_t* record, cAirlineContract* contract);
void ReadFlightRecord(const uint8_t* record, cFlightContract* flight);

// A business, hotel or gas-station contract: the data record's name at 0,
// the contract's name at 76.
void WriteBusinessRecord(const cBusinessContract& contract, uint8_t* out);
void ReadBusinessRecord(const uint8_t* record, cBusinessContract* contract);
