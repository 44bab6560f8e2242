// Feeds arbitrary bytes to the DDS reader and decodes whatever it accepts.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/DebugOutput.h"
#include "platform/graphics/DdsFile.h"
#include "platform/graphics/PixelFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool muted = (platform::SetDebugStderr(false), true);
  (void)muted;
  platform::gfx::DdsImage image;
  if (!platform::gfx::ReadDds(data, size, &image)) return 0;
  for (size_t i = 0; i < image.levels.size(); ++i) {
    const uint32_t w = image.width >> i ? image.width >> i : 1, h = image.height >> i ? image.height >> i : 1;
    if (uint64_t(w) * h > (1u << 22)) break;
    std::vector<uint32_t> argb(size_t(w) * h);
    platform::gfx::DecodeToArgb(image.format, image.levels[i].data(), platform::gfx::RowPitch(image.format, w), w, h,
                                argb.data());
  }
  return 0;
}
