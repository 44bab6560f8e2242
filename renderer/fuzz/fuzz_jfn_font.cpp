// Reads arbitrary bytes as a ".jfn" font, then measures and lays out text
// with every byte value through it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/DebugOutput.h"
#include "renderer/Lumetra.h"
#include "renderer/fonts/DX8Font_JFN.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = (platform::SetDebugStderr(false), true);
  (void)quiet;
  Lumetra renderer;
  DX8Font_JFN font(&renderer, 0, "fuzz.jfn");
  if (status::Failed(font.LoadFromMemory(data, size, "fuzz.jfn"))) return 0;
  font.MakeBuffers(static_cast<size_t>(font.GetPageCount()));
  std::string text;
  for (int c = 0; c < 256; ++c) text.push_back(static_cast<char>(c));
  text += "\nAB\n\n";
  float box[6];
  font.Measure(text, &box[0], &box[1], &box[2], &box[3], &box[4], &box[5]);
  font.AddText(nullptr, text, nullptr);
  font.AddText(nullptr, text.substr(0, size % 300), nullptr);
  font.Flush(nullptr);
  return 0;
}
