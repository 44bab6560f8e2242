#include "engine/files/TokenReader.h"

#include "base/StringUtil.h"
#include "platform/DebugOutput.h"
#include "platform/FileRead.h"

namespace {

// The blank characters of the cleaning step: space, tab, line feed, carriage
// return, vertical tab, form feed, bell, backspace and NUL.
bool IsTokenBlank(char c) {
  switch (c) {
    case ' ': case '\t': case '\n': case '\r': case '\v': case '\f': case '\a': case '\b': case '\0':
      return true;
    default:
      return false;
  }
}

// Joins the file's lines with "\n" after each, reading CR LF as one line end
// (the file is read as text).
std::string JoinLines(std::string_view raw) {
  std::string text;
  text.reserve(raw.size() + 1);
  for (size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    if (c == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    text += c;
  }
  if (!text.empty() && text.back() != '\n') text += '\n';
  return text;
}

}  // namespace

std::string CleanTokenText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool quoted = false;
  bool lastWasRunBlank = false;  // the last character written stands for a blank run
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const char c = text[i];
    if (!quoted && c == '/' && i + 1 < n && text[i + 1] == '/') {
      // Line comment: up to (not including) the line end, which stays a blank.
      while (i + 1 < n && text[i + 1] != '\n') ++i;
      continue;
    }
    if (!quoted && c == '/' && i + 1 < n && text[i + 1] == '*') {
      const size_t end = text.find("*/", i + 2);
      if (end == std::string_view::npos) break;  // unterminated: the rest is comment
      i = end + 1;
      continue;
    }
    if (IsTokenBlank(c)) {
      if (!lastWasRunBlank) out += ' ';
      lastWasRunBlank = true;
      continue;
    }
    lastWasRunBlank = false;
    if (c == '"') {
      quoted = !quoted;
      out += c;
      continue;
    }
    if (quoted && c == '\\' && i + 1 < n) {
      // An unknown escape keeps its backslash and the character after it.
      const char next = text[i + 1];
      const char e = str::EscapedChar(next);
      if (e != 0) {
        out += e;
      } else {
        out += '\\';
        out += next;
      }
      ++i;
      continue;
    }
    out += c;
  }
  if (!out.empty() && out.front() == ' ') out.erase(0, 1);
  if (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::vector<std::string> SplitCleanTokens(std::string_view cleaned) {
  std::vector<std::string> tokens;
  std::string current;
  bool quoted = false;
  for (const char c : cleaned) {
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && c == ' ') {
      if (!current.empty()) tokens.push_back(std::move(current));
      current.clear();
    } else if (!quoted && c == ';') {
      if (!current.empty()) tokens.push_back(std::move(current));
      current.clear();
      tokens.emplace_back(";");
    } else {
      current += c;
    }
  }
  if (!current.empty()) tokens.push_back(std::move(current));
  // Readers of ";"-ended lists rely on a final empty token after a closing ";".
  if (cleaned.empty() || (!tokens.empty() && tokens.back() == ";")) tokens.emplace_back();
  return tokens;
}

void ReadTextTokens(std::string_view text, std::vector<std::string>* tokens) {
  if (!tokens) return;
  *tokens = SplitCleanTokens(CleanTokenText(JoinLines(text)));
}

bool ReadFileLines(FILE* file, std::vector<std::string>* tokens) {
  if (!tokens) return false;
  tokens->clear();
  if (!file) return false;
  std::vector<uint8_t> raw;
  platform::FileReadError why;
  if (!platform::ReadOpenFile(file, kMaxTokenFileBytes, &raw, &why)) {
    platform::DebugPrintf("[ReadFileLines] the open file %s\n", why.text.c_str());
    return false;
  }
  ReadTextTokens(std::string_view(reinterpret_cast<const char*>(raw.data()), raw.size()), tokens);
  return true;
}

bool ReadFileTokens(const std::string& name, std::vector<std::string>* tokens, const std::string& base) {
  if (!tokens) return false;
  tokens->clear();
  std::string raw;
  platform::FileReadError why;
  if (!platform::ReadFileText(name, kMaxTokenFileBytes, &raw, &why, base)) {
    platform::DebugPrintf("[ReadFileTokens] \"%s\" %s\n", name.c_str(), why.text.c_str());
    return false;
  }
  ReadTextTokens(raw, tokens);
  return true;
}
