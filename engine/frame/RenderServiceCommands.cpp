// Script commands of the "renderservice" and "camera" blocks.
#include "engine/frame/BaseCamera.h"
#include "engine/config/ConfigParser.h"
#include "engine/frame/GameManager.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/frame/RenderService.h"
#include "engine/frame/ServiceCommands.h"
#include "engine/frame/ServiceLanguage.h"
#include "engine/frame/ServiceScript.h"
#include "base/StringUtil.h"
#include "platform/DebugOutput.h"
#include "platform/Locale.h"

using namespace svcscript;

namespace {

cRenderService* CurrentRenderService(ConfigParser* parser) {
  return dynamic_cast<cRenderService*>(ObjectEntity(parser, parser->GetCurrentObject()));
}

cEntity_BaseCamera* CurrentCamera(ConfigParser* parser) {
  return dynamic_cast<cEntity_BaseCamera*>(ObjectEntity(parser, parser->GetSecondaryObject()));
}

}  // namespace

CoreStatus RenderServiceCommand(CStringArray& tokens, CoreParser* reader) {
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser || tokens.size() < 2) return status::Fail;
  cEntity_Base* entity = SpawnNamed(parser, cRenderService::kSpawnName, tokens[1], "RenderServiceCommand");
  auto* service = dynamic_cast<cRenderService*>(entity);
  if (!service) {
    if (entity) entity->MarkForRemoval();
    return status::Fail;
  }
  parser->SetCurrentObject(AsObject(service));
  PushLanguage(parser, "RenderServiceLanguage");
  return status::Ok;
}

CoreStatus RenderServicePropCommand(CStringArray& tokens, CoreParser* reader) {
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser || tokens.size() < 3) return status::Fail;
  cRenderService* service = CurrentRenderService(parser);
  if (!service) return status::Fail;
  const std::string& key = tokens[1];
  const std::string& value = tokens[2];
  JVector v;
  if (str::EqualsNoCase(key, "Parent")) {
    service->SetParentName(value);
  } else if (str::EqualsNoCase(key, "Camera")) {
    service->SetCameraName(value);
  } else if (str::EqualsNoCase(key, "FrameClear")) {
    service->SetFrameClear(ReadBool(value));
  } else if (str::EqualsNoCase(key, "FrameZClear")) {
    service->SetFrameDepthClear(ReadBool(value));
  } else if (str::EqualsNoCase(key, "PassClear")) {
    service->SetPassClear(ReadBool(value));
  } else if (str::EqualsNoCase(key, "PassZClear")) {
    service->SetPassDepthClear(ReadBool(value));
  } else if (str::EqualsNoCase(key, "Ortho")) {
    service->SetOrthographic(ReadBool(value));
  } else if (str::EqualsNoCase(key, "CamPos")) {
    if (!ReadVector(tokens, &v)) return status::Fail;
    service->SetCameraPosition(v);
  } else if (str::EqualsNoCase(key, "CamTarget")) {
    if (!ReadVector(tokens, &v)) return status::Fail;
    service->SetCameraTarget(v);
  } else if (str::EqualsNoCase(key, "CamUp")) {
    if (!ReadVector(tokens, &v)) return status::Fail;
    service->SetCameraUp(v);
  } else if (str::EqualsNoCase(key, "AmbientLight")) {
    if (!ReadVector(tokens, &v)) return status::Fail;
    service->SetAmbientLight(v);
  } else {
    return status::Fail;
  }
  return status::Ok;
}

CoreStatus RSEndLangCommand(CStringArray&, CoreParser* reader) {
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser) return status::Fail;
  PopLanguage(parser);
  cRenderService* service = CurrentRenderService(parser);
  if (!service) return status::Fail;
  parser->SetCurrentObject(nullptr);
  cCore_GlobalWrapper* table = parser->GetTarget();
  if (status::Failed(service->Initialise(table ? table->graphics : nullptr))) {
    platform::DebugPrintf("[RSEndLangCommand] \"%s\" has no renderer to draw with\n", service->NameRef().c_str());
    return status::Fail;
  }
  cGameManager* manager = GameManager(parser);
  if (!manager) {
    platform::DebugPrintf("[RSEndLangCommand] no game manager to file \"%s\" with\n", service->NameRef().c_str());
    return status::Fail;
  }
  return manager->AddService(service);
}

CoreStatus CameraCommand(CStringArray& tokens, CoreParser* reader) {
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser || tokens.size() < 2) return status::Fail;
  cEntity_Base* entity = SpawnNamed(parser, cEntity_BaseCamera::kSpawnName, tokens[1], "CameraCommand");
  auto* camera = dynamic_cast<cEntity_BaseCamera*>(entity);
  if (!camera) {
    if (entity) entity->MarkForRemoval();
    return status::Fail;
  }
  parser->SetSecondaryObject(AsObject(camera));
  PushLanguage(parser, "CameraLanguage");
  return status::Ok;
}

CoreStatus CameraPropCommand(CStringArray& tokens, CoreParser* reader) {
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser || tokens.size() < 3) return status::Fail;
  cEntity_BaseCamera* camera = CurrentCamera(parser);
  if (!camera) return status::Fail;
  const std::string& key = tokens[1];
  const std::string& value = tokens[2];
  JVector v;
  if (str::EqualsNoCase(key, "CamPos")) {
    if (!ReadVector(tokens, &v)) return status::Fail;
    camera->SetPosition(v);
  } else if (str::EqualsNoCase(key, "CamTarget")) {
    if (!ReadVector(tokens, &v)) return status::Fail;
    camera->SetTarget(v);
  } else if (str::EqualsNoCase(key, "CamUp")) {
    if (!ReadVector(tokens, &v)) return status::Fail;
    camera->SetUp(v);
  } else if (str::EqualsNoCase(key, "FocalDistance")) {
    camera->SetFocalDistance(platform::ParseFloat(value));
  } else if (str::EqualsNoCase(key, "FarClipPlane")) {
    camera->SetFarPlane(platform::ParseFloat(value));
  } else if (str::EqualsNoCase(key, "NearClipPlane")) {
    camera->SetNearPlane(platform::ParseFloat(value));
  } else if (str::EqualsNoCase(key, "FieldOfView")) {
    camera->SetFieldOfView(platform::ParseFloat(value));
  } else if (str::EqualsNoCase(key, "Ortho")) {
    camera->SetOrthographic(ReadBool(value));
  } else if (str::EqualsNoCase(key, "Target")) {
    camera->SetFlagA(ReadBool(value) ? 1 : 0);
  } else {
    return status::Fail;
  }
  return status::Ok;
}

CoreStatus CameraServiceCommand(CStringArray& tokens, CoreParser* reader) {
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser || tokens.size() < 2) return status::Fail;
  cEntity_BaseCamera* camera = CurrentCamera(parser);
  if (!camera) return status::Fail;
  cBaseService* service = FindService(Entities(parser), tokens[1], "CameraServiceCommand");
  if (!service) return status::Fail;
  // An entity of the wrong kind for that service is refused by the service;
  // the statement itself still succeeds.
  JoinService(service, camera);
  return status::Ok;
}

CoreStatus CameraEndLangCommand(CStringArray&, CoreParser* reader) {
  ConfigParser* parser = AsConfigParser(reader);
  if (!parser) return status::Fail;
  PopLanguage(parser);
  cEntity_BaseCamera* camera = CurrentCamera(parser);
  if (!camera) return status::Fail;
  parser->SetSecondaryObject(nullptr);
  cCore_GlobalWrapper* table = parser->GetTarget();
  if (!table) return status::Fail;
  return camera->AttachView(table->graphics, &table->clientRect);
}
