#include "simulation/MoneyText.h"

#include <cstdio>

std::string FormatDollars(double amount) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, "$%.02f", amount);
  std::string text = buffer;
  const size_t dot = text.find('.');
  if (dot != std::string::npos) text.resize(dot);
  return text;
}

std::string FormatBudget(double amount) {
  const std::string plain = FormatDollars(amount);
  size_t digitsFrom = 1;
  if (plain.size() > 1 && plain[1] == '-') digitsFrom = 2;
  const std::string digits = plain.substr(digitsFrom);
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return plain.substr(0, digitsFrom) + grouped;
}
