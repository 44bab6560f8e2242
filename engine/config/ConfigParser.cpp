#include "engine/config/ConfigParser.h"

#include <algorithm>
#include <cstdio>

#include "engine/config/ConfigManager.h"
#include "engine/config/LanguageManager.h"
#include "engine/config/ScriptTokenizer.h"
#include "base/StringUtil.h"
#include "platform/DebugOutput.h"
#include "platform/FileRead.h"

namespace {

// Refused statements are reported, but a junk file must not flood the channel.
constexpr int kMaxReportedStatements = 8;

// White space in every state but the comments, quotes included.
bool IsControlSpace(char c) {
  switch (c) {
    case '\0': case '\n': case '\t': case '\a': case '\b': case '\f': case '\r': case '\v':
      return true;
    default:
      return false;
  }
}

// Walks cleaned text token by token. Quote marks switch quoting and are
// dropped; outside quotes a blank ends a token and ";" is a token of its own.
// A token with a quoted part is data: it may be empty, and a quoted ";", "{"
// or "}" never ends a statement.
class TokenCursor {
 public:
  explicit TokenCursor(std::string_view text) : text_(text) {}

  // Next non-empty token; `quoted` tells whether any of it came from quotes
  // (quoted text is data, never a statement end).
  bool Next(std::string* token, bool* quoted) {
    token->clear();
    *quoted = false;
    const size_t n = text_.size();
    while (pos_ < n) {
      const char c = text_[pos_];
      if (c == '"') {
        inQuotes_ = !inQuotes_;
        *quoted = true;
        ++pos_;
        continue;
      }
      if (inQuotes_) {
        // Copy the run up to the next quote mark in one go.
        size_t end = text_.find('"', pos_);
        if (end == std::string_view::npos) end = n;
        token->append(text_.substr(pos_, end - pos_));
        pos_ = end;
        continue;
      }
      if (c == ' ' || c == ';') {
        // Quoted text is a token even when empty: "" is an empty value.
        if (!token->empty() || *quoted) return true;
        ++pos_;
        if (c == ';') {
          token->assign(1, ';');
          return true;
        }
        continue;
      }
      token->push_back(c);
      ++pos_;
    }
    return !token->empty() || *quoted;
  }

  bool EndedInQuotes() const { return inQuotes_; }

 private:
  std::string_view text_;
  size_t pos_ = 0;
  bool inQuotes_ = false;
};

}  // namespace

bool ConfigParser::CleanScript(std::string_view raw, std::string* cleaned) {
  enum class State { Normal, Quotes, LineComment, BlockComment };
  State state = State::Normal;
  std::string& out = *cleaned;
  out.clear();
  out.reserve(raw.size());
  const size_t n = raw.size();

  // White space becomes one blank, never at the start and never doubled.
  auto blank = [&out]() {
    if (!out.empty() && out.back() != ' ') out.push_back(' ');
  };

  for (size_t i = 0; i < n; ++i) {
    const char c = raw[i];
    const char next = i + 1 < n ? raw[i + 1] : '\0';
    switch (state) {
      case State::LineComment:
        if (c == '\n') state = State::Normal;
        break;
      case State::BlockComment:
        if (c == '*' && next == '/') {
          state = State::Normal;
          ++i;
        }
        break;
      case State::Quotes:
        if (IsControlSpace(c)) {
          blank();
        } else if (c == '\\' && i + 1 < n && str::EscapedChar(next) != 0) {
          out.push_back(str::EscapedChar(next));
          ++i;
        } else {
          if (c == '"') state = State::Normal;
          out.push_back(c);
        }
        break;
      case State::Normal:
        if (IsControlSpace(c) || c == ' ') {
          blank();
        } else if (c == '"') {
          state = State::Quotes;
          out.push_back(c);
        } else if (c == '/' && next == '/') {
          state = State::LineComment;
          ++i;
        } else if (c == '/' && next == '*') {
          state = State::BlockComment;
          ++i;
        } else {
          out.push_back(c);
        }
        break;
    }
  }
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return state != State::Quotes && state != State::BlockComment;
}

int64_t ConfigParser::SplitStatements(std::string_view cleaned,
                                      const std::function<void(CStringArray&, bool tooLong)>& each) {
  TokenCursor cursor(cleaned);
  std::string token;
  bool quoted = false;
  int64_t count = 0;
  CStringArray statement;
  bool tooLong = false;

  auto finish = [&]() {
    if (!statement.empty() || tooLong) each(statement, tooLong);
    statement.clear();
    tooLong = false;
  };

  while (cursor.Next(&token, &quoted)) {
    ++count;
    if (!each) continue;
    const bool end = !quoted && (token == ";" || token == "{" || token == "}");
    if (!end) {
      if (statement.size() < kMaxStatementTokens) {
        statement.push_back(token);
      } else {
        tooLong = true;
      }
      continue;
    }
    // A "}" belongs to the statement it ends; ";" and "{" do not.
    if (token == "}") statement.push_back(token);
    finish();
  }
  if (cursor.EndedInQuotes()) return -1;
  if (each) finish();
  return count;
}

CoreStatus ConfigParser::ReadFile(const std::string& fileName, StatementHandler handler) {
  std::string text;
  platform::FileReadError why;
  if (!platform::ReadFileText(fileName, kMaxScriptBytes, &text, &why)) {
    platform::DebugPrintf("[ConfigParser::ReadFile] \"%s\" %s\n", fileName.c_str(), why.text.c_str());
    return status::Fail;
  }
  return ReadText(text, handler, fileName);
}

CoreStatus ConfigParser::ReadText(std::string_view text, StatementHandler handler, std::string_view sourceName) {
  const std::string name(sourceName);
  if (text.size() > kMaxScriptBytes) {
    platform::DebugPrintf("[ConfigParser::ReadText] %s: too large for a script; not read\n", name.c_str());
    return status::Fail;
  }
  // Text never holds a NUL byte; a file that does is binary, not a script.
  if (text.find('\0') != std::string_view::npos) {
    platform::DebugPrintf("[ConfigParser::ReadText] %s: binary data, not a script; not read\n", name.c_str());
    return status::Fail;
  }
  if (nesting_ >= kMaxNesting) {
    platform::DebugPrintf("[ConfigParser::ReadText] %s: scripts nested too deeply; not read\n", name.c_str());
    return status::Fail;
  }

  // The whole text is checked before any statement runs: a refused file
  // changes nothing. A script that fits in one batch gives its verdict with
  // its statements; a longer one is checked on its own first.
  ScriptTokenizer tokenizer;
  tokenizer.Start(text, kMaxStatementTokens);
  tokenizer.ReadBatch();
  const ScriptTokenizer::Outline outline =
      tokenizer.AtEnd() ? tokenizer.GetOutline() : ScriptTokenizer::Check(text);
  if (outline.endsOpen) {
    platform::DebugPrintf("[ConfigParser::ReadText] %s: ends inside quotes or a comment (truncated?); not read\n",
                          name.c_str());
    return status::Fail;
  }
  if (outline.quotesOpen) {
    platform::DebugPrintf("[ConfigParser::ReadText] %s: quotes never close; not read\n", name.c_str());
    return status::Fail;
  }
  if (!outline.hasTokens) {
    platform::DebugPrintf("[ConfigParser::ReadText] %s: holds no statement\n", name.c_str());
    return status::Fail;
  }

  if (handler == StatementHandler::Settings && configManager_) {
    // Every statement may be a setting, and the shortest takes 12 bytes
    // ("setting a b;"); the cap keeps a junk file from reserving much.
    constexpr size_t kShortestSetting = 12;
    constexpr size_t kMaxReserved = size_t{1} << 17;
    configManager_->ReserveSettings(
        std::min({outline.statementEnds, text.size() / kShortestSetting, kMaxReserved}));
  }

  // A command may run another script; each read keeps its own handler.
  const StatementHandler outer = handler_;
  handler_ = handler;
  ++nesting_;
  int refused = 0;
  do {
    for (size_t s = 0; s < tokenizer.StatementCount(); ++s) {
      bool tooLong = false;
      const std::span<const std::string_view> statement = tokenizer.Statement(s, &tooLong);
      CoreStatus result = status::Fail;
      if (!tooLong) result = RunStatement(statement);
      if (status::Succeeded(result)) continue;
      // A configuration file is read twice: once for its settings and once,
      // after the languages exist, for its keyword blocks. Each pass answers
      // for its own statements only, so a block is not reported by the first.
      if (!tooLong && handler_ == StatementHandler::Settings && !IsSettingsKeyword(statement[0])) continue;
      if (++refused <= kMaxReportedStatements) {
        const std::string keyword(statement.empty() ? std::string_view() : statement[0]);
        platform::DebugPrintf("[ConfigParser::ReadText] %s: statement \"%s\"%s refused\n", name.c_str(),
                              keyword.c_str(), tooLong ? " (too many tokens)" : "");
      }
    }
  } while (tokenizer.ReadBatch());
  if (refused > kMaxReportedStatements) {
    platform::DebugPrintf("[ConfigParser::ReadText] %s: %d statements refused in all\n", name.c_str(), refused);
  }
  --nesting_;
  handler_ = outer;
  return status::Ok;
}

CoreStatus ConfigParser::RunStatement(std::span<const std::string_view> tokens) {
  if (handler_ == StatementHandler::Settings) return SettingsStatement(tokens);
  // Command handlers take their tokens as strings.
  CStringArray strings(tokens.begin(), tokens.end());
  return CommandStatement(strings);
}

bool ConfigParser::IsSettingsKeyword(std::string_view keyword) {
  return str::EqualsNoCase(keyword, "settings") || str::EqualsNoCase(keyword, "setting") ||
         str::EqualsNoCase(keyword, "bind") || keyword == "}";
}

CoreStatus ConfigParser::SettingsStatement(std::span<const std::string_view> tokens) {
  const std::string_view keyword = tokens[0];
  // "setting" first: nearly every statement of a configuration file is one.
  if (str::EqualsNoCase(keyword, "setting") && tokens.size() >= 3) {
    if (!configManager_) return status::Fail;
    configManager_->SetValue(section_, tokens[1], tokens[2]);
    return status::Ok;
  }
  if (str::EqualsNoCase(keyword, "settings") && tokens.size() >= 2) {
    section_.assign(tokens[1]);
    return status::Ok;
  }
  if (keyword == "}") {
    section_.clear();
    return status::Ok;
  }
  if (str::EqualsNoCase(keyword, "bind") && tokens.size() >= 3) {
    if (!configManager_) return status::Fail;
    return configManager_->Bind(std::string(tokens[1]), std::string(tokens[2])) ? status::Ok : status::Fail;
  }
  return status::Fail;
}

CoreStatus ConfigParser::CommandStatement(CStringArray& tokens) {
  const std::string& keyword = tokens[0];
  // Configuration statements belong to configuration files; a command script
  // passes over them.
  if (str::EqualsNoCase(keyword, "settings") || str::EqualsNoCase(keyword, "setting") ||
      str::EqualsNoCase(keyword, "bind")) {
    return status::Ok;
  }
  if (!languages_) return status::Fail;
  const CommandHandler handler = languages_->LookupKeyword(keyword);
  if (!handler) return status::Fail;
  return handler(tokens, this);
}
