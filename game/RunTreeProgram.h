#pragma once
// The program started inside another process on a run tree, as the program
// starts itself but driven by its caller: the window system of the caller's
// choice, the service table and the application, the plug-ins and the data
// found by full paths in the run tree; torn down in order. The caller picks
// the renderer's and the sound's backends before Start.
#include <memory>
#include <string>

#include "platform/window/Window.h"

class cKV9_GlobalWrapper;
class cSkyvane;

class RunTreeProgram {
 public:
  // `runTree` holds the program's plug-ins and its "data" folder.
  explicit RunTreeProgram(std::string runTree);
  ~RunTreeProgram();
  RunTreeProgram(const RunTreeProgram&) = delete;
  RunTreeProgram& operator=(const RunTreeProgram&) = delete;

  // The window system, the service table and the application's Init. False
  // with Failure() set.
  bool Start(platform::WindowBackend backend);

  cKV9_GlobalWrapper* Table() const { return table_.get(); }
  cSkyvane* Application() const { return application_.get(); }
  const std::string& Failure() const { return failure_; }

 private:
  std::string runTree_;
  std::unique_ptr<cKV9_GlobalWrapper> table_;
  std::unique_ptr<cSkyvane> application_;
  bool windowSystem_ = false;
  std::string failure_;
};
