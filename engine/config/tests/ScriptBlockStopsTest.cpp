// Every way of working out a block's run ends gives the masks a byte-by-byte
// reading gives, so the tokenizer reads alike on every processor.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine/config/ScriptBlockStops.h"

namespace {

using script_blocks::Stops;

void ByteByByte(const unsigned char* p, Stops stops) {
  for (int s = 0; s < script_blocks::kStopCount; ++s) stops[s] = 0;
  for (int k = 0; k < 64; ++k) {
    const unsigned c = p[k];
    const bool control = c == 0 || c == '\a' || c == '\b' || c == '\t' || c == '\n' || c == '\v' || c == '\f' ||
                         c == '\r';
    const bool quote = c == '"', backslash = c == '\\', space = c == ' ', semicolon = c == ';', slash = c == '/';
    const uint64_t bit = uint64_t{1} << k;
    if (control || quote || space || semicolon || slash) stops[script_blocks::kOutside] |= bit;
    if (control || quote || backslash) stops[script_blocks::kInside] |= bit;
    if (control || quote || backslash || space || semicolon) stops[script_blocks::kInsideUnquoted] |= bit;
    if (!control && !space) stops[script_blocks::kNotBlank] |= bit;
  }
}

// Blocks holding every byte value at every place, and random mixes weighted
// towards the bytes that end runs.
std::vector<std::string> Blocks() {
  std::vector<std::string> blocks;
  for (int first = 0; first < 256; first += 64) {
    std::string block(64, '\0');
    for (int k = 0; k < 64; ++k) block[static_cast<size_t>(k)] = static_cast<char>(first + k);
    blocks.push_back(block);
    blocks.emplace_back(block.rbegin(), block.rend());
  }
  static constexpr char kSpecial[] = "\0\a\b\t\n\v\f\r\x06\x0e \"/;\\*{}x\x7f\x80\xff";
  const std::string special(kSpecial, sizeof kSpecial - 1);
  std::mt19937 random(7);
  for (int b = 0; b < 2000; ++b) {
    std::string block(64, '\0');
    for (char& c : block) {
      c = random() % 2 ? special[random() % special.size()] : static_cast<char>(random() % 256);
    }
    blocks.push_back(block);
  }
  return blocks;
}

TEST(ScriptBlockStopsTest, EveryWayGivesTheByteByByteMasks) {
  const bool wide = script_blocks::HasWide();
  for (const std::string& block : Blocks()) {
    Stops expected, portable;
    ByteByByte(reinterpret_cast<const unsigned char*>(block.data()), expected);
    script_blocks::ClassifyPortable(block.data(), portable);
    Stops chosen;
    script_blocks::Classify(block.data(), chosen);
    for (int s = 0; s < script_blocks::kStopCount; ++s) {
      ASSERT_EQ(portable[s], expected[s]) << "stop " << s;
      ASSERT_EQ(chosen[s], expected[s]) << "stop " << s;
    }
#if defined(SCRIPT_BLOCK_STOPS_WIDE)
    if (wide) {
      Stops widest;
      script_blocks::ClassifyWide(block.data(), widest);
      for (int s = 0; s < script_blocks::kStopCount; ++s) ASSERT_EQ(widest[s], expected[s]) << "stop " << s;
    }
#endif
  }
  if (!wide) GTEST_LOG_(INFO) << "this processor has no 64-byte vectors: the portable way was checked alone";
}

}  // namespace
