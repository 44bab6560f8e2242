#pragma once
// The global service table: the one object through which every part of the
// program reaches the shared services (the plug-in modules, the core
// registries, the main window) and, in the game's subclass, the game's
// managers. Users keep a pointer to the table and read the fields when they
// need them; there are no getters. The table owns only what it creates
// itself; the plug-in modules belong to the library manager.
#include <cstdint>
#include <string>
#include <unordered_map>

#include "engine/services/CoreBase.h"
#include "engine/files/ObjectDefStore.h"
#include "platform/window/WindowTypes.h"

class cCore_LibraryManager;
class cCore_ConfigManager;
class cAction_Factory;
class OCFactory;
class LanguageManager;
class cEntity_Manager;
class SoundMgr;
class Core3D;
class CoreInput;
class CorePhysics;
class CoreInterface;
class Panelis;
class cCore_Base_DeviceManager;

class cCore_GlobalWrapper {
 public:
  // The window queries UpdateClientRect needs; the window layer provides them.
  using GetWindowRectFunc = bool (*)(platform::HWND window, platform::RECT* rect);
  using GetSystemMetricsFunc = int32_t (*)(int32_t index);

  cCore_GlobalWrapper();
  // ClearConfigOptions; the modules are not released here.
  virtual ~cCore_GlobalWrapper();
  cCore_GlobalWrapper(const cCore_GlobalWrapper&) = delete;
  cCore_GlobalWrapper& operator=(const cCore_GlobalWrapper&) = delete;

  // The window's client area in screen coordinates: its outer rectangle less
  // the sizing frame and the caption. Nothing without a window.
  virtual void UpdateClientRect();
  // Each setter stores its argument and returns it.
  virtual cCore_LibraryManager* SetLibraryManager(cCore_LibraryManager* manager);
  virtual cCore_ConfigManager* SetConfigManager(cCore_ConfigManager* manager);
  virtual SoundMgr* SetSound(SoundMgr* sound);
  virtual Core3D* SetGraphics(Core3D* graphics);
  virtual CoreInput* SetInput(CoreInput* input);
  virtual CorePhysics* SetPhysics(CorePhysics* physics);
  virtual CoreInterface* SetInterface(CoreInterface* module);
  virtual Panelis* SetGUI(Panelis* gui);
  virtual CoreBase* SetFurtherModuleA(CoreBase* module);
  virtual CoreBase* SetFurtherModuleB(CoreBase* module);
  virtual platform::HWND SetWindow(platform::HWND window);
  virtual platform::HINSTANCE SetInstance(platform::HINSTANCE instance);

  // Deletes every option record, then destroys the entity manager, the
  // action factory, the language manager and the command registry, clearing
  // each field. A second call finds nothing more to do.
  void ClearConfigOptions();

  void SetWindowQueries(GetWindowRectFunc getWindowRect, GetSystemMetricsFunc getSystemMetrics) {
    getWindowRect_ = getWindowRect;
    getSystemMetrics_ = getSystemMetrics;
  }

  ObjectDefStore objectDefs;
  cCore_LibraryManager* libraryManager = nullptr;
  cCore_ConfigManager* configManager = nullptr;
  cAction_Factory* actionFactory = nullptr;
  OCFactory* commandRegistry = nullptr;
  LanguageManager* languageManager = nullptr;
  cEntity_Manager* entityManager = nullptr;
  SoundMgr* sound = nullptr;
  Core3D* graphics = nullptr;
  CoreInput* input = nullptr;
  CorePhysics* physics = nullptr;
  CoreInterface* interfaceModule = nullptr;
  Panelis* gui = nullptr;
  CoreBase* furtherModuleA = nullptr;
  CoreBase* furtherModuleB = nullptr;
  // Handed to the input module's start as its third value; kept clear. It is
  // pointer-sized because it travels as a pointer.
  uintptr_t furtherWord = 0;
  platform::HWND window = nullptr;
  platform::HINSTANCE instance = nullptr;
  platform::RECT clientRect;
  CoreBaseConfigMap configOptions;

 private:
  GetWindowRectFunc getWindowRect_ = nullptr;
  GetSystemMetricsFunc getSystemMetrics_ = nullptr;
};

// The game's managers, reached through the game's table.
class cSkyvane;
class cEntity_GameKV9;
class cEntity_GameScenario;
class cKV9_GameManager;
class cKV9_InputManager;
class cEntity_AudioManager;
class cEntity_TerrainManager;
class cEntity_AmbientManager;
class cEntity_RoadManager;
class cEntity_WeatherManager;
class cEntity_AlphaManager;
class cEntity_GamePlot;
class cEntity_Simulation;
class cEntity_EventManager;
class cEntity_AirlineManager;
class cEntity_BuildingManager;
class cEntity_StatManager;
class cEntity_AirportManager;
class cEntity_ContractManager;
class cEntity_TaxiwayManager;
class cPathFinder;
class cEntity_ParticleFactoryManager;

class cKV9_GlobalWrapper : public cCore_GlobalWrapper {
 public:
  // The game's input manager is a game class: the game hands in how to make
  // and destroy it, and the table owns what `create` returns.
  struct InputManagerHooks {
    cKV9_InputManager* (*create)() = nullptr;
    void (*destroy)(cKV9_InputManager* manager) = nullptr;
  };

  cKV9_GlobalWrapper();
  explicit cKV9_GlobalWrapper(const InputManagerHooks& hooks);
  // Destroys the input manager and the context object, then the base.
  ~cKV9_GlobalWrapper() override;

  // Stores the module and, when it is an input device manager, the module
  // seen as one (null otherwise).
  CoreInput* SetInput(CoreInput* input) override;

  // The entity manager's context: a one-byte object the table owns.
  uint8_t* entityManagerContext = nullptr;
  cSkyvane* application = nullptr;
  cEntity_GameKV9* game = nullptr;
  cEntity_GameScenario* scenario = nullptr;
  cKV9_GameManager* gameManager = nullptr;
  cKV9_InputManager* inputManager = nullptr;
  cEntity_AudioManager* audioManager = nullptr;
  cEntity_TerrainManager* terrainManager = nullptr;
  void* furtherPointer = nullptr;
  cEntity_AmbientManager* ambientManager = nullptr;
  cEntity_RoadManager* roadManager = nullptr;
  cEntity_WeatherManager* weatherManager = nullptr;
  cEntity_AlphaManager* alphaManager = nullptr;
  cEntity_GamePlot* gamePlot = nullptr;
  cEntity_Simulation* simulation = nullptr;
  cEntity_EventManager* eventManager = nullptr;
  cEntity_AirlineManager* airlineManager = nullptr;
  cEntity_BuildingManager* buildingManager = nullptr;
  cEntity_StatManager* statManager = nullptr;
  cEntity_AirportManager* airportManager = nullptr;
  cEntity_ContractManager* contractManager = nullptr;
  cCore_Base_DeviceManager* inputDevices = nullptr;
  cEntity_TaxiwayManager* taxiwayManager = nullptr;
  cPathFinder* pathFinder = nullptr;  // not owned
  void* furtherPointers[3] = {nullptr, nullptr, nullptr};
  cEntity_ParticleFactoryManager* particleFactoryManager = nullptr;

 private:
  InputManagerHooks hooks_;
};
