#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/entity/EntityManager.h"
#include "platform/tests/ScratchDir.h"
#include "engine/entity/tests/EntityTestUtil.h"

namespace {

using enttest::LoadText;
using enttest::RecordingEntity;
using enttest::World;

// Three spawn-name forms: the "Spawn" object, the "spawn" setting (which is
// also a value entry among the children), and both (the object wins).
const char* const kDefs =
    "OBJECT Radar\n{\n\tOBJECT Spawn\n\t{\n\t\tset this \"SPN::TEST:THING\"\n\t}\n"
    "\tOBJECT On\n\t{\n\t\tset EntInit \"Play radar\"\n\t\tset Ping \"Play ping\"\n"
    "\t\tset EntExit \"Stop radar gone\"\n\t}\n}\n"
    "OBJECT Beacon\n{\n\tset Spawn \"spn::test:thing\"\n}\n"
    "OBJECT Both\n{\n\tset spawn \"SPN::TEST:NOWHERE\"\n\tOBJECT Spawn\n\t{\n\t\tset this \"SPN::TEST:STILL\"\n\t}\n}\n"
    "OBJECT Nameless\n{\n\tset Colour \"blue\"\n}\n"
    "OBJECT EmptyObject\n{\n\tOBJECT Spawn\n\t{\n\t}\n}\n"
    "OBJECT Unknown\n{\n\tset spawn \"SPN::TEST:NOWHERE\"\n}\n"
    "OBJECT Hollow\n{\n\tset spawn \"SPN::TEST:NOTHING\"\n}\n";

uintptr_t Word(const void* p) { return reinterpret_cast<uintptr_t>(p); }

class EntityManagerTest : public ::testing::Test {
 protected:
  World world;
  ObjectDefStore store;
  ObjectDef* root = nullptr;
  cEntity_Manager& mgr() { return *world.manager; }
  void SetUp() override { root = LoadText(store, "defs.def", kDefs); }
  ObjectDef* Def(const char* name) { return root->children.FindChildObject(name); }
  RecordingEntity* Spawn(const char* name) {
    cEntity_Base* out = nullptr;
    EXPECT_EQ(mgr().SpawnFromObjectDef(Def(name), &out), status::Ok) << name;
    return static_cast<RecordingEntity*>(out);
  }
  RecordingEntity* Make(const std::string& name, const char* spawn = "SPN::TEST:THING") {
    cEntity_Base* out = nullptr;
    EXPECT_EQ(mgr().CreateEntityByName(spawn, &out), status::Ok);
    out->SetName(name);
    return static_cast<RecordingEntity*>(out);
  }
};

TEST_F(EntityManagerTest, DefinitionsSpawnByEveryNameFormAndFireEntInit) {
  RecordingEntity* radar = Spawn("Radar");
  ASSERT_NE(radar, nullptr);
  EXPECT_EQ(radar->GetName(), "Radar");
  EXPECT_EQ(radar->GetHandle(), 0);
  EXPECT_EQ(radar->GetManager(), &mgr());
  ASSERT_EQ(world.journal.calls.size(), 1u);
  EXPECT_EQ(world.journal.calls[0].action, "play");
  EXPECT_EQ(world.journal.calls[0].params, "radar");
  EXPECT_EQ(world.journal.calls[0].entity, "Radar");

  // The setting form is found although the setting is also a child entry.
  RecordingEntity* beacon = Spawn("Beacon");
  ASSERT_NE(beacon, nullptr);
  EXPECT_EQ(world.spawns[0]->name, "spn::test:thing");
  EXPECT_EQ(static_cast<enttest::RecordingSpawn*>(world.spawns[0].get())->created, 2);

  // The object form goes first.
  RecordingEntity* both = Spawn("Both");
  ASSERT_NE(both, nullptr);
  EXPECT_FALSE(both->GetUpdateFlag());  // made by "SPN::TEST:STILL"

  EXPECT_EQ(mgr().FindEntity("RADAR"), radar);
  EXPECT_EQ(mgr().FindEntity("beacon"), beacon);
  EXPECT_EQ(mgr().FindEntity("nobody"), nullptr);
}

TEST_F(EntityManagerTest, EveryFailureHasItsStatusAndLeavesNothingBehind) {
  cEntity_Base* const sentinel = reinterpret_cast<cEntity_Base*>(Word(this));
  std::string event = "Ping";
  std::vector<cEntity_Base*> list;
  struct Case {
    const char* what;
    CoreStatus got;
    CoreStatus want;
  };
  cEntity_Base* out = sentinel;
  const Case cases[] = {
      {"null spawn", mgr().CreateEntity(nullptr, &out), entitystatus::NoSpawn},
      {"unknown spawn name", mgr().CreateEntityByName("SPN::TEST:NOWHERE", &out), entitystatus::NoSpawn},
      {"empty spawn name", mgr().CreateEntityByName("", &out), entitystatus::NoSpawn},
      {"null definition", mgr().SpawnFromObjectDef(nullptr, &out), entitystatus::NoDefinition},
      {"no spawn name", mgr().SpawnFromObjectDef(Def("Nameless"), &out), entitystatus::NoSpawnName},
      {"empty spawn object", mgr().SpawnFromObjectDef(Def("EmptyObject"), &out), entitystatus::NoSpawnName},
      {"unregistered spawn", mgr().SpawnFromObjectDef(Def("Unknown"), &out), entitystatus::NoSpawn},
      {"missing file", mgr().SpawnFromFile("no/such/file.def", "Radar", &out), entitystatus::NoDefinition},
      {"message to nobody", mgr().CallOnMessageByName("nobody", 0, 32, 0), entitystatus::NoEntity},
      {"message to null", mgr().CallOnMessage(nullptr, 0, 32, 0), entitystatus::NoEntity},
      {"event to nobody", mgr().CallSendMessageByName("nobody", 0, event, ""), entitystatus::NoEntity},
      {"event to null", mgr().CallSendMessage(nullptr, 0, event, ""), entitystatus::NoEntity},
      {"bad collect mode", mgr().CollectEntities(0, 0, list, 'x'), status::Fail},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
  EXPECT_EQ(out, nullptr);  // only CreateEntity(null) writes out, with null
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(mgr().GetEntities().CountLive(), 0);
  EXPECT_TRUE(world.journal.calls.empty());
}

TEST_F(EntityManagerTest, MissingObjectInALoadedFileIsNoDefinition) {
  ScratchDir dir;
  const std::string file = dir.Write("ents.def", kDefs);
  cEntity_Base* out = nullptr;
  EXPECT_EQ(mgr().SpawnFromFile(file, "Absent", &out), entitystatus::NoDefinition);
  EXPECT_EQ(mgr().SpawnFromFile(file, "Unknown", &out), entitystatus::NoSpawn);
  EXPECT_EQ(out, nullptr);
  EXPECT_NE(mgr().FindObjectDef(file), nullptr);
  EXPECT_EQ(mgr().FindObjectDef("other.def"), nullptr);
}

TEST_F(EntityManagerTest, SpawnFromFileSearchesTheFileItWasGiven) {
  ScratchDir dir;
  const std::string first = dir.Write("first.def", "OBJECT Alpha\n{\n\tset spawn \"SPN::TEST:THING\"\n}\n");
  const std::string second = dir.Write("second.def", "OBJECT Beta\n{\n\tset spawn \"SPN::TEST:THING\"\n}\n");
  cEntity_Base* alpha = nullptr;
  cEntity_Base* beta = nullptr;
  ASSERT_EQ(mgr().SpawnFromFile(first, "alpha", &alpha), status::Ok);
  ASSERT_EQ(mgr().SpawnFromFile(second, "BETA", &beta), status::Ok);
  ASSERT_NE(beta, nullptr);
  EXPECT_EQ(beta->GetName(), "Beta");
  // Each object is looked up only in its own file.
  cEntity_Base* wrong = nullptr;
  EXPECT_EQ(mgr().SpawnFromFile(second, "Alpha", &wrong), entitystatus::NoDefinition);
  EXPECT_EQ(mgr().GetEntities().CountLive(), 2);
}

TEST_F(EntityManagerTest, ASpawnThatMakesNothingStillSucceedsWithNoEntity) {
  cEntity_Base* out = reinterpret_cast<cEntity_Base*>(Word(this));
  EXPECT_EQ(mgr().CreateEntityByName("spn::test:nothing", &out), status::Ok);
  EXPECT_EQ(out, nullptr);
  out = reinterpret_cast<cEntity_Base*>(Word(this));
  EXPECT_EQ(mgr().SpawnFromObjectDef(Def("Hollow"), &out), status::Ok);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(mgr().GetEntities().GetCount(), 0);
}

TEST_F(EntityManagerTest, MessagesAndEventsReachOneEntityOrEveryMatchingType) {
  RecordingEntity* radar = Spawn("Radar");
  RecordingEntity* other = Make("Other");
  other->SetKind(4);
  world.journal.calls.clear();
  const uintptr_t sender = Word(&world);  // a full 64-bit address
  EXPECT_EQ(mgr().CallOnMessageByName("radar", sender, 32, Word(radar)), 1);
  EXPECT_EQ(radar->lastSender, sender);
  EXPECT_EQ(radar->lastParameter, Word(radar));
  EXPECT_EQ(mgr().CallOnMessage(radar, sender, 7, 0), 0);

  std::string event = "PING";
  EXPECT_EQ(mgr().CallSendMessageByName("Radar", sender, event, "now"), status::Ok);
  EXPECT_EQ(event, "ping");
  ASSERT_EQ(world.journal.calls.size(), 1u);
  EXPECT_EQ(world.journal.calls[0].params, "ping|now");
  EXPECT_EQ(world.journal.calls[0].code, sender);
  event = "Unbound";
  EXPECT_EQ(mgr().CallSendMessage(radar, sender, event, ""), status::Fail);

  world.journal.calls.clear();
  event = "ping";
  EXPECT_EQ(mgr().BroadcastSendMessage(0x1, sender, event, ""), status::Ok);  // no type shares bit 1
  EXPECT_TRUE(world.journal.calls.empty());
  EXPECT_EQ(mgr().BroadcastSendMessage(0x6, sender, event, "all"), status::Ok);
  ASSERT_EQ(world.journal.calls.size(), 1u);  // only the radar binds "ping"
  radar->lastParameter = other->lastParameter = 0;
  EXPECT_EQ(mgr().BroadcastOnMessage(kEntityType_Base, sender, 5, 99), status::Ok);
  EXPECT_EQ(radar->lastParameter, 99u);
  EXPECT_EQ(other->lastParameter, 99u);
}

TEST_F(EntityManagerTest, CollectMatchesExactlyOrByMask) {
  RecordingEntity* a = Make("a");
  RecordingEntity* b = Make("b");
  RecordingEntity* c = Make("c");
  a->SetKind(1);
  b->SetKind(3);
  c->SetKind(2);
  std::vector<cEntity_Base*> list;
  ASSERT_EQ(mgr().CollectEntities(2, 3, list, 'e'), status::Ok);
  EXPECT_EQ(list, (std::vector<cEntity_Base*>{b}));
  list.clear();
  ASSERT_EQ(mgr().CollectEntities(2, 1, list, 'm'), status::Ok);
  EXPECT_EQ(list, (std::vector<cEntity_Base*>{a, b}));
  list.clear();
  mgr().DestroyEntity(b);
  ASSERT_EQ(mgr().CollectEntities(0, 0, list, 'm'), status::Ok);
  EXPECT_EQ(list, (std::vector<cEntity_Base*>{a, c}));  // every entity, holes skipped
}

TEST_F(EntityManagerTest, NamesDifferingInCaseFindTheLowerPosition) {
  RecordingEntity* first = Make("Gate");
  Make("GATE");
  EXPECT_EQ(mgr().FindEntity("gate"), first);
  EXPECT_EQ(mgr().FindEntity("GATE"), first);
  mgr().DestroyEntity(first);
  EXPECT_EQ(mgr().FindEntity("gate")->GetName(), "GATE");
}

TEST_F(EntityManagerTest, RemovalIsDeferredToTheNextUpdateWhichExitsBeforeDestroying) {
  RecordingEntity* radar = Spawn("Radar");
  RecordingEntity* b = Make("B");
  RecordingEntity* c = Make("C");
  world.journal.calls.clear();
  radar->MarkForRemoval();
  c->MarkForRemoval();
  c->MarkForRemoval();  // marked twice, removed once
  // Nothing happens until the update.
  EXPECT_EQ(mgr().FindEntity("radar"), radar);
  EXPECT_TRUE(world.journal.calls.empty());

  mgr().Update(0.5f);
  EXPECT_EQ(world.journal.events,
            (std::vector<std::string>{"exit:Radar", "update:B", "exit:C", "destroy:Radar", "destroy:C"}));
  // "EntExit" ran with its bound text while the bindings still existed.
  ASSERT_EQ(world.journal.calls.size(), 1u);
  EXPECT_EQ(world.journal.calls[0].action, "stop");
  EXPECT_EQ(world.journal.calls[0].params, "radar gone");
  EXPECT_EQ(world.journal.calls[0].entity, "Radar");
  EXPECT_EQ(world.play->referenceCount, 0);
  EXPECT_EQ(b->lastSeconds, 0.5f);
  EXPECT_EQ(mgr().FindEntity("radar"), nullptr);
  EXPECT_EQ(mgr().GetEntityAt(0), nullptr);  // a hole until compaction
  EXPECT_EQ(mgr().GetEntityAt(1), b);
  EXPECT_EQ(mgr().GetEntities().GetCount(), 3);

  world.journal.events.clear();
  mgr().Update(0.25f);
  EXPECT_EQ(world.journal.events, (std::vector<std::string>{"update:B"}));
}

TEST_F(EntityManagerTest, EntitiesMarkedOrAddedDuringThePassFollowTheirPosition) {
  RecordingEntity* a = Make("A");
  RecordingEntity* b = Make("B");
  RecordingEntity* c = Make("C");
  // B marks the entity before it (handled next frame) and the one after it
  // (handled in this pass), and adds one that is updated in this pass too.
  b->onUpdate = [&] {
    a->MarkForRemoval();
    c->MarkForRemoval();
    if (!mgr().FindEntity("D")) Make("D");
  };
  mgr().Update(0.1f);
  EXPECT_EQ(world.journal.events,
            (std::vector<std::string>{"update:A", "update:B", "exit:C", "update:D", "destroy:C"}));
  world.journal.events.clear();
  b->onUpdate = nullptr;
  mgr().Update(0.1f);
  EXPECT_EQ(world.journal.events, (std::vector<std::string>{"exit:A", "update:B", "update:D", "destroy:A"}));
}

TEST_F(EntityManagerTest, EntitiesWithoutTheUpdateFlagAreNotUpdated) {
  Make("Still", "SPN::TEST:STILL");
  mgr().Update(1.0f);
  EXPECT_TRUE(world.journal.events.empty());
}

TEST_F(EntityManagerTest, DestructionDestroysEveryEntityWithoutTheirOwnExit) {
  Spawn("Radar");
  Make("B");
  world.journal.calls.clear();
  world.manager.reset();
  EXPECT_EQ(world.journal.events, (std::vector<std::string>{"destroy:Radar", "destroy:B"}));
  // The base Exit still ran in the destructor and fired "EntExit".
  ASSERT_EQ(world.journal.calls.size(), 1u);
  EXPECT_EQ(world.journal.calls[0].action, "stop");
  EXPECT_EQ(world.play->referenceCount, 0);
}

TEST_F(EntityManagerTest, PointersAndPathsAreKeptForOthers) {
  int placeholder = 0;
  mgr().SetUserPointer(&placeholder);
  EXPECT_EQ(mgr().GetUserPointer(), &placeholder);
  EXPECT_EQ(mgr().GetGlobalWrapper(), nullptr);
  EXPECT_EQ(mgr().GetResourcePath(), "");
  mgr().SetResourcePath("Data\\");
  EXPECT_EQ(mgr().GetResourcePath(), "Data\\");
  EXPECT_EQ(mgr().GetActionFactory(), &world.factory);
  EXPECT_EQ(mgr().GetEntities().GetCapacity(), 32);
  EXPECT_EQ(mgr().GetEntities().GetListCount(), 4);
}

}  // namespace
