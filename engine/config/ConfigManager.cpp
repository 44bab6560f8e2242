#include "engine/config/ConfigManager.h"

#include <algorithm>
#include <unordered_map>

#include "base/StringUtil.h"
#include "platform/DebugOutput.h"
#include "platform/Locale.h"
#include "platform/DurableSave.h"

namespace {

// A section or setting name that the reader would take apart unquoted (empty,
// blanks, ";", quote marks, comment starts, block braces, control characters)
// is written in quotes; every ordinary name comes out bare.
bool NeedsQuotes(std::string_view name) {
  if (name.empty() || name == "{" || name == "}") return true;
  if (name.find("//") != std::string_view::npos || name.find("/*") != std::string_view::npos) return true;
  for (const char c : name) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u <= 0x20 || u == 0x7F || c == '"' || c == ';') return true;
  }
  return false;
}

// Appends a name bare or quoted; false when part of it could not be written.
bool AppendName(std::string* out, std::string_view name) {
  if (!NeedsQuotes(name)) {
    out->append(name);
    return true;
  }
  return cCore_ConfigManager::AppendQuoted(out, name);
}

}  // namespace

cCore_ConfigManager::cCore_ConfigManager() { parser_.SetConfigManager(this); }

cCore_ConfigManager::~cCore_ConfigManager() = default;

std::string_view cCore_ConfigManager::KeyOf(std::string_view section, std::string_view name) {
  // Settings are read section by section: the folded section and its "|"
  // stay at the front of the key from one call to the next, and only the
  // name is folded anew. key_ only grows; its bytes past the key are left
  // over.
  const size_t prefix = section.size() + 1;
  if (!keyFresh_ || !str::SameBytes(section, keySection_)) {
    keySection_.assign(section);
    if (key_.size() < prefix) key_.resize(prefix);
    str::CopyLower(key_.data(), section);
    key_[section.size()] = '|';
    keyFresh_ = true;
  }
  const size_t length = prefix + name.size();
  if (key_.size() < length) key_.resize(std::max(length, 2 * key_.size()));
  str::CopyLower(key_.data() + prefix, name);
  return std::string_view(key_.data(), length);
}

CoreStatus cCore_ConfigManager::LoadConfig(const std::string& fileName) {
  return parser_.ReadFile(fileName, ConfigParser::StatementHandler::Settings);
}

CoreStatus cCore_ConfigManager::RunScript(const std::string& fileName) {
  return parser_.ReadFile(fileName, ConfigParser::StatementHandler::Command);
}

bool cCore_ConfigManager::AppendQuoted(std::string* out, std::string_view text) {
  bool complete = true;
  out->push_back('"');
  for (const char c : text) {
    switch (c) {
      case '\\': out->append("\\\\"); break;
      case '\n': out->append("\\n"); break;
      case '\t': out->append("\\t"); break;
      case '\a': out->append("\\a"); break;
      case '\b': out->append("\\b"); break;
      case '\f': out->append("\\f"); break;
      case '\r': out->append("\\r"); break;
      case '\v': out->append("\\v"); break;
      case '"':
      case '\0':
        complete = false;
        break;
      default: out->push_back(c); break;
    }
  }
  out->push_back('"');
  return complete;
}

void cCore_ConfigManager::WriteConfig(std::string* out) {
  // Group the settings by section, sections in the order their first setting
  // was stored, "App" always first (and written even when empty).
  struct Section {
    std::string name;
    std::vector<size_t> entries;
  };
  const auto& entries = store_.Entries();
  std::vector<Section> sections;
  std::unordered_map<std::string, size_t> sectionIndex;
  sections.push_back({"App", {}});
  sectionIndex.emplace("app", 0);
  for (size_t i = 0; i < entries.size(); ++i) {
    const std::string_view key = entries[i].first;
    const size_t bar = key.find('|');
    if (bar == std::string_view::npos) {
      platform::DebugPrintf("[cCore_ConfigManager::WriteConfig] key \"%s\" has no \"|\" between section and name; not written\n",
                            std::string(key).c_str());
      continue;
    }
    const std::string section = str::ToLower(key.substr(0, bar));
    const auto [it, inserted] = sectionIndex.try_emplace(section, sections.size());
    if (inserted) sections.push_back({section, {}});
    sections[it->second].entries.push_back(i);
  }

  for (const Section& section : sections) {
    out->append("settings ");
    if (!AppendName(out, section.name)) {
      platform::DebugPrintf("[cCore_ConfigManager::WriteConfig] section \"%s\" written without its quote marks\n",
                            section.name.c_str());
    }
    out->append(";\r\n");
    for (const size_t i : section.entries) {
      const std::string_view key = entries[i].first;
      const std::string_view name = key.substr(key.find('|') + 1);
      out->append("\tsetting\t");
      bool complete = AppendName(out, name);
      const int padding = 3 - static_cast<int>(name.size() / 8);
      if (padding > 0) out->append(static_cast<size_t>(padding), '\t');
      out->push_back('\t');
      complete = AppendQuoted(out, entries[i].second) && complete;
      out->append(";\r\n");
      if (!complete) {
        platform::DebugPrintf("[cCore_ConfigManager::WriteConfig] \"%s\" holds quote marks or NUL, written without\n",
                              std::string(key).c_str());
      }
    }
    out->append("\r\n");
  }
}

CoreStatus cCore_ConfigManager::SaveConfig(const std::string& fileName) {
  std::string text;
  WriteConfig(&text);
  std::string why;
  if (!platform::SaveFileDurably(fileName, text.data(), text.size(), &why)) {
    platform::DebugPrintf("[cCore_ConfigManager::SaveConfig] cannot write \"%s\": %s\n", fileName.c_str(),
                          why.c_str());
    return status::Fail;
  }
  return status::Ok;
}

void cCore_ConfigManager::SetValue(std::string_view section, std::string_view name, std::string_view value) {
  store_.SetNoCase(section, name, value);
}

void cCore_ConfigManager::SetValueByKey(std::string& key, std::string_view value) {
  // A value that is part of the key itself keeps its case: copied before
  // the key is lower-cased.
  const bool inKey = !value.empty() && value.data() >= key.data() && value.data() < key.data() + key.size();
  const std::string copy(inKey ? value : std::string_view());
  if (inKey) value = copy;
  str::ToLowerInPlace(key);
  store_.Set(key, value);
}

bool cCore_ConfigManager::GetBool(std::string_view section, std::string_view name, bool& out) {
  const std::string_view* value = store_.Find(KeyOf(section, name));
  if (!value) return false;
  out = str::EqualsNoCase(*value, "true") || *value == "1";
  return true;
}

bool cCore_ConfigManager::GetInt(std::string_view section, std::string_view name, int32_t& out) {
  const std::string_view* value = store_.Find(KeyOf(section, name));
  if (!value) return false;
  out = platform::ParseInt(*value);
  return true;
}

bool cCore_ConfigManager::GetFloat(std::string_view section, std::string_view name, float& out) {
  const std::string_view* value = store_.Find(KeyOf(section, name));
  if (!value) return false;
  out = platform::ParseFloat(*value);
  return true;
}

bool cCore_ConfigManager::GetString(std::string_view section, std::string_view name, std::string& out) {
  const std::string_view* value = store_.Find(KeyOf(section, name));
  if (!value) return false;
  out.assign(*value);
  return true;
}

void cCore_ConfigManager::SetWindowSize(int32_t width, int32_t height) {
  display_.width = width;
  display_.height = height;
}

void cCore_ConfigManager::SetWindowed(bool windowed) { display_.windowed = windowed ? 1 : 0; }
void cCore_ConfigManager::SetAdapter(int32_t adapter) { display_.adapter = adapter; }
void cCore_ConfigManager::SetBackBufferCount(int32_t count) { display_.backBufferCount = count; }
void cCore_ConfigManager::SetMultiSampleType(int32_t type) { display_.multiSampleType = type; }

void cCore_ConfigManager::SetModeFormat(int32_t bits0, int32_t bits1, int32_t bits2, int32_t bits3, int32_t bits4) {
  display_.channelBits[0] = bits0;
  display_.channelBits[1] = bits1;
  display_.channelBits[2] = bits2;
  display_.channelBits[3] = bits3;
  display_.channelBits[4] = bits4;
}

void cCore_ConfigManager::SetDepthFormat(int32_t depthBits, int32_t stencilBits, int32_t paddingBits) {
  display_.depthBits = depthBits;
  display_.stencilBits = stencilBits;
  display_.paddingBits = paddingBits;
}

void cCore_ConfigManager::GetWindowSize(int32_t& width, int32_t& height) {
  width = display_.width;
  height = display_.height;
}

int32_t cCore_ConfigManager::GetWidth() { return display_.width; }
int32_t cCore_ConfigManager::GetHeight() { return display_.height; }
bool cCore_ConfigManager::IsWindowed() { return display_.windowed != 0; }
void cCore_ConfigManager::SetWindowedAllowed(bool allowed) { windowedAllowed_ = allowed; }
bool cCore_ConfigManager::IsWindowedAllowed() { return windowedAllowed_; }
DisplaySettings* cCore_ConfigManager::GetDisplaySettings() { return &display_; }
const DisplaySettings* cCore_ConfigManager::GetDisplaySettings() const { return &display_; }
void cCore_ConfigManager::SaveDisplaySettings() { savedDisplay_ = display_; }
DisplaySettings* cCore_ConfigManager::GetSavedDisplaySettings() { return &savedDisplay_; }
const DisplaySettings* cCore_ConfigManager::GetSavedDisplaySettings() const { return &savedDisplay_; }
void cCore_ConfigManager::RestoreDisplaySettings() { display_ = savedDisplay_; }

CoreStatus cCore_ConfigManager::ToggleDisplayMode(cCore_GlobalWrapper* table) {
  if (!serviceRestart_) {
    platform::OutputDebugString("[cCore_ConfigManager::ToggleDisplayMode] no graphics restart installed\n");
    return status::Fail;
  }
  if (IsWindowed()) {
    SetWindowed(false);
  } else {
    if (!windowedAllowed_) return status::Fail;
    SetWindowed(true);
  }
  return serviceRestart_(kGraphicsService, this, table);
}

void cCore_ConfigManager::SetDesktopModeIndex(int32_t index) { desktopModeIndex_ = index; }
int32_t cCore_ConfigManager::GetDesktopModeIndex() { return desktopModeIndex_; }
ConfigParser* cCore_ConfigManager::GetParser() { return &parser_; }
void cCore_ConfigManager::SetGameManager(cGameManager* manager) { gameManager_ = manager; }
cGameManager* cCore_ConfigManager::GetGameManager() { return gameManager_; }

bool cCore_ConfigManager::Bind(const std::string&, const std::string&) { return false; }
void cCore_ConfigManager::ClearKey(uint32_t, uint32_t, uint32_t, uint32_t) {}
void cCore_ConfigManager::ClearBindings() {}
KeyBinding* cCore_ConfigManager::FindBindingByHandler(KeyHandler) { return nullptr; }
KeyBinding* cCore_ConfigManager::FindBindingByCommand(std::string_view) { return nullptr; }
KeyBinding* cCore_ConfigManager::FindBindingByName(std::string_view) { return nullptr; }
void cCore_ConfigManager::ListBindings(std::vector<std::string>&, std::vector<std::string>&,
                                       std::vector<std::string>&) {}
