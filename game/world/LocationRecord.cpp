#include "game/world/LocationRecord.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/StringUtil.h"
#include "engine/files/DataFile.h"
#include "platform/DebugOutput.h"
#include "platform/Directory.h"
#include "platform/Paths.h"

namespace {

// The leading unnamed section.
const std::string kTop;

// Whole numbers of 0 or below give 0; above 255 they stay at 255 rather than
// wrap into some other continent or count.
uint8_t ByteOf(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

// A value that is not a finite number reads as missing, so no NaN reaches the
// terrain or the weather.
float FloatOf(const CDataFile& file, const std::string& key, int position) {
  const float v = file.GetFloat(key, kTop, position);
  return std::isfinite(v) ? v : CDataFile::kNoFloat;
}

}  // namespace

bool _LocationRecord::Load(const std::string& fileName) {
  CDataFile file;
  return ReadIfLoaded(file.Load(fileName), file, fileName);
}

bool _LocationRecord::LoadFromText(std::string_view text, const std::string& name) {
  CDataFile file;
  return ReadIfLoaded(file.LoadFromMemory(text), file, name);
}

bool _LocationRecord::ReadIfLoaded(bool loaded, const CDataFile& file, const std::string& name) {
  if (!loaded) {
    platform::DebugPrintf("[_LocationRecord::Load] %s cannot be read as a location; skipped.\n", name.c_str());
    return false;
  }
  ReadFrom(file);
  return true;
}

void _LocationRecord::ReadFrom(const CDataFile& file) {
  name = file.GetString("name", kTop);
  country = file.GetString("country", kTop);
  continent = ByteOf(file.GetInt("continent", kTop));
  population = std::max<int32_t>(static_cast<int32_t>(file.GetLong("population", kTop)), 0);
  domesticFlights = ByteOf(file.GetInt("domestic_flights", kTop));
  internationalFlights = ByteOf(file.GetInt("international_flights", kTop));
  landPrice = FloatOf(file, "land_price", 0);
  if (landPrice <= 0.0f) landPrice = 0.0f;
  music = file.GetString("music", kTop);
  soundLoop = file.GetString("soundloop", kTop);
  description = file.GetString("desc", kTop);
  for (int i = 0; i < 4; ++i) cornerSeeds[i] = FloatOf(file, "corner_seeds", i);
  seed = file.GetInt("seed", kTop);
  plotTexture = file.GetString("plot_texture", kTop);
  hazards = 0;
  for (int i = 0; i < 7; ++i) {
    if (file.GetInt("hazards", kTop, i) == 1) hazards |= 1u << i;
  }
  terrainTextures.clear();
  if (const CDataFile::Key* key = file.FindKey("terrain_textures", kTop)) {
    for (const std::string_view value : key->values) {
      if (!value.empty()) terrainTextures.emplace_back(value);
    }
  }
  climate = std::make_unique<std::array<MonthlyClimate, kClimateMonths>>();
  for (int month = 0; month < kClimateMonths; ++month) {
    char key[32];
    std::snprintf(key, sizeof key, "weather_data%d", month);
    if (!file.FindKey(key, kTop)) break;
    MonthlyClimate& m = (*climate)[static_cast<size_t>(month)];
    m.low = FloatOf(file, key, 0);
    m.high = FloatOf(file, key, 1);
    m.fogChance = FloatOf(file, key, 2) * 0.01f;
    m.windScale = FloatOf(file, key, 3);
    m.cloudThreshold = FloatOf(file, key, 4) * 0.01f;
    m.precipitationThreshold = FloatOf(file, key, 5) * 0.01f;
    m.thunderThreshold = FloatOf(file, key, 6) * 0.01f;
  }
}

size_t LoadLocationFolder(const std::string& folder, std::vector<std::unique_ptr<_LocationRecord>>* out) {
  std::string resolved;
  std::vector<platform::DirEntry> entries;
  if (!out || !platform::ResolvePath(folder, &resolved) || !platform::ListDirectory(resolved, &entries)) {
    platform::DebugPrintf("[cEntity_GameScenario::LoadLocations] no location folder %s\n", folder.c_str());
    return 0;
  }
  std::vector<std::string> names;
  for (const platform::DirEntry& entry : entries) {
    if (!entry.isDirectory && platform::WildcardMatch("*.kvl", entry.name)) names.push_back(entry.name);
  }
  std::stable_sort(names.begin(), names.end(),
                   [](const std::string& a, const std::string& b) { return str::CompareNoCase(a, b) < 0; });
  size_t added = 0;
  for (const std::string& name : names) {
    auto record = std::make_unique<_LocationRecord>();
    if (!record->Load(platform::JoinPath(resolved, name))) continue;
    out->push_back(std::move(record));
    ++added;
  }
  return added;
}
