#pragma once
// The owner of every entity of the running system. It creates entities
// through the spawns of the action factory, keeps them in one HandleArray,
// finds them by name (ignoring case), forwards numbered messages and named
// events, and once per frame exits and destroys the entities marked for
// removal.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/entity/HandleArray.h"
#include "engine/files/ObjectDefStore.h"
#include "base/Status.h"

class cAction_Factory;
class cCore_GlobalWrapper;
class cEntity_Base;
class cSpawn_Base;
class ObjectDef;

namespace entitystatus {
inline constexpr CoreStatus NoEntity = static_cast<CoreStatus>(0x80100001u);       // null or unknown name
inline constexpr CoreStatus NoSpawnName = static_cast<CoreStatus>(0x80100003u);    // definition names no spawn
inline constexpr CoreStatus NoDefinition = static_cast<CoreStatus>(0x80100004u);   // no definition or object
inline constexpr CoreStatus NoSpawn = static_cast<CoreStatus>(0x80100005u);        // none given or not registered
}  // namespace entitystatus

class cEntity_Manager {
 public:
  explicit cEntity_Manager(cAction_Factory* factory);
  // Destroys every entity still held (without Exit first; their destructors
  // run the base Exit), then the definition store.
  virtual ~cEntity_Manager();
  cEntity_Manager(const cEntity_Manager&) = delete;
  cEntity_Manager& operator=(const cEntity_Manager&) = delete;

  // Null spawn: out null, 0x80100005. Else the spawn's entity (which may be
  // null when it could not be made) is filed and given out; 0.
  virtual CoreStatus CreateEntity(cSpawn_Base* spawn, cEntity_Base** out);
  // Reads the file into the store (its root is named after the file) and
  // spawns the object of that name from it.
  virtual CoreStatus SpawnFromFile(const std::string& fileName, const std::string& objectName, cEntity_Base** out);
  virtual CoreStatus CreateEntityByName(const std::string& spawnName, cEntity_Base** out);
  // Spawn name from the definition's "Spawn" object (its "this" setting),
  // else its "spawn" setting; then the new entity's Init(definition).
  virtual CoreStatus SpawnFromObjectDef(ObjectDef* definition, cEntity_Base** out);
  // Mode 'e': type and kind equal; mode 'm': all bits of type and kind
  // present. Appends in array order; another mode gives 0x80004005.
  virtual CoreStatus CollectEntities(uint32_t type, uint32_t kind, std::vector<cEntity_Base*>& out, char mode);
  virtual cEntity_Base* GetEntityAt(int32_t index);
  // The root of a file loaded by SpawnFromFile (name ignoring case).
  virtual ObjectDef* FindObjectDef(const std::string& name);
  virtual void SetUserPointer(void* pointer) { userPointer_ = pointer; }
  virtual void SetGlobalWrapper(cCore_GlobalWrapper* wrapper) { globalWrapper_ = wrapper; }
  virtual CoreStatus CallOnMessageByName(const std::string& name, uintptr_t sender, uint32_t messageId,
                                         uintptr_t parameter);
  // Null entity: 0x80100001; else 1 when the entity handled it, 0 when not.
  virtual CoreStatus CallOnMessage(cEntity_Base* entity, uintptr_t sender, uint32_t messageId, uintptr_t parameter);
  virtual CoreStatus CallSendMessageByName(const std::string& name, uintptr_t sender, std::string& eventName,
                                           const std::string& params);
  // Null entity: 0x80100001; else 0 when the event ran and answered 0,
  // 0x80004005 otherwise.
  virtual CoreStatus CallSendMessage(cEntity_Base* entity, uintptr_t sender, std::string& eventName,
                                     const std::string& params);
  // To every entity whose type word shares a bit with mask; 0.
  virtual CoreStatus BroadcastOnMessage(uint32_t mask, uintptr_t sender, uint32_t messageId, uintptr_t parameter);
  virtual CoreStatus BroadcastSendMessage(uint32_t mask, uintptr_t sender, std::string& eventName,
                                          const std::string& params);

  // The per-frame pass: entities marked for removal get Exit at once and are
  // destroyed after the pass; the others with the update flag get Update.
  void Update(float seconds);
  // The first entity in array order whose name equals `name` ignoring case.
  cEntity_Base* FindEntity(const std::string& name);
  // Takes the entity out of the array and destroys it, without Exit. 0.
  CoreStatus DestroyEntity(cEntity_Base* entity);

  cAction_Factory* GetActionFactory() const { return actionFactory_; }
  const std::string& GetResourcePath() const { return resourcePath_; }
  void SetResourcePath(std::string path) { resourcePath_ = std::move(path); }
  void* GetUserPointer() const { return userPointer_; }
  cCore_GlobalWrapper* GetGlobalWrapper() const { return globalWrapper_; }
  ObjectDefStore& GetDefinitionStore() { return store_; }
  const HandleArray& GetEntities() const { return entities_; }

 private:
  ObjectDefStore store_;
  cAction_Factory* actionFactory_ = nullptr;
  std::string resourcePath_;
  void* reserved_ = nullptr;
  HandleArray entities_;
  void* userPointer_ = nullptr;
  cCore_GlobalWrapper* globalWrapper_ = nullptr;
};
