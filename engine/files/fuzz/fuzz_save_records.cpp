// Feeds arbitrary bytes to the save-block reader as a file, and the blocks it
// accepts to the record reader. Accepted blocks must write back to the same
// bytes and read back equal.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/files/SerializeRecord.h"
#include "engine/files/Serializer.h"
#include "platform/DebugOutput.h"
#include "platform/tests/FuzzFiles.h"

namespace {

std::vector<std::vector<uint8_t>> ReadAll(const std::string& path, int64_t* consumed) {
  std::vector<std::vector<uint8_t>> blocks;
  cSerializer in;
  if (!in.Initialize(path, false)) std::abort();
  SerialBlock block;
  uint32_t n = 0;
  while (true) {
    const int64_t before = in.GetPosition();
    if (!in.ReadBlock(&block, &n)) {
      *consumed = before;
      break;
    }
    if ((n == 0) != (block == nullptr)) std::abort();
    blocks.emplace_back(block.get(), block.get() + n);
  }
  in.Close();
  return blocks;
}

// Decodes a block with reads chosen by its own bytes.
void Decode(const std::vector<uint8_t>& block) {
  SaveRecordReader r(block.empty() ? nullptr : block.data(), static_cast<uint32_t>(block.size()));
  uint8_t op = 0;
  std::string s;
  uint8_t u8;
  uint16_t u16;
  uint32_t u32;
  float f;
  uint8_t scratch[16];
  while (r.GetU8(&op)) {
    const size_t before = r.Remaining();
    bool ok = false;
    switch (op % 8) {
      case 0: ok = r.GetU8(&u8); break;
      case 1: ok = r.GetU16(&u16); break;
      case 2: ok = r.GetU32(&u32); break;
      case 3: ok = r.GetF32(&f); break;
      case 4: ok = r.GetString8(&s); break;
      case 5: ok = r.GetString16(&s); break;
      case 6: ok = r.GetBytes(scratch, op % 17); break;
      default: ok = r.Skip(op / 8); break;
    }
    if (ok && r.Remaining() > before) std::abort();
    if (!ok && (r.Ok() || r.Remaining() != 0)) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = (platform::SetDebugStderr(false), true);
  (void)quiet;
  static const std::string input = FuzzFile("input.kv9");
  static const std::string output = FuzzFile("output.kv9");
  FuzzWriteFile(input, data, size);

  int64_t consumed = 0;
  const auto blocks = ReadAll(input, &consumed);
  for (const auto& b : blocks) Decode(b);

  cSerializer out;
  if (!out.Initialize(output, true)) std::abort();
  for (const auto& b : blocks) {
    if (!out.WriteBlock(b.empty() ? nullptr : b.data(), static_cast<uint32_t>(b.size()))) std::abort();
  }
  if (!out.Close()) std::abort();

  // The accepted prefix of the input is exactly what was written back.
  FILE* f = std::fopen(output.c_str(), "rb");
  if (!f) std::abort();
  std::vector<uint8_t> written(static_cast<size_t>(consumed) + 1);
  const size_t got = std::fread(written.data(), 1, written.size(), f);
  std::fclose(f);
  if (got != static_cast<size_t>(consumed) || (got && std::memcmp(written.data(), data, got) != 0)) std::abort();

  int64_t again = 0;
  if (ReadAll(output, &again) != blocks || again != consumed) std::abort();
  return 0;
}
