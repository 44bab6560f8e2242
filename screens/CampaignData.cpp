#include "screens/CampaignData.h"

#include "base/StringUtil.h"
#include "engine/files/DataFile.h"
#include "simulation/Calendar.h"

namespace campaign {

bool IsPlainName(std::string_view name) {
  if (name.empty() || name.find("..") != std::string_view::npos) return false;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || c == ':' || u < 0x20 || u == 0x7F) return false;
  }
  return true;
}

namespace {

// Calls `line` for every line without its line end; long lines are cut.
template <typename F>
void ForEachLine(std::string_view text, F line) {
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view one = text.substr(0, end);
    if (!one.empty() && one.back() == '\r') one.remove_suffix(1);
    if (one.size() > kMaxLineLength) one = one.substr(0, kMaxLineLength);
    if (!line(one)) return;
    if (end == std::string_view::npos) return;
    text.remove_prefix(end + 1);
  }
}

}  // namespace

CampaignFile ParseCampaignText(std::string_view text) {
  CampaignFile file;
  bool names = true;
  ForEachLine(text, [&](std::string_view line) {
    if (names && line.empty()) {
      names = false;
    } else if (names) {
      if (file.scenarios.size() < static_cast<size_t>(kMaxEntries)) file.scenarios.emplace_back(line);
    } else {
      file.description.append(line);
    }
    return true;
  });
  return file;
}

std::string ParseScenarioText(std::string_view text) {
  std::string description;
  ForEachLine(text, [&](std::string_view line) {
    description.append(line);
    return true;
  });
  return description;
}

uint32_t EventKindOfWord(std::string_view word) {
  static constexpr const char* kWords[] = {"blizzard", "hurricane",  "tornado",          "sandstorm",
                                           "drought",  "earthquake", "earthquakedamage", "endgame"};
  for (uint32_t i = 0; i < 8; ++i) {
    if (str::EqualsNoCase(word, kWords[i])) return i;
  }
  return 0;
}

bool ReadEvent(const CDataFile& table, const std::string& section, const std::string& key, EventRecord* out) {
  const int second = table.GetInt(key, section, 0);
  const int minute = table.GetInt(key, section, 1);
  const int hour = table.GetInt(key, section, 2);
  const int day = table.GetInt(key, section, 3);
  const int month = table.GetInt(key, section, 4);
  const int year = table.GetInt(key, section, 5);
  // The day of year comes from the 1970 calendar whatever the entry's
  // year, counted without the local time zone.
  if (month < 1 || month > 12 || day < 1 || static_cast<uint32_t>(day) > calendar::DaysInMonth(month, 1970))
    return false;
  EventRecord event;
  event.kind = EventKindOfWord(table.GetString(key, section, 6));
  event.second = static_cast<uint8_t>(second);
  event.minute = static_cast<uint8_t>(minute);
  event.hour = static_cast<uint8_t>(hour);
  event.dayOfYear = calendar::DayOfYear(1970, static_cast<uint32_t>(month), static_cast<uint32_t>(day));
  event.year = static_cast<uint16_t>(year);
  event.payload = 0;
  *out = event;
  return true;
}

bool ReadCriteria(const CDataFile& table, const std::string& section, const std::string& key, EndGame* out,
                  std::string* buildingName) {
  struct Word {
    const char* word;
    int32_t criterion;
  };
  static constexpr Word kWords[] = {
      {"safety", kCriterion_Safety},         {"security", kCriterion_Security},
      {"building", kCriterion_Building},     {"contracts", kCriterion_Contracts},
      {"budget", kCriterion_Budget},         {"ticketsales", kCriterion_TicketSales},
      {"rent", kCriterion_Rent},             {"earnings", kCriterion_Earnings},
      {"passengers", kCriterion_Passengers}, {"planes", kCriterion_Planes},
      {"techlevel", kCriterion_TechLevel},   {"satisfaction", kCriterion_Satisfaction},
  };
  const std::string word = table.GetString(key, section, 0);
  int32_t criterion = 0;
  for (const Word& w : kWords) {
    if (str::EqualsNoCase(word, w.word)) criterion = w.criterion;
  }
  if (criterion == 0) return false;
  EndGame record;
  record.criterion = criterion;
  int position = 1;
  std::string building;
  if (criterion == kCriterion_Building) building = table.GetString(key, section, position++);
  record.value = table.GetFloat(key, section, position++);
  record.lose = table.GetInt(key, section, position) != 0 ? 1 : 0;
  *out = record;
  if (buildingName) *buildingName = building;
  return true;
}

}  // namespace campaign
