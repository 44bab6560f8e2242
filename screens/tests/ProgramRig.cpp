#include "screens/tests/ProgramRig.h"

#include <cstdlib>
#include <filesystem>

#include "engine/services/Panelis.h"
#include "game/KV9InputManager.h"
#include "gui/core/GUIEntity.h"
#include "platform/audio/AudioOutput.h"
#include "platform/graphics/GfxFactory.h"
#include "platform/window/Window.h"
#include "screens/ScreenActions.h"

namespace frontend {

ProgramRig::ProgramRig() = default;

ProgramRig::~ProgramRig() {
  script_.Stop();
  if (application_) {
    application_->GetGameManager().Terminate();
    application_.reset();
  }
  if (table_) table_->application = nullptr;
  table_.reset();
  if (windowSystem_) platform::ShutdownWindowSystem();
  std::error_code ignored;
  if (!previousDirectory_.empty()) std::filesystem::current_path(previousDirectory_, ignored);
  platform::gfx::SetDefaultBackend(platform::gfx::Backend::Record);
}

bool ProgramRig::Start() {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  platform::gfx::SetDefaultBackend(platform::gfx::Backend::Gl);
  platform::SetAudioOutputKind(platform::AudioOutputKind::Null);
  InstallScreenActions();
  // The program runs in its resource folder, which holds the description
  // files its game manager opens by name.
  std::error_code error;
  previousDirectory_ = std::filesystem::current_path(error).string();
  std::filesystem::current_path(RunTreeDir() + "/data", error);
  if (error) {
    failure_ = "no run tree at " + RunTreeDir();
    return false;
  }
  if (status::Failed(platform::InitWindowSystem(platform::WindowBackend::Sdl))) {
    failure_ = "the window system did not start";
    return false;
  }
  windowSystem_ = true;
  table_ = std::make_unique<cKV9_GlobalWrapper>(
      cKV9_GlobalWrapper::InputManagerHooks{&cKV9_InputManager::Create, &cKV9_InputManager::Destroy});
  application_ = std::make_unique<cSkyvane>(table_.get());
  table_->application = application_.get();
  // Full paths: the plug-ins and data are found beside the program.
  application_->SetProgramPath(RunTreeDir() + "/airport");
  application_->SetConfigScript(RunTreeDir() + "/data/base.cfg");
  if (status::Failed(application_->Init(nullptr))) {
    failure_ = "start-up failed: " + application_->GetFailure();
    return false;
  }
  application_->ShowRatingScreen(true);
  return true;
}

bool ProgramRig::Play(const std::string& script) {
  script_.Stop();
  if (status::Failed(script_.Parse(script))) return false;
  script_.Start(application_->GetWindow());
  return true;
}

bool ProgramRig::Frame() {
  if (quit_ || !application_) return false;
  platform::MSG msg;
  while (platform::PeekMessage(&msg, nullptr, 0, 0, platform::PM_REMOVE)) {
    if (msg.message == platform::WM_QUIT) {
      quit_ = true;
      return false;
    }
    platform::TranslateMessage(&msg);
    platform::DispatchMessage(&msg);
  }
  application_->RunFrame();
  return true;
}

bool ProgramRig::Shown(const std::string& name) const {
  GUIEntity* entity = Gui() ? Gui()->FindEntity(name) : nullptr;
  return entity && entity->IsVisible();
}

bool ProgramRig::RunUntilMainMenu(int maxFrames) {
  for (int i = 0; i < maxFrames; ++i) {
    if (!Frame()) return false;
    if (!application_->IsSplashShowing() && application_->GetGameFrames() > 0 && Shown("scnMainMenu")) return true;
  }
  return false;
}

bool ProgramRig::RunFrames(int frames) {
  for (int i = 0; i < frames; ++i)
    if (!Frame()) return false;
  return true;
}

}  // namespace frontend
