// The base-buildings table (one building definition a section) and the
// terminal-objects table (the furniture and fittings of terminals).
#include <memory>
#include <string>
#include <string_view>

#include "base/StringUtil.h"
#include "construction/BuildingManager.h"
#include "construction/TerminalItem.h"
#include "engine/files/DataFile.h"
#include "engine/services/Core3D.h"
#include "engine/services/GlobalWrapper.h"
#include "platform/DebugOutput.h"
#include "platform/FileRead.h"

namespace {

// Renderer flags of a terminal object's shaders: none at all when the file
// cannot be made into one.
constexpr uint32_t kTerminalShaderFlags = 8;

// The key a definition line starts with. An INI section holds each key once,
// so a section lists several access points under distinct key names that
// contain the access key's name.
std::string FoldKey(std::string_view key) {
  if (key.find("taxiwayaccess") != std::string::npos) return "taxiwayaccess";
  if (key.find("roadaccess") != std::string::npos) return "roadaccess";
  return std::string(key);
}

}  // namespace

bool cEntity_BuildingManager::ReadTableText(const std::string& fileName, std::string* text) {
  platform::FileReadError why;
  if (platform::ReadFileText(fileName, CDataFile::kMaxFileBytes, text, &why, PathPrefix())) return true;
  platform::DebugPrintf("[cEntity_BuildingManager] %s: %s\n", fileName.c_str(), why.text.c_str());
  return false;
}

bool cEntity_BuildingManager::LoadBaseBuildings(const std::string& fileName) {
  std::string text;
  return ReadTableText(fileName, &text) && LoadBaseBuildingsFromMemory(text);
}

bool cEntity_BuildingManager::LoadBaseBuildingsFromMemory(std::string_view text) {
  CDataFile table;
  if (!table.LoadFromMemory(text)) return false;
  for (const auto& section : table.Sections()) {
    const CDataFile::Key* name = table.FindKey("name", section->name);
    const CDataFile::Key* keyword = table.FindKey("class", section->name);
    // A definition needs both; without them its lines would not line up.
    if (!name || !keyword) {
      if (!section->keys.empty())
        platform::DebugPrintf("[cEntity_BuildingManager::LoadBaseBuildings] section [%s] lacks \"name\" or \"class\"; "
                              "skipped\n",
                              section->name.c_str());
      continue;
    }
    Definition definition;
    definition.reserve(section->keys.size() - 1);
    definition.push_back({keyword->values.empty() ? std::string() : std::string(keyword->values[0]),
                          name->values.empty() ? std::string() : std::string(name->values[0])});
    for (const CDataFile::Key* key : section->keys) {
      if (key == name || key == keyword) continue;
      DefinitionLine line;
      line.reserve(key->values.size() + 1);
      line.push_back(FoldKey(key->name));
      line.insert(line.end(), key->values.begin(), key->values.end());
      definition.push_back(std::move(line));
    }
    ParseDefinition(std::move(definition));
  }
  return true;
}

bool cEntity_BuildingManager::LoadTerminalObjects(const std::string& fileName) {
  std::string text;
  return ReadTableText(fileName, &text) && LoadTerminalObjectsFromMemory(text);
}

bool cEntity_BuildingManager::LoadTerminalObjectsFromMemory(std::string_view text) {
  CDataFile table;
  if (!table.LoadFromMemory(text)) return false;
  std::vector<std::string> sections;
  table.GetSectionNames(&sections);
  Core3D* renderer = table_ ? table_->graphics : nullptr;
  const std::string prefix = PathPrefix();
  for (const std::string& section : sections) {
    // Saves and contracts carry an object's name in 32 characters.
    if (section.size() > kMaxTypeNameLength) {
      platform::DebugPrintf("[cEntity_BuildingManager::LoadTerminalObjects] name \"%s\" is longer than %zu "
                            "characters; skipped\n",
                            section.c_str(), kMaxTypeNameLength);
      continue;
    }
    auto item = std::make_unique<TerminalItem>();
    item->name = section;
    // A missing "type" reads 0x80000000, whose low byte puts it in group 0.
    const uint8_t group = static_cast<uint8_t>(table.GetInt("type", section));
    if (group >= kTerminalObjectGroups) continue;
    item->kind = group;
    item->type = group;
    auto shader = [&](const char* key, std::string* name, ShaderHandle* handle) {
      *name = table.GetString(key, section);
      if (renderer) handle->reset(renderer->CreateShader(kTerminalShaderFlags, prefix + *name));
    };
    shader("def_shader", &item->defShaderName, &item->defShader);
    shader("mov_shader", &item->movShaderName, &item->movShader);
    shader("dep_shader", &item->depShaderName, &item->depShader);
    item->tooltip = table.GetString("tooltip", section);
    item->button = table.GetString("button", section);
    item->width = static_cast<uint8_t>(table.GetInt("size", section, 0));
    item->length = static_cast<uint8_t>(table.GetInt("size", section, 1));
    item->price = table.GetFloat("price", section);
    item->year = static_cast<uint16_t>(table.GetInt("year", section));
    item->monthlyExpense = table.GetFloat("maintenance_cost", section);
    item->monthlyRevenue = table.GetFloat("monthly_revenue", section);
    item->satisfaction = table.GetFloat("customer_satisfaction", section);
    item->safety = table.GetFloat("safety_rating", section);
    item->security = table.GetFloat("security_rating", section);
    item->level = static_cast<uint32_t>(table.GetInt("level", section));
    terminalObjects[group].push_back(item.release());
  }
  return true;
}
