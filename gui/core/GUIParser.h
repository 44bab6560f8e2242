#pragma once
// The reader of GUI description files: it walks the statements of a file,
// runs each keyword's command, and keeps the entity whose block is open and
// the stack of enclosing ones. Blocks end only here, so a widget made at run
// time never disturbs a file being read: on "}" the parser completes the
// widget, ends the block and pops the language that block pushed, if any.
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "engine/config/CommandHandler.h"
#include "engine/config/CoreParser.h"
#include "gui/core/GUIScript.h"

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
  // Runs the statements of a token list (ending with its empty token).
  // False without a service or when no world can be made.
  virtual bool Parse(CStringArray& tokens);
  virtual GUIEntity* GetCurrent() { return current_; }
  virtual void SetCurrent(GUIEntity* entity) { current_ = entity; }
  // The popped parent becomes current and takes the former current entity
  // as its child.
  virtual void EndBlock();
  virtual float* GetProgress() { return &progress_; }
  // An exiting entity leaves the stack and stops being current.
  void Forget(GUIEntity* entity);

  // Parse with the tokens' lines, so refusals name the file and line.
  bool ParseTokens(const std::vector<GUIToken>& tokens, const std::string& fileName);
  size_t GetParentDepth() const { return parents_.size(); }

 private:
  // One block opened by a statement ended with "{".
  struct Block {
    bool opened = false;          // the statement made a new current entity
    bool pushedLanguage = false;  // ... and a keyword language with it
  };
  bool MakeWorld();
  void CloseBlock(const std::string& fileName, int32_t line);
  // Runs one statement; false when its command refused it.
  bool RunStatement(CStringArray& statement);

  Panelis* gui_ = nullptr;
  std::list<GUIEntity*> parents_;  // top at the front
  GUIEntity* current_ = nullptr;
  float progress_ = 0.0f;
  std::vector<Block> blocks_;
};
