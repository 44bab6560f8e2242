#include "base/TextArena.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

TEST(TextArena, KeptTextsStayIntactAcrossManyBlocks) {
  TextArena arena;
  std::vector<std::string> originals;
  std::vector<std::string_view> kept;
  // Sizes from one byte to past the largest block, so pieces land in new
  // blocks, fill them up and get blocks of their own.
  for (size_t i = 0; i < 3000; ++i) {
    const size_t size = i == 1500 ? (size_t{20} << 20) : 1 + (i * 37) % 700;
    originals.push_back(std::string(size, static_cast<char>('a' + i % 26)) + std::to_string(i));
    kept.push_back(arena.Keep(originals.back()));
  }
  for (size_t i = 0; i < kept.size(); ++i) {
    ASSERT_EQ(kept[i], originals[i]) << "piece " << i;
    EXPECT_NE(kept[i].data(), originals[i].data()) << "a copy, not the caller's bytes";
  }
  EXPECT_TRUE(arena.Keep("").empty());
}

TEST(TextArena, ArraysAreAlignedAndDefaultConstructed) {
  TextArena arena;
  for (int round = 0; round < 200; ++round) {
    arena.Keep(std::string(static_cast<size_t>(round % 13 + 1), 'x'));  // leaves the next byte unaligned
    uint64_t* words = arena.NewArray<uint64_t>(static_cast<size_t>(round % 5 + 1));
    std::string_view* views = arena.NewArray<std::string_view>(3);
    ASSERT_EQ(reinterpret_cast<uintptr_t>(words) % alignof(uint64_t), 0u);
    ASSERT_EQ(reinterpret_cast<uintptr_t>(views) % alignof(std::string_view), 0u);
    for (int i = 0; i < round % 5 + 1; ++i) EXPECT_EQ(words[i], 0u);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(views[i].empty());
  }
}

TEST(TextArena, AClearedArenaServesAgainAndANewOneWorksTheSame) {
  std::vector<std::string_view> second;
  {
    TextArena first;
    for (int i = 0; i < 5000; ++i) first.Keep(std::string(100, 'o'));
    first.Clear();
    for (int i = 0; i < 100; ++i) second.push_back(first.Keep("reused " + std::to_string(i)));
    for (int i = 0; i < 100; ++i) EXPECT_EQ(second[static_cast<size_t>(i)], "reused " + std::to_string(i));
  }
  // Arenas let go of their blocks when destroyed; a new one works the same.
  TextArena third;
  for (int i = 0; i < 5000; ++i) ASSERT_EQ(third.Keep("n" + std::to_string(i)), "n" + std::to_string(i));
}

}  // namespace
