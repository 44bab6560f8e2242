#include "engine/services/GlobalWrapper.h"

#include <new>

#include "engine/entity/ActionFactory.h"
#include "engine/config/CommandRegistry.h"
#include "engine/services/CoreInput.h"
#include "engine/entity/EntityManager.h"
#include "engine/config/LanguageManager.h"

cCore_GlobalWrapper::cCore_GlobalWrapper() {
  // A registry that cannot be allocated leaves its field null; the
  // application checks what it needs before it starts.
  actionFactory = new (std::nothrow) cAction_Factory();
  commandRegistry = new (std::nothrow) OCFactory();
  languageManager = new (std::nothrow) LanguageManager(commandRegistry);
  entityManager = new (std::nothrow) cEntity_Manager(actionFactory);
}

cCore_GlobalWrapper::~cCore_GlobalWrapper() { ClearConfigOptions(); }

void cCore_GlobalWrapper::ClearConfigOptions() {
  for (auto& entry : configOptions) delete entry.second;
  configOptions.clear();
  // The entities go first: their exits may still use the registries.
  delete entityManager;
  entityManager = nullptr;
  delete actionFactory;
  actionFactory = nullptr;
  delete languageManager;
  languageManager = nullptr;
  delete commandRegistry;
  commandRegistry = nullptr;
}

void cCore_GlobalWrapper::UpdateClientRect() {
  if (!window || !getWindowRect_ || !getSystemMetrics_) return;
  platform::RECT rect;
  if (!getWindowRect_(window, &rect)) return;
  const int32_t frameX = getSystemMetrics_(platform::SM_CXSIZEFRAME);
  const int32_t frameY = getSystemMetrics_(platform::SM_CYSIZEFRAME);
  const int32_t caption = getSystemMetrics_(platform::SM_CYCAPTION);
  rect.top += frameY + caption;
  rect.bottom -= frameY;
  rect.left += frameX;
  rect.right -= frameX;
  clientRect = rect;
}

cCore_LibraryManager* cCore_GlobalWrapper::SetLibraryManager(cCore_LibraryManager* manager) {
  return libraryManager = manager;
}
cCore_ConfigManager* cCore_GlobalWrapper::SetConfigManager(cCore_ConfigManager* manager) {
  return configManager = manager;
}
SoundMgr* cCore_GlobalWrapper::SetSound(SoundMgr* module) { return sound = module; }
Core3D* cCore_GlobalWrapper::SetGraphics(Core3D* module) { return graphics = module; }
CoreInput* cCore_GlobalWrapper::SetInput(CoreInput* module) { return input = module; }
CorePhysics* cCore_GlobalWrapper::SetPhysics(CorePhysics* module) { return physics = module; }
CoreInterface* cCore_GlobalWrapper::SetInterface(CoreInterface* module) { return interfaceModule = module; }
Panelis* cCore_GlobalWrapper::SetGUI(Panelis* module) { return gui = module; }
CoreBase* cCore_GlobalWrapper::SetFurtherModuleA(CoreBase* module) { return furtherModuleA = module; }
CoreBase* cCore_GlobalWrapper::SetFurtherModuleB(CoreBase* module) { return furtherModuleB = module; }
platform::HWND cCore_GlobalWrapper::SetWindow(platform::HWND handle) { return window = handle; }
platform::HINSTANCE cCore_GlobalWrapper::SetInstance(platform::HINSTANCE handle) { return instance = handle; }

cKV9_GlobalWrapper::cKV9_GlobalWrapper() : cKV9_GlobalWrapper(InputManagerHooks()) {}

cKV9_GlobalWrapper::cKV9_GlobalWrapper(const InputManagerHooks& hooks) : hooks_(hooks) {
  if (hooks_.create) inputManager = hooks_.create();
  entityManagerContext = new (std::nothrow) uint8_t(0);
  if (entityManager) {
    entityManager->SetGlobalWrapper(this);
    entityManager->SetUserPointer(entityManagerContext);
  }
}

cKV9_GlobalWrapper::~cKV9_GlobalWrapper() {
  if (entityManager) entityManager->SetUserPointer(nullptr);
  if (inputManager && hooks_.destroy) hooks_.destroy(inputManager);
  inputManager = nullptr;
  delete entityManagerContext;
  entityManagerContext = nullptr;
}

CoreInput* cKV9_GlobalWrapper::SetInput(CoreInput* module) {
  inputDevices = dynamic_cast<cCore_Base_DeviceManager*>(module);
  return cCore_GlobalWrapper::SetInput(module);
}
