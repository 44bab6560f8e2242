#include "game/KV9GameManager.h"

#include <filesystem>
#include <new>
#include <system_error>

#include "base/StringUtil.h"
#include "construction/PathFinder.h"
#include "engine/config/CommandRegistry.h"
#include "engine/config/LanguageManager.h"
#include "engine/entity/EntityManager.h"
#include "engine/files/StringHolder.h"
#include "engine/frame/BaseCursor.h"
#include "engine/frame/ParticleFactory.h"
#include "engine/frame/RenderService.h"
#include "engine/frame/RenderServiceItem.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/Panelis.h"
#include "game/GameCamera.h"
#include "game/GameCommands.h"
#include "game/GameCursor.h"
#include "game/GameSceneHost.h"
#include "game/Skyvane.h"
#include "game/KV9ActionManager.h"
#include "gui/core/GUIEntity.h"
#include "gui/core/GUIWorld.h"
#include "platform/DebugOutput.h"
#include "scene/AudioManager.h"
#include "scene/SceneHost.h"
#include "simulation/Simulation.h"

bool g_mainFrameRenderInProgress = false;
bool g_loadingFrameInProgress = false;

namespace {

// Entities of the ambient traffic carry this flag bit.
constexpr uint32_t kEntityFlag_Ambient = 0x20000;

void SetAmbientsVisible(const std::vector<cEntity_Base*>& entities, bool visible) {
  for (cEntity_Base* entity : entities) {
    if (!(entity->GetFlags() & kEntityFlag_Ambient)) continue;
    if (auto* item = dynamic_cast<cRenderServiceItem*>(entity)) item->SetVisible(visible);
  }
}

// The text the loading screens show, shared by every loading step.
StringHolder* g_loadingText = nullptr;

struct KeywordBinding {
  const char* language;
  const char* keyword;
  const char* command;
};

constexpr KeywordBinding kGameKeywords[] = {
    {"ConfigCommon", "gamecamera", "GameCameraCommand"},
    {"GameCameraLanguage", "property", "GameCameraPropCommand"},
    {"GameCameraLanguage", "service", "CameraServiceCommand"},
    {"GameCameraLanguage", "}", "GameCameraEndLangCommand"},
    {"ConfigCommon", "gamecursor", "GameCursorCommand"},
    {"GameCursorLanguage", "property", "GameCursorPropCommand"},
    {"GameCursorLanguage", "service", "CursorServiceCommand"},
    {"GameCursorLanguage", "state", "GameCursorStateCommand"},
    {"GameCursorLanguage", "}", "GameCursorEndLangCommand"},
};

std::string CurrentDirectory() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::current_path(error);
  return error ? std::string() : path.string();
}

}  // namespace

cKV9_GameManager::cKV9_GameManager(cEntity_Manager* entityManager) : cGameManager(entityManager) {
  table_ = dynamic_cast<cKV9_GlobalWrapper*>(GetTable());
  // The scene's audio and particle managers reach the game through its host.
  InstallSceneHost(&GameSceneHost());
  SetLoadingText("Beginning initialization...");
  baseDirectory_ = CurrentDirectory() + "\\";
}

cKV9_GameManager::~cKV9_GameManager() {
  // A run that never reached Terminate still frees the path finder it made.
  if (pathFinder_) {
    if (table_ && table_->pathFinder == pathFinder_) table_->pathFinder = nullptr;
    delete pathFinder_;
  }
}

StringHolder** cKV9_GameManager::GetLoadingTextHolder() { return &g_loadingText; }

void cKV9_GameManager::SetLoadingText(const std::string& text) { StringHolder::Get(g_loadingText) = text; }

const std::string& cKV9_GameManager::GetLoadingText() { return StringHolder::Get(g_loadingText); }

CoreStatus cKV9_GameManager::Init(cCore_ConfigManager* configManager) {
  platform::OutputDebugString("**--** [KV9_GAMEMANAGER::INIT] BASE INIT\n");
  if (status::Failed(cGameManager::Init(configManager))) return status::Fail;
  if (cEntity_BaseCursor* cursor = GetCursor()) {
    if (table_) {
      cursor->BindCamera(table_->graphics, 0);
      if (table_->gui) table_->gui->SetCursorSocket(cursor);
    }
  }
  platform::OutputDebugString("**--** [KV9_GAMEMANAGER::INIT] RENDER INIT\n");
  if (table_) {
    for (cRenderService* service : GetRenderServices()) service->SetViewport(&table_->clientRect);
  }
  cEntity_Manager* entities = GetEntityManager();
  const std::string resources = entities ? entities->GetResourcePath() : std::string();
  saveDirectory_ = resources + "Save\\";
  scenarioDirectory_ = resources + "Scenarios\\";
  platform::OutputDebugString("[KV9GM::Init] FINISHED INIT\n");
  return status::Ok;
}

void cKV9_GameManager::Shutdown() {
  cGameManager::Shutdown();
  particleFactories_.clear();
  particleFactories_.shrink_to_fit();
}

CoreStatus cKV9_GameManager::RegisterCommands() {
  if (status::Failed(cGameManager::RegisterCommands())) return status::Fail;
  CommandMap commands{
      {"GameCameraCommand", &GameCameraCommand},
      {"GameCameraEndLangCommand", &GameCameraEndLangCommand},
      {"GameCameraPropCommand", &GameCameraPropCommand},
      {"GameCursorCommand", &GameCursorCommand},
      {"GameCursorEndLangCommand", &GameCursorEndLangCommand},
      {"GameCursorPropCommand", &GameCursorPropCommand},
      {"GameCursorStateCommand", &GameCursorStateCommand},
  };
  GetTable()->commandRegistry->RegisterAll(commands);
  return status::Ok;
}

void cKV9_GameManager::CreateActionManager() {
  SetActionManager(new (std::nothrow) cKV9_ActionManager(GetEntityManager()));
}

CoreStatus cKV9_GameManager::DefineLanguages() {
  if (status::Failed(cGameManager::DefineLanguages())) return status::Fail;
  LanguageManager* languages = GetTable()->languageManager;
  for (const KeywordBinding& b : kGameKeywords) {
    std::string language = b.language;
    std::string keyword = b.keyword;
    std::string command = b.command;
    languages->GetOrCreateLanguage(language);
    languages->AddKeyword(language, keyword, command);
  }
  return status::Ok;
}

void cKV9_GameManager::Update() {
  const bool paused = table_ && table_->simulation && table_->simulation->clock.speed == 0.0f;
  cGameManager::Update(paused);
  if (!mainMenuPending_) return;
  cEntity_Manager* entities = GetEntityManager();
  if (table_ && table_->audioManager && entities)
    table_->audioManager->PlayMusic(entities->GetResourcePath() + kMenuMusic);
  SetLoadingProgress(4);
  Panelis* gui = table_ ? table_->gui : nullptr;
  if (gui) {
    // Without its description file there is no main menu: the start stops
    // (the GUI has said why it could not read it).
    if (!gui->LoadGUIFile("main.gui") && table_->application)
      table_->application->StopWithFailure("Loading failed: cannot read \"main.gui\"");
    gui->DestroyEntityByName("SplashGraphic");
  }
  SetLoadingProgress(4);
  if (gui) {
    if (GUIEntity* menu = gui->FindEntity("scnMainMenu")) menu->SetVisible(1);
  }
  mainMenuPending_ = 0;
  SetLoadingProgress(100);
  if (GetCursor()) GetCursor()->Show();
}

void cKV9_GameManager::SetLightColour(float r, float g, float b) {
  for (const char* name : kRenderServiceNames) {
    if (cRenderService* service = FindRenderService(name)) service->SetAmbientLight(JVector(r, g, b));
  }
}

cRenderService* cKV9_GameManager::FindRenderService(const char* name) {
  cEntity_Manager* entities = GetEntityManager();
  return entities ? dynamic_cast<cRenderService*>(entities->FindEntity(name)) : nullptr;
}

cEntity_ParticleFactory* cKV9_GameManager::GetParticleFactory(uint16_t index) {
  return index < particleFactories_.size() ? particleFactories_[index] : nullptr;
}

cEntity_ParticleFactory* cKV9_GameManager::FindParticleFactory(const char* name) {
  if (!name) return nullptr;
  for (cEntity_ParticleFactory* factory : particleFactories_) {
    if (factory && str::EqualsNoCase(factory->GetParams().name, name)) return factory;
  }
  return nullptr;
}

cEntity_GameCamera* cKV9_GameManager::GetGameCamera() { return dynamic_cast<cEntity_GameCamera*>(GetCamera()); }

void cKV9_GameManager::HideWorld() {
  for (const char* name : kRenderServiceNames) {
    if (cRenderService* service = FindRenderService(name)) service->SetActive(false);
  }
}

void cKV9_GameManager::ShowWorld() {
  for (const char* name : kRenderServiceNames) {
    if (cRenderService* service = FindRenderService(name)) service->SetActive(true);
  }
}

void cKV9_GameManager::HideAmbients() { SetAmbientsVisible(GetEntities(), false); }

void cKV9_GameManager::ShowAmbients() { SetAmbientsVisible(GetEntities(), true); }
