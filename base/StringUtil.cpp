#include "base/StringUtil.h"

#include <bit>
#include <cstring>

namespace str {

namespace {

uint64_t LoadWord(const char* p, size_t n) {
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
uint64_t FoldWord(uint64_t w) {
  constexpr uint64_t kOnes = 0x0101010101010101ull;
  const uint64_t low7 = w & (0x7F * kOnes);
  const uint64_t atLeastA = low7 + (0x80 - 'A') * kOnes;
  const uint64_t pastZ = low7 + (0x80 - 'Z' - 1) * kOnes;
  const uint64_t capital = atLeastA & ~pastZ & ~w & (0x80 * kOnes);
  return w | (capital >> 2);
}

uint64_t Mix(uint64_t h, uint64_t w) {
  h = (h ^ w) * 0x9E3779B97F4A7C15ull;
  return h ^ (h >> 29);
}

template <bool kFold>
uint32_t HashWords(std::string_view s) {
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

}  // namespace

uint32_t HashNoCase(std::string_view s) { return HashWords<true>(s); }
uint32_t HashBytes(std::string_view s) { return HashWords<false>(s); }

static char ToUpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

void ToLowerInPlace(std::string& s) {
  // Eight bytes at a time: keys are folded for every setting stored or read.
  char* p = s.data();
  const size_t n = s.size();
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const uint64_t w = FoldWord(LoadWord(p + i, 8));
    std::memcpy(p + i, &w, 8);
  }
  for (; i < n; ++i) p[i] = ToLowerChar(p[i]);
}

std::string ToLower(std::string_view s) {
  std::string out(s);
  ToLowerInPlace(out);
  return out;
}

std::string ToUpper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = ToUpperChar(c);
  return out;
}

int CompareNoCase(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const unsigned char ca = static_cast<unsigned char>(ToLowerChar(a[i]));
    const unsigned char cb = static_cast<unsigned char>(ToLowerChar(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}


bool EqualsNoCase(std::string_view a, std::string_view b) {
  // Eight bytes at a time: keywords and keys are compared for every
  // statement and setting read.
  if (a.size() != b.size()) return false;
  const size_t n = a.size();
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    if (FoldWord(LoadWord(a.data() + i, 8)) != FoldWord(LoadWord(b.data() + i, 8))) return false;
  }
  return i == n || FoldWord(LoadTail(a.data(), i, n)) == FoldWord(LoadTail(b.data(), i, n));
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

bool EndsWithNoCase(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && EqualsNoCase(s.substr(s.size() - suffix.size()), suffix);
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view TrimView(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

std::string Trim(std::string_view s) { return std::string(TrimView(s)); }


std::vector<std::string> Split(std::string_view s, std::string_view separators) {
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t i = 0; i <= s.size(); ++i) {
    if (i == s.size() || separators.find(s[i]) != std::string_view::npos) {
      out.emplace_back(s.substr(start, i - start));
      start = i + 1;
    }
  }
  return out;
}

}  // namespace str
