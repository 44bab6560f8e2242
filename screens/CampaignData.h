#pragma once
// What the campaign screen reads: the scenario list's timed events and end
// conditions, the plain-text campaign (".kvc") and scenario (".kvs") files,
// and the check that a name taken from a data file may become part of a
// path. Pure functions over text, shared by the screen, its tests and the
// fuzz target.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "simulation/EndGame.h"
#include "simulation/EventRecord.h"

class CDataFile;

namespace campaign {

// The largest campaign or scenario text file read; anything longer is not
// one.
inline constexpr uint64_t kMaxTextFileBytes = 1024 * 1024;
// Lines past this length are cut (a description line, not a novel).
inline constexpr size_t kMaxLineLength = 4096;
// No list holds more entries than this.
inline constexpr int kMaxEntries = 1024;

// True for a plain name: not empty, no "/", "\", ":", "..", and no control
// characters. Names from data files must pass it before they join a path.
bool IsPlainName(std::string_view name);

// A campaign file: scenario names up to the first empty line, then the
// description lines joined without separator.
struct CampaignFile {
  std::vector<std::string> scenarios;
  std::string description;
};
CampaignFile ParseCampaignText(std::string_view text);
// A scenario file: every line joined without separator.
std::string ParseScenarioText(std::string_view text);

// The event kind of a word ("blizzard" 0 ... "endgame" 7, others 0).
uint32_t EventKindOfWord(std::string_view word);
// "event<n>" of `section`: second, minute, hour, day, month, year, word.
// False (nothing to schedule) for a day or month that the 1970 calendar
// does not have.
bool ReadEvent(const CDataFile& table, const std::string& section, const std::string& key, EventRecord* out);
// "criteria<n>" of `section`. False for "rating" and unknown words (no
// condition); a missing flag reads as the smallest integer, so losing.
bool ReadCriteria(const CDataFile& table, const std::string& section, const std::string& key, EndGame* out,
                  std::string* buildingName);

}  // namespace campaign
