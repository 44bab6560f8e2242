#include "screens/tests/ProgramRig.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "engine/services/Core3D.h"
#include "engine/services/Panelis.h"
#include "game/ScriptedClickCheck.h"
#include "gui/core/GUIEntity.h"
#include "gui/core/GUIWorld.h"
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

bool ProgramRig::WidgetRect(GUIEntity* e, float rect[4]) const {
  if (!e) return false;
  // The unit plane of each pivot: x from, y from (to is one more).
  static constexpr float kCorner[5][2] = {{0, -1}, {-1, -1}, {-1, 0}, {0, 0}, {-0.5f, -0.5f}};
  const uint8_t pivot = e->GetPivot() <= 4 ? e->GetPivot() : GUIPIVOT_LL;
  const JMatrix& m = *e->GetWorldMatrixPtr();
  const float x0 = kCorner[pivot][0] * e->GetWidth(), y0 = kCorner[pivot][1] * e->GetHeight();
  const float x1 = x0 + e->GetWidth(), y1 = y0 + e->GetHeight();
  const float ax = x0 * m.m[0][0] + y0 * m.m[1][0] + m.m[3][0], ay = x0 * m.m[0][1] + y0 * m.m[1][1] + m.m[3][1];
  const float bx = x1 * m.m[0][0] + y1 * m.m[1][0] + m.m[3][0], by = x1 * m.m[0][1] + y1 * m.m[1][1] + m.m[3][1];
  rect[0] = std::min(ax, bx);
  rect[1] = std::max(ay, by);
  rect[2] = std::max(ax, bx);
  rect[3] = std::min(ay, by);
  return true;
}

bool ProgramRig::ClickAt(const std::string& widget, float right, float down, int frames) {
  GUIEntity* e = Gui() ? Gui()->FindEntity(widget) : nullptr;
  GUIWorld* world = Gui() ? Gui()->GetWorld() : nullptr;
  float rect[4];
  if (!world || world->GetWidth() <= 0 || world->GetHeight() <= 0 || !WidgetRect(e, rect)) return false;
  // From the widget's top-left corner in the world to window pixels of the
  // 800 x 600 window the world spans.
  const JMatrix& w = *world->GetTranslationMatrixPtr();
  const float x = rect[0] + right - w.m[3][0];
  const float y = w.m[3][1] - (rect[1] - down);
  const int px = int(x / world->GetWidth() * 800.0f), py = int(y / world->GetHeight() * 600.0f);
  return Play("0 move -4000 -4000\n0 move " + std::to_string(px) + " " + std::to_string(py) +
              "\n20 button down 0\n60 button up 0\n") &&
         RunFrames(frames);
}

bool ProgramRig::Click(const std::string& widget, int frames) {
  GUIEntity* e = Gui() ? Gui()->FindEntity(widget) : nullptr;
  float rect[4];
  if (!WidgetRect(e, rect)) return false;
  return ClickAt(widget, (rect[2] - rect[0]) / 2, (rect[1] - rect[3]) / 2, frames);
}

bool ProgramRig::StartAtMainMenu(int maxFrames) {
  if (!Start()) return false;
  if (!Play("0 key down SPACE\n0 key up SPACE\n")) {
    failure_ = "the space bar could not be played";
    return false;
  }
  if (!RunUntilMainMenu(maxFrames)) {
    failure_ = "the main menu was never drawn";
    return false;
  }
  return true;
}

bool ProgramRig::SaveScreenshot(const std::string& path) {
  return RunFrames(2) && Graphics() && Graphics()->SaveScreenshot(path);
}

bool ProgramRig::RunFrames(int frames) {
  for (int i = 0; i < frames; ++i)
    if (!Frame()) return false;
  return true;
}

}  // namespace frontend
