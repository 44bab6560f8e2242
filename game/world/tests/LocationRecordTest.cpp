#include "game/world/LocationRecord.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <string>

#include "platform/tests/ScratchDir.h"

namespace {

struct Case {
  const char* name;
  std::string text;
  void (*check)(const _LocationRecord&);
};

TEST(LocationRecord, KeysAndTheirRules) {
  const std::string longLine = "desc = " + std::string(1500, 'x') + "\nname = After";
  const Case cases[] = {
      {"all keys missing take the no-value marks",
       "# nothing here\n",
       [](const _LocationRecord& r) {
         EXPECT_EQ(r.name, "");
         EXPECT_EQ(r.continent, 0);
         EXPECT_EQ(r.population, 0);
         EXPECT_EQ(r.landPrice, FLT_MIN);
         EXPECT_EQ(r.seed, INT32_MIN);
         EXPECT_EQ(r.cornerSeeds[3], FLT_MIN);
         EXPECT_TRUE(r.terrainTextures.empty());
         ASSERT_TRUE(r.climate);
         EXPECT_EQ((*r.climate)[0].high, 0.0f);
       }},
      {"negative continent, population and price give 0",
       "continent = -3\npopulation = -10\nland_price = -5\ndomestic_flights = -1\n",
       [](const _LocationRecord& r) {
         EXPECT_EQ(r.continent, 0);
         EXPECT_EQ(r.population, 0);
         EXPECT_EQ(r.landPrice, 0.0f);
         EXPECT_EQ(r.domesticFlights, 0);
       }},
      {"a continent past a byte stays at 255",
       "continent = 300\n", [](const _LocationRecord& r) { EXPECT_EQ(r.continent, 255); }},
      {"hazard values equal to 1 set their bits",
       "hazards = <0, 1, 0, 1>\n", [](const _LocationRecord& r) { EXPECT_EQ(r.hazards, 0x02u | 0x08u); }},
      {"hazard values other than 1 leave the bit clear",
       "hazards = <2, 1, 1, 1, 1, 1, 1, 1>\n", [](const _LocationRecord& r) { EXPECT_EQ(r.hazards, 0x7Eu); }},
      {"climate percentages are scaled",
       "weather_data0 = <20, 35, 50, 10, 40, 30, 5>\n",
       [](const _LocationRecord& r) {
         const MonthlyClimate& m = (*r.climate)[0];
         EXPECT_EQ(m.low, 20.0f);
         EXPECT_EQ(m.high, 35.0f);
         EXPECT_FLOAT_EQ(m.fogChance, 0.5f);
         EXPECT_EQ(m.windScale, 10.0f);
         EXPECT_FLOAT_EQ(m.cloudThreshold, 0.4f);
         EXPECT_FLOAT_EQ(m.precipitationThreshold, 0.3f);
         EXPECT_FLOAT_EQ(m.thunderThreshold, 0.05f);
       }},
      {"a month gap stops the climate",
       "weather_data0 = <1,2,3,4,5,6,7>\nweather_data1 = <1,2,3,4,5,6,7>\nweather_data2 = <1,2,3,4,5,6,7>\n"
       "weather_data3 = <1,2,3,4,5,6,7>\nweather_data4 = <1,2,3,4,5,6,7>\nweather_data7 = <9,9,9,9,9,9,9>\n",
       [](const _LocationRecord& r) {
         EXPECT_EQ((*r.climate)[4].low, 1.0f);
         EXPECT_EQ((*r.climate)[5].low, 0.0f);
         EXPECT_EQ((*r.climate)[7].low, 0.0f);
       }},
      {"textures keep their order",
       "terrain_textures = <a.tga, b.tga, c.tga>\nplot_texture = p.tga\n",
       [](const _LocationRecord& r) {
         ASSERT_EQ(r.terrainTextures.size(), 3u);
         EXPECT_EQ(r.terrainTextures[2], "c.tga");
         EXPECT_EQ(r.plotTexture, "p.tga");
       }},
      {"keys after the first section are not the location's",
       "name = Top\n[Other]\ncountry = Elsewhere\n",
       [](const _LocationRecord& r) {
         EXPECT_EQ(r.name, "Top");
         EXPECT_EQ(r.country, "");
       }},
      {"non-numbers in float keys read as missing",
       "corner_seeds = <nan, inf, 0.5, x>\nland_price = nan\n",
       [](const _LocationRecord& r) {
         EXPECT_EQ(r.cornerSeeds[0], FLT_MIN);
         EXPECT_EQ(r.cornerSeeds[1], FLT_MIN);
         EXPECT_EQ(r.cornerSeeds[2], 0.5f);
         EXPECT_EQ(r.landPrice, FLT_MIN);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    _LocationRecord record;
    ASSERT_TRUE(record.LoadFromText(c.text, c.name));
    c.check(record);
  }
  // A long description line is read whole and the keys after it too.
  _LocationRecord record;
  ASSERT_TRUE(record.LoadFromText(longLine, "long line"));
  EXPECT_EQ(record.description.size(), 1500u);
  EXPECT_EQ(record.name, "After");
}

TEST(LocationRecord, FolderListsKvlFilesByNameIgnoringCase) {
  ScratchDir dir;
  dir.Write("Locations/beta.KVL", "name = Beta\ncontinent = 4\n");
  dir.Write("Locations/Alpha.kvl", "name = Alpha\ncontinent = 1\n");
  dir.Write("Locations/notes.txt", "name = Not a location\n");
  dir.Write("Locations/broken.kvl", "name = \"never closed\n");
  std::filesystem::create_directories(dir.Root() / "Locations" / "sub.kvl");
  std::vector<std::unique_ptr<_LocationRecord>> list;
  LoadLocationFolder(dir.File("Locations"), &list);
  std::vector<std::string> names;
  for (const auto& r : list) names.push_back(r->name);
  // The unterminated quote takes the rest of its file as its value: read,
  // but the name is whatever the reader makes of it, so only the order of
  // the two good files is checked.
  ASSERT_GE(names.size(), 2u);
  EXPECT_EQ(names.front(), "Alpha");
  EXPECT_EQ(names.back(), "Beta");
  std::vector<std::unique_ptr<_LocationRecord>> none;
  EXPECT_EQ(LoadLocationFolder(dir.File("Missing"), &none), 0u);
  EXPECT_TRUE(none.empty());
}

// Every location shipped in data/ reads with a full year of climate, names
// its textures and sits on a known continent; across them every hazard bit
// occurs and every continent has one.
TEST(LocationRecord, ShippedLocations) {
  std::vector<std::unique_ptr<_LocationRecord>> list;
  LoadLocationFolder(std::string(GAME_SOURCE_DIR) + "/data/Locations", &list);
  ASSERT_GE(list.size(), 9u);
  uint32_t hazards = 0;
  uint32_t continents = 0;
  for (const auto& r : list) {
    SCOPED_TRACE(r->name);
    EXPECT_FALSE(r->name.empty());
    EXPECT_LE(r->continent, 5);
    continents |= 1u << r->continent;
    hazards |= r->hazards;
    EXPECT_GE(r->terrainTextures.size(), 2u);
    EXPECT_LE(r->terrainTextures.size(), 4u);
    EXPECT_FALSE(r->plotTexture.empty());
    EXPECT_FALSE(r->music.empty());
    EXPECT_FALSE(r->soundLoop.empty());
    EXPECT_NE(r->seed, INT32_MIN);
    for (int m = 0; m < kClimateMonths; ++m) EXPECT_GT((*r->climate)[static_cast<size_t>(m)].high, 0.0f) << m;
  }
  EXPECT_EQ(hazards, 0x7Fu);
  EXPECT_EQ(continents, 0x3Fu);
}

}  // namespace
