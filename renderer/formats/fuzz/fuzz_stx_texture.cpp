// Feeds arbitrary bytes to the ".stx" reader as a stream in memory, then
// reads every level of every format back, expanded and not, and generates
// the levels as an externalised format would.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/DebugOutput.h"
#include "renderer/formats/STexture2.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = (platform::SetDebugStderr(false), true);
  (void)quiet;
  STexture2File file;
  file.SetMemory(std::vector<uint8_t>(data, data + size), "fuzz.stx");
  STexture2 texture;
  texture.SetKeepErrors(true);
  if (!texture.Load(file, size % 2 == 0)) return 0;
  for (int16_t i = 0; i < texture.m_iNumFormats; ++i) {
    if (!texture.LoadFormat(i, &file)) continue;
    STexture2Format& f = *texture.GetFormat(i);
    std::vector<uint8_t> buffer;
    for (int16_t level = 0; level < f.m_iMIPDepth; ++level) {
      for (bool expand : {false, true}) {
        const int32_t bytes = f.GetRGBData(level, nullptr, expand);
        if (bytes <= 0 || bytes > (1 << 24)) continue;
        buffer.assign(size_t(bytes), 0);
        f.GetRGBData(level, buffer.data(), expand);
      }
      const int32_t alpha = f.GetAlphaData(level, nullptr);
      if (alpha > 0 && alpha <= (1 << 22)) {
        buffer.assign(size_t(alpha), 0);
        f.GetAlphaData(level, buffer.data());
      }
    }
    // Generation resamples every level; keep the fuzzer's steps small.
    int64_t pixels = 0;
    for (const auto& l : f.levels) pixels += int64_t(l->width) * l->height;
    if (pixels <= (1 << 16)) {
      f.GenerateRGBMIPs(texture.GetTagString("UpFilter", "Catrom"), texture.GetTagString("DownFilter", "Catrom"));
      f.GenerateAlphaMIPs("Box", "Sinc");
    }
  }
  return 0;
}
