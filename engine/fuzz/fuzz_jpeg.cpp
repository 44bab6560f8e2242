// Feeds arbitrary bytes to the JPEG decoder in both row orders. A decoded image
// must hold exactly its rows; anything else is a fault.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "engine/TexTransport.h"
#include "platform/DebugOutput.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  platform::SetDebugStderr(false);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (int options : {0, TexTransport::kBottomUp}) {
    std::unique_ptr<TexTransport> image(TexTransport::DecodeJPEG(data, size, options));
    if (!image) continue;
    if (image->width <= 0 || image->height <= 0 || image->loaded != 1 ||
        image->pixels.size() != image->RowStride() * static_cast<size_t>(image->height))
      std::abort();
  }
  return 0;
}
