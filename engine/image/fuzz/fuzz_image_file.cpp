// Feeds arbitrary bytes to the image loader through a file: the first byte
// picks the name's extension (and so the decoder), the rest is the file. The
// file path must decode exactly what the in-memory decoder does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "engine/image/TexTransport.h"
#include "engine/image/fuzz/DecoderFuzz.h"
#include "platform/DebugOutput.h"
#include "platform/tests/FuzzFiles.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  platform::SetDebugStderr(false);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  struct Kind {
    const char* name;
    TexTransport* (*decode)(const uint8_t*, size_t, int);
  };
  static const Kind kKinds[] = {{"fuzz.bmp", &TexTransport::DecodeBMP},
                                {"fuzz.TGA", &TexTransport::DecodeTGA},
                                {"fuzz.jpg", &TexTransport::DecodeJPEG}};
  const Kind& kind = kKinds[data[0] % 3];
  ++data;
  --size;
  if (kind.decode == &TexTransport::DecodeJPEG && JpegClaimedPixels(data, size) > kFuzzMaxJpegPixels) return 0;
  const std::string path = FuzzFile(kind.name);
  FuzzWriteFile(path, data, size);
  const std::unique_ptr<TexTransport> fromFile(TexTransport_LoadImageFile(path, 0));
  const std::unique_ptr<TexTransport> fromMemory(kind.decode(data, size, 0));
  if (!fromFile != !fromMemory) std::abort();
  if (fromFile && (fromFile->width != fromMemory->width || fromFile->height != fromMemory->height ||
                   fromFile->pixels != fromMemory->pixels))
    std::abort();
  return 0;
}
