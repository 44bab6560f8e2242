// The renderer's settings: "gfx_dx8.cfg" read into the settings map, and the
// metrics settings applied from it.
#include <new>

#include "engine/files/ObjectDef.h"
#include "engine/files/ObjectDefStore.h"
#include "platform/DebugOutput.h"
#include "platform/Locale.h"
#include "renderer/Lumetra.h"

void Lumetra::LoadConfig() {
  settings_.rehash(257);
  // The file is one of the program's data files, found under the resource
  // path like every other (the current directory when none is set).
  ObjectDefStore store;
  store.GetParser()->SetBaseDirectory(GetResourcePath());
  if (!store.LoadFile(kSettingsFile)) {
    platform::DebugPrintf("[Lumetra::LoadConfig] '%s' not read; built-in settings stay\n", kSettingsFile);
    return;
  }
  const ObjectDef* root = store.GetList().FindObject(kSettingsFile);
  if (!root || root->children.empty()) return;
  for (const ObjectDef* child : root->children) {
    if (child->IsValue()) continue;  // a key of the root itself, not a setting
    auto* record = new (std::nothrow) CoreBaseConfig();
    if (!record) return;
    const auto copy = [child](const char* key, std::string* out) {
      if (const std::string* value = child->FindValue(key)) *out = *value;
    };
    copy("default", &record->defaultValue);
    copy("description", &record->description);
    copy("name", &record->name);
    copy("max_range", &record->max_range);
    copy("min_range", &record->min_range);
    copy("type", &record->type);
    copy("value", &record->value);
    if (record->name.empty()) {
      delete record;
      continue;
    }
    auto [it, inserted] = settings_.emplace(record->name, record);
    if (!inserted) {
      delete it->second;
      it->second = record;
    }
  }
}

uint32_t Lumetra::GetConfig(CoreBaseConfigMap** options) {
  if (options) *options = &settings_;
  return static_cast<uint32_t>(settings_.size());
}

bool Lumetra::ApplyConfig() {
  static constexpr const char* kMetricNames[4] = {"gfx_metrics", "gfx_metric_fps", "gfx_metric_poly",
                                                  "gfx_metric_vert"};
  for (const auto& [name, record] : settings_) {
    if (!record) continue;
    for (size_t k = 0; k < metrics_.size(); ++k) {
      if (name == kMetricNames[k]) metrics_[k] = record->value != "0";
    }
    if (name == "gfx_metric_placement") metricPlacement_ = static_cast<uint8_t>(platform::ParseInt(record->value));
  }
  return true;
}

void Lumetra::ClearConfig() { DeleteSettings(); }
