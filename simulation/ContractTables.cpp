// The contract manager's three data tables: the airlines (a token stream),
// the airplane models and the businesses (sectioned data tables).
#include <cctype>
#include <cstdlib>
#include <limits>

#include "construction/BuildingManager.h"
#include "construction/TerminalItem.h"
#include "engine/files/DataFile.h"
#include "engine/files/TokenReader.h"
#include "engine/services/GlobalWrapper.h"
#include "platform/DebugOutput.h"
#include "simulation/ContractManager.h"

namespace {

// A decimal number from the token's start (optional sign, digits); 0 when it
// does not begin with one. Wide, so a range check sees the real value.
int64_t LeadingInteger(const std::string& token) {
  size_t i = 0;
  bool negative = false;
  if (i < token.size() && (token[i] == '+' || token[i] == '-')) negative = token[i++] == '-';
  int64_t value = 0;
  for (; i < token.size() && std::isdigit(static_cast<unsigned char>(token[i])); ++i) {
    if (value < (int64_t{1} << 40)) value = value * 10 + (token[i] - '0');
  }
  return negative ? -value : value;
}

void Log(const char* table, const std::string& record, const char* why) {
  platform::DebugPrintf("[cEntity_ContractManager] %s: record \"%s\" skipped: %s\n", table, record.c_str(), why);
}

}  // namespace

void cEntity_ContractManager::ReadAirlineTable(std::string_view text) {
  for (auto& array : airlines) {
    for (AirlineData* record : array) delete record;
    array.clear();
  }
  std::vector<std::string> tokens;
  ReadTextTokens(text, &tokens);
  cKV9_GlobalWrapper* table = Table();
  cEntity_BuildingManager* buildings = table ? table->buildingManager : nullptr;
  size_t at = 0;
  while (tokens.size() - at > 6) {
    auto record = std::make_unique<AirlineData>();
    record->name = tokens[at];
    record->logo = tokens[at + 1];
    record->cargo = LeadingInteger(tokens[at + 2]) != 0;
    record->international = LeadingInteger(tokens[at + 3]) != 0;
    const int64_t continent = LeadingInteger(tokens[at + 4]);
    const int64_t demand = LeadingInteger(tokens[at + 5]);
    at += 6;
    // Item names run to the ";" closing the record, or to the end of the
    // file for a last record without one.
    for (; at < tokens.size() && tokens[at] != ";"; ++at) {
      TerminalItem* item = buildings ? buildings->FindTerminalObject(tokens[at]) : nullptr;
      if (item) record->terminalItems.push_back({item->type, item->level});
    }
    if (at < tokens.size()) ++at;
    if (continent < 0 || continent > static_cast<int64_t>(kInternationalArray)) {
      Log(kAirlineTable, record->name, "continent outside 0-6");
      continue;
    }
    if (demand < 0 || demand > 3) {
      Log(kAirlineTable, record->name, "demand level outside 0-3");
      continue;
    }
    record->continent = static_cast<uint32_t>(continent);
    record->demand = static_cast<uint8_t>(demand);
    const uint32_t array = record->international ? kInternationalArray : record->continent;
    airlines[array].push_back(record.release());
  }
}

bool cEntity_ContractManager::ReadAirplaneTable(std::string_view text) {
  for (auto* arrays : {passengerPlanes, cargoPlanes}) {
    for (uint32_t i = 0; i < kSizeClassCount; ++i) {
      for (AirplaneData* record : arrays[i]) delete record;
      arrays[i].clear();
    }
  }
  CDataFile file;
  if (!file.LoadFromMemory(text)) return false;
  for (const auto& section : file.Sections()) {
    const std::string& s = section->name;
    if (s.empty()) continue;
    auto record = std::make_unique<AirplaneData>();
    record->name = s;
    record->model = file.GetString("model_path", s);
    record->thumbnail = file.GetString("thumbnail_path", s);
    record->sound = file.GetString("sound_path", s);
    record->cargo = file.GetBool("cargo", s);
    record->name = file.GetString("name", s);
    const int size = file.GetInt("scale", s);
    record->sizeClass = static_cast<uint8_t>(size);
    record->maxPassengers = static_cast<uint16_t>(file.GetInt("max_passengers", s));
    record->requiredRunway = static_cast<uint16_t>(file.GetInt("required_runway", s));
    record->fuelCapacity = static_cast<uint16_t>(file.GetInt("fuel_capacity", s));
    record->vertDropMaxVel = file.GetFloat("vert_drop_max_vel", s);
    record->vertDropAccel = file.GetFloat("vert_drop_accel", s);
    record->vertRiseMaxVel = file.GetFloat("vert_rise_max_vel", s);
    record->vertRiseAccel = file.GetFloat("vert_rise_accel", s);
    record->horizMaxVel = file.GetFloat("horiz_max_vel", s);
    record->horizAccel = file.GetFloat("horiz_accel", s);
    record->taxiVel = file.GetFloat("taxi_cur_vel", s);
    // An absent key reads as the lowest integer, which is 0 in this width.
    const uint8_t sizeClass = size == CDataFile::kNoInt ? 0 : record->sizeClass;
    if (size != CDataFile::kNoInt && (size < 0 || size >= static_cast<int>(kSizeClassCount))) {
      Log(kAirplaneTable, s, "size class outside 0-3");
      continue;
    }
    record->sizeClass = sizeClass;
    record->yearAvailable = static_cast<uint16_t>(file.GetInt("year_available", s));
    (record->cargo ? cargoPlanes : passengerPlanes)[sizeClass].push_back(record.release());
  }
  return true;
}

bool cEntity_ContractManager::ReadBusinessTable(std::string_view text) {
  for (BusinessData* record : businesses) delete record;
  businesses.clear();
  CDataFile file;
  if (!file.LoadFromMemory(text)) return false;
  for (const auto& section : file.Sections()) {
    const std::string& s = section->name;
    if (s.empty()) continue;
    auto record = std::make_unique<BusinessData>();
    record->name = s;
    record->logo = file.GetString("logo", s);
    record->businessType = static_cast<uint8_t>(file.GetInt("business_type", s));
    record->demand = static_cast<uint8_t>(file.GetInt("scale", s));
    record->requiredTraffic = static_cast<uint16_t>(file.GetInt("required_traffic", s));
    businesses.push_back(record.release());
  }
  return true;
}

void cEntity_ContractManager::ClearTables() {
  ReadAirlineTable({});
  ReadAirplaneTable({});
  ReadBusinessTable({});
}
