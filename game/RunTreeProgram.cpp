#include "game/RunTreeProgram.h"

#include "engine/services/GlobalWrapper.h"
#include "game/Skyvane.h"
#include "scene/KV9InputManager.h"

RunTreeProgram::RunTreeProgram(std::string runTree) : runTree_(std::move(runTree)) {}

RunTreeProgram::~RunTreeProgram() {
  if (application_) {
    application_->GetGameManager().Terminate();
    application_.reset();
  }
  if (table_) table_->application = nullptr;
  table_.reset();
  if (windowSystem_) platform::ShutdownWindowSystem();
}

bool RunTreeProgram::Start(platform::WindowBackend backend) {
  if (status::Failed(platform::InitWindowSystem(backend))) {
    failure_ = "the window system did not start";
    return false;
  }
  windowSystem_ = true;
  table_ = std::make_unique<cKV9_GlobalWrapper>(
      cKV9_GlobalWrapper::InputManagerHooks{&cKV9_InputManager::Create, &cKV9_InputManager::Destroy});
  application_ = std::make_unique<cSkyvane>(table_.get());
  table_->application = application_.get();
  // Full paths: the plug-ins and the data are found beside the program.
  application_->SetProgramPath(runTree_ + "/airport");
  application_->SetConfigScript(runTree_ + "/data/base.cfg");
  if (status::Failed(application_->Init(nullptr))) {
    failure_ = "start-up failed: " + application_->GetFailure();
    return false;
  }
  return true;
}
