#include "gui/core/GUIParser.h"

#include "gui/core/GUIEntity.h"

void GUIParser::PushParent(GUIEntity* entity) {
  GUIEntity* pushed = entity ? entity : current_;
  if (pushed) parents_.push_front(pushed);
}

GUIEntity* GUIParser::PopParent() {
  if (parents_.empty()) return nullptr;
  GUIEntity* top = parents_.front();
  parents_.pop_front();
  return top;
}

void GUIParser::EndBlock() {
  GUIEntity* finished = current_;
  GUIEntity* parent = PopParent();
  current_ = parent;
  if (finished && parent) parent->AddChild(finished, true);
}

void GUIParser::Forget(GUIEntity* entity) {
  parents_.remove(entity);
  if (current_ == entity) current_ = nullptr;
}
