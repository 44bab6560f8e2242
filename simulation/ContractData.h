#pragma once
// The records of the contract manager's three data tables. The manager owns
// them; contracts only point at the one they were made from.
#include <cstdint>
#include <string>
#include <vector>

// A terminal object an airline asks for.
struct TerminalItemRequirement {
  uint8_t type = 0;
  uint32_t level = 0;
};

struct AirlineData {
  std::string name;
  std::string logo;
  uint8_t international = 0;
  uint32_t continent = 0;
  uint8_t demand = 0;  // 0-3
  uint8_t cargo = 0;
  std::vector<TerminalItemRequirement> terminalItems;
};

struct AirplaneData {
  std::string name;
  std::string model;
  std::string thumbnail;
  std::string sound;
  uint8_t cargo = 0;
  uint8_t sizeClass = 0;  // 0-3
  uint16_t maxPassengers = 0;
  uint16_t requiredRunway = 0;
  uint16_t fuelCapacity = 0;
  float vertDropMaxVel = 0.0f;
  float vertDropAccel = 0.0f;
  float vertRiseMaxVel = 0.0f;
  float vertRiseAccel = 0.0f;
  float horizMaxVel = 0.0f;
  float horizAccel = 0.0f;
  float taxiVel = 0.0f;
  uint16_t yearAvailable = 1970;
};

// Business types: 1 hotel, 2 gas station, 0 and 3 business, 4 and above a
// shop that occupies a terminal object.
inline constexpr uint8_t kBusinessType_Hotel = 1;
inline constexpr uint8_t kBusinessType_GasStation = 2;
inline constexpr uint8_t kBusinessType_FirstTerminalShop = 4;

struct BusinessData {
  std::string name;
  std::string logo;
  uint8_t businessType = 0;
  uint8_t demand = 0;
  uint16_t requiredTraffic = 0;
};
