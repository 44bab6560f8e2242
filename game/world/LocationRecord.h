#pragma once
// A place where the player can build: one ".kvl" data file in "Locations\".
// Every key is read from the file's leading unnamed section; none is
// mandatory, missing ones take their no-value marks.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "game/world/MonthlyClimate.h"

class CDataFile;

// Hazard bits of "hazards": value i equal to 1 sets bit 1 << i.
enum LocationHazard : uint32_t {
  kHazardBlizzard = 0x01,
  kHazardHeatWave = 0x02,
  kHazardRain = 0x04,
  kHazardSnow = 0x08,
  kHazardSun = 0x10,
  kHazardThunderstorm = 0x20,
  kHazardEarthquake = 0x40,
};

struct _LocationRecord {
  std::string name;
  std::string description;
  std::string country;
  uint8_t continent = 0;
  std::string music;      // relative to "Sounds\"
  std::string soundLoop;
  int32_t population = 0;
  uint8_t domesticFlights = 0;
  uint8_t internationalFlights = 0;
  uint32_t hazards = 0;
  float landPrice = 0.0f;
  float cornerSeeds[4] = {0, 0, 0, 0};
  int32_t seed = 0;
  std::vector<std::string> terrainTextures;
  std::string plotTexture;
  // Twelve months, January first; null until a file was read.
  std::unique_ptr<std::array<MonthlyClimate, kClimateMonths>> climate;

  // Reads the data file through the path resolver; false only when it cannot
  // be read as a data file (the record is then left as it was).
  bool Load(const std::string& fileName);
  // The same on text in memory (tests, fuzzing); `name` names it in messages.
  bool LoadFromText(std::string_view text, const std::string& name);
  // Fills the record from a table already read.
  void ReadFrom(const CDataFile& file);

 private:
  bool ReadIfLoaded(bool loaded, const CDataFile& file, const std::string& name);
};

// Lists "*.kvl" in `folder` (names compared ignoring case, in that order),
// loads each and appends the ones that read to `out`. A missing folder leaves
// `out` as it was. Returns the number appended.
size_t LoadLocationFolder(const std::string& folder, std::vector<std::unique_ptr<_LocationRecord>>* out);
