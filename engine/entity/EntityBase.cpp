#include "engine/entity/EntityBase.h"

#include "engine/entity/ActionBase.h"
#include "engine/entity/ActionFactory.h"
#include "engine/entity/EntityManager.h"
#include "engine/entity/EntityPool.h"
#include "engine/files/ObjectDef.h"
#include "engine/files/ObjectDefStore.h"
#include "base/StringUtil.h"

cEntity_Base::cEntity_Base(cEntity_Manager* manager, uint32_t typeWord)
    : type_(typeWord),
      manager_(manager),
      actionFactory_(manager ? manager->GetActionFactory() : nullptr),
      details_(std::make_unique<Details>()) {}

cEntity_Base::~cEntity_Base() { ExitBase(); }

void* cEntity_Base::operator new(size_t bytes) { return entitypool::Allocate(bytes); }

void* cEntity_Base::operator new(size_t bytes, const std::nothrow_t&) noexcept {
  try {
    return entitypool::Allocate(bytes);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void cEntity_Base::operator delete(void* block, size_t bytes) noexcept { entitypool::Free(block, bytes); }

CoreStatus cEntity_Base::Initialize() { return status::Fail; }

CoreStatus cEntity_Base::Exit() { return ExitBase(); }

CoreStatus cEntity_Base::ExitBase() {
  // Fired while the bindings still exist; a second Exit finds none.
  FireEvent(SelfWord(), "EntExit");
  for (auto& [event, action] : details_->eventActions) {
    if (action && actionFactory_) actionFactory_->ReleaseAction(action);
  }
  details_->eventActions.clear();
  details_->pointers.clear();
  details_->eventArguments.clear();
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
  auto [it, inserted] = details_->eventActions.try_emplace(eventName, action);
  if (!inserted) {
    if (it->second && actionFactory_) actionFactory_->ReleaseAction(it->second);
    it->second = action;
  }
  details_->eventArguments[eventName] = std::move(arguments);
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
  const auto found = details_->eventActions.find(eventName);
  if (found == details_->eventActions.end() || !found->second) return false;
  // The joined text is built in a copy: the bound arguments stay as bound,
  // however often the event fires.
  std::string arguments = details_->eventArguments[eventName];
  if (!arguments.empty() && !params.empty()) arguments += '|';
  arguments += params;
  return found->second->Execute(this, sender, arguments) == status::Ok;
}

void cEntity_Base::Update(float) {}

void cEntity_Base::SetName(std::string name) {
  details_->name = std::move(name);
  details_->lowerName = str::ToLower(details_->name);
}

bool cEntity_Base::FireEvent(uintptr_t sender, std::string_view eventName, const std::string& params) {
  std::string name(eventName);
  return SendMessage(sender, name, params);
}

cAction_Base* cEntity_Base::GetBoundAction(const std::string& eventName) const {
  const auto it = details_->eventActions.find(eventName);
  return it == details_->eventActions.end() ? nullptr : it->second;
}
