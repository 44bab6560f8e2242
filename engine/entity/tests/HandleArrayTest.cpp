#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/entity/HandleArray.h"
#include "engine/entity/HandleBase.h"

namespace {

// Counts destructions so ownership can be checked.
struct Item : HandleBase {
  explicit Item(int* deaths = nullptr) : deaths_(deaths) {}
  ~Item() override {
    if (deaths_) ++*deaths_;
  }
  int* deaths_;
};

void ExpectConsistent(const HandleArray& array) {
  for (int32_t i = 0; i < array.GetCount(); ++i) {
    if (HandleBase* item = array.GetAt(i)) {
      EXPECT_EQ(item->GetHandle(), i);
      EXPECT_EQ(item->GetOwner(), &array);
    }
  }
}

TEST(HandleArray, InitRaisesCapacityAndTheLastSlotIsNeverFilled) {
  HandleArray array;
  array.Init(10, 0);
  EXPECT_EQ(array.GetCapacity(), 32);
  EXPECT_EQ(array.GetListCount(), 0);
  for (int i = 0; i < 31; ++i) array.Add(new Item());
  // The 31st add (count 30) went to position 30 without growing.
  EXPECT_EQ(array.GetAt(30)->GetHandle(), 30);
  EXPECT_EQ(array.GetCapacity(), 32);
  // The 32nd would fill the last slot: nothing to compact, so it grows.
  auto* last = new Item();
  array.Add(last);
  EXPECT_EQ(array.GetCapacity(), 64);
  EXPECT_EQ(last->GetHandle(), 31);
  EXPECT_EQ(array.GetCount(), 32);
  ExpectConsistent(array);
}

TEST(HandleArray, RemoveLeavesAHoleThatCompactionClosesWhenTheArrayIsFull) {
  HandleArray array;
  array.Init(32, 0);
  std::vector<Item*> items;
  for (int i = 0; i < 5; ++i) {
    items.push_back(new Item());
    array.Add(items.back());
  }
  EXPECT_EQ(array.Remove(items[3]), items[3]);
  EXPECT_EQ(array.GetAt(3), nullptr);
  EXPECT_EQ(array.CountLive(), 4);
  EXPECT_EQ(array.GetCount(), 5);
  EXPECT_EQ(items[3]->GetHandle(), -1);
  EXPECT_EQ(items[3]->GetOwner(), nullptr);
  delete items[3];

  // Fill up to the last slot: the add that would fill it compacts instead of
  // growing, and item 4 moves down to 3.
  while (array.GetCount() + 1 < array.GetCapacity()) array.Add(new Item());
  array.Add(new Item());
  EXPECT_EQ(array.GetCapacity(), 32);
  EXPECT_EQ(items[4]->GetHandle(), 3);
  EXPECT_EQ(array.GetAt(3), items[4]);
  EXPECT_EQ(array.CountLive(), array.GetCount());
  ExpectConsistent(array);
}

TEST(HandleArray, CompactionRenumbersIndexListsAndGrowthExtendsThem) {
  HandleArray array;
  array.Init(32, 2);
  std::vector<Item*> items;
  for (int i = 0; i < 4; ++i) {
    items.push_back(new Item());
    array.Add(items.back());
  }
  int32_t* list = array.GetList(0);
  ASSERT_NE(list, nullptr);
  list[0] = 3;
  list[1] = 1;
  list[2] = -1;
  array.SetListLength(0, 3);
  array.RemoveAndDelete(items[1]);
  EXPECT_EQ(array.Compact(), 3);
  EXPECT_EQ(list[0], 2);   // item 3 moved to 2
  EXPECT_EQ(list[1], -1);  // named the removed item
  EXPECT_EQ(list[2], -1);
  EXPECT_EQ(array.Grow(), 64);
  list = array.GetList(0);
  EXPECT_EQ(list[0], 2);
  EXPECT_EQ(list[63], -1);
  EXPECT_EQ(array.GetListLength(0), 3);
  // Lists outside the range are none.
  EXPECT_EQ(array.GetList(2), nullptr);
  EXPECT_EQ(array.GetList(-1), nullptr);
  EXPECT_EQ(array.GetListLength(5), 0);
  ExpectConsistent(array);
}

TEST(HandleArray, ForeignNullAndBadIndexesAreLeftAlone) {
  int deaths = 0;
  HandleArray a;
  HandleArray b;
  a.Init(32, 0);
  b.Init(32, 0);
  auto* item = new Item(&deaths);
  a.Add(item);
  b.Add(item);  // already held by a
  EXPECT_EQ(b.GetCount(), 0);
  b.Remove(item);
  b.RemoveAndDelete(item);  // neither removed nor destroyed
  EXPECT_EQ(deaths, 0);
  EXPECT_EQ(item->GetOwner(), &a);
  a.Add(nullptr);
  EXPECT_EQ(a.Remove(nullptr), nullptr);
  a.RemoveAndDelete(nullptr);
  for (int32_t bad : {-1, 1, 1000}) EXPECT_EQ(a.GetAt(bad), nullptr);
  EXPECT_EQ(a.GetAt(0), item);
  // Register goes through the array's Add.
  auto* other = new Item(&deaths);
  other->Register(&b);
  other->Register(nullptr);
  EXPECT_EQ(b.GetAt(0), other);
}

TEST(HandleArray, ClearAndDestructionDestroyEveryHeldItem) {
  int deaths = 0;
  {
    HandleArray array;
    array.Init(32, 4);
    for (int i = 0; i < 40; ++i) array.Add(new Item(&deaths));
    array.RemoveAndDelete(array.GetAt(7));
    EXPECT_EQ(deaths, 1);
    array.Clear();
    EXPECT_EQ(deaths, 40);
    EXPECT_EQ(array.GetCapacity(), 0);
    EXPECT_EQ(array.GetCount(), 0);
    EXPECT_EQ(array.GetListCount(), 0);
    // A cleared array grows again on its next add.
    array.Add(new Item(&deaths));
    EXPECT_EQ(array.GetCapacity(), 32);
  }
  EXPECT_EQ(deaths, 41);
}

}  // namespace
