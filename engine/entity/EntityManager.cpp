#include "engine/entity/EntityManager.h"

#include "engine/entity/ActionFactory.h"
#include "engine/entity/EntityBase.h"
#include "engine/files/ObjectDef.h"
#include "engine/entity/SpawnBase.h"
#include "base/StringUtil.h"

namespace {
constexpr int32_t kInitialCapacity = 32;
constexpr int32_t kIndexLists = 4;
constexpr int32_t kPrefetchAhead = 8;
}  // namespace

cEntity_Manager::cEntity_Manager(cAction_Factory* factory) : actionFactory_(factory) {
  (void)reserved_;
  entities_.Init(kInitialCapacity, kIndexLists);
}

cEntity_Manager::~cEntity_Manager() {
  for (int32_t i = 0; i < entities_.GetCount(); ++i) {
    if (auto* entity = dynamic_cast<cEntity_Base*>(entities_.GetAt(i))) entities_.RemoveAndDelete(entity);
  }
  entities_.Clear();
}

CoreStatus cEntity_Manager::CreateEntity(cSpawn_Base* spawn, cEntity_Base** out) {
  if (!spawn) {
    if (out) *out = nullptr;
    return entitystatus::NoSpawn;
  }
  cEntity_Base* entity = spawn->Create(0, 0, this, std::string());
  if (entity) entities_.Add(entity);
  if (out) *out = entity;
  return status::Ok;
}

CoreStatus cEntity_Manager::SpawnFromFile(const std::string& fileName, const std::string& objectName,
                                          cEntity_Base** out) {
  store_.LoadFile(fileName);
  // The root of this very file: the store may hold several.
  ObjectDef* root = store_.GetList().FindObject(fileName);
  if (!root) return entitystatus::NoDefinition;
  cEntity_Base* entity = nullptr;
  const CoreStatus result = SpawnFromObjectDef(root->children.FindChildObject(objectName), &entity);
  if (status::Failed(result)) return result;
  if (out) *out = entity;
  return status::Ok;
}

CoreStatus cEntity_Manager::CreateEntityByName(const std::string& spawnName, cEntity_Base** out) {
  cSpawn_Base* spawn = nullptr;
  if (actionFactory_ && !spawnName.empty()) {
    std::string name = spawnName;
    spawn = actionFactory_->GetSpawn(name);
  }
  return CreateEntity(spawn, out);
}

CoreStatus cEntity_Manager::SpawnFromObjectDef(ObjectDef* definition, cEntity_Base** out) {
  if (!definition) return entitystatus::NoDefinition;
  // Settings are children too, so only an object named "Spawn" counts for
  // the first form; otherwise the definition's own "spawn" setting.
  std::string spawnName;
  if (const ObjectDef* spawnObject = definition->children.FindChildObject("Spawn")) {
    if (const std::string* value = spawnObject->FindValue("this")) spawnName = *value;
  }
  if (spawnName.empty()) {
    if (const std::string* value = definition->FindValue("spawn")) spawnName = *value;
  }
  if (spawnName.empty()) return entitystatus::NoSpawnName;

  cEntity_Base* entity = nullptr;
  const CoreStatus result = CreateEntityByName(spawnName, &entity);
  if (status::Failed(result)) return result;
  if (entity) entity->Init(definition);
  if (out) *out = entity;
  return status::Ok;
}

CoreStatus cEntity_Manager::CollectEntities(uint32_t type, uint32_t kind, std::vector<cEntity_Base*>& out,
                                            char mode) {
  if (mode != 'e' && mode != 'm') return status::Fail;
  for (int32_t i = 0; i < entities_.GetCount(); ++i) {
    cEntity_Base* entity = GetEntityAt(i);
    if (!entity) continue;
    const bool match = mode == 'e'
                           ? entity->GetType() == type && entity->GetKind() == kind
                           : (entity->GetType() & type) == type && (entity->GetKind() & kind) == kind;
    if (match) out.push_back(entity);
  }
  return status::Ok;
}

cEntity_Base* cEntity_Manager::GetEntityAt(int32_t index) {
  return static_cast<cEntity_Base*>(entities_.GetAt(index));
}

ObjectDef* cEntity_Manager::FindObjectDef(const std::string& name) { return store_.GetList().FindObject(name); }

CoreStatus cEntity_Manager::CallOnMessageByName(const std::string& name, uintptr_t sender, uint32_t messageId,
                                                uintptr_t parameter) {
  return CallOnMessage(FindEntity(name), sender, messageId, parameter);
}

CoreStatus cEntity_Manager::CallOnMessage(cEntity_Base* entity, uintptr_t sender, uint32_t messageId,
                                          uintptr_t parameter) {
  if (!entity) return entitystatus::NoEntity;
  return entity->OnMessage(sender, messageId, parameter) ? 1 : 0;
}

CoreStatus cEntity_Manager::CallSendMessageByName(const std::string& name, uintptr_t sender, std::string& eventName,
                                                  const std::string& params) {
  return CallSendMessage(FindEntity(name), sender, eventName, params);
}

CoreStatus cEntity_Manager::CallSendMessage(cEntity_Base* entity, uintptr_t sender, std::string& eventName,
                                            const std::string& params) {
  if (!entity) return entitystatus::NoEntity;
  return entity->SendMessage(sender, eventName, params) ? status::Ok : status::Fail;
}

CoreStatus cEntity_Manager::BroadcastOnMessage(uint32_t mask, uintptr_t sender, uint32_t messageId,
                                               uintptr_t parameter) {
  for (int32_t i = 0; i < entities_.GetCount(); ++i) {
    cEntity_Base* entity = GetEntityAt(i);
    if (entity && (entity->GetType() & mask) != 0) entity->OnMessage(sender, messageId, parameter);
  }
  return status::Ok;
}

CoreStatus cEntity_Manager::BroadcastSendMessage(uint32_t mask, uintptr_t sender, std::string& eventName,
                                                 const std::string& params) {
  for (int32_t i = 0; i < entities_.GetCount(); ++i) {
    cEntity_Base* entity = GetEntityAt(i);
    if (entity && (entity->GetType() & mask) != 0) entity->SendMessage(sender, eventName, params);
  }
  return status::Ok;
}

void cEntity_Manager::Update(float seconds) {
  std::vector<cEntity_Base*> doomed;
  // The count is read again at every step: entities added during the pass
  // are visited in the same pass.
  for (int32_t i = 0; i < entities_.GetCount(); ++i) {
    // Entities a few steps ahead are fetched while this one runs; a world
    // larger than the cache would otherwise wait on memory at every step.
    __builtin_prefetch(entities_.ItemAt(i + kPrefetchAhead));
    auto* entity = static_cast<cEntity_Base*>(entities_.ItemAt(i));
    if (!entity) continue;
    if (entity->IsMarkedForRemoval()) {
      doomed.push_back(entity);
      entity->Exit();
    } else if (entity->GetUpdateFlag()) {
      entity->Update(seconds);
    }
  }
  // Destruction waits for the end of the pass, so the walk above is never
  // disturbed by removal.
  for (cEntity_Base* entity : doomed) DestroyEntity(entity);
}

cEntity_Base* cEntity_Manager::FindEntity(const std::string& name) {
  // Each entity keeps its name lower-cased, so folding the asked name once
  // makes every comparison a plain one.
  const std::string lowered = str::ToLower(name);
  const int32_t count = entities_.GetCount();
  for (int32_t i = 0; i < count; ++i) {
    auto* entity = static_cast<cEntity_Base*>(entities_.ItemAt(i));
    if (entity && entity->LowerNameRef() == lowered) return entity;
  }
  return nullptr;
}

CoreStatus cEntity_Manager::DestroyEntity(cEntity_Base* entity) {
  if (entity) entities_.RemoveAndDelete(entity);
  return status::Ok;
}
