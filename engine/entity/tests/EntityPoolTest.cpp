// Entity memory: blocks of every size an entity class may have, aligned,
// apart from each other, and given back and reused without harm; entities of
// different sizes made and destroyed through the base class.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/entity/EntityBase.h"
#include "engine/entity/EntityPool.h"

namespace {

TEST(EntityPool, BlocksAreAlignedDistinctAndKeepTheirContents) {
  EntityPool pool;
  struct Case {
    const char* name;
    size_t bytes;
  };
  const Case cases[] = {{"one byte", 1}, {"a small entity", 72}, {"an odd size", 333},
                        {"the largest pooled", 2048}, {"past the pool", 2049}, {"large", 100000}};
  for (const Case& c : cases) {
    std::vector<unsigned char*> blocks;
    for (int i = 0; i < 64; ++i) {
      auto* block = static_cast<unsigned char*>(pool.Allocate(c.bytes));
      ASSERT_NE(block, nullptr) << c.name;
      EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % alignof(std::max_align_t), 0u) << c.name;
      std::memset(block, i, c.bytes);
      blocks.push_back(block);
    }
    // Writing each block in full disturbed none of the others.
    for (int i = 0; i < 64; ++i) {
      EXPECT_EQ(blocks[i][0], i) << c.name;
      EXPECT_EQ(blocks[i][c.bytes - 1], i) << c.name;
    }
    for (size_t i = 0; i < blocks.size(); i += 2) pool.Free(blocks[i], c.bytes);
    // Blocks given back are reused (pooled sizes), and blocks made then are
    // apart from those still held.
    std::vector<unsigned char*> freed(blocks.begin(), blocks.end());
    for (size_t i = 0; i < blocks.size(); i += 2) {
      blocks[i] = static_cast<unsigned char*>(pool.Allocate(c.bytes));
      std::memset(blocks[i], 0xEE, c.bytes);
      if (c.bytes <= EntityPool::kLargestPooled) {
        EXPECT_NE(std::find(freed.begin(), freed.end(), blocks[i]), freed.end()) << c.name;
      }
    }
    for (size_t i = 1; i < blocks.size(); i += 2) EXPECT_EQ(blocks[i][c.bytes - 1], i) << c.name;
    for (unsigned char* block : blocks) pool.Free(block, c.bytes);
  }
  pool.Free(nullptr, 16);
}

// Entities of two sizes, destroyed through the base: each block goes back
// under its own size.
class SmallEntity : public cEntity_Base {
 public:
  SmallEntity() : cEntity_Base(nullptr, kEntityType_Base) {}
  int value = 7;
};

class LargeEntity : public cEntity_Base {
 public:
  LargeEntity() : cEntity_Base(nullptr, kEntityType_Base) { std::memset(payload, 0x5A, sizeof payload); }
  unsigned char payload[1500];
};

TEST(EntityPool, EntitiesOfEverySizeAreMadeAndDestroyedThroughTheBase) {
  std::vector<std::unique_ptr<cEntity_Base>> entities;
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 100; ++i) {
      if (i % 3 == 0) {
        entities.emplace_back(new LargeEntity);
      } else {
        entities.emplace_back(new SmallEntity);
      }
      entities.back()->SetName("e" + std::to_string(i));
    }
    // Destroy every other one, then check the rest are intact.
    for (size_t i = 0; i < entities.size(); i += 2) entities[i].reset();
    for (size_t i = 1; i < entities.size(); i += 2) {
      if (auto* small = dynamic_cast<SmallEntity*>(entities[i].get())) {
        EXPECT_EQ(small->value, 7);
      }
      if (auto* large = dynamic_cast<LargeEntity*>(entities[i].get())) {
        EXPECT_EQ(large->payload[1499], 0x5A);
      }
      EXPECT_EQ(entities[i]->LowerNameRef()[0], 'e');
    }
    std::erase(entities, nullptr);
  }
}

}  // namespace
