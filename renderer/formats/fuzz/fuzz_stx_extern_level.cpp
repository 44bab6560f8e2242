// Feeds arbitrary image files to an externalised ".stx" format: the texture
// names "level0.<ext>" for its first level and "level1.<ext>" for its second,
// both read from the folder of the ".stx" file. The first input byte picks the
// extension (and so the decoder), the rest is written as both files. A level
// that does not fit or cannot be read must fall back without harm.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/image/fuzz/DecoderFuzz.h"
#include "platform/DebugOutput.h"
#include "platform/tests/FuzzFiles.h"
#include "renderer/formats/STexture2.h"
#include "renderer/formats/tests/STXFixtures.h"

namespace {

void Save(const std::string& name, const uint8_t* data, size_t size) { FuzzWriteFile(FuzzFile(name), data, size); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = (platform::SetDebugStderr(false), true);
  (void)quiet;
  if (size < 1) return 0;
  static const char* const kExtensions[] = {"bmp", "tga", "jpg"};
  const std::string ext = kExtensions[data[0] % 3];
  ++data;
  --size;
  if (ext == "jpg" && JpegClaimedPixels(data, size) > kFuzzMaxJpegPixels) return 0;
  Save("level0." + ext, data, size);
  Save("level1." + ext, data, size);
  StxTexture layout;
  StxFormat format = Stx565(16, 8, 2);
  format.tags = {{"ExternRGBMIP-0", "level0." + ext},
                 {"ExternAlphaMIP-0", "level0." + ext},
                 {"ExternRGBMIP-1", "level1." + ext},
                 {"Externalized", ""}};
  layout.formats = {format};
  const std::vector<uint8_t> stx = BuildStx(layout);
  Save("tex.stx", stx.data(), stx.size());
  STexture2 texture;
  if (!texture.Load(FuzzFile("tex.stx"), true)) std::abort();  // the embedded planes always remain
  return 0;
}
