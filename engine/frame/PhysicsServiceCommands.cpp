// Script commands of the "physicsservice" block.
#include "engine/config/ConfigParser.h"
#include "engine/frame/GameManager.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/frame/PhysicsService.h"
#include "engine/frame/ServiceCommands.h"
#include "engine/frame/ServiceLanguage.h"
#include "engine/frame/ServiceScript.h"
#include "platform/DebugOutput.h"

using namespace svcscript;

CoreStatus PhysicsServiceCommand(CStringArray& tokens, CoreParser* reader) {
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser || tokens.size() < 2) return status::Fail;
  cEntity_Base* entity = SpawnNamed(parser, PhysicsService::kSpawnName, tokens[1], "PhysicsServiceCommand");
  if (!entity) return status::Fail;
  parser->SetCurrentObject(AsObject(entity));
  PushLanguage(parser, "PhysicsServiceLanguage");
  return status::Ok;
}

CoreStatus PhysicsServicePropCommand(CStringArray&, CoreParser* reader) {
  // The service has no properties; any is accepted and ignored.
  return AsConfigParser(reader) ? status::Ok : status::Fail;
}

CoreStatus PSEndLangCommand(CStringArray&, CoreParser* reader) {
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser) return status::Fail;
  PopLanguage(parser);
  auto* service = dynamic_cast<PhysicsService*>(ObjectEntity(parser, parser->GetCurrentObject()));
  if (!service) return status::Fail;
  parser->SetCurrentObject(nullptr);
  cCore_GlobalWrapper* table = parser->GetTarget();
  // Without a physics module the service is not filed.
  if (status::Failed(service->SetPhysics(table ? table->physics : nullptr))) {
    platform::DebugPrintf("[PSEndLangCommand] no physics module for \"%s\"\n", service->NameRef().c_str());
    return status::Fail;
  }
  cGameManager* manager = GameManager(parser);
  if (!manager) {
    platform::DebugPrintf("[PSEndLangCommand] no game manager to file \"%s\" with\n", service->NameRef().c_str());
    return status::Fail;
  }
  return manager->AddService(service);
}
