// Feeds arbitrary bytes to the Ogg Vorbis loader: it must refuse or decode
// without reading outside the input, and a decode must be whole 16-bit frames.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/DebugOutput.h"
#include "sound/OGG.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = [] {
    platform::SetDebugStderr(false);
    return true;
  }();
  (void)quiet;
  OGG ogg;
  if (ogg.LoadFromMemory(data, size, "fuzz.ogg")) {
    const platform::WAVEFORMATEX* f = ogg.GetFormat();
    if (!f || f->bitsPerSample != 16 || f->blockAlign == 0 || ogg.GetDataSize() % f->blockAlign != 0) std::abort();
  } else if (ogg.GetDataSize() != 0 || ogg.GetFormat()) {
    std::abort();  // a refused file leaves nothing behind
  }
  return 0;
}
