#include "simulation/DecimalValue.h"

#include <charconv>

double DecimalValue(float value) {
  char text[32];
  const std::to_chars_result written = std::to_chars(text, text + sizeof text, value);
  if (written.ec != std::errc()) return value;
  double decimal = 0.0;
  const std::from_chars_result read = std::from_chars(text, written.ptr, decimal);
  return read.ec == std::errc() ? decimal : static_cast<double>(value);
}
