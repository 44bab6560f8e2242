#include "screens/tests/ProgramRig.h"

#include <cstdlib>
#include <filesystem>

#include "engine/services/Panelis.h"
#include "game/ScriptedClickCheck.h"
#include "gui/core/GUIEntity.h"
#include "platform/audio/AudioOutput.h"
#include "platform/graphics/GfxFactory.h"
#include "platform/window/Window.h"
#include "screens/ScreenActions.h"

namespace frontend {

ProgramRig::ProgramRig() = default;

ProgramRig::~ProgramRig() {
  script_.Stop();
  application_ = nullptr;
  program_.reset();
  clock_.reset();
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
  clock_ = std::make_unique<platform::TestClock>();
  program_ = std::make_unique<RunTreeProgram>(RunTreeDir());
  if (!program_->Start(platform::WindowBackend::Sdl)) {
    failure_ = program_->Failure();
    return false;
  }
  application_ = program_->Application();
  application_->SetFrameHook([clock = clock_.get()]() { clock->AdvanceMicroseconds(kStepMicroseconds); });
  script_.SetClickCheck(ScriptedClickCheck(program_->Table()));
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

bool ProgramRig::PlayToEnd(const std::string& script, int maxFrames) {
  if (!Play(script)) return false;
  for (int i = 0; i < maxFrames; ++i) {
    if (script_.Finished()) return RunFrames(2);
    if (!Frame()) return false;
  }
  return false;
}

bool ProgramRig::RunFrames(int frames) {
  for (int i = 0; i < frames; ++i)
    if (!Frame()) return false;
  return true;
}

}  // namespace frontend
