#include "engine/config/ScriptTokenizer.h"

#include "base/StringUtil.h"

namespace {

// White space in every state but the comments, quotes included.
bool IsControlSpace(char c) {
  switch (c) {
    case '\0': case '\n': case '\t': case '\a': case '\b': case '\f': case '\r': case '\v':
      return true;
    default:
      return false;
  }
}

// Characters that need a decision outside quotes: everything else is part
// of the token being read.
bool IsPlainOutside(char c) { return c != ' ' && c != '"' && c != '/' && c != ';' && !IsControlSpace(c); }
// The same inside quotes, for the token split inside quotes and outside
// (an escaped quote mark switches the split's quoting but not the cleaning's).
bool IsPlainInside(char c) { return c != '"' && c != '\\' && !IsControlSpace(c); }
bool IsPlainInsideUnquoted(char c) { return IsPlainInside(c) && c != ' ' && c != ';'; }

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
        ++i;
        while (i < n && raw[i] != '"' && raw[i] != '\\') ++i;
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
      ++i;
      while (i < n && raw[i] != '"' && raw[i] != '/' && raw[i] != ';') ++i;
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
        if (inQuotes_ ? IsPlainInside(c) : IsPlainInsideUnquoted(c)) {
          size_t j = i + 1;
          if (inQuotes_) {
            while (j < n && IsPlainInside(raw[j])) ++j;
          } else {
            while (j < n && IsPlainInsideUnquoted(raw[j])) ++j;
          }
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
        if (!inQuotes_ && IsPlainOutside(c)) {
          size_t j = i + 1;
          while (j < n && IsPlainOutside(raw[j])) ++j;
          AppendRun(i, j);
          i = j;
          break;
        }
        if (!inQuotes_ && (c == ' ' || IsControlSpace(c))) {
          // A run of white space outside quotes: one blank, which ends the
          // token being read.
          size_t j = i + 1;
          while (j < n && (raw[j] == ' ' || IsControlSpace(raw[j]))) ++j;
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

// White space in the cleaned text is one blank, never first, never doubled.
void ScriptTokenizer::Blank(size_t rawPos) {
  if (hasOut_ && lastOut_ != ' ') Emit(' ', rawPos);
}

// One character of the cleaned text, to the token split. `rawPos` is where
// the character stands in the raw text, or kNoRaw when it stands for
// something else there (an escape, folded white space).
void ScriptTokenizer::Emit(char c, size_t rawPos) {
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

void ScriptTokenizer::Append(char c, size_t rawPos) {
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
void ScriptTokenizer::AppendRun(size_t from, size_t to) {
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
void ScriptTokenizer::SpellOut() {
  if (current_.inBuffer) return;
  const std::string_view sofar = raw_.substr(current_.offset, current_.length);
  current_.offset = buffer_.size();
  current_.inBuffer = true;
  buffer_.append(sofar);
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
