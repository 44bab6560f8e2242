#include <gtest/gtest.h>

#include <memory>

#include "engine/entity/ActionFactory.h"
#include "engine/entity/tests/EntityTestUtil.h"

namespace {

using enttest::Journal;
using enttest::RecordingAction;
using enttest::RecordingSpawn;

// An action that wants per-frame updates and counts them.
class TickingAction : public cAction_Base {
 public:
  explicit TickingAction(std::string n) : cAction_Base(std::move(n)) { updated = 1; }
  CoreStatus Execute(cEntity_Base*, uintptr_t, const std::string&) override { return status::Ok; }
  void Update(float seconds) override { total += seconds; }
  float total = 0.0f;
};

// A spawn whose members must be released when it is deleted through the
// base class (the sanitizer reports a leak otherwise).
class OwningSpawn : public cSpawn_Base {
 public:
  OwningSpawn(std::string n, bool* destroyed) : cSpawn_Base(std::move(n)), destroyed_(destroyed) {}
  ~OwningSpawn() override { *destroyed_ = true; }
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager*, const std::string&) override { return nullptr; }

 private:
  std::unique_ptr<std::string> payload_ = std::make_unique<std::string>(100, 'x');
  bool* destroyed_;
};

TEST(ActionFactory, NamesAreLowerCasedWhenFiledAndLookedUp) {
  Journal journal;
  cAction_Factory factory;
  auto* action = new RecordingAction("Menu_Open", &journal);
  ASSERT_TRUE(factory.RegisterAction(action, false));
  EXPECT_EQ(action->name, "menu_open");
  std::string asked = "MENU_OPEN";
  EXPECT_EQ(factory.GetAction(asked), action);
  EXPECT_EQ(asked, "menu_open");  // the caller's text is lower-cased
  EXPECT_EQ(action->referenceCount, 1);

  std::string empty;
  EXPECT_EQ(factory.GetAction(empty), nullptr);
  std::string unknown = "Nobody";
  EXPECT_EQ(factory.GetAction(unknown), nullptr);
  EXPECT_EQ(unknown, "nobody");
  EXPECT_FALSE(factory.RegisterAction(nullptr, true));
  EXPECT_FALSE(factory.ReleaseAction(nullptr));
  EXPECT_FALSE(factory.UnregisterAction(nullptr));
  EXPECT_EQ(factory.GetSpawn(empty), nullptr);
  EXPECT_FALSE(factory.RegisterSpawn(nullptr));
  EXPECT_FALSE(factory.ReleaseSpawn(nullptr));
  EXPECT_FALSE(factory.UnregisterSpawn(nullptr));
}

TEST(ActionFactory, ARefusedDuplicateLeavesTheOriginalFiled) {
  Journal journal;
  cAction_Factory factory;
  auto* original = new RecordingAction("Save", &journal);
  RecordingAction duplicate("SAVE", &journal);
  ASSERT_TRUE(factory.RegisterAction(original, false));
  factory.GetAction("save");
  duplicate.referenceCount = 7;
  EXPECT_FALSE(factory.RegisterAction(&duplicate, true));
  // The refused one is still lower-cased and reset, and not on the update list.
  EXPECT_EQ(duplicate.name, "save");
  EXPECT_EQ(duplicate.referenceCount, 0);
  EXPECT_TRUE(factory.GetUpdateList().empty());
  // Unregistering it says it is free but leaves the original in place.
  EXPECT_TRUE(factory.UnregisterAction(&duplicate));
  EXPECT_EQ(factory.GetAction("Save"), original);
  EXPECT_EQ(factory.GetActionCount(), 1u);
}

TEST(ActionFactory, ReferenceCountsTellWhetherAnObjectIsStillHeld) {
  Journal journal;
  cAction_Factory factory;
  auto* action = new RecordingAction("a", &journal);
  factory.RegisterAction(action, false);
  factory.GetAction("A");
  // A count of 1 still removes the entry but answers false.
  EXPECT_FALSE(factory.UnregisterAction(action));
  EXPECT_EQ(factory.GetAction("a"), nullptr);
  // Releasing more often than getting goes below zero and nothing else.
  EXPECT_TRUE(factory.ReleaseAction(action));
  EXPECT_TRUE(factory.ReleaseAction(action));
  EXPECT_EQ(action->referenceCount, -1);
  delete action;

  RecordingSpawn spawn("SPN::X", &journal);
  ASSERT_TRUE(factory.RegisterSpawn(&spawn));
  factory.GetSpawn("spn::x");
  factory.GetSpawn("SPN::X");
  factory.ReleaseSpawn(&spawn);
  EXPECT_EQ(spawn.referenceCount, 1);
  RecordingSpawn twin("spn::X", &journal);
  EXPECT_FALSE(factory.RegisterSpawn(&twin));
  EXPECT_TRUE(factory.UnregisterSpawn(&twin));
  EXPECT_EQ(factory.GetSpawn("spn::x"), &spawn);
  EXPECT_TRUE(factory.UnregisterSpawn(&spawn));
  EXPECT_EQ(factory.GetSpawn("spn::x"), nullptr);
}

TEST(ActionFactory, FlaggedActionsFormTheUpdateList) {
  cAction_Factory factory;
  auto* ticking = new TickingAction("Credits");
  Journal journal;
  auto* still = new RecordingAction("Quiet", &journal);
  factory.RegisterAction(ticking, ticking->IsActive());
  factory.RegisterAction(still, still->IsActive());
  ASSERT_EQ(factory.GetUpdateList().size(), 1u);
  EXPECT_EQ(factory.GetUpdateList()[0], ticking);
  factory.UpdateActions(0.25f);
  factory.UpdateActions(0.5f);
  EXPECT_FLOAT_EQ(ticking->total, 0.75f);
  // Leaving the factory also leaves the list.
  factory.UnregisterAction(ticking);
  EXPECT_TRUE(factory.GetUpdateList().empty());
  delete ticking;
}

TEST(ActionFactory, SingletonPointerFollowsTheLiveObject) {
  EXPECT_EQ(cAction_Factory::GetInstance(), nullptr);
  {
    cAction_Factory first;
    EXPECT_EQ(cAction_Factory::GetInstance(), &first);
    {
      cAction_Factory second;
      EXPECT_EQ(cAction_Factory::GetInstance(), &second);
    }
    EXPECT_EQ(cAction_Factory::GetInstance(), nullptr);
  }
  EXPECT_EQ(cAction_Factory::GetInstance(), nullptr);
}

TEST(ActionFactory, SpawnsAreDestroyedThroughTheirBase) {
  bool destroyed = false;
  std::unique_ptr<cSpawn_Base> spawn = std::make_unique<OwningSpawn>("SPN::OWN", &destroyed);
  spawn.reset();
  EXPECT_TRUE(destroyed);
}

TEST(ActionFactory, DestructionDeletesFiledActionsAndOnlyUnfilesSpawns) {
  Journal journal;
  RecordingSpawn spawn("SPN::KEEP", &journal);
  {
    cAction_Factory factory;
    factory.RegisterAction(new RecordingAction("owned", &journal), false);
    factory.RegisterSpawn(&spawn);
  }
  // The spawn outlives the factory (the sanitizer checks the action).
  EXPECT_EQ(spawn.name, "spn::keep");
}

}  // namespace
