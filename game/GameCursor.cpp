#include "game/GameCursor.h"

#include <new>

#include "base/StringUtil.h"
#include "construction/BuildingManager.h"
#include "construction/GamePlot.h"
#include "engine/entity/EntityManager.h"
#include "engine/services/C3DModel.h"
#include "engine/services/Core3D.h"
#include "engine/services/CoreInput.h"
#include "engine/services/GlobalWrapper.h"
#include "game/WorldPartOps.h"

namespace {

constexpr uint32_t kCursorMessageA = 32;
constexpr uint32_t kCursorMessageB = 33;

}  // namespace

cEntity_GameCursor::cEntity_GameCursor(cEntity_Manager* manager) : cEntity_BaseCursor(manager) {
  if (manager) wrapper_ = dynamic_cast<cKV9_GlobalWrapper*>(manager->GetGlobalWrapper());
}

cEntity_GameCursor::~cEntity_GameCursor() {
  stack_.clear();
  current_ = nullptr;
  states_.clear();
}

CoreStatus cEntity_GameCursor::BindCamera(Core3D* renderer, uint32_t word) {
  if (status::Failed(cEntity_BaseCursor::BindCamera(renderer, word))) return status::Fail;
  ready_ = 1;
  return status::Ok;
}

int32_t cEntity_GameCursor::ModelIndexOf(const std::string& modelPath) const {
  auto it = modelIndices_.find(str::ToLower(modelPath));
  return it == modelIndices_.end() ? -1 : it->second;
}

CoreStatus cEntity_GameCursor::AddCursorState(std::unique_ptr<_CursorState> state) {
  if (!state) return status::Fail;
  const std::string key = str::ToLower(state->name);
  if (states_.count(key)) return status::Fail;
  if (!state->modelPath.empty() && ModelIndexOf(state->modelPath) < 0) {
    if (!ready_) {
      modelIndices_[str::ToLower(state->modelPath)] = static_cast<int32_t>(GetModelNameCount());
      AddModelName(state->modelPath);
    } else {
      // Bound already: the model is loaded now, as the bind would have.
      Core3D* renderer = wrapper_ ? wrapper_->graphics : nullptr;
      const std::string path = (GetManager() ? GetManager()->GetResourcePath() : std::string()) + state->modelPath;
      C3DModel* model = renderer ? renderer->CreateModel(0, path) : nullptr;
      if (model) {
        modelIndices_[str::ToLower(state->modelPath)] = static_cast<int32_t>(loadedModels_.size());
        modelNames_.push_back(path);
        loadedModels_.push_back(model);
        loadedCount_ = static_cast<int32_t>(loadedModels_.size());
      }
    }
  }
  states_[key] = std::move(state);
  return status::Ok;
}

void cEntity_GameCursor::ShowModel(int32_t index) {
  if (index < 0 || status::Failed(SelectModel(index))) return;
  if (cModelNode* node = GetModelNode()) node->mesh = GetCurrentModel();
}

void cEntity_GameCursor::SetCursorState(const std::string& name, bool push) {
  auto it = states_.find(str::ToLower(name));
  if (it == states_.end()) return;
  if (push && current_) stack_.push_back(current_);
  current_ = it->second.get();
  ShowModel(ModelIndexOf(current_->modelPath));
  if (current_->lock) Lock();
}

void cEntity_GameCursor::PopCursorState() {
  if (stack_.empty()) return;
  const _CursorState* top = stack_.back();
  SetCursorState(top->name, false);
  stack_.pop_back();
}

void cEntity_GameCursor::SetNormal() {
  stack_.clear();
  if (states_.count("normal")) {
    SetCursorState("normal", false);
  } else {
    ShowModel(0);
  }
}

CoreStatus cEntity_GameCursor::Lock() {
  if (locked_) return status::Fail;
  locked_ = 1;
  cCore_Base_DeviceManager* devices = wrapper_ ? wrapper_->inputDevices : nullptr;
  if (devices) devices->GetMousePosition(&savedX_, &savedY_);
  return status::Ok;
}

CoreStatus cEntity_GameCursor::Unlock() {
  if (!locked_) return status::Fail;
  locked_ = 0;
  cCore_Base_DeviceManager* devices = wrapper_ ? wrapper_->inputDevices : nullptr;
  if (devices) devices->SetMousePosition(savedX_, savedY_);
  return status::Ok;
}

bool cEntity_GameCursor::OnMessage(uintptr_t sender, uint32_t messageId, uintptr_t parameter) {
  if (messageId != kCursorMessageA && messageId != kCursorMessageB)
    return cEntity_BaseCursor::OnMessage(sender, messageId, parameter);
  const bool first = messageId == kCursorMessageA;
  if (auto* buildings = wrapper_ ? dynamic_cast<BuildingManagerOps*>(wrapper_->buildingManager) : nullptr)
    first ? buildings->OnCursorMessageA() : buildings->OnCursorMessageB();
  if (auto* plot = wrapper_ ? dynamic_cast<GamePlotOps*>(wrapper_->gamePlot) : nullptr)
    first ? plot->OnCursorMessageA() : plot->OnCursorMessageB();
  return true;
}

CoreStatus cEntity_GameCursor::OnMouse(MousePacket* packet) {
  if (locked_) return status::Ok;
  return cEntity_BaseCursor::OnMouse(packet);
}

void cEntity_GameCursor::OnTimeEvent(TimeEvent* event) {
  C3DModel* model = GetCurrentModel();
  if (!model || !current_ || current_->extraText.empty() || !event) return;
  const int32_t animation = model->FindAnimation(current_->extraText);
  if (animation >= 0) model->AdvanceAnimation(animation, event->accumulated);
}

cEntity_Base* SpawnGameCursor::Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) {
  return new (std::nothrow) cEntity_GameCursor(creator);
}
