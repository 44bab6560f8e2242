#include "screens/ScreenCommand.h"

#include <limits>

#include "base/StringUtil.h"

namespace screens {

std::string NextWord(std::string_view* text, std::string_view delimiters) {
  std::string_view s = *text;
  const size_t start = s.find_first_not_of(delimiters);
  if (start == std::string_view::npos) {
    *text = std::string_view();
    return std::string();
  }
  s.remove_prefix(start);
  const size_t end = s.find_first_of(delimiters);
  if (end == std::string_view::npos) {
    *text = std::string_view();
    return std::string(s);
  }
  *text = s.substr(end + 1);
  return std::string(s.substr(0, end));
}

bool Command::Is(std::string_view name) const { return str::EqualsNoCase(word, name); }

Command CutCommand(std::string_view text, std::string_view delimiters) {
  Command command;
  command.rest = text;
  command.word = NextWord(&command.rest, delimiters);
  return command;
}

int32_t DecimalInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kLimit) value = kLimit;  // no overflow however long the digits run
  }
  if (negative) return static_cast<int32_t>(-value);
  return value >= kLimit ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(value);
}

}  // namespace screens
