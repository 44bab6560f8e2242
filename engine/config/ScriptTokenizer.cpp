#include "engine/config/ScriptTokenizer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include "base/StringUtil.h"
#include "engine/config/ScriptBlockStops.h"

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
    const bool control = script_blocks::IsControl(static_cast<unsigned char>(c));
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

// What a backslash and the byte after it stand for inside quotes (0: the
// backslash is kept as written), looked up rather than switched on.
const std::array<char, 256> kEscapes = [] {
  std::array<char, 256> escapes{};
  for (int i = 0; i < 256; ++i) escapes[static_cast<size_t>(i)] = str::EscapedChar(static_cast<char>(i));
  return escapes;
}();

inline bool Is(char c, uint8_t what) { return (kClasses[static_cast<unsigned char>(c)] & what) != 0; }
inline bool IsControlSpace(char c) { return Is(c, kControlSpace); }

// The run ends of the 64-byte block of the text that starts at `base`.
struct RunEnds {
  size_t base = 0;
  script_blocks::Stops stop = {};
};

template <uint8_t kWhat>
constexpr int RunIndex() {
  if constexpr (kWhat == kPlainOutside) return script_blocks::kOutside;
  if constexpr (kWhat == kPlainInside) return script_blocks::kInside;
  if constexpr (kWhat == kPlainInsideUnquoted) return script_blocks::kInsideUnquoted;
  static_assert(kWhat == kPlainOutside || kWhat == kPlainInside || kWhat == kPlainInsideUnquoted ||
                kWhat == kBlankOutside);
  return script_blocks::kNotBlank;
}

// The last, short block: padded with quote marks, which end a run of every
// class, so the text's end is found as a run end too.
[[gnu::noinline]] void LoadLastBlock(std::string_view raw, size_t base, RunEnds* ends) {
  char padded[64];
  std::memset(padded, '"', sizeof padded);
  std::memcpy(padded, raw.data() + base, raw.size() - base);
  script_blocks::Classify(padded, ends->stop);
}

// Makes `ends` describe the block holding position `i` (< raw.size()).
inline void LoadBlock(std::string_view raw, size_t i, RunEnds* ends) {
  const size_t base = i & ~size_t{63};
  ends->base = base;
  if (base + 64 <= raw.size()) {
    script_blocks::Classify(raw.data() + base, ends->stop);
  } else {
    LoadLastBlock(raw, base, ends);
  }
}

// The first position from `i` whose byte is not of class `kWhat`, or `n`.
template <uint8_t kWhat>
[[gnu::always_inline]] inline size_t SkipWhile(std::string_view raw, size_t i, RunEnds* ends) {
  for (;;) {
    if (i - ends->base >= 64) {
      if (i >= raw.size()) return raw.size();
      LoadBlock(raw, i, ends);
    }
    // The last block's padding ends a run of every class, so no run goes
    // past the text.
    const uint64_t stop = ends->stop[RunIndex<kWhat>()] >> (i - ends->base);
    if (stop != 0) return i + static_cast<size_t>(std::countr_zero(stop));
    i = ends->base + 64;
  }
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

ScriptTokenizer::~ScriptTokenizer() {
  if (tokens_) std::allocator<std::string_view>().deallocate(tokens_, tokenRoom_);
}

void ScriptTokenizer::GrowTokens(size_t room) {
  std::allocator<std::string_view> allocator;
  std::string_view* more = allocator.allocate(room);
  if (tokens_) {
    std::uninitialized_copy_n(tokens_, tokenEnd_, more);
    allocator.deallocate(tokens_, tokenRoom_);
  }
  tokens_ = more;
  tokenRoom_ = room;
}

void ScriptTokenizer::Start(std::string_view raw, size_t maxStatementTokens, size_t batchTokens) {
  raw_ = raw;
  maxTokens_ = maxStatementTokens;
  batchTokens_ = batchTokens;
  pos_ = 0;
  state_ = State::Normal;
  atEnd_ = false;
  tokenEnd_ = 0;
  statements_.clear();
  tooLong_ = false;
  current_ = Current{};
  canBlank_ = false;
  inQuotes_ = false;
  quoted_ = false;
  tokenCount_ = 0;
  statementsRead_ = 0;
  if (raw.size() >= kMaxText) {
    state_ = State::BlockComment;
    pos_ = raw.size();
    atEnd_ = true;
    return;
  }
  // A batch's spelled-out tokens never take more bytes than the text they
  // come from, so the buffer never moves and tokens in it are plain views.
  buffer_.reset(new char[raw.size() + kSpare]);
  // About one token in 16 bytes of a settings file; a batch never holds more
  // than one statement past its limit.
  const size_t likely = std::min(raw.size() / 16 + 64, batchTokens + maxStatementTokens + 1);
  if (likely > tokenRoom_) GrowTokens(likely);
  // And about one statement in 64 bytes.
  statements_.reserve(std::min(raw.size() / 64 + 16, batchTokens + 1));
}

ScriptTokenizer::Outline ScriptTokenizer::GetOutline() const {
  Outline outline;
  outline.endsOpen = state_ == State::Quotes || state_ == State::BlockComment;
  outline.quotesOpen = inQuotes_;
  outline.hasTokens = tokenCount_ > 0;
  outline.statementEnds = statementsRead_;
  return outline;
}

bool ScriptTokenizer::ReadBatch() {
  tokenEnd_ = 0;
  statements_.clear();
  if (atEnd_) return false;

  // The walk keeps its state in locals: the compiler holds them in
  // registers, where members would be reloaded after every byte stored.
  const char* const p = raw_.data();
  const size_t n = raw_.size();
  char* const buffer = buffer_.get();
  size_t used = 0;  // bytes of the buffer in use
  const size_t maxTokens = maxTokens_;
  const size_t batchTokens = batchTokens_;
  std::string_view* tokens = tokens_;
  size_t tokenEnd = 0, tokenRoom = tokenRoom_;
  size_t statementFirst = 0;  // the statement being read starts here in tokens
  bool tooLong = tooLong_, batchFull = false;
  Current current = current_;
  bool canBlank = canBlank_;  // a blank now would be kept: the cleaned text has begun and is not at a blank
  bool inQuotes = inQuotes_;  // the token split is inside quotes
  bool quoted = quoted_;      // the current token has a quoted part
  int64_t tokenCount = tokenCount_;

  // Copies raw[from, from + count) to the end of the buffer. Pieces are
  // short: a copy of a fixed kSpare bytes, where the text has them, is
  // cheaper than one of just the piece's length (the buffer has them).
  const auto copyFromRaw = [&](size_t from, size_t count) __attribute__((always_inline)) {
    if (count <= kSpare && from + kSpare <= n) {
      std::memcpy(buffer + used, p + from, kSpare);
    } else {
      std::memcpy(buffer + used, p + from, count);
    }
    used += count;
  };
  // Moves the current token into the buffer so characters that do not
  // follow it in the raw text can be added.
  const auto spellOut = [&]() __attribute__((always_inline)) {
    if (current.inBuffer) return;
    const size_t from = current.offset;
    current.offset = used;
    current.inBuffer = true;
    copyFromRaw(from, current.length);
  };
  // One character to the current token; `rawPos` is where it stands in
  // the raw text, or kNoRaw when it stands for something else there (an
  // escape, folded white space).
  const auto append = [&](char c, size_t rawPos) __attribute__((always_inline)) {
    if (!current.inBuffer && rawPos != kNoRaw) {
      if (current.length == 0) current.offset = rawPos;
      if (current.offset + current.length == rawPos) {
        ++current.length;
        return;
      }
    }
    spellOut();
    buffer[used++] = c;
    ++current.length;
  };
  // Appends raw[from, to), all of it token characters as written.
  const auto appendRun = [&](size_t from, size_t to) __attribute__((always_inline)) {
    if (!current.inBuffer) {
      if (current.length == 0) current.offset = from;
      if (current.offset + current.length == from) {
        current.length += to - from;
        return;
      }
    }
    spellOut();
    copyFromRaw(from, to - from);
    current.length += to - from;
  };
  const auto finishStatement = [&]() __attribute__((always_inline)) {
    if (tokenEnd > statementFirst || tooLong) {
      statements_.push_back(
          Mark{static_cast<uint32_t>(statementFirst), static_cast<uint32_t>(tokenEnd), tooLong});
      statementFirst = tokenEnd;
      if (tokenEnd >= batchTokens) batchFull = true;
    }
    tooLong = false;
  };
  // Adds a token to the batch's list.
  const auto keepToken = [&](const char* at, size_t length) __attribute__((always_inline)) {
    if (tokenEnd == tokenRoom) {
      tokenEnd_ = tokenEnd;
      GrowTokens(std::max<size_t>(tokenRoom * 2, 1024));
      tokens = tokens_;
      tokenRoom = tokenRoom_;
    }
    std::construct_at(tokens + tokenEnd++, at, length);
  };
  const auto finishToken = [&]() __attribute__((always_inline)) {
    ++tokenCount;
    const char* at = (current.inBuffer ? buffer : p) + current.offset;
    // Only a bare ";", "{" or "}" ends a statement.
    char end = 0;
    if (!quoted && current.length == 1 && (*at == ';' || *at == '{' || *at == '}')) end = *at;
    // A "}" belongs to the statement it ends (even past the limit); ";" and
    // "{" do not.
    if (end == '}' || (end == 0 && tokenEnd - statementFirst < maxTokens)) {
      keepToken(at, current.length);
    } else if (end == 0) {
      tooLong = true;
    }
    if (end != 0) finishStatement();
    current = Current{};
    quoted = false;
  };
  // One character of the cleaned text, to the token split.
  const auto emit = [&](char c, size_t rawPos) __attribute__((always_inline)) {
    canBlank = c != ' ';
    if (c == '"') {
      // Quote marks switch quoting and are dropped; what they enclose is data.
      inQuotes = !inQuotes;
      quoted = true;
      return;
    }
    if (inQuotes) {
      append(c, rawPos);
      return;
    }
    if (c == ' ' || c == ';') {
      // Quoted text is a token even when empty: "" is an empty value.
      if (current.length > 0 || quoted) finishToken();
      if (c == ';') {
        append(c, rawPos);
        finishToken();
      }
      return;
    }
    append(c, rawPos);
  };
  // White space in the cleaned text is one blank, never first, never doubled.
  const auto blank = [&](size_t rawPos) __attribute__((always_inline)) {
    if (canBlank) emit(' ', rawPos);
  };

  const std::string_view raw = raw_;
  State state = state_;
  size_t i = pos_;
  RunEnds ends;
  ends.base = n + 64;  // no block yet: every position is outside it
  // Each state of the cleaning has its own loop, so the branches of one are
  // predicted apart from the other's. Comments are passed over where they
  // start; only a text that ends inside one leaves its state set.
  if (state == State::Quotes) goto quotes;
  if (state != State::Normal) goto done;

normal:
  while (i < n && !batchFull) {
    if (!inQuotes && current.length == 0 && !quoted) {
      // Between tokens, outside quotes: up to the block's next quote mark,
      // ";" or "/", the text is words and white space only, so every word
      // there is a token. They are taken from the block's masks at once,
      // without walking from one to the next.
      if (i - ends.base >= 64) LoadBlock(raw, i, &ends);
      const size_t base = ends.base;
      const unsigned from = static_cast<unsigned>(i - base);
      const uint64_t stops = ends.stop[script_blocks::kOutside];
      const uint64_t special = (stops & ends.stop[script_blocks::kNotBlank]) >> from << from;
      const unsigned to = special != 0 ? static_cast<unsigned>(std::countr_zero(special)) : 64;
      if (to > from) {
        const uint64_t span = (to == 64 ? ~uint64_t{0} : (uint64_t{1} << to) - 1) >> from << from;
        const uint64_t words = ~stops & span;
        uint64_t firsts = words & ~(words << 1);
        uint64_t lasts = words & ~(words >> 1);
        bool open = false;
        while (firsts != 0 && !batchFull) {
          const unsigned first = static_cast<unsigned>(std::countr_zero(firsts));
          const unsigned end = static_cast<unsigned>(std::countr_zero(lasts)) + 1;
          firsts &= firsts - 1;
          lasts &= lasts - 1;
          if (end == to) {
            // The last word reaches the quote mark, ";", "/" or the block's
            // end: what follows may belong to it.
            current.offset = base + first;
            current.length = end - first;
            i = base + end;
            canBlank = true;
            open = true;
            break;
          }
          // A blank follows: the word is a token. Unquoted and never ";"
          // (which ends the span), it ends a statement only as a lone brace.
          const char* word = p + base + first;
          if (end - first == 1 && (*word == '{' || *word == '}')) {
            current.offset = base + first;
            current.length = 1;
            finishToken();
            if (batchFull) {
              i = base + end;
              canBlank = false;
              break;
            }
            continue;
          }
          ++tokenCount;
          if (tokenEnd - statementFirst < maxTokens) {
            keepToken(word, end - first);
          } else {
            tooLong = true;
          }
        }
        if (batchFull) break;
        if (!open) {
          // The span ends in white space, folded into the blank that ended
          // the last word (or dropped where no word came before it).
          i = base + to;
          canBlank = false;
        }
        continue;
      }
    }
    const char c = p[i];
    if (!inQuotes) {
      if (Is(c, kPlainOutside)) {
        const size_t j = SkipWhile<kPlainOutside>(raw, i + 1, &ends);
        appendRun(i, j);
        canBlank = true;
        i = j;
        continue;
      }
      if (Is(c, kBlankOutside)) {
        // A run of white space outside quotes: one blank, which ends the
        // token being read.
        const size_t j = SkipWhile<kBlankOutside>(raw, i + 1, &ends);
        blank(kNoRaw);
        i = j;
        continue;
      }
    }
    const char next = i + 1 < n ? p[i + 1] : '\0';
    if (c == ' ') {
      blank(i);
      ++i;
    } else if (IsControlSpace(c)) {
      blank(kNoRaw);
      ++i;
    } else if (c == '"') {
      emit(c, i);
      ++i;
      state = State::Quotes;
      goto quotes;
    } else if (c == '/' && next == '/') {
      // The line end goes with the comment.
      const size_t end = raw.find('\n', i + 2);
      if (end == std::string_view::npos) {
        state = State::LineComment;
        i = n;
      } else {
        i = end + 1;
      }
    } else if (c == '/' && next == '*') {
      const size_t end = raw.find("*/", i + 2);
      if (end == std::string_view::npos) {
        state = State::BlockComment;
        i = n;
      } else {
        i = end + 2;
      }
    } else {
      emit(c, i);
      ++i;
    }
  }
  goto done;

quotes:
  while (i < n && !batchFull) {
    // The run of token characters from here (often none), then the byte
    // that ends it, in one step: the masks tell where the run ends without
    // looking at the byte first.
    if (inQuotes) {
      const size_t j = SkipWhile<kPlainInside>(raw, i, &ends);
      if (j > i) {
        appendRun(i, j);
        canBlank = p[j - 1] != ' ';
        i = j;
      }
    } else {
      // Blanks are not part of this run, so it never ends in one.
      const size_t j = SkipWhile<kPlainInsideUnquoted>(raw, i, &ends);
      if (j > i) {
        appendRun(i, j);
        canBlank = true;
        i = j;
      }
    }
    if (i >= n) break;
    const char c = p[i];
    const char escaped = c == '\\' && i + 1 < n ? kEscapes[static_cast<unsigned char>(p[i + 1])] : '\0';
    if (escaped != 0) {
      // What emit does with it, knowing an escape is never a blank or ";".
      canBlank = true;
      if (escaped == '"') {
        inQuotes = !inQuotes;
        quoted = true;
      } else {
        spellOut();
        buffer[used++] = escaped;
        ++current.length;
      }
      i += 2;
    } else if (IsControlSpace(c)) {
      blank(kNoRaw);
      ++i;
    } else if (c == '"') {
      emit(c, i);
      ++i;
      state = State::Normal;
      goto normal;
    } else {
      emit(c, i);
      ++i;
    }
  }

done:
  if (i >= n && !batchFull) {
    if (current.length > 0 || quoted) finishToken();
    finishStatement();
    atEnd_ = true;
  }
  pos_ = i;
  state_ = state;
  tokenEnd_ = tokenEnd;
  tooLong_ = tooLong;
  current_ = current;
  canBlank_ = canBlank;
  inQuotes_ = inQuotes;
  quoted_ = quoted;
  tokenCount_ = tokenCount;
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
