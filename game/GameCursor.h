#pragma once
// The game cursor ("MainCursor", spawned as "SPN::KV9:CURSOR"): the base
// cursor plus named states, each showing its own model, a stack of states,
// a lock that freezes the pointer, and a base folder for the state models.
// The camera reports its mode to it as a state ("move", "rotate", "pitch",
// "zoom"); the screens set, push and pop states the same way.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/frame/BaseCursor.h"
#include "engine/frame/TimeService.h"
#include "scene/SceneCursor.h"

class cKV9_GlobalWrapper;

struct _CursorState {
  std::string name;
  std::string modelPath;  // the base path joined with the model file
  std::string extraText;  // names the model animation the tick advances
  uint8_t lock = 0;       // showing the state locks the cursor
  uint8_t secondFlag = 0;
  uint32_t word = 0;
};

class cEntity_GameCursor : public cEntity_BaseCursor, public TimeServiceItem, public SceneCursor {
 public:
  static constexpr const char* kSpawnName = "SPN::KV9:CURSOR";

  explicit cEntity_GameCursor(cEntity_Manager* manager);
  ~cEntity_GameCursor() override;

  // The base bind; the cursor is then ready and loads state models at once.
  CoreStatus BindCamera(Core3D* renderer, uint32_t word) override;
  // 0x80004005 for a name already filed. A model path no state used before
  // joins the cursor's models.
  virtual CoreStatus AddCursorState(std::unique_ptr<_CursorState> state);
  // Unknown names change nothing. With push, the current state is stacked
  // first. A locking state locks the cursor.
  virtual void SetCursorState(const std::string& name, bool push);
  virtual void PopCursorState();
  virtual bool IsLocked() { return locked_ != 0; }
  virtual const std::map<std::string, std::unique_ptr<_CursorState>>& GetStateMap() { return states_; }
  virtual const std::string& GetBasePath() { return basePath_; }
  virtual void SetBasePath(const std::string& path) { basePath_ = path; }
  // Saves the pointer position; 0x80004005 when already locked.
  virtual CoreStatus Lock();
  // Puts the pointer back; 0x80004005 when not locked.
  virtual CoreStatus Unlock();
  virtual void SetLocked(uint8_t locked) { locked_ = locked; }
  // Returns the cursor to its first state ("normal" when filed).
  void SetNormal() override;

  // Messages 32 and 33 go to the building manager's and the game plot's
  // cursor hooks; both are answered as handled.
  bool OnMessage(uintptr_t sender, uint32_t messageId, uintptr_t parameter) override;
  // While locked the packet is taken and the cursor stays.
  CoreStatus OnMouse(MousePacket* packet) override;
  // Advances the shown model's animation.
  void OnTimeEvent(TimeEvent* event) override;

  const _CursorState* GetCurrentState() const { return current_; }
  size_t GetStackDepth() const { return stack_.size(); }
  bool IsReady() const { return ready_ != 0; }
  void GetSavedPointer(int32_t* x, int32_t* y) const {
    *x = savedX_;
    *y = savedY_;
  }

 private:
  // The model index of a state's model path, or -1.
  int32_t ModelIndexOf(const std::string& modelPath) const;
  void ShowModel(int32_t index);

  uint8_t locked_ = 0;
  cKV9_GlobalWrapper* wrapper_ = nullptr;
  const _CursorState* current_ = nullptr;
  // Filed by lower-cased name.
  std::map<std::string, std::unique_ptr<_CursorState>> states_;
  std::vector<const _CursorState*> stack_;
  uint8_t ready_ = 0;
  std::string basePath_;
  int32_t savedX_ = 0;
  int32_t savedY_ = 0;
  // Model path (lower-cased) -> index among the cursor's models.
  std::map<std::string, int32_t> modelIndices_;
};

class SpawnGameCursor : public cSpawn_Base {
 public:
  SpawnGameCursor() : cSpawn_Base(cEntity_GameCursor::kSpawnName) {}
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override;
};
