#pragma once
// One ambient-traffic rule: a vehicle model with its sound and kind number,
// and the building kinds its trips run between. The building manager makes
// the records from its tables and hands them to the ambient manager, which
// then owns them.
#include <cstdint>
#include <string>
#include <vector>

struct AmbientData {
  std::string name;
  std::string model;
  std::string sound;
  // Type words of the building kinds trips start from and go to; empty for
  // a record from the tables.
  std::vector<uint32_t> originKinds;
  std::vector<uint32_t> destinationKinds;
  // Bit 0: a building of an origin kind exists; bit 1: one of a destination
  // kind. 3 is active.
  uint8_t state = 0;
  // The vehicle's kind flags (car, bus, emergency, service, ...).
  int32_t type = 0;
};
