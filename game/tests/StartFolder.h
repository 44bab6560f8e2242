#pragma once
// A scratch start-up folder for the application: the chosen plug-in
// libraries copied into its "plugins" folder (the library manager loads
// every library it finds there) and a "base.cfg" naming that folder.
#include <filesystem>
#include <string>
#include <vector>

#include "platform/tests/ScratchDir.h"

namespace gametest {

// One of the engine's small test plug-ins ("fake_gfx.so", ...).
inline std::string TestPlugin(const std::string& file) {
  return std::string(GAME_TEST_PLUGIN_ROOT) + "/services/" + file;
}

struct StartFolder {
  explicit StartFolder(const std::vector<std::string>& plugins) {
    dir.Write("plugins/readme.txt", "the plug-ins this start finds");
    for (const std::string& plugin : plugins) {
      std::filesystem::copy_file(plugin, dir.File("plugins/" + std::filesystem::path(plugin).filename().string()),
                                 std::filesystem::copy_options::overwrite_existing);
    }
    script = dir.Write("base.cfg", "settings App;\n setting library_path \"path=" + dir.File("plugins") +
                                       "\";\n setting resource_path \"path=" + dir.Root().string() +
                                       "\";\n setting MaxVersion \"9\";\n setting MinVersion \"0\";\n");
  }
  ScratchDir dir;
  std::string script;  // the full path of base.cfg
};

}  // namespace gametest
