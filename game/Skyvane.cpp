#include "game/Skyvane.h"

#include "engine/config/CommandRegistry.h"
#include "engine/config/LanguageManager.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/Core3D.h"
#include "engine/services/CoreBaseDescriptor.h"
#include "engine/services/CoreInput.h"
#include "engine/services/GlobalWrapper.h"
#include "engine/services/Panelis.h"
#include "game/GameCamera.h"
#include "gui/plugin/GUIInputSocket.h"
#include "platform/DebugOutput.h"
#include "platform/MessageBox.h"
#include "platform/window/Window.h"
#include "scene/KV9InputManager.h"

cSkyvane::cSkyvane(cKV9_GlobalWrapper* table)
    : gameManager_(table ? table->entityManager : nullptr) {
  splash_ = 1;
  rating_ = 0;
  if (table && table->entityManager) {
    entityManagerContext_ = table->entityManager->GetUserPointer();
    table_ = dynamic_cast<cKV9_GlobalWrapper*>(table->entityManager->GetGlobalWrapper());
  }
  cKV9_ConfigManager::SetBindingTable(table_);
  gameManager_.SetLoadingFinished(&OnLoadingFinished, this);

  // The default size follows the desktop's work area.
  platform::RECT area;
  platform::SystemParametersInfo(platform::SPI_GETWORKAREA, 0, &area, 0);
  const int32_t width = area.right - area.left;
  int32_t w = 640, h = 480;
  if (width > 640) w = 640, h = 480;
  if (width > 800) w = 800, h = 600;
  if (width >= 1025) w = 1024, h = 768;
  configManager_.SetWindowSize(w, h);
  configManager_.SetWindowed(width > 640);
  settingsCheck_ = std::make_unique<SettingsCheck>(w, h);
}

cSkyvane::~cSkyvane() {
  if (window_) {
    platform::UnregisterHotKey(window_, kHotKeyAltTab);
    platform::UnregisterHotKey(window_, kHotKeyAltF4);
  }
  Shutdown();
  if (window_) {
    // The window must not reach this object through its user data again.
    platform::SetWindowLongPtr(window_, platform::GWLP_USERDATA, 0);
    platform::DestroyWindow(window_);
    window_ = nullptr;
  }
  if (cKV9_ConfigManager::GetBindingTable() == table_) cKV9_ConfigManager::SetBindingTable(nullptr);
}

void cSkyvane::OnLoadingFinished(void* application) { static_cast<cSkyvane*>(application)->EndSplash(); }

CoreStatus cSkyvane::FailInit(const std::string& why) {
  failure_ = why;
  platform::OutputDebugString("[cSkyvane::Init] " + why + "\n");
  return status::Fail;
}

void cSkyvane::StopWithFailure(const std::string& why) {
  failure_ = why;
  ShowFailure(why);
  platform::PostQuitMessage(1);
}

void cSkyvane::ShowFailure(const std::string& text) {
  if (failureShown_) return;
  failureShown_ = true;
  // A box on a display; standard error has it too (without a display the
  // box itself goes there).
  if (platform::MessageBoxesShown()) platform::OutputDebugString(std::string("[MessageBox] ") + kCaption + ": " + text + "\n");
  platform::MessageBox(text, kCaption, platform::MB_OK | platform::MB_ICONERROR);
}

void cSkyvane::NameMissingPlugins() {
  struct Need {
    int32_t type;
    const char* name;
  };
  static constexpr Need kNeeds[] = {{eService_Graphics, "renderer"}, {eService_Input, "input"}, {eService_GUI, "GUI"}};
  std::string missing;
  for (const Need& need : kNeeds) {
    bool found = false;
    for (const cCore_LibraryManager::ClassData& entry : libraryManager_.GetClasses()) {
      if (entry.descriptor && entry.descriptor->GetServiceType() == need.type) found = true;
    }
    if (!found) missing += missing.empty() ? need.name : std::string(", ") + need.name;
  }
  FailInit(missing.empty() ? "the plug-ins did not start" : "missing plug-in: " + missing);
}

CoreStatus cSkyvane::Init(platform::HINSTANCE instance) {
  if (!entityManagerContext_ || !table_) return FailInit("no service table");
  table_->gameManager = &gameManager_;
  table_->SetInstance(instance);
  if (!CreateMainWindow()) return FailInit("cannot create the main window");
  platform::RegisterHotKey(window_, kHotKeyAltTab, platform::MOD_ALT, platform::VK_TAB);
  platform::RegisterHotKey(window_, kHotKeyAltF4, platform::MOD_ALT, platform::VK_F4);
  table_->SetWindowQueries(&platform::GetWindowRect, &platform::GetSystemMetrics);
  table_->UpdateClientRect();

  if (ConfigParser* parser = configManager_.GetParser()) parser->SetTarget(table_);
  table_->SetConfigManager(&configManager_);
  if (status::Failed(configManager_.LoadConfig(configScript_))) return FailInit("cannot read " + configScript_);
  settingsCheck_->Check(configManager_, configScript_);
  if (status::Succeeded(configManager_.LoadConfig("KV9.cfg"))) settingsCheck_->Check(configManager_, "KV9.cfg");
  // The resolution last accepted on the options screen is the window this
  // start opens; the renderer's device is made for it next.
  std::string resolution;
  int32_t width = 0, height = 0;
  if (configManager_.GetString("Graphics", "Resolution", resolution) &&
      SettingsCheck::ParseResolution(resolution, &width, &height) &&
      (width != configManager_.GetWidth() || height != configManager_.GetHeight())) {
    configManager_.SetWindowSize(width, height);
    PlaceMainWindow();
    table_->UpdateClientRect();
  }

  // The plug-ins that did load are released at once, by the whole shutdown:
  // the registries still hold the actions and spawns of their packages and
  // must go before the libraries' code is unloaded.
  const CoreStatus started = libraryManager_.Init(kServiceMask, &configManager_, table_);
  if (status::Failed(started)) {
    NameMissingPlugins();
    Shutdown();
    return status::Fail;
  }
  if (!MeetsMinimumGraphicsCapabilities(table_->graphics)) {
    ShowFailure(kMinimumRequirementsMessage);
    Shutdown();
    return FailInit(kMinimumRequirementsMessage);
  }
  // The sound plug-in is not needed to play; its absence is said once.
  if (!table_->sound) platform::OutputDebugString("[cSkyvane] no sound plug-in: the game runs without sound\n");
  if (table_->input) table_->input->SetClientRectRef(&table_->clientRect);
  widgets_ = std::make_unique<GuiSimulationWidgets>(table_);
  initialised_ = 1;
  gameManager_.SetStartupScript(configScript_);
  if (status::Failed(gameManager_.Init(&configManager_))) return FailInit("the game manager did not start");
  if (table_->input) table_->input->SetReceiver(table_->inputManager);
  if (cKV9_InputManager* input = table_->inputManager) {
    if (table_->gui && table_->gui->GetInputSocket()) {
      input->AddMouseSocketFront(table_->gui->GetInputSocket());
      input->AddKeySocketFront(table_->gui->GetInputSocket());
    }
    input->AddMouseSocket(&gameManager_);
    input->AddKeySocket(&gameManager_);
  }
  if (cEntity_GameCamera* camera = gameManager_.GetGameCamera()) camera->RegisterKeyHandlers(&configManager_);
  RegisterCommandPackages();
  return started;
}

void cSkyvane::RegisterCommandPackages() {
  if (!table_ || packagesRegistered_) return;
  packagesRegistered_ = true;
  if (table_->commandRegistry) table_->commandRegistry->RegisterAll(*commandPack_.GetCommandMap());
  if (LanguageManager* languages = table_->languageManager) {
    std::string language = "GUICommon";
    languages->GetOrCreateLanguage(language);
    std::string keyword = "imagelist";
    std::string command = "ImageListCommand";
    languages->AddKeyword(language, keyword, command);
  }
}

void cSkyvane::Shutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  if (table_) {
    if (cKV9_InputManager* input = table_->inputManager) {
      if (table_->gui && table_->gui->GetInputSocket()) {
        input->RemoveMouseSocket(table_->gui->GetInputSocket());
        input->RemoveKeySocket(table_->gui->GetInputSocket());
      }
      input->RemoveMouseSocket(&gameManager_);
      input->RemoveKeySocket(&gameManager_);
    }
  }
  gameManager_.Shutdown();
  widgets_.reset();
  if (table_) {
    table_->ClearConfigOptions();
    libraryManager_.Shutdown(table_);
    if (table_->gameManager == &gameManager_) table_->gameManager = nullptr;
  }
}
