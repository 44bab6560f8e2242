#pragma once
// Shared by the test plug-ins: a call log on the debugger channel (tests
// capture it to check the order of calls) and behaviour switches read from
// the environment when a module starts.
#include <cstdlib>
#include <string>

#include "engine/services/CoreBase.h"
#include "platform/DebugOutput.h"

namespace fake {

inline void Log(const std::string& line) { platform::OutputDebugString("[fake] " + line + "\n"); }

// The switch's text, or `fallback` when it is not set.
inline std::string Setting(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : fallback;
}

inline bool Enabled(const char* name) { return Setting(name, "1") != "0"; }

// The settings slots of a module that keeps no settings: nothing to load,
// list, apply or clear.
template <typename Base>
class NoSettings : public Base {
 public:
  void LoadConfig() override {}
  uint32_t GetConfig(CoreBaseConfigMap** options) override {
    if (options) *options = nullptr;
    return 0;
  }
  bool ApplyConfig() override { return true; }
  void ClearConfig() override {}
};

}  // namespace fake
