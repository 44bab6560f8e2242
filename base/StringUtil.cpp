#include "base/StringUtil.h"

#include <cstring>

namespace str {

static char ToUpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

void ToLowerInPlace(std::string& s) {
  // Eight bytes at a time, then the last few one by one rather than as
  // words that overlap (as CopyLower writes them): a string folded in place
  // is mostly read again at once (hashed, compared), and a read of stores
  // that overlap waits for them to reach the cache.
  char* p = s.data();
  const size_t n = s.size();
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const uint64_t w = detail::FoldWord(detail::LoadWord(p + i, 8));
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
