#include <gtest/gtest.h>

#include <string>

#include "engine/entity/EntityBase.h"
#include "base/StringUtil.h"
#include "platform/tests/ScratchDir.h"
#include "engine/entity/tests/EntityTestUtil.h"

namespace {

using enttest::Call;
using enttest::LoadText;
using enttest::RecordingEntity;
using enttest::World;

const char* const kTower =
    "OBJECT Tower\n"
    "{\n"
    "\tOBJECT On\n"
    "\t{\n"
    "\t\tset EntInit \"Play intro music\"\n"
    "\t\tset Click \"PLAY\"\n"
    "\t\tset Fail \"Refuse why\"\n"
    "\t\tset Ghost \"NoSuchAction arg\"\n"
    "\t\tset Empty \"\"\n"
    "\t\tset EntExit \"Stop bye\"\n"
    "\t}\n"
    "}\n";

uintptr_t Word(const void* p) { return reinterpret_cast<uintptr_t>(p); }

class EntityBaseTest : public ::testing::Test {
 protected:
  World world;
  ObjectDefStore store;
  ObjectDef* Def(const char* text, const char* object) {
    ObjectDef* root = LoadText(store, "defs.def", text);
    return root ? root->children.FindChildObject(object) : nullptr;
  }
};

TEST_F(EntityBaseTest, InitNamesBindsAndFiresEntInitWithItsArguments) {
  RecordingEntity entity(world.manager.get(), &world.journal, false);
  ASSERT_TRUE(entity.Init(Def(kTower, "Tower")));
  EXPECT_EQ(entity.GetName(), "Tower");
  ASSERT_EQ(world.journal.calls.size(), 1u);
  const Call& init = world.journal.calls[0];
  EXPECT_EQ(init.action, "play");
  EXPECT_EQ(init.entity, "Tower");
  EXPECT_EQ(init.params, "intro music");
  // The sender word carries the entity's full address.
  EXPECT_EQ(init.code, Word(&entity));
  // Bound: entinit, click (play), fail (refuse), entexit (stop); the unknown
  // action and the empty value bind nothing.
  EXPECT_EQ(entity.GetBoundAction("click"), world.play);
  EXPECT_EQ(entity.GetBoundAction("ghost"), nullptr);
  EXPECT_EQ(entity.GetBoundAction("empty"), nullptr);
  EXPECT_EQ(entity.GetEventArguments().count("ghost"), 0u);
  EXPECT_EQ(world.play->referenceCount, 2);
  EXPECT_EQ(world.stop->referenceCount, 1);
  EXPECT_EQ(world.refuse->referenceCount, 1);
}

TEST_F(EntityBaseTest, ArgumentsAndParametersJoinWithOneBarAndNeverAccumulate) {
  RecordingEntity entity(world.manager.get(), &world.journal, false);
  ASSERT_TRUE(entity.Init(Def(kTower, "Tower")));
  struct Case {
    const char* event;
    const char* params;
    const char* expected;
  };
  const Case cases[] = {
      {"EntInit", "loud", "intro music|loud"},  // bound A and parameter P
      {"ENTINIT", "", "intro music"},           // A alone
      {"click", "left", "left"},                // P alone
      {"Click", "", ""},                        // neither
      {"entinit", "again", "intro music|again"},
  };
  for (const Case& c : cases) {
    world.journal.calls.clear();
    std::string event = c.event;
    EXPECT_TRUE(entity.SendMessage(Word(this), event, c.params)) << c.event;
    EXPECT_EQ(event, str::ToLower(c.event));  // lower-cased in place
    ASSERT_EQ(world.journal.calls.size(), 1u);
    EXPECT_EQ(world.journal.calls[0].params, c.expected) << c.event << " / " << c.params;
    EXPECT_EQ(world.journal.calls[0].code, Word(this));
  }
  // The stored binding is exactly as bound after all those firings.
  EXPECT_EQ(entity.GetEventArguments().at("entinit"), "intro music");
  EXPECT_EQ(entity.GetEventArguments().at("click"), "");
}

TEST_F(EntityBaseTest, UnboundEventsAndRefusingActionsAnswerFalse) {
  RecordingEntity entity(world.manager.get(), &world.journal, false);
  ASSERT_TRUE(entity.Init(Def(kTower, "Tower")));
  world.journal.calls.clear();
  EXPECT_FALSE(entity.FireEvent(0, "Nothing", "x"));
  EXPECT_EQ(entity.GetEventArguments().count("nothing"), 0u);
  EXPECT_TRUE(world.journal.calls.empty());
  EXPECT_FALSE(entity.FireEvent(0, "Fail"));
  ASSERT_EQ(world.journal.calls.size(), 1u);
  EXPECT_EQ(world.journal.calls[0].params, "why");
}

TEST_F(EntityBaseTest, OnlyAnOnObjectHoldsBindings) {
  const char* text =
      "OBJECT Plain\n{\n\tset Colour \"red\"\n}\n"
      "OBJECT Valued\n{\n\tset On \"Play now\"\n}\n";
  for (const char* name : {"Plain", "Valued"}) {
    RecordingEntity entity(world.manager.get(), &world.journal, false);
    EXPECT_TRUE(entity.Init(Def(text, name)));
    EXPECT_EQ(entity.GetName(), name);
    EXPECT_TRUE(entity.GetEventArguments().empty());
  }
  EXPECT_TRUE(world.journal.calls.empty());  // no "EntInit" without bindings
  RecordingEntity entity(world.manager.get(), &world.journal, false);
  EXPECT_FALSE(entity.Init(nullptr));
}

TEST_F(EntityBaseTest, ExitFiresEntExitOnceAndGivesEveryReferenceBack) {
  {
    RecordingEntity entity(world.manager.get(), &world.journal, false);
    ASSERT_TRUE(entity.Init(Def(kTower, "Tower")));
    world.journal.calls.clear();
    EXPECT_EQ(entity.Exit(), status::Ok);
    ASSERT_EQ(world.journal.calls.size(), 1u);
    EXPECT_EQ(world.journal.calls[0].action, "stop");
    EXPECT_EQ(world.journal.calls[0].params, "bye");
    EXPECT_EQ(world.play->referenceCount, 0);
    EXPECT_EQ(world.stop->referenceCount, 0);
    EXPECT_EQ(world.refuse->referenceCount, 0);
    EXPECT_FALSE(entity.FireEvent(0, "click"));
  }
  // Destruction after Exit fires nothing more.
  EXPECT_EQ(world.journal.calls.size(), 1u);

  // Destroyed without Exit: the destructor fires "EntExit" and releases.
  {
    RecordingEntity entity(world.manager.get(), &world.journal, false);
    ASSERT_TRUE(entity.Init(Def(kTower, "Tower")));
    world.journal.calls.clear();
  }
  ASSERT_EQ(world.journal.calls.size(), 1u);
  EXPECT_EQ(world.journal.calls[0].action, "stop");
  EXPECT_EQ(world.play->referenceCount, 0);
}

TEST_F(EntityBaseTest, InitAgainReplacesBindingsWithoutLosingReferences) {
  RecordingEntity entity(world.manager.get(), &world.journal, false);
  ASSERT_TRUE(entity.Init(Def(kTower, "Tower")));
  ASSERT_TRUE(entity.Init(Def(kTower, "Tower")));
  EXPECT_EQ(world.play->referenceCount, 2);
  entity.Exit();
  EXPECT_EQ(world.play->referenceCount, 0);
}

TEST_F(EntityBaseTest, InitFromFileUsesTheRootNamedAfterTheFile) {
  ScratchDir dir;
  const std::string file = dir.Write("tower.def", kTower);
  RecordingEntity entity(world.manager.get(), &world.journal, false);
  // The root of the file holds the objects: the root itself has no "On".
  EXPECT_TRUE(entity.InitFromFile(file));
  EXPECT_EQ(entity.GetName(), file);
  EXPECT_TRUE(world.journal.calls.empty());

  const std::string flat = dir.Write("flat.def", "OBJECT On\n{\n\tset EntInit \"Play from file\"\n}\n");
  RecordingEntity fromFile(world.manager.get(), &world.journal, false);
  EXPECT_TRUE(fromFile.InitFromFile(flat));
  ASSERT_EQ(world.journal.calls.size(), 1u);
  EXPECT_EQ(world.journal.calls[0].params, "from file");

  RecordingEntity missing(world.manager.get(), &world.journal, false);
  EXPECT_FALSE(missing.InitFromFile(dir.File("absent.def")));
  EXPECT_EQ(missing.GetName(), "");
}

TEST_F(EntityBaseTest, BaseDefaults) {
  RecordingEntity entity(world.manager.get(), &world.journal, false);
  EXPECT_EQ(entity.cEntity_Base::Initialize(), status::Fail);
  const JVector p = entity.GetPosition();
  EXPECT_EQ(p.x + p.y + p.z + p.w, 0.0f);
  EXPECT_FALSE(entity.cEntity_Base::OnMessage(1, 2, 3));
  EXPECT_EQ(entity.GetHandle(), -1);
  EXPECT_EQ(entity.GetType(), kEntityType_Base);
  EXPECT_EQ(entity.GetKind(), 0u);
  EXPECT_EQ(entity.GetFlags(), 0u);
  EXPECT_EQ(entity.GetActionFactory(), &world.factory);
  entity.MarkForRemoval();
  entity.MarkForRemoval();
  EXPECT_EQ(entity.GetFlags(), kEntityFlag_Remove);
}

}  // namespace
