// The game program: options, the window layer, the service table and the
// application; start, run, shut down.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "engine/services/GlobalWrapper.h"
#include "game/ProgramOptions.h"
#include "game/ScriptedClickCheck.h"
#include "game/Skyvane.h"
#include "platform/Clock.h"
#include "platform/Random.h"
#include "platform/MessageBox.h"
#include "platform/audio/AudioOutput.h"
#include "platform/window/ScriptedInput.h"
#include "platform/window/Window.h"
#include "scene/KV9InputManager.h"
#include "screens/ScreenActions.h"

int main(int argc, char** argv) {
  ProgramOptions options;
  std::string error;
  if (!ParseProgramOptions(std::vector<std::string>(argv + 1, argv + argc), &options, &error)) {
    std::fprintf(stderr, "airport: %s\n%s", error.c_str(), ProgramUsage());
    return 2;
  }
  if (options.help) {
    std::fputs(ProgramUsage(), stdout);
    return 0;
  }
  if (options.headless) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    platform::SetAudioOutputKind(platform::AudioOutputKind::Null);
  }
  InstallScreenActions();
  // A fixed step: time is the test clock, advanced by the step each frame,
  // and the random draws start from the same seed (the noise source reads
  // its seed from the test clock's date).
  std::unique_ptr<platform::TestClock> clock;
  if (options.fixedStepMicros > 0) {
    clock = std::make_unique<platform::TestClock>();
    platform::SetFrameTimingsReal(true);
    platform::SRand(1);
  }
  platform::ScriptedInput script;
  if (!options.inputScript.empty() && status::Failed(script.Load(options.inputScript))) {
    std::fprintf(stderr, "airport: cannot use the input script %s\n", options.inputScript.c_str());
    return 2;
  }
  if (status::Failed(platform::InitWindowSystem(platform::WindowBackend::Sdl))) {
    std::fprintf(stderr, "airport: the window system did not start\n");
    return 1;
  }

  int exitCode = 1;
  {
    cKV9_GlobalWrapper table(cKV9_GlobalWrapper::InputManagerHooks{&cKV9_InputManager::Create,
                                                                   &cKV9_InputManager::Destroy});
    cSkyvane application(&table);
    table.application = &application;
    application.SetFrameLimit(options.frames);
    if (clock) {
      application.SetFrameHook([&clock, step = options.fixedStepMicros]() { clock->AdvanceMicroseconds(step); });
    }
    script.SetClickCheck(ScriptedClickCheck(&table));
    if (status::Succeeded(application.Init(nullptr))) {
      if (!options.inputScript.empty()) script.Start(application.GetWindow());
      exitCode = application.Run();
      if (!application.GetFailure().empty()) application.ShowFailure(application.GetFailure());
      if (!script.Failure().empty()) {
        std::fprintf(stderr, "airport: %s\n", script.Failure().c_str());
        exitCode = 1;
      }
    } else {
      // A player who started the game from a desktop sees why in a box;
      // without a display the debug channel has said it already.
      if (platform::MessageBoxesShown())
        application.ShowFailure("The game could not start: " + application.GetFailure() + ".");
      application.Shutdown();
      exitCode = 1;
    }
    script.Stop();
    table.application = nullptr;
  }
  platform::ShutdownWindowSystem();
  return exitCode == 0 ? 0 : 1;
}
