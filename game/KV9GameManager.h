#pragma once
// The game's frame object: the engine's game manager plus the game's
// start-up. It creates the game's action manager, registers the camera and
// cursor commands and languages, runs the loading sequence that spawns every
// game manager entity in a fixed order while the loading bar advances, runs
// the per-frame game update (with the one-time entry into the main menu),
// and builds, clears and finally tears down the game world.
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "engine/frame/GameManager.h"

class GUIEntity;
class cEntity_GameCamera;
class cEntity_ParticleFactory;
class cKV9_GlobalWrapper;
class cParticleService;
class cPathFinder;
class cRenderService;
struct StringHolder;

class cKV9_GameManager : public cGameManager {
 public:
  // The render services the game sets up by name.
  static constexpr const char* kRenderServiceNames[4] = {"RenderService", "EnvironmentService",
                                                         "AmbientRenderService", "AlphaService"};
  static constexpr const char* kFailedMessage = "[KV9GM::InitGameSystem] FAILED TO INIT SYSTEM";
  static constexpr const char* kFinishedMessage = "[KV9GM::InitGameSystem] FINISHED INIT SYSTEM";
  static constexpr const char* kMenuMusic = "Sounds\\Music\\interface-music.ogg";
  static constexpr const char* kFactoryTable = "Particles\\factories.kvp";

  explicit cKV9_GameManager(cEntity_Manager* entityManager);
  ~cKV9_GameManager() override;

  // The game's input socket never handles key bindings of its own.
  CoreStatus RegisterKeyHandlers(cGM_ConfigManager*) override { return status::Ok; }
  CoreStatus ReloadKeyHandlers(cGM_ConfigManager*) override { return status::Ok; }
  CoreStatus UnregisterKeyHandlers(cGM_ConfigManager*) override { return status::Ok; }

  CoreStatus Init(cCore_ConfigManager* configManager) override;
  void Shutdown() override;
  CoreStatus RegisterCommands() override;
  void CreateActionManager() override;
  CoreStatus DefineLanguages() override;
  using cGameManager::Update;
  // One game frame: the engine frame (particles stop while the simulation's
  // speed is exactly 0), then the main menu once after loading.
  virtual void Update();

  // The loading sequence. 0, or 0x80004005 at the first failing step, whose
  // loading text and reason GetLoadingFailure then gives.
  CoreStatus InitGameSystem();
  // Advances the loading bar by steps x 0.01 (capped at 1) or resets it,
  // and draws a frame. Steps of 100 or more end the loading display. 1, or
  // 0 when the progress display is off.
  int32_t SetLoadingProgress(uint32_t steps, bool reset = false);
  // The world build after a new game or a load, and the world reset. Each
  // step runs only when its manager exists.
  CoreStatus BuildWorld(bool inGame = false);
  CoreStatus ClearWorld();
  // After the main loop: world reset, factories marked for removal, path
  // finder deleted.
  void Terminate();

  StringHolder** GetLoadingTextHolder();
  void SetLoadingText(const std::string& text);
  const std::string& GetLoadingText();
  void SetBaseDirectory(std::string dir) { baseDirectory_ = std::move(dir); }
  const std::string& GetBaseDirectory() const { return baseDirectory_; }
  void SetSaveDirectory(std::string dir) { saveDirectory_ = std::move(dir); }
  const std::string& GetSaveDirectory() const { return saveDirectory_; }
  void SetScenarioDirectory(std::string dir) { scenarioDirectory_ = std::move(dir); }
  const std::string& GetScenarioDirectory() const { return scenarioDirectory_; }
  void SetLightColour(float r, float g, float b);
  // Null for an index at or past the number of factories.
  cEntity_ParticleFactory* GetParticleFactory(uint16_t index);
  cEntity_ParticleFactory* FindParticleFactory(const char* name);
  uint16_t GetParticleFactoryCount() const { return static_cast<uint16_t>(particleFactories_.size()); }
  cEntity_GameCamera* GetGameCamera();
  void HideWorld();
  void ShowWorld();
  void HideAmbients();
  void ShowAmbients();

  // The loading bar widget of the loading screen (may be null).
  void SetLoadingBar(GUIEntity* bar) { loadingBar_ = bar; }
  GUIEntity* GetLoadingBar() const { return loadingBar_; }
  bool IsMainMenuPending() const { return mainMenuPending_ != 0; }
  float GetLoadingFraction() const { return fraction_; }
  cParticleService* GetParticleService() const { return particleService_; }
  // Where the loading sequence stopped: the step's loading text and why
  // ("no spawn <name>", "<name> set-up failed", ...). Empty after success.
  const std::string& GetFailedStepText() const { return failedText_; }
  const std::string& GetLoadingFailure() const { return failure_; }
  // Called when the loading sequence finishes (the application ends its
  // splash phase).
  void SetLoadingFinished(void (*onFinished)(void*), void* context) {
    onFinished_ = onFinished;
    finishedContext_ = context;
  }
  cKV9_GlobalWrapper* GetGameTable() const { return table_; }
  // The managers whose classes the table does not know yet, kept here as
  // entities (the table's fields take them once their classes exist).
  cEntity_Base* GetTerrainManagerEntity() const { return terrainManager_; }
  cEntity_Base* GetTaxiwayManagerEntity() const { return taxiwayManager_; }
  cEntity_Base* GetAmbientManagerEntity() const { return ambientManager_; }

  // The default rain, snow and smoke factories named in the factory table
  // (-1 when none).
  int32_t defaultRainFactory = -1;
  int32_t defaultSnowFactory = -1;
  int32_t defaultSmokeFactory = -1;

 private:
  // Spawns one manager of the loading sequence and files it in its table
  // field; null (with the failure noted) when nothing or the wrong class
  // came back.
  template <typename T>
  T* SpawnManager(const char* spawnName, T** field);
  // Records the current step's loading text and the reason; always false.
  bool Fail(const std::string& why);
  cRenderService* FindRenderService(const char* name);
  CoreStatus LoadFactories();
  CoreStatus SpawnParticleFactories();

  GUIEntity* loadingBar_ = nullptr;
  std::string baseDirectory_;
  std::string saveDirectory_;
  std::string scenarioDirectory_;
  uint8_t mainMenuPending_ = 0;
  std::vector<cEntity_ParticleFactory*> particleFactories_;
  cKV9_GlobalWrapper* table_ = nullptr;
  cParticleService* particleService_ = nullptr;

  // The loading bar's state between calls.
  float fraction_ = 0.0f;
  float fullScale_ = 0.0f;
  bool scaleRead_ = false;
  float uvRange_[2] = {1.0f, 1.0f};

  // The path finder this manager made (the table's field points to it).
  cPathFinder* pathFinder_ = nullptr;
  cEntity_Base* terrainManager_ = nullptr;
  cEntity_Base* taxiwayManager_ = nullptr;
  cEntity_Base* ambientManager_ = nullptr;

  std::string failedText_;
  std::string failure_;
  void (*onFinished_)(void*) = nullptr;
  void* finishedContext_ = nullptr;
};

// Set while the main loop renders and while the loading bar draws a frame:
// neither draws inside the other.
extern bool g_mainFrameRenderInProgress;
extern bool g_loadingFrameInProgress;
