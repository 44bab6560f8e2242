// Feeds arbitrary text to the model description reader: it must refuse with
// a reason or build a model that the model writer and reader both accept.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/DebugOutput.h"
#include "tools/ssmtool/SSMDescription.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = [] {
    platform::SetDebugStderr(false);
    return true;
  }();
  (void)quiet;
  const std::string text(reinterpret_cast<const char*>(data), size);
  SSMObject model;
  std::string error;
  if (!BuildSSMFromDescription(text, &model, &error)) {
    if (error.empty()) std::abort();
    return 0;
  }
  std::vector<uint8_t> bytes;
  if (status::Failed(model.Save(&bytes))) std::abort();
  SSMObject back;
  if (status::Failed(back.Load(bytes.data(), bytes.size()))) std::abort();
  return 0;
}
