#include <gtest/gtest.h>

#include "engine/entity/ActionManager.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/entity/tests/EntityTestUtil.h"

namespace {

using enttest::Journal;
using enttest::RecordingAction;
using enttest::RecordingSpawn;

class TickingAction : public RecordingAction {
 public:
  TickingAction(std::string n, Journal* journal) : RecordingAction(std::move(n), journal) { updated = 1; }
};

TEST(ActionManager, FilesWhatItOwnsWithTheTablesFactoryAndEndsIt) {
  Journal journal;
  cCore_GlobalWrapper table;
  ASSERT_NE(table.entityManager, nullptr);
  table.entityManager->SetGlobalWrapper(&table);
  cAction_Factory& factory = *table.actionFactory;
  {
    cActionManager owner(table.entityManager);
    EXPECT_EQ(owner.GetGlobalWrapper(), &table);
    owner.AddSpawn(new RecordingSpawn("SPN::GAME:PLANE", &journal));
    owner.AddAction(new RecordingAction("Menu_Open", &journal));
    owner.AddAction(new TickingAction("Credits", &journal));
    owner.AddAction(nullptr);
    EXPECT_EQ(owner.GetActions().size(), 2u);
    EXPECT_EQ(owner.RegisterWithFactory(), status::Ok);
    EXPECT_EQ(factory.GetSpawn("spn::game:plane"), owner.GetSpawns()[0]);
    EXPECT_NE(factory.GetAction("MENU_OPEN"), nullptr);
    ASSERT_EQ(factory.GetUpdateList().size(), 1u);
    EXPECT_EQ(factory.GetUpdateList()[0]->name, "credits");

    // An entity may be made from the filed spawn by name.
    cEntity_Base* plane = nullptr;
    EXPECT_EQ(table.entityManager->CreateEntityByName("SPN::GAME:PLANE", &plane), status::Ok);
    EXPECT_NE(plane, nullptr);
  }
  // The destructor unfiled and destroyed everything (the sanitizer checks
  // the deletions); the factory holds nothing of it.
  EXPECT_EQ(factory.GetSpawn("spn::game:plane"), nullptr);
  EXPECT_EQ(factory.GetAction("menu_open"), nullptr);
  EXPECT_EQ(factory.GetActionCount(), 0u);
  EXPECT_TRUE(factory.GetUpdateList().empty());
}

TEST(ActionManager, WithoutATableItStillOwnsAndFrees) {
  Journal journal;
  cActionManager owner(nullptr);
  owner.AddAction(new RecordingAction("x", &journal));
  EXPECT_EQ(owner.RegisterWithFactory(), status::Ok);
  EXPECT_EQ(owner.ReleaseAll(), status::Ok);
  EXPECT_TRUE(owner.GetActions().empty());
}

}  // namespace
