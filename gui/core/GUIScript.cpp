#include "gui/core/GUIScript.h"

#include <cstdlib>

#include "base/StringUtil.h"
#include "gui/core/GUIStaticText.h"

namespace {

// Control characters that count as white space: NUL and 7 to 13.
bool IsControl(char c) { return c == '\0' || (c >= 7 && c <= 13); }

// One character of the cleaned text.
struct Cell {
  char c;
  bool quote;  // a quote mark that opens or closes a quoted text
  int32_t line;
};

}  // namespace

GUIScriptTokens TokeniseGUIText(std::string_view raw) {
  GUIScriptTokens result;
  std::string text(raw);
  if (text.empty() || text.back() != '\n') text += '\n';

  // Clean: comments out, white-space runs to one space, escapes resolved.
  std::vector<Cell> cells;
  cells.reserve(text.size());
  bool quoted = false;
  bool lastSpace = false;  // the last cell is a space made from white space
  int32_t line = 1;
  int32_t quoteLine = 0;
  const auto space = [&](int32_t at) {
    if (!lastSpace) cells.push_back({' ', false, at});
    lastSpace = true;
  };
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const char c = text[i];
    if (!quoted && c == '/' && i + 1 < n && text[i + 1] == '/') {
      // To the line end, which still separates.
      while (i + 1 < n && text[i + 1] != '\n') ++i;
      continue;
    }
    if (!quoted && c == '/' && i + 1 < n && text[i + 1] == '*') {
      const size_t end = text.find("*/", i + 2);
      if (end == std::string::npos) {
        result.unterminatedComment = true;
        result.openedAtLine = line;
        break;
      }
      for (size_t k = i; k < end; ++k) line += text[k] == '\n' ? 1 : 0;
      space(line);  // a comment separates like one space
      i = end + 1;
      continue;
    }
    if (IsControl(c) || (!quoted && c == ' ')) {
      space(line);
      if (c == '\n') ++line;
      continue;
    }
    lastSpace = false;
    if (c == '"') {
      quoted = !quoted;
      if (quoted) quoteLine = line;
      cells.push_back({c, true, line});
      continue;
    }
    if (quoted && c == '\\' && i + 1 < n) {
      if (const char e = str::EscapedChar(text[i + 1])) {
        cells.push_back({e, false, line});
        ++i;
        continue;
      }
    }
    cells.push_back({c, false, line});
  }
  if (quoted && !result.unterminatedComment) {
    result.unterminatedQuote = true;
    result.openedAtLine = quoteLine;
  }
  size_t first = 0;
  size_t last = cells.size();
  if (last > first && cells[first].c == ' ' && !cells[first].quote) ++first;
  if (last > first && cells[last - 1].c == ' ' && !cells[last - 1].quote) --last;

  // Split at spaces and ";" outside quoted parts.
  GUIToken current;
  bool started = false;
  bool inQuotes = false;
  const auto finish = [&]() {
    if (!current.text.empty()) result.tokens.push_back(current);
    current = GUIToken{};
    started = false;
  };
  for (size_t i = first; i < last; ++i) {
    const Cell& cell = cells[i];
    if (!started) {
      current.line = cell.line;
      started = true;
    }
    if (cell.quote) {
      inQuotes = !inQuotes;
      continue;
    }
    if (!inQuotes && cell.c == ' ') {
      finish();
      continue;
    }
    if (!inQuotes && cell.c == ';') {
      finish();
      result.tokens.push_back(GUIToken{";", cell.line});
      continue;
    }
    current.text += cell.c;
  }
  finish();
  result.tokens.push_back(GUIToken{"", line});
  return result;
}

GUIScriptTokens TokeniseGUIScript(FILE* file) {
  std::string raw;
  if (file) {
    char chunk[16384];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) raw.append(chunk, got);
    std::fclose(file);
  }
  return TokeniseGUIText(raw);
}

void ParseHexBytes(uint8_t* destination, int32_t count, std::string_view text) {
  if (!destination) return;
  for (int32_t i = 0; i < count; ++i) {
    const size_t at = static_cast<size_t>(i) * 2;
    const std::string pair = at < text.size() ? std::string(text.substr(at, 2)) : std::string();
    destination[i] = static_cast<uint8_t>(std::strtol(pair.c_str(), nullptr, 16));
  }
}

std::string FitTextToWidth(const std::string& text, C3DFont* font, float scale, float width) {
  if (!font || text.empty()) return text;
  if (MeasureTextWidth(font, text) * scale <= width) return text;
  const auto w = [&](size_t i) { return MeasureTextWidth(font, std::string(1, text[i])) * scale; };
  float run = 0.0f;
  float x = w(0);
  if (x >= width) return std::string();
  for (size_t i = 1; i < text.size(); ++i) {
    run = text[i] == ' ' ? 0.0f : run + w(i - 1);
    x = run + w(i);
    if (x >= width) return text.substr(0, i);
  }
  return text;
}
