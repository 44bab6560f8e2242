// The ambient-vehicle table: one ambient-traffic record a section, offered
// to the ambient manager.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "construction/BuildingManager.h"
#include "engine/files/DataFile.h"
#include "simulation/AmbientData.h"

bool cEntity_BuildingManager::LoadAmbientVehicles(const std::string& fileName) {
  std::string text;
  return ReadTableText(fileName, &text) && LoadAmbientVehiclesFromMemory(text);
}

bool cEntity_BuildingManager::LoadAmbientVehiclesFromMemory(std::string_view text) {
  CDataFile table;
  if (!table.LoadFromMemory(text)) return false;
  std::vector<std::string> sections;
  table.GetSectionNames(&sections);
  for (const std::string& section : sections) {
    auto record = std::make_unique<AmbientData>();
    record->name = section;
    record->sound = table.GetString("sound", section);
    record->modelName = table.GetString("model", section);
    record->kindFlags = static_cast<uint32_t>(table.GetInt("type", section));
    // The ambient manager owns a record it keeps; a refused one goes here.
    if (hooks.addAmbientData && hooks.addAmbientData(record.get())) record.release();
  }
  return true;
}
