// Feeds arbitrary bytes to the WAV parser: it must refuse or load without
// reading outside the input, and a load must be self-consistent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/DebugOutput.h"
#include "sound/Wave.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = [] {
    platform::SetDebugStderr(false);
    return true;
  }();
  (void)quiet;
  Wave wave;
  if (wave.LoadFromMemory(data, size, "fuzz.wav")) {
    const platform::WAVEFORMATEX* f = wave.GetFormat();
    if (!f || wave.GetDataSize() == 0 || wave.GetDataSize() % f->blockAlign != 0 || wave.GetDataSize() > size)
      std::abort();
  }
  return 0;
}
