#include "engine/config/ScriptTokenizer.h"

#include <array>
#include <bit>
#include <cstring>

#include "base/StringUtil.h"

namespace {

// What each byte is to the reader, looked up once per byte instead of
// compared against every special character.
enum : uint8_t {
  kControlSpace = 1,          // white space in every state but the comments, quotes included
  kPlainOutside = 2,          // part of the token being read, outside quotes
  kPlainInside = 4,           // the same inside quotes, while the split is inside quotes too
  kPlainInsideUnquoted = 8,   // inside quotes while an escaped quote mark has the split outside
  kBlankOutside = 16,         // a blank or control space outside quotes
};

constexpr std::array<uint8_t, 256> MakeClasses() {
  std::array<uint8_t, 256> classes{};
  for (int i = 0; i < 256; ++i) {
    const char c = static_cast<char>(i);
    const bool control =
        c == '\0' || c == '\n' || c == '\t' || c == '\a' || c == '\b' || c == '\f' || c == '\r' || c == '\v';
    const bool plainInside = c != '"' && c != '\\' && !control;
    uint8_t k = 0;
    if (control) k |= kControlSpace;
    if (c != ' ' && c != '"' && c != '/' && c != ';' && !control) k |= kPlainOutside;
    if (plainInside) k |= kPlainInside;
    // An escaped quote mark switches the split's quoting but not the
    // cleaning's, so blanks and ";" inside quotes can still end a token.
    if (plainInside && c != ' ' && c != ';') k |= kPlainInsideUnquoted;
    if (c == ' ' || control) k |= kBlankOutside;
    classes[static_cast<size_t>(i)] = k;
  }
  return classes;
}
constexpr std::array<uint8_t, 256> kClasses = MakeClasses();

inline bool Is(char c, uint8_t what) { return (kClasses[static_cast<unsigned char>(c)] & what) != 0; }
inline bool IsControlSpace(char c) { return Is(c, kControlSpace); }

// The first position from `i` whose byte has class `what` clear, or `n`.
inline size_t SkipWhile(std::string_view raw, size_t i, uint8_t what) {
  const size_t n = raw.size();
  while (i < n && Is(raw[i], what)) ++i;
  return i;
}

// Eight bytes at a time: the high bit of each byte of the answer is set
// exactly where `w` holds `c`.
constexpr uint64_t kOnes = 0x0101010101010101ull;
constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
inline uint64_t BytesEqual(uint64_t w, char c) {
  const uint64_t x = w ^ (kOnes * static_cast<unsigned char>(c));
  return ~(((x & kLow7) + kLow7) | x | kLow7);
}
inline uint64_t LoadWord(const char* p) {
  uint64_t w;
  std::memcpy(&w, p, sizeof w);
  return w;
}
constexpr bool kWordScan = std::endian::native == std::endian::little;
// How many bytes of a BytesEqual answer are marked.
inline size_t CountMarked(uint64_t marks) { return static_cast<size_t>(((marks >> 7) * kOnes) >> 56); }

// The first position from `i` holding `a` or `b`, or `n`; the ";" passed
// on the way are added to `semicolons` when it is given.
size_t FindEither(std::string_view raw, size_t i, char a, char b, size_t* semicolons) {
  const size_t n = raw.size();
  const char* p = raw.data();
  if constexpr (kWordScan) {
    for (; i + 8 <= n; i += 8) {
      const uint64_t w = LoadWord(p + i);
      const uint64_t stop = BytesEqual(w, a) | BytesEqual(w, b);
      const uint64_t semis = semicolons ? BytesEqual(w, ';') : 0;
      if (stop == 0) {
        if (semicolons) *semicolons += CountMarked(semis);
        continue;
      }
      const int at = std::countr_zero(stop) / 8;
      if (semicolons && at > 0) {
        const uint64_t before = ~uint64_t{0} >> (64 - 8 * at);
        *semicolons += CountMarked(semis & before);
      }
      return i + static_cast<size_t>(at);
    }
  }
  for (; i < n; ++i) {
    if (p[i] == a || p[i] == b) return i;
    if (semicolons && p[i] == ';') ++*semicolons;
  }
  return n;
}

}  // namespace

ScriptTokenizer::Outline ScriptTokenizer::Check(std::string_view raw) {
  enum class State { Normal, Quotes };
  State state = State::Normal;
  Outline outline;
  bool quotes = false;
  const size_t n = raw.size();
  size_t i = 0;
  while (i < n) {
    const char c = raw[i];
    if (state == State::Quotes) {
      // Only quote marks and escapes matter inside quotes.
      if (c != '"' && c != '\\') {
        i = FindEither(raw, i + 1, '"', '\\', nullptr);
        continue;
      }
      if (c == '\\' && i + 1 < n && str::EscapedChar(raw[i + 1]) != 0) {
        if (raw[i + 1] == '"') quotes = !quotes;
        i += 2;
        continue;
      }
      if (c == '"') {
        state = State::Normal;
        quotes = !quotes;
      }
      ++i;
      continue;
    }
    if (outline.hasTokens && c != '"' && c != '/') {
      // Once a token is known, only quote marks, comment starts and
      // statement ends matter.
      outline.statementEnds += c == ';';
      i = FindEither(raw, i + 1, '"', '/', &outline.statementEnds);
      continue;
    }
    if (c == '/' && i + 1 < n && (raw[i + 1] == '/' || raw[i + 1] == '*')) {
      const size_t end = raw[i + 1] == '/' ? raw.find('\n', i + 2) : raw.find("*/", i + 2);
      if (end == std::string_view::npos) {
        outline.endsOpen = raw[i + 1] == '*';
        i = n;
        break;
      }
      i = end + (raw[i + 1] == '/' ? 1 : 2);
      continue;
    }
    if (c == '"') {
      state = State::Quotes;
      quotes = !quotes;
    }
    // Anything but white space outside comments makes a token: a quote mark
    // a quoted one, ";" its own, anything else part of one.
    if (c != ' ' && !IsControlSpace(c)) outline.hasTokens = true;
    outline.statementEnds += c == ';';
    ++i;
  }
  outline.endsOpen = outline.endsOpen || state == State::Quotes;
  outline.quotesOpen = quotes;
  return outline;
}

// The helpers run for every token and most characters: defined ahead of
// Scan so they are compiled into it.
// White space in the cleaned text is one blank, never first, never doubled.
[[gnu::always_inline]] inline void ScriptTokenizer::Blank(size_t rawPos) {
  if (hasOut_ && lastOut_ != ' ') Emit(' ', rawPos);
}

// One character of the cleaned text, to the token split. `rawPos` is where
// the character stands in the raw text, or kNoRaw when it stands for
// something else there (an escape, folded white space).
[[gnu::always_inline]] inline void ScriptTokenizer::Emit(char c, size_t rawPos) {
  hasOut_ = true;
  lastOut_ = c;
  if (c == '"') {
    // Quote marks switch quoting and are dropped; what they enclose is data.
    inQuotes_ = !inQuotes_;
    quoted_ = true;
    return;
  }
  if (inQuotes_) {
    Append(c, rawPos);
    return;
  }
  if (c == ' ' || c == ';') {
    // Quoted text is a token even when empty: "" is an empty value.
    if (current_.length > 0 || quoted_) FinishToken();
    if (c == ';') {
      Append(c, rawPos);
      FinishToken();
    }
    return;
  }
  Append(c, rawPos);
}

[[gnu::always_inline]] inline void ScriptTokenizer::Append(char c, size_t rawPos) {
  if (!current_.inBuffer && rawPos != kNoRaw) {
    if (current_.length == 0) current_.offset = rawPos;
    if (current_.offset + current_.length == rawPos) {
      ++current_.length;
      return;
    }
  }
  SpellOut();
  buffer_.push_back(c);
  ++current_.length;
}

// Appends raw[from, to), all of it token characters as written.
[[gnu::always_inline]] inline void ScriptTokenizer::AppendRun(size_t from, size_t to) {
  hasOut_ = true;
  lastOut_ = raw_[to - 1];
  if (!current_.inBuffer) {
    if (current_.length == 0) current_.offset = from;
    if (current_.offset + current_.length == from) {
      current_.length += to - from;
      return;
    }
  }
  SpellOut();
  buffer_.append(raw_.substr(from, to - from));
  current_.length += to - from;
}

// Moves the current token into the buffer so characters that do not follow
// it in the raw text can be added.
inline void ScriptTokenizer::SpellOut() {
  if (current_.inBuffer) return;
  const std::string_view sofar = raw_.substr(current_.offset, current_.length);
  current_.offset = buffer_.size();
  current_.inBuffer = true;
  buffer_.append(sofar);
}

int64_t ScriptTokenizer::Scan(std::string_view raw, size_t maxStatementTokens, const StatementFn& each) {
  raw_ = raw;
  maxTokens_ = maxStatementTokens;
  each_ = &each;
  buffer_.clear();
  tokens_.clear();
  tooLong_ = false;
  current_ = Span{};
  hasOut_ = false;
  lastOut_ = 0;
  inQuotes_ = false;
  quoted_ = false;
  tokenCount_ = 0;

  enum class State { Normal, Quotes, LineComment, BlockComment };
  State state = State::Normal;
  const size_t n = raw.size();
  size_t i = 0;
  while (i < n) {
    const char c = raw[i];
    switch (state) {
      case State::LineComment: {
        // The line end goes with the comment.
        const size_t end = raw.find('\n', i);
        if (end == std::string_view::npos) {
          i = n;
        } else {
          state = State::Normal;
          i = end + 1;
        }
        break;
      }
      case State::BlockComment: {
        const size_t end = raw.find("*/", i);
        if (end == std::string_view::npos) {
          i = n;
        } else {
          state = State::Normal;
          i = end + 2;
        }
        break;
      }
      case State::Quotes: {
        const uint8_t plain = inQuotes_ ? kPlainInside : kPlainInsideUnquoted;
        if (Is(c, plain)) {
          const size_t j = SkipWhile(raw, i + 1, plain);
          AppendRun(i, j);
          i = j;
          break;
        }
        if (IsControlSpace(c)) {
          Blank(kNoRaw);
          ++i;
        } else if (c == '\\' && i + 1 < n && str::EscapedChar(raw[i + 1]) != 0) {
          Emit(str::EscapedChar(raw[i + 1]), kNoRaw);
          i += 2;
        } else {
          if (c == '"') state = State::Normal;
          Emit(c, i);
          ++i;
        }
        break;
      }
      case State::Normal: {
        if (!inQuotes_ && Is(c, kPlainOutside)) {
          const size_t j = SkipWhile(raw, i + 1, kPlainOutside);
          AppendRun(i, j);
          i = j;
          break;
        }
        if (!inQuotes_ && Is(c, kBlankOutside)) {
          // A run of white space outside quotes: one blank, which ends the
          // token being read.
          const size_t j = SkipWhile(raw, i + 1, kBlankOutside);
          Blank(kNoRaw);
          i = j;
          break;
        }
        const char next = i + 1 < n ? raw[i + 1] : '\0';
        if (c == ' ') {
          Blank(i);
          ++i;
        } else if (IsControlSpace(c)) {
          Blank(kNoRaw);
          ++i;
        } else if (c == '"') {
          state = State::Quotes;
          Emit(c, i);
          ++i;
        } else if (c == '/' && next == '/') {
          state = State::LineComment;
          i += 2;
        } else if (c == '/' && next == '*') {
          state = State::BlockComment;
          i += 2;
        } else {
          Emit(c, i);
          ++i;
        }
        break;
      }
    }
  }
  if (current_.length > 0 || quoted_) FinishToken();
  FinishStatement();
  each_ = nullptr;
  return tokenCount_;
}

void ScriptTokenizer::FinishToken() {
  ++tokenCount_;
  const std::string_view token = View(current_);
  const bool end = !quoted_ && (token == ";" || token == "{" || token == "}");
  if (!end) {
    if (tokens_.size() < maxTokens_) {
      tokens_.push_back(current_);
    } else {
      tooLong_ = true;
    }
  } else {
    // A "}" belongs to the statement it ends; ";" and "{" do not.
    if (token == "}") tokens_.push_back(current_);
    FinishStatement();
  }
  current_ = Span{};
  quoted_ = false;
}

void ScriptTokenizer::FinishStatement() {
  if (!tokens_.empty() || tooLong_) {
    views_.clear();
    for (const Span& s : tokens_) views_.push_back(View(s));
    (*each_)(views_, tooLong_);
  }
  tokens_.clear();
  tooLong_ = false;
  // The buffer serves one statement; the token being read (a separator)
  // is done with too.
  buffer_.clear();
}
