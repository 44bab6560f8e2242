#pragma once
// The engine's frame clock and scheduler of periodic callbacks. Once per
// frame the engine game manager asks each time service for the frame time;
// while measuring it the service advances its named timelines and fires
// time events on the items registered with it: every frame, every N frames
// or every T seconds, until the event's timeline runs out or is removed.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/frame/BaseService.h"
#include "engine/entity/SpawnBase.h"
#include "base/Status.h"
#include "engine/frame/Timer.h"

class TimeService;

// One periodic callback of an item.
struct TimeEvent {
  static constexpr uint8_t kByTime = 0;
  static constexpr uint8_t kByFrames = 1;
  static constexpr uint8_t kNever = 255;

  int32_t id = -1;
  float threshold = 0.0f;     // seconds (by time) or frames (by frames)
  float accumulated = 0.0f;   // seconds since the last firing
  uint32_t frameCount = 0;    // frames since the last firing
  uint8_t kind = kNever;
};

// A group of events of one item bound to one timeline; it lives as long as
// its timeline.
class TimeBehavior {
 public:
  TimeBehavior(std::string timelineName, int32_t timelineIndex)
      : timelineIndex(timelineIndex), timelineName(std::move(timelineName)) {}

  // Its first event with that id, or null.
  TimeEvent* FindEvent(int32_t id);
  void AddEvent(std::unique_ptr<TimeEvent> event) { events.push_back(std::move(event)); }
  size_t GetEventCount() const { return events.size(); }
  TimeEvent* GetEvent(size_t i) { return i < events.size() ? events[i].get() : nullptr; }

  int32_t timelineIndex = -1;
  std::string timelineName;
  std::vector<std::unique_ptr<TimeEvent>> events;
  bool removalMark = false;
};

// Mix-in of entities that receive time events.
class TimeServiceItem {
 public:
  TimeServiceItem() = default;
  // Deletes every behaviour; when attached, releases their timelines and
  // detaches from the service.
  virtual ~TimeServiceItem();
  TimeServiceItem(const TimeServiceItem&) = delete;
  TimeServiceItem& operator=(const TimeServiceItem&) = delete;

  // Called by the service when one of the item's events fires.
  virtual void OnTimeEvent(TimeEvent* event);

  TimeBehavior* GetBehavior(int32_t i);
  CoreStatus MarkBehavior(int32_t i);
  // Removes and deletes a marked behaviour; an unmarked one stays (0).
  CoreStatus RemoveBehavior(int32_t i);
  TimeBehavior* AddBehavior(const std::string& name, int32_t timelineIndex);
  // The first behaviour with that name (case-sensitive), or null.
  TimeBehavior* FindBehavior(const std::string& name);
  int32_t GetBehaviorCount() const { return static_cast<int32_t>(behaviors_.size()); }

  TimeService* GetTimeOwner() const { return owner_; }
  int32_t GetTimeItemId() const { return itemId_; }

 private:
  friend class TimeService;

  std::vector<std::unique_ptr<TimeBehavior>> behaviors_;
  TimeService* owner_ = nullptr;
  int32_t itemId_ = -1;
};

class TimeService : public cBaseService {
 public:
  static constexpr const char* kSpawnName = "SPN::GM:SERVICE:TIME";
  static constexpr const char* kOwnTimeline = "Service Time";

  explicit TimeService(cEntity_Manager* creator);
  // Releases the timer and detaches every item.
  ~TimeService() override;

  using cBaseService::Update;
  // Ticks every timeline, fires the due events and answers the frame time
  // in seconds. Not clamped: the first frame measures everything since the
  // service was made.
  float Update();

  CoreStatus AddItem(TimeServiceItem* item);
  // Detaches the first matching entry; 0 also when it was not attached here.
  CoreStatus RemoveItem(TimeServiceItem* item);

  Timer& GetTimer() { return timer_; }
  int32_t GetOwnTimeline() const { return ownTimeline_; }
  int32_t GetItemCount() const { return static_cast<int32_t>(items_.size()); }
  TimeServiceItem* GetItem(int32_t i) const {
    return i >= 0 && i < GetItemCount() ? items_[static_cast<size_t>(i)] : nullptr;
  }

 private:
  int32_t nextItemId_ = 0;
  Timer timer_;
  std::vector<TimeServiceItem*> items_;
  int32_t ownTimeline_ = -1;
  // Position of the item the frame update is visiting, so that an item that
  // detaches itself inside its callback does not make the walk skip one.
  int32_t visiting_ = -1;
};

// Registers a time event on an attached item: kind 0 fires when more than
// `threshold` seconds have gathered, kind 1 every `threshold` frames; the
// event's timeline lives `duration` seconds (kind 0) or frames (kind 1), or
// for good when duration is FLT_MAX. E_FAIL for an entity that is not an
// attached TimeServiceItem, a refused duplicate id or another kind.
CoreStatus TimeService_AddItemTimeline(cEntity_Base* entity, int32_t eventId, uint8_t kind, float threshold,
                                       float duration, bool allowDuplicate);
// Marks the behaviour of timeline "Timeline:<event>:<item>:<serial>" holding
// that event for removal at the next frame update.
CoreStatus TimeService_RemoveItemTimeline(cEntity_Base* entity, int32_t eventId, int32_t serial);

class SpawnTimeService : public cSpawn_Base {
 public:
  SpawnTimeService() : cSpawn_Base(TimeService::kSpawnName) {}
  cEntity_Base* Create(uint32_t, uint32_t, cEntity_Manager* creator, const std::string&) override {
    return new TimeService(creator);
  }
};
