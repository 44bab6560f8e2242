// Script commands of the "particleservice" block.
#include "engine/config/ConfigParser.h"
#include "engine/frame/GameManager.h"
#include "engine/frame/ParticleService.h"
#include "engine/frame/ServiceCommands.h"
#include "engine/frame/ServiceLanguage.h"
#include "engine/frame/ServiceScript.h"
#include "base/StringUtil.h"
#include "platform/DebugOutput.h"
#include "platform/Locale.h"

using namespace svcscript;

namespace {

cParticleService* CurrentParticleService(ConfigParser* parser) {
  return dynamic_cast<cParticleService*>(ObjectEntity(parser, parser->GetCurrentObject()));
}

}  // namespace

CoreStatus ParticleServiceCommand(CStringArray& tokens, CoreParser* reader) {
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser || tokens.size() < 2) return status::Fail;
  cEntity_Base* entity = SpawnNamed(parser, cParticleService::kSpawnName, tokens[1], "ParticleServiceCommand");
  auto* service = dynamic_cast<cParticleService*>(entity);
  if (!service) {
    if (entity) entity->MarkForRemoval();
    return status::Fail;
  }
  parser->SetCurrentObject(AsObject(service));
  PushLanguage(parser, "ParticleServiceLanguage");
  return status::Ok;
}

CoreStatus ParticleServicePropCommand(CStringArray& tokens, CoreParser* reader) {
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser || tokens.size() < 3) return status::Fail;
  cParticleService* service = CurrentParticleService(parser);
  if (!service) return status::Fail;
  const std::string& key = tokens[1];
  if (str::EqualsNoCase(key, "MaxParticles")) {
    service->SetMaxParticles(platform::ParseInt(tokens[2]));
  } else if (str::EqualsNoCase(key, "GravityVector")) {
    JVector v;
    if (!ReadVector(tokens, &v)) return status::Fail;
    service->SetGravity(v);
  } else {
    return status::Fail;
  }
  return status::Ok;
}

CoreStatus PartServEndLangCommand(CStringArray&, CoreParser* reader) {
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser) return status::Fail;
  PopLanguage(parser);
  cParticleService* service = CurrentParticleService(parser);
  if (!service) return status::Fail;
  parser->SetCurrentObject(nullptr);
  cGameManager* manager = GameManager(parser);
  if (!manager) {
    platform::DebugPrintf("[PartServEndLangCommand] no game manager to file \"%s\" with\n",
                          service->NameRef().c_str());
    return status::Fail;
  }
  return manager->AddService(service);
}
