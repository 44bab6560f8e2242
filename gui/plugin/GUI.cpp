#include "gui/plugin/GUI.h"

#include <algorithm>
#include <cmath>

#include "base/StringUtil.h"
#include "engine/entity/ActionFactory.h"
#include "engine/entity/EntityManager.h"
#include "engine/math/CameraView.h"
#include "engine/services/C3DPass.h"
#include "engine/services/Core3D.h"
#include "gui/core/GUIScene.h"
#include "gui/core/GUIWorld.h"
#include "gui/core/WidgetMessages.h"
#include "gui/core/actions/GUIActions.h"
#include "gui/plugin/GUIInputSocket.h"
#include "platform/DebugOutput.h"

namespace {

struct KindName {
  const char* spawn;
  const char* name;
};

// Spawn and default names of the widget kinds 2 to 16.
constexpr KindName kKinds[] = {
    {"SpawnWorld", "CreatedWorld"},         {"SpawnScene", "CreatedScene"},
    {"SpawnGroup", "CreatedGroup"},         {"SpawnButton", "CreatedButton"},
    {"SpawnCheckBox", "CreatedCheckBox"},   {"SpawnStatic", "CreatedStatic"},
    {"SpawnStaticText", "CreatedStaticText"}, {"SpawnListBox", "CreatedListBox"},
    {"SpawnProgressBar", "CreatedProgressBar"}, {"SpawnScrollBar", "CreatedScrollBar"},
    {"SpawnSlider", "CreatedSlider"},       {"SpawnSpin", "CreatedSpin"},
    {"SpawnTextBox", "CreatedTextBox"},     {"SpawnMLTextBox", "CreatedMultiLineTextBox"},
    {"SpawnDropDownLB", "CreatedDropDownListBox"},
};

bool InSubtree(GUIEntity* root, GUIEntity* entity) {
  for (GUIEntity* e = entity; e; e = e->GetParent()) {
    if (e == root) return true;
  }
  return false;
}

}  // namespace

GUI::GUI() = default;

GUI::~GUI() {
  socket_.reset();
  modal_.clear();
}

bool GUI::Init() {
  RegisterKeywords();
  parser_.SetGUI(this);
  Core3D* renderer = GetRenderer();
  if (!renderer) return false;
  pass_ = renderer->InsertPass(-1);
  if (pass_) pass_->SetSorted(false);
  view_ = renderer->AddView();
  if (view_) {
    view_->viewportWidth = ViewportWidth();
    view_->viewportHeight = ViewportHeight();
    view_->LookAt(eye_, target_, up_);
    view_->BuildProjection();
    if (pass_) pass_->SetPassView(view_);
  }
  socket_ = std::make_unique<GUIInputSocket>();
  socket_->SetGUI(this);
  return true;
}

float GUI::ViewportWidth() const {
  return clientRect_ ? static_cast<float>(clientRect_->right - clientRect_->left) : 0.0f;
}
float GUI::ViewportHeight() const {
  return clientRect_ ? static_cast<float>(clientRect_->bottom - clientRect_->top) : 0.0f;
}

void GUI::UpdateCamera() {
  if (!view_) return;
  view_->LookAt(eye_, target_, up_);
  view_->BuildProjection();
  if (view_->perspective) {
    pick_ = &GUI::PickPerspective;
    return;
  }
  pick_ = &GUI::PickOrthographic;
  const float w = ViewportWidth();
  const float h = ViewportHeight();
  viewSize_[0] = 2.0f * std::tan(view_->fieldOfView / 2.0f) * view_->focalDistance;
  viewSize_[1] = w != 0.0f ? (h / w) * viewSize_[0] : 0.0f;
  unitsPerPixel_[0] = w != 0.0f ? viewSize_[0] / w : 0.0f;
  unitsPerPixel_[1] = h != 0.0f ? viewSize_[1] / h : 0.0f;
}

void GUI::SetCameraPosition(float x, float y, float z) {
  eye_[0] = x;
  eye_[1] = y;
  eye_[2] = z;
  UpdateCamera();
}
void GUI::SetCameraPositionV(JVector p) { SetCameraPosition(p.x, p.y, p.z); }
void GUI::SetCameraTarget(float x, float y, float z) {
  target_[0] = x;
  target_[1] = y;
  target_[2] = z;
  UpdateCamera();
}
void GUI::SetCameraTargetV(JVector t) { SetCameraTarget(t.x, t.y, t.z); }

void GUI::SetWorld(GUIWorld* world) {
  world_ = world;
  if (!pass_) return;
  C3DEntity* hooks = world;
  pass_->SetBeginHook(hooks);
  pass_->SetEndHook(hooks);
  pass_->SetPrepareHook(hooks);
  pass_->SetFinishHook(hooks);
}

void GUI::Update(float frameTime) {
  if (cAction_Factory* factory = GetActionFactory()) factory->UpdateActions(frameTime);
}

bool GUI::Send(GUIEntity* entity, uint32_t code, uintptr_t parameter) {
  return entity && entity->OnMessage(world_ ? EntityWord(world_) : 0, code, parameter);
}

void GUI::SetFocus(GUIEntity* entity) {
  if (focus_) {
    if (entity && entity == focus_) return;
    GUIEntity* old = focus_;
    old->OnMessage(EntityWord(old), GUIMSG_FOCUS_LOST, 0);
  }
  focus_ = entity;
  if (entity) entity->OnMessage(EntityWord(entity), GUIMSG_FOCUS_GAIN, 0);
}

void GUI::SetCursorSocket(cCore_Base_InputSocket* socket) {
  if (socket_) socket_->SetCursorSocket(socket);
}

GUIEntity* GUI::FindEntity(const std::string& name) { return world_ ? world_->FindChild(name) : nullptr; }

CoreStatus GUI::SpawnWidget(int32_t kind, GUIEntity** out) {
  if (kind < GUIKIND_WORLD || kind > GUIKIND_DROPDOWN) return status::Fail;
  cEntity_Manager* manager = GetEntityManager();
  if (!manager) return status::Fail;
  const KindName& names = kKinds[kind - GUIKIND_WORLD];
  cEntity_Base* created = nullptr;
  CoreStatus result = manager->CreateEntityByName(names.spawn, &created);
  if (result != status::Ok) result = status::Fail;
  auto* widget = dynamic_cast<GUIEntity*>(created);
  if (!widget) {
    if (created) created->MarkForRemoval();
    return status::Fail;
  }
  widget->SetGUI(this);
  widget->SetName(names.name);
  if (out) *out = widget;
  return result;
}

CoreStatus GUI::DestroyEntity(GUIEntity* entity) {
  if (!entity) return status::Fail;
  if (GUIEntity* parent = entity->GetParent()) parent->RemoveChild(entity);
  entity->DestroyAllChildren();
  entity->MarkForRemoval();
  entity->SetActive(0);
  return status::Ok;
}

CoreStatus GUI::DestroyEntityByName(const std::string& name) {
  GUIEntity* entity = FindEntity(name);
  return entity ? DestroyEntity(entity) : status::Fail;
}

CoreStatus GUI::DestroyWorld() { return world_ ? DestroyEntity(world_) : status::Fail; }

void GUI::ForgetEntity(GUIEntity* entity) {
  if (!entity) return;
  if (hover_ && InSubtree(entity, hover_)) hover_ = nullptr;
  if (focus_ && InSubtree(entity, focus_)) focus_ = nullptr;
  modal_.erase(std::remove_if(modal_.begin(), modal_.end(),
                              [entity](GUIScene* scene) { return InSubtree(entity, scene); }),
               modal_.end());
  parser_.Forget(entity);
  // The pass must not call back into a world that is gone.
  if (entity == world_) SetWorld(nullptr);
}

void GUI::PushModalScene(const std::string& name) {
  auto* scene = dynamic_cast<GUIScene*>(FindEntity(name));
  if (!scene) return;
  for (GUIScene* listed : modal_) {
    if (str::EqualsNoCase(listed->NameRef(), name)) return;
  }
  SetFocus(scene);
  modal_.insert(modal_.begin(), scene);
}

void GUI::PopModalScene(const std::string& name) {
  auto* scene = dynamic_cast<GUIScene*>(FindEntity(name));
  if (!scene || modal_.empty()) return;
  auto it = std::find(modal_.begin(), modal_.end(), scene);
  if (it == modal_.end()) return;
  SetFocus(nullptr);
  modal_.erase(it);
  if (!modal_.empty()) SetFocus(modal_.front());
}

bool GUI::ResetInputState() {
  SetHoverEntity(nullptr);
  SetFocus(nullptr);
  if (cAction_Factory* factory = GetActionFactory()) {
    if (cAction_Base* action = factory->GetAction("DisplayTooltip")) {
      if (auto* tooltips = dynamic_cast<GA_DisplayTooltip*>(action)) tooltips->StopAll();
      factory->ReleaseAction(action);
    }
  }
  return true;
}
