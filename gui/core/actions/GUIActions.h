#pragma once
// The GUI actions the widget base and the GUI service call into. Each is a
// singleton action; the classes that do the work are completed with the
// other GUI actions. While none of a kind exists, its callers skip it.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/entity/ActionBase.h"
#include "engine/entity/Singleton.h"
#include "engine/services/InputPackets.h"

class GUIEntity;
class Widget;

// Shows a widget's tooltip after its delay, for its duration.
class GA_DisplayTooltip : public cAction_Base, public Singleton<GA_DisplayTooltip> {
 public:
  using cAction_Base::cAction_Base;
  // False for null or a widget without a tooltip.
  virtual bool Start(Widget* widget, float delay, float duration) = 0;
  // False when the widget is not listed.
  virtual bool Stop(Widget* widget) = 0;
  virtual void StopAll() = 0;
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
  using cAction_Base::cAction_Base;
  // The record becomes the action's.
  virtual void Start(GUIEntity* entity, std::unique_ptr<MessageRepeatRecord> record) = 0;
  // The first repeat of the entity (with that message unless 0).
  virtual void Stop(GUIEntity* entity, uint32_t message) = 0;
};

// Runs queued action commands on an entity one step at a time.
class GA_MultiAction : public cAction_Base, public Singleton<GA_MultiAction> {
 public:
  using cAction_Base::cAction_Base;
  // True while a step of the entity's queue is under way.
  virtual bool RunNext(GUIEntity* entity) = 0;
};

// Turns an entity over time.
class GA_RotateWidget : public cAction_Base, public Singleton<GA_RotateWidget> {
 public:
  using cAction_Base::cAction_Base;
  // False when the entity is not turning.
  virtual bool Stop(GUIEntity* entity) = 0;
};
