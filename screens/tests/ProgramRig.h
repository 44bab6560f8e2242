#pragma once
// The real program in this process, as the program starts it headless: SDL's
// offscreen driver, the renderer on the gl backend, no sound, the plug-ins
// and data of the run tree, its resource folder the working directory while
// it runs (and the previous one back afterwards). Frames run one at a time, so a test or a
// benchmark can stop at the first frame that shows the main menu, move the
// pointer and read the frame back. As with --fixed-step, time is a test
// clock that each frame advances by kStepMicroseconds, and each scripted
// click is checked against the target its comment names.
#include <memory>
#include <string>

#include "engine/services/GlobalWrapper.h"
#include "gui/core/GUIEntity.h"
#include "game/RunTreeProgram.h"
#include "game/Skyvane.h"
#include "platform/Clock.h"
#include "platform/window/ScriptedInput.h"

namespace frontend {

// The run tree the build fills: the program, its plug-ins and data/.
inline std::string RunTreeDir() { return RUN_TREE_DIR; }

class ProgramRig {
 public:
  static constexpr int64_t kStepMicroseconds = 16667;

  ProgramRig();
  ~ProgramRig();
  ProgramRig(const ProgramRig&) = delete;
  ProgramRig& operator=(const ProgramRig&) = delete;

  // Window system, service table and application Init; the rating screen
  // shown as the main loop shows it first. False with Failure() set.
  bool Start();
  // Plays an input script's text from now (its times count from now). A
  // click off its target stops the script and asks the program to quit.
  bool Play(const std::string& script);
  // The script's line and what the click missed, or empty.
  const std::string& ScriptFailure() const { return script_.Failure(); }
  // Dispatches the waiting window messages, then runs one frame. False once
  // the program asked to quit.
  bool Frame();
  // Frames until the main menu has been drawn (a game frame after the
  // loading, "scnMainMenu" visible); false after `maxFrames`.
  bool RunUntilMainMenu(int maxFrames);
  // Start, the rating screen skipped with the space bar, frames until the
  // main menu has been drawn. False with Failure() set.
  bool StartAtMainMenu(int maxFrames = 2000);
  // Runs `frames` frames.
  bool RunFrames(int frames);
  // Two more frames, so the last one presented is current, then that frame
  // saved as a BMP at `path`.
  bool SaveScreenshot(const std::string& path);
  // Plays an input script and runs frames until its last event has been
  // raised, then two more; false after `maxFrames`.
  bool PlayToEnd(const std::string& script, int maxFrames = 4000);

  // A widget's plane in the interface's units (y up): left, top, right,
  // bottom, as its pivot and world matrix place it. False when not there.
  bool WidgetRect(GUIEntity* widget, float rect[4]) const;
  // A left click on the middle of a widget, as the input scripts click
  // (the pointer first to the top-left corner), then `frames` frames.
  bool Click(const std::string& widget, int frames = 12);
  // The same at a point `right` and `down` interface units from the
  // widget's top-left corner.
  bool ClickAt(const std::string& widget, float right, float down, int frames = 12);

  Panelis* Gui() const { return Table() ? Table()->gui : nullptr; }
  cKV9_GlobalWrapper* GameTable() const { return Table(); }
  Core3D* Graphics() const { return Table() ? Table()->graphics : nullptr; }
  bool Shown(const std::string& name) const;
  const std::string& Failure() const { return failure_; }

 private:
  cKV9_GlobalWrapper* Table() const { return program_ ? program_->Table() : nullptr; }

  std::unique_ptr<platform::TestClock> clock_;
  std::unique_ptr<RunTreeProgram> program_;
  cSkyvane* application_ = nullptr;
  platform::ScriptedInput script_;
  std::string previousDirectory_;
  bool quit_ = false;
  std::string failure_;
};

}  // namespace frontend
