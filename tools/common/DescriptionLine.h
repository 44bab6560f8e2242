#pragma once
// The words of one line of an asset description: '#' starts a comment, a
// carriage return before the line feed is dropped, blanks and tabs separate
// the words.
#include <string>
#include <vector>

#include "base/StringUtil.h"

inline std::vector<std::string> DescriptionWords(std::string line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  const size_t hash = line.find('#');
  if (hash != std::string::npos) line.erase(hash);
  std::vector<std::string> words;
  for (std::string& piece : str::Split(line, " \t"))
    if (!piece.empty()) words.push_back(std::move(piece));
  return words;
}
