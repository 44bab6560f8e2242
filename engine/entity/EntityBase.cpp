#include "engine/entity/EntityBase.h"

#include "engine/entity/ActionBase.h"
#include "engine/entity/ActionFactory.h"
#include "engine/entity/EntityManager.h"
#include "engine/files/ObjectDef.h"
#include "engine/files/ObjectDefStore.h"
#include "base/StringUtil.h"

cEntity_Base::cEntity_Base(cEntity_Manager* manager, uint32_t typeWord)
    : manager_(manager), actionFactory_(manager ? manager->GetActionFactory() : nullptr), type_(typeWord) {}

cEntity_Base::~cEntity_Base() { ExitBase(); }

CoreStatus cEntity_Base::Initialize() { return status::Fail; }

CoreStatus cEntity_Base::Exit() { return ExitBase(); }

CoreStatus cEntity_Base::ExitBase() {
  // Fired while the bindings still exist; a second Exit finds none.
  FireEvent(SelfWord(), "EntExit");
  for (auto& [event, action] : eventActions_) {
    if (action && actionFactory_) actionFactory_->ReleaseAction(action);
  }
  eventActions_.clear();
  pointers_.clear();
  eventArguments_.clear();
  return status::Ok;
}

void cEntity_Base::MarkForRemoval() { flags_ |= kEntityFlag_Remove; }

JVector cEntity_Base::GetPosition() { return JVector(0.0f, 0.0f, 0.0f, 0.0f); }

bool cEntity_Base::Init(ObjectDef* definition) {
  if (!definition) return false;
  SetName(definition->name);
  // Only an object named "On" holds bindings; a setting of that name is
  // no binding list.
  ObjectDef* on = definition->children.FindChildObject("On");
  if (!on) return true;
  for (const auto& [event, value] : on->GetValueMap()) {
    if (value.empty()) continue;
    const size_t blank = value.find_first_of(" \t");
    std::string actionName = blank == std::string::npos ? value : value.substr(0, blank);
    std::string arguments = blank == std::string::npos ? std::string() : value.substr(blank + 1);
    cAction_Base* action = actionFactory_ ? actionFactory_->GetAction(actionName) : nullptr;
    if (!action) continue;
    BindEvent(event, action, std::move(arguments));
  }
  FireEvent(SelfWord(), "EntInit");
  return true;
}

void cEntity_Base::BindEvent(const std::string& eventName, cAction_Base* action, std::string arguments) {
  // Binding an event again gives the reference of the replaced action back.
  auto [it, inserted] = eventActions_.try_emplace(eventName, action);
  if (!inserted) {
    if (it->second && actionFactory_) actionFactory_->ReleaseAction(it->second);
    it->second = action;
  }
  eventArguments_[eventName] = std::move(arguments);
}

bool cEntity_Base::InitFromFile(const std::string& fileName) {
  ObjectDefStore store;
  store.LoadFile(fileName);
  if (store.GetList().empty()) return false;
  return Init(store.GetList().FindObject(fileName));
}

bool cEntity_Base::OnMessage(uintptr_t, uint32_t, uintptr_t) { return false; }

bool cEntity_Base::SendMessage(uintptr_t sender, std::string& eventName, const std::string& params) {
  str::ToLowerInPlace(eventName);
  const auto found = eventActions_.find(eventName);
  if (found == eventActions_.end() || !found->second) return false;
  // The joined text is built in a copy: the bound arguments stay as bound,
  // however often the event fires.
  std::string arguments = eventArguments_[eventName];
  if (!arguments.empty() && !params.empty()) arguments += '|';
  arguments += params;
  return found->second->Execute(this, sender, arguments) == status::Ok;
}

void cEntity_Base::Update(float) {}

void cEntity_Base::SetName(std::string name) {
  name_ = std::move(name);
  lowerName_ = str::ToLower(name_);
}

bool cEntity_Base::FireEvent(uintptr_t sender, std::string_view eventName, const std::string& params) {
  std::string name(eventName);
  return SendMessage(sender, name, params);
}

cAction_Base* cEntity_Base::GetBoundAction(const std::string& eventName) const {
  const auto it = eventActions_.find(eventName);
  return it == eventActions_.end() ? nullptr : it->second;
}
