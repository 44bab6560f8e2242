#include "simulation/AirportTables.h"

#include "engine/files/DataFile.h"

namespace {

// Whole-number keys keep their low 8 bits; an absent key (the table's
// no-value mark) has 0 there.
uint8_t LowByte(int value) { return static_cast<uint8_t>(static_cast<uint32_t>(value) & 0xFF); }

}  // namespace

bool ReadAwardTable(std::string_view text, std::vector<std::unique_ptr<cAward>>* out) {
  out->clear();
  CDataFile file;
  if (!file.LoadFromMemory(text)) return false;
  for (const auto& section : file.Sections()) {
    const std::string& s = section->name;
    if (s.empty()) continue;
    auto award = std::make_unique<cAward>();
    award->name = file.GetString("name", s);
    award->description = file.GetString("description", s);
    award->conditionType = LowByte(file.GetInt("condition_type", s));
    award->threshold = file.GetFloat("threshold", s);
    award->imagePath = file.GetString("image_path", s);
    award->prize = file.GetFloat("prize", s);
    award->level = LowByte(file.GetInt("level", s));
    award->requiredRating = file.GetFloat("required_airport_rating", s);
    out->push_back(std::move(award));
  }
  return true;
}

bool ReadEventTable(std::string_view text, std::vector<std::unique_ptr<cEvent>>* out) {
  out->clear();
  CDataFile file;
  if (!file.LoadFromMemory(text)) return false;
  for (const auto& section : file.Sections()) {
    const std::string& s = section->name;
    if (s.empty()) continue;
    auto event = std::make_unique<cEvent>();
    event->name = file.GetString("name", s);
    event->description = file.GetString("description", s);
    event->conditionType = LowByte(file.GetInt("condition_type", s));
    event->actionType = LowByte(file.GetInt("action_type", s));
    event->actionValue = file.GetFloat("action_value1", s);
    event->threshold = file.GetFloat("threshold", s);
    // Truncated toward zero; a value past what 32 bits hold (or no value)
    // gives 0 rather than an undefined conversion.
    const float retrigger = file.GetFloat("retrigger_time", s);
    event->retriggerTime =
        retrigger >= 1.0f && retrigger < 4294967296.0f ? static_cast<uint32_t>(retrigger) : 0u;
    out->push_back(std::move(event));
  }
  return true;
}
