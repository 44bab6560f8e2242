// Multi-step sequences and the repeat of held keys.
#include <algorithm>

#include "base/StringUtil.h"
#include "engine/entity/ActionFactory.h"
#include "gui/core/GUIEntity.h"
#include "gui/core/actions/ActionText.h"
#include "gui/core/actions/GUIActions.h"

namespace {

// Splits "name parameters" into the action name and its parameter text.
void SplitCommand(const std::string& command, std::string* name, std::string* params) {
  const std::vector<std::string> words = guiaction::Words(command);
  *name = words.empty() ? std::string() : words[0];
  *params = guiaction::Rest(command, 1);
}

}  // namespace

GA_MultiAction::~GA_MultiAction() = default;

GA_MultiAction::Queue* GA_MultiAction::Find(GUIEntity* entity) {
  for (auto& queue : queues_) {
    if (queue->entity == entity) return queue.get();
  }
  return nullptr;
}

size_t GA_MultiAction::QueueLength(GUIEntity* entity) const {
  for (const auto& queue : queues_) {
    if (queue->entity == entity) return queue->commands.size();
  }
  return 0;
}

CoreStatus GA_MultiAction::Execute(cEntity_Base* entity, uintptr_t, const std::string& params) {
  auto* target = dynamic_cast<GUIEntity*>(entity);
  const std::vector<std::string> words = guiaction::Words(params);
  if (!target || words.empty()) return kActionNotDone;
  std::vector<std::string> commands;
  for (const std::string& piece : str::Split(guiaction::Rest(params, 1), ";")) commands.push_back(str::Trim(piece));
  if (words[0] == "1") {
    if (Queue* queue = Find(target)) {
      for (std::string& command : commands) queue->commands.push_back(std::move(command));
      return status::Ok;
    }
    auto queue = std::make_unique<Queue>();
    queue->entity = target;
    queue->commands.assign(commands.begin(), commands.end());
    queues_.push_back(std::move(queue));
    target->SetMultiActionPending(true);
    return RunNext(target) ? status::Ok : status::Fail;
  }
  cAction_Factory* factory = target->GetActionFactory();
  for (const std::string& command : commands) {
    std::string name;
    std::string text;
    SplitCommand(command, &name, &text);
    if (name.empty()) return kActionNotDone;
    cAction_Base* action = factory ? factory->GetAction(name) : nullptr;
    if (!action) continue;
    const CoreStatus result = action->Execute(target, EntityWord(target), text);
    factory->ReleaseAction(action);
    if (status::Failed(result)) return kActionNotDone;
  }
  return status::Ok;
}

bool GA_MultiAction::RunNext(GUIEntity* entity) {
  cAction_Factory* factory = entity ? entity->GetActionFactory() : nullptr;
  while (true) {
    Queue* queue = Find(entity);
    if (!queue) return false;
    if (queue->commands.empty()) {
      Finish(entity);
      return false;
    }
    // The head is taken off before it runs: a step that finishes at once
    // resumes the sequence from inside, and may end it.
    const std::string command = queue->commands.front();
    queue->commands.pop_front();
    std::string name;
    std::string text;
    SplitCommand(command, &name, &text);
    if (text.empty()) {
      Finish(entity);
      return false;
    }
    cAction_Base* action = factory ? factory->GetAction(name) : nullptr;
    if (!action) continue;
    const CoreStatus result = action->Execute(entity, EntityWord(entity), text);
    factory->ReleaseAction(action);
    if (!status::Failed(result)) return true;
    Finish(entity);
    return false;
  }
}

void GA_MultiAction::Finish(GUIEntity* entity) {
  const auto it = std::find_if(queues_.begin(), queues_.end(), [entity](const auto& q) { return q->entity == entity; });
  if (it == queues_.end()) return;
  queues_.erase(it);
  entity->SetMultiActionPending(false);
}

void GA_MultiAction::Forget(GUIEntity* entity) {
  queues_.erase(std::remove_if(queues_.begin(), queues_.end(), [entity](const auto& q) { return q->entity == entity; }),
                queues_.end());
}

GA_MessageRepeater::GA_MessageRepeater() : cAction_Base("MessageRepeater") { updated = 1; }
GA_MessageRepeater::~GA_MessageRepeater() = default;

CoreStatus GA_MessageRepeater::Execute(cEntity_Base*, uintptr_t, const std::string&) { return status::Ok; }

void GA_MessageRepeater::Start(GUIEntity* entity, std::unique_ptr<MessageRepeatRecord> record) {
  if (!entity || !record) return;
  repeats_.push_back({entity, std::move(record)});
}

void GA_MessageRepeater::Stop(GUIEntity* entity, uint32_t message) {
  const auto it = std::find_if(repeats_.begin(), repeats_.end(), [&](const Repeat& r) {
    return r.entity == entity && (message == 0 || r.record->message == message);
  });
  if (it != repeats_.end()) repeats_.erase(it);
}

void GA_MessageRepeater::Forget(GUIEntity* entity) {
  repeats_.erase(
      std::remove_if(repeats_.begin(), repeats_.end(), [entity](const Repeat& r) { return r.entity == entity; }),
      repeats_.end());
}

bool GA_MessageRepeater::IsRepeating(GUIEntity* entity) const {
  return std::any_of(repeats_.begin(), repeats_.end(), [entity](const Repeat& r) { return r.entity == entity; });
}

void GA_MessageRepeater::Update(float seconds) {
  // Sending may stop or add repeats: walk a snapshot of the entities and
  // look each one up again.
  std::vector<GUIEntity*> entities;
  for (const Repeat& r : repeats_) entities.push_back(r.entity);
  for (size_t i = 0; i < entities.size() && i < repeats_.size(); ++i) {
    if (repeats_[i].entity != entities[i]) break;
    MessageRepeatRecord& record = *repeats_[i].record;
    record.countdown -= seconds;
    if (!record.stageLengths.empty() && !record.stagePeriods.empty()) {
      record.stageCountdown -= seconds;
      if (record.stageCountdown < 0.0f) {
        record.period = record.stagePeriods.front();
        record.stageCountdown += record.stageLengths.front();
        record.stagePeriods.erase(record.stagePeriods.begin());
        record.stageLengths.erase(record.stageLengths.begin());
      }
    }
    if (record.countdown >= 0.0f) continue;
    record.countdown += record.period;
    // The receiver gets its own copy: a stop inside the call frees the record.
    KeyboardPacket packet = record.packet ? *record.packet : KeyboardPacket{};
    const uint32_t message = record.message;
    entities[i]->OnMessage(0, message, record.packet ? reinterpret_cast<uintptr_t>(&packet) : 0);
  }
}
