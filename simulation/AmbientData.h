#pragma once
// One ambient-traffic rule: a vehicle model with its sound and kind flags,
// and the building kinds its trips run between. The building manager makes
// the records from its tables and hands them to the ambient manager.
#include <cstdint>
#include <string>
#include <vector>

struct AmbientData {
  std::string name;
  std::string modelName;
  std::string sound;
  // Identity words of the building kinds trips start from and go to; empty
  // for a record from the tables.
  std::vector<uint32_t> originKinds;
  std::vector<uint32_t> destinationKinds;
  // Bit 0: a building of an origin kind exists; bit 1: one of a destination
  // kind. 3 is active.
  uint8_t state = 0;
  // The vehicle kinds (car, bus, emergency, service, ...) the record may
  // serve as a model for, matched against a vehicle's kind flags.
  uint32_t kindFlags = 0;
};
