#pragma once
// A start-up rig for the library manager's tests: a configuration, the
// game's service table and a manager pointed at one of the test plug-in
// directories; the fake modules' switches are environment variables and
// their calls are read back from the debugger channel.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "engine/config/ConfigManager.h"
#include "engine/services/CoreBaseDescriptor.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/LibraryManager.h"
#include "platform/DebugOutput.h"
#include "platform/MessageBox.h"

namespace plugintest {

inline const char* const kSwitches[] = {"FAKE_GFX_INIT",    "FAKE_GFX_ADAPTERS", "FAKE_GFX_DESKTOP",
                                        "FAKE_GFX_MODES",   "FAKE_GFX_DEPTHS",   "FAKE_GFX_WINDOWED",
                                        "FAKE_GFX_CREATE",  "FAKE_GFX_CAPS",     "FAKE_SND_START",
                                        "FAKE_INPUT_INIT",  "FAKE_GUI_INIT"};

inline std::string PluginDirectory(const std::string& name) { return std::string(GAME_TEST_PLUGIN_ROOT) + "/" + name; }

// The game's full mask: packages, sound, input, graphics, GUI.
inline constexpr uint32_t kGameMask = 0x74E;

class Rig : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kSwitches) unsetenv(name);
    previousHandler_ = platform::SetMessageBoxHandler([this](const std::string& text, const std::string&, unsigned) {
      messages.push_back(text);
      return platform::IDOK;
    });
    UseDirectory("services");
    config.SetValue("App", "resource_path", "path=/tmp/resources");
    config.SetValue("App", "MaxVersion", "9");
    config.SetValue("App", "MinVersion", "0");
    config.SetWindowSize(800, 600);
    config.SetWindowed(true);
  }

  void TearDown() override {
    // The program's order: the registries (holding plug-in actions) go
    // before the libraries are released.
    table.ClearConfigOptions();
    manager.Shutdown(&table);
    platform::SetMessageBoxHandler(previousHandler_);
    for (const char* name : kSwitches) unsetenv(name);
  }

  void UseDirectory(const std::string& name) { config.SetValue("App", "library_path", "path=" + PluginDirectory(name)); }
  static void Switch(const char* name, const std::string& value) { setenv(name, value.c_str(), 1); }

  // The fake modules' log lines, in order, without their prefix.
  std::vector<std::string> FakeLines() const {
    std::vector<std::string> lines;
    std::istringstream stream(capture.Text());
    std::string line;
    while (std::getline(stream, line)) {
      if (line.rfind("[fake] ", 0) == 0) lines.push_back(line.substr(7));
    }
    return lines;
  }
  bool Logged(const std::string& prefix) const {
    for (const std::string& line : FakeLines()) {
      if (line.rfind(prefix, 0) == 0) return true;
    }
    return false;
  }
  // Index of the first line beginning with `prefix`, or -1.
  int LineIndex(const std::string& prefix) const {
    const std::vector<std::string> lines = FakeLines();
    for (size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
    }
    return -1;
  }
  // The last device creation the renderer saw.
  std::string LastCreateDevice() const {
    std::string last;
    for (const std::string& line : FakeLines()) {
      if (line.rfind("gfx CreateDevice ", 0) == 0) last = line.substr(17);
    }
    return last;
  }
  std::vector<std::string> ClassNames() const {
    std::vector<std::string> names;
    for (const auto& entry : manager.GetClasses()) names.push_back(entry.descriptor->GetName());
    return names;
  }

  platform::ScopedDebugCapture capture;
  cCore_ConfigManager config;
  cKV9_GlobalWrapper table;
  cCore_LibraryManager manager;
  std::vector<std::string> messages;

 private:
  platform::MessageBoxHandler previousHandler_;
};

}  // namespace plugintest
