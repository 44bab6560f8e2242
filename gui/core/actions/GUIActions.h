#pragma once
// The GUI's own actions: small singleton actions that description files bind
// to event words and that the widgets and the GUI service call directly.
// They edit widgets and scenes, animate position, rotation and texture
// coordinates, chain steps, repeat held keys, show tooltips and drag.
//
// Results: 0 done, 0x80150002 the wrong kind of entity, 0x80150003 nothing
// done. The animated lists hold plain pointers; an entity that exits is
// dropped from every list (GUIActionsForget).
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "engine/entity/ActionBase.h"
#include "engine/entity/Singleton.h"
#include "engine/services/InputPackets.h"

class GUIEntity;
class Widget;

inline constexpr CoreStatus kActionWrongKind = static_cast<CoreStatus>(0x80150002u);
inline constexpr CoreStatus kActionNotDone = static_cast<CoreStatus>(0x80150003u);

// Drops an exiting entity from every action's lists.
void GUIActionsForget(GUIEntity* entity);

class GA_BtnSetShader : public cAction_Base, public Singleton<GA_BtnSetShader> {
 public:
  GA_BtnSetShader() : cAction_Base("ButtonSetShader") {}
  CoreStatus Execute(cEntity_Base* entity, uintptr_t sender, const std::string& params) override;
};

class GA_EditWidget : public cAction_Base, public Singleton<GA_EditWidget> {
 public:
  GA_EditWidget() : cAction_Base("EditWidget") {}
  CoreStatus Execute(cEntity_Base* entity, uintptr_t sender, const std::string& params) override;
};

class GA_EditOtherWidget : public cAction_Base, public Singleton<GA_EditOtherWidget> {
 public:
  GA_EditOtherWidget() : cAction_Base("EditOtherWidget") {}
  CoreStatus Execute(cEntity_Base* entity, uintptr_t sender, const std::string& params) override;
};

class GA_MoveWidget : public cAction_Base, public Singleton<GA_MoveWidget> {
 public:
  GA_MoveWidget();
  ~GA_MoveWidget() override;
  CoreStatus Execute(cEntity_Base* entity, uintptr_t sender, const std::string& params) override;
  void Update(float seconds) override;
  void Forget(GUIEntity* entity);
  bool IsMoving(GUIEntity* entity) const;

 private:
  struct Move {
    GUIEntity* entity;
    GUIEntity* sender;
    float target[3];
    float speed;
    float start[3];
  };
  std::vector<Move> moves_;
};

class GA_MoveOtherWidget : public cAction_Base, public Singleton<GA_MoveOtherWidget> {
 public:
  GA_MoveOtherWidget() : cAction_Base("MoveOtherWidget") {}
  CoreStatus Execute(cEntity_Base* entity, uintptr_t sender, const std::string& params) override;
};

// Turns an entity over time.
class GA_RotateWidget : public cAction_Base, public Singleton<GA_RotateWidget> {
 public:
  GA_RotateWidget();
  ~GA_RotateWidget() override;
  CoreStatus Execute(cEntity_Base* entity, uintptr_t sender, const std::string& params) override;
  void Update(float seconds) override;
  // False when the entity is not turning.
  virtual bool Stop(GUIEntity* entity);

  // Remaining angle and speed of an axis of a turning entity; false when absent.
  bool GetAxis(GUIEntity* entity, int axis, float* remaining, float* speed) const;

 private:
  struct Turn {
    GUIEntity* entity;
    float remaining[3];
    float speed[3];
  };
  std::vector<Turn> turns_;
};

class GA_RotateOtherWidget : public cAction_Base, public Singleton<GA_RotateOtherWidget> {
 public:
  GA_RotateOtherWidget() : cAction_Base("RotateOtherWidget") {}
  CoreStatus Execute(cEntity_Base* entity, uintptr_t sender, const std::string& params) override;
};

// Runs queued action commands on an entity one step at a time.
class GA_MultiAction : public cAction_Base, public Singleton<GA_MultiAction> {
 public:
  GA_MultiAction() : cAction_Base("MultiAction") {}
  ~GA_MultiAction() override;
  CoreStatus Execute(cEntity_Base* entity, uintptr_t sender, const std::string& params) override;
  // True while a step of the entity's queue is under way.
  virtual bool RunNext(GUIEntity* entity);
  // Removes the entity's queue and clears its pending bit.
  virtual void Finish(GUIEntity* entity);
  void Forget(GUIEntity* entity);
  size_t QueueLength(GUIEntity* entity) const;

 private:
  struct Queue {
    GUIEntity* entity;
    std::deque<std::string> commands;
  };
  Queue* Find(GUIEntity* entity);
  std::vector<std::unique_ptr<Queue>> queues_;
};

class GA_EditScene : public cAction_Base, public Singleton<GA_EditScene> {
 public:
  GA_EditScene() : cAction_Base("EditScene") {}
  CoreStatus Execute(cEntity_Base* entity, uintptr_t sender, const std::string& params) override;
};

class GA_MoveUVCoords : public cAction_Base, public Singleton<GA_MoveUVCoords> {
 public:
  GA_MoveUVCoords();
  ~GA_MoveUVCoords() override;
  CoreStatus Execute(cEntity_Base* entity, uintptr_t sender, const std::string& params) override;
  void Update(float seconds) override;
  void Forget(GUIEntity* entity);

 private:
  struct Slide {
    GUIEntity* entity;
    float change[4];
    float rate[4];
    float target[4];
  };
  std::vector<Slide> slides_;
};

class GA_MoveOtherUVCoords : public cAction_Base, public Singleton<GA_MoveOtherUVCoords> {
 public:
  GA_MoveOtherUVCoords() : cAction_Base("MoveOtherUVCoords") {}
  CoreStatus Execute(cEntity_Base* entity, uintptr_t sender, const std::string& params) override;
};

class GA_MoveListBoxHighlight : public cAction_Base, public Singleton<GA_MoveListBoxHighlight> {
 public:
  GA_MoveListBoxHighlight() : cAction_Base("MoveListBoxHighlight") {}
  CoreStatus Execute(cEntity_Base* entity, uintptr_t sender, const std::string& params) override;
};

// What a held key repeats: the message, its own copy of the packet, the
// period, the first delay and the stage schedule (-1: the period stays).
struct MessageRepeatRecord {
  uint32_t message = 0;
  std::unique_ptr<KeyboardPacket> packet;
  float period = 0.1f;
  float countdown = 0.5f;
  float stageCountdown = -1.0f;
  std::vector<float> stageLengths;
  std::vector<float> stagePeriods;
};

// Repeats a message to an entity while a key is held.
class GA_MessageRepeater : public cAction_Base, public Singleton<GA_MessageRepeater> {
 public:
  GA_MessageRepeater();
  ~GA_MessageRepeater() override;
  CoreStatus Execute(cEntity_Base* entity, uintptr_t sender, const std::string& params) override;
  void Update(float seconds) override;
  // The record becomes the action's.
  virtual void Start(GUIEntity* entity, std::unique_ptr<MessageRepeatRecord> record);
  // The first repeat of the entity (with that message unless 0).
  virtual void Stop(GUIEntity* entity, uint32_t message);
  void Forget(GUIEntity* entity);
  bool IsRepeating(GUIEntity* entity) const;

 private:
  struct Repeat {
    GUIEntity* entity;
    std::unique_ptr<MessageRepeatRecord> record;
  };
  std::vector<Repeat> repeats_;
};

class GA_EditGUI : public cAction_Base, public Singleton<GA_EditGUI> {
 public:
  GA_EditGUI() : cAction_Base("EditGUI") {}
  CoreStatus Execute(cEntity_Base* entity, uintptr_t sender, const std::string& params) override;
};

// Shows a widget's tooltip after its delay, for its duration.
class GA_DisplayTooltip : public cAction_Base, public Singleton<GA_DisplayTooltip> {
 public:
  GA_DisplayTooltip();
  ~GA_DisplayTooltip() override;
  CoreStatus Execute(cEntity_Base* entity, uintptr_t sender, const std::string& params) override;
  void Update(float seconds) override;
  // False for null or a widget without a tooltip.
  virtual bool Start(Widget* widget, float delay, float duration);
  // False when the widget is not listed.
  virtual bool Stop(Widget* widget);
  virtual void StopAll();
  void Forget(GUIEntity* entity);
  bool IsListed(Widget* widget) const;

 private:
  struct Tip {
    Widget* widget;
    float delay;
    float duration;
  };
  std::vector<Tip> tips_;
};

class GA_DragWidget : public cAction_Base, public Singleton<GA_DragWidget> {
 public:
  GA_DragWidget() : cAction_Base("DragWidget") {}
  CoreStatus Execute(cEntity_Base* entity, uintptr_t sender, const std::string& params) override;
  void Forget(GUIEntity* entity);
  GUIEntity* GetDragged() const { return dragged_; }

 private:
  GUIEntity* dragged_ = nullptr;
  float grab_[2] = {0.0f, 0.0f};
};

// The action of an action-pack index (0 to 15), newly made; null past 15.
cAction_Base* CreateGUIAction(uint32_t index);
