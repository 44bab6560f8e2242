// The open list against the sorted array it stands for: each new entry goes
// before the first entry of equal or greater f, and pops take the front.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <utility>
#include <vector>

#include "construction/PathFinder.h"
#include "construction/PathOpenList.h"

namespace {

struct SortedArray {
  std::vector<std::pair<uint32_t, cPathNode*>> items;
  void Push(cPathNode* node, uint32_t f) {
    size_t at = 0;
    while (at < items.size() && items[at].first < f) ++at;
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(at), {f, node});
  }
  cPathNode* Pop() {
    cPathNode* node = items.front().second;
    items.erase(items.begin());
    return node;
  }
};

TEST(PathOpenList, PopsInTheSortedArraysOrderIncludingFallingCosts) {
  std::vector<std::unique_ptr<cPathNode>> owned;
  std::vector<cPathNode*> nodes;
  for (uint16_t i = 0; i < 64; ++i) {
    owned.push_back(std::make_unique<cPathNode>(i, 0, 2));
    nodes.push_back(owned.back().get());
  }
  struct Case {
    const char* name;
    uint32_t lowest, spread;  // f values drawn from [lowest, lowest + spread)
    int popEvery;             // a pop after this many pushes
  };
  const Case cases[] = {
      {"ties only", 7, 1, 3},
      {"rising and falling", 50, 40, 2},
      {"first push highest", 0, 1000, 4},
      {"pops drain the list between pushes", 10, 5, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::mt19937 rng(c.lowest + c.spread);
    PathOpenList list;
    for (int round = 0; round < 2; ++round) {  // the second round reuses the storage
      SortedArray model;
      if (c.spread > 1) {
        list.Push(nodes[0], c.lowest + c.spread - 1);
        model.Push(nodes[0], c.lowest + c.spread - 1);
      }
      for (size_t i = 1; i < nodes.size(); ++i) {
        const uint32_t f = c.lowest + rng() % c.spread;
        list.Push(nodes[i], f);
        model.Push(nodes[i], f);
        if (i % static_cast<size_t>(c.popEvery) == 0) {
          ASSERT_EQ(list.Pop(), model.Pop());
        }
      }
      ASSERT_EQ(list.Size(), model.items.size());
      while (!model.items.empty()) ASSERT_EQ(list.Pop(), model.Pop());
      EXPECT_TRUE(list.Empty());
      list.Clear();
    }
  }
}

}  // namespace
