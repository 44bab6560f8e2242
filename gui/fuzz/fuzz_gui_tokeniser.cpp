// Any text through the description-file tokeniser: never a crash, always a
// final empty token, lines never going backwards.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "gui/core/GUIScript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const GUIScriptTokens result = TokeniseGUIText(std::string_view(reinterpret_cast<const char*>(data), size));
  if (result.tokens.empty() || !result.tokens.back().text.empty()) std::abort();
  int32_t line = 0;
  for (const GUIToken& token : result.tokens) {
    if (token.line < line) std::abort();
    line = token.line;
  }
  return 0;
}
