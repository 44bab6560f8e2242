#pragma once
// Number parsing and printing in the "C" locale, whatever the process locale
// is, with the forgiving semantics of atoi/atof: leading blanks skipped, the
// longest valid prefix converted, 0 when there is none.
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

double ParseDouble(std::string_view text);
float ParseFloat(std::string_view text);
int32_t ParseInt(std::string_view text);    // decimal, saturating at the int32 range
int64_t ParseInt64(std::string_view text);  // decimal, saturating
// Strict forms: the whole text (after trimming blanks) must be a number.
bool TryParseDouble(std::string_view text, double* out);
bool TryParseInt(std::string_view text, int32_t* out);

// "%f"-style printing with a '.' decimal point.
std::string FormatDouble(double value, const char* format = "%f");

}  // namespace platform
