#include <gtest/gtest.h>

#include "engine/config/CommandRegistry.h"

namespace {

CoreStatus First(CStringArray&, CoreParser*) { return status::Ok; }
CoreStatus Second(CStringArray&, CoreParser*) { return status::Fail; }

TEST(CommandRegistryTest, LookupIsExactAndCaseSensitive) {
  OCFactory factory;
  factory.Register("TimeServiceCommand", &First);
  EXPECT_EQ(factory.Lookup("TimeServiceCommand"), &First);
  EXPECT_EQ(factory.Lookup("timeservicecommand"), nullptr);
  EXPECT_EQ(factory.Lookup("TimeService"), nullptr);
  EXPECT_EQ(factory.Lookup(""), nullptr);
}

TEST(CommandRegistryTest, RegisteringTwiceKeepsTheSecondHandler) {
  OCFactory factory;
  factory.Register("CameraPropCommand", &First);
  factory.Register("CameraPropCommand", &Second);
  EXPECT_EQ(factory.Lookup("CameraPropCommand"), &Second);
  EXPECT_EQ(factory.GetCommandCount(), 1u);
}

TEST(CommandRegistryTest, RegisterAllCopiesAndReplaces) {
  OCFactory factory;
  factory.Register("A", &First);
  factory.Register("B", &First);
  factory.RegisterAll(CommandMap{{"B", &Second}, {"C", &Second}});
  EXPECT_EQ(factory.Lookup("A"), &First);
  EXPECT_EQ(factory.Lookup("B"), &Second);
  EXPECT_EQ(factory.Lookup("C"), &Second);
  EXPECT_EQ(factory.GetCommandCount(), 3u);
}

TEST(CommandRegistryTest, ProcessPointerFollowsTheRegistryLifetime) {
  ASSERT_EQ(OCFactory::GetInstance(), nullptr);
  {
    OCFactory factory;
    EXPECT_EQ(OCFactory::GetInstance(), &factory);
  }
  EXPECT_EQ(OCFactory::GetInstance(), nullptr);
}

}  // namespace
