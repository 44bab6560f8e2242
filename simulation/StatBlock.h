#pragma once
// The statistics block: the airport's money, yearly totals and ratings, saved
// as one 240-byte little-endian blob.
#include <cstdint>
#include <vector>

struct StatBlock {
  static constexpr uint32_t kSize = 240;
  static constexpr double kStartingCash = 20000000.0;

  double cash = kStartingCash;
  double monthlyUpkeep = 0.0;
  double ticketSales = 0.0;
  double ticketSalesEarlier = 0.0;
  double parkingIncome = 0.0;
  double parkingIncomeEarlier = 0.0;
  double amenityIncome = 0.0;
  double amenityIncomeEarlier = 0.0;
  double contractIncome = 0.0;
  double contractIncomeEarlier = 0.0;
  double income = 0.0;
  double incomeEarlier = 0.0;
  double expenses = 0.0;
  double reserved104 = 0.0;
  double construction = 0.0;
  double constructionEarlier = 0.0;
  double upkeepPaid = 0.0;
  double upkeepPaidEarlier = 0.0;
  uint32_t passengers = 0;
  uint32_t passengersEarlier = 0;
  uint32_t flights = 0;
  uint32_t flightsEarlier = 0;
  uint32_t contractsSigned = 0;
  uint32_t reserved164 = 0;
  float safetyRating = 0.0f;
  float safetyBase = 0.0f;
  float safetyMaintenance = 0.0f;
  float safetyBuildings = 0.0f;
  float safetyInterior = 0.0f;
  float securityRating = 0.0f;
  float securityBase = 0.0f;
  float securityBuildings = 0.0f;
  float securityInterior = 0.0f;
  float aesthetic = 0.0f;
  float satisfactionRating = 0.0f;
  float satisfactionBase = 0.0f;
  float satisfactionBuildings = 0.0f;
  float satisfactionInterior = 0.0f;
  float airlineSatisfaction = 0.0f;
  float businessSatisfaction = 0.0f;
  float upkeepFactor = 1.0f;
  uint32_t reserved236 = 0;

  std::vector<uint8_t> Serialize() const;
  // Fills `out` from exactly 240 bytes whose floating-point fields are all
  // finite; false (out untouched) otherwise, with the reason in *why.
  static bool Parse(const uint8_t* bytes, uint32_t size, StatBlock* out, const char** why);
};
