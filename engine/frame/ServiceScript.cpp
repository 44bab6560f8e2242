#include "engine/frame/ServiceScript.h"

#include "engine/frame/ServiceLanguage.h"

#include "engine/frame/BaseService.h"
#include "engine/config/ConfigManager.h"
#include "engine/config/ConfigParser.h"
#include "engine/entity/EntityBase.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/math/JVector.h"
#include "engine/config/LanguageManager.h"
#include "engine/frame/ParticleService.h"
#include "engine/frame/ParticleServiceItem.h"
#include "engine/frame/PhysicsService.h"
#include "engine/frame/RenderService.h"
#include "engine/frame/RenderServiceItem.h"
#include "base/StringUtil.h"
#include "engine/frame/TimeService.h"
#include "platform/DebugOutput.h"
#include "platform/Locale.h"

namespace svcscript {

ConfigParser* AsConfigParser(CoreParser* parser) { return dynamic_cast<ConfigParser*>(parser); }

cEntity_Manager* Entities(ConfigParser* parser) {
  cCore_GlobalWrapper* table = parser ? parser->GetTarget() : nullptr;
  return table ? table->entityManager : nullptr;
}

cGameManager* GameManager(ConfigParser* parser) {
  cCore_ConfigManager* config = parser ? parser->GetConfigManager() : nullptr;
  return config ? config->GetGameManager() : nullptr;
}

cEntity_Base* SpawnNamed(ConfigParser* parser, const char* spawnName, const std::string& name, const char* who) {
  cEntity_Manager* entities = Entities(parser);
  if (!entities) {
    platform::DebugPrintf("[%s] no entity manager to create \"%s\"\n", who, name.c_str());
    return nullptr;
  }
  cEntity_Base* entity = nullptr;
  if (status::Failed(entities->CreateEntityByName(spawnName, &entity)) || !entity) {
    platform::DebugPrintf("[%s] cannot create \"%s\" from spawn \"%s\"\n", who, name.c_str(), spawnName);
    return nullptr;
  }
  entity->SetName(name);
  return entity;
}

void* AsObject(cEntity_Base* entity) { return static_cast<void*>(entity); }

cEntity_Base* ObjectEntity(ConfigParser* parser, void* object) {
  cEntity_Manager* entities = Entities(parser);
  if (!entities || !object) return nullptr;
  const HandleArray& all = entities->GetEntities();
  for (int32_t i = 0; i < all.GetCount(); ++i) {
    cEntity_Base* entity = entities->GetEntityAt(i);
    if (entity && AsObject(entity) == object) return entity;
  }
  return nullptr;
}

void PushLanguage(ConfigParser* parser, const char* language) {
  if (LanguageManager* languages = parser ? parser->GetLanguageManager() : nullptr) {
    std::string name = language;
    languages->PushLanguage(name);
  }
}

void PopLanguage(ConfigParser* parser) {
  if (LanguageManager* languages = parser ? parser->GetLanguageManager() : nullptr) languages->PopLanguage();
}

bool ReadBool(const std::string& value) { return str::EqualsNoCase(value, "true") || value == "1"; }

bool ReadVector(const CStringArray& tokens, JVector* out) {
  float v[3];
  if (tokens.size() == 5) {
    for (int i = 0; i < 3; ++i) v[i] = platform::ParseFloat(tokens[static_cast<size_t>(2 + i)]);
  } else if (tokens.size() == 3) {
    std::vector<std::string> parts = str::Split(tokens[2], " \t\r\n");
    int n = 0;
    for (const std::string& part : parts) {
      if (part.empty()) continue;
      if (n < 3) v[n] = platform::ParseFloat(part);
      ++n;
    }
    if (n < 3) return false;
  } else {
    return false;
  }
  out->x = v[0];
  out->y = v[1];
  out->z = v[2];
  return true;
}

cBaseService* FindService(cEntity_Manager* entities, const std::string& name, const char* who) {
  cEntity_Base* entity = entities ? entities->FindEntity(name) : nullptr;
  if (!entity) {
    platform::DebugPrintf("[%s] no service named \"%s\"\n", who, name.c_str());
    return nullptr;
  }
  auto* service = dynamic_cast<cBaseService*>(entity);
  if (!service) platform::DebugPrintf("[%s] \"%s\" is not a service\n", who, name.c_str());
  return service;
}

CoreStatus JoinService(cBaseService* service, cEntity_Base* entity) {
  if (!service) return status::Fail;
  switch (service->GetServiceType()) {
    case eServiceKind_Render:
      if (auto* render = dynamic_cast<cRenderService*>(service)) {
        return render->AddItem(dynamic_cast<cRenderServiceItem*>(entity));
      }
      return status::Fail;
    case eServiceKind_Physics:
      if (auto* physics = dynamic_cast<PhysicsService*>(service)) {
        auto* item = dynamic_cast<PhysicsServiceItem*>(entity);
        if (item && !item->entity) item->entity = entity;
        return physics->AddItem(item);
      }
      return status::Fail;
    case eServiceKind_Time:
      if (auto* time = dynamic_cast<TimeService*>(service)) return time->AddItem(dynamic_cast<TimeServiceItem*>(entity));
      return status::Fail;
    case eServiceKind_Particle:
      if (auto* particles = dynamic_cast<cParticleService*>(service)) {
        return particles->AddItem(dynamic_cast<cParticleServiceItem*>(entity));
      }
      return status::Fail;
    default:
      return status::Ok;
  }
}

}  // namespace svcscript
