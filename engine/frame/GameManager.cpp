#include "engine/frame/GameManager.h"

#include <algorithm>

#include "engine/entity/ActionManager.h"
#include "engine/frame/BaseCamera.h"
#include "engine/frame/BaseCursor.h"
#include "engine/frame/BaseService.h"
#include "engine/config/CommandRegistry.h"
#include "engine/config/ConfigManager.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/InputPackets.h"
#include "engine/config/LanguageManager.h"
#include "engine/services/Panelis.h"
#include "engine/frame/ParticleService.h"
#include "engine/frame/PhysicsService.h"
#include "engine/frame/RenderService.h"
#include "engine/frame/ServiceCommands.h"
#include "engine/frame/ServiceScript.h"
#include "base/StringUtil.h"
#include "engine/frame/TimeService.h"
#include "platform/DebugOutput.h"

namespace {

struct KeywordBinding {
  const char* language;
  const char* keyword;
  const char* command;
};

constexpr KeywordBinding kCommonKeywords[] = {
    {"ConfigCommon", "timeservice", "TimeServiceCommand"},
    {"ConfigCommon", "renderservice", "RenderServiceCommand"},
    {"ConfigCommon", "physicsservice", "PhysicsServiceCommand"},
    {"ConfigCommon", "particleservice", "ParticleServiceCommand"},
    {"ConfigCommon", "camera", "CameraCommand"},
    {"ConfigCommon", "cursor", "CursorCommand"},
};

constexpr KeywordBinding kBlockKeywords[] = {
    {"TimeServiceLanguage", "timeline", "TimelineCommand"},
    {"TimeServiceLanguage", "}", "TSEndLangCommand"},
    {"TimelineLanguage", "property", "TimelinePropCommand"},
    {"TimelineLanguage", "}", "TLEndLangCommand"},
    {"RenderServiceLanguage", "property", "RenderServicePropCommand"},
    {"RenderServiceLanguage", "}", "RSEndLangCommand"},
    {"PhysicsServiceLanguage", "property", "PhysicsServicePropCommand"},
    {"PhysicsServiceLanguage", "}", "PSEndLangCommand"},
    {"ParticleServiceLanguage", "property", "ParticleServicePropCommand"},
    {"ParticleServiceLanguage", "}", "PartServEndLangCommand"},
    {"CameraLanguage", "property", "CameraPropCommand"},
    {"CameraLanguage", "service", "CameraServiceCommand"},
    {"CameraLanguage", "}", "CameraEndLangCommand"},
    {"CursorLanguage", "property", "CursorPropCommand"},
    {"CursorLanguage", "service", "CursorServiceCommand"},
    {"CursorLanguage", "}", "CursorEndLangCommand"},
};

bool Bind(LanguageManager* languages, const KeywordBinding& b) {
  std::string language = b.language;
  std::string keyword = b.keyword;
  std::string command = b.command;
  languages->GetOrCreateLanguage(language);
  return languages->AddKeyword(language, keyword, command);
}

// Compared as service pointers: a typed service's own address differs from
// its service part's when the service has another base first.
template <typename T>
void Erase(std::vector<T*>& list, const cBaseService* service) {
  list.erase(std::remove_if(list.begin(), list.end(), [&](T* p) { return static_cast<cBaseService*>(p) == service; }),
             list.end());
}

}  // namespace

cGameManager::cGameManager(cEntity_Manager* entityManager)
    : cCore_Base_InputSocket("GameManager"), entityManager_(entityManager) {
  if (entityManager_) {
    context_ = entityManager_->GetUserPointer();
    table_ = entityManager_->GetGlobalWrapper();
  }
}

cGameManager::~cGameManager() {
  // The services belong to the entity manager; they only forget this
  // manager so that none reports back to it later.
  auto forget = [this](auto& list) {
    for (auto* service : list) {
      if (service->GetFiledWith() == this) service->SetFiledWith(nullptr);
    }
    list.clear();
  };
  forget(generalServices_);
  forget(renderServices_);
  forget(physicsServices_);
  forget(timeServices_);
  forget(particleServices_);
  entities_.clear();
  delete actionManager_;
  actionManager_ = nullptr;
}

CoreStatus cGameManager::OnMouse(MousePacket* packet) {
  for (cCore_Base_InputSocket* socket : GetMouseList()) {
    if (status::Succeeded(socket->OnMouse(packet))) return status::Ok;
  }
  return status::Fail;
}

CoreStatus cGameManager::OnKey(KeyboardPacket* packet) {
  for (cCore_Base_InputSocket* socket : GetKeyList()) {
    if (status::Succeeded(socket->OnKey(packet))) return status::Ok;
  }
  return status::Fail;
}

CoreStatus cGameManager::Init(cCore_ConfigManager* configManager) {
  configManager_ = configManager;
  CreateActionManager();
  if (!actionManager_ || status::Failed(actionManager_->RegisterWithFactory())) return status::Fail;
  if (status::Failed(RegisterCommands())) return status::Fail;
  if (status::Failed(DefineLanguages())) return status::Fail;
  if (!configManager_) return status::Fail;
  configManager_->SetGameManager(this);
  // The start-up script reaches the services through the table and reads
  // its keywords from the languages just defined.
  if (ConfigParser* parser = configManager_->GetParser()) {
    if (!parser->GetTarget() && table_) parser->SetTarget(table_);
    if (!parser->GetLanguageManager() && table_) parser->SetLanguageManager(table_->languageManager);
  }
  if (status::Failed(configManager_->RunScript(startupScript_))) return status::Fail;

  platform::OutputDebugString("**--** [GAMEMANAGER::Init]:: Camera INIT\n");
  if (entityManager_) {
    camera_ = dynamic_cast<cEntity_BaseCamera*>(entityManager_->FindEntity("MainCamera"));
    if (camera_) cursor_ = dynamic_cast<cEntity_BaseCursor*>(entityManager_->FindEntity("MainCursor"));
  }
  return status::Ok;
}

void cGameManager::Shutdown() {
  for (cEntity_Base* entity : entities_) entity->MarkForRemoval();
  entities_.clear();
  if (entityManager_) entityManager_->Update(0.01f);

  for (cBaseService* service : generalServices_) {
    service->SetFiledWith(nullptr);
    service->MarkForRemoval();
  }
  generalServices_.clear();
  if (entityManager_) entityManager_->Update(0.01f);

  if (table_ && table_->gui) table_->gui->DestroyWorld();
  if (entityManager_) entityManager_->Update(0.01f);

  delete actionManager_;
  actionManager_ = nullptr;
}

CoreStatus cGameManager::RegisterCommands() {
  if (!table_ || !table_->commandRegistry) return status::Fail;
  CommandMap commands{
      {"TimeServiceCommand", &TimeServiceCommand},
      {"TSEndLangCommand", &TSEndLangCommand},
      {"TimelineCommand", &TimelineCommand},
      {"TimelinePropCommand", &TimelinePropCommand},
      {"TLEndLangCommand", &TLEndLangCommand},
      {"RenderServiceCommand", &RenderServiceCommand},
      {"RSEndLangCommand", &RSEndLangCommand},
      {"RenderServicePropCommand", &RenderServicePropCommand},
      {"PhysicsServiceCommand", &PhysicsServiceCommand},
      {"PSEndLangCommand", &PSEndLangCommand},
      {"PhysicsServicePropCommand", &PhysicsServicePropCommand},
      {"ParticleServiceCommand", &ParticleServiceCommand},
      {"PartServEndLangCommand", &PartServEndLangCommand},
      {"ParticleServicePropCommand", &ParticleServicePropCommand},
      {"CameraCommand", &CameraCommand},
      {"CameraEndLangCommand", &CameraEndLangCommand},
      {"CameraPropCommand", &CameraPropCommand},
      {"CameraServiceCommand", &CameraServiceCommand},
      {"CursorCommand", &CursorCommand},
      {"CursorEndLangCommand", &CursorEndLangCommand},
      {"CursorPropCommand", &CursorPropCommand},
      {"CursorServiceCommand", &CursorServiceCommand},
  };
  table_->commandRegistry->RegisterAll(commands);
  return status::Ok;
}

void cGameManager::CreateActionManager() {
  delete actionManager_;
  actionManager_ = new cActionManager(entityManager_);
  actionManager_->AddSpawn(new SpawnBaseCamera());
  actionManager_->AddSpawn(new SpawnBaseCursor());
  actionManager_->AddSpawn(new SpawnTimeService());
  actionManager_->AddSpawn(new SpawnParticleService());
  actionManager_->AddSpawn(new SpawnPhysicsService());
  actionManager_->AddSpawn(new SpawnRenderService());
}

void cGameManager::SetActionManager(cActionManager* manager) {
  if (manager == actionManager_) return;
  delete actionManager_;
  actionManager_ = manager;
}

CoreStatus cGameManager::DefineLanguages() {
  if (!table_ || !table_->languageManager) return status::Fail;
  LanguageManager* languages = table_->languageManager;
  for (const KeywordBinding& b : kCommonKeywords) Bind(languages, b);
  std::string common = "ConfigCommon";
  languages->PushLanguage(common);
  for (const KeywordBinding& b : kBlockKeywords) Bind(languages, b);
  return status::Ok;
}

CoreStatus cGameManager::AddService(cBaseService* service) {
  if (!service) return status::Fail;
  const int32_t type = service->GetServiceType();
  auto file = [&](auto* typed, auto& list) {
    if (!typed) return status::Fail;
    // A service is filed once, so it is updated at most once per frame.
    if (std::find(list.begin(), list.end(), typed) == list.end()) list.push_back(typed);
    service->SetFiledWith(this);
    return status::Ok;
  };
  switch (type) {
    case eServiceKind_Render: return file(dynamic_cast<cRenderService*>(service), renderServices_);
    case eServiceKind_Physics: return file(dynamic_cast<PhysicsService*>(service), physicsServices_);
    case eServiceKind_Time: return file(dynamic_cast<TimeService*>(service), timeServices_);
    case eServiceKind_Particle: return file(dynamic_cast<cParticleService*>(service), particleServices_);
    default: return status::Ok;
  }
}

void cGameManager::AddGeneralService(cBaseService* service) {
  if (!service) return;
  if (std::find(generalServices_.begin(), generalServices_.end(), service) != generalServices_.end()) return;
  generalServices_.push_back(service);
  service->SetFiledWith(this);
}

void cGameManager::RemoveService(cBaseService* service) {
  Erase(generalServices_, service);
  Erase(renderServices_, service);
  Erase(physicsServices_, service);
  Erase(timeServices_, service);
  Erase(particleServices_, service);
}

void cGameManager::Update(bool paused) {
  for (TimeService* service : timeServices_) {
    frameTime_ = service->Update();
    service->SetUpdateMark(true);
  }
  for (PhysicsService* service : physicsServices_) {
    service->Update(frameTime_);
    service->SetUpdateMark(true);
  }
  for (cRenderService* service : renderServices_) {
    service->Update(frameTime_);
    service->SetUpdateMark(true);
  }
  if (!paused) {
    for (cParticleService* service : particleServices_) {
      service->Update(frameTime_);
      service->SetUpdateMark(true);
    }
  }
  for (cBaseService* service : generalServices_) {
    if (service->GetUpdateMark()) continue;
    service->Update(frameTime_);
    service->SetUpdateMark(true);
  }
  for (cBaseService* service : generalServices_) service->SetUpdateMark(false);
}

CoreStatus cGameManager::SpawnEntity(const std::string& spawnName, cEntity_Base** entity) {
  cEntity_Base* made = nullptr;
  const CoreStatus result = entityManager_ ? entityManager_->CreateEntityByName(spawnName, &made) : status::Fail;
  if (entity) *entity = made;
  if (status::Failed(result) || !made) return status::Fail;
  entities_.push_back(made);
  return status::Ok;
}

CoreStatus cGameManager::AttachToServices(std::list<std::string>& serviceNames, cEntity_Base* entity) {
  if (!entity) return status::Ok;
  while (!serviceNames.empty()) {
    const std::string name = std::move(serviceNames.front());
    serviceNames.pop_front();
    cBaseService* service = svcscript::FindService(entityManager_, name, "GAMEMANAGER::AttachToServices");
    if (!service) continue;
    svcscript::JoinService(service, entity);
  }
  return status::Ok;
}

CoreStatus cGameManager::DestroyEntity(cEntity_Base* entity) {
  auto it = std::find(entities_.begin(), entities_.end(), entity);
  if (it == entities_.end() || !entity) return status::Fail;
  entity->MarkForRemoval();
  entities_.erase(it);
  return status::Ok;
}

CoreStatus cGameManager::DestroyEntityByName(const std::string& name) {
  auto it = std::find_if(entities_.begin(), entities_.end(),
                         [&](cEntity_Base* e) { return str::EqualsNoCase(e->NameRef(), name); });
  if (it == entities_.end()) return status::Fail;
  (*it)->MarkForRemoval();
  entities_.erase(it);
  return status::Ok;
}
