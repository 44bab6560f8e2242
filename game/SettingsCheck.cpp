#include "game/SettingsCheck.h"

#include <cstdio>

#include "base/StringUtil.h"
#include "engine/config/ConfigManager.h"
#include "platform/DebugOutput.h"

namespace {

enum class Kind { Resolution, TextureSize, Volume, AmbientLimit, Switch };

struct Rule {
  const char* section;
  const char* name;
  Kind kind;
  const char* byDefault;  // null: the desktop's window size
};

constexpr int32_t kSmallestTexture = 256;
constexpr int32_t kLargestTexture = 8192;
constexpr int32_t kLargestAmbientLimit = 100;

constexpr Rule kRules[] = {
    {"Graphics", "Resolution", Kind::Resolution, nullptr},
    {"Graphics", "TextureSize", Kind::TextureSize, "512 512"},
    {"App", "MusicVolume", Kind::Volume, "190"},
    {"App", "SoundVolume", Kind::Volume, "190"},
    {"App", "AmbientLimit", Kind::AmbientLimit, "15"},
    {"App", "HelperCharacter", Kind::Switch, "true"},
    {"App", "Day\\NightCycle", Kind::Switch, "true"},
    {"App", "Particles", Kind::Switch, "true"},
    {"App", "SnowAccumulation", Kind::Switch, "true"},
    {"App", "Autosave", Kind::Switch, "true"},
    {"Autoslow", "AlwaysSlow", Kind::Switch, "false"},
    {"Autoslow", "NeverSlow", Kind::Switch, "false"},
    {"Autoslow", "SlowOnPlaneLanding", Kind::Switch, "true"},
    {"Autoslow", "SlowOnPlaneTakeoff", Kind::Switch, "false"},
    {"Autoslow", "SlowOnVehicleArrive", Kind::Switch, "false"},
    {"Autoslow", "SlowOnVehicleLeave", Kind::Switch, "false"},
    {"Autoslow", "SlowOnEmergency", Kind::Switch, "true"},
    {"Autoslow", "SlowOnSecurity", Kind::Switch, "true"},
    {"Autoslow", "SlowOnSafety", Kind::Switch, "true"},
    {"Autoslow", "SlowOnFlightDelay", Kind::Switch, "false"},
    {"Autoslow", "SlowOnFlightCancel", Kind::Switch, "false"},
    {"Autoslow", "SlowOnContractOffer", Kind::Switch, "true"},
    {"Autoslow", "SlowOnContractRenew", Kind::Switch, "true"},
};

// A whole number of at most five digits, nothing else.
bool SmallNumber(const std::string& text, int32_t* out) {
  if (text.empty() || text.size() > 5) return false;
  int32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  *out = value;
  return true;
}

// Two numbers parted by one blank.
bool NumberPair(const std::string& text, int32_t* a, int32_t* b) {
  const size_t blank = text.find(' ');
  return blank != std::string::npos && SmallNumber(text.substr(0, blank), a) && SmallNumber(text.substr(blank + 1), b);
}

// Why a value is not one the screens offer; null when it is.
const char* Refusal(Kind kind, const std::string& value) {
  int32_t a = 0, b = 0;
  switch (kind) {
    case Kind::Resolution:
      return SettingsCheck::ParseResolution(value, &a, &b) ? nullptr : "is not 640 480, 800 600 or 1024 768";
    case Kind::TextureSize:
      if (!NumberPair(value, &a, &b) || a != b || a < kSmallestTexture || a > kLargestTexture || (a & (a - 1)))
        return "is not a texture size offered (a power of two from 256, twice)";
      return nullptr;
    case Kind::Volume:
      return SmallNumber(value, &a) && a <= 255 ? nullptr : "is not a volume from 0 to 255";
    case Kind::AmbientLimit:
      return SmallNumber(value, &a) && a <= kLargestAmbientLimit ? nullptr : "is not a limit from 0 to 100";
    case Kind::Switch:
      return str::EqualsNoCase(value, "true") || str::EqualsNoCase(value, "false") || value == "1" || value == "0"
                 ? nullptr
                 : "is not true or false";
  }
  return nullptr;
}

std::string KeyOf(const Rule& rule) { return std::string(rule.section) + "|" + rule.name; }

}  // namespace

SettingsCheck::SettingsCheck(int32_t width, int32_t height) : width_(width), height_(height) {}

bool SettingsCheck::IsOfferedResolution(int32_t width, int32_t height) {
  return (width == 640 && height == 480) || (width == 800 && height == 600) || (width == 1024 && height == 768);
}

bool SettingsCheck::ParseResolution(const std::string& value, int32_t* width, int32_t* height) {
  int32_t w = 0, h = 0;
  if (!NumberPair(value, &w, &h) || !IsOfferedResolution(w, h)) return false;
  *width = w;
  *height = h;
  return true;
}

int SettingsCheck::Check(cCore_ConfigManager& config, const std::string& file) {
  int replaced = 0;
  for (const Rule& rule : kRules) {
    std::string value;
    const bool present = config.GetString(rule.section, rule.name, value);
    if (present && !Refusal(rule.kind, value)) {
      if (!firstDone_) firstStart_[KeyOf(rule)] = value;
      continue;
    }
    std::string fallback;
    if (auto it = firstStart_.find(KeyOf(rule)); it != firstStart_.end()) {
      fallback = it->second;
    } else if (rule.byDefault) {
      fallback = rule.byDefault;
    } else {
      char size[32];
      std::snprintf(size, sizeof(size), "%d %d", width_, height_);
      fallback = size;
    }
    if (!present) {
      // A missing setting keeps its missing meaning (the screens' own
      // default); only the first start's table remembers the fallback.
      continue;
    }
    platform::DebugPrintf("[Settings] %s: %s %s \"%s\" %s; using \"%s\"\n", file.c_str(), rule.section, rule.name,
                          value.c_str(), Refusal(rule.kind, value), fallback.c_str());
    config.SetValue(rule.section, rule.name, fallback);
    if (!firstDone_) firstStart_[KeyOf(rule)] = fallback;
    ++replaced;
  }
  firstDone_ = true;
  return replaced;
}

std::string SettingsCheck::FirstStart(const std::string& section, const std::string& name) const {
  auto it = firstStart_.find(section + "|" + name);
  return it == firstStart_.end() ? std::string() : it->second;
}

int32_t SettingsCheck::FirstStartTextureSize() const {
  int32_t a = 0, b = 0;
  const std::string value = FirstStart("Graphics", "TextureSize");
  if (!value.empty() && NumberPair(value, &a, &b) && !Refusal(Kind::TextureSize, value)) return a;
  return 512;
}
