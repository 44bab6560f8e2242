// The token reader on its own. Cleaning and splitting only ever remove or
// replace characters, so the tokens never hold more characters than the input.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/files/TokenReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> tokens;
  ReadTextTokens(text, &tokens);
  size_t chars = 0;
  for (const std::string& token : tokens) chars += token.size();
  if (chars > size) __builtin_trap();
  // Empty tokens appear only as the one final token.
  for (size_t i = 0; i + 1 < tokens.size(); ++i)
    if (tokens[i].empty()) __builtin_trap();
  return 0;
}
