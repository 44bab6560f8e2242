// Feeds arbitrary bytes to the data-table reader through a file: the file
// path must read exactly what the in-memory reader is given, accept and refuse
// the same inputs, and load the same table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/files/DataFile.h"
#include "platform/DebugOutput.h"
#include "platform/tests/FuzzFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = [] {
    platform::SetDebugStderr(false);
    return true;
  }();
  (void)quiet;
  static const std::string path = FuzzFile("fuzz_table.txt");
  FuzzWriteFile(path, data, size);
  CDataFile fromFile;
  CDataFile fromMemory;
  const bool fileOk = fromFile.Load(path);
  const bool memoryOk = fromMemory.LoadFromMemory(std::string_view(reinterpret_cast<const char*>(data), size));
  if (fileOk != memoryOk) std::abort();
  if (fileOk && fromFile.SaveToText() != fromMemory.SaveToText()) std::abort();
  return 0;
}
