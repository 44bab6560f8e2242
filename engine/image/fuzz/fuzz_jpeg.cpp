// Feeds arbitrary bytes to the JPEG decoder in both row orders.
#include "engine/image/fuzz/DecoderFuzz.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  platform::SetDebugStderr(false);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (JpegClaimedPixels(data, size) > kFuzzMaxJpegPixels) return 0;
  return FuzzDecoder(&TexTransport::DecodeJPEG, data, size);
}
