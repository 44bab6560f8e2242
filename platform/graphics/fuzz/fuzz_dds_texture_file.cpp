// Feeds arbitrary bytes to texture creation from a DDS file on disk, on a
// record device: the file path must create exactly what the in-memory path
// creates from the same bytes, and release everything it made.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/DebugOutput.h"
#include "platform/tests/FuzzFiles.h"
#include "platform/graphics/GfxFactory.h"
#include "platform/graphics/ImageUtil.h"

namespace gfx = platform::gfx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static gfx::Device* device = [] {
    platform::SetDebugStderr(false);
    gfx::Direct3D* d3d = gfx::CreateDirect3D(gfx::Backend::Record);
    gfx::PresentParameters pp;
    pp.backBufferWidth = 32;
    pp.backBufferHeight = 16;
    gfx::Device* dev = nullptr;
    if (!d3d || d3d->CreateDevice(0, gfx::D3DDEVTYPE_HAL, nullptr, 0x44, &pp, &dev) != 0) std::abort();
    return dev;
  }();
  static const std::string path = FuzzFile("fuzz.dds");
  FuzzWriteFile(path, data, size);
  gfx::Texture* fromFile = nullptr;
  gfx::Texture* fromMemory = nullptr;
  const auto fileResult = gfx::CreateTextureFromFile(device, path, &fromFile);
  const auto memoryResult = gfx::CreateTextureFromFileInMemory(device, data, size, &fromMemory);
  if ((fileResult == 0) != (memoryResult == 0) || !fromFile != !fromMemory) std::abort();
  if (fromFile && fromFile->GetLevelCount() != fromMemory->GetLevelCount()) std::abort();
  if (fromFile) fromFile->Release();
  if (fromMemory) fromMemory->Release();
  return 0;
}
