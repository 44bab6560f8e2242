#pragma once
// Reading a screen action's argument text: the command word and the words
// after it. The word delimiters differ between screens (a blank, or a blank
// and "|"), so each call names its own.
#include <cstdint>
#include <string>
#include <string_view>

#include "base/Status.h"

namespace screens {

// A screen's answer for a word it did not handle (the widget then offers
// the event to its parent).
inline constexpr CoreStatus kNotHandled = static_cast<CoreStatus>(0x80150003u);

// The delimiter sets the screens use.
inline constexpr std::string_view kBlank = " ";
inline constexpr std::string_view kBlankOrBar = " |";
inline constexpr std::string_view kBar = "|";

// Cuts the next word from `*text` the way the runtime's tokeniser does:
// leading delimiters are skipped, the word runs to the next delimiter, and
// `*text` is left just behind that one delimiter (or empty). An empty result
// means no word was left.
std::string NextWord(std::string_view* text, std::string_view delimiters);

// A command word and what follows its delimiter.
struct Command {
  std::string word;
  std::string_view rest;
  bool Is(std::string_view name) const;
};

// The first word of `text` cut at `delimiters`; its `word` is empty when
// the text holds none.
Command CutCommand(std::string_view text, std::string_view delimiters);

// Leading white space, an optional sign, the decimal digits up to the first
// other character; no digits give 0. Values past 32 bits are clamped to
// the nearest 32-bit value.
int32_t DecimalInt(std::string_view text);

}  // namespace screens
