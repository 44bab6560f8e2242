#pragma once
// A terminal-object record of the terminal objects table; the building
// manager keeps them and deletes them at its destruction.
#include <cstdint>
#include <string>

class cBusinessContract;

struct TerminalItem {
  std::string name;
  uint8_t kind = 0;
  uint8_t width = 0;
  uint8_t length = 0;
  uint8_t type = 0;
  uint32_t level = 0;
  std::string date;
  float satisfaction = 0.0f;
  float safety = 0.0f;
  float security = 0.0f;
  float monthlyExpense = 0.0f;
  // Monthly income of the linked business, in dollars (0 when none).
  float monthlyIncome = 0.0f;
  cBusinessContract* business = nullptr;  // not owned
};
