// Feeds arbitrary bytes to the input-script reader.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/DebugOutput.h"
#include "platform/window/ScriptedInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool quiet = (platform::SetDebugStderr(false), true);
  (void)quiet;
  platform::ScriptedInput script;
  script.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
