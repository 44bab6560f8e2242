// Feeds arbitrary bytes to the renderer's image loading under each of the
// names it dispatches on (the first byte picks one), both row orders.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/DebugOutput.h"
#include "renderer/formats/RendererImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = (platform::SetDebugStderr(false), true);
  (void)quiet;
  if (size < 1) return 0;
  static const char* const kNames[] = {"a.bmp", "b.TGA", "c.jpg", "d.jpeg", "e.jif", "f.png"};
  const std::string name = kNames[data[0] % 6];
  const int options = (data[0] & 0x80) ? TexTransport::kBottomUp : 0;
  std::unique_ptr<TexTransport> image(renderer::TexTransport_ReadImage(data + 1, size - 1, name, options));
  if (image) {
    // Every pixel the image claims must be there.
    const size_t need = image->RowStride() * size_t(image->height);
    if (image->pixels.size() < need) __builtin_trap();
  }
  return 0;
}
