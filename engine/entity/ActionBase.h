#pragma once
// A named piece of behaviour that an entity runs when one of its events
// fires. The action factory files actions by lower-case name and counts the
// holders that took one.
#include <cstdint>
#include <string>

#include "base/Status.h"

class cEntity_Base;

class cAction_Base {
 public:
  cAction_Base() = default;
  explicit cAction_Base(std::string actionName) : name(std::move(actionName)) {}
  virtual ~cAction_Base() = default;
  cAction_Base(const cAction_Base&) = delete;
  cAction_Base& operator=(const cAction_Base&) = delete;

  // Runs the action for `sender`. `code` is the word the firing entity was
  // given as its sender (pointer-sized: it often carries an object's
  // address). `params` holds the bound argument text and the caller's text,
  // joined by "|" when both are present. 0 means done.
  virtual CoreStatus Execute(cEntity_Base* sender, uintptr_t code, const std::string& params) = 0;
  // Clears the action's working state; the base has none.
  virtual void Reset() {}
  // True for the actions that want per-frame updates.
  virtual bool IsActive() { return updated != 0; }
  virtual void Update(float seconds) { (void)seconds; }

  const std::string& GetName() const { return name; }

  std::string name;          // lower-cased in place when filed
  uint8_t updated = 0;       // set by actions that need per-frame work
  int32_t referenceCount = 0;  // kept by the factory
};
