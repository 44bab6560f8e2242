// RIFF/WAVE parsing: a table of good files and of every kind of bad one.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/DebugOutput.h"
#include "platform/tests/ScratchDir.h"
#include "sound/Wave.h"

namespace soundtest {
namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

Bytes Fmt(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, int alignDelta = 0, int rateDelta = 0) {
  Bytes b;
  const auto align = static_cast<uint16_t>(channels * bits / 8 + alignDelta);
  Put16(b, tag);
  Put16(b, channels);
  Put32(b, rate);
  Put32(b, rate * (channels * bits / 8) + rateDelta);
  Put16(b, align);
  Put16(b, bits);
  return b;
}

// A chunk with an explicit size field (for lying sizes) and its body;
// odd bodies get their pad byte unless told otherwise.
Bytes Chunk(const char* id, const Bytes& body, bool pad = true, int64_t sizeField = -1) {
  Bytes b(id, id + 4);
  Put32(b, sizeField < 0 ? static_cast<uint32_t>(body.size()) : static_cast<uint32_t>(sizeField));
  b.insert(b.end(), body.begin(), body.end());
  if (pad && (body.size() & 1)) b.push_back(0);
  return b;
}

// RIFF/WAVE around the chunks; the RIFF size is right unless given, and
// `extra` bytes follow inside or outside the RIFF data as the size says.
Bytes Riff(const std::vector<Bytes>& chunks, int64_t riffSize = -1, const Bytes& tail = {}) {
  Bytes body;
  for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
  Bytes b = {'R', 'I', 'F', 'F'};
  Put32(b, riffSize < 0 ? static_cast<uint32_t>(body.size() + 4) : static_cast<uint32_t>(riffSize));
  b.insert(b.end(), {'W', 'A', 'V', 'E'});
  b.insert(b.end(), body.begin(), body.end());
  b.insert(b.end(), tail.begin(), tail.end());
  return b;
}

Bytes Samples(size_t n, uint8_t seed) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(seed + i * 7);
  return b;
}

const Bytes kStereo16 = Fmt(1, 2, 44100, 16);
const Bytes kMono8 = Fmt(1, 1, 11025, 8);
const Bytes kData = Samples(64, 3);
const Bytes kList = Samples(10, 90);

struct Good {
  const char* what;
  Bytes file;
  uint16_t channels;
  Bytes data;
};

TEST(WaveLoader, GoodFilesLoad) {
  const Bytes oddData = Samples(5, 40);
  const Good cases[] = {
      {"plain", Riff({Chunk("fmt ", kStereo16), Chunk("data", kData)}), 2, kData},
      {"LIST before and after fmt",
       Riff({Chunk("LIST", kList), Chunk("fmt ", kStereo16), Chunk("LIST", kList), Chunk("data", kData)}), 2, kData},
      {"data before fmt", Riff({Chunk("data", kData), Chunk("fmt ", kStereo16)}), 2, kData},
      {"odd chunk with pad byte", Riff({Chunk("fmt ", kStereo16), Chunk("junk", Samples(3, 1)), Chunk("data", kData)}),
       2, kData},
      {"odd data last, no pad", Riff({Chunk("fmt ", kMono8), Chunk("data", oddData, false)}), 1, oddData},
      {"odd data then a chunk", Riff({Chunk("fmt ", kMono8), Chunk("data", oddData), Chunk("LIST", kList)}), 1,
       oddData},
      {"id with a zero byte is skipped",
       Riff({Chunk("fmt ", kStereo16), Chunk("da\0a", Samples(8, 0)), Chunk("data", kData)}), 2, kData},
      {"bytes after the RIFF data", Riff({Chunk("fmt ", kStereo16), Chunk("data", kData)}, -1, Samples(5, 0)), 2,
       kData},
  };
  for (const Good& c : cases) {
    Wave wave;
    ASSERT_TRUE(wave.LoadFromMemory(c.file.data(), c.file.size(), "good.wav")) << c.what;
    ASSERT_NE(wave.GetFormat(), nullptr);
    EXPECT_EQ(wave.GetFormat()->channels, c.channels) << c.what;
    EXPECT_EQ(wave.GetFormat()->extraSize, 0);
    ASSERT_EQ(wave.GetDataSize(), c.data.size()) << c.what;
    EXPECT_EQ(std::memcmp(wave.GetData(), c.data.data(), c.data.size()), 0) << c.what;
  }
}

TEST(WaveLoader, BadFilesFailCleanly) {
  const Bytes fmtChunk = Chunk("fmt ", kStereo16);
  const Bytes dataChunk = Chunk("data", kData);
  Bytes fmt18 = kStereo16;
  fmt18.insert(fmt18.end(), {0, 0});
  Bytes junk = Riff({});
  for (int i = 0; i < 300; ++i) junk.push_back(static_cast<uint8_t>(i * 37 + 11));
  Bytes notRiff = Riff({fmtChunk, dataChunk});
  notRiff[0] = 'X';
  Bytes notWave = Riff({fmtChunk, dataChunk});
  notWave[8] = 'X';
  const size_t body = fmtChunk.size() + dataChunk.size() + 4;
  struct Bad {
    const char* what;
    Bytes file;
  } cases[] = {
      {"empty", {}},
      {"shorter than a header", Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0}},
      {"not RIFF", notRiff},
      {"not WAVE", notWave},
      {"RIFF size 0", Riff({fmtChunk, dataChunk}, 0)},
      {"RIFF size 3", Riff({fmtChunk, dataChunk}, 3)},
      {"RIFF size past the file", Riff({fmtChunk, dataChunk}, static_cast<int64_t>(body + 8))},
      {"1 trailing byte", Riff({fmtChunk, dataChunk}, static_cast<int64_t>(body + 1), Bytes(1))},
      {"7 trailing bytes", Riff({fmtChunk, dataChunk}, static_cast<int64_t>(body + 7), Bytes(7))},
      {"huge data size", Riff({fmtChunk, Chunk("data", kData, true, 0xFFFFFFF0)})},
      {"data past the RIFF end", Riff({fmtChunk, Chunk("data", kData, true, 65)})},
      {"unknown chunk past the end", Riff({fmtChunk, dataChunk, Chunk("LIST", kList, true, 1000)})},
      {"fmt of 18 bytes", Riff({Chunk("fmt ", fmt18), dataChunk})},
      {"fmt of 14 bytes", Riff({Chunk("fmt ", Bytes(kStereo16.begin(), kStereo16.begin() + 14)), dataChunk})},
      {"two fmt", Riff({fmtChunk, fmtChunk, dataChunk})},
      {"two data", Riff({fmtChunk, dataChunk, dataChunk})},
      {"no fmt", Riff({dataChunk})},
      {"no data", Riff({fmtChunk})},
      {"no chunks", Riff({})},
      {"empty data", Riff({fmtChunk, Chunk("data", {})})},
      {"float samples", Riff({Chunk("fmt ", Fmt(3, 2, 44100, 16)), dataChunk})},
      {"no channels", Riff({Chunk("fmt ", Fmt(1, 0, 44100, 16)), dataChunk})},
      {"six channels", Riff({Chunk("fmt ", Fmt(1, 6, 44100, 16)), dataChunk})},
      {"24 bits", Riff({Chunk("fmt ", Fmt(1, 2, 44100, 24)), dataChunk})},
      {"rate 0", Riff({Chunk("fmt ", Fmt(1, 2, 0, 16)), dataChunk})},
      {"wrong block size", Riff({Chunk("fmt ", Fmt(1, 2, 44100, 16, 2)), dataChunk})},
      {"byte rate 0", Riff({Chunk("fmt ", Fmt(1, 2, 44100, 16, 0, -176400)), dataChunk})},
      {"data ends inside a frame", Riff({fmtChunk, Chunk("data", Samples(6, 1))})},
      {"odd chunk without its pad", Riff({fmtChunk, Chunk("junk", Samples(3, 1), false), dataChunk})},
      {"binary junk", junk},
  };
  platform::ScopedDebugCapture capture;
  platform::SetDebugStderr(false);
  const Bytes good = Riff({fmtChunk, dataChunk});
  for (const Bad& c : cases) {
    Wave wave;
    ASSERT_TRUE(wave.LoadFromMemory(good.data(), good.size(), "good.wav"));
    capture.Clear();
    EXPECT_FALSE(wave.LoadFromMemory(c.file.data(), c.file.size(), "bad.wav")) << c.what;
    EXPECT_EQ(wave.GetFormat(), nullptr) << c.what;
    EXPECT_EQ(wave.GetDataSize(), 0u) << c.what;
    EXPECT_TRUE(capture.Contains("Wave: \"bad.wav\"")) << c.what;
  }
  // Every prefix of a good file is refused, never read past.
  for (size_t n = 0; n < good.size(); ++n) {
    Wave wave;
    const Bytes prefix(good.begin(), good.begin() + static_cast<ptrdiff_t>(n));
    EXPECT_FALSE(wave.LoadFromMemory(prefix.data(), prefix.size(), "cut.wav")) << n;
  }
}

TEST(WaveLoader, LoadsThroughThePathResolver) {
  ScratchDir dir;
  dir.Write("Sounds/Beep.wav", Riff({Chunk("fmt ", kMono8), Chunk("data", Samples(9, 5))}));
  Wave wave;
  EXPECT_TRUE(wave.Load(dir.File("sounds\\BEEP.WAV")));
  EXPECT_EQ(wave.GetDataSize(), 9u);
  platform::SetDebugStderr(false);
  EXPECT_FALSE(wave.Load(dir.File("sounds\\missing.wav")));
  EXPECT_EQ(wave.GetFormat(), nullptr);
}

}  // namespace
}  // namespace soundtest
