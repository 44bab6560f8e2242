// The campaign screen's readers: plain names, campaign and scenario texts,
// timed events and end conditions from the scenario list.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/files/DataFile.h"
#include "screens/CampaignData.h"

namespace {

TEST(CampaignData, PlainNames) {
  struct Case {
    const char* name;
    bool plain;
  };
  const Case cases[] = {
      {"CoastalRoutes", true}, {"first_runway.kv9", true}, {"Harbour Start", true}, {"", false},
      {"..", false},           {"a..b", false},            {"a/b", false},          {"a\\b", false},
      {"c:x", false},          {"tab\there", false},       {"line\nbreak", false},  {"\x7f", false},
  };
  for (const Case& c : cases) EXPECT_EQ(campaign::IsPlainName(c.name), c.plain) << c.name;
}

TEST(CampaignData, CampaignAndScenarioTexts) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> scenarios;
    std::string description;
  };
  const std::string longLine(campaign::kMaxLineLength + 100, 'x');
  const Case cases[] = {
      {"names then description", "A\r\nB\r\n\r\nfirst \r\nsecond\r\n", {"A", "B"}, "first second"},
      {"no empty line: all names", "A\nB\nC", {"A", "B", "C"}, ""},
      {"empty file", "", {}, ""},
      {"description only", "\nabout", {}, "about"},
      {"later empty lines add nothing", "A\n\nx\n\ny\n", {"A"}, "xy"},
      {"long lines are cut", "A\n\n" + longLine, {"A"}, std::string(campaign::kMaxLineLength, 'x')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const campaign::CampaignFile file = campaign::ParseCampaignText(c.text);
    EXPECT_EQ(file.scenarios, c.scenarios);
    EXPECT_EQ(file.description, c.description);
  }
  EXPECT_EQ(campaign::ParseScenarioText("one \r\ntwo\r\n"), "one two");
}

TEST(CampaignData, TimedEvents) {
  CDataFile table;
  ASSERT_TRUE(table.LoadFromMemory(
      "[s]\n"
      "event0 = <5, 30, 12, 1, 3, 2004, Blizzard>\n"
      "event1 = <0, 0, 0, 31, 12, 1999, endgame>\n"
      "event2 = <0, 0, 0, 29, 2, 2004, tornado>\n"
      "event3 = <0, 0, 0, 1, 13, 2004, tornado>\n"
      "event4 = <0, 0, 0, 0, 5, 2004, tornado>\n"
      "event5 = <300, 0, 0, 1, 1, 2004, locusts>\n"
      "event6 = <1, 2, 3, 4, 5, 2006, EARTHQUAKEDAMAGE>\n"
      "event7 = <1, 2, 3>\n"));
  struct Case {
    const char* key;
    bool scheduled;
    uint32_t kind;
    uint16_t dayOfYear;
    uint16_t year;
    uint8_t second;
  };
  const Case cases[] = {
      {"event0", true, 0, 60, 2004, 5},    // 1 March is day 60 whatever the year
      {"event1", true, 7, 365, 1999, 0},
      {"event2", false, 0, 0, 0, 0},       // 1970 has no 29 February
      {"event3", false, 0, 0, 0, 0},       // no month 13
      {"event4", false, 0, 0, 0, 0},       // no day 0
      {"event5", true, 0, 1, 2004, 44},    // an unknown word is kind 0; 300 cut to 8 bits
      {"event6", true, 6, 124, 2006, 1},
      {"event7", false, 0, 0, 0, 0},       // no day or month at all
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EventRecord event;
    ASSERT_EQ(campaign::ReadEvent(table, "s", c.key, &event), c.scheduled);
    if (!c.scheduled) continue;
    EXPECT_EQ(event.kind, c.kind);
    EXPECT_EQ(event.dayOfYear, c.dayOfYear);
    EXPECT_EQ(event.year, c.year);
    EXPECT_EQ(event.second, c.second);
    EXPECT_EQ(event.payload, 0u);
  }
}

TEST(CampaignData, EndConditions) {
  CDataFile table;
  ASSERT_TRUE(table.LoadFromMemory(
      "[s]\n"
      "c0 = <Safety, 60, 1>\n"
      "c1 = <building, Control Tower, 2, 0>\n"
      "c2 = <budget, 100>\n"
      "c3 = <rating, 50, 0>\n"
      "c4 = <weather, 3, 0>\n"
      "c5 = <techlevel, 3, 0>\n"
      "c6 = <passengers>\n"));
  struct Case {
    const char* key;
    bool added;
    int32_t criterion;
    float value;
    uint8_t lose;
    const char* building;
  };
  const Case cases[] = {
      {"c0", true, kCriterion_Safety, 60.0f, 1, ""},
      {"c1", true, kCriterion_Building, 2.0f, 0, "Control Tower"},
      {"c2", true, kCriterion_Budget, 100.0f, 1, ""},  // no flag: the smallest integer, a losing condition
      {"c3", false, 0, 0.0f, 0, ""},
      {"c4", false, 0, 0.0f, 0, ""},
      {"c5", true, kCriterion_TechLevel, 3.0f, 0, ""},
      {"c6", true, kCriterion_Passengers, CDataFile::kNoFloat, 1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EndGame record;
    std::string building;
    ASSERT_EQ(campaign::ReadCriteria(table, "s", c.key, &record, &building), c.added);
    if (!c.added) continue;
    EXPECT_EQ(record.criterion, c.criterion);
    EXPECT_FLOAT_EQ(record.value, c.value);
    EXPECT_EQ(record.lose, c.lose);
    EXPECT_EQ(building, c.building);
  }
}

TEST(CampaignData, TheShippedScenarioListUsesEveryWord) {
  CDataFile table;
  ASSERT_TRUE(table.Load(std::string(GAME_SOURCE_DIR) + "/data/Scenarios/scenarios.dat"));
  std::vector<bool> kinds(8, false);
  std::vector<int32_t> criteria;
  std::vector<std::string> ignored;
  for (int n = 0; table.FindSection("scenario" + std::to_string(n)); ++n) {
    const std::string section = "scenario" + std::to_string(n);
    for (const char* key : {"name", "savegame", "image", "description", "win_text", "lose_text"})
      EXPECT_FALSE(table.GetString(key, section).empty()) << section << " " << key;
    EXPECT_TRUE(campaign::IsPlainName(table.GetString("savegame", section)));
    EXPECT_TRUE(campaign::IsPlainName(table.GetString("image", section)));
    for (int e = 0; table.FindKey("event" + std::to_string(e), section); ++e) {
      EventRecord event;
      ASSERT_TRUE(campaign::ReadEvent(table, section, "event" + std::to_string(e), &event));
      kinds[event.kind] = true;
    }
    for (int c = 0; table.FindKey("criteria" + std::to_string(c), section); ++c) {
      EndGame record;
      if (campaign::ReadCriteria(table, section, "criteria" + std::to_string(c), &record, nullptr))
        criteria.push_back(record.criterion);
      else
        ignored.push_back(table.GetString("criteria" + std::to_string(c), section));
    }
  }
  for (uint32_t k = 0; k < kinds.size(); ++k) EXPECT_TRUE(kinds[k]) << "event kind " << k;
  for (int32_t k : {1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 13, 14})
    EXPECT_NE(std::find(criteria.begin(), criteria.end(), k), criteria.end()) << "criterion " << k;
  // "rating" and a word the screen does not know add no condition.
  EXPECT_NE(std::find(ignored.begin(), ignored.end(), "rating"), ignored.end());
  EXPECT_TRUE(std::any_of(ignored.begin(), ignored.end(), [](const std::string& w) { return w != "rating"; }));
}

}  // namespace
