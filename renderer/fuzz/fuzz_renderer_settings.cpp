// Feeds arbitrary values to the renderer settings: each input line becomes
// the value of one option of "gfx_dx8.cfg" in turn, read and applied.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/DebugOutput.h"
#include "platform/tests/FuzzFiles.h"
#include "renderer/Lumetra.h"

namespace {

constexpr const char* kOptions[] = {"gfx_metrics", "gfx_metric_fps", "gfx_metric_poly", "gfx_metric_vert",
                                    "gfx_metric_placement"};

std::string SettingsText(std::string_view input) {
  std::string text;
  size_t pos = 0;
  for (const char* name : kOptions) {
    const size_t start = std::min(pos, input.size());
    const size_t end = std::min(input.find('\n', start), input.size());
    std::string value(input.substr(start, end - start));
    // A value cannot hold a double quote: the file has no escape for one.
    for (char& c : value)
      if (c == '"' || c == '\r' || c == '\0') c = ' ';
    pos = end + 1;
    text += std::string("OBJECT ") + name + "\r\n{\r\n\tset name \"" + name + "\"\r\n\tset value \"" + value +
            "\"\r\n}\r\n";
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = [] {
    platform::SetDebugStderr(false);
    return true;
  }();
  (void)quiet;
  const std::string text = SettingsText(std::string_view(reinterpret_cast<const char*>(data), size));
  FuzzWriteFile(FuzzFile("gfx_dx8.cfg"), text.data(), text.size());
  Lumetra renderer;
  renderer.SetResourcePath(FuzzWorkDir());
  renderer.LoadConfig();
  if (!renderer.ApplyConfig()) __builtin_trap();
  renderer.ClearConfig();
  return 0;
}
