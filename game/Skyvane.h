#pragma once
// The application: it owns the plug-in library manager, the game's
// configuration manager, the game manager and the game's command package;
// it opens the main window, binds configuration, plug-ins and the game
// manager together at start-up, runs the message loop with its per-frame
// order and the two start-up screens (rating and loading), and shuts
// everything down in order.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/Status.h"
#include "engine/services/LibraryManager.h"
#include "game/KV9ConfigManager.h"
#include "game/KV9GameManager.h"
#include "game/GuiSimulationWidgets.h"
#include "game/KV9OCPack.h"
#include "game/SettingsCheck.h"
#include "platform/window/WindowTypes.h"

class GUIEntity;
class GUIWorld;
class Widget;
class cKV9_GlobalWrapper;

class cSkyvane {
 public:
  static constexpr const char* kWindowClass = "Skyvane";
  static constexpr const char* kCaption = "Airport";
  static constexpr uint32_t kRatingMilliseconds = 6000;
  static constexpr int32_t kHotKeyAltTab = 100;
  static constexpr int32_t kHotKeyAltF4 = 101;
  // The library manager's mask: command, spawn and action packs, sound,
  // input, graphics and GUI.
  static constexpr uint32_t kServiceMask = 0x74E;
  static constexpr const char* kMinimumRequirementsMessage = "Sorry, you do not meet minimum requirements.";

  explicit cSkyvane(cKV9_GlobalWrapper* table);
  // Unregisters the hot keys, then Shutdown.
  virtual ~cSkyvane();
  cSkyvane(const cSkyvane&) = delete;
  cSkyvane& operator=(const cSkyvane&) = delete;

  // 0 or more on success; 0x80004005 with GetFailure naming the step.
  CoreStatus Init(platform::HINSTANCE instance);
  // The main loop; answers the quit message's code.
  int32_t Run();
  // Safe to call more than once.
  void Shutdown();
  // The game's command package and the "imagelist" keyword of "GUICommon".
  virtual void RegisterCommandPackages();
  void StartLoading();
  void ShowRatingScreen(bool show);
  bool CreateMainWindow();
  static platform::LRESULT WindowProc(platform::HWND hwnd, uint32_t message, platform::WPARAM wParam,
                                      platform::LPARAM lParam);
  // The window procedure's work for this application.
  platform::LRESULT HandleMessage(platform::HWND hwnd, uint32_t message, platform::WPARAM wParam,
                                  platform::LPARAM lParam);
  // One pass of the loop when no message was waiting.
  void RunFrame();

  // Quit with code 0 after this many game frames (0: no limit).
  void SetFrameLimit(uint32_t frames) { frameLimit_ = frames; }
  // Called at the start of every frame, and on every idle pass of the loop
  // while the window is inactive (a run on a test clock steps it there, so
  // time still passes for its script).
  void SetFrameHook(std::function<void()> hook) { frameHook_ = std::move(hook); }
  // The configuration script read at start-up (a test points it elsewhere).
  void SetConfigScript(std::string fileName) { configScript_ = std::move(fileName); }
  // The library manager's program path (its paths are relative to it).
  void SetProgramPath(const std::string& path) { libraryManager_.SetProgramPath(path); }
  // Why Init or the loading sequence failed; empty when neither did.
  const std::string& GetFailure() const { return failure_; }
  // The failure was shown to the player already (a message box).
  bool IsFailureShown() const { return failureShown_; }
  // Shows a failure of the start in a message box (on standard error
  // without a display) and remembers that it was shown.
  void ShowFailure(const std::string& text);
  // A start that cannot go on (a piece of the interface missing): the
  // failure shown, and the program told to quit with a non-zero status.
  void StopWithFailure(const std::string& why);

  bool IsActive() const { return active_ != 0; }
  bool IsInitialised() const { return initialised_ != 0; }
  bool IsSplashShowing() const { return splash_ != 0; }
  bool IsRatingShowing() const { return rating_ != 0; }
  void EndSplash() { splash_ = 0; }
  void SetRating(bool on) { rating_ = on ? 1 : 0; }
  uint32_t GetGameFrames() const { return gameFrames_; }
  platform::HWND GetWindow() const { return window_; }
  cKV9_GameManager& GetGameManager() { return gameManager_; }
  cKV9_ConfigManager& GetConfigManager() { return configManager_; }
  cCore_LibraryManager& GetLibraryManager() { return libraryManager_; }
  GUIEntity* GetLoadingBar() const { return loadingBar_; }
  // The settings checked as they were read, with their first-start values.
  const SettingsCheck& GetSettingsCheck() const { return *settingsCheck_; }
  // Sizes and centres the main window for the configured client size (the
  // window procedure then pins it to that size).
  void PlaceMainWindow();
  // The window's outer size for the configured client size (kept in
  // windowWidth_/windowHeight_) and its top-left corner, centred in the work area.
  void CentreMainWindow(int32_t* x, int32_t* y);
  // The outer window size the procedure pins the window to.
  void GetWindowSize(int32_t* width, int32_t* height) const {
    *width = windowWidth_;
    *height = windowHeight_;
  }

 private:
  CoreStatus FailInit(const std::string& why);
  // The loading sequence's failure shown and the program told to quit.
  void ReportLoadingFailure();
  // A widget of that kind, or null with the quit message posted.
  GUIEntity* SpawnWidget(int32_t kind);
  // The GUI's new world for a start-up screen (scaled to the screen for the
  // rating screen), or null with the quit message posted.
  GUIWorld* MakeWorld(bool scaled);
  // A full-screen static picture from the renderer's resource path.
  Widget* MakePicture(const char* name, const char* picture);
  void NameMissingPlugins();
  static void OnLoadingFinished(void* application);

  cCore_LibraryManager libraryManager_;
  cKV9_ConfigManager configManager_;
  cKV9_GameManager gameManager_;
  uint8_t active_ = 0;
  uint8_t initialised_ = 0;
  uint8_t splash_ = 1;
  GUIEntity* loadingBar_ = nullptr;
  void* entityManagerContext_ = nullptr;
  cKV9_GlobalWrapper* table_ = nullptr;
  uint32_t ratingStart_ = 0;
  uint8_t rating_ = 0;
  KV9_OCPack commandPack_;
  // The simulation's widget requests go to the GUI while it runs.
  std::unique_ptr<GuiSimulationWidgets> widgets_;
  std::unique_ptr<SettingsCheck> settingsCheck_;

  platform::HWND window_ = nullptr;
  int32_t windowWidth_ = 0;
  int32_t windowHeight_ = 0;
  bool shutDown_ = false;
  bool packagesRegistered_ = false;
  uint32_t frameLimit_ = 0;
  uint32_t gameFrames_ = 0;
  std::function<void()> frameHook_;
  std::string configScript_ = "base.cfg";
  std::string failure_;
  bool failureShown_ = false;
};
