#pragma once
// Actions, spawns and entities that record what happens to them, shared by
// the entity tests.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/entity/ActionBase.h"
#include "engine/entity/ActionFactory.h"
#include "engine/entity/EntityBase.h"
#include "engine/entity/EntityManager.h"
#include "engine/files/ObjectDef.h"
#include "engine/files/ObjectDefStore.h"
#include "engine/entity/SpawnBase.h"

namespace enttest {

// One Execute call as the action saw it.
struct Call {
  std::string action;
  std::string entity;
  uintptr_t code;
  std::string params;
};

// Every action of a test writes into one shared journal, so the order of
// calls across actions can be checked.
struct Journal {
  std::vector<Call> calls;
  std::vector<std::string> events;  // "update:x", "exit:x", "destroy:x"
};

class RecordingAction : public cAction_Base {
 public:
  RecordingAction(std::string n, Journal* journal, CoreStatus result = status::Ok)
      : cAction_Base(std::move(n)), journal_(journal), result_(result) {}
  CoreStatus Execute(cEntity_Base* sender, uintptr_t code, const std::string& params) override {
    journal_->calls.push_back(Call{name, sender ? sender->GetName() : std::string(), code, params});
    return result_;
  }

 private:
  Journal* journal_;
  CoreStatus result_;
};

class RecordingEntity : public cEntity_Base {
 public:
  RecordingEntity(cEntity_Manager* manager, Journal* journal, bool updates)
      : cEntity_Base(manager, kEntityType_Base), journal_(journal) {
    SetUpdateFlag(updates);
  }
  ~RecordingEntity() override {
    if (journal_) journal_->events.push_back("destroy:" + GetName());
  }
  CoreStatus Exit() override {
    if (journal_) journal_->events.push_back("exit:" + GetName());
    return cEntity_Base::Exit();
  }
  void Update(float seconds) override {
    lastSeconds = seconds;
    if (journal_) journal_->events.push_back("update:" + GetName());
    if (onUpdate) onUpdate();
  }
  bool OnMessage(uintptr_t sender, uint32_t messageId, uintptr_t parameter) override {
    lastSender = sender;
    lastParameter = parameter;
    return messageId == 32;
  }
  std::function<void()> onUpdate;
  float lastSeconds = 0.0f;
  uintptr_t lastSender = 0;
  uintptr_t lastParameter = 0;

 private:
  Journal* journal_;
};

class RecordingSpawn : public cSpawn_Base {
 public:
  RecordingSpawn(std::string n, Journal* journal, bool updates = true, bool fails = false)
      : cSpawn_Base(std::move(n)), journal_(journal), updates_(updates), fails_(fails) {}
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override {
    ++created;
    if (fails_) return nullptr;
    return new RecordingEntity(creator, journal_, updates_);
  }
  int created = 0;

 private:
  Journal* journal_;
  bool updates_;
  bool fails_;
};

// A factory with a few recording actions filed, and a manager on it. The
// spawns are owned here (the factory only files them).
struct World {
  Journal journal;
  cAction_Factory factory;
  std::vector<std::unique_ptr<cSpawn_Base>> spawns;
  std::unique_ptr<cEntity_Manager> manager;

  // Filed with the factory, which deletes them.
  RecordingAction* play = new RecordingAction("Play", &journal);
  RecordingAction* stop = new RecordingAction("Stop", &journal);
  RecordingAction* refuse = new RecordingAction("Refuse", &journal, status::Fail);

  World() {
    for (cAction_Base* a : {static_cast<cAction_Base*>(play), static_cast<cAction_Base*>(stop),
                            static_cast<cAction_Base*>(refuse)}) {
      factory.RegisterAction(a, false);
    }
    AddSpawn("SPN::TEST:THING");
    AddSpawn("SPN::TEST:STILL", false);
    AddSpawn("SPN::TEST:NOTHING", true, true);
    manager = std::make_unique<cEntity_Manager>(&factory);
  }
  ~World() {
    manager.reset();
    for (auto& s : spawns) factory.UnregisterSpawn(s.get());
  }
  RecordingSpawn* AddSpawn(const std::string& n, bool updates = true, bool fails = false) {
    spawns.push_back(std::make_unique<RecordingSpawn>(n, &journal, updates, fails));
    factory.RegisterSpawn(spawns.back().get());
    return static_cast<RecordingSpawn*>(spawns.back().get());
  }
};

// Reads object-definition text into a store under `rootName` and returns the
// root (owned by the store).
inline ObjectDef* LoadText(ObjectDefStore& store, const std::string& rootName, const std::string& text) {
  store.GetParser()->SetFileSource([rootName, text](const std::string& name, std::string* out) {
    if (name != rootName) return false;
    *out = text;
    return true;
  });
  store.LoadFile(rootName);
  return store.GetList().FindObject(rootName);
}

}  // namespace enttest
