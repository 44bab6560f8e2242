#pragma once
// The one place where the engine lower-cases and compares ignoring case.
// Only ASCII letters fold: names in scripts and data are ASCII, and the
// result must not depend on the process locale.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace str {

// Defined here so every caller folds in line (it runs for each character).
inline char ToLowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
void ToLowerInPlace(std::string& s);
std::string ToLower(std::string_view s);
std::string ToUpper(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
// <0, 0, >0 like strcmp, after folding both sides to lower case.
int CompareNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view s, std::string_view prefix);
bool EndsWithNoCase(std::string_view s, std::string_view suffix);
// A 32-bit hash of `s` folded to lower case: names EqualsNoCase matches hash
// alike. HashBytes is the same hash without the folding, for names already
// folded. Both read eight bytes at a time.
uint32_t HashNoCase(std::string_view s);
uint32_t HashBytes(std::string_view s);

// Blank means space, tab, CR or LF.
bool IsBlank(char c);
std::string_view TrimView(std::string_view s);
std::string Trim(std::string_view s);

// The character a backslash escape inside quoted script text stands for
// ("\\n" -> line feed, also t a b f r v, quote and backslash), or 0 when
// `c` starts no escape and the backslash is kept as written.
inline char EscapedChar(char c) {
  switch (c) {
    case 'n': return '\n';
    case 't': return '\t';
    case 'a': return '\a';
    case 'b': return '\b';
    case 'f': return '\f';
    case 'r': return '\r';
    case 'v': return '\v';
    case '"': return '"';
    case '\\': return '\\';
    default: return 0;
  }
}

// Splits on any of the separator characters; empty pieces are kept.
std::vector<std::string> Split(std::string_view s, std::string_view separators);

// Ordering for std::map keys that ignores case.
struct LessNoCase {
  bool operator()(std::string_view a, std::string_view b) const { return CompareNoCase(a, b) < 0; }
};

}  // namespace str
