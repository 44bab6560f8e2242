#pragma once
// The one place where the engine lower-cases and compares ignoring case.
// Only ASCII letters fold: names in scripts and data are ASCII, and the
// result must not depend on the process locale.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace str {

// Word-at-a-time pieces of the comparisons and hashes below. They are
// defined here, like the functions built on them, so that every caller runs
// them in line: readers call them for each name and statement they read, and
// against a literal most of the work folds away at compile time.
namespace detail {

inline uint64_t LoadWord(const char* p, size_t n) {
  uint64_t w = 0;
  std::memcpy(&w, p, n);
  return w;
}

// The last bytes of s[0, n), from `i` on (one to seven of them), as LoadWord
// gives them, without a copy of a length known only at run time (a library
// call for a few bytes): whole loads that overlap, shifted into place.
inline uint64_t LoadTail(const char* s, size_t i, size_t n) {
  const size_t r = n - i;
  if constexpr (std::endian::native == std::endian::little) {
    if (n >= 8) return LoadWord(s + n - 8, 8) >> (8 * (8 - r));
    if (r >= 4) return LoadWord(s + i, 4) | (LoadWord(s + n - 4, 4) << (8 * (r - 4)));
    uint64_t w = 0;
    for (size_t k = 0; k < r; ++k) w |= uint64_t{static_cast<unsigned char>(s[i + k])} << (8 * k);
    return w;
  }
  return LoadWord(s + i, r);
}

// Lower-cases the ASCII capitals among eight bytes at once: a byte gets 0x20
// added when it lies in 'A'..'Z' (the sums cannot carry into the next byte).
inline uint64_t FoldWord(uint64_t w) {
  constexpr uint64_t kOnes = 0x0101010101010101ull;
  const uint64_t low7 = w & (0x7F * kOnes);
  const uint64_t atLeastA = low7 + (0x80 - 'A') * kOnes;
  const uint64_t pastZ = low7 + (0x80 - 'Z' - 1) * kOnes;
  const uint64_t capital = atLeastA & ~pastZ & ~w & (0x80 * kOnes);
  return w | (capital >> 2);
}

inline uint64_t Mix(uint64_t h, uint64_t w) {
  h = (h ^ w) * 0x9E3779B97F4A7C15ull;
  return h ^ (h >> 29);
}

template <bool kFold>
inline uint32_t HashWords(std::string_view s) {
  const char* p = s.data();
  const size_t n = s.size();
  uint64_t h = 0x2545F4914F6CDD1Dull ^ n;
  size_t i = 0;
  for (; i + 8 <= n; i += 8) h = Mix(h, kFold ? FoldWord(LoadWord(p + i, 8)) : LoadWord(p + i, 8));
  if (i < n) h = Mix(h, kFold ? FoldWord(LoadTail(p, i, n)) : LoadTail(p, i, n));
  // The multiplications carry a byte's change only upwards, and indexes
  // take the low bits: a last round spreads every bit over the low ones too,
  // so names that differ near their end do not crowd the same slots.
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  return static_cast<uint32_t>(h);
}

// a == b, each side folded first where asked.
template <bool kFoldA, bool kFoldB>
inline bool EqualWords(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  const size_t n = a.size();
  auto wordA = [](uint64_t w) { return kFoldA ? FoldWord(w) : w; };
  auto wordB = [](uint64_t w) { return kFoldB ? FoldWord(w) : w; };
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    if (wordA(LoadWord(a.data() + i, 8)) != wordB(LoadWord(b.data() + i, 8))) return false;
  }
  return i == n || wordA(LoadTail(a.data(), i, n)) == wordB(LoadTail(b.data(), i, n));
}

}  // namespace detail

// Defined here so every caller folds in line (it runs for each character).
inline char ToLowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
void ToLowerInPlace(std::string& s);
std::string ToLower(std::string_view s);
std::string ToUpper(std::string_view s);
// Writes `from` lower-cased to `to` (room for from.size() bytes; either
// apart from `from` or at the very same place), eight bytes at a time, the
// last ones as a word overlapping the one before: for copies that are not
// read back at once (see ToLowerInPlace).
inline void CopyLower(char* to, std::string_view from) {
  using detail::FoldWord;
  using detail::LoadWord;
  const char* p = from.data();
  const size_t n = from.size();
  if (n >= 8) {
    // The last word overlaps the one before: those bytes are written twice
    // with the same value, and no write goes past the end.
    for (size_t i = 0; i + 8 < n; i += 8) {
      const uint64_t w = FoldWord(LoadWord(p + i, 8));
      std::memcpy(to + i, &w, 8);
    }
    const uint64_t last = FoldWord(LoadWord(p + n - 8, 8));
    std::memcpy(to + n - 8, &last, 8);
  } else if (n >= 4) {
    const auto head = static_cast<uint32_t>(FoldWord(LoadWord(p, 4)));
    const auto tail = static_cast<uint32_t>(FoldWord(LoadWord(p + n - 4, 4)));
    std::memcpy(to, &head, 4);
    std::memcpy(to + n - 4, &tail, 4);
  } else {
    for (size_t i = 0; i < n; ++i) to[i] = ToLowerChar(p[i]);
  }
}
inline bool EqualsNoCase(std::string_view a, std::string_view b) { return detail::EqualWords<true, true>(a, b); }
// a == b, read eight bytes at a time in line (no library call, which costs
// more than the comparison for the short names stores compare).
inline bool SameBytes(std::string_view a, std::string_view b) { return detail::EqualWords<false, false>(a, b); }
// lower == ToLower(s): a name kept folded against one as given (exact, unlike
// EqualsNoCase, when `lower` might hold capitals).
inline bool EqualsLowered(std::string_view lower, std::string_view s) {
  return detail::EqualWords<false, true>(lower, s);
}
// <0, 0, >0 like strcmp, after folding both sides to lower case.
int CompareNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view s, std::string_view prefix);
bool EndsWithNoCase(std::string_view s, std::string_view suffix);
// A 32-bit hash of `s` folded to lower case: names EqualsNoCase matches hash
// alike. HashBytes is the same hash without the folding, for names already
// folded. Both read eight bytes at a time.
inline uint32_t HashNoCase(std::string_view s) { return detail::HashWords<true>(s); }
inline uint32_t HashBytes(std::string_view s) { return detail::HashWords<false>(s); }

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
