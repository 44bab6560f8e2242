#pragma once
// Helpers shared by the script commands of the frame services, cameras and
// cursors: the checked reader, spawning and naming the block's entity, the
// block's object kept in the reader, property values, and finding and
// joining services by name.
#include <string>

#include "engine/config/CommandHandler.h"
#include "base/Status.h"

class ConfigParser;
class CoreParser;
class JVector;
class cBaseService;
class cEntity_Base;
class cEntity_Manager;
class cGameManager;

namespace svcscript {

// The reader as a ConfigParser, or null.
ConfigParser* AsConfigParser(CoreParser* parser);
// The entity manager of the reader's service table, or null.
cEntity_Manager* Entities(ConfigParser* parser);
// The game manager the reader's configuration manager holds, or null.
cGameManager* GameManager(ConfigParser* parser);

// Creates an entity by spawn name through the entity manager and names it;
// null (with a diagnostic naming `who`) when that fails.
cEntity_Base* SpawnNamed(ConfigParser* parser, const char* spawnName, const std::string& name, const char* who);

// Block objects are kept in the reader as entity pointers. An object is only
// handed back when the entity manager still holds it, so a stale or foreign
// pointer is never dereferenced.
void* AsObject(cEntity_Base* entity);
cEntity_Base* ObjectEntity(ConfigParser* parser, void* object);

// "true" in any case or "1".
bool ReadBool(const std::string& value);
// A vector value of a "property" statement: three tokens after the key
// (five in all) or one token of three blank-separated numbers (three in
// all). False for any other shape; `out` is unchanged then.
bool ReadVector(const CStringArray& tokens, JVector* out);

// The service entity of that name, or null with a diagnostic (a name that
// no script created, or an entity that is not a service).
cBaseService* FindService(cEntity_Manager* entities, const std::string& name, const char* who);
// Adds the entity, seen as the item kind of the service's type, to the
// service; the add's result (an entity of the wrong kind is refused).
CoreStatus JoinService(cBaseService* service, cEntity_Base* entity);

}  // namespace svcscript
