#pragma once
// Dollar texts of the budget and land labels.
#include <string>

// "$%.02f" cut at the first "." with the whole part grouped in threes by ","
// (a minus sign is not a digit): 1234.5 gives "$1,234", -1234567 "$-1,234,567".
std::string FormatBudget(double amount);
// "$%.02f" cut at the first ".", not grouped.
std::string FormatDollars(double amount);
