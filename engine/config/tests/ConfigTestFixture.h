#pragma once
// Shared by the configuration tests: a fixture holding a manager and a
// scratch directory with the debugger channel kept off stderr (refused lines
// are expected there), and the text a manager writes.
#include <gtest/gtest.h>

#include <string>

#include "engine/config/ConfigManager.h"
#include "platform/tests/ScratchDir.h"
#include "platform/DebugOutput.h"

namespace cfgtest {

inline std::string Written(cCore_ConfigManager& config) {
  std::string text;
  config.WriteConfig(&text);
  return text;
}

template <typename Manager>
class ConfigFixture : public ::testing::Test {
 protected:
  ConfigFixture() { platform::SetDebugStderr(false); }
  ~ConfigFixture() override { platform::SetDebugStderr(true); }

  Manager config_;
  ScratchDir dir_;
};

}  // namespace cfgtest
