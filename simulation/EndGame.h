#pragma once
// One win or lose condition of a scenario.
#include <cstdint>
#include <string>

class cBuildableObject;

enum EndGameCriterion : int32_t {
  kCriterion_Safety = 1,
  kCriterion_Security = 2,
  kCriterion_Building = 3,
  kCriterion_Contracts = 4,
  kCriterion_Budget = 5,
  kCriterion_TicketSales = 7,
  kCriterion_Rent = 8,
  kCriterion_Earnings = 9,
  kCriterion_Passengers = 10,
  kCriterion_Planes = 11,
  kCriterion_TechLevel = 13,
  kCriterion_Satisfaction = 14,
};

struct EndGame {
  float value = 0.0f;
  int32_t criterion = 0;
  std::string text;  // not saved
  // The condition's building type at levels 0-7 (criterion 3 only); not owned.
  cBuildableObject* types[8] = {};
  uint32_t kept = 0;
  uint8_t lose = 0;
};
