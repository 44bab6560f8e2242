#include "engine/config/ScriptTokenizer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)
// Of 16 bytes, a bit for each that is not of class `kWhat` (the same
// classes as the table, worked out on the whole vector at once).
template <uint8_t kWhat>
inline uint32_t NotOfClass16(const char* p) {
  const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const auto eq = [&x](char c) { return _mm_cmpeq_epi8(x, _mm_set1_epi8(c)); };
  const __m128i upTo13 = _mm_cmpeq_epi8(_mm_min_epu8(x, _mm_set1_epi8(13)), x);
  const __m128i upTo6 = _mm_cmpeq_epi8(_mm_min_epu8(x, _mm_set1_epi8(6)), x);
  // NUL, and 7 (bell) to 13 (carriage return).
  const __m128i control = _mm_or_si128(eq('\0'), _mm_andnot_si128(upTo6, upTo13));
  __m128i stop;
  if constexpr (kWhat == kPlainOutside) {
    stop = _mm_or_si128(_mm_or_si128(control, eq(' ')), _mm_or_si128(_mm_or_si128(eq('"'), eq('/')), eq(';')));
  } else if constexpr (kWhat == kPlainInside) {
    stop = _mm_or_si128(control, _mm_or_si128(eq('"'), eq('\\')));
  } else if constexpr (kWhat == kPlainInsideUnquoted) {
    stop = _mm_or_si128(_mm_or_si128(control, _mm_or_si128(eq('"'), eq('\\'))), _mm_or_si128(eq(' '), eq(';')));
  } else {
    static_assert(kWhat == kBlankOutside);
    stop = _mm_xor_si128(_mm_or_si128(control, eq(' ')), _mm_set1_epi8(-1));
  }
  return static_cast<uint32_t>(_mm_movemask_epi8(stop));
}
#endif

// The first position from `i` whose byte is not of class `kWhat`, or `n`.
// Runs end at unforeseeable places: found sixteen bytes at a time, a run
// costs no mispredicted loop exit.
template <uint8_t kWhat>
inline size_t SkipWhile(std::string_view raw, size_t i) {
  const size_t n = raw.size();
#if defined(__SSE2__)
  for (; i + 16 <= n; i += 16) {
    const uint32_t stop = NotOfClass16<kWhat>(raw.data() + i);
    if (stop != 0) return i + static_cast<size_t>(std::countr_zero(stop));
  }
#endif
  while (i < n && Is(raw[i], kWhat)) ++i;
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
// ReadBatch so they are compiled into it.
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
  *BufferRoom(1) = c;
  ++bufferUsed_;
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
  CopyFromRaw(from, to - from);
  current_.length += to - from;
}

// Moves the current token into the buffer so characters that do not follow
// it in the raw text can be added.
inline void ScriptTokenizer::SpellOut() {
  if (current_.inBuffer) return;
  const size_t from = current_.offset;
  current_.offset = bufferUsed_;
  current_.inBuffer = true;
  CopyFromRaw(from, current_.length);
}

// Room for `count` more bytes at the end of the buffer, with kSpare to spare.
inline char* ScriptTokenizer::BufferRoom(size_t count) {
  if (bufferUsed_ + count + kSpare > buffer_.size()) {
    buffer_.resize(std::max({buffer_.size() * 2, bufferUsed_ + count + kSpare, size_t{256}}));
  }
  return buffer_.data() + bufferUsed_;
}

// Adds raw[from, from + count) to the buffer. Pieces are short: one copy of
// a fixed kSpare bytes, where the text and the buffer have them, is cheaper
// than a copy of just the piece's length.
inline void ScriptTokenizer::CopyFromRaw(size_t from, size_t count) {
  char* to = BufferRoom(count);
  if (count <= kSpare && from + kSpare <= raw_.size()) {
    std::memcpy(to, raw_.data() + from, kSpare);
  } else {
    std::memcpy(to, raw_.data() + from, count);
  }
  bufferUsed_ += count;
}

[[gnu::always_inline]] inline void ScriptTokenizer::FinishToken() {
  ++tokenCount_;
  // Only a bare ";", "{" or "}" ends a statement.
  char end = 0;
  if (!quoted_ && current_.length == 1) {
    const char c = current_.inBuffer ? buffer_[current_.offset] : raw_[current_.offset];
    if (c == ';' || c == '{' || c == '}') end = c;
  }
  // A "}" belongs to the statement it ends (even past the limit); ";" and
  // "{" do not.
  if (end == '}' || (end == 0 && tokens_.size() - statementFirst_ < maxTokens_)) {
    tokens_.push_back(Span{static_cast<uint32_t>(current_.offset),
                           static_cast<uint32_t>(current_.length) | (current_.inBuffer ? kInBuffer : 0)});
  } else if (end == 0) {
    tooLong_ = true;
  }
  if (end != 0) FinishStatement();
  current_ = Current{};
  quoted_ = false;
}

void ScriptTokenizer::FinishStatement() {
  if (tokens_.size() > statementFirst_ || tooLong_) {
    statements_.push_back(Mark{static_cast<uint32_t>(statementFirst_), static_cast<uint32_t>(tokens_.size()), tooLong_});
    statementFirst_ = tokens_.size();
    if (tokens_.size() >= batchTokens_) batchFull_ = true;
  }
  tooLong_ = false;
}

void ScriptTokenizer::Start(std::string_view raw, size_t maxStatementTokens, size_t batchTokens) {
  raw_ = raw;
  maxTokens_ = maxStatementTokens;
  batchTokens_ = batchTokens;
  pos_ = 0;
  state_ = State::Normal;
  atEnd_ = false;
  batchFull_ = false;
  bufferUsed_ = 0;
  tokens_.clear();
  statements_.clear();
  statementFirst_ = 0;
  tooLong_ = false;
  current_ = Current{};
  hasOut_ = false;
  lastOut_ = 0;
  inQuotes_ = false;
  quoted_ = false;
  tokenCount_ = 0;
  statementsRead_ = 0;
  if (raw.size() >= kInBuffer) {
    // Token offsets and lengths are kept in 31 bits.
    state_ = State::BlockComment;
    pos_ = raw.size();
    atEnd_ = true;
  }
}

ScriptTokenizer::Outline ScriptTokenizer::GetOutline() const {
  Outline outline;
  outline.endsOpen = state_ == State::Quotes || state_ == State::BlockComment;
  outline.quotesOpen = inQuotes_;
  outline.hasTokens = tokenCount_ > 0;
  outline.statementEnds = statementsRead_;
  return outline;
}

std::span<const std::string_view> ScriptTokenizer::Statement(size_t index, bool* tooLong) {
  const Mark& m = statements_[index];
  *tooLong = m.tooLong;
  views_.clear();
  for (size_t t = m.first; t < m.end; ++t) {
    const Span s = tokens_[t];
    const size_t length = s.length & ~kInBuffer;
    views_.push_back(std::string_view(((s.length & kInBuffer) != 0 ? buffer_.data() : raw_.data()) + s.offset, length));
  }
  return views_;
}

bool ScriptTokenizer::ReadBatch() {
  bufferUsed_ = 0;
  tokens_.clear();
  statements_.clear();
  statementFirst_ = 0;
  batchFull_ = false;
  if (atEnd_) return false;

  const std::string_view raw = raw_;
  State state = state_;
  const size_t n = raw.size();
  size_t i = pos_;
  while (i < n && !batchFull_) {
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
        if (Is(c, inQuotes_ ? kPlainInside : kPlainInsideUnquoted)) {
          const size_t j = inQuotes_ ? SkipWhile<kPlainInside>(raw, i + 1) : SkipWhile<kPlainInsideUnquoted>(raw, i + 1);
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
          const size_t j = SkipWhile<kPlainOutside>(raw, i + 1);
          AppendRun(i, j);
          i = j;
          break;
        }
        if (!inQuotes_ && Is(c, kBlankOutside)) {
          // A run of white space outside quotes: one blank, which ends the
          // token being read.
          const size_t j = SkipWhile<kBlankOutside>(raw, i + 1);
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
  pos_ = i;
  state_ = state;
  if (i >= n && !batchFull_) {
    if (current_.length > 0 || quoted_) FinishToken();
    FinishStatement();
    atEnd_ = true;
  }
  statementsRead_ += statements_.size();
  return true;
}

int64_t ScriptTokenizer::Scan(std::string_view raw, size_t maxStatementTokens, const StatementFn& each) {
  Start(raw, maxStatementTokens);
  while (ReadBatch()) {
    for (size_t s = 0; s < StatementCount(); ++s) {
      bool tooLong = false;
      const std::span<const std::string_view> tokens = Statement(s, &tooLong);
      each(tokens, tooLong);
    }
  }
  return tokenCount_;
}
