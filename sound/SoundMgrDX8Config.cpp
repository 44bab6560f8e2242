// The options map: read from the settings file, handed to the game, read by
// Init, and written back where the service settles a value.
#include <cstdio>

#include "engine/files/ObjectDef.h"
#include "engine/files/ObjectDefStore.h"
#include "sound/SoundMgrDX8.h"

namespace {

constexpr size_t kOptionBuckets = 257;

std::string ValueOf(const ObjectDef& def, const char* key) {
  const std::string* value = def.FindValue(key);
  return value ? *value : std::string();
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

void SoundMgrDX8::LoadConfig() {
  ObjectDefStore store;
  options_.reserve(kOptionBuckets);
  if (!store.LoadFile(kSettingsFile)) return;
  const ObjectDef* root = store.GetList().FindObject(kSettingsFile);
  if (!root) return;
  for (const ObjectDef* child : root->children) {
    if (child->IsValue()) continue;
    auto* record = new CoreBaseConfig;
    record->defaultValue = ValueOf(*child, "default");
    record->description = ValueOf(*child, "description");
    record->name = ValueOf(*child, "name");
    record->max_range = ValueOf(*child, "max_range");
    record->min_range = ValueOf(*child, "min_range");
    record->type = ValueOf(*child, "type");
    record->value = ValueOf(*child, "value");
    if (record->name.empty()) {
      delete record;
      continue;
    }
    CoreBaseConfig*& slot = options_[record->name];
    delete slot;
    slot = record;
  }
}

uint32_t SoundMgrDX8::GetConfig(CoreBaseConfigMap** options) {
  if (options) *options = &options_;
  return static_cast<uint32_t>(options_.size());
}

void SoundMgrDX8::ClearConfig() {
  for (auto& entry : options_) delete entry.second;
  options_.clear();
}

const CoreBaseConfig* SoundMgrDX8::FindOption(const char* name) const {
  const auto it = options_.find(name);
  return it != options_.end() && it->second ? it->second : nullptr;
}

void SoundMgrDX8::SetOption(const char* name, const std::string& value) {
  const auto it = options_.find(name);
  if (it != options_.end() && it->second) it->second->value = value;
}

bool SoundMgrDX8::ParseGuidText(const std::string& text, platform::SoundGuid* guid) {
  if (text.size() != 32) return false;
  platform::SoundGuid parsed{};
  for (size_t i = 0; i < 16; ++i) {
    const int hi = HexDigit(text[i * 2]), lo = HexDigit(text[i * 2 + 1]);
    if (hi < 0 || lo < 0) return false;
    parsed.bytes[i] = static_cast<uint8_t>(hi * 16 + lo);
  }
  *guid = parsed;
  return true;
}

std::string SoundMgrDX8::FormatGuidText(const platform::SoundGuid& guid) {
  std::string text;
  char pair[3];
  for (uint8_t byte : guid.bytes) {
    std::snprintf(pair, sizeof pair, "%02X", byte);
    text += pair;
  }
  return text;
}
