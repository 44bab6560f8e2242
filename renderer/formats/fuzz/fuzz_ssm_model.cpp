// Feeds arbitrary bytes to the ".ssm" reader, then exercises everything a
// loaded model goes through: anchors, draw data, a handle playing each
// animation, and writing it back (which must read again).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/DebugOutput.h"
#include "renderer/formats/SSMObject.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = (platform::SetDebugStderr(false), true);
  (void)quiet;
  SSMObject model;
  if (status::Failed(model.Load(data, size))) return 0;
  std::vector<uint8_t> written;
  if (status::Failed(model.Save(&written))) std::abort();  // whatever loads, writes
  SSMObject again;
  if (status::Failed(again.Load(written.data(), written.size()))) std::abort();
  model.BuildAnchors();
  model.BuildDrawData();
  SSMHandle* handle = model.CreateHandle();
  for (size_t a = 0; a < handle->anims.size() && a < 8; ++a) {
    const auto index = static_cast<int16_t>(a);
    handle->Play(index, 0, 1.0f, static_cast<uint8_t>(a & 1 ? 0x11 : 0x00));
    for (float dt : {0.1f, 2.5f, 1.0e9f, -3.0f}) handle->Advance(index, dt);
  }
  delete handle;
  return 0;
}
