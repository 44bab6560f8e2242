#pragma once
// The reader of GUI description files: it keeps the entity whose block is
// open and the stack of enclosing ones. Blocks end only here, so a widget
// made at run time never disturbs a file being read.
#include <list>

#include "engine/config/CoreParser.h"

class GUIEntity;
class Panelis;

class GUIParser : public CoreParser {
 public:
  GUIParser() = default;
  ~GUIParser() override = default;

  virtual Panelis* GetGUI() { return gui_; }
  virtual void SetGUI(Panelis* gui) { gui_ = gui; }
  // Pushes the entity, or the current one for null; nothing when both are null.
  virtual void PushParent(GUIEntity* entity);
  // The top of the stack, removed; null when empty.
  virtual GUIEntity* PopParent();
  virtual GUIEntity* GetCurrent() { return current_; }
  virtual void SetCurrent(GUIEntity* entity) { current_ = entity; }
  // The popped parent becomes current and takes the former current entity
  // as its child.
  virtual void EndBlock();
  virtual float* GetProgress() { return &progress_; }
  // An exiting entity leaves the stack and stops being current.
  void Forget(GUIEntity* entity);

 private:
  Panelis* gui_ = nullptr;
  std::list<GUIEntity*> parents_;  // top at the front
  GUIEntity* current_ = nullptr;
  float progress_ = 0.0f;
};
