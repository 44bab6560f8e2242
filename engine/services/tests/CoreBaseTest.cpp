#include <gtest/gtest.h>

#include "engine/services/CoreBase.h"
#include "engine/services/CorePack.h"
#include "engine/services/Core_OCPack.h"

namespace {

CoreStatus HandlerA(CStringArray&, CoreParser*) { return status::Ok; }
CoreStatus HandlerB(CStringArray&, CoreParser*) { return status::Fail; }

struct Item {
  int index;
};

// A concrete spawn-style package with two items.
class TwoItemPack : public CorePack<Item> {
 public:
  const char* GetName() override { return "[Test_Package]"; }
  eServiceType GetServiceType() override { return eService_SpawnPack; }
  Item* CreateItem(uint32_t index) override { return index < 2 ? new Item{static_cast<int>(index)} : nullptr; }
};

TEST(CoreBaseTest, OCPackDescribesItselfAndHasNoOptions) {
  Core_OCPack pack;
  EXPECT_TRUE(pack.Init());
  EXPECT_TRUE(pack.ApplyConfig());
  EXPECT_STREQ(pack.GetName(), "[OCPackage]");
  EXPECT_STREQ(pack.GetDescription(), "Object Command Package Class");
  EXPECT_EQ(pack.GetServiceType(), 12);
  CoreBaseConfigMap dummy;
  CoreBaseConfigMap* options = &dummy;
  EXPECT_EQ(pack.GetConfig(&options), 0u);
  EXPECT_EQ(options, nullptr);
  EXPECT_EQ(pack.GetStatusLogName(), "status.log");
  EXPECT_TRUE(pack.IsLoggingEnabled());
}

TEST(CoreBaseTest, PackagesKeepTheResourcePathButNoLibraryPath) {
  Core_OCPack ocPack;
  CorePack<Item> basePack;
  for (CoreBase* module : {static_cast<CoreBase*>(&ocPack), static_cast<CoreBase*>(&basePack)}) {
    EXPECT_EQ(module->GetResourcePath(), "");
    module->SetLibraryPath("plugins/");
    module->SetResourcePath("data/");
    EXPECT_EQ(module->GetLibraryPath(), "");
    EXPECT_EQ(module->GetResourcePath(), "data/");
  }
}

TEST(CoreBaseTest, EmptyOCPackCopiesNothing) {
  Core_OCPack pack;
  CommandMap target{{"Keep", &HandlerA}};
  EXPECT_FALSE(pack.CopyCommandsTo(target));
  ASSERT_EQ(target.size(), 1u);
  EXPECT_EQ(target["Keep"], &HandlerA);
}

TEST(CoreBaseTest, OCPackCommandsReplaceSameNamedTargetEntries) {
  Core_OCPack pack;
  (*pack.GetCommandMap())["Shared"] = &HandlerB;
  (*pack.GetCommandMap())["Own"] = &HandlerA;
  CommandMap target{{"Shared", &HandlerA}, {"Other", &HandlerA}};
  EXPECT_TRUE(pack.CopyCommandsTo(target));
  EXPECT_EQ(target.size(), 3u);
  EXPECT_EQ(target["Shared"], &HandlerB);
  EXPECT_EQ(target["Own"], &HandlerA);
  EXPECT_EQ(target["Other"], &HandlerA);
  EXPECT_EQ(pack.GetCommandMap()->size(), 2u);
}

TEST(CoreBaseTest, PackBaseHasNoItemsAndActionDefaults) {
  CorePack<Item> pack;
  EXPECT_EQ(pack.CreateItem(0), nullptr);
  EXPECT_STREQ(pack.GetName(), "[Action_Package]");
  EXPECT_STREQ(pack.GetDescription(), "Base Action Package Class");
  EXPECT_EQ(pack.GetServiceType(), eService_ActionPack);
  EXPECT_EQ(pack.GetConfig(nullptr), 0u);
}

TEST(CoreBaseTest, ConcretePackHandsOutItemsUntilNone) {
  TwoItemPack pack;
  CorePack<Item>& base = pack;
  std::vector<std::unique_ptr<Item>> items;
  for (uint32_t i = 0;; ++i) {
    Item* item = base.CreateItem(i);
    if (!item) break;
    items.emplace_back(item);
  }
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[1]->index, 1);
  EXPECT_EQ(base.GetServiceType(), 10);
  EXPECT_STREQ(base.GetDescription(), "Base Action Package Class");
}

}  // namespace
