#include "sound/Wave.h"

#include <cstring>

#include "platform/DebugOutput.h"

namespace {

uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// Chunk ids for messages: printable characters only.
std::string IdText(const uint8_t* id) {
  std::string text;
  for (int i = 0; i < 4; ++i) text += (id[i] >= 32 && id[i] < 127) ? static_cast<char>(id[i]) : '?';
  return text;
}

}  // namespace

bool Wave::Load(const std::string& name) {
  std::vector<uint8_t> bytes;
  // The header and chunk headers come on top of the largest data allowed.
  if (!ReadFile(name, size_t{kMaxDataBytes} + 4096, &bytes)) {
    Clear();
    return false;
  }
  return LoadFromMemory(bytes.data(), bytes.size(), name);
}

bool Wave::LoadFromMemory(const uint8_t* bytes, size_t size, const std::string& name) {
  Clear();
  auto fail = [&](const char* why) {
    platform::DebugPrintf("Wave: \"%s\": %s\n", name.c_str(), why);
    Clear();
    return false;
  };
  if (size < 12) return fail("too short for a RIFF header");
  if (std::memcmp(bytes, "RIFF", 4) != 0) return fail("not a RIFF file");
  const uint32_t riffSize = U32(bytes + 4);
  if (riffSize < 4) return fail("RIFF size too small");
  if (std::memcmp(bytes + 8, "WAVE", 4) != 0) return fail("not a WAVE file");
  if (riffSize > size - 8) return fail("RIFF size runs past the end of the file");

  platform::WAVEFORMATEX format{};
  bool haveFormat = false, haveData = false;
  size_t pos = 12;
  uint32_t remaining = riffSize - 4;
  while (remaining > 0) {
    if (remaining < 8) return fail("stray bytes where a chunk header is due");
    const uint8_t* header = bytes + pos;
    const uint32_t bodySize = U32(header + 4);
    pos += 8;
    remaining -= 8;
    if (bodySize > remaining) {
      platform::DebugPrintf("Wave: \"%s\": chunk \"%s\" of %u bytes runs past the RIFF data\n", name.c_str(),
                            IdText(header).c_str(), bodySize);
      return fail("truncated chunk");
    }
    const uint8_t* body = bytes + pos;
    if (std::memcmp(header, "fmt ", 4) == 0) {
      if (haveFormat) return fail("more than one \"fmt \" chunk");
      if (bodySize != 16) return fail("\"fmt \" chunk is not 16 bytes");
      format.formatTag = U16(body);
      format.channels = U16(body + 2);
      format.samplesPerSec = U32(body + 4);
      format.avgBytesPerSec = U32(body + 8);
      format.blockAlign = U16(body + 12);
      format.bitsPerSample = U16(body + 14);
      format.extraSize = 0;
      if (!CheckFormat(format, name)) return fail("bad \"fmt \" chunk");
      haveFormat = true;
    } else if (std::memcmp(header, "data", 4) == 0) {
      if (haveData) return fail("more than one \"data\" chunk");
      if (bodySize == 0) return fail("empty \"data\" chunk");
      if (bodySize > kMaxDataBytes) return fail("\"data\" chunk too large");
      // The size was checked against the bytes present before this copy.
      data_.assign(body, body + bodySize);
      haveData = true;
    }
    pos += bodySize;
    remaining -= bodySize;
    // Odd-sized chunks are followed by a pad byte; a file may end without it.
    if ((bodySize & 1) && remaining > 0) {
      ++pos;
      --remaining;
    }
  }
  if (!haveFormat) return fail("no \"fmt \" chunk");
  if (!haveData) return fail("no \"data\" chunk");
  if (data_.size() % format.blockAlign != 0) return fail("\"data\" chunk ends inside a sample frame");
  format_ = std::make_unique<platform::WAVEFORMATEX>(format);
  return true;
}
